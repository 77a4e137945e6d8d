#include "win/WinDocument.h"

#include "win/UiThread.h"
#include "win/WinMessages.h"

namespace ostravion::win {

namespace {

// A piece's "done" event and, while the scan thread waits, a "stop" event
// that the scan's stop sets.
class EventSignal final : public ScanHandOver::Signal {
public:
    EventSignal() : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~EventSignal() override { CloseHandle(done_); }
    void Set() override { SetEvent(done_); }
    void Wait(std::stop_token stop) override {
        HANDLE stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        {
            std::stop_callback onStop(stop, [stopEvent] { SetEvent(stopEvent); });
            const HANDLE events[2] = {done_, stopEvent};
            // The stop is looked at now and then as well, whatever becomes
            // of the callback.
            while (!stop.stop_requested() &&
                   WaitForMultipleObjects(2, events, FALSE, 50) == WAIT_TIMEOUT) {
            }
        }
        CloseHandle(stopEvent);
    }

private:
    HANDLE done_;
};

} // namespace

void WinScanHost::Wake() {
    if (window_)
        PostMessageW(window_, WM_APP_RUN_PENDING, 0, 0);
}

std::unique_ptr<ScanHandOver::Signal> WinScanHost::MakeSignal() {
    return std::make_unique<EventSignal>();
}

WinDocument::WinDocument(CAuditUtil& util, NativePlatform& platform, const SystemInfo& system,
                         WinMessages* messages)
    : NativeDocument(util, platform, system, host, [messages] {
          if (messages)
              messages->CancelWaits();
      }) {}

} // namespace ostravion::win
