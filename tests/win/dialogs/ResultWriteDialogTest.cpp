// The result-writing dialog: its fields and list from the model, the counts
// edited in place over the cell, header sorting, adding and deleting
// programs, and a save refused while a required field is empty.
// The fakes come before <windows.h>, whose macros rename SetCurrentDirectory.
#include "Fakes.h"

#include "DialogTest.h"
#include "desktop/ResourceTable.h"
#include "doc/ResultWriting.h"
#include "files/FileTexts.h"
#include "util/Messages.h"
#include "win/dialogs/Dialogs.h"

#include <algorithm>

using namespace ostravion;
using namespace ostravion::test;
using win::Door;

namespace {

const std::string kTls = ".\\CheckOut\\audit.tls";
const std::string kRst = ".\\CheckOut\\audit.rst";

std::string Row(const std::string& name, const std::string& company, const std::string& installed,
                const std::string& genuine) {
    return Line(
        {"2", "APP", "k2", "k0", name, "1.0", installed, genuine, "0", "k7", company, "1", "1"});
}

struct ResultWriteDialogTest : ScriptedDoor {
    MemoryFileSystem fs;
    RecordingMessages messages;
    CAuditUtil util{fs, messages};
    CResultWriting model{util};

    void SetUp() override {
        ScriptedDoor::SetUp();
        ASSERT_TRUE(util.SetResultNames("audit", CAuditUtil::NameForm::Name));
        const std::string admin = AdminPart("Audit", "Kim", "IT", "", "3", "line1#r#nline2");
        const std::string rows = Row("Word", "Acme", "3", "1") + Row("Hangul", "Hancom", "2", "0");
        fs.files[kRst] = admin + rows;
        fs.files[kTls] = admin + rows + "[PC_HISTORY]\r\n";
        ASSERT_TRUE(model.Open());
    }

