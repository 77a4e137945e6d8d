#include "win/UiThread.h"

#include <atomic>

namespace ostravion::win {

namespace {
std::atomic<HWND> uiWindow{nullptr};
std::atomic<DWORD> uiThread{0};
} // namespace

void SetUiWindow(HWND window) {
    uiWindow = window;
    uiThread = window ? GetWindowThreadProcessId(window, nullptr) : 0;
}

HWND UiWindow() {
    return uiWindow;
}

bool OnUiThread() {
    const DWORD t = uiThread;
    return t == 0 || t == GetCurrentThreadId();
}

bool PostToUi(std::function<void()> work) {
    HWND w = uiWindow;
    if (!w)
        return false;
    auto* call = new std::function<void()>(std::move(work));
    if (!PostMessageW(w, WM_APP_CALL, 0, reinterpret_cast<LPARAM>(call))) {
        delete call;
        return false;
    }
    return true;
}

bool RunOnUi(std::function<void()> work) {
    if (OnUiThread()) {
        work();
        return true;
    }
    return PostToUi(std::move(work));
}

void RunCall(LPARAM lp) {
    auto* call = reinterpret_cast<std::function<void()>*>(lp);
    if (!call)
        return;
    (*call)();
    delete call;
}

} // namespace ostravion::win
