// The print-preview window: a bar of buttons over a pane that shows whole
// pages, each an enhanced metafile of the page drawn once when the window
// opens and played into the room the pane has.
#include "desktop/ScreenRules.h"
#include "views/PrintTexts.h"
#include "win/report/GdiPageCanvas.h"
#include "win/report/GdiPrinting.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace ostravion::gdireport {

namespace {

constexpr const char* kPagesClass = "OstravionPreviewPages";
constexpr int kBarHeight = 36;
constexpr int kButtonWidth = 104;
constexpr int kButtonHeight = 26;
constexpr int kGap = 6;
constexpr int kMargin = 16;
// The page heights of the zoom steps, as parts of the whole-page height.
constexpr std::array<double, desktop::PreviewPages::kZoomSteps> kZoom{1.0, 1.75, 3.0};

struct Button {
    int id;
    const char* caption;
};
constexpr std::array<Button, 7> kButtons{{
    {kPreviewPrint, print::kPreviewPrint},
    {kPreviewNext, print::kPreviewNext},
    {kPreviewPrevious, print::kPreviewPrevious},
    {kPreviewTwoPages, print::kPreviewTwoPages}, // shows kPreviewOnePage while two show
    {kPreviewZoomIn, print::kPreviewZoomIn},
    {kPreviewZoomOut, print::kPreviewZoomOut},
    {kPreviewClose, print::kPreviewClose},
}};

struct Preview {
    Preview(const ReportLayout& l, GdiPrinter& pr) : layout(l), printer(pr) {}
    const ReportLayout& layout;
    GdiPrinter& printer;
    HWND owner = nullptr;
    std::vector<HENHMETAFILE> pages;
    SIZE paper{21000, 29700}; // the pages' frame, 0.01 mm
    HWND window = nullptr;
    HWND view = nullptr;
    HWND label = nullptr;
    std::array<HWND, kButtons.size()> buttons{};
    HFONT font = nullptr;
    desktop::PreviewPages shownPages{1}; // which pages show, how large
    POINT scroll{0, 0};
    bool open = true;
};

Preview* Of(HWND window) {
    return reinterpret_cast<Preview*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The size of one page on the pane, in pixels.
SIZE PageSize(const Preview& p, const RECT& client) {
    const int n = p.shownPages.Showing();
    const double aspect = static_cast<double>(p.paper.cy) / p.paper.cx;
    const int roomHeight = std::max(1, static_cast<int>(client.bottom) - 2 * kMargin);
    const int roomWidth = std::max(1, (static_cast<int>(client.right) - (n + 1) * kMargin) / n);
    double height = std::min<double>(roomHeight, roomWidth * aspect);
    height *= kZoom[static_cast<std::size_t>(p.shownPages.Zoom())];
    return SIZE{std::max(1, static_cast<int>(height / aspect)),
                std::max(1, static_cast<int>(height))};
}

void UpdateScrollBars(Preview& p) {
    RECT client;
    GetClientRect(p.view, &client);
    const SIZE page = PageSize(p, client);
    const int contentWidth = p.shownPages.Zoom() > 0 ? page.cx + 2 * kMargin : 0;
    const int contentHeight = p.shownPages.Zoom() > 0 ? page.cy + 2 * kMargin : 0;
    p.scroll.x = std::clamp<int>(p.scroll.x, 0, std::max<int>(0, contentWidth - client.right));
    p.scroll.y = std::clamp<int>(p.scroll.y, 0, std::max<int>(0, contentHeight - client.bottom));
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, contentWidth - 1);
    info.nPage = static_cast<UINT>(client.right + 1);
    info.nPos = p.scroll.x;
    SetScrollInfo(p.view, SB_HORZ, &info, TRUE);
    info.nMax = std::max(0, contentHeight - 1);
    info.nPage = static_cast<UINT>(client.bottom + 1);
    info.nPos = p.scroll.y;
    SetScrollInfo(p.view, SB_VERT, &info, TRUE);
}

void Refresh(Preview& p) {
    char text[64];
    const desktop::PreviewPages& v = p.shownPages;
    if (v.Last() > v.First())
        std::snprintf(text, sizeof text, print::kPreviewPagesOf, v.First(), v.Last(), v.Count());
    else
        std::snprintf(text, sizeof text, print::kPreviewPageOf, v.First(), v.Count());
    SetWindowTextA(p.label, text);
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        bool enabled = true;
        switch (kButtons[i].id) {
        case kPreviewNext:
            enabled = v.CanGoNext();
            break;
        case kPreviewPrevious:
            enabled = v.CanGoPrevious();
            break;
        case kPreviewTwoPages:
            enabled = v.CanToggleTwo();
            SetWindowTextA(p.buttons[i],
                           v.TwoPages() ? print::kPreviewOnePage : print::kPreviewTwoPages);
            break;
        case kPreviewZoomIn:
            enabled = v.CanZoomIn();
            break;
        case kPreviewZoomOut:
            enabled = v.CanZoomOut();
            break;
        default:
            break;
        }
        EnableWindow(p.buttons[i], enabled);
    }
    UpdateScrollBars(p);
    InvalidateRect(p.view, nullptr, FALSE);
}

