// A whole audit by the Windows window alone, every step through its menus,
// buttons and real dialogs: two inspections of folders given as drives,
// consolidation, result writing with a typed genuine count, save, and the
// total opened again, where a save that cannot write keeps the work. Its
// files equal those the command-line program writes for the same input, the
// scan-time line aside.
#include "WinHarness.h"

#include "win/dialogs/DialogTest.h"
#include <commctrl.h>

#include "desktop/ResourceTable.h"
#include "doc/ResultWriting.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace ostravion {
namespace {

using test::Harness;
using test::WorkFolder;
using win::Door;
using win::Narrow;
namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The file without its scan-time line (the eighth).
std::string WithoutScanTime(const std::string& file) {
    std::string out;
    std::istringstream in(file);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n)
        if (n != 8)
            out += line + "\n";
    return out;
}

void MakeTree(const fs::path& root,
              const std::vector<std::pair<std::string, std::uintmax_t>>& files) {
    for (const auto& [name, size] : files) {
        fs::create_directories((root / name).parent_path());
        std::ofstream(root / name, std::ios::binary).put('x');
        fs::resize_file(root / name, size);
    }
}

// Runs the command-line program in `folder` with the arguments (UTF-8); its
// exit status.
DWORD RunCli(const fs::path& folder, const std::wstring& arguments) {
    std::wstring line = L"\"" + fs::path(OSTRAVION_CLI_EXE).make_preferred().wstring() +
                        L"\" -C \"" + folder.wstring() + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return DWORD(-1);
    WaitForSingleObject(pi.hProcess, 120000);
    DWORD status = DWORD(-1);
    GetExitCodeProcess(pi.hProcess, &status);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return status;
}

// One inspection by the window: the start dialog filled with the group, the
// scan of the folder given as drive C:, No to the closing question (the
// window stays, with its list), then 종료.
void Inspect(WorkFolder& dir, const fs::path& tree, const std::string& group) {
    DesktopCommandLine line;
    line.driveMap = {"C=" + tree.string()};
    Harness h(dir, line);
    ASSERT_TRUE(h.created);
    Door::SetNextDialogAction([group](HWND dlg) {
        test::SetText(dlg, IDC_GROUP, group);
        test::Click(dlg, IDOK);
    });
    h.Click(IDC_START);
    EXPECT_TRUE(test::PumpUntil(
        [&] {
            const auto log = Door::TakeLog();
            return std::any_of(log.begin(), log.end(),
                               [](const std::string& l) { return l.rfind("ask: ", 0) == 0; });
        },
        120000));
    EXPECT_GT(h.Frame().Pane(0).ShownRows(), 0);
    test::Picture(h.Window(), ("main-scan-" + group).c_str());
    h.Command(ID_APP_EXIT);
    EXPECT_TRUE(test::PumpUntil([&] { return !IsWindow(h.Window()); }));
}

