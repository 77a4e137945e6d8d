// The Windows main window's wiring to the desktop flows (the flows
// themselves are tested without a window): every menu item and button
// reaches its flow, the command states reach the menu and the buttons, the
// layouts, panes, keys, drops and the close box.
#include "WinHarness.h"
#include "win/dialogs/DialogTest.h"

#include "desktop/DesktopTexts.h"
#include "desktop/ResourceTable.h"
#include "desktop/ScreenRules.h"
#include "views/PrintSelection.h"
#include "win/report/GdiPrinting.h"
#include "win/resource.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace ostravion {
namespace {

using test::Harness;
using win::Door;
using win::Narrow;

// What each command's flow shows first: its file dialog, its modal dialog or
// its question, all cancelled or answered No.
struct Wiring {
    int id;
    bool button;          // a command-bar button, else a menu item
    bool needsTotal;      // a document command: a total is opened first
    const wchar_t* first; // the first line of the door's log
};

const Wiring kWiring[] = {
    {ID_FILE_OPEN, false, false, L"open: (cancel)"},
    {ID_FILE_SAVE_AS, false, true, L"save: (cancel)"},
    {ID_FILE_PRINT, false, true, L"dialog: 145 = 2"},
    {ID_FILE_PREVIEW, false, true, L"dialog: 145 = 2"},
    {IDC_PRINT, true, true, L"dialog: 145 = 2"},
    {ID_SCAN_START, false, false, L"dialog: 140 = 2"},
    {IDC_START, true, false, L"dialog: 140 = 2"},
    {ID_CONSOLIDATE, false, false, L"dialog: 141 = 2"},
    {IDC_CONSOLIDATE, true, false, L"dialog: 141 = 2"},
    {ID_WRITE_RESULT, false, true, L"ask: 저장하시겠습니까? = no"},
    {IDC_WRITE_RESULT, true, true, L"ask: 저장하시겠습니까? = no"},
    {ID_ABOUT_ORG, false, false, L"dialog: 100 = 2"},
    {ID_ABOUT_PRODUCT, false, false, L"dialog: 146 = 2"},
};

void OpenTotal(Harness& h) {
    h.dir.Write("CheckOut/total.tls", "x");
    Door::SetNextFileName(Narrow((h.dir.path / "CheckOut" / "total.tls").wstring()));
    h.Command(ID_FILE_OPEN);
    Door::TakeLog();
    h.doc->calls.clear();
}

bool MenuEnabled(Harness& h, int id) {
    const UINT state = GetMenuState(GetMenu(h.Window()), UINT(id), MF_BYCOMMAND);
    return state != UINT(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

bool ButtonEnabled(Harness& h, int id) {
    return IsWindowEnabled(h.Frame().Bar().Control(id));
}

TEST(WinMainFrame, EveryItemAndButtonReachesItsFlow) {
    // One window for all: the commands without a total first; every flow is
    // cancelled at its first question, which leaves the states as they were.
    Harness h;
    ASSERT_TRUE(h.created);
    for (bool withTotal : {false, true}) {
        if (withTotal)
            OpenTotal(h);
        for (const Wiring& w : kWiring) {
            if (w.needsTotal != withTotal)
                continue;
            if (w.button)
                h.Click(w.id);
            else
                h.Command(w.id);
            const auto log = Door::TakeLog();
            ASSERT_FALSE(log.empty()) << w.id;
            EXPECT_EQ(log.front(), Narrow(w.first)) << w.id;
        }
    }
    // Save reaches the document; Exit closes the window.
    OpenTotal(h);
    h.dir.Write("CheckOut/total.rst", "x");
    h.Command(ID_FILE_SAVE);
    EXPECT_EQ(h.doc->calls, std::vector<std::string>{"SaveTotal"});
    // The stop button, and the 검사 item once it carries 32772, end the scan.
    for (bool button : {true, false}) {
        Door::SetNextDialogAction([](HWND dlg) {
            test::SetText(dlg, IDC_GROUP, "ACME");
            test::Click(dlg, IDOK);
        });
        h.Click(IDC_START);
        EXPECT_TRUE(MenuEnabled(h, ID_SCAN_STOP));
        EXPECT_TRUE(ButtonEnabled(h, IDC_STOP));
        h.doc->calls.clear();
        if (button)
            h.Click(IDC_STOP);
        else
            h.Command(ID_SCAN_STOP);
        EXPECT_EQ(h.doc->calls, std::vector<std::string>{"StopScan"});
        EXPECT_TRUE(MenuEnabled(h, ID_SCAN_START));
    }
    h.Command(ID_APP_EXIT);
    EXPECT_TRUE(test::PumpUntil([&] { return !IsWindow(h.Window()); }));
}

TEST(WinMainFrame, CommandStatesTitlesAndLayoutsReachTheWindow) {
    Harness h;
    EXPECT_EQ(h.Title(), desktop::kInitialTitle);
    for (int id : kDocumentMenuItems)
        EXPECT_FALSE(MenuEnabled(h, id)) << id;
    EXPECT_TRUE(ButtonEnabled(h, IDC_START));
    EXPECT_FALSE(ButtonEnabled(h, IDC_STOP));
    EXPECT_FALSE(ButtonEnabled(h, IDC_WRITE_RESULT));
    EXPECT_EQ(IsDlgButtonChecked(h.Frame().Bar().Handle(), IDC_NORMAL), BST_CHECKED);
    EXPECT_FALSE(IsWindowVisible(h.Frame().Pane(1).Handle()));

    OpenTotal(h);
    EXPECT_EQ(h.Title(), "OstravionV3.1-total.tls");
    for (int id : kDocumentMenuItems)
        EXPECT_TRUE(MenuEnabled(h, id)) << id;
    EXPECT_TRUE(ButtonEnabled(h, IDC_WRITE_RESULT));
    EXPECT_TRUE(ButtonEnabled(h, IDC_PRINT));

    // The radios switch the arrangement: both views, one above the other.
    h.Click(IDC_EXTENDED);
    EXPECT_TRUE(IsWindowVisible(h.Frame().Pane(1).Handle()));
    RECT upper{}, lower{};
    GetWindowRect(h.Frame().Pane(0).Handle(), &upper);
    GetWindowRect(h.Frame().Pane(1).Handle(), &lower);
    EXPECT_LE(upper.bottom, lower.top);
    EXPECT_EQ(h.Frame().RowIdealHeight(0), h.Frame().RowIdealHeight(1));
    // F6 and Shift+F6 move between the panes.
    SetFocus(h.Frame().Pane(0).Handle());
    h.Command(ID_NEXT_PANE);
    EXPECT_EQ(GetFocus(), h.Frame().Pane(1).Handle());
    EXPECT_EQ(h.Frame().ActiveView(), 1);
    h.Command(ID_PREV_PANE);
    EXPECT_EQ(GetFocus(), h.Frame().Pane(0).Handle());
    h.Click(IDC_NORMAL);
    EXPECT_FALSE(IsWindowVisible(h.Frame().Pane(1).Handle()));
    // 보기's items do the same and show the choice as the radios do.
    const auto checked = [&](int id) {
        return (GetMenuState(GetMenu(h.Window()), UINT(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    EXPECT_TRUE(checked(IDC_NORMAL));
    h.Command(IDC_EXTENDED);
    EXPECT_TRUE(IsWindowVisible(h.Frame().Pane(1).Handle()));
    EXPECT_TRUE(checked(IDC_EXTENDED));
    EXPECT_FALSE(checked(IDC_NORMAL));
    EXPECT_EQ(IsDlgButtonChecked(h.Frame().Bar().Handle(), IDC_EXTENDED), BST_CHECKED);
    h.Command(IDC_NORMAL);
    EXPECT_FALSE(IsWindowVisible(h.Frame().Pane(1).Handle()));
    EXPECT_TRUE(checked(IDC_NORMAL));

    // A menu prompt shows in the message pane while its item is highlighted.
    SendMessageW(h.Window(), WM_MENUSELECT, MAKEWPARAM(ID_FILE_OPEN, MF_HILITE),
                 reinterpret_cast<LPARAM>(GetMenu(h.Window())));
    EXPECT_EQ(h.Frame().Status().Message(), Narrow(L"기존 문서를 엽니다"));
    SendMessageW(h.Window(), WM_EXITMENULOOP, 0, 0);
    EXPECT_EQ(h.Frame().Status().Message(), desktop::kIdleMessage);
}

TEST(WinMainFrame, TheCommandBarsPicturesLogoAndLink) {
    Harness h;
    win::CommandBar& bar = h.Frame().Bar();
    // Each button shows the picture of its state.
    EXPECT_EQ(bar.PictureShown(IDC_WRITE_RESULT), IDB_WRITE_DISABLED);
    EXPECT_EQ(bar.PictureShown(IDC_CONSOLIDATE), IDB_CONSOLIDATE_UP);
    // The logo starts with picture A at the first tick, then alternates.
    EXPECT_FALSE(bar.NextLogoIsB());
    bar.TimerTick();
    EXPECT_TRUE(bar.NextLogoIsB());
    bar.TimerTick();
    EXPECT_FALSE(bar.NextLogoIsB());
    // The link area's bounds are strict; a click inside opens the home page.
    RECT r{};
    GetClientRect(bar.Handle(), &r);
    EXPECT_TRUE(bar.InLinkArea({r.right - 3, 5}));
    for (POINT outside : {POINT{r.right - 2, 5}, POINT{r.right - 230, 30}, POINT{r.right - 100, 4}})
        EXPECT_FALSE(bar.InLinkArea(outside)) << outside.x << "," << outside.y;
    Door::TakeLog();
    SendMessageW(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right - 3, 5));
    SendMessageW(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right - 100, 4));
    EXPECT_EQ(Door::TakeLog(),
              std::vector<std::string>{std::string("shell: open ") + kHomePageAddress});
    // The radios keep their distance from the bar's right end.
    RECT radio{};
    GetWindowRect(bar.Control(IDC_EXTENDED), &radio);
    MapWindowPoints(nullptr, bar.Handle(), reinterpret_cast<POINT*>(&radio), 2);
    EXPECT_EQ(r.right - radio.left, win::ScaledForScreen(300));
}

// The keys a window receives, for as long as this lives.
struct KeysOf {
    HWND window;
    std::vector<WPARAM> keys;
    explicit KeysOf(HWND w) : window(w) { SetWindowSubclass(w, Record, 1, DWORD_PTR(this)); }
    ~KeysOf() { RemoveWindowSubclass(window, Record, 1); }
    static LRESULT CALLBACK Record(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                   DWORD_PTR self) {
        if (msg == WM_KEYDOWN)
            reinterpret_cast<KeysOf*>(self)->keys.push_back(wp);
        return DefSubclassProc(w, msg, wp, lp);
    }
};

TEST(WinMainFrame, TheActiveListHasTheKeysAfterAMessageBox) {
    Harness h;
    HWND list = h.Frame().Pane(0).Handle();
    SetForegroundWindow(h.Window());
    test::PumpUntil([&] { return GetForegroundWindow() == h.Window(); }, 2000);
    EXPECT_EQ(GetFocus(), list);
    // A real message box over the window, closed with Enter by a timer.
    static HWND owner = nullptr;
    owner = h.Window();
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND box = GetLastActivePopup(owner);
        if (box && box != owner)
            PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    MessageBoxW(h.Window(), L"box", L"Ostravion", MB_OK);
    KillTimer(nullptr, timer);
    test::PumpUntil([&] { return GetActiveWindow() == h.Window(); }, 2000);
    EXPECT_EQ(GetFocus(), list);
    // A key typed now reaches the list.
    KeysOf keys(list);
    INPUT down[2]{};
    down[0].type = down[1].type = INPUT_KEYBOARD;
    down[0].ki.wVk = down[1].ki.wVk = VK_DOWN;
    down[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, down, sizeof(INPUT));
    test::PumpUntil([&] { return !keys.keys.empty(); }, 2000);
    EXPECT_EQ(keys.keys, std::vector<WPARAM>{VK_DOWN});
    // The frame itself given the focus hands it on to the list.
    SetFocus(h.Window());
    EXPECT_EQ(GetFocus(), list);
}

TEST(WinMainFrame, AnElevatedWindowLetsExplorersDropsThrough) {
    std::vector<UINT> allowed;
    const auto elevated = win::MainFrame::processElevated;
    const auto allow = win::MainFrame::allowMessage;
    win::MainFrame::allowMessage = [&](HWND, UINT message) {
        allowed.push_back(message);
        return true;
    };
    for (bool raised : {false, true}) {
        win::MainFrame::processElevated = [raised] { return raised; };
        allowed.clear();
        Harness h;
        const std::vector<UINT> expected =
            raised ? std::vector<UINT>{WM_DROPFILES, WM_COPYDATA, 0x0049} : std::vector<UINT>{};
        EXPECT_EQ(allowed, expected);
    }
    win::MainFrame::processElevated = elevated;
    win::MainFrame::allowMessage = allow;
}

TEST(WinMainFrame, ASmallWindowCoversNoButtonAndKeepsTheLowerList) {
    Harness h;
    SetWindowPos(h.Window(), nullptr, 0, 0, 640, 420, SWP_NOZORDER | SWP_NOMOVE);
    test::Pump();
    win::CommandBar& bar = h.Frame().Bar();
    const auto rectOf = [&](HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, bar.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const desktop::CommandBarPlaces places = bar.Places();
    const RECT logo{places.logo.left, places.logo.top, places.logo.right, places.logo.bottom};
    for (int button : {IDC_START, IDC_STOP, IDC_CONSOLIDATE, IDC_WRITE_RESULT, IDC_PRINT}) {
        RECT b = rectOf(bar.Control(button)), overlap{};
        for (int radio : {IDC_NORMAL, IDC_EXTENDED}) {
            const RECT r = rectOf(bar.Control(radio));
            EXPECT_FALSE(IntersectRect(&overlap, &b, &r)) << button << " " << radio;
        }
        EXPECT_FALSE(places.logoShown && IntersectRect(&overlap, &b, &logo)) << button;
    }
    h.Click(IDC_EXTENDED);
    test::Picture(h.Window(), "main-640x420");
    // Shrunk with 확장 chosen, the lower list keeps its minimum height.
    SetWindowPos(h.Window(), nullptr, 0, 0, 640, 240, SWP_NOZORDER | SWP_NOMOVE);
    test::Pump();
    RECT lower{};
    GetWindowRect(h.Frame().Pane(1).Handle(), &lower);
    EXPECT_TRUE(IsWindowVisible(h.Frame().Pane(1).Handle()));
    EXPECT_EQ(lower.bottom - lower.top, win::MainFrame::kRowMinimum);
}

TEST(WinMainFrame, TheKeysAreThoseOfTheMenu) {
    Harness h;
    ACCEL keys[16];
    const int n = CopyAcceleratorTableW(h.Frame().Accelerators(), keys, 16);
    std::map<int, std::pair<int, int>> byCommand; // command -> (key, flags)
    for (int i = 0; i < n; ++i)
        byCommand[keys[i].cmd] = {keys[i].key, keys[i].fVirt & (FCONTROL | FSHIFT)};
    EXPECT_EQ(byCommand[ID_FILE_OPEN], std::make_pair(int('O'), int(FCONTROL)));
    EXPECT_EQ(byCommand[ID_FILE_SAVE], std::make_pair(int('S'), int(FCONTROL)));
    EXPECT_EQ(byCommand[ID_FILE_SAVE_AS], std::make_pair(int('A'), int(FCONTROL)));
    EXPECT_EQ(byCommand[ID_FILE_PRINT], std::make_pair(int('P'), int(FCONTROL)));
    EXPECT_EQ(byCommand[ID_NEXT_PANE], std::make_pair(int(VK_F6), 0));
    EXPECT_EQ(byCommand[ID_PREV_PANE], std::make_pair(int(VK_F6), int(FSHIFT)));
    // A key whose item is greyed does nothing.
    h.Command(ID_FILE_SAVE_AS);
    EXPECT_TRUE(Door::TakeLog().empty());
}

// 사용 설명서 hands the page to the shell; without one beside the program the
// message names the places looked at, the test program's own folder first.
TEST(WinMainFrame, TheGuideItemOpensTheGuideThroughTheShell) {
    Harness h;
    ASSERT_TRUE(h.created);
    wchar_t program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    const std::string beside =
        Narrow(std::filesystem::path(program).parent_path().wstring()) + "\\" + desktop::kGuidePage;
    h.Command(ID_HELP_GUIDE);
    auto log = Door::TakeLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("show: " + std::string(desktop::kGuideMissing) + "\n" + beside, 0), 0u)
        << log[0];
    const std::string folder = Narrow(h.dir.path.wstring());
    std::ofstream(h.dir.path / win::Wide(desktop::kGuidePage)) << "<html></html>";
    h.Frame().Flows().SetProgramFolder(folder, '\\');
    h.Command(ID_HELP_GUIDE);
    EXPECT_EQ(Door::TakeLog(),
              std::vector<std::string>{"shell: open " + folder + "\\" + desktop::kGuidePage});
}

// 키 리스트 후보 내보내기 is greyed until a total with candidates beside it is
// on show; then it asks for the file to write.
TEST(WinMainFrame, TheCandidatesItemAsksForItsFile) {
    Harness h;
    ASSERT_TRUE(h.created);
    EXPECT_FALSE(MenuEnabled(h, ID_EXPORT_CANDIDATES));
    h.dir.Write("CheckOut/total.cand", "-\t-\t-\tTool\t1.0\tT.EXE\t10\t-\tCo\t-\tC:\\\t2\t\r\n");
    OpenTotal(h);
    EXPECT_TRUE(MenuEnabled(h, ID_EXPORT_CANDIDATES));
    h.Command(ID_EXPORT_CANDIDATES);
    EXPECT_EQ(Door::TakeLog(), std::vector<std::string>{"save: (cancel)"});
}

// Enter on a row of the scan layout asks for its folder, as a double click does.
TEST(WinMainFrame, EnterOnAScanRowAsksForItsFolder) {
    Harness h;
    h.app->Util().SetLayoutFlag(kScanLayout);
    CResultList& list = h.Frame().Pane(0).List();
    list.RemoveColumns();
    list.BuildColumns();
    FoundProgram p;
    p.Origin = "1";
    p.ProgramName = "Notepad";
    p.Company = "Acme";
    p.Class.assign(1, '1');
    p.Folder = "C:\\windows\\";
    list.AddFoundProgram(p);
    std::string asked;
    h.Frame().Pane(0).openFolder = [&](const std::string& folder) { asked = folder; };
    h.Frame().Pane(0).Flush();
    ASSERT_EQ(h.Frame().Pane(0).ShownRows(), 1);
    HWND view = h.Frame().Pane(0).Handle();
    SetFocus(view);
    ListView_SetItemState(view, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    SendMessageW(view, WM_KEYDOWN, VK_RETURN, 0);
    test::Pump();
    EXPECT_EQ(asked, "C:\\windows\\");
}

TEST(WinMainFrame, PrintSaysThereIsNoPrinterAndThePreviewPagesAndCloses) {
    Harness h;
    OpenTotal(h);
    const auto chooseLedger = [](HWND dlg) {
        test::Click(dlg, kIdPrintLedger);
        test::Click(dlg, IDOK);
    };
    // A new Wine prefix has no printer.
    Door::SetNextDialogAction(chooseLedger);
    h.Command(ID_FILE_PRINT);
    auto log = Door::TakeLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1], std::string("show: ") + desktop::kNoPrinter);

    Door::SetNextDialogAction(chooseLedger);
    LRESULT shown = 0;
    bool disabled = false;
    Door::SetNextDialogAction([&](HWND preview) {
        ASSERT_NE(preview, nullptr);
        disabled = !IsWindowEnabled(h.Window());
        SendMessageW(preview, WM_COMMAND, gdireport::kPreviewTwoPages, 0);
        shown = SendMessageW(preview, gdireport::kPreviewState, 0, 0);
        SendMessageW(preview, WM_COMMAND, gdireport::kPreviewNext, 0);
        PostMessageW(preview, WM_COMMAND, gdireport::kPreviewClose, 0);
    });
    h.Command(ID_FILE_PREVIEW);
    log = Door::TakeLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].rfind("preview: ", 0), 0u) << log[1];
    EXPECT_TRUE(disabled);
    EXPECT_EQ(HIWORD(shown) / 16, 2); // two pages side by side
    EXPECT_TRUE(IsWindowEnabled(h.Window()));
    EXPECT_EQ(h.app->Util().GetWorkState(), kPrinted);
}

TEST(WinMainFrame, DropsAndTheCloseBoxGoThroughTheFlows) {
    Harness h;
    EXPECT_TRUE(GetWindowLongW(h.Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    h.dir.Write("CheckOut/dropped.tls", "x");
    const std::wstring path = (h.dir.path / "CheckOut" / "dropped.tls").wstring();
    // A drop as the shell makes it: a DROPFILES block with the wide name.
    const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(path.begin(), path.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(mem);
    SendMessageW(h.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
    EXPECT_EQ(h.Title(), "OstravionV3.1-dropped.tls");

    h.Frame().Flows().WorkEdited();
    Door::SetNextAnswer(false);
    Door::TakeLog();
    SendMessageW(h.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(test::PumpUntil([&] { return !IsWindow(h.Window()); }));
    const auto log = Door::TakeLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), Narrow(L"ask: 저장하시겠습니까? = no"));
}

} // namespace
} // namespace ostravion
