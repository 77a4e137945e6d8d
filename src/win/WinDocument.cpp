#include "win/WinDocument.h"

#include "win/UiThread.h"
#include "win/WinMessages.h"

namespace ostravion::win {

namespace {

// A piece's "done" event, waited for together with the host's "stop". A
// stop given some other way (the document going) is seen within a few
// milliseconds.
class EventSignal final : public ScanHandOver::Signal {
public:
    explicit EventSignal(HANDLE stop)
        : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), stop_(stop) {}
    ~EventSignal() override { CloseHandle(done_); }
    void Set() override { SetEvent(done_); }
    void Wait(std::stop_token stop) override {
        const HANDLE events[2] = {done_, stop_};
        while (!stop.stop_requested() &&
               WaitForMultipleObjects(2, events, FALSE, 5) == WAIT_TIMEOUT) {
        }
    }

private:
    HANDLE done_;
    HANDLE stop_;
};

} // namespace

WinScanHost::WinScanHost() : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

WinScanHost::~WinScanHost() {
    CloseHandle(stop_);
}

void WinScanHost::Wake() {
    if (window_)
        PostMessageW(window_, WM_APP_RUN_PENDING, 0, 0);
}

std::unique_ptr<ScanHandOver::Signal> WinScanHost::MakeSignal() {
    return std::make_unique<EventSignal>(stop_);
}

WinDocument::WinDocument(CAuditUtil& util, NativePlatform& platform, const SystemInfo& system,
                         WinMessages* messages)
    : NativeDocument(util, platform, system, host, [messages] {
          if (messages)
              messages->CancelWaits();
      }) {}

void WinDocument::BeginInspection(const PcFacts& facts) {
    host.AllowWaits();
    NativeDocument::BeginInspection(facts);
}

void WinDocument::StopScan() {
    host.StopWaits();
    NativeDocument::StopScan();
}

} // namespace ostravion::win