TEST(WinWholeAudit, TheWindowWritesWhatTheCommandLineWrites) {
    WorkFolder dir("audit");
    const fs::path samples = fs::path(OSTRAVION_SOURCE_DIR) / "samples";
    fs::copy_file(samples / "KEYLIST.DAT", dir.path / "KEYLIST.DAT");
    MakeTree(dir.path / "tree1", {{"Office/WINWORD.EXE", 12345678}, {"한글/HWP.EXE", 2345678}});
    MakeTree(dir.path / "tree2",
             {{"Office/WINWORD.EXE", 12345678}, {"Tools/7ZFM.EXE", 477696}, {"Tools/README", 10}});

    Inspect(dir, dir.path / "tree1", "ACME");
    Inspect(dir, dir.path / "tree2", "BETA");

    std::string program;
    {
        Harness h(dir, {});
        // Every per-PC file ticked, the total named "Total" (Windows writes
        // the name in lower case).
        Door::SetNextDialogAction([](HWND dlg) {
            test::Click(dlg, IDC_SELECT_ALL);
            test::SetText(dlg, IDC_TOTAL_NAME, "Total");
            test::Click(dlg, IDOK);
        });
        h.Click(IDC_CONSOLIDATE);
        EXPECT_EQ(h.Title(), "OstravionV3.1-total.tls*");
        test::Picture(h.Window(), "main-total");
        h.Click(IDC_EXTENDED);
        test::Picture(h.Window(), "main-total-extended");
        h.Click(IDC_NORMAL);

        // Saved first, then the result: the people and one genuine count typed.
        Door::SetNextAnswer(true);
        Door::SetNextDialogAction([&](HWND dlg) {
            HWND list = GetDlgItem(dlg, IDC_PROGRAM_LIST);
            program = test::CellText(list, 0, kResultProgram);
            test::ClickCell(list, 0, kResultGenuine);
            SetWindowTextW(GetDlgItem(list, IDC_IN_PLACE_EDIT), L"1");
            test::Key(GetDlgItem(list, IDC_IN_PLACE_EDIT), VK_RETURN);
            test::SetText(dlg, IDC_CHECK_DEPARTMENT, Narrow(L"감사팀"));
            test::SetText(dlg, IDC_CHECKER, Narrow(L"김감사"));
            test::SetText(dlg, IDC_CONFIRM_DEPARTMENT, Narrow(L"총무팀"));
            test::SetText(dlg, IDC_CONFIRMER, Narrow(L"이확인"));
            test::Picture(dlg, "result-write-filled");
            test::Click(dlg, IDOK);
        });
        h.Click(IDC_WRITE_RESULT);
        h.Command(ID_FILE_SAVE);
        EXPECT_EQ(h.Title(), "OstravionV3.1-total.tls");
    }
    ASSERT_FALSE(program.empty());

    // Opened again: the total's rows are back.
    {
        Harness h(dir, {});
        Door::SetNextFileName(Narrow((dir.path / "CheckOut" / "total.tls").wstring()));
        h.Command(ID_FILE_OPEN);
        EXPECT_EQ(h.Title(), "OstravionV3.1-total.tls");
        CResultList& list = h.Frame().Pane(0).List();
        ASSERT_GT(list.RowCount(), 0);
        // A box toggled by Space on the focused row, then by a click on the
        // box itself, each marking the total edited.
        HWND view = h.Frame().Pane(0).Handle();
        const int before = list.GetCheck(0);
        EXPECT_TRUE(test::PumpUntil([&] { return h.Frame().Pane(0).ShownRows() > 0; }));
        SetFocus(view);
        ListView_SetItemState(view, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        ASSERT_EQ(ListView_GetNextItem(view, -1, LVNI_FOCUSED), 0);
        SendMessageW(view, WM_KEYDOWN, VK_SPACE, 0);
        SendMessageW(view, WM_KEYUP, VK_SPACE, 0);
        EXPECT_EQ(list.GetCheck(0), 1 - before);
        EXPECT_EQ(h.Title(), "OstravionV3.1-total.tls*");
        RECT box{};
        ListView_GetItemRect(view, 0, &box, LVIR_BOUNDS);
        const LPARAM at =
            MAKELPARAM(box.left + GetSystemMetrics(SM_CXSMICON) / 2, (box.top + box.bottom) / 2);
        SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(view, WM_LBUTTONUP, 0, at);
        test::Pump();
        EXPECT_EQ(list.GetCheck(0), before);

        // A save that cannot write (another program holds the total open
        // without letting it be replaced): one message, the edited mark
        // kept, and the close box with Yes to saving keeps the window.
        const HANDLE held = CreateFileW((dir.path / "CheckOut" / "total.tls").c_str(), GENERIC_READ,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        Door::TakeLog();
        h.Command(ID_FILE_SAVE);
        EXPECT_EQ(Door::TakeLog(),
                  std::vector<std::string>{"show: Write File Open Error...!!\n"
                                           "\xC6\xC4\xC0\xCF\xC0\xBB \xBE\xB5 \xBC\xF6 "
                                           "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9."});
        EXPECT_EQ(h.Title(), "OstravionV3.1-total.tls*");
        Door::SetNextAnswer(true);
        SendMessageW(h.Window(), WM_CLOSE, 0, 0);
        test::Pump();
        EXPECT_TRUE(IsWindow(h.Window()));
        CloseHandle(held);
    }

    // The same audit by the command line, in a folder of its own.
    const fs::path cli = dir.path / "cli";
    fs::create_directories(cli);
    fs::copy_file(samples / "KEYLIST.DAT", cli / "KEYLIST.DAT");
    const std::wstring trees = dir.path.wstring();
    EXPECT_EQ(RunCli(cli, L"scan --group ACME --drive \"C=" + trees + L"\\tree1\""), 0u);
    EXPECT_EQ(RunCli(cli, L"scan --group BETA --drive \"C=" + trees + L"\\tree2\""), 0u);
    EXPECT_EQ(RunCli(cli, L"consolidate --name Total"), 0u);
    {
        std::ofstream csv(cli / "genuine.csv", std::ios::binary);
        wchar_t utf16[256] = {};
        MultiByteToWideChar(949, 0, program.c_str(), -1, utf16, 256);
        char utf8[512] = {};
        WideCharToMultiByte(CP_UTF8, 0, utf16, -1, utf8, 512, nullptr, nullptr);
        csv << utf8 << ",1\r\n";
    }
    EXPECT_EQ(RunCli(cli, L"result --name Total --dept 감사팀 --checker 김감사 "
                          L"--confirm-dept 총무팀 --confirmer 이확인 --genuine \"" +
                              (cli / "genuine.csv").wstring() + L"\""),
              0u);

    std::vector<fs::path> names;
    for (const auto& e : fs::directory_iterator(dir.path / "CheckOut"))
        if (e.path().extension() != ".old")
            names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    // Two per-PC files, the total and the written result, and the key-list
    // candidates beside each per-PC file and the total.
    ASSERT_EQ(names.size(), 7u);
    for (const fs::path& name : names) {
        const std::string window = Read(dir.path / "CheckOut" / name);
        const std::string line = Read(cli / "CheckOut" / name);
        if (name.extension() == ".ipt")
            EXPECT_EQ(WithoutScanTime(window), WithoutScanTime(line)) << name;
        else
            EXPECT_EQ(window, line) << name;
    }
}

} // namespace
} // namespace ostravion
