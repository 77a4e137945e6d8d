// Draws the user guide's pictures of the Windows program from the program
// itself: the real main window over the machine's ports, its real dialogs,
// message boxes and print previews, each taken from the screen as it shows
// into a 24-bit BMP file. Nothing is scripted behind the door: every dialog
// and box runs as a user meets it, and a thread timer that the dialogs' own
// message loops dispatch finds each one once it is up, takes its picture
// and fills or closes it with window messages.
//
//   ostravion-guide-pictures.exe WORK_FOLDER OUT_FOLDER SCAN_FOLDER
//
// WORK_FOLDER holds KEYLIST.DAT, vxa.spl and CheckOut with the per-PC files
// of a few PCs, the total audit.tls and its written result audit.rst;
// SCAN_FOLDER is walked as drive C: by the inspection the tool runs there.
// The log OUT_FOLDER\win-pictures.log names every picture and every fault;
// its last line is "done" when every picture was drawn (the exit status is
// then 0), as a virtual Wine desktop may not hand the status on.
#include "desktop/ResourceTable.h"
#include "doc/ResultWriting.h"
#include "views/PrintSelection.h"
#include "win/Door.h"
#include "win/ScreenPicture.h"
#include "win/WinApp.h"
#include "win/WinText.h"
#include "win/report/GdiPrinting.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ostravion::win {
namespace {

std::wstring g_out;
FILE* g_log = nullptr;
int g_faults = 0;
HWND g_main = nullptr;

void Log(const std::string& line) {
    if (g_log) {
        std::fprintf(g_log, "%s\r\n", line.c_str());
        std::fflush(g_log);
    }
}

void Fault(const std::string& line) {
    ++g_faults;
    Log("FAULT " + line);
}

void Pump(int ms) {
    PumpMessagesUntil([] { return false; }, ms);
}

// The window as the screen shows it, repainted first, into OUT\NAME.bmp;
// with `also` (a menu pulled down from it), the rectangle holding both.
void Capture(HWND w, const char* name, HWND also = nullptr) {
    RedrawWindow(w, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(300);
    RECT r;
    GetWindowRect(w, &r);
    if (RECT other; also && GetWindowRect(also, &other))
        UnionRect(&r, &r, &other);
    const std::wstring path = g_out + L"\\" + Wide(name) + L".bmp";
    if (r.right <= r.left || r.bottom <= r.top)
        Fault(std::string(name) + ": the window has no size");
    else if (SaveScreenPicture(r, path))
        Log(std::string(name) + ".bmp " + std::to_string(r.right - r.left) + "x" +
            std::to_string(r.bottom - r.top));
    else
        Fault(std::string(name) + ".bmp could not be written");
}

// ---- the windows that come up ---------------------------------------------

struct Expected {
    std::string what;
    // A control the window must have to be the one expected (0: any window).
    int control;
    std::function<void(HWND)> action;
};
std::deque<Expected> g_expected;
bool g_acting = false;
HWND g_unexpected = nullptr;
DWORD g_unexpectedSince = 0;

// The window in front of the program's modal chain: an enabled, visible
// dialog, message box, print preview or pulled-down menu of this thread.
HWND FrontPopup() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            if (w == g_main || !IsWindowVisible(w) || !IsWindowEnabled(w))
                return TRUE;
            char cls[64] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (std::string(cls) == "#32770" || std::string(cls) == "#32768" ||
                std::string(cls) == gdireport::kPreviewClass) {
                *reinterpret_cast<HWND*>(lp) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The text control of a message box.
constexpr int kBoxText = 0xFFFF;

std::string TextOf(HWND w) {
    wchar_t t[512] = {};
    GetWindowTextW(w, t, 512);
    std::string text = Narrow(t);
    // A message box's text is its static control 0xFFFF.
    if (HWND body = GetDlgItem(w, kBoxText)) {
        GetWindowTextW(body, t, 512);
        text += ": " + Narrow(t);
    }
    return text;
}

// Every few milliseconds, in whichever message loop runs: the next expected
// window gets its action once it is up; a window nobody expected is closed
// after a few seconds and counted as a fault, so that nothing waits forever.
void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
    if (g_acting)
        return;
    HWND front = FrontPopup();
    if (!front) {
        g_unexpected = nullptr;
        return;
    }
    if (!g_expected.empty()) {
        Expected next = std::move(g_expected.front());
        g_expected.pop_front();
        g_acting = true;
        Pump(200); // the dialog finishes drawing
        if (next.control != 0 && !GetDlgItem(front, next.control)) {
            // Another window came up in its place: the flow has changed.
            Fault("expected " + next.what + ", but this came up: " + TextOf(front));
            PostMessageW(front, WM_COMMAND, IDCANCEL, 0);
            PostMessageW(front, WM_CLOSE, 0, 0);
            g_expected.clear();
        } else {
            Log("up: " + next.what);
            next.action(front);
        }
        g_acting = false;
        g_unexpected = nullptr;
        return;
    }
    if (front != g_unexpected) {
        g_unexpected = front;
        g_unexpectedSince = GetTickCount();
    } else if (GetTickCount() - g_unexpectedSince > 4000) {
        Fault("a window nobody expected was closed: " + TextOf(front));
        PostMessageW(front, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(front, WM_CLOSE, 0, 0);
        g_unexpected = nullptr;
    }
}

void Expect(const std::string& what, int control, std::function<void(HWND)> action) {
    g_expected.push_back({what, control, std::move(action)});
}

// After a command: every window it should have brought up came up.
void CheckAllCameUp(const char* command) {
    PumpMessagesUntil([] { return g_expected.empty(); }, 5000);
    for (const Expected& e : g_expected)
        Fault(std::string(command) + ": did not come up: " + e.what);
    g_expected.clear();
}

// ---- controls -----------------------------------------------------------

void SetText(HWND dialog, int id, const wchar_t* text) {
    SetDlgItemTextW(dialog, id, text);
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A left click in the middle of a list cell, as a person's click makes it.
void ClickCell(HWND list, int row, int column) {
    RECT r{};
    ListView_GetSubItemRect(list, row, column, column == 0 ? LVIR_LABEL : LVIR_BOUNDS, &r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}

// A key pressed in a control of a dialog, through the dialog manager.
void Key(HWND w, WPARAM key) {
    HWND dialog = GetAncestor(w, GA_ROOT);
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        MSG m{w, message, key, 0, GetTickCount(), {}};
        if (!IsDialogMessageW(dialog, &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    Pump(50);
}

std::wstring CellText(HWND list, int row, int column) {
    wchar_t buffer[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

// ---- the sessions -------------------------------------------------------

// The machine's ports with a fixed PC and clock in place of this one's, so
// that the pictures show the same sample facts from every build machine.
class GuidePlatform final : public NativePlatform {
public:
    GuidePlatform() : real_(MakeNativePlatform()) {}
    TextCodec& Codec() override { return real_->Codec(); }
    FileSystem& Files() override { return real_->Files(); }
    SystemInfo& System() override { return system_; }
    Clock& LocalClock() override { return clock_; }
    VersionStrings& Versions() override { return real_->Versions(); }
    FileSearch& Search() override { return real_->Search(); }
    Drives& DriveList() override { return real_->DriveList(); }
    AppPaths& Apps() override { return real_->Apps(); }
    bool ConfigureScan(const ScanSetup& setup, std::string& error) override {
        return real_->ConfigureScan(setup, error);
    }
    const FileDates* Dates() override { return real_->Dates(); }
    ThreadControl* Threads() override { return real_->Threads(); }

private:
    struct FixedSystem final : SystemInfo {
        std::string ComputerName() const override { return "PC-04"; }
        std::string UserName() const override { return "jhpark"; }
        ProcessorFacts Processor() const override { return {0, 6, 0x0806}; }
        OsVersionFacts OsVersion() const override {
            OsVersionFacts os;
            os.extendedAvailable = os.plainAvailable = true;
            os.platform = 2;
            os.major = 10;
            os.productType = 1;
            return os;
        }
    } system_;
    struct FixedClock final : Clock {
        LocalTime Now() const override { return {2026, 3, 5, 9, 30, 0}; }
    } clock_;
    std::unique_ptr<NativePlatform> real_;
};

// The main window at a size that shows its columns, at the desktop's corner.
void PlaceMain(HWND main) {
    SetWindowPos(main, HWND_TOP, 0, 0, 1024, 700, SWP_SHOWWINDOW);
    SetForegroundWindow(main);
    Pump(300);
}

std::unique_ptr<WinApp> Start(NativePlatform& platform, const DesktopCommandLine& line) {
    auto app = std::make_unique<WinApp>(platform);
    if (!app->InitInstance(GetModuleHandleW(nullptr), line, SW_SHOWNORMAL)) {
        Fault("the main window did not start");
        return nullptr;
    }
    g_main = app->Frame()->Handle();
    PlaceMain(g_main);
    return app;
}

void Close(std::unique_ptr<WinApp>& app) {
    app.reset();
    g_main = nullptr;
    Pump(100);
}

// The empty window, an inspection of the scan folder from the start dialog
// to the question at its end, and the file selection of the consolidation.
void Inspection(const std::string& scanFolder) {
    auto platform = std::make_unique<GuidePlatform>();
    DesktopCommandLine line;
    line.splash = false;
    line.driveMap = {"C=" + scanFolder};
    auto app = Start(*platform, line);
    if (!app)
        return;
    MainFrame& frame = *app->Frame();
    Capture(g_main, "win-main-empty");

    // The scan's work reaches the window through runPending. The first time
    // it comes with the progress bar past its start, the work waits while
    // the picture is taken: the scan thread waits for that work (or has
    // ended and waits for nothing), so the window still shows the scan.
    bool progressShot = false, holding = false;
    const std::function<void()> run = frame.runPending;
    frame.runPending = [&] {
        if (holding)
            return;
        StatusProgress* progress = frame.Status().Progress();
        if (!progressShot && progress && progress->Position() > 0) {
            holding = true;
            progress->SetPos(progress->Position());
            Capture(g_main, "win-scan-progress");
            progressShot = true;
            holding = false;
        }
        run();
    };

    Expect("the start dialog", IDC_GROUP, [](HWND d) {
        SetText(d, IDC_GROUP, L"총무부");
        SetText(d, IDC_RESULT_NAME, L"PC-04");
        Capture(d, "win-start-dialog");
        Click(d, IDOK);
    });
    Expect("the question at the end of the scan", kBoxText, [](HWND box) {
        Capture(box, "win-scan-end");
        // No: the window stays with what the scan found.
        PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    SendMessageW(frame.Bar().Control(IDC_START), BM_CLICK, 0, 0);
    PumpMessagesUntil([&] { return g_expected.empty() && !frame.Flows().CommandEnabled(IDC_STOP); },
                      60000);
    CheckAllCameUp("inspection");
    if (!progressShot)
        Fault("the scan's progress was not seen");
    frame.runPending = run;
    Pump(300);
    Capture(g_main, "win-main-after-scan");

    Expect("the file selection", IDC_FILE_LIST, [](HWND d) {
        Click(d, IDC_SELECT_ALL);
        SetText(d, IDC_TOTAL_NAME, L"audit");
        Capture(d, "win-select-files");
        Click(d, IDCANCEL);
    });
    SendMessageW(frame.Bar().Control(IDC_CONSOLIDATE), BM_CLICK, 0, 0);
    CheckAllCameUp("consolidation");
    Close(app);
}

struct Preview {
    int button;
    const char* name;
};

// The total of the audit in both layouts, its result writing, the print
// selection and the five previews, and the two information boxes.
void Total() {
    auto platform = std::make_unique<GuidePlatform>();
    DesktopCommandLine line;
    line.splash = false;
    line.file = "CheckOut\\audit.tls";
    auto app = Start(*platform, line);
    if (!app)
        return;
    MainFrame& frame = *app->Frame();
    Capture(g_main, "win-total-normal");
    SendMessageW(frame.Bar().Control(IDC_EXTENDED), BM_CLICK, 0, 0);
    Capture(g_main, "win-total-extended");
    SendMessageW(frame.Bar().Control(IDC_NORMAL), BM_CLICK, 0, 0);
    Pump(100);

    // The written result exists: the question whether to go on, then the
    // dialog with a genuine count typed.
    Expect("the question before the result writing", kBoxText,
           [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
    Expect("the result writing", IDC_PROGRAM_LIST, [](HWND d) {
        // The first row with fewer genuine copies than installed ones gets
        // the installed count typed, so that its copies and rate change.
        HWND list = GetDlgItem(d, IDC_PROGRAM_LIST);
        const int rows = ListView_GetItemCount(list);
        int row = 0;
        while (row + 1 < rows &&
               CellText(list, row, kResultGenuine) == CellText(list, row, kResultInstalled))
            ++row;
        const std::wstring installed = CellText(list, row, kResultInstalled);
        ClickCell(list, row, kResultGenuine);
        Pump(100);
        SetWindowTextW(GetDlgItem(list, IDC_IN_PLACE_EDIT), installed.c_str());
        Key(GetDlgItem(list, IDC_IN_PLACE_EDIT), VK_RETURN);
        Capture(d, "win-result-writing");
        // 취소, once this action is over: its question comes up next.
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDCANCEL)));
    });
    // The count typed is not saved: Yes to closing without it.
    Expect("the question before closing without saving", kBoxText,
           [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
    SendMessageW(frame.Bar().Control(IDC_WRITE_RESULT), BM_CLICK, 0, 0);
    CheckAllCameUp("result writing");

    const Preview previews[] = {{kIdPrintByPc, "win-preview-by-pc"},
                                {kIdPrintBySoftware, "win-preview-by-program"},
                                {kIdPrintSheet, "win-preview-confirmation"},
                                {kIdPrintPledge, "win-preview-pledge"},
                                {kIdPrintLedger, "win-preview-ledger"}};
    bool first = true;
    for (const Preview& p : previews) {
        Expect("the print selection", kIdPrintByPc, [p, first](HWND d) {
            Click(d, p.button);
            if (first)
                Capture(d, "win-print-select");
            Click(d, IDOK);
        });
        Expect(p.name, gdireport::kPreviewClose, [p](HWND preview) {
            Pump(500);
            Capture(preview, p.name);
            PostMessageW(preview, WM_COMMAND, gdireport::kPreviewClose, 0);
        });
        SendMessageW(g_main, WM_COMMAND, MAKEWPARAM(ID_FILE_PREVIEW, 0), 0);
        CheckAllCameUp(p.name);
        first = false;
    }

    // Each menu pulled down by its key (Alt and the underlined letter), its
    // first command lit, as the keyboard leaves it.
    for (const auto& [key, name] :
         {std::pair{L'f', "win-menu-file"}, std::pair{L's', "win-menu-scan"},
          std::pair{L'u', "win-menu-consolidate"}, std::pair{L'v', "win-menu-view"},
          std::pair{L'h', "win-menu-help"}}) {
        Expect(name, 0, [name = name](HWND menu) {
            Capture(g_main, name, menu);
            EndMenu();
        });
        PostMessageW(g_main, WM_SYSCOMMAND, SC_KEYMENU, key);
        CheckAllCameUp(name);
        Pump(100);
    }

    for (const auto& [id, name] :
         {std::pair{ID_ABOUT_PRODUCT, "win-about"}, std::pair{ID_ABOUT_ORG, "win-org-info"}}) {
        Expect(name, IDOK, [name = name](HWND d) {
            Capture(d, name);
            PostMessageW(d, WM_COMMAND, IDOK, 0);
        });
        SendMessageW(g_main, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        CheckAllCameUp(name);
    }
    Close(app);
}

} // namespace
} // namespace ostravion::win

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace ostravion::win;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc != 4) {
        MessageBoxW(nullptr, L"ostravion-guide-pictures.exe WORK_FOLDER OUT_FOLDER SCAN_FOLDER",
                    L"Ostravion", MB_OK);
        return 2;
    }
    g_out = argv[2];
    CreateDirectoryW(g_out.c_str(), nullptr);
    g_log = _wfopen((g_out + L"\\win-pictures.log").c_str(), L"wb");
    if (!g_log || !SetCurrentDirectoryW(argv[1])) {
        Fault("the work folder or the picture folder cannot be used");
        return 1;
    }
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX),
                             ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES |
                                 ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    Door::SetScripted(false);
    SetTimer(nullptr, 0, 50, Watch);

    Inspection(Narrow(argv[3]));
    Total();

    Log(g_faults == 0 ? "done" : std::to_string(g_faults) + " faults");
    std::fclose(g_log);
    LocalFree(argv);
    return g_faults == 0 ? 0 : 1;
}
