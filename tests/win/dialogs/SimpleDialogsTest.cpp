// The start, file-selection and print-selection dialogs, filled and
// confirmed with window messages.
// The fakes come before <windows.h>, whose macros rename SetCurrentDirectory.
#include "Fakes.h"

#include "DialogTest.h"
#include "desktop/ResourceTable.h"
#include "doc/FileSelection.h"
#include "doc/Inspection.h"
#include "util/AuditUtil.h"
#include "views/PrintSelection.h"
#include "win/dialogs/Dialogs.h"
#include "win/resource.h"

#include <tuple>

using namespace ostravion;
using namespace ostravion::test;
using win::Door;

namespace {

struct StartDialogTest : ScriptedDoor {
    MemoryFileSystem fs;
    RecordingMessages messages;
    StartDialogModel model{fs, messages};
};

TEST_F(StartDialogTest, ShowsTheFactsAndHandsBackWhatWasTyped) {
    model.model = "Intel Pentium Pro or Pentium II Revision 806";
    model.computer = "PC-7";
    model.resultName = "PC-7";
    model.user = "kim";
    Door::SetNextDialogAction([](HWND dlg) {
        Picture(dlg, "start");
        EXPECT_EQ(Text(dlg), TXT_USER_CAPTION);
        EXPECT_EQ(Text(dlg, IDC_MODEL), "Intel Pentium Pro or Pentium II Revision 806");
        EXPECT_EQ(Text(dlg, IDC_COMPUTER), "PC-7");
        EXPECT_EQ(Text(dlg, IDC_USER), "kim");
        for (int id : {IDC_MODEL, IDC_COMPUTER, IDC_USER})
            EXPECT_TRUE(GetWindowLongW(GetDlgItem(dlg, id), GWL_STYLE) & ES_READONLY) << id;
        EXPECT_FALSE(GetWindowLongW(GetDlgItem(dlg, IDC_RESULT_NAME), GWL_STYLE) & ES_READONLY);
        SetText(dlg, IDC_GROUP, "\xC7\xD1\xB1\xB9"); // 한국
        SetText(dlg, IDC_RESULT_NAME, "N1");
        Click(dlg, IDOK);
    });
    EXPECT_TRUE(win::RunStartDialog(nullptr, model));
    EXPECT_EQ(model.group, "\xC7\xD1\xB1\xB9");
    EXPECT_EQ(model.resultName, "N1");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StartDialogTest, AnEmptyGroupKeepsTheDialogOpen) {
    Door::SetNextDialogAction([this](HWND dlg) {
        Click(dlg, IDOK);
        EXPECT_EQ(messages.shown, std::vector<std::string>{msg::kGroupRequired});
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_GROUP));
        SetText(dlg, IDC_GROUP, "G");
        Click(dlg, IDOK);
    });
    EXPECT_TRUE(win::RunStartDialog(nullptr, model));
    EXPECT_EQ(model.group, "G");
}

// A character the name cannot hold puts the focus in the field that holds
// it, its text selected for typing over.
TEST_F(StartDialogTest, ARefusedCharacterFocusesItsField) {
    Door::SetNextDialogAction([this](HWND dlg) {
        for (const auto& [group, name, field] :
             {std::tuple{"A*B", "N1", IDC_GROUP}, std::tuple{"AB", "N?1", IDC_RESULT_NAME}}) {
            messages.shown.clear();
            SetText(dlg, IDC_GROUP, group);
            SetText(dlg, IDC_RESULT_NAME, name);
            Click(dlg, IDOK);
            EXPECT_EQ(messages.shown.size(), 1u) << group;
            EXPECT_EQ(GetFocus(), GetDlgItem(dlg, field)) << group;
            DWORD from = 1, to = 0;
            SendDlgItemMessageW(dlg, field, EM_GETSEL, WPARAM(&from), LPARAM(&to));
            EXPECT_EQ(from, 0u);
            EXPECT_EQ(to, DWORD(GetWindowTextLengthW(GetDlgItem(dlg, field))));
        }
        SetText(dlg, IDC_RESULT_NAME, "N1");
        Click(dlg, IDOK);
    });
    EXPECT_TRUE(win::RunStartDialog(nullptr, model));
    EXPECT_EQ(model.group, "AB");
}

struct SelectFilesTest : ScriptedDoor {
    MemoryFileSystem fs;
    RecordingMessages messages;
    CAuditUtil util{fs, messages};
    SelectFilesModel model{util, {"G_A.ipt", "G_B.ipt", "G_C.ipt"}, "20261208093000"};
};

