// The scan's hand-over in the Windows program: pieces posted to the main
// window run there in order while the scan thread waits on its events, and a
// stop releases a waiting scan thread although the window runs nothing.
#include "WinHarness.h"

#include "win/WinDocument.h"

#include <atomic>
#include <thread>

namespace ostravion {
namespace {

TEST(WinScanHost, PiecesRunThroughTheWindowAndAStopReleasesTheWait) {
    test::Harness h(false);
    auto& host = static_cast<win::WinDocument&>(h.app->Document()).Host();
    std::vector<int> ran;
    std::atomic<int> returned{0};
    std::stop_source stop;
    std::jthread scan([&] {
        for (int i = 0; i < 100; ++i) {
            host.RunOnOwner(stop.get_token(), [&ran, i] { ran.push_back(i); });
            // Each call returns only once its piece has run.
            EXPECT_EQ(int(ran.size()), i + 1);
            ++returned;
        }
    });
    EXPECT_TRUE(test::PumpUntil([&] { return returned == 100; }, 30000));
    scan.join();
    ASSERT_EQ(ran.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(ran[std::size_t(i)], i);

    // Nothing runs the window's messages now: only the stop command ends the
    // wait, and the piece never runs afterwards.
    bool late = false;
    std::atomic<bool> waiting{false}, released{false};
    std::jthread blocked([&] {
        waiting = true;
        host.RunOnOwner(stop.get_token(), [&] { late = true; });
        released = true;
    });
    while (!waiting)
        std::this_thread::yield();
    Sleep(50);
    EXPECT_FALSE(released);
    host.StopWaits();
    blocked.join();
    EXPECT_TRUE(released);
    test::Pump();
    EXPECT_FALSE(late);
}

} // namespace
} // namespace ostravion
