// The main window's make-up: work folder, menu with ids, captions, keys and
// prompts, status bar, titles, the two layouts and the progress bar.
#include "qt/AppFixture.h"
#include "qt/CCommandBar.h"
#include "qt/CMainFrame.h"
#include "qt/CProgressBar.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <atomic>
#include <thread>

using namespace ostravion;
using namespace ostravion::gui;
using test::Harness;

namespace {

// "id caption | prompt" for every entry of a menu, "-" for a separator.
QStringList MenuEntries(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            out << QStringLiteral("-");
            continue;
        }
        out << QStringLiteral("%1 %2 | %3")
                   .arg(a->property("id").toInt())
                   .arg(a->text(), a->property("prompt").toString());
    }
    return out;
}

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Dialogs::Reset(); }

    void creationMakesTheWorkFolderAndIdleWindow() {
        Harness h;
        QVERIFY(QFileInfo(h.dir.Path(QStringLiteral("CheckOut"))).isDir());
        QCOMPARE(h.Frame().windowTitle(), QStringLiteral("Normal.tls - OstravionV3.1"));
        QCOMPARE(h.Frame().MessagePane()->text(), QStringLiteral("준비"));
        QCOMPARE(h.Frame().Indicator(0)->text(), QStringLiteral("CAP"));
        QCOMPARE(h.Frame().Indicator(1)->text(), QStringLiteral("NUM"));
        QCOMPARE(h.Frame().Indicator(2)->text(), QStringLiteral("SCRL"));
        QVERIFY(h.Frame().CommandBar()->Radio(IDC_NORMAL)->isChecked());
        QVERIFY(!h.Frame().CommandBar()->Radio(IDC_EXTENDED)->isChecked());
        QCOMPARE(h.Util().StartDirectory(), h.Cp(h.dir.Path()));
        // The normal layout: the lower view is hidden.
        QCOMPARE(h.Frame().View(1)->height(), 0);
        QVERIFY(h.Frame().View(0)->height() > 100);
    }

    void workFolderThatCannotBeMadeEndsTheProgram() {
        test::WorkDir dir;
        dir.Write(QStringLiteral("CheckOut"), "a file in the way");
        Dialogs::SetScripted(true);
        test::TestPlatform platform;
        auto app = platform.MakeApp();
        CommandLine noSplash;
        noSplash.splash = false;
        QVERIFY(!app->InitInstance(noSplash));
        QCOMPARE(Dialogs::Log(), QStringList({QStringLiteral("show: 폴더 생성 에러")}));
        QVERIFY(app->MainFrame() == nullptr);
    }

    void menuIdsCaptionsSeparatorsAndPrompts() {
        Harness h;
        const QList<QAction*> top = h.Frame().menuBar()->actions();
        QCOMPARE(top.size(), 5);
        QCOMPARE(top[0]->text(), QStringLiteral("파일(&F)"));
        QCOMPARE(top[1]->text(), QStringLiteral("검사(&S)"));
        QCOMPARE(top[2]->text(), QStringLiteral("취합(&U)"));
        QCOMPARE(top[3]->text(), QStringLiteral("보기(&V)"));
        QCOMPARE(top[4]->text(), QStringLiteral("도움말(&H)"));
        QCOMPARE(MenuEntries(top[0]->menu()),
                 QStringList({
                     QStringLiteral("32791 열기(&O)...\tCtrl+O | 기존 문서를 엽니다"),
                     QStringLiteral("32792 저장(&S)...\tCtrl+S | 현재 열린 문서를 저장합니다"),
                     QStringLiteral("32793 다른 이름으로 저장(&A)....\tCtrl+A | 현재 열린 문서를 "
                                    "다른 이름으로 저장합니다"),
                     QStringLiteral("-"),
                     QStringLiteral("32794 인쇄(&P)...\tCtrl+P | 현재 열린 문서를 인쇄합니다"),
                     QStringLiteral("32795 인쇄 미리 보기(&V) | 쪽 전체를 표시합니다"),
                     QStringLiteral("57606 인쇄 설정(&R)... | 프린터와 인쇄 옵션을 변경합니다"),
                     QStringLiteral("-"),
                     QStringLiteral("32796 종료(&X) | 응용 프로그램을 종료하기 위해 문서를 저장할 "
                                    "것인지 묻습니다"),
                 }));
        QCOMPARE(MenuEntries(top[1]->menu()), QStringList({QStringLiteral("32771 검사 시작 | ")}));
        QCOMPARE(
            MenuEntries(top[2]->menu()),
            QStringList({QStringLiteral("32773 검사 취합 | "), QStringLiteral("32774 결과 작성 | "),
                         QStringLiteral("-"),
                         QStringLiteral("32799 키 리스트 후보 내보내기… | 검사에서 찾았으나 키 "
                                        "리스트에 없는 프로그램을 검토할 파일로 씁니다")}));
        QCOMPARE(
            MenuEntries(top[3]->menu()),
            QStringList({QStringLiteral("1037 일반(&N) | 위 목록만 보여 줍니다"),
                         QStringLiteral("1038 확장(&E) | 아래에 확장 목록을 함께 보여 줍니다")}));
        QCOMPARE(
            MenuEntries(top[4]->menu()),
            QStringList({QStringLiteral("57664 Velmora 정보 | 프로그램 정보와 버전 정보, "
                                        "저작권 정보를 표시합니다"),
                         QStringLiteral("32797 Ostravion 정보 | "),
                         QStringLiteral("32798 사용 설명서 | 프로그램의 사용 설명서를 엽니다")}));
        QCOMPARE(h.Frame().Action(ID_FILE_OPEN)->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+O")));
        QCOMPARE(h.Frame().Action(ID_FILE_SAVE_AS)->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+A")));
        QCOMPARE(h.Frame().Action(ID_FILE_PRINT)->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+P")));
    }

    void promptShowsWhileHighlightedThenIdleText() {
        Harness h;
        QAction* open = h.Frame().Action(ID_FILE_OPEN);
        emit open->hovered();
        QCOMPARE(h.Frame().MessagePane()->text(), QStringLiteral("기존 문서를 엽니다"));
        emit h.Frame().Action(ID_SCAN_START)->hovered();
        QCOMPARE(h.Frame().MessagePane()->text(), QString());
        emit h.Frame().menuBar()->actions()[0]->menu()->aboutToHide();
        QCOMPARE(h.Frame().MessagePane()->text(), QStringLiteral("준비"));
    }

    void openKeyRunsOpenWhenEnabled() {
        Harness h;
        QTest::keyClick(&h.Frame(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(Dialogs::Log(), QStringList({QStringLiteral("open: (cancel)")}));
    }

    void titleShowsKoreanNames() {
        Harness h;
        // The title the flows set comes through the system code page.
        h.Util().SetResultNames(h.Cp(QStringLiteral("합계")), CAuditUtil::NameForm::Name);
        h.Frame().Flows().WorkEdited();
        QCOMPARE(h.Frame().windowTitle(), QStringLiteral("OstravionV3.1-합계.tls*"));
    }

    void layoutSwitchWithOddHeight() {
        Harness h;
        CMainFrame& f = h.Frame();
        // The outer height H counts the window frame.
        const int frame = f.frameGeometry().height() - f.height();
        f.resize(900, 601 - frame);
        QTRY_COMPARE(f.frameGeometry().height(), 601);
        QTest::mouseClick(f.CommandBar()->Radio(IDC_EXTENDED), Qt::LeftButton);
        QCOMPARE(f.RowIdealHeight(0), 300);
        QCOMPARE(f.RowIdealHeight(1), 300);
        // The upper row gets its 300 pixels, the lower row the rest.
        QCOMPARE(f.View(0)->height(), 300);
        QVERIFY(f.View(1)->height() >= CMainFrame::kRowMinimum);
        QCOMPARE(f.View(0)->height() + f.View(1)->height() + f.Splitter()->handleWidth(),
                 f.Splitter()->height());
        const int states = f.Action(ID_FILE_SAVE)->isEnabled();

        QTest::mouseClick(f.CommandBar()->Radio(IDC_NORMAL), Qt::LeftButton);
        QCOMPARE(f.RowIdealHeight(0), 601);
        QCOMPARE(f.RowIdealHeight(1), 0);
        QCOMPARE(f.View(1)->height(), 0);
        QCOMPARE(int(f.Action(ID_FILE_SAVE)->isEnabled()), states);

        // Shrunk with 확장 chosen, the lower row keeps a few rows above its
        // scroll bar, and so does the upper one.
        QTest::mouseClick(f.CommandBar()->Radio(IDC_EXTENDED), Qt::LeftButton);
        f.resize(640, 480 - frame);
        QTRY_COMPARE(f.frameGeometry().height(), 480);
        const int fewRows = CMainFrame::FewRowsHigh(f.View(1));
        QVERIFY(fewRows > 3 * 15);
        // The upper row's ideal height would leave the lower one less.
        QVERIFY(f.Splitter()->height() < f.RowIdealHeight(0) + fewRows);
        QCOMPARE(f.View(1)->height(), fewRows);
        QVERIFY(f.View(0)->height() >= fewRows);
        test::SaveScreenshot(&f, QStringLiteral("02-extended-640x480"));
        QCOMPARE(f.View(0)->height() + f.View(1)->height() + f.Splitter()->handleWidth(),
                 f.Splitter()->height());
        // With "일반" the lower row stays hidden.
        QTest::mouseClick(f.CommandBar()->Radio(IDC_NORMAL), Qt::LeftButton);
        QCOMPARE(f.View(1)->height(), 0);
    }

    // 보기's items choose the layout as the radios do, and show the choice.
    void viewMenuChoosesTheLayout() {
        Harness h;
        CMainFrame& f = h.Frame();
        QVERIFY(f.Action(IDC_NORMAL)->isChecked());
        f.Action(IDC_EXTENDED)->trigger();
        QVERIFY(f.CommandBar()->Radio(IDC_EXTENDED)->isChecked());
        QVERIFY(f.View(1)->height() > 0);
        QVERIFY(f.Action(IDC_EXTENDED)->isChecked());
        QTest::mouseClick(f.CommandBar()->Radio(IDC_NORMAL), Qt::LeftButton);
        QVERIFY(f.Action(IDC_NORMAL)->isChecked());
        QVERIFY(!f.Action(IDC_EXTENDED)->isChecked());
        QCOMPARE(f.View(1)->height(), 0);
        // The radios carry their keys too.
        QCOMPARE(f.CommandBar()->Radio(IDC_EXTENDED)->text(), QStringLiteral("확장(&E)"));
    }

    void f6MovesBetweenVisiblePanes() {
        Harness h;
        CMainFrame& f = h.Frame();
        f.ShowExtendedLayout();
        f.activateWindow();
        f.View(0)->setFocus();
        QTest::keyClick(&f, Qt::Key_F6);
        QVERIFY(f.View(1)->hasFocus());
        QTest::keyClick(&f, Qt::Key_F6, Qt::ShiftModifier);
        QVERIFY(f.View(0)->hasFocus());
        f.ShowNormalLayout();
        QTest::keyClick(&f, Qt::Key_F6);
        QVERIFY(f.View(0)->hasFocus()); // the hidden pane takes no focus
    }

    void progressBarPlacement() {
        Harness h;
        CMainFrame& f = h.Frame();
        const QString message = QStringLiteral("검사 결과 취합중...");
        h.Util().ShowProgress(h.Cp(message));
        CProgressBar* bar = f.Progress();
        QVERIFY(bar);
        QCOMPARE(f.MessagePane()->text(), message);
        const QFontMetrics fm(f.statusBar()->font());
        const QRect pane = f.MessagePane()->geometry();
        const int left = fm.horizontalAdvance(message) + 4 * fm.horizontalAdvance(QLatin1Char(' '));
        QCOMPARE(bar->geometry().left(), left);
        QCOMPARE(bar->geometry().right() + 1, pane.right() + 1);
        const int d = pane.height() / 10;
        QCOMPARE(bar->geometry().top(), pane.top() + d);
        QCOMPARE(bar->geometry().height(), pane.height() - 2 * d);

        // Narrower: placed again; narrower than the text: no width, never negative.
        f.resize(600, f.height());
        QTRY_COMPARE(bar->geometry().right() + 1, f.MessagePane()->geometry().right() + 1);
        h.Util().DestroyProgress();
        QVERIFY(f.Progress() == nullptr);
        QCOMPARE(f.MessagePane()->text(), QStringLiteral("준비"));

        const QString longer = QString(40, QChar(u'가'));
        h.Util().ShowProgress(h.Cp(longer));
        f.resize(f.minimumSizeHint().width(), f.height());
        QTRY_VERIFY(f.MessagePane()->geometry().right() < fm.horizontalAdvance(longer));
        QTRY_COMPARE(f.Progress()->geometry().width(), 0);
        QVERIFY(f.Progress()->geometry().left() >= fm.horizontalAdvance(longer));
        h.Util().DestroyProgress();
        QVERIFY(f.Progress() == nullptr);
        QCOMPARE(f.MessagePane()->text(), QStringLiteral("준비"));
    }

    void placementRule() {
        const QFontMetrics fm(QApplication::font());
        const int left =
            fm.horizontalAdvance(QStringLiteral("ab")) + 4 * fm.horizontalAdvance(QLatin1Char(' '));
        QRect r = CProgressBar::PlacementRect(fm, QStringLiteral("ab"), QRect(2, 3, 400, 20), 100);
        QCOMPARE(r, QRect(left, 5, 402 - left, 16));
        r = CProgressBar::PlacementRect(fm, QStringLiteral("ab"), QRect(2, 3, 400, 9), 100);
        QCOMPARE(r.height(), 9);
        r = CProgressBar::PlacementRect(fm, QStringLiteral("ab"), QRect(2, 3, 400, 20), 50);
        QCOMPARE(r.width(), (402 - left) * 50 / 100);
        r = CProgressBar::PlacementRect(fm, QStringLiteral("ab"), QRect(0, 0, 3, 20), 100);
        QCOMPARE(r.width(), 0);
        QCOMPARE(r.left(), left);
    }

    void progressStepsWrapAndFollowTheScanThread() {
        Harness h;
        h.Util().PrepareProgressRange(h.Cp(QStringLiteral("검색중")), 1);
        CProgressBar* bar = h.Frame().Progress();
        QCOMPARE(bar->maximum(), 1000);
        h.Util().NarrowStep(4); // 250
        h.Util().StepProgress(3);
        QCOMPARE(bar->value(), 750);
        h.Util().StepProgress(2); // 1250: past the end, again from the start
        QCOMPARE(bar->value(), 250);

        // Steps from another thread reach the widget on this one.
        std::thread worker([&] {
            h.Util().StepProgress(1);
            h.Util().FillProgress();
        });
        worker.join();
        QTRY_COMPARE(bar->value(), 1000);
        h.Util().DestroyProgress();
    }
};

OSTRAVION_APP_TEST(MainFrameTest);
#include "MainFrameTest.moc"
