// Work handed to the user-interface thread: a posted message to the main
// window carries it, and the window runs it in order with its other messages.
#pragma once

#include <windows.h>

#include <functional>

namespace ostravion::win {

// The message that carries a piece of work; its LPARAM owns a
// std::function<void()>*.
inline constexpr UINT WM_APP_CALL = WM_APP + 1;
// The scan's hand-over asks the main window to run the pieces handed so far.
inline constexpr UINT WM_APP_RUN_PENDING = WM_APP + 2;

// The window that runs handed work, set once the main window exists.
void SetUiWindow(HWND window);
HWND UiWindow();
bool OnUiThread();

// Runs `work` on the user-interface thread: at once when called there,
// otherwise posted. False when there is no window to post to (the work is
// dropped).
bool RunOnUi(std::function<void()> work);
// Posts `work` even on the user-interface thread: it runs after the messages
// queued before it.
bool PostToUi(std::function<void()> work);
// Runs the work a WM_APP_CALL carries, and frees it.
void RunCall(LPARAM lp);

} // namespace ostravion::win
