// The result-writing dialog on the real main window: what it shows of a
// written result, the in-place editor of the count columns, adding and
// deleting rows, the header sort, the field limits and saving.
#include "qt/AppFixture.h"
#include "qt/CEditListCtrl.h"
#include "qt/CMainFrame.h"
#include "qt/CResultWriteDlg.h"
#include "qt/GuiDocument.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace ostravion;
using namespace ostravion::gui;
using test::Harness;

namespace {

const QString kGenuineAbove =
    QStringLiteral("show: 정품 소프트웨어 수량은 설치된 소프트웨어 수량을 넘을수 없습니다.");

QStringList Column(const CEditListCtrl* list, int column) {
    QStringList out;
    for (int r = 0; r < list->rowCount(); ++r)
        out << list->item(r, column)->text();
    return out;
}

QStringList Row(const CEditListCtrl* list, int row) {
    QStringList out;
    for (int c = 0; c < list->columnCount(); ++c)
        out << list->item(row, c)->text();
    return out;
}

void Click(CEditListCtrl* list, int row, int column) {
    const QPoint at = list->visualItemRect(list->item(row, column)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
}

// Types a text key by key, Hangul included.
void Type(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The dialog on screen and active, as a modal dialog is.
void ShowActive(QDialog& d) {
    d.show();
    // The main window's own activation may still be on its way: wait for
    // the dialog to be the active window and stay it.
    for (int i = 0; i < 3; ++i) {
        QTest::qWait(5);
        d.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &d);
    }
}

} // namespace

class ResultWriteDlgTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Dialogs::Reset(); }

    void showsTheWrittenResult() {
        Harness h;
        test::OpenFixtureAudit(h);
        QStringList rows;
        QStringList fields;
        Dialogs::SetNextAnswer(true);
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            auto& dlg = static_cast<CResultWriteDlg&>(d);
            CEditListCtrl* list = dlg.List();
            for (int id : {CResultWriteDlg::IDC_CHECK_DEPARTMENT, CResultWriteDlg::IDC_CHECKER,
                           CResultWriteDlg::IDC_CONFIRM_DEPARTMENT, CResultWriteDlg::IDC_CONFIRMER,
                           CResultWriteDlg::IDC_PC_COUNT})
                fields << dlg.Field(id)->text();
            fields << dlg.Remark()->toPlainText();
            for (int r = 0; r < list->rowCount(); ++r)
                rows << Row(list, r).join(QLatin1Char('|'));
            // Columns, widths and styles of the list.
            QStringList heads;
            for (int c = 0; c < list->columnCount(); ++c)
                heads << QStringLiteral("%1 %2")
                             .arg(list->horizontalHeaderItem(c)->text())
                             .arg(list->columnWidth(c));
            QCOMPARE(heads,
                     QStringList({"번호 50", "프로그램명 200", "저작사명 200", "설치수량 80",
                                  "정품수량 80", "복제수량 80", "불법복제율 100", "비고 80"}));
            QVERIFY(list->showGrid());
            QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
            QVERIFY(list->item(0, 0)->flags() & Qt::ItemIsUserCheckable);
            QCOMPARE(list->item(0, 0)->checkState(), Qt::Unchecked);
        });
        h.Frame().OnCommand(ID_WRITE_RESULT);
        QCOMPARE(test::Messages(),
                 QStringList({QStringLiteral(
                     "ask: 이미 작성된 파일이 있습니다.\n  계속 작성하시겠습니까? = yes")}));
        QCOMPARE(fields,
                 QStringList({"감사팀", "김감사", "정보화팀", "홍길동", "2", "첫째 줄\n둘째 줄"}));
        // The row flagged "9" is left out; numbers count the rows shown.
        QCOMPARE(rows, QStringList({"1|한글 2010|한글과컴퓨터|10|5|5|50.00%|예외",
                                    "2|Office Excel|Microsoft Corporation|4|4|0|0.00%|예외",
                                    "3|V3 Lite|안랩|6|0|6|100.00%|예외"}));
    }

    void missingResultOpensEmptyAndFirstSaveLeadsThere() {
        Harness h;
        test::OpenFixtureAudit(h, false);
        int rows = -1;
        Dialogs::SetNextDialogAction(
            [&](QDialog& d) { rows = static_cast<CResultWriteDlg&>(d).List()->rowCount(); });
        h.Frame().OnCommand(ID_FILE_SAVE);
        // The first save of the total opens the dialog once, which says that
        // there is no written result yet.
        QStringList dialogs;
        for (const QString& l : Dialogs::Log())
            if (l.startsWith(QStringLiteral("dialog: ")))
                dialogs << l;
        QCOMPARE(dialogs, QStringList({QStringLiteral("dialog: 결과 작성 = rejected")}));
        QCOMPARE(test::Messages(),
                 QStringList({QStringLiteral(
                     "show: Result File Open Error...\n결과 파일을 열 수 없습니다.")}));
        QCOMPARE(rows, 0);
        QVERIFY(h.Frame().Progress() == nullptr);
    }

    void clickInACountColumnStartsTheEditor() {
        Harness h;
        test::OpenFixtureAudit(h);
        CResultWriting model(h.Util());
        model.Open();
        CResultWriteDlg dlg(model, h.platform.Codec(), &h.Frame());
        ShowActive(dlg);
        CEditListCtrl* list = dlg.List();

        // Columns that are not counts: no editor.
        for (int c : {0, 1, 2, 5, 6, 7}) {
            Click(list, 0, c);
            QVERIFY2(list->Editor() == nullptr, qPrintable(QString::number(c)));
        }
        int column = -1;
        const QRect cell = list->visualItemRect(list->item(1, 3));
        QCOMPARE(list->HitTestEx(cell.center(), &column), 1);
        QCOMPARE(column, 3);

        Click(list, 1, 3);
        CInPlaceEdit* editor = list->Editor();
        QVERIFY(editor);
        QCOMPARE(editor->selectedText(), QStringLiteral("4"));
        QVERIFY(editor->hasFocus());
        // Over the cell: from 4 pixels into it, as wide as the column less 3.
        QCOMPARE(editor->geometry().left(), cell.left() + 4);
        QCOMPARE(editor->geometry().width(), 80 - 3);
        QCOMPARE(editor->geometry().top(), cell.top());

        // Enter commits and leaves the dialog open.
        QTest::keyClicks(editor, QStringLiteral("3"));
        test::SaveScreenshot(&dlg, QStringLiteral("10-result-write-editing"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(list->Editor() == nullptr);
        QVERIFY(dlg.isVisible());
        QCOMPARE(Row(list, 1).join(QLatin1Char('|')),
                 QStringLiteral("2|Office Excel|Microsoft Corporation|3|0|3|100.00%|예외"));
        // The genuine count 4 was above the new installed count 3.
        QCOMPARE(test::Messages(), QStringList({kGenuineAbove}));

        // Esc cancels and leaves the dialog open too.
        Dialogs::ClearLog();
        Click(list, 0, 4);
        editor = list->Editor();
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("9"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(list->Editor() == nullptr);
        QVERIFY(dlg.isVisible());
        QCOMPARE(list->item(0, 4)->text(), QStringLiteral("5"));
        QVERIFY(test::Messages().isEmpty());

        // A genuine count above the installed one: the message and "0".
        Click(list, 0, 4);
        QTest::keyClicks(list->Editor(), QStringLiteral("11"));
        QTest::keyClick(list->Editor(), Qt::Key_Enter);
        QCOMPARE(test::Messages(), QStringList({kGenuineAbove}));
        QCOMPARE(Row(list, 0).mid(3, 4), QStringList({"10", "0", "10", "100.00%"}));
        // A fair one: copies and rate follow.
        Click(list, 0, 4);
        QTest::keyClicks(list->Editor(), QStringLiteral("3"));
        QTest::keyClick(list->Editor(), Qt::Key_Return);
        QCOMPARE(Row(list, 0).mid(3, 4), QStringList({"10", "3", "7", "70.00%"}));
        QVERIFY(dlg.isVisible());
    }

    // Counts by keyboard alone: F2, Enter or a digit on a row opens the
    // genuine count, Enter stores it and stays in the list, Tab goes on to
    // the installed count; Enter in the list never saves, and closing with
    // typed work asks first.
    void countsByKeyboardAlone() {
        Harness h;
        test::OpenFixtureAudit(h);
        CResultWriting model(h.Util());
        model.Open();
        CResultWriteDlg dlg(model, h.platform.Codec(), &h.Frame());
        ShowActive(dlg);
        CEditListCtrl* list = dlg.List();
        list->setFocus();
        list->setCurrentCell(0, 1);
        const auto settle = [] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };

        QTest::keyClick(list, Qt::Key_F2);
        QVERIFY(list->Editor());
        QCOMPARE(list->Editor()->Column(), int(kResultGenuine));
        QCOMPARE(list->Editor()->selectedText(), QStringLiteral("5"));
        QTest::keyClicks(list->Editor(), QStringLiteral("4"));
        QTest::keyClick(list->Editor(), Qt::Key_Return);
        settle();
        QVERIFY(!list->Editor());
        QVERIFY(list->hasFocus());
        QCOMPARE(list->item(0, kResultGenuine)->text(), QStringLiteral("4"));

        // A digit on the next row starts its new count.
        QTest::keyClick(list, Qt::Key_Down);
        Type(list, QStringLiteral("2"));
        QVERIFY(list->Editor());
        QCOMPARE(list->Editor()->Row(), 1);
        QCOMPARE(list->Editor()->text(), QStringLiteral("2"));
        // Tab stores it and opens the row's installed count.
        QTest::keyClick(list->Editor(), Qt::Key_Tab);
        settle();
        QTRY_VERIFY(list->Editor() && list->Editor()->Column() == int(kResultInstalled));
        QCOMPARE(list->item(1, kResultGenuine)->text(), QStringLiteral("2"));
        QTest::keyClick(list->Editor(), Qt::Key_Escape);
        settle();

        // Enter on a row edits; Enter in the list never reaches 저장.
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(list->Editor());
        QTest::keyClick(list->Editor(), Qt::Key_Escape);
        settle();
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));

        // Escape with counts typed: the question; No stays, Yes closes.
        Dialogs::ClearLog();
        Dialogs::SetNextAnswer(false);
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(dlg.isVisible());
        Dialogs::SetNextAnswer(true);
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(test::Messages(),
                 QStringList({QStringLiteral("ask: 저장하지 않고 닫으시겠습니까? = no"),
                              QStringLiteral("ask: 저장하지 않고 닫으시겠습니까? = yes")}));
    }

    // Without changes Escape closes at once; a typed field is a change.
    void escapeAsksOnlyWhenSomethingWasTyped() {
        Harness h;
        test::OpenFixtureAudit(h);
        CResultWriting model(h.Util());
        model.Open();
        {
            CResultWriteDlg dlg(model, h.platform.Codec(), &h.Frame());
            ShowActive(dlg);
            QTest::keyClick(&dlg, Qt::Key_Escape);
            QVERIFY(!dlg.isVisible());
            QVERIFY(test::Messages().isEmpty());
        }
        CResultWriteDlg dlg(model, h.platform.Codec(), &h.Frame());
        ShowActive(dlg);
        dlg.Field(CResultWriteDlg::IDC_CHECKER)->setText(QStringLiteral("이점검"));
        QTest::keyClick(dlg.Field(CResultWriteDlg::IDC_CHECKER), Qt::Key_Escape);
        QVERIFY(dlg.isVisible());
        QCOMPARE(test::Messages(),
                 QStringList({QStringLiteral("ask: 저장하지 않고 닫으시겠습니까? = no")}));
    }

    void editorKeepsItsKeysGrowsAndEndsOnScroll() {
        Harness h;
        test::OpenFixtureAudit(h);
        CResultWriting model(h.Util());
        model.Open();
        CResultWriteDlg dlg(model, h.platform.Codec(), &h.Frame());
        for (int i = 0; i < 40; ++i)
            dlg.Model().AddProgram({"P", "5", "C", ""});
        ShowActive(dlg);
        CEditListCtrl* list = dlg.List();
        list->setColumnWidth(3, 30);

        Click(list, 0, 3);
        CInPlaceEdit* editor = list->Editor();
        QVERIFY(editor);
        const int before = editor->width();
        QCOMPARE(before, 30 - 3);
        // Ctrl keys stay in the editor (select all, then typing replaces).
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(editor->selectedText(), QStringLiteral("10"));
        QTest::keyClicks(editor, QStringLiteral("123456"));
        QCOMPARE(editor->text(), QStringLiteral("123456"));
        QVERIFY(editor->width() >= editor->fontMetrics().horizontalAdvance(editor->text()) + 16);
        QVERIFY(editor->geometry().right() < list->viewport()->width());
        QTest::keyClick(editor, Qt::Key_Delete);
        QVERIFY(dlg.isVisible());

        // Scrolling ends the edit, keeping what was typed.
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, QStringLiteral("7"));
        list->verticalScrollBar()->setValue(list->verticalScrollBar()->value() + 3);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(list->Editor() == nullptr);
        QCOMPARE(list->item(0, 3)->text(), QStringLiteral("123457"));
    }

    void addAndDeleteRows() {
        Harness h;
        test::OpenFixtureAudit(h);
        QStringList reopened;
        QStringList rows;
        QStringList afterDeletes;
        Dialogs::SetNextAnswer(true); // go on writing
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            auto& dlg = static_cast<CResultWriteDlg&>(d);
            // The add dialog: refused without rights holder, then taken; it
            // comes back each time with what was typed last.
            Dialogs::SetNextDialogAction([](QDialog& a) {
                auto& add = static_cast<CAddProgramDlg&>(a);
                add.Field(CAddProgramDlg::IDC_PROGRAM)->setText(QStringLiteral("새 프로그램"));
                QTest::keyClicks(add.Field(CAddProgramDlg::IDC_INSTALLED), QStringLiteral("3x"));
                test::Press(a, QStringLiteral("button1"));
            });
            Dialogs::SetNextDialogAction([&](QDialog& a) {
                auto& add = static_cast<CAddProgramDlg&>(a);
                reopened << add.Field(CAddProgramDlg::IDC_PROGRAM)->text()
                         << add.Field(CAddProgramDlg::IDC_INSTALLED)->text();
                add.Field(CAddProgramDlg::IDC_COMPANY)->setText(QStringLiteral("새 회사"));
                add.Field(CAddProgramDlg::IDC_VERSION)->setText(QStringLiteral("2.1"));
                test::SaveScreenshot(&a, QStringLiteral("10-add-program"));
                test::Press(a, QStringLiteral("button1"));
            });
            Dialogs::SetNextDialogAction([&](QDialog& a) {
                reopened
                    << static_cast<CAddProgramDlg&>(a).Field(CAddProgramDlg::IDC_COMPANY)->text();
                test::Press(a, QStringLiteral("button2"));
            });
            test::Press(d, QStringLiteral("button3"));
            for (int r = 0; r < dlg.List()->rowCount(); ++r)
                rows << Column(dlg.List(), 0).value(r);
            rows << Row(dlg.List(), 3).join(QLatin1Char('|'));

            // Delete: nothing ticked, then the second row ticked and kept (No),
            // then deleted (Yes).
            test::Press(d, QStringLiteral("button4"));
            dlg.List()->item(1, 0)->setCheckState(Qt::Checked);
            QVERIFY(dlg.Model().GetCheck(1));
            Dialogs::SetNextAnswer(false);
            test::Press(d, QStringLiteral("button4"));
            afterDeletes << Column(dlg.List(), 0).join(QLatin1Char(','));
            Dialogs::SetNextAnswer(true);
            test::Press(d, QStringLiteral("button4"));
            afterDeletes << Column(dlg.List(), 0).join(QLatin1Char(','));
            // One more program gets the next number, after the deleted one's.
            Dialogs::SetNextDialogAction([](QDialog& a) {
                auto& add = static_cast<CAddProgramDlg&>(a);
                add.Field(CAddProgramDlg::IDC_PROGRAM)->setText(QStringLiteral("X"));
                add.Field(CAddProgramDlg::IDC_INSTALLED)->setText(QStringLiteral("1"));
                add.Field(CAddProgramDlg::IDC_COMPANY)->setText(QStringLiteral("Y"));
                test::Press(a, QStringLiteral("button1"));
            });
            test::Press(d, QStringLiteral("button3"));
            afterDeletes << Column(dlg.List(), 0).join(QLatin1Char(','));
            test::Press(d, QStringLiteral("button1"));
        });
        h.Frame().OnCommand(ID_WRITE_RESULT);

        QCOMPARE(reopened, QStringList({"새 프로그램", "3", "새 회사"}));
        QCOMPARE(rows,
                 QStringList({"1", "2", "3", "4", "4|새 프로그램|새 회사|3|0|3|100.00%|예외"}));
        QCOMPARE(afterDeletes, QStringList({"1,2,3,4", "1,3,4", "1,3,4,5"}));
        const QStringList messages = test::Messages();
        QCOMPARE(messages.mid(1, 4),
                 QStringList({"show: 프로그램명, 설치수량, 저작권사 항목은 필수 항목입니다.",
                              "show: 선택된 항목이 없습니다.",
                              "ask: 선택된 항목을 삭제하시겠습니까? = no",
                              "ask: 선택된 항목을 삭제하시겠습니까? = yes"}));
        // Saved: the added rows with flag "0" and class "3", the version kept.
        const QString rst = QString::fromStdString(h.platform.Codec().ToUtf8(
            h.dir.Read(QStringLiteral("CheckOut/audit.rst")).toStdString()));
        QVERIFY(rst.contains(
            QStringLiteral("0\t-\t-\t-\t새 프로그램\t2.1\t3\t0\t3\t-\t새 회사\t-\t3\t\r\n")));
        QVERIFY(!rst.contains(QStringLiteral("Office Excel")));
        QVERIFY(h.Doc().calls.contains(QStringLiteral("LoadTotal")));
    }

    void headerClickSortsBothWays() {
        Harness h;
        test::OpenFixtureAudit(h);
        CResultWriting model(h.Util());
        model.Open();
        CResultWriteDlg dlg(model, h.platform.Codec(), &h.Frame());
        ShowActive(dlg);
        QHeaderView* head = dlg.List()->horizontalHeader();
        const auto clickHead = [&](int column) {
            const QPoint at(head->sectionViewportPosition(column) + 10, head->height() / 2);
            QTest::mouseClick(head->viewport(), Qt::LeftButton, {}, at);
        };
        clickHead(1);
        QCOMPARE(dlg.Model().SortFlag(), 1);
        QCOMPARE(Column(dlg.List(), 1), QStringList({"Office Excel", "V3 Lite", "한글 2010"}));
        clickHead(1);
        QCOMPARE(Column(dlg.List(), 1), QStringList({"한글 2010", "V3 Lite", "Office Excel"}));
        // The numbers go with their rows.
        QCOMPARE(Column(dlg.List(), 0), QStringList({"1", "3", "2"}));

        // A header click while a count is edited stores it on its own row first.
        Click(dlg.List(), 2, 3); // Office Excel, installed 4
        QVERIFY(dlg.List()->Editor());
        QTest::keyClicks(dlg.List()->Editor(), QStringLiteral("8"));
        clickHead(3);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dlg.List()->Editor() == nullptr);
        QStringList excel;
        for (int r = 0; r < dlg.List()->rowCount(); ++r)
            if (dlg.List()->item(r, 1)->text() == QStringLiteral("Office Excel"))
                excel = Row(dlg.List(), r).mid(3, 4);
        QCOMPARE(excel, QStringList({"8", "4", "4", "50.00%"}));
    }

    void fieldLimitsAndKeys() {
        Harness h;
        test::OpenFixtureAudit(h);
        CResultWriting model(h.Util());
        model.Open();
        CResultWriteDlg dlg(model, h.platform.Codec(), &h.Frame());
        ShowActive(dlg);
        const auto typed = [&](int id, const QString& text) {
            QLineEdit* e = dlg.Field(id);
            e->clear();
            e->setFocus();
            Type(e, text);
            return e->text();
        };
        // Bytes as the files count them: a Hangul syllable takes two.
        QCOMPARE(typed(CResultWriteDlg::IDC_CHECK_DEPARTMENT, QString(60, QLatin1Char('a'))).size(),
                 50);
        QCOMPARE(typed(CResultWriteDlg::IDC_CHECKER, QString(15, QChar(0xAC00))).size(), 10);
        QCOMPARE(typed(CResultWriteDlg::IDC_CONFIRM_DEPARTMENT, QString(30, QChar(0xAC00))).size(),
                 25);
        QCOMPARE(typed(CResultWriteDlg::IDC_CONFIRMER, QStringLiteral("abcdefghij0123456789XY")),
                 QStringLiteral("abcdefghij0123456789"));
        // The PC count: digits only; the arrows stay within 0 .. 1000.
        QCOMPARE(typed(CResultWriteDlg::IDC_PC_COUNT, QStringLiteral("1a2-3")),
                 QStringLiteral("123"));
        dlg.PcCount()->SetText(QStringLiteral("999"));
        dlg.PcCount()->stepBy(1);
        dlg.PcCount()->stepBy(1);
        QCOMPARE(dlg.PcCount()->Text(), QStringLiteral("1000"));
        dlg.PcCount()->SetText(QString());
        dlg.PcCount()->stepBy(-1);
        QCOMPARE(dlg.PcCount()->Text(), QStringLiteral("0"));
        // Enter in the remark makes a new line; the remark holds 500 bytes.
        dlg.Remark()->clear();
        dlg.Remark()->setFocus();
        QTest::keyClicks(dlg.Remark(), QStringLiteral("ab"));
        QTest::keyClick(dlg.Remark(), Qt::Key_Return);
        QTest::keyClicks(dlg.Remark(), QStringLiteral("cd"));
        QCOMPARE(dlg.Remark()->toPlainText(), QStringLiteral("ab\ncd"));
        QVERIFY(dlg.isVisible());
        QTest::keyClicks(dlg.Remark(), QString(600, QLatin1Char('x')));
        QCOMPARE(dlg.Remark()->toPlainText().size(), 500 - 1); // the line break takes two
    }

    void saveChecksFieldsThenWritesBothFiles() {
        Harness h;
        test::OpenFixtureAudit(h);
        bool stayedOpen = false;
        Dialogs::SetNextAnswer(true);
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            auto& dlg = static_cast<CResultWriteDlg&>(d);
            dlg.Field(CResultWriteDlg::IDC_CONFIRMER)->clear();
            test::Press(d, QStringLiteral("button1"));
            stayedOpen = d.isVisible() && d.result() != QDialog::Accepted;
            // A character without a CP949 form is named, never saved as "?".
            dlg.Field(CResultWriteDlg::IDC_CONFIRMER)->setText(QStringLiteral("이😀"));
            test::Press(d, QStringLiteral("button1"));
            stayedOpen = stayedOpen && d.isVisible() && d.result() != QDialog::Accepted;
            dlg.Field(CResultWriteDlg::IDC_CONFIRMER)->setText(QStringLiteral("이확인"));
            dlg.Remark()->setPlainText(QStringLiteral("한 줄\n두 줄"));
            test::Press(d, QStringLiteral("button1"));
        });
        const QByteArray before = h.dir.Read(QStringLiteral("CheckOut/audit.rst"));
        h.Frame().OnCommand(IDC_WRITE_RESULT);
        QVERIFY(stayedOpen);
        QCOMPARE(test::Messages().value(1), QStringLiteral("show: 확인자명을 입력해주세요."));
        QCOMPARE(test::Messages().value(2),
                 QStringLiteral("show: 한국어 코드 페이지(CP949)에 없는 문자는 쓸 수 없습니다: 😀 "
                                "(U+1F600)"));
        QVERIFY(Dialogs::Log().contains(QStringLiteral("dialog: 결과 작성 = accepted")));
        const std::string rst = h.dir.Read(QStringLiteral("CheckOut/audit.rst")).toStdString();
        QVERIFY(rst != before.toStdString());
        const QString text = QString::fromStdString(h.platform.Codec().ToUtf8(rst));
        QVERIFY(text.contains(QStringLiteral("[확인자]\r\n이확인\r\n")));
        QVERIFY(text.contains(QStringLiteral("[기타]\r\n한 줄#r#n두 줄\r\n")));
        // The total keeps its unticked row and its PC history.
        const QString tls = QString::fromStdString(h.platform.Codec().ToUtf8(
            h.dir.Read(QStringLiteral("CheckOut/audit.tls")).toStdString()));
        QVERIFY(tls.contains(QStringLiteral("9\tAPP\tK2\tK0\tZip Tool")));
        QVERIFY(tls.contains(QStringLiteral("[PC_HISTORY]\r\n기획팀-PC01")));
        QCOMPARE(h.Doc().calls.last(), QStringLiteral("LoadTotal"));
        QVERIFY(h.Frame().Progress() == nullptr);
    }

    void writtenCountsReachTheListsAndTheSheet() {
        // The program's own document and views, from result writing to print.
        test::RealApp s;
        QVERIFY(s.Start());
        s.CopyFixture("audit.tls");
        s.CopyFixture("audit.rst");
        auto& dir = s.dir;
        auto& platform = s.platform;
        auto& app = s.app;
        Dialogs::SetNextFileName(dir.Path(QStringLiteral("CheckOut/audit.tls")));
        app->MainFrame()->OnCommand(ID_FILE_OPEN);
        auto& doc = static_cast<GuiDocument&>(app->Document());
        QCOMPARE(doc.NormalList().RowCount() + doc.ExtendedList().RowCount(), 5);

        Dialogs::SetNextAnswer(true);
        Dialogs::SetNextDialogAction([](QDialog& d) {
            auto& dlg = static_cast<CResultWriteDlg&>(d);
            ShowActive(d);
            Click(dlg.List(), 2, 4); // V3 Lite: installed 6, genuine 0
            QTest::keyClicks(dlg.List()->Editor(), QStringLiteral("2"));
            QTest::keyClick(dlg.List()->Editor(), Qt::Key_Return);
            test::Press(d, QStringLiteral("button1"));
        });
        app->MainFrame()->OnCommand(IDC_WRITE_RESULT);
        QVERIFY(Dialogs::Log().contains(QStringLiteral("dialog: 결과 작성 = accepted")));
        const QString tls = QString::fromStdString(
            platform.Codec().ToUtf8(dir.Read(QStringLiteral("CheckOut/audit.tls")).toStdString()));
        QVERIFY(tls.contains(QStringLiteral("V3 Lite\t3.0\t6\t2\t4\t")));
        // The lists were loaded again from the total just written.
        const QString rows = tls.section(QStringLiteral("[리스트]\r\n"), 1)
                                 .section(QStringLiteral("[PC_HISTORY]"), 0, 0);
        QCOMPARE(doc.NormalList().RowCount() + doc.ExtendedList().RowCount(),
                 int(rows.count(QStringLiteral("\r\n"))));

        // The sheet printed now carries the new counts.
        const QString pdf = dir.Path(QStringLiteral("sheet.pdf"));
        Dialogs::SetNextDialogAction([](QDialog& d) {
            QTest::mouseClick(d.findChild<QRadioButton*>(QStringLiteral("radio1074")),
                              Qt::LeftButton);
            test::Press(d, QStringLiteral("button1"));
        });
        Dialogs::SetNextPrinter(pdf);
        app->MainFrame()->OnCommand(ID_FILE_PRINT);
        QCOMPARE(app->Util().GetWorkState(), int(kPrinted));
        QVERIFY(QFileInfo(pdf).size() > 0);
        Dialogs::Reset();
    }

    void saveAfterSaveAsKeepsTheWrittenResultAndTicksAreEdits() {
        test::RealApp s;
        QVERIFY(s.Start());
        s.CopyFixture("audit.tls");
        auto& dir = s.dir;
        auto& platform = s.platform;
        auto& app = s.app;
        Dialogs::SetNextFileName(dir.Path(QStringLiteral("CheckOut/audit.tls")));
        CMainFrame& frame = *app->MainFrame();
        frame.OnCommand(ID_FILE_OPEN);
        const auto read = [&](const char* name) {
            return QString::fromStdString(platform.Codec().ToUtf8(
                dir.Read(QStringLiteral("CheckOut/") + QLatin1String(name)).toStdString()));
        };

        // Save As leads on to result writing, which writes the typed values.
        Dialogs::SetNextFileName(dir.Path(QStringLiteral("CheckOut/final.tls")));
        Dialogs::SetNextDialogAction([](QDialog& d) {
            auto& dlg = static_cast<CResultWriteDlg&>(d);
            for (int id : {CResultWriteDlg::IDC_CHECK_DEPARTMENT, CResultWriteDlg::IDC_CHECKER,
                           CResultWriteDlg::IDC_CONFIRM_DEPARTMENT, CResultWriteDlg::IDC_CONFIRMER})
                dlg.Field(id)->setText(QStringLiteral("NEW%1").arg(id));
            test::Press(d, QStringLiteral("button1"));
        });
        frame.OnCommand(ID_FILE_SAVE_AS);
        QVERIFY(Dialogs::Log().contains(QStringLiteral("dialog: 결과 작성 = accepted")));
        const QString dept =
            QStringLiteral("[점검부서]\r\nNEW%1\r\n").arg(CResultWriteDlg::IDC_CHECK_DEPARTMENT);
        QVERIFY(read("final.rst").contains(dept));

        // The next save reads them back from the new file, not the old one.
        frame.OnCommand(ID_FILE_SAVE);
        QVERIFY(read("final.rst").contains(dept));
        QVERIFY(read("final.tls").contains(dept));
        QVERIFY(read("final.tls").contains(QStringLiteral("[PC_HISTORY]\r\n기획팀-PC01")));

        // A tick after a save under a new name is an edit that Exit offers to save.
        app->Util().SetWorkState(kSavedAs);
        auto& doc = static_cast<GuiDocument&>(app->Document());
        doc.NormalList().CheckToggled(0);
        QCOMPARE(app->Util().GetWorkState(), int(kEdited));
        QVERIFY(frame.windowTitle().endsWith(QLatin1Char('*')));
        Dialogs::SetNextAnswer(false);
        frame.OnCommand(ID_APP_EXIT);
        QCOMPARE(test::Messages().value(test::Messages().size() - 1),
                 QStringLiteral("ask: 저장하시겠습니까? = no"));
        Dialogs::Reset();
    }
};

OSTRAVION_APP_TEST(ResultWriteDlgTest);
#include "ResultWriteDlgTest.moc"
