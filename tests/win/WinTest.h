// Helpers for the tests of the Windows program's windows: message pumping
// and finding controls, on the virtual display the test script starts.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace ostravion::test {

// Runs the thread's messages until `done` holds or `ms` milliseconds passed;
// the final value of `done`.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > end)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Runs the messages already queued.
inline void Pump() {
    PumpUntil([] { return false; }, 0);
}

} // namespace ostravion::test
