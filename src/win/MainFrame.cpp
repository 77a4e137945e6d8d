#include "win/MainFrame.h"

#include "desktop/DesktopTexts.h"
#include "desktop/Menus.h"
#include "desktop/ResourceTable.h"
#include "desktop/ScreenRules.h"
#include "util/Messages.h"
#include "win/Door.h"
#include "win/Printing.h"
#include "win/UiThread.h"
#include "win/WinText.h"
#include "win/dialogs/Dialogs.h"
#include "win/resource.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

namespace ostravion::win {

namespace {

const wchar_t* const kFrameClass = L"OstravionMainFrame";
constexpr UINT_PTR kIndicatorTimer = 1;

// The menu prompt of an item: the part before "\n".
std::string Prompt(int id) {
    for (const MenuSpec& menu : MainMenu())
        for (const MenuItemSpec& item : menu.items)
            if (item.id == id && item.prompt) {
                const std::string p = item.prompt;
                return p.substr(0, p.find('\n'));
            }
    return {};
}

bool RunsElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool got =
        GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) != 0;
    CloseHandle(token);
    return got && elevation.TokenIsElevated != 0;
}

} // namespace

std::function<bool()> MainFrame::processElevated = RunsElevated;
std::function<bool(HWND, UINT)> MainFrame::allowMessage = [](HWND window, UINT message) {
    return ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr) != 0;
};

void MainFrame::AllowDropsFromExplorer(HWND window) {
    // Windows keeps these from a normal-rights Explorer away from an elevated
    // window: a dropped file would be refused without a word.
    constexpr UINT kCopyGlobalData = 0x0049;
    if (!processElevated || !processElevated() || !allowMessage)
        return;
    for (UINT message : {UINT(WM_DROPFILES), UINT(WM_COPYDATA), kCopyGlobalData})
        allowMessage(window, message);
}

MainFrame::MainFrame(Services services) : s_(services) {}

MainFrame::~MainFrame() {
    s_.progress.SetStatusBar(nullptr);
    if (UiWindow() == hwnd_)
        SetUiWindow(nullptr);
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool MainFrame::Create(HINSTANCE instance, DesktopDocument& doc, CResultList& upper,
                       CResultList& lower) {
    instance_ = instance;
    doc_ = &doc;
    lists_[0] = &upper;
    lists_[1] = &lower;
    flows_ = std::make_unique<DesktopFlows>(s_.util, doc, *this,
                                            DesktopFlows::Machine{s_.system, s_.clock, s_.codec});
    // The guide is looked for from the folder of this program's file.
    wchar_t program[32768];
    const DWORD length = GetModuleFileNameW(nullptr, program, 32768);
    if (length > 0 && length < 32768) {
        std::wstring folder(program, length);
        folder.erase(std::min(folder.size(), folder.find_last_of(L"\\/")));
        flows_->SetProgramFolder(Narrow(folder), '\\');
    }

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    wc.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFrameClass;
    RegisterClassExW(&wc);

    menu_ = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));

    // A window that fits the work area of the screen, as large as the command
    // bar and the lists' columns need at the screen's resolution.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int w = std::min<int>(ScaledForScreen(1000), work.right - work.left);
    const int h = std::min<int>(ScaledForScreen(700), work.bottom - work.top);
    const std::wstring title = Wide(desktop::kInitialTitle);
    hwnd_ = CreateWindowExW(
        WS_EX_ACCEPTFILES, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
        work.left + (work.right - work.left - w) / 2, work.top + (work.bottom - work.top - h) / 2,
        w, h, nullptr, menu_, instance, this);
    return hwnd_ != nullptr && created_;
}

LRESULT CALLBACK MainFrame::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<MainFrame*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<MainFrame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    return self->Handle(msg, wp, lp);
}

