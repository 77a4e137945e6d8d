// A progress bar's values kept apart from the control that shows them, so
// that the scan thread can step the bar while the control is touched only on
// the user-interface thread. Each front derives its bar from this and makes
// its control follow the values in Refresh.
#pragma once

#include "ports/Ports.h"

#include <atomic>
#include <memory>

namespace ostravion {

class SharedProgress : public ProgressBar {
public:
    struct Values {
        std::atomic<int> lower{0}, upper{100}, step{1};
        std::atomic<long long> pos{0};
        // A refresh waits in the user-interface thread's queue.
        std::atomic<bool> pending{false};
    };

    void SetRange32(int lower, int upper) override {
        values_->lower = lower;
        values_->upper = upper;
        Refresh();
    }
    void GetRange(int& lower, int& upper) const override {
        lower = values_->lower;
        upper = values_->upper;
    }
    void SetStep(int step) override { values_->step = step; }
    void StepIt() override {
        // Past the upper bound the position starts again from the lower bound.
        const long long lower = values_->lower, upper = values_->upper;
        long long pos = values_->pos + values_->step;
        if (pos > upper || pos < lower) {
            const long long span = upper - lower;
            pos = span > 0 ? lower + ((pos - lower) % span + span) % span : lower;
        }
        values_->pos = pos;
        Refresh();
    }
    void SetPos(int pos) override {
        values_->pos = pos;
        Refresh();
    }
    int Position() const { return static_cast<int>(values_->pos.load()); }

protected:
    // The control follows the values; called after each change, on any thread.
    virtual void Refresh() = 0;

    std::shared_ptr<Values> values_ = std::make_shared<Values>();
};

} // namespace ostravion
