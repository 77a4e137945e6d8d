#include "win/CommandBar.h"

#include "desktop/CommandStates.h"
#include "desktop/ResourceTable.h"
#include "desktop/ScreenRules.h"
#include "win/Door.h"
#include "win/WinText.h"
#include "win/resource.h"

#include <algorithm>

namespace ostravion::win {

namespace {

constexpr UINT_PTR kLogoTimer = 0;
constexpr UINT kLogoPeriodMs = 2000;

struct ButtonPictures {
    int id, up, pressed, focused, disabled;
};

// The pictures of the five buttons, in the order they are loaded.
constexpr ButtonPictures kButtons[] = {
    {IDC_START, IDB_START_UP, IDB_START_PRESSED, IDB_START_UP, IDB_START_DISABLED},
    {IDC_STOP, IDB_STOP_UP, IDB_STOP_PRESSED, IDB_STOP_UP, IDB_STOP_DISABLED},
    {IDC_CONSOLIDATE, IDB_CONSOLIDATE_UP, IDB_CONSOLIDATE_PRESSED, IDB_CONSOLIDATE_UP,
     IDB_CONSOLIDATE_DISABLED},
    {IDC_WRITE_RESULT, IDB_WRITE_UP, IDB_WRITE_PRESSED, IDB_WRITE_UP, IDB_WRITE_DISABLED},
    {IDC_PRINT, IDB_PRINT_UP, IDB_PRINT_PRESSED, IDB_PRINT_UP, IDB_PRINT_DISABLED},
};

const ButtonPictures* Find(int id) {
    for (const auto& b : kButtons)
        if (b.id == id)
            return &b;
    return nullptr;
}

void Blit(HDC dc, HBITMAP bmp, int x, int y) {
    if (!bmp)
        return;
    BITMAP info{};
    GetObjectW(bmp, sizeof info, &info);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

} // namespace

CommandBar::~CommandBar() {
    for (auto& [id, bmp] : bitmaps_)
        if (bmp)
            DeleteObject(bmp);
}

HBITMAP CommandBar::Bitmap(int id) {
    auto it = bitmaps_.find(id);
    if (it != bitmaps_.end())
        return it->second;
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    bitmaps_[id] = bmp;
    return bmp;
}

bool CommandBar::Create(HWND frame, HINSTANCE instance) {
    frame_ = frame;
    instance_ = instance;
    hwnd_ = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_COMMAND_BAR), frame, Proc,
                               reinterpret_cast<LPARAM>(this));
    if (!hwnd_)
        return false;
    for (const auto& b : kButtons)
        for (int picture : {b.up, b.pressed, b.focused, b.disabled})
            Bitmap(picture);
    Bitmap(IDB_LOGO_A);
    Bitmap(IDB_LOGO_B);
    SetTimer(hwnd_, kLogoTimer, kLogoPeriodMs, nullptr);
    RECT r{};
    GetWindowRect(hwnd_, &r);
    size_ = {r.right - r.left, r.bottom - r.top};
    return true;
}

int CommandBar::PictureShown(int id) const {
    const ButtonPictures* b = Find(id);
    HWND control = GetDlgItem(hwnd_, id);
    if (!b || !control)
        return 0;
    const auto pressed = pressed_.find(id);
    if (pressed != pressed_.end() && pressed->second)
        return b->pressed;
    if (GetFocus() == control)
        return b->focused;
    if (!IsWindowEnabled(control))
        return b->disabled;
    return b->up;
}

desktop::CommandBarPlaces CommandBar::Places() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    // The buttons' right end in the bar; the logo and radios at the sizes of
    // a 96-dots-per-inch screen, scaled.
    int buttonsRight = 0;
    for (const auto& b : kButtons) {
        RECT br{};
        if (HWND control = GetDlgItem(hwnd_, b.id); control && GetWindowRect(control, &br)) {
            MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&br), 2);
            buttonsRight = std::max<int>(buttonsRight, br.right);
        }
    }
    desktop::CommandBarMetrics m;
    for (int* v : {&m.normalFromRight, &m.extendedFromRight, &m.radioTop, &m.radioWidth,
                   &m.radioHeight, &m.gap})
        *v = ScaledForScreen(*v);
    return desktop::PlaceCommandBar(r.right - r.left, r.bottom - r.top, buttonsRight, m);
}

bool CommandBar::InLinkArea(POINT p) const {
    if (!Places().logoShown)
        return false;
    RECT r{};
    GetClientRect(hwnd_, &r);
    return p.x > r.right - 230 && p.x < r.right - 2 && p.y > r.top + 4 && p.y < r.top + 55;
}