bool MainFrame::CreateParts() {
    // The command bar in one band of the rebar, with a gripper.
    rebar_ =
        CreateWindowExW(WS_EX_TOOLWINDOW, REBARCLASSNAMEW, nullptr,
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                            RBS_BANDBORDERS | CCS_NODIVIDER | CCS_TOP,
                        0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(IDW_REBAR), instance_, nullptr);
    if (!rebar_ || !bar_.Create(hwnd_, instance_))
        return false;
    REBARINFO info{};
    info.cbSize = sizeof info;
    SendMessageW(rebar_, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE;
    band.fStyle = RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE;
    band.hwndChild = bar_.Handle();
    band.cxMinChild = 0;
    band.cyMinChild = bar_.TemplateSize().cy;
    band.cx = bar_.TemplateSize().cx;
    SendMessageW(rebar_, RB_INSERTBANDW, WPARAM(-1), reinterpret_cast<LPARAM>(&band));
    ShowWindow(bar_.Handle(), SW_SHOW);

    if (!status_.Create(hwnd_, instance_))
        return false;
    s_.progress.SetStatusBar(&status_);

    const int ids[2] = {kUpperPaneId, kLowerPaneId};
    for (int i = 0; i < 2; ++i) {
        panes_[i] = std::make_unique<ListPane>(*lists_[i]);
        if (!panes_[i]->Create(hwnd_, ids[i]))
            return false;
        panes_[i]->focused = [this, i] { activeView_ = i; };
        panes_[i]->workEdited = [this] { flows_->WorkEdited(); };
    }
    RECT r{};
    GetWindowRect(hwnd_, &r);
    rowIdeal_[0] = r.bottom - r.top;
    rowIdeal_[1] = 0;
    SetTimer(hwnd_, kIndicatorTimer, 500, nullptr);
    return true;
}

LRESULT MainFrame::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        if (!CreateParts())
            return -1;
        // "일반" checked, then the work folder, start-up folder and greyed
        // document commands; the splash window over the new window.
        CheckRadioButton(bar_.Handle(), IDC_NORMAL, IDC_EXTENDED, IDC_NORMAL);
        CheckMenuRadioItem(menu_, IDC_NORMAL, IDC_EXTENDED, IDC_NORMAL, MF_BYCOMMAND);
        if (!flows_->WindowCreated())
            return -1;
        SetUiWindow(hwnd_);
        AllowDropsFromExplorer(hwnd_);
        ShowSplashScreen(hwnd_);
        Layout();
        created_ = true;
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_ACTIVATE:
        // Back from a message box, a dialog or another program: the keys go
        // to the active list again.
        if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) {
            FocusActiveList();
            return 0;
        }
        break;
    case WM_SETFOCUS:
        FocusActiveList();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
        mm->ptMinTrackSize = {320, 240};
        return 0;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        LRESULT result = 0;
        for (auto& pane : panes_)
            if (pane && header->hwndFrom == pane->Handle() && pane->OnNotify(*header, result))
                return result;
        if (header->hwndFrom == rebar_ && header->code == RBN_HEIGHTCHANGE)
            Layout();
        break;
    }
    case WM_COMMAND:
        // Menu items (0), accelerators (1) and button clicks (BN_CLICKED, 0).
        if (HIWORD(wp) <= 1)
            OnCommand(LOWORD(wp));
        return 0;
    case WM_MENUSELECT:
        if (HIWORD(wp) == 0xFFFF && lp == 0)
            status_.ShowIdle();
        else if (!(HIWORD(wp) & MF_POPUP))
            MenuPrompt(LOWORD(wp));
        return 0;
    case WM_EXITMENULOOP:
        status_.ShowIdle();
        return 0;
    case WM_TIMER:
        if (wp == kIndicatorTimer)
            status_.UpdateIndicators();
        return 0;
    case WM_SETCURSOR: {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(hwnd_, &p);
        if (reinterpret_cast<HWND>(wp) == hwnd_ && InSplitterBar(p)) {
            SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONDOWN: {
        const POINT p{short(LOWORD(lp)), short(HIWORD(lp))};
        if (InSplitterBar(p)) {
            dragging_ = true;
            SetCapture(hwnd_);
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_) {
            const RECT area = ClientArea();
            const int y = short(HIWORD(lp));
            const int total = area.bottom - area.top - kSplitterBar;
            rowIdeal_[0] = std::clamp(y - int(area.top), 0, std::max(0, total));
            rowIdeal_[1] = std::max(0, total - rowIdeal_[0]);
            ApplyRowHeights();
        }
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) {
            dragging_ = false;
            ReleaseCapture();
        }
        return 0;
    case WM_DROPFILES:
        OpenDropped(reinterpret_cast<HDROP>(wp));
        return 0;
    case WM_APP_CALL:
        RunCall(lp);
        return 0;
    case WM_APP_RUN_PENDING:
        if (runPending)
            runPending();
        return 0;
    case WM_CLOSE:
        // The close box, Alt+F4 and the system menu's close: the Exit flow,
        // unless the program closes itself.
        // A save the user asked for that failed keeps the window open.
        if (flows_ && !flows_->CloseRequested())
            return 0;
        HideSplashScreen();
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, kIndicatorTimer);
        s_.progress.SetStatusBar(nullptr);
        SetUiWindow(nullptr);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool MainFrame::PreTranslate(MSG& msg) {
    if (hwnd_ && accelerators_ && TranslateAcceleratorW(hwnd_, accelerators_, &msg))
        return true;
    return bar_.Handle() && IsDialogMessageW(bar_.Handle(), &msg);
}

void MainFrame::OnCommand(int id) {
    switch (id) {
    case ID_ABOUT_PRODUCT:
    case ID_ABOUT_ORG:
        if (appCommand)
            appCommand(id);
        return;
    case ID_NEXT_PANE:
        NextPane(1);
        return;
    case ID_PREV_PANE:
        NextPane(-1);
        return;
    default:
        flows_->OnCommand(id);
    }
}

void MainFrame::MenuPrompt(int id) {
    const std::string prompt = Prompt(id);
    if (prompt.empty())
        status_.ShowIdle();
    else
        status_.SetMessage(prompt);
}

// ---- layout -------------------------------------------------------------

RECT MainFrame::ClientArea() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    if (rebar_) {
        RECT b{};
        GetWindowRect(rebar_, &b);
        r.top += b.bottom - b.top;
    }
    if (status_.Handle()) {
        RECT s{};
        GetWindowRect(status_.Handle(), &s);
        r.bottom -= s.bottom - s.top;
    }
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

void MainFrame::Layout() {
    if (!hwnd_)
        return;
    if (rebar_)
        SendMessageW(rebar_, WM_SIZE, 0, 0);
    status_.Resize();
    ApplyRowHeights();
}

void MainFrame::ApplyRowHeights() {
    if (!panes_[0] || !panes_[1])
        return;
    const RECT area = ClientArea();
    const int width = area.right - area.left;
    // Row 0 gets its ideal height as far as it fits, row 1 the rest; a row
    // left with less than its minimum is hidden, unless "확장" is chosen.
    const bool keepLower = IsDlgButtonChecked(bar_.Handle(), IDC_EXTENDED) == BST_CHECKED &&
                           rowIdeal_[1] >= kRowMinimum;
    const desktop::RowHeights rows = desktop::SplitRows(int(area.bottom - area.top), kSplitterBar,
                                                        rowIdeal_[0], keepLower, kRowMinimum);
    const int h0 = rows.upper, h1 = rows.lower;
    rowShown_[0] = h0;
    rowShown_[1] = h1;
    MoveWindow(panes_[0]->Handle(), area.left, area.top, width, h0, TRUE);
    ShowWindow(panes_[1]->Handle(), h1 > 0 ? SW_SHOW : SW_HIDE);
    MoveWindow(panes_[1]->Handle(), area.left, area.top + h0 + kSplitterBar, width, h1, TRUE);
    RECT bar{area.left, area.top + h0, area.right, area.top + h0 + kSplitterBar};
    InvalidateRect(hwnd_, &bar, TRUE);
}

bool MainFrame::InSplitterBar(POINT p) const {
    const RECT area = ClientArea();
    return rowShown_[1] > 0 && p.y >= area.top + rowShown_[0] &&
           p.y < area.top + rowShown_[0] + kSplitterBar;
}

void MainFrame::ShowNormalLayout() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    rowIdeal_[0] = r.bottom - r.top;
    rowIdeal_[1] = 0;
    ApplyRowHeights();
}

