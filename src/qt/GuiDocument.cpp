#include "qt/GuiDocument.h"

#include "desktop/DesktopFlows.h"
#include "desktop/NativeFolders.h"
#include "doc/Inspection.h"
#include "qt/GuiMessages.h"
#include "scan/SearchThread.h"

#include <QCoreApplication>

namespace ostravion::gui {

void GuiScanHost::Wake() {
    QMetaObject::invokeMethod(
        this, [this] { RunPending(); }, Qt::QueuedConnection);
}

GuiDocument::GuiDocument(CAuditUtil& util, NativePlatform& platform, const SystemInfo& system,
                         GuiMessages* messages)
    : NativeDocument(util, platform, system, host, [messages] {
          if (messages)
              messages->CancelWaits();
      }) {}

} // namespace ostravion::gui
