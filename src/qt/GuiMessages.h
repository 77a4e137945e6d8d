// The core's message port in the desktop program: CP949 texts shown through
// the dialog door on the user-interface thread.
#pragma once

#include "ports/Ports.h"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <mutex>
#include <vector>

namespace ostravion::gui {

class GuiMessages final : public MessagePort {
public:
    explicit GuiMessages(const TextCodec& codec) : codec_(codec) {}
    // The window the boxes are shown over.
    void SetParent(QWidget* parent) { parent_ = parent; }

    // From another thread, Show is handed to the user-interface thread and
    // returns at once; Ask waits for the answer there.
    void Show(const std::string& text) override;
    bool Ask(const std::string& question) override;
    void Inform(const std::string& text) override;

    // Releases every thread waiting in Ask with the answer No; the
    // user-interface thread calls it before it waits for such a thread.
    void CancelWaits();

private:
    struct Wait;
    QString Qs(const std::string& cp949) const;

    const TextCodec& codec_;
    QPointer<QWidget> parent_;
    std::mutex mutex_;
    std::vector<std::shared_ptr<Wait>> waits_;
};

} // namespace ostravion::gui