void Close(Preview& p) {
    if (!p.open)
        return;
    p.open = false;
    // The owner comes back before the preview goes, so that it is the window
    // activated next.
    if (p.owner)
        EnableWindow(p.owner, TRUE);
    DestroyWindow(p.window);
    // A close sent from elsewhere is handled inside the wait for the next
    // message: one more message ends the wait, and with it the preview's loop.
    PostMessageA(nullptr, WM_NULL, 0, 0);
}

void Command(Preview& p, int id) {
    switch (id) {
    case kPreviewPrint: {
        const PrintOutcome done = p.printer.Print(p.layout);
        if (const char* text = PrintOutcomeText(done))
            MessageBoxA(p.window, text, "Ostravion", MB_OK | MB_ICONEXCLAMATION);
        else
            Close(p);
        return;
    }
    case kPreviewNext:
        p.shownPages.Next();
        break;
    case kPreviewPrevious:
        p.shownPages.Previous();
        break;
    case kPreviewOnePage:
        p.shownPages.ShowOne();
        break;
    case kPreviewTwoPages:
        // The one button shows either choice.
        p.shownPages.ToggleTwo();
        break;
    case kPreviewZoomIn:
        p.shownPages.ZoomIn();
        break;
    case kPreviewZoomOut:
        p.shownPages.ZoomOut();
        break;
    case kPreviewClose:
        Close(p);
        return;
    default:
        return;
    }
    p.scroll = {0, 0};
    Refresh(p);
}