TEST_F(SelectFilesTest, RowClicksAndSelectAllMarkTheFiles) {
    Door::SetNextDialogAction([](HWND dlg) {
        HWND list = GetDlgItem(dlg, IDC_FILE_LIST);
        ASSERT_EQ(ListView_GetItemCount(list), 3);
        EXPECT_EQ(CellText(list, 1, 0), "G_B.ipt");
        EXPECT_EQ(Text(dlg, IDC_TOTAL_NAME), "20261208093000");
        // The first row has the focus: Space marks it at once.
        EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 0);
        SetFocus(list);
        Key(list, VK_SPACE);
        EXPECT_TRUE(ListView_GetCheckState(list, 0));
        Key(list, VK_SPACE);
        EXPECT_FALSE(ListView_GetCheckState(list, 0));
        // A click anywhere on a row toggles its mark.
        ClickCell(list, 1, 0);
        EXPECT_TRUE(ListView_GetCheckState(list, 1));
        ClickCell(list, 1, 0);
        EXPECT_FALSE(ListView_GetCheckState(list, 1));
        Click(dlg, IDC_SELECT_ALL);
        for (int row = 0; row < 3; ++row)
            EXPECT_TRUE(ListView_GetCheckState(list, row)) << row;
        Picture(dlg, "select-files");
        ClickCell(list, 0, 0);
        SetText(dlg, IDC_TOTAL_NAME, "total");
        Click(dlg, IDOK);
    });
    EXPECT_TRUE(win::RunFileSelectionDialog(nullptr, model));
    EXPECT_EQ(util.SelectedFiles(), (std::vector<std::string>{"G_B.ipt", "G_C.ipt"}));
    EXPECT_EQ(model.resultName, "total");
}

TEST_F(SelectFilesTest, NothingMarkedEndsAsCancelled) {
    Door::SetNextDialogAction([](HWND dlg) { Click(dlg, IDOK); });
    EXPECT_FALSE(win::RunFileSelectionDialog(nullptr, model));
    EXPECT_EQ(messages.shown, std::vector<std::string>{consolidation::kNoFileSelected});
}

struct PrintSelectTest : ScriptedDoor {
    CPrintSelection model;
};

TEST_F(PrintSelectTest, OneChoiceAcrossBothBoxesAndNoneRefused) {
    Door::SetNextDialogAction([this](HWND dlg) {
        Picture(dlg, "print-select");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
        // "선택" without a choice, by the keyboard's Enter: the dialog stays.
        SendMessageW(dlg, WM_COMMAND, IDOK, 0);
        Click(dlg, kIdPrintSheet);
        Click(dlg, kIdPrintPledge);
        Click(dlg, kIdPrintLedger);
        EXPECT_EQ(IsDlgButtonChecked(dlg, kIdPrintSheet), BST_UNCHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dlg, kIdPrintPledge), BST_UNCHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dlg, kIdPrintLedger), BST_CHECKED);
        EXPECT_EQ(model.Chosen(), ReportKind::Ledger);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
        Click(dlg, IDOK);
    });
    EXPECT_TRUE(win::RunPrintSelectionDialog(nullptr, model));
    EXPECT_EQ(Door::TakeLog(),
              std::vector<std::string>{"dialog: " + std::to_string(IDD_PRINT_SELECT) + " = 1"});
}

TEST_F(PrintSelectTest, TheKeysGoThroughTheReportsAsOneGroup) {
    std::vector<HWND> focus;
    std::vector<std::optional<ReportKind>> chosen;
    Door::SetNextDialogAction([&](HWND dlg) {
        for (WPARAM key : {VK_TAB, VK_DOWN, VK_UP, VK_UP, VK_TAB}) {
            Key(GetFocus(), key);
            focus.push_back(GetFocus());
            chosen.push_back(model.Chosen());
        }
        EXPECT_EQ(focus, (std::vector<HWND>{
                             GetDlgItem(dlg, kIdPrintByPc), GetDlgItem(dlg, kIdPrintBySoftware),
                             GetDlgItem(dlg, kIdPrintByPc), GetDlgItem(dlg, kIdPrintLedger),
                             GetDlgItem(dlg, IDOK)}));
        Click(dlg, IDCANCEL);
    });
    EXPECT_FALSE(win::RunPrintSelectionDialog(nullptr, model));
    // The first Tab only lands on the first report; the arrows choose.
    EXPECT_EQ(chosen, (std::vector<std::optional<ReportKind>>{std::nullopt, ReportKind::BySoftware,
                                                              ReportKind::ByPc, ReportKind::Ledger,
                                                              ReportKind::Ledger}));
}

} // namespace
