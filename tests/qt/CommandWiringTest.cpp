// The window's wiring to the desktop flows (the flows themselves are tested
// without a window): every menu item, key and button reaches its flow, the
// real dialogs show what the flows hand them, drops and the close box.
#include "desktop/DesktopTexts.h"
#include "qt/AppFixture.h"
#include "qt/CCommandBar.h"
#include "qt/CMainFrame.h"
#include "qt/CSelectFilesDlg.h"
#include "qt/CUserInfoDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

using namespace ostravion;
using namespace ostravion::gui;
using test::Harness;

namespace {

// What each command's flow shows first: its file dialog, its modal dialog or
// its question, all cancelled or answered No.
struct Wiring {
    int id;
    bool button;       // a command-bar button, else a menu item
    bool needsTotal;   // a document command: a total is opened first
    const char* first; // the first line of the dialog log
};

const Wiring kWiring[] = {
    {ID_FILE_OPEN, false, false, "open: (cancel)"},
    {ID_FILE_SAVE_AS, false, true, "save: (cancel)"},
    {ID_FILE_PRINT, false, true, "dialog: 결과별 인쇄 = rejected"},
    {ID_FILE_PREVIEW, false, true, "dialog: 결과별 인쇄 = rejected"},
    {IDC_PRINT, true, true, "dialog: 결과별 인쇄 = rejected"},
    {ID_FILE_PRINT_SETUP, false, false, "dialog: 인쇄 설정 = rejected"},
    {ID_SCAN_START, false, false, "dialog: 사용자 정보를 입력하세요. = rejected"},
    {IDC_START, true, false, "dialog: 사용자 정보를 입력하세요. = rejected"},
    {ID_CONSOLIDATE, false, false, "dialog: 취합할 파일을 선택하세요. = rejected"},
    {IDC_CONSOLIDATE, true, false, "dialog: 취합할 파일을 선택하세요. = rejected"},
    {ID_WRITE_RESULT, false, true, "ask: 저장하시겠습니까? = no"},
    {IDC_WRITE_RESULT, true, true, "ask: 저장하시겠습니까? = no"},
    {ID_ABOUT_ORG, false, false, "dialog: Velmora 정보 = rejected"},
    {ID_ABOUT_PRODUCT, false, false, "dialog: Ostravion V3.1 정보 = rejected"},
};

void OpenTotal(Harness& h) {
    h.dir.Write(QStringLiteral("CheckOut/total.tls"), "x");
    Dialogs::SetNextFileName(h.dir.Path(QStringLiteral("CheckOut/total.tls")));
    h.Frame().OnCommand(ID_FILE_OPEN);
    Dialogs::ClearLog();
    h.Doc().calls.clear();
}

} // namespace

class CommandWiringTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Dialogs::Reset(); }

    void everyItemAndButtonReachesItsFlow() {
        for (const Wiring& w : kWiring) {
            Harness h;
            if (w.needsTotal)
                OpenTotal(h);
            if (w.button)
                QTest::mouseClick(h.Frame().Button(w.id), Qt::LeftButton);
            else
                h.Frame().Action(w.id)->trigger();
            QCOMPARE(Dialogs::Log().value(0), QString::fromUtf8(w.first));
        }
        // Save reaches the document; the stop button and the 검사 slot
        // carrying 32772 end the scan; Exit closes the window.
        Harness h;
        OpenTotal(h);
        h.dir.Write(QStringLiteral("CheckOut/total.rst"), "x");
        h.Frame().Action(ID_FILE_SAVE)->trigger();
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("SaveTotal")}));
        for (bool button : {true, false}) {
            Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME")));
            h.Frame().OnCommand(IDC_START);
            h.Doc().calls.clear();
            if (button)
                QTest::mouseClick(h.Frame().Button(IDC_STOP), Qt::LeftButton);
            else
                h.Frame().Action(ID_SCAN_STOP)->trigger();
            QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("StopScan")}));
        }
        h.Frame().Action(ID_APP_EXIT)->trigger();
        QVERIFY(!h.Frame().isVisible());
    }

    // 사용 설명서 hands the page to the shell; without one beside the program
    // the message names the places looked at, the program's own folder first.
    void theGuideItemOpensTheGuideThroughTheShell() {
        Harness h;
        const QString page = QString::fromUtf8("사용설명서.html");
        h.Frame().Action(ID_HELP_GUIDE)->trigger();
        QCOMPARE(Dialogs::Log().size(), 1);
        QVERIFY2(Dialogs::Log().value(0).startsWith(
                     QStringLiteral("show: ") +
                     QString::fromStdString(h.platform.Codec().ToUtf8(desktop::kGuideMissing)) +
                     QLatin1Char('\n') + QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                     page),
                 qPrintable(Dialogs::Log().value(0)));
        Dialogs::ClearLog();
        h.dir.Write(page, "<html></html>");
        h.Frame().Flows().SetProgramFolder(h.Cp(h.dir.Path()), '/');
        h.Frame().Action(ID_HELP_GUIDE)->trigger();
        QCOMPARE(Dialogs::Log(), QStringList({QStringLiteral("shell: open ") + h.dir.Path(page)}));
    }

    // 키 리스트 후보 내보내기 is greyed until a total with candidates beside it
    // is on show; then it asks for the file to write.
    void theCandidatesItemAsksForItsFile() {
        Harness h;
        QVERIFY(!h.Frame().Action(ID_EXPORT_CANDIDATES)->isEnabled());
        h.dir.Write(QStringLiteral("CheckOut/total.cand"),
                    "-\t-\t-\tTool\t1.0\tT.EXE\t10\t-\tCo\t-\tC:\\\t2\t\r\n");
        OpenTotal(h);
        QVERIFY(h.Frame().Action(ID_EXPORT_CANDIDATES)->isEnabled());
        h.Frame().Action(ID_EXPORT_CANDIDATES)->trigger();
        QCOMPARE(Dialogs::Log(), QStringList({QStringLiteral("save: (cancel)")}));
    }

    void keysReachTheirFlowsOnlyWhenEnabled() {
        Harness h;
        for (Qt::Key key : {Qt::Key_S, Qt::Key_A, Qt::Key_P})
            QTest::keyClick(&h.Frame(), key, Qt::ControlModifier);
        QVERIFY(Dialogs::Log().isEmpty());
        QTest::keyClick(&h.Frame(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(Dialogs::Log(), QStringList({QStringLiteral("open: (cancel)")}));
        OpenTotal(h);
        QTest::keyClick(&h.Frame(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&h.Frame(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(Dialogs::Log(), QStringList({QStringLiteral("save: (cancel)"),
                                              QStringLiteral("dialog: 결과별 인쇄 = rejected")}));
    }

    void theStartDialogChoosesADiskImageWhereOneCanBeRead() {
        Harness h;
        QStringList opened;
        h.Frame().Flows().SetDiskImageOpener([&](const std::string& path, std::string&) {
            opened << QString::fromStdString(path);
            return true;
        });
        QString before, after;
        Dialogs::SetNextFileName(QStringLiteral("/srv/win.vhdx"));
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            auto& dlg = static_cast<CUserInfoDlg&>(d);
            QVERIFY(dlg.DiskButton() && dlg.DiskField());
            before = dlg.DiskField()->text();
            dlg.DiskButton()->click();
            after = dlg.DiskField()->text();
            test::Press(d, QStringLiteral("button2"));
        });
        h.Frame().OnCommand(IDC_START);
        QCOMPARE(before, QStringLiteral("이 PC"));
        // Chosen, then given up with the cancelled dialog.
        QCOMPARE(opened, QStringList({QStringLiteral("/srv/win.vhdx"), QString()}));
        QCOMPARE(after, QStringLiteral("/srv/win.vhdx"));
    }

    void theStartDialogShowsTheDefaultsAndTakesTheTypedFields() {
        Harness h;
        QStringList defaults, readOnly;
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            auto& dlg = static_cast<CUserInfoDlg&>(d);
            for (int id :
                 {CUserInfoDlg::IDC_GROUP, CUserInfoDlg::IDC_MODEL, CUserInfoDlg::IDC_COMPUTER,
                  CUserInfoDlg::IDC_RESULT_NAME, CUserInfoDlg::IDC_USER}) {
                defaults << dlg.Field(id)->text();
                if (dlg.Field(id)->isReadOnly())
                    readOnly << QString::number(id);
            }
            test::SaveScreenshot(&d, QStringLiteral("04-user-info"));
            dlg.Field(CUserInfoDlg::IDC_GROUP)->setText(QStringLiteral("한국상사"));
            dlg.Field(CUserInfoDlg::IDC_RESULT_NAME)->setText(QStringLiteral("N1"));
            test::Press(d, QStringLiteral("button1"));
        });
        h.Frame().OnCommand(IDC_START);
        QCOMPARE(defaults.value(0), QString());
        QVERIFY(!defaults.value(1).isEmpty());
        QCOMPARE(defaults.mid(2), QStringList({QStringLiteral("PC01"), QStringLiteral("PC01"),
                                               QStringLiteral("kim")}));
        QCOMPARE(readOnly, QStringList({QStringLiteral("1042"), QStringLiteral("1040"),
                                        QStringLiteral("1041")}));
        QCOMPARE(h.Util().ScanResultPath(), h.Cp(QStringLiteral(".\\CheckOut\\한국상사_N1.ipt")));
        QCOMPARE(h.Frame().windowTitle(), QStringLiteral("OstravionV3.1-한국상사_N1.ipt"));
        // A refused character puts the focus in its field, selected.
        {
            Harness h3;
            Dialogs::Reset();
            QStringList focused;
            Dialogs::SetNextDialogAction([&](QDialog& d) {
                auto& dlg = static_cast<CUserInfoDlg&>(d);
                for (const auto& [group, name] : {std::pair{"A*B", "N1"}, std::pair{"AB", "N?1"}}) {
                    dlg.Field(CUserInfoDlg::IDC_GROUP)->setText(QString::fromLatin1(group));
                    dlg.Field(CUserInfoDlg::IDC_RESULT_NAME)->setText(QString::fromLatin1(name));
                    test::Press(d, QStringLiteral("button1"));
                    QLineEdit* at = qobject_cast<QLineEdit*>(d.focusWidget());
                    focused << (at ? at->objectName() + QLatin1Char(' ') + at->selectedText()
                                   : QStringLiteral("none"));
                }
            });
            h3.Frame().activateWindow();
            h3.Frame().OnCommand(IDC_START);
            QCOMPARE(
                focused,
                QStringList({QStringLiteral("edit%1 A*B").arg(CUserInfoDlg::IDC_GROUP),
                             QStringLiteral("edit%1 N?1").arg(CUserInfoDlg::IDC_RESULT_NAME)}));
        }
        // A refusal keeps the dialog open with its message.
        Harness h2;
        Dialogs::Reset();
        Dialogs::SetNextDialogAction(test::StartDialogOk(QString()));
        h2.Frame().OnCommand(IDC_START);
        QCOMPARE(test::Messages(),
                 QStringList({QStringLiteral("show: 회사(그룹)명은 필수항목 입니다.")}));
        QCOMPARE(Dialogs::Log().last(),
                 QStringLiteral("dialog: 사용자 정보를 입력하세요. = rejected"));
    }

    void theFileSelectionListsMarksAndNames() {
        Harness h;
        for (const char* name : {"b.ipt", "A.ipt", "c.ipt"})
            h.dir.Write(QStringLiteral("CheckOut/") + QLatin1String(name), "x");
        QStringList listed;
        QString preset;
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            auto& dlg = static_cast<CSelectFilesDlg&>(d);
            for (int i = 0; i < dlg.List()->topLevelItemCount(); ++i)
                listed << dlg.List()->topLevelItem(i)->text(0);
            preset = dlg.ResultNameEdit()->text();
            test::SaveScreenshot(&d, QStringLiteral("05-select-files"));
            // The first row is current: Space marks it at once.
            QTest::keyClick(dlg.List(), Qt::Key_Space);
            QCOMPARE(dlg.MarkedFiles(), std::vector<std::string>({"A.ipt"}));
            // "전체선택", then a click anywhere on a row toggles it.
            dlg.SelectAll()->click();
            QCOMPARE(dlg.MarkedFiles().size(), std::size_t(3));
            const QRect r = dlg.List()->visualItemRect(dlg.List()->topLevelItem(1));
            QTest::mouseClick(dlg.List()->viewport(), Qt::LeftButton, {}, r.center());
            QCOMPARE(dlg.MarkedFiles(), std::vector<std::string>({"A.ipt", "c.ipt"}));
            dlg.ResultNameEdit()->setText(QStringLiteral("Total"));
            test::Press(d, QStringLiteral("button1"));
        });
        h.Frame().OnCommand(IDC_CONSOLIDATE);
        QCOMPARE(listed, QStringList({QStringLiteral("A.ipt"), QStringLiteral("b.ipt"),
                                      QStringLiteral("c.ipt")}));
        QCOMPARE(preset, QStringLiteral("20240305090700"));
        QCOMPARE(h.Util().SelectedFiles(), std::vector<std::string>({"A.ipt", "c.ipt"}));
        QCOMPARE(h.Doc().calls.last(), QStringLiteral("Consolidate"));
    }

    void dropsAndTheCloseBoxGoThroughTheFlows() {
        Harness h;
        QVERIFY(h.Frame().acceptDrops());
        h.Frame().OpenDropped({QUrl::fromLocalFile(h.dir.Path(QStringLiteral("CheckOut/no.tls")))});
        QVERIFY(
            Dialogs::Log().value(0).startsWith(QStringLiteral("show: 파일을 열 수 없습니다.\n")));
        h.dir.Write(QStringLiteral("CheckOut/dropped.tls"), "x");
        h.Frame().OpenDropped(
            {QUrl::fromLocalFile(h.dir.Path(QStringLiteral("CheckOut/dropped.tls")))});
        QCOMPARE(h.Frame().windowTitle(), QStringLiteral("OstravionV3.1-dropped.tls"));

        h.Frame().Flows().WorkEdited();
        Dialogs::SetNextAnswer(false);
        h.Frame().close();
        QCOMPARE(test::Messages().last(), QStringLiteral("ask: 저장하시겠습니까? = no"));
        QVERIFY(!h.Frame().isVisible());
    }
};

OSTRAVION_APP_TEST(CommandWiringTest);
#include "CommandWiringTest.moc"
