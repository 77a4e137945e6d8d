// The command-state table, event by event, on the table itself and on the
// real window's actions and buttons.
#include "desktop/CommandStates.h"
#include "app/AppFixture.h"
#include "app/CCommandBar.h"
#include "app/CMainFrame.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace ostravion;
using namespace ostravion::gui;

namespace {

// Every menu item and button as enabled (1) or greyed (0), in a fixed order:
// 열기 저장 다른이름 인쇄 미리보기 인쇄설정 종료 검사 취합 결과작성 정보 정보
QString MenuRow(const CommandStates& s) {
    QString r;
    for (int id : std::initializer_list<int>{ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS,
                                             ID_FILE_PRINT, ID_FILE_PREVIEW, ID_FILE_PRINT_SETUP,
                                             ID_APP_EXIT, s.ScanItemId(), ID_CONSOLIDATE,
                                             ID_WRITE_RESULT, ID_ABOUT_ORG, ID_ABOUT_PRODUCT})
        r += s.MenuEnabled(id) ? QLatin1Char('1') : QLatin1Char('0');
    return r;
}

// 검사시작 검사중지 검사취합 결과작성 인쇄
QString ButtonRow(const CommandStates& s) {
    QString r;
    for (int id : std::initializer_list<int>{IDC_START, IDC_STOP, IDC_CONSOLIDATE, IDC_WRITE_RESULT,
                                             IDC_PRINT})
        r += s.ButtonEnabled(id) ? QLatin1Char('1') : QLatin1Char('0');
    return r;
}

// The same rows read off the window's actions and buttons.
QString MenuRow(const CMainFrame& f) {
    QString r;
    for (int id : std::initializer_list<int>{ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS,
                                             ID_FILE_PRINT, ID_FILE_PREVIEW, ID_FILE_PRINT_SETUP,
                                             ID_APP_EXIT, ID_SCAN_START, ID_CONSOLIDATE,
                                             ID_WRITE_RESULT, ID_ABOUT_ORG, ID_ABOUT_PRODUCT})
        r += f.Action(id)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return r;
}

QString ButtonRow(const CMainFrame& f) {
    QString r;
    for (int id : std::initializer_list<int>{IDC_START, IDC_STOP, IDC_CONSOLIDATE, IDC_WRITE_RESULT,
                                             IDC_PRINT})
        r += f.Button(id)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return r;
}

} // namespace

class CommandStatesTest : public QObject {
    Q_OBJECT
private slots:
    void tableRows() {
        CommandStates s;
        s.WindowCreated();
        QCOMPARE(MenuRow(s), QStringLiteral("100001111011"));
        QCOMPARE(ButtonRow(s), QStringLiteral("10100"));
        QCOMPARE(s.ScanItemId(), int(ID_SCAN_START));

        s.DocumentConfirmed();
        QCOMPARE(MenuRow(s), QStringLiteral("111111111111"));
        QCOMPARE(ButtonRow(s), QStringLiteral("10111"));

        s.ScanStarted();
        QCOMPARE(s.ScanItemId(), int(ID_SCAN_STOP));
        QCOMPARE(MenuRow(s), QStringLiteral("000001110011"));
        QCOMPARE(ButtonRow(s), QStringLiteral("01000"));
        QVERIFY(s.MenuEnabled(ID_SCAN_STOP));
        QVERIFY(!s.MenuEnabled(ID_SCAN_START));

        // The walk's end: the menu is back, 검사시작 and 검사중지 wait for the answer.
        s.ScanCompleted();
        QCOMPARE(s.ScanItemId(), int(ID_SCAN_START));
        QCOMPARE(MenuRow(s), QStringLiteral("100001111011"));
        QCOMPARE(ButtonRow(s), QStringLiteral("01100"));

        s.ScanStopped();
        QCOMPARE(MenuRow(s), QStringLiteral("100001111011"));
        QCOMPARE(ButtonRow(s), QStringLiteral("10100"));
    }

    void stopAfterDocumentKeepsDocumentCommandsGreyed() {
        CommandStates s;
        s.WindowCreated();
        s.DocumentConfirmed();
        s.ScanStarted();
        s.ScanStopped();
        // After a scan only start, open and consolidate are usable.
        QCOMPARE(MenuRow(s), QStringLiteral("100001111011"));
        QCOMPARE(ButtonRow(s), QStringLiteral("10100"));
    }

    void windowFollowsEveryEvent() {
        test::Harness h;
        CMainFrame& f = h.Frame();
        QCOMPARE(MenuRow(f), QStringLiteral("100001111011"));
        QCOMPARE(ButtonRow(f), QStringLiteral("10100"));

        // Open confirmed.
        Dialogs::SetNextFileName(h.dir.Path(QStringLiteral("CheckOut/total.tls")));
        f.OnCommand(ID_FILE_OPEN);
        QCOMPARE(MenuRow(f), QStringLiteral("111111111111"));
        QCOMPARE(ButtonRow(f), QStringLiteral("10111"));

        // Save, Save As, Write result and the layout switch change nothing.
        Dialogs::SetNextAnswer(false);
        f.OnCommand(ID_WRITE_RESULT);
        f.OnCommand(ID_FILE_SAVE);
        f.OnCommand(IDC_EXTENDED);
        f.OnCommand(IDC_NORMAL);
        Dialogs::SetNextFileName(h.dir.Path(QStringLiteral("CheckOut/other.tls")));
        f.OnCommand(ID_FILE_SAVE_AS);
        QCOMPARE(MenuRow(f), QStringLiteral("111111111111"));
        QCOMPARE(ButtonRow(f), QStringLiteral("10111"));

        // Scan started: the 검사 item turns into 검사 종료.
        Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME")));
        f.OnCommand(IDC_START);
        QCOMPARE(MenuRow(f), QStringLiteral("000001110011"));
        QCOMPARE(ButtonRow(f), QStringLiteral("01000"));
        QCOMPARE(f.Action(ID_SCAN_STOP)->text(), QStringLiteral("검사 종료"));
        QCOMPARE(f.Action(ID_SCAN_STOP)->property("id").toInt(), int(ID_SCAN_STOP));

        // Stopped from the menu slot, which now carries 32772.
        f.Action(ID_SCAN_STOP)->trigger();
        QCOMPARE(f.Action(ID_SCAN_START)->text(), QStringLiteral("검사 시작"));
        QCOMPARE(MenuRow(f), QStringLiteral("100001111011"));
        QCOMPARE(ButtonRow(f), QStringLiteral("10100"));
    }

    void finishedScanWaitsForTheAnswer() {
        test::Harness h;
        CMainFrame& f = h.Frame();
        Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME")));
        f.OnCommand(ID_SCAN_START);
        // While the closing question is up, the menu is idle but 검사시작 is
        // still disabled and 검사중지 enabled.
        QString menuDuring, buttonsDuring;
        h.Doc().calls.clear();
        Dialogs::SetNextAnswer(false, [&] {
            menuDuring = MenuRow(f);
            buttonsDuring = ButtonRow(f);
        });
        h.Doc().running = false;
        f.OnScanCompleted();
        QCOMPARE(menuDuring, QStringLiteral("100001111011"));
        QCOMPARE(buttonsDuring, QStringLiteral("01100"));
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("StopScan")}));
        QCOMPARE(MenuRow(f), QStringLiteral("100001111011"));
        QCOMPARE(ButtonRow(f), QStringLiteral("10100"));
        QCOMPARE(h.Util().GetWorkState(), int(kIdle));
    }
};

OSTRAVION_APP_TEST(CommandStatesTest);
#include "CommandStatesTest.moc"
