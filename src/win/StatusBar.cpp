#include "win/StatusBar.h"

#include "desktop/DesktopTexts.h"
#include "platform/Native.h"
#include "win/UiThread.h"
#include "win/WinText.h"
#include "win/resource.h"

#include <commctrl.h>

namespace ostravion::win {

namespace {

const wchar_t* const kIndicators[3] = {L"CAP", L"NUM", L"SCRL"};

} // namespace

bool StatusBar::Create(HWND parent, HINSTANCE instance) {
    hwnd_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                            WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | WS_CLIPCHILDREN, 0, 0, 0, 0,
                            parent, reinterpret_cast<HMENU>(IDW_STATUS_BAR), instance, nullptr);
    if (!hwnd_)
        return false;
    Resize();
    ShowIdle();
    UpdateIndicators();
    return true;
}

void StatusBar::Resize() {
    if (!hwnd_)
        return;
    SendMessageW(hwnd_, WM_SIZE, 0, 0);
    RECT r{};
    GetClientRect(hwnd_, &r);
    const int grip = GetSystemMetrics(SM_CXVSCROLL);
    int edges[4];
    int right = r.right - grip;
    for (int i = 3; i >= 1; --i) {
        edges[i] = right;
        right -= TextWidth(hwnd_, kIndicators[i - 1]) + 16;
    }
    edges[0] = right;
    edges[3] = -1;
    SendMessageW(hwnd_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    UpdateIndicators();
    if (progress_)
        progress_->Place();
}

void StatusBar::SetMessage(const std::string& cp949) {
    if (hwnd_)
        SendMessageW(hwnd_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Wide(cp949).c_str()));
}

std::string StatusBar::Message() const {
    if (!hwnd_)
        return {};
    const LRESULT n = SendMessageW(hwnd_, SB_GETTEXTLENGTHW, 0, 0);
    std::wstring text(std::size_t(LOWORD(n)) + 1, L'\0');
    SendMessageW(hwnd_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    return Narrow(text.c_str());
}

void StatusBar::ShowIdle() {
    SetMessage(progress_ ? flowMessage_ : std::string(desktop::kIdleMessage));
}

void StatusBar::SetProgress(StatusProgress* progress, const std::string& message) {
    progress_ = progress;
    flowMessage_ = message;
    ShowIdle();
}

void StatusBar::UpdateIndicators() {
    if (!hwnd_)
        return;
    const LockKey keys[3] = {LockKey::Caps, LockKey::Num, LockKey::Scroll};
    for (int i = 0; i < 3; ++i)
        SendMessageW(hwnd_, SB_SETTEXTW, WPARAM(i + 1),
                     reinterpret_cast<LPARAM>(LockKeyOn(keys[i]) ? kIndicators[i] : L""));
}

RECT StatusBar::MessagePane() const {
    RECT r{};
    if (hwnd_)
        SendMessageW(hwnd_, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

StatusProgress::StatusProgress(StatusBar& status, const std::string& message, int size)
    : status_(status), message_(message), size_(size) {
    control_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                               status.Handle(), reinterpret_cast<HMENU>(IDW_PROGRESS),
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control_, PBM_SETRANGE32, 0, 100);
    status_.SetProgress(this, message_);
    Place();
}

StatusProgress::~StatusProgress() {
    HWND control = control_;
    if (status_.Progress() == this)
        status_.SetProgress(nullptr, {});
    RunOnUi([control] { DestroyWindow(control); });
}

void StatusProgress::Place() {
    if (!control_)
        return;
    const RECT pane = status_.MessagePane();
    const int m = TextWidth(status_.Handle(), Wide(message_));
    const int b = TextWidth(status_.Handle(), L" ");
    const int left = m + 4 * b;
    int right = left + (pane.right - left) * size_ / 100;
    if (right < left)
        right = left;
    const int d = (pane.bottom - pane.top) / 10;
    MoveWindow(control_, left, pane.top + d, right - left, pane.bottom - pane.top - 2 * d, TRUE);
}

void StatusProgress::Show(HWND control, const Values& values) {
    if (!IsWindow(control))
        return;
    SendMessageW(control, PBM_SETRANGE32, WPARAM(values.lower.load()), LPARAM(values.upper.load()));
    SendMessageW(control, PBM_SETPOS, WPARAM(values.pos.load()), 0);
}

void StatusProgress::Refresh() {
    if (OnUiThread()) {
        Show(control_, *values_);
        return;
    }
    // From the scan thread: one refresh waits in the queue at a time.
    if (values_->pending.exchange(true))
        return;
    std::weak_ptr<Values> weak = values_;
    HWND control = control_;
    if (!PostToUi([weak, control] {
            if (auto v = weak.lock()) {
                v->pending = false;
                Show(control, *v);
            }
        }))
        values_->pending = false;
}

std::unique_ptr<ProgressBar> StatusProgressFactory::Create(const std::string& text) {
    if (!status_ || !status_->Handle())
        return nullptr;
    return std::make_unique<StatusProgress>(*status_, text);
}

} // namespace ostravion::win
