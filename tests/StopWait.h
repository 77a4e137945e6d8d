// A wait that ends when a condition holds or a stop is requested, for the
// test hosts that hold a scan thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <stop_token>

namespace ostravion::test {

// Polls rather than handing the stop token to condition_variable_any::wait:
// with MinGW's GCC 12 and its winpthreads that overload can miss the wake-up
// of a stop (seen under Wine), which leaves the scan thread waiting for ever
// and the stop's join with it.
template <typename Lock, typename Done>
bool WaitOrStop(std::condition_variable_any& cv, Lock& lock, const std::stop_token& stop,
                Done done) {
    while (!done()) {
        if (stop.stop_requested())
            return false;
        cv.wait_for(lock, std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace ostravion::test