void CommandBar::DrawLogo(HDC dc, HBITMAP logo) {
    // A logo that would cover a button or a radio button gives way.
    const desktop::CommandBarPlaces places = Places();
    if (places.logoShown)
        Blit(dc, logo, places.logo.left, places.logo.top);
}

void CommandBar::TimerTick() {
    HDC dc = GetDC(hwnd_);
    DrawLogo(dc, Bitmap(nextIsB_ ? IDB_LOGO_B : IDB_LOGO_A));
    ReleaseDC(hwnd_, dc);
    nextIsB_ = !nextIsB_;
}

void CommandBar::EraseBackground(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    RECT r{};
    GetClientRect(hwnd_, &r);
    if (HBITMAP tile = Bitmap(IDB_TILE)) {
        BITMAP info{};
        GetObjectW(tile, sizeof info, &info);
        if (info.bmWidth > 0 && info.bmHeight > 0)
            for (int i = 0; i <= (r.right - r.left) / info.bmWidth; ++i)
                for (int j = 0; j <= (r.bottom - r.top) / info.bmHeight; ++j)
                    Blit(dc, tile, 1 + i * info.bmWidth, j * info.bmHeight);
    }
    DrawLogo(dc, Bitmap(IDB_LOGO_B));
    PlaceRadios();
}

void CommandBar::PlaceRadios() {
    // Left of the logo at their distance from the right end, or after the
    // last button where that distance would put them over one.
    const desktop::CommandBarPlaces places = Places();
    const auto move = [this](int id, const desktop::PixelBox& b) {
        RECT now{};
        HWND radio = GetDlgItem(hwnd_, id);
        GetWindowRect(radio, &now);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&now), 2);
        if (now.left != b.left || now.top != b.top || now.right != b.right ||
            now.bottom != b.bottom)
            MoveWindow(radio, b.left, b.top, b.Width(), b.bottom - b.top, TRUE);
    };
    move(IDC_NORMAL, places.normal);
    move(IDC_EXTENDED, places.extended);
}

void CommandBar::DrawButton(const DRAWITEMSTRUCT& item) {
    const ButtonPictures* b = Find(int(item.CtlID));
    if (!b)
        return;
    pressed_[b->id] = (item.itemState & ODS_SELECTED) != 0;
    int picture = b->up;
    if (item.itemState & ODS_SELECTED)
        picture = b->pressed;
    else if (item.itemState & ODS_FOCUS)
        picture = b->focused;
    else if (item.itemState & ODS_DISABLED)
        picture = b->disabled;
    HBITMAP bmp = Bitmap(picture);
    if (!bmp)
        bmp = Bitmap(b->up);
    if (!bmp)
        return;
    // The picture fills the button, which the template sizes in dialog
    // units: at more than 96 dots per inch it is larger than the picture.
    BITMAP info{};
    GetObjectW(bmp, sizeof info, &info);
    const int w = item.rcItem.right - item.rcItem.left, h = item.rcItem.bottom - item.rcItem.top;
    HDC mem = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(mem, bmp);
    SetStretchBltMode(item.hDC, HALFTONE);
    StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, w, h, mem, 0, 0, info.bmWidth,
               info.bmHeight, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

INT_PTR CALLBACK CommandBar::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        reinterpret_cast<CommandBar*>(lp)->hwnd_ = hwnd;
        return FALSE;
    }
    auto* bar = reinterpret_cast<CommandBar*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return bar ? bar->Handle(msg, wp, lp) : FALSE;
}

INT_PTR CommandBar::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(wp));
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_SIZE:
        PlaceRadios();
        return FALSE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    case WM_DRAWITEM:
        DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_TIMER:
        if (wp == kLogoTimer)
            TimerTick();
        return TRUE;
    case WM_SETCURSOR: {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(hwnd_, &p);
        if (InLinkArea(p)) {
            SetCursor(LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_LINK_CURSOR)));
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    }
    case WM_LBUTTONDOWN: {
        const POINT p{short(LOWORD(lp)), short(HIWORD(lp))};
        if (InLinkArea(p))
            Door::Shell("open", kHomePageAddress);
        return FALSE;
    }
    case WM_COMMAND:
        // Buttons and radios: the main window decides.
        SendMessageW(frame_, WM_COMMAND, wp, lp);
        return TRUE;
    case WM_DESTROY:
        KillTimer(hwnd_, kLogoTimer);
        return FALSE;
    }
    return FALSE;
}

} // namespace ostravion::win
