// The splash window: the picture "vxa.spl" without caption or border, shown
// for one second over the main window while it is being made.
#include "win/dialogs/DialogUtil.h"
#include "win/dialogs/Dialogs.h"

namespace ostravion::win {

namespace {

constexpr const wchar_t* kSplashClass = L"OstravionSplash";
constexpr UINT_PTR kSplashTimer = 1;
constexpr UINT kSplashMilliseconds = 1000;

bool g_enabled = false;
HWND g_current = nullptr;

struct Splash {
    HBITMAP picture;
    SIZE size;
};

void Centre(HWND w, HWND owner) {
    RECT box, over;
    GetWindowRect(w, &box);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : w, MONITOR_DEFAULTTOPRIMARY), &monitor);
    // Over the owner when it is shown; at start-up it is not, and the splash
    // is centred on the screen.
    over = monitor.rcMonitor;
    if (owner && IsWindowVisible(owner))
        GetWindowRect(owner, &over);
    const LONG w0 = box.right - box.left, h0 = box.bottom - box.top;
    SetWindowPos(w, nullptr, over.left + (over.right - over.left - w0) / 2,
                 over.top + (over.bottom - over.top - h0) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK SplashProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* splash = reinterpret_cast<Splash*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    switch (msg) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_CREATE:
        Centre(w, GetWindow(w, GW_OWNER));
        SetTimer(w, kSplashTimer, kSplashMilliseconds, nullptr);
        return 0;
    case WM_TIMER:
        // Keys and clicks do not end it early; the first tick does.
        if (wp == kSplashTimer)
            HideSplashScreen();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, splash->picture);
        BitBlt(dc, 0, 0, splash->size.cx, splash->size.cy, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        EndPaint(w, &ps);
        return 0;
    }
    case WM_NCDESTROY:
        if (g_current == w)
            g_current = nullptr;
        if (splash) {
            DeleteObject(splash->picture);
            delete splash;
        }
        SetWindowLongPtrW(w, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

} // namespace

void EnableSplashScreen(bool enable) {
    g_enabled = enable;
}

void ShowSplashScreen(HWND owner) {
    if (!g_enabled || g_current)
        return;
    SIZE size{};
    HBITMAP picture = LoadPictureFile(kSplashFile, &size);
    if (!picture)
        return;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW cls{};
    if (!GetClassInfoW(instance, kSplashClass, &cls)) {
        cls.lpfnWndProc = SplashProc;
        cls.hInstance = instance;
        cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        cls.lpszClassName = kSplashClass;
        RegisterClassW(&cls);
    }
    auto* splash = new Splash{picture, size};
    // Shown without taking the activation, which stays with the main window.
    HWND w = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kSplashClass, L"", WS_POPUP, 0, 0,
                             size.cx, size.cy, owner, nullptr, instance, splash);
    if (!w) {
        DeleteObject(picture);
        delete splash;
        return;
    }
    g_current = w;
    ShowWindow(w, SW_SHOWNOACTIVATE);
    UpdateWindow(w);
}

void HideSplashScreen() {
    if (!g_current)
        return;
    HWND w = g_current;
    HWND owner = GetWindow(w, GW_OWNER);
    DestroyWindow(w);
    if (owner)
        RedrawWindow(owner, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

} // namespace ostravion::win
