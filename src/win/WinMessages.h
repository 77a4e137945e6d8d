// The core's message port in the Windows program: CP949 texts shown through
// the door on the user-interface thread, from whichever thread they come.
#pragma once

#include "ports/Ports.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

namespace ostravion::win {

class WinMessages final : public MessagePort {
public:
    // The window the boxes are shown over.
    void SetOwner(HWND owner) { owner_ = owner; }

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
    HWND owner_ = nullptr;
    std::mutex mutex_;
    std::vector<std::shared_ptr<Wait>> waits_;
};

} // namespace ostravion::win
