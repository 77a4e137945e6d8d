#include "desktop/ScanHandOver.h"

#include <chrono>
#include <condition_variable>

namespace ostravion {

namespace {

// The wait looks at the stop every few milliseconds rather than being woken
// by a stop callback: with MinGW's GCC 12 and its winpthreads a stop's
// wake-up can be lost (seen under Wine), which would leave the scan thread
// waiting for ever and the stop's join with it.
class PollingSignal final : public ScanHandOver::Signal {
public:
    void Set() override {
        std::lock_guard<std::mutex> lock(mutex_);
        set_ = true;
        cv_.notify_all();
    }
    void Wait(std::stop_token stop) override {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!set_ && !stop.stop_requested())
            cv_.wait_for(lock, std::chrono::milliseconds(5));
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool set_ = false;
};

} // namespace

struct ScanHandOver::Piece {
    std::function<void()> work;
    std::unique_ptr<Signal> signal;
    std::mutex mutex;
    bool done = false;   // it ran
    bool gaveUp = false; // the scan thread stopped waiting: it must not run
};

std::unique_ptr<ScanHandOver::Signal> ScanHandOver::MakeSignal() {
    return std::make_unique<PollingSignal>();
}

ScanHandOver::ScanHandOver() : owner_(std::this_thread::get_id()) {}

ScanHandOver::~ScanHandOver() = default;

std::shared_ptr<ScanHandOver::Piece> ScanHandOver::Queue(std::function<void()> work) {
    auto piece = std::make_shared<Piece>();
    piece->work = std::move(work); // the hand-over's own copy: the caller's may go
    piece->signal = MakeSignal();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(piece);
    }
    Wake();
    return piece;
}

void ScanHandOver::RunOnOwner(std::stop_token stop, const std::function<void()>& work) {
    if (std::this_thread::get_id() == owner_) {
        work();
        return;
    }
    const std::shared_ptr<Piece> piece = Queue(work);
    piece->signal->Wait(stop);
    std::lock_guard<std::mutex> lock(piece->mutex);
    if (!piece->done)
        piece->gaveUp = true;
}

void ScanHandOver::ScanEnded(std::stop_token, ScanOutcome outcome) {
    if (outcome == ScanOutcome::KeyListFailed)
        Queue([this] {
            if (keyListFailed)
                keyListFailed();
        });
    if (outcome != ScanOutcome::Completed)
        return;
    Queue([this] {
        if (completed)
            completed();
    });
}

void ScanHandOver::RunPending() {
    for (;;) {
        std::shared_ptr<Piece> piece;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (queue_.empty())
                return;
            piece = std::move(queue_.front());
            queue_.pop_front();
        }
        {
            std::lock_guard<std::mutex> lock(piece->mutex);
            if (piece->gaveUp)
                continue;
        }
        ++handed_;
        piece->work();
        {
            std::lock_guard<std::mutex> lock(piece->mutex);
            piece->done = true;
        }
        piece->signal->Set();
    }
}

} // namespace ostravion
