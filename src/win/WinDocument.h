// The Windows program's document: the machine's document with the hand-over of the scan's work to
// the user-interface thread, woken by a posted message. The scan thread waits for each piece on
// Win32 events: "done" and "stop".
#pragma once

#include "desktop/ScanHandOver.h"
#include "platform/NativeDocument.h"

#include <windows.h>

namespace ostravion::win {

class WinMessages;

class WinScanHost final : public ScanHandOver {
public:
    void SetWindow(HWND window) { window_ = window; }

protected:
    void Wake() override;
    std::unique_ptr<Signal> MakeSignal() override;

private:
    HWND window_ = nullptr;
};

// The hand-over is made before the document and goes after it: the
// document's scan thread may still call it while the document goes.
struct WinHostHolder {
    WinScanHost host;
};

class WinDocument final : private WinHostHolder, public NativeDocument {
public:
    WinDocument(CAuditUtil& util, NativePlatform& platform, const SystemInfo& system,
                WinMessages* messages);
    WinScanHost& Host() { return host; }
};

} // namespace ostravion::win
