// The Windows program's document: the machine's document with the hand-over
// of the scan's work to the user-interface thread, woken by a posted message.
// The scan thread waits for each piece on two Win32 events, "done" and
// "stop"; the stop command sets "stop". No stop callback is used: with
// MinGW's GCC 12 a callback's hand-shake can hang under Wine.
#pragma once

#include "desktop/ScanHandOver.h"
#include "platform/NativeDocument.h"

#include <windows.h>

namespace ostravion::win {

class WinMessages;

class WinScanHost final : public ScanHandOver {
public:
    WinScanHost();
    ~WinScanHost() override;
    void SetWindow(HWND window) { window_ = window; }
    // Releases a waiting scan thread at once (the stop command), or lets a
    // new scan wait again.
    void StopWaits() { SetEvent(stop_); }
    void AllowWaits() { ResetEvent(stop_); }

protected:
    void Wake() override;
    std::unique_ptr<Signal> MakeSignal() override;

private:
    HWND window_ = nullptr;
    HANDLE stop_;
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

    void BeginInspection(const PcFacts& facts) override;
    void StopScan() override;
};

} // namespace ostravion::win