void MainFrame::ShowExtendedLayout() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const int h = r.bottom - r.top;
    rowIdeal_[0] = h / 2;
    rowIdeal_[1] = h / 2;
    ApplyRowHeights();
}

void MainFrame::ShowLayout(bool extended) {
    CheckRadioButton(bar_.Handle(), IDC_NORMAL, IDC_EXTENDED, extended ? IDC_EXTENDED : IDC_NORMAL);
    CheckMenuRadioItem(menu_, IDC_NORMAL, IDC_EXTENDED, extended ? IDC_EXTENDED : IDC_NORMAL,
                       MF_BYCOMMAND);
    if (extended)
        ShowExtendedLayout();
    else
        ShowNormalLayout();
}

void MainFrame::NextPane(int delta) {
    int current = -1;
    HWND focus = GetFocus();
    for (int i = 0; i < 2; ++i)
        if (panes_[i] && focus == panes_[i]->Handle())
            current = i;
    const int target = current < 0 ? 0 : (current + delta + 2) % 2;
    if (panes_[target] && rowShown_[target] > 0)
        SetFocus(panes_[target]->Handle());
}

void MainFrame::FocusActiveList() {
    const int row = rowShown_[activeView_] > 0 ? activeView_ : 0;
    if (panes_[row] && panes_[row]->Handle())
        SetFocus(panes_[row]->Handle());
}

