// Helpers for the tests of the Windows program's windows: message pumping
// and finding controls, on the virtual display the test script starts.
#pragma once

#include "win/ScreenPicture.h"

#include <windows.h>

#include <functional>

namespace ostravion::test {

// Runs the thread's messages until `done` holds or `ms` milliseconds passed;
// the final value of `done`.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 5000) {
    return win::PumpMessagesUntil(done, ms);
}

// Runs the messages already queued.
inline void Pump() {
    PumpUntil([] { return false; }, 0);
}

} // namespace ostravion::test
