// The program's document: the core's document with its two result lists,
// its scan thread and the hand-over of the scan's programs to the
// user-interface thread, as the main window asks for them.
#pragma once

#include "desktop/ScanHandOver.h"
#include "platform/NativeDocument.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <mutex>
#include <vector>

namespace ostravion {
class DesktopFlows;
}

namespace ostravion::gui {

class GuiMessages;

// The hand-over of the scan's work to the user-interface thread, woken
// through Qt's event queue.
class GuiScanHost final : public QObject, public ScanHandOver {
    Q_OBJECT
public:
    explicit GuiScanHost(QObject* parent = nullptr) : QObject(parent) {}

protected:
    void Wake() override;
};

// The hand-over is made before the document and goes after it: the
// document's scan thread may still call it while the document goes.
struct GuiHostHolder {
    GuiScanHost host;
};

class GuiDocument final : private GuiHostHolder, public NativeDocument {
public:
    GuiDocument(CAuditUtil& util, NativePlatform& platform, const SystemInfo& system,
                GuiMessages* messages);
    GuiScanHost& Host() { return host; }
};

} // namespace ostravion::gui