// ---- DesktopUi ------------------------------------------------------------

void MainFrame::Show(const std::string& text) {
    Door::Show(hwnd_, msg::WithKoreanLine(text));
}

void MainFrame::Inform(const std::string& text) {
    Door::Inform(hwnd_, text);
}

bool MainFrame::Ask(const std::string& question) {
    return Door::Ask(hwnd_, question);
}

std::optional<std::string> MainFrame::ChooseOpenFile(const FileDialogRequest& request) {
    return Door::OpenFile(hwnd_, request);
}

std::optional<std::string> MainFrame::ChooseSaveFile(const FileDialogRequest& request) {
    return Door::SaveFile(hwnd_, request);
}

bool MainFrame::RunStartDialog(StartDialogModel& model) {
    return win::RunStartDialog(hwnd_, model);
}

bool MainFrame::RunFileSelectionDialog(SelectFilesModel& model) {
    return win::RunFileSelectionDialog(hwnd_, model);
}

bool MainFrame::RunResultWritingDialog(CResultWriting& model) {
    return win::RunResultWritingDialog(hwnd_, model);
}

bool MainFrame::RunPrintSelectionDialog(CPrintSelection& model) {
    return win::RunPrintSelectionDialog(hwnd_, model);
}

bool MainFrame::FindPrinter() {
    return Printing::Find();
}

void MainFrame::PrintReport(const ReportLayout& layout, bool preview) {
    Printing::Print(hwnd_, layout, preview);
}

void MainFrame::PrintSetup() {
    Printing::Setup(hwnd_);
}

void MainFrame::SetTitle(const std::string& title) {
    SetWindowTextW(hwnd_, Wide(title).c_str());
}

void MainFrame::ApplyCommandStates(const CommandStates& states) {
    // The 검사 slot carries 32771 or 32772 with its caption.
    const int scanItem = states.ScanItemId();
    const int other = scanItem == ID_SCAN_START ? ID_SCAN_STOP : ID_SCAN_START;
    if (GetMenuState(menu_, UINT(other), MF_BYCOMMAND) != UINT(-1)) {
        const std::string caption =
            scanItem == ID_SCAN_STOP ? kScanStopCaption : MainMenu()[1].items.front().caption;
        ModifyMenuW(menu_, UINT(other), MF_BYCOMMAND | MF_STRING, UINT_PTR(scanItem),
                    Wide(caption).c_str());
    }
    for (const auto& [id, enabled] : states.Menu()) {
        const int item = id == ID_SCAN_START ? scanItem : id;
        EnableMenuItem(menu_, UINT(item), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
    for (const auto& [id, enabled] : states.Buttons())
        if (HWND b = bar_.Control(id))
            EnableWindow(b, enabled);
    if (hwnd_)
        DrawMenuBar(hwnd_);
}

void MainFrame::CloseWindow() {
    if (hwnd_)
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

bool MainFrame::ExploreFolder(const std::string& path) {
    return Door::Shell("explore", path);
}

bool MainFrame::OpenDocument(const std::string& path) {
    return Door::Shell("open", path);
}

void MainFrame::OpenDropped(HDROP drop) {
    wchar_t path[32768];
    const bool got = DragQueryFileW(drop, 0, path, 32768) > 0;
    DragFinish(drop);
    if (!got)
        return;
    SetForegroundWindow(hwnd_);
    flows_->OpenGivenFile(Narrow(path));
}

} // namespace ostravion::win