void PaintPages(Preview& p, HDC target, const RECT& client) {
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, std::max<LONG>(1, client.right),
                                            std::max<LONG>(1, client.bottom));
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HBRUSH back = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(dc, &client, back);
    DeleteObject(back);

    const SIZE page = PageSize(p, client);
    const int n = p.shownPages.Last() - p.shownPages.First() + 1;
    const int total = n * page.cx + (n - 1) * kMargin;
    int x = p.shownPages.Zoom() > 0
                ? kMargin - p.scroll.x
                : std::max<int>(kMargin, (static_cast<int>(client.right) - total) / 2);
    const int y = p.shownPages.Zoom() > 0
                      ? kMargin - p.scroll.y
                      : std::max<int>(kMargin, (static_cast<int>(client.bottom) - page.cy) / 2);
    for (int i = 0; i < n; ++i, x += page.cx + kMargin) {
        const RECT sheet{x, y, x + page.cx, y + page.cy};
        const RECT shadow{sheet.left + 4, sheet.top + 4, sheet.right + 4, sheet.bottom + 4};
        FillRect(dc, &shadow, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        FillRect(dc, &sheet, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        const auto index = static_cast<std::size_t>(p.shownPages.First() - 1 + i);
        if (HENHMETAFILE emf = index < p.pages.size() ? p.pages[index] : nullptr)
            PlayEnhMetaFile(dc, emf, &sheet);
        FrameRect(dc, &sheet, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void Scroll(Preview& p, int bar, WPARAM how) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(p.view, bar, &info);
    int pos = info.nPos;
    const int line = 40;
    switch (LOWORD(how)) {
    case SB_LINEUP:
        pos -= line;
        break;
    case SB_LINEDOWN:
        pos += line;
        break;
    case SB_PAGEUP:
        pos -= static_cast<int>(info.nPage);
        break;
    case SB_PAGEDOWN:
        pos += static_cast<int>(info.nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        pos = info.nTrackPos;
        break;
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = info.nMax;
        break;
    default:
        return;
    }
    (bar == SB_HORZ ? p.scroll.x : p.scroll.y) = pos;
    UpdateScrollBars(p);
    InvalidateRect(p.view, nullptr, FALSE);
}

LRESULT CALLBACK PagesProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    Preview* p = Of(GetParent(view));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(view, &ps);
        if (p) {
            RECT client;
            GetClientRect(view, &client);
            PaintPages(*p, dc, client);
        }
        EndPaint(view, &ps);
        return 0;
    }
    case WM_SIZE:
        if (p)
            UpdateScrollBars(*p);
        InvalidateRect(view, nullptr, FALSE);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (p)
            Scroll(*p, message == WM_HSCROLL ? SB_HORZ : SB_VERT, wParam);
        return 0;
    case WM_MOUSEWHEEL:
        if (p) {
            const bool down = GET_WHEEL_DELTA_WPARAM(wParam) < 0;
            if (p->shownPages.Zoom() > 0)
                Scroll(*p, SB_VERT, down ? SB_PAGEDOWN : SB_PAGEUP);
            else
                Command(*p, down ? kPreviewNext : kPreviewPrevious);
        }
        return 0;
    default:
        return DefWindowProcA(view, message, wParam, lParam);
    }
}

void Arrange(Preview& p) {
    RECT client;
    GetClientRect(p.window, &client);
    int x = kGap;
    const int y = (kBarHeight - kButtonHeight) / 2;
    for (HWND button : p.buttons) {
        MoveWindow(button, x, y, kButtonWidth, kButtonHeight, TRUE);
        x += kButtonWidth + kGap;
    }
    MoveWindow(p.label, x + kGap, y + 5, std::max(0, static_cast<int>(client.right) - x - kGap),
               kButtonHeight - 5, TRUE);
    MoveWindow(p.view, 0, kBarHeight, client.right,
               std::max(0, static_cast<int>(client.bottom) - kBarHeight), TRUE);
}

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Preview* p = Of(window);
    if (!p)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: {
        p->window = window;
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        for (std::size_t i = 0; i < kButtons.size(); ++i) {
            p->buttons[i] = CreateWindowExA(
                0, "BUTTON", kButtons[i].caption,
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, kButtonWidth,
                kButtonHeight, window,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtons[i].id)), instance, nullptr);
            SendMessageA(p->buttons[i], WM_SETFONT, reinterpret_cast<WPARAM>(p->font), TRUE);
        }
        p->label = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0,
                                   window, nullptr, instance, nullptr);
        SendMessageA(p->label, WM_SETFONT, reinterpret_cast<WPARAM>(p->font), TRUE);
        p->view =
            CreateWindowExA(0, kPagesClass, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0,
                            kBarHeight, 0, 0, window, nullptr, instance, nullptr);
        Arrange(*p);
        Refresh(*p);
        return 0;
    }
    case WM_SIZE:
        Arrange(*p);
        return 0;
    case WM_COMMAND:
        Command(*p, LOWORD(wParam));
        return 0;
    case kPreviewState:
        return MAKELRESULT(p->shownPages.First(),
                           (p->shownPages.TwoPages() ? 2 : 1) * 16 + p->shownPages.Zoom());
    case WM_CLOSE:
        Close(*p);
        return 0;
    case WM_DESTROY:
        p->open = false;
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RegisterClasses() {
    static bool registered = false;
    if (registered)
        return;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA preview{};
    preview.lpfnWndProc = PreviewProc;
    preview.hInstance = instance;
    preview.hCursor = LoadCursor(nullptr, IDC_ARROW);
    preview.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    preview.lpszClassName = kPreviewClass;
    RegisterClassA(&preview);
    WNDCLASSA pages{};
    pages.lpfnWndProc = PagesProc;
    pages.hInstance = instance;
    pages.hCursor = LoadCursor(nullptr, IDC_ARROW);
    pages.lpszClassName = kPagesClass;
    RegisterClassA(&pages);
    registered = true;
}

