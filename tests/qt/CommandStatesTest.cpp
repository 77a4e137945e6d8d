// The window's actions and buttons follow the command states event by event.
#include "desktop/CommandStates.h"
#include "qt/AppFixture.h"
#include "qt/CCommandBar.h"
#include "qt/CMainFrame.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace ostravion;
using namespace ostravion::gui;

namespace {

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
};

OSTRAVION_APP_TEST(CommandStatesTest);
#include "CommandStatesTest.moc"
