// The hand-over of a scan's work to the user-interface thread: order, the
// scan thread's wait, the stop that releases it, and the end of a scan.
#include "desktop/ScanHandOver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace ostravion {
namespace {

class CountingHandOver final : public ScanHandOver {
public:
    std::atomic<int> wakes{0};

protected:
    void Wake() override { ++wakes; }
};

// Runs the pending pieces until `done` holds (the test's own event loop).
template <typename Done> void Pump(CountingHandOver& h, Done done) {
    while (!done()) {
        h.RunPending();
        std::this_thread::yield();
    }
}

TEST(ScanThreadHandOver, PiecesRunOnTheOwnerInOrderWhileTheScanThreadWaits) {
    CountingHandOver h;
    std::vector<int> ran;
    std::atomic<int> returned{0};
    std::stop_source stop;
    std::jthread scan([&] {
        for (int i = 0; i < 50; ++i) {
            h.RunOnOwner(stop.get_token(), [&ran, i] { ran.push_back(i); });
            // Each call returns only once its piece has run.
            EXPECT_EQ(static_cast<int>(ran.size()), i + 1);
            ++returned;
        }
    });
    Pump(h, [&] { return returned == 50; });
    scan.join();
    std::vector<int> expected(50);
    for (int i = 0; i < 50; ++i)
        expected[i] = i;
    EXPECT_EQ(ran, expected);
    EXPECT_GE(h.wakes.load(), 50);
    EXPECT_EQ(h.Handed(), 50);

    // On the owner thread a piece runs at once.
    bool now = false;
    h.RunOnOwner(stop.get_token(), [&] { now = true; });
    EXPECT_TRUE(now);
}

TEST(ScanThreadHandOver, AStopReleasesTheScanThreadAndItsPieceNeverRuns) {
    CountingHandOver h;
    std::stop_source stop;
    std::atomic<bool> released{false};
    bool ran = false;
    std::jthread scan([&] {
        h.RunOnOwner(stop.get_token(), [&] { ran = true; });
        released = true;
    });
    while (h.wakes == 0)
        std::this_thread::yield();
    // The owner stops the scan without running anything, as the stop
    // command does, and waits for the scan thread.
    stop.request_stop();
    scan.join();
    EXPECT_TRUE(released);
    h.RunPending();
    EXPECT_FALSE(ran);
}

// A completed scan and one whose key list failed reach the owner, each by
// its own call; a stopped one does not.
TEST(ScanThreadHandOver, CompletedAndKeyListFailedScansReachTheOwner) {
    CountingHandOver h;
    int completed = 0, failed = 0;
    h.completed = [&] { ++completed; };
    h.keyListFailed = [&] { ++failed; };
    std::stop_source stop;
    std::jthread([&] {
        h.ScanEnded(stop.get_token(), ScanOutcome::Stopped);
        h.ScanEnded(stop.get_token(), ScanOutcome::Completed);
        h.ScanEnded(stop.get_token(), ScanOutcome::KeyListFailed);
    }).join();
    EXPECT_EQ(completed + failed, 0);
    h.RunPending();
    EXPECT_EQ(completed, 1);
    EXPECT_EQ(failed, 1);
}

} // namespace
} // namespace ostravion