// Keys of the whole window, whichever button has the focus.
bool PreviewKey(Preview& p, const MSG& msg) {
    if (msg.message != WM_KEYDOWN)
        return false;
    switch (msg.wParam) {
    case VK_ESCAPE:
        Command(p, kPreviewClose);
        return true;
    case VK_NEXT:
        Command(p, kPreviewNext);
        return true;
    case VK_PRIOR:
        Command(p, kPreviewPrevious);
        return true;
    default:
        break;
    }
    // An enlarged page scrolls by the arrows, Home and End.
    if (p.shownPages.Zoom() == 0)
        return false;
    switch (msg.wParam) {
    case VK_UP:
        Scroll(p, SB_VERT, SB_LINEUP);
        return true;
    case VK_DOWN:
        Scroll(p, SB_VERT, SB_LINEDOWN);
        return true;
    case VK_LEFT:
        Scroll(p, SB_HORZ, SB_LINEUP);
        return true;
    case VK_RIGHT:
        Scroll(p, SB_HORZ, SB_LINEDOWN);
        return true;
    case VK_HOME:
        Scroll(p, SB_VERT, SB_TOP);
        return true;
    case VK_END:
        Scroll(p, SB_VERT, SB_BOTTOM);
        return true;
    default:
        return false;
    }
}

} // namespace

void ShowPrintPreview(HWND owner, const ReportLayout& layout, GdiPrinter& printer) {
    RegisterClasses();
    Preview p(layout, printer);
    p.owner = owner;
    // The pages as the printer jobs go to would print them, or as A4 pages.
    HDC reference = printer.InformationContext();
    p.pages = PageMetafiles(layout, reference);
    p.shownPages = desktop::PreviewPages(static_cast<int>(p.pages.size()));
    if (reference)
        DeleteDC(reference);
    if (!p.pages.empty() && p.pages.front()) {
        ENHMETAHEADER header{};
        GetEnhMetaFileHeader(p.pages.front(), sizeof header, &header);
        const LONG width = header.rclFrame.right - header.rclFrame.left;
        const LONG height = header.rclFrame.bottom - header.rclFrame.top;
        if (width > 0 && height > 0)
            p.paper = {width, height};
    }
    p.font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGEUL_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, print::kPreviewFace);

    // The whole work area of the screen: whole pages as large as they can be.
    RECT area{0, 0, 1024, 768};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    HWND window = CreateWindowExA(0, kPreviewClass, print::kPreviewTitle,
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, area.left, area.top,
                                  area.right - area.left, area.bottom - area.top, owner, nullptr,
                                  GetModuleHandleA(nullptr), &p);
    if (window) {
        if (owner)
            EnableWindow(owner, FALSE);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        MSG msg;
        bool quit = false;
        while (p.open) {
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got <= 0) {
                quit = got == 0;
                break;
            }
            // The window's own keys, then the buttons' mnemonics (Alt+N, ...)
            // and Tab between them, as in a dialog.
            if ((msg.hwnd == window || IsChild(window, msg.hwnd)) &&
                (PreviewKey(p, msg) || IsDialogMessageA(window, &msg)))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Close(p);
        if (owner)
            SetActiveWindow(owner);
        // A quit that ended the preview's loop is the program's: it goes on.
        if (quit)
            PostQuitMessage(static_cast<int>(msg.wParam));
    }
    DeleteObject(p.font);
    for (HENHMETAFILE page : p.pages)
        if (page)
            DeleteEnhMetaFile(page);
}

} // namespace ostravion::gdireport