    // Runs the dialog with `action`; true when it closed with OK.
    bool Run(std::function<void(HWND dlg, HWND list)> action) {
        Door::SetNextDialogAction([action](HWND dlg) {
            action(dlg, GetDlgItem(dlg, IDC_PROGRAM_LIST));
            if (IsWindow(dlg))
                PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
        });
        return win::RunResultWritingDialog(nullptr, model);
    }
};

HWND Editor(HWND list) {
    return GetDlgItem(list, IDC_IN_PLACE_EDIT);
}

TEST_F(ResultWriteDialogTest, ShowsTheFieldsAndRows) {
    EXPECT_FALSE(Run([](HWND dlg, HWND list) {
        Picture(dlg, "result-write");
        EXPECT_EQ(Text(dlg), TXT_RESULT_CAPTION);
        EXPECT_EQ(Text(dlg, IDC_CHECK_DEPARTMENT), "Audit");
        EXPECT_EQ(Text(dlg, IDC_CONFIRMER), "");
        EXPECT_EQ(Text(dlg, IDC_PC_COUNT), "3");
        EXPECT_EQ(Text(dlg, IDC_REMARK), "line1\r\nline2");
        ASSERT_EQ(ListView_GetItemCount(list), 2);
        EXPECT_EQ(CellText(list, 0, kResultProgram), "Word");
        EXPECT_EQ(CellText(list, 0, kResultCopies), "2");
        EXPECT_EQ(CellText(list, 0, kResultRate), "66.67%");
        // Every column shows whole where the screen is wide enough, and the
        // window fits the screen.
        int columns = 0;
        for (int c = 0; c < kResultColumnCount; ++c)
            columns += ListView_GetColumnWidth(list, c);
        RECT client;
        GetClientRect(list, &client);
        if (GetSystemMetrics(SM_CXSCREEN) > columns + 100) {
            EXPECT_LE(columns, client.right);
        }
        RECT box;
        GetWindowRect(dlg, &box);
        EXPECT_LE(box.right - box.left, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_LE(box.bottom - box.top, GetSystemMetrics(SM_CYSCREEN));
    }));
}

TEST_F(ResultWriteDialogTest, EnterStoresEscapeCancelsAClickElsewhereStores) {
    EXPECT_FALSE(Run([this](HWND dlg, HWND list) {
        // Enter stores and recomputes the row; the dialog stays open.
        ClickCell(list, 0, kResultGenuine);
        ASSERT_TRUE(Editor(list));
        EXPECT_EQ(GetFocus(), Editor(list));
        EXPECT_EQ(Text(Editor(list)), "1");
        Picture(dlg, "result-write-editing");
        SetWindowTextW(Editor(list), L"3");
        Key(Editor(list), VK_RETURN);
        EXPECT_FALSE(Editor(list));
        EXPECT_TRUE(IsWindow(dlg));
        EXPECT_EQ(model.ItemText(0, kResultGenuine), "3");
        EXPECT_EQ(CellText(list, 0, kResultGenuine), "3");
        EXPECT_EQ(CellText(list, 0, kResultCopies), "0");
        EXPECT_EQ(CellText(list, 0, kResultRate), "0.00%");

        // Escape leaves the cell as it was.
        ClickCell(list, 1, kResultInstalled);
        ASSERT_TRUE(Editor(list));
        SetWindowTextW(Editor(list), L"9");
        Key(Editor(list), VK_ESCAPE);
        EXPECT_FALSE(Editor(list));
        EXPECT_EQ(CellText(list, 1, kResultInstalled), "2");

        // A click elsewhere stores.
        ClickCell(list, 1, kResultInstalled);
        ASSERT_TRUE(Editor(list));
        SetWindowTextW(Editor(list), L"5");
        SetFocus(GetDlgItem(dlg, IDC_CHECKER));
        EXPECT_FALSE(Editor(list));
        EXPECT_EQ(CellText(list, 1, kResultInstalled), "5");
        EXPECT_EQ(CellText(list, 1, kResultCopies), "5");

        // A click on another count cell stores the first and edits the second.
        ClickCell(list, 1, kResultGenuine);
        SetWindowTextW(Editor(list), L"4");
        ClickCell(list, 0, kResultInstalled);
        EXPECT_EQ(CellText(list, 1, kResultGenuine), "4");
        ASSERT_TRUE(Editor(list));
        Key(Editor(list), VK_ESCAPE);

        // Other columns are not edited.
        ClickCell(list, 0, kResultProgram);
        EXPECT_FALSE(Editor(list));
    }));
    EXPECT_TRUE(messages.shown.empty());
}

// Counts by keyboard alone: F2, Enter or a digit on the focused row opens
// its genuine count, Enter stores it and stays in the list (never 저장),
// Tab goes on to the installed count; Escape with typed work asks first.
TEST_F(ResultWriteDialogTest, CountsByKeyboardAloneAndEscapeAsksFirst) {
    EXPECT_FALSE(Run([](HWND dlg, HWND list) {
        const auto focusRow = [list](int row) {
            SetFocus(list);
            ListView_SetItemState(list, row, LVIS_FOCUSED | LVIS_SELECTED,
                                  LVIS_FOCUSED | LVIS_SELECTED);
        };
        focusRow(0);
        Key(list, VK_F2);
        ASSERT_TRUE(Editor(list));
        EXPECT_EQ(Text(Editor(list)), "1");
        SetWindowTextW(Editor(list), L"2");
        Key(Editor(list), VK_RETURN);
        EXPECT_FALSE(Editor(list));
        EXPECT_EQ(GetFocus(), list);
        EXPECT_EQ(CellText(list, 0, kResultGenuine), "2");
        Key(list, VK_RETURN);
        ASSERT_TRUE(Editor(list));
        Key(Editor(list), VK_ESCAPE);
        EXPECT_TRUE(IsWindow(dlg));

        focusRow(1);
        Key(list, '1');
        ASSERT_TRUE(Editor(list));
        EXPECT_EQ(Text(Editor(list)), "1");
        Key(Editor(list), VK_TAB);
        EXPECT_EQ(CellText(list, 1, kResultGenuine), "1");
        ASSERT_TRUE(Editor(list));
        EXPECT_EQ(Text(Editor(list)), "2"); // the installed count of the row
        Key(Editor(list), VK_ESCAPE);

        Door::TakeLog();
        Door::SetNextAnswer(false);
        Key(list, VK_ESCAPE);
        EXPECT_TRUE(IsWindow(dlg));
        const std::vector<std::string> log = Door::TakeLog();
        ASSERT_EQ(log.size(), 1u);
        // "저장하지 않고 닫으시겠습니까?"
        EXPECT_EQ(log[0], "ask: \xC0\xFA\xC0\xE5\xC7\xCF\xC1\xF6 \xBE\xCA\xB0\xED "
                          "\xB4\xDD\xC0\xB8\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE? = no");
    }));
}

TEST_F(ResultWriteDialogTest, GenuineAboveInstalledIsReset) {
    EXPECT_FALSE(Run([](HWND, HWND list) {
        ClickCell(list, 1, kResultGenuine);
        SetWindowTextW(Editor(list), L"7");
        Key(Editor(list), VK_RETURN);
        EXPECT_EQ(CellText(list, 1, kResultGenuine), "0");
        EXPECT_EQ(CellText(list, 1, kResultRate), "100.00%");
    }));
    EXPECT_EQ(messages.shown, std::vector<std::string>{resultwriting::kGenuineAboveInstalled});
}

TEST_F(ResultWriteDialogTest, HeaderClicksSort) {
    EXPECT_FALSE(Run([](HWND, HWND list) {
        HWND header = ListView_GetHeader(list);
        RECT r;
        Header_GetItemRect(header, kResultProgram, &r);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        const auto click = [&] {
            SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(header, WM_LBUTTONUP, 0, at);
        };
        click();
        EXPECT_EQ(CellText(list, 0, kResultProgram), "Hangul");
        EXPECT_EQ(CellText(list, 0, kResultNumber), "2");
        click();
        EXPECT_EQ(CellText(list, 0, kResultProgram), "Word");
    }));
}

TEST_F(ResultWriteDialogTest, AddAndDeletePrograms) {
    messages.answers = {true};
    EXPECT_FALSE(Run([this](HWND dlg, HWND list) {
        // The first entry lacks the rights holder and comes back with what was
        // typed; the second is taken; then the add dialog is cancelled.
        Door::SetNextDialogAction([](HWND add) {
            Picture(add, "add-program");
            EXPECT_EQ(Text(add), TXT_ADD_CAPTION);
            SetText(add, IDC_PROGRAM, "Paint");
            SetText(add, IDC_INSTALLED, "4");
            Click(add, IDOK);
        });
        Door::SetNextDialogAction([](HWND add) {
            EXPECT_EQ(Text(add, IDC_PROGRAM), "Paint");
            EXPECT_EQ(Text(add, IDC_INSTALLED), "4");
            SetText(add, IDC_COMPANY, "Brush");
            Click(add, IDOK);
        });
        Click(dlg, IDC_ADD_PROGRAM);
        ASSERT_EQ(ListView_GetItemCount(list), 3);
        EXPECT_EQ(CellText(list, 2, kResultNumber), "3");
        EXPECT_EQ(CellText(list, 2, kResultCompany), "Brush");
        EXPECT_EQ(CellText(list, 2, kResultRate), "100.00%");

        // The row's check box, ticked in the list, is the model's mark.
        ListView_SetCheckState(list, 0, TRUE);
        EXPECT_TRUE(model.GetCheck(0));
        Click(dlg, IDC_DELETE_PROGRAMS);
        ASSERT_EQ(ListView_GetItemCount(list), 2);
        EXPECT_EQ(CellText(list, 0, kResultProgram), "Hangul");
    }));
    EXPECT_EQ(messages.shown, std::vector<std::string>{resultwriting::kProgramFieldsRequired});
    EXPECT_EQ(messages.asked, std::vector<std::string>{resultwriting::kDeleteQuestion});
}

TEST_F(ResultWriteDialogTest, SaveRefusedWithoutConfirmerThenSaves) {
    const std::string before = fs.files[kRst];
    EXPECT_TRUE(Run([this, before](HWND dlg, HWND) {
        Click(dlg, IDOK);
        EXPECT_TRUE(IsWindow(dlg));
        EXPECT_EQ(messages.shown, std::vector<std::string>{resultwriting::kNoConfirmer});
        EXPECT_EQ(fs.files[kRst], before);
        // A character without a CP949 form is named, never saved as "?".
        SetDlgItemTextW(dlg, IDC_CONFIRMER, L"Lee\U0001F600");
        Click(dlg, IDOK);
        EXPECT_TRUE(IsWindow(dlg));
        const std::vector<std::string> log = win::Door::TakeLog();
        EXPECT_NE(std::find(log.begin(), log.end(),
                            "show: " + std::string(msg::kNoCp949Form) + "U+1F600"),
                  log.end());
        EXPECT_EQ(fs.files[kRst], before);
        SetText(dlg, IDC_CONFIRMER, "Lee");
        SetText(dlg, IDC_REMARK, "a\r\nb");
        Click(dlg, IDOK);
    }));
    EXPECT_EQ(model.Field(ResultField::Confirmer), "Lee");
    EXPECT_NE(fs.files[kRst].find("a#r#nb"), std::string::npos);
}

TEST_F(ResultWriteDialogTest, FieldsTakeNoMoreBytesThanTheirLimit) {
    EXPECT_FALSE(Run([](HWND dlg, HWND) {
        // 20 bytes: ten Hangul syllables fit, an eleventh does not.
        const std::wstring ten(10, L'\xAC00');
        SetDlgItemTextW(dlg, IDC_CHECKER, ten.c_str());
        EXPECT_EQ(Text(dlg, IDC_CHECKER).size(), 20u);
        SetDlgItemTextW(dlg, IDC_CHECKER, (ten + L"\xAC00").c_str());
        EXPECT_EQ(Text(dlg, IDC_CHECKER).size(), 20u);
    }));
}

} // namespace
