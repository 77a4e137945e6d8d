// The scan thread's side of the desktop program: every piece of the scan's
// work on the lists (each program found, the end of the scan) is handed to
// the user-interface thread and run there in order. The scan thread waits
// for each piece as a sent window message would make it wait, and gives up
// at once when the scan is stopped, so that the user-interface thread may
// wait for the scan thread without a deadlock. A front supplies only its way
// of waking the user-interface thread.
#pragma once

#include "doc/OstravionDoc.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace ostravion {

class ScanHandOver : public ScanHost {
public:
    // The thread that makes the object is the user-interface thread.
    ScanHandOver();
    ~ScanHandOver() override;

    void RunOnOwner(std::stop_token stop, const std::function<void()>& work) override;
    // A completed scan's end runs `completed` on the user-interface thread;
    // the scan thread does not wait for it (its work is done).
    void ScanEnded(std::stop_token stop, ScanOutcome outcome) override;

    // On the user-interface thread, once woken: runs every piece handed so
    // far, in order. Safe to call again from inside a piece (a modal dialog's
    // own event loop).
    void RunPending();

    std::function<void()> completed;
    // A scan whose key list could not be loaded (its message was shown) ended
    // without walking: `keyListFailed` runs on the user-interface thread.
    std::function<void()> keyListFailed;
    // Pieces of work run so far, for the statistics of a scan.
    long long Handed() const { return handed_; }

    // How the scan thread waits for one piece to have run. Set comes from the
    // user-interface thread once the piece ran; Wait returns once it was set
    // or the stop was requested, whichever comes first.
    class Signal {
    public:
        virtual ~Signal() = default;
        virtual void Set() = 0;
        virtual void Wait(std::stop_token stop) = 0;
    };

protected:
    // Asks the user-interface thread to call RunPending soon. Called from the
    // scan thread, once per piece; extra calls do no harm.
    virtual void Wake() = 0;
    // A signal for one piece; by default a condition variable that looks at
    // the stop every few milliseconds. A front may wait on its system's own
    // events instead.
    virtual std::unique_ptr<Signal> MakeSignal();

private:
    struct Piece;
    std::shared_ptr<Piece> Queue(std::function<void()> work);

    std::thread::id owner_;
    std::mutex mutex_;
    std::deque<std::shared_ptr<Piece>> queue_;
    long long handed_ = 0;
};

} // namespace ostravion
