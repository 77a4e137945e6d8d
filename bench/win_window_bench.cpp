// The Windows desktop program under load, timed (run under Wine by
// bench/win_window.sh): how long the window's thread leaves a message
// waiting while a scan of a folder tree runs (a probe posted every 5 ms from
// another thread; target: never more than 50 ms), and how long a list of
// 100,000 rows takes to show (target: 100 ms).
//   bench_win_window.exe TREE    (KEYLIST.DAT in the current folder)
#include "desktop/DesktopFlows.h"
#include "win/Door.h"
#include "win/UiThread.h"
#include "win/WinApp.h"
#include "win/WinDocument.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

using namespace ostravion;
using Steady = std::chrono::steady_clock;

namespace {

double Ms(Steady::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The longest single message the window's thread handled, and which.
double longestDispatch = 0;
UINT longestMessage = 0;

void PumpUntil(const std::function<bool()>& done) {
    while (!done()) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const auto t = Steady::now();
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            const double ms = Ms(Steady::now() - t);
            if (ms > longestDispatch) {
                longestDispatch = ms;
                longestMessage = msg.message;
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_win_window TREE\n");
        return 2;
    }
    win::Door::SetScripted(true);
    auto platform = MakeNativePlatform();
    win::WinApp app(*platform);
    DesktopCommandLine line;
    line.splash = false;
    line.driveMap = {std::string("C=") + argv[1]};
    if (!app.InitInstance(GetModuleHandleW(nullptr), line, SW_SHOW)) {
        std::fprintf(stderr, "bench_win_window: the window could not be made\n");
        return 1;
    }
    auto& doc = static_cast<win::WinDocument&>(app.Document());

    // The scan, with a probe of the window's thread every 5 ms.
    std::mutex mutex;
    std::vector<double> waits;
    std::atomic<bool> probing{true};
    Steady::time_point started = Steady::time_point::max();
    std::thread probe([&] {
        while (probing) {
            const auto sent = Steady::now();
            win::PostToUi([&, sent] {
                std::lock_guard<std::mutex> lock(mutex);
                // Probes sent while the start ran count for the start.
                if (sent >= started)
                    waits.push_back(Ms(Steady::now() - sent));
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    PcFacts facts{"BENCH", "PC01", "bench", "model", ""};
    app.Util().SetWorkState(kScanning);
    // The start's own work on the window's thread: the progress range from
    // the drives' top-level folders, the lists' columns, the thread's start.
    const auto start = Steady::now();
    doc.PrepareScanProgress("scan");
    const double prepareMs = Ms(Steady::now() - start);
    doc.BeginInspection(facts);
    const double startMs = Ms(Steady::now() - start);
    longestDispatch = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        started = Steady::now();
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        waits.clear(); // the probes handled so far waited for the start itself
    }
    PumpUntil([&] { return !doc.ScanRunning(); });
    PumpUntil([&] { return app.Util().GetWorkState() != kScanning; });
    const double scanMs = Ms(Steady::now() - start);
    probing = false;
    probe.join();
    PumpUntil([] { return true; });

    std::vector<double> sorted;
    {
        std::lock_guard<std::mutex> lock(mutex);
        sorted = waits;
    }
    std::sort(sorted.begin(), sorted.end());
    const double worst = sorted.empty() ? 0 : sorted.back();
    const double median = sorted.empty() ? 0 : sorted[sorted.size() / 2];
    std::printf("scan: %.0f ms, %zu programs listed, %lld pieces handed\n", scanMs,
                std::size_t(doc.NormalList().RowCount() + doc.ExtendedList().RowCount()),
                doc.Host().Handed());
    std::printf("the start on the window thread: %.1f ms (the progress range %.1f ms)\n", startMs,
                prepareMs);
    std::printf("longest message handled during the scan: %.1f ms (message 0x%04X)\n",
                longestDispatch, longestMessage);
    std::printf("window thread wait during the scan: median %.1f ms, worst %.1f ms (%zu probes; "
                "target <= 50 ms)\n",
                median, worst, sorted.size());

    // 100,000 rows into the upper list, then shown.
    CResultList& list = doc.NormalList();
    list.Clear();
    FoundProgram p;
    p.Origin = "2";
    p.Company = "Maker";
    p.ProgramName = "Program";
    p.Version = "1.0";
    p.Folder = "C:\\Program Files\\Program\\";
    p.Class = "1";
    for (int i = 0; i < 100000; ++i)
        list.AddFoundProgram(p);
    const auto shown = Steady::now();
    app.Frame()->Pane(0).Flush();
    UpdateWindow(app.Frame()->Pane(0).Handle());
    const double rowsMs = Ms(Steady::now() - shown);
    std::printf("100,000 rows shown in %.1f ms (target <= 100 ms)\n", rowsMs);
    win::Door::SetScripted(false);
    return 0;
}
