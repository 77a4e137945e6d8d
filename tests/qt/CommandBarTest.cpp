// The command bar: picture faces, the radio buttons' anchoring, the logo's
// alternation and its link area.
#include "qt/AppFixture.h"
#include "qt/CCommandBar.h"
#include "qt/CMainFrame.h"
#include "qt/Pictures.h"

#include <QRadioButton>
#include <QTest>

using namespace ostravion;
using namespace ostravion::gui;
using test::Harness;

class CommandBarTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Dialogs::Reset(); }

    void picturesHaveTheirSizes() {
        using namespace pictures;
        for (int id : {162, 199, 197, 189, 198, 196, 163, 203, 190, 184, 200, 191, 166, 206, 194})
            QCOMPARE(LoadBitmap(id).size(), QSize(kButtonWidth, kButtonHeight));
        QCOMPARE(LoadBitmap(BMP_TILE).size(), QSize(4, 60));
        QCOMPARE(LoadBitmap(BMP_LOGO_A).size(), QSize(228, 52));
        QCOMPARE(LoadBitmap(BMP_LOGO_B).size(), QSize(228, 52));
        QVERIFY(LoadBitmap(BMP_LOGO_A) != LoadBitmap(BMP_LOGO_B));
        QVERIFY(LoadBitmap(BMP_START_UP) != LoadBitmap(BMP_START_DISABLED));
        QVERIFY(LoadBitmap(999).isNull());
    }

    void buttonFaces() {
        Harness h;
        CMainFrame& f = h.Frame();
        // Disabled by the window: the disabled picture.
        QCOMPARE(f.Button(IDC_WRITE_RESULT)->CurrentBitmap(), 191);
        QCOMPARE(f.Button(IDC_PRINT)->CurrentBitmap(), 194);
        QCOMPARE(f.Button(IDC_STOP)->CurrentBitmap(), 196);
        // Enabled: up; pressed: the pressed picture; focused: the up picture again.
        CBitmapButton* start = f.Button(IDC_START);
        QCOMPARE(start->CurrentBitmap(), 162);
        start->setDown(true);
        QCOMPARE(start->CurrentBitmap(), 199);
        start->setDown(false);
        f.activateWindow();
        start->setFocus();
        QCOMPARE(start->CurrentFace(), CBitmapButton::Focused);
        QCOMPARE(start->CurrentBitmap(), 162);
        // The buttons lie left to right in their template order.
        int x = -1;
        for (int id : {IDC_START, IDC_STOP, IDC_CONSOLIDATE, IDC_WRITE_RESULT, IDC_PRINT}) {
            QVERIFY(f.Button(id)->x() > x);
            QCOMPARE(f.Button(id)->size(), QSize(65, 60));
            x = f.Button(id)->x();
        }
    }

    void buttonsRunTheirCommands() {
        Harness h;
        // 검사취합 opens the file selection; a disabled 결과작성 does nothing.
        QTest::mouseClick(h.Frame().Button(IDC_CONSOLIDATE), Qt::LeftButton);
        QCOMPARE(Dialogs::Log(),
                 QStringList({QStringLiteral("dialog: 취합할 파일을 선택하세요. = rejected")}));
        QTest::mouseClick(h.Frame().Button(IDC_WRITE_RESULT), Qt::LeftButton);
        QCOMPARE(Dialogs::Log().size(), 1);
    }

    void radioButtonsStayAnchoredRight() {
        Harness h;
        CCommandBar* bar = h.Frame().CommandBar();
        for (int width : {900, 1300, 760}) {
            h.Frame().resize(width, 600);
            QTRY_COMPARE(bar->Radio(IDC_NORMAL)->geometry(), QRect(bar->width() - 370, 20, 64, 20));
            QCOMPARE(bar->Radio(IDC_EXTENDED)->geometry(), QRect(bar->width() - 300, 20, 64, 20));
            QCOMPARE(bar->LogoPosition(), QPoint(bar->width() - 229, bar->height() - 57));
        }
        QVERIFY(bar->Radio(IDC_NORMAL)->isEnabled());
        QVERIFY(bar->Radio(IDC_EXTENDED)->isEnabled());
    }

    void aSmallWindowCoversNoButton() {
        Harness h;
        CMainFrame& f = h.Frame();
        f.resize(640, 420);
        CCommandBar* bar = f.CommandBar();
        QTRY_VERIFY(bar->width() < 640);
        const desktop::CommandBarPlaces places = bar->Places();
        const QRect logo(QPoint(places.logo.left, places.logo.top),
                         QPoint(places.logo.right - 1, places.logo.bottom - 1));
        for (int button : {IDC_START, IDC_STOP, IDC_CONSOLIDATE, IDC_WRITE_RESULT, IDC_PRINT}) {
            const QRect b = bar->Button(button)->geometry();
            for (int radio : {IDC_NORMAL, IDC_EXTENDED})
                QVERIFY2(!b.intersects(bar->Radio(radio)->geometry()),
                         qPrintable(QStringLiteral("%1 %2").arg(button).arg(radio)));
            QVERIFY(!places.logoShown || !b.intersects(logo));
        }
        // The radios stay inside the bar, after the last button.
        QVERIFY(bar->Radio(IDC_EXTENDED)->geometry().right() < bar->width());
        QTest::mouseClick(bar->Radio(IDC_EXTENDED), Qt::LeftButton);
        test::SaveScreenshot(&f, QStringLiteral("main-640x420"));
    }

    void logoAlternatesFromB() {
        Harness h;
        CCommandBar* bar = h.Frame().CommandBar();
        QCOMPARE(bar->LogoTimer().interval(), 2000);
        QVERIFY(bar->LogoTimer().isActive());
        QCOMPARE(bar->ShownLogo(), 211);
        bar->TimerTick();
        QCOMPARE(bar->ShownLogo(), 204);
        bar->TimerTick();
        QCOMPARE(bar->ShownLogo(), 211);
        bar->TimerTick();
        QCOMPARE(bar->ShownLogo(), 204);
        // The picture on screen is the logo drawn.
        const QImage shot = bar->grab().toImage();
        const QImage logo = pictures::LoadBitmap(204);
        const QPoint at = bar->LogoPosition();
        QCOMPARE(shot.pixel(at + QPoint(30, 26)), logo.pixel(30, 26));
    }

    void linkAreaOpensTheHomePage() {
        Harness h;
        CCommandBar* bar = h.Frame().CommandBar();
        const int right = bar->width();
        const QString open = QStringLiteral("shell: open ") + kHomePage;
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(right - 3, 5));
        QCOMPARE(Dialogs::Log(), QStringList({open}));
        for (QPoint p : {QPoint(right - 2, 5), QPoint(right - 230, 30), QPoint(right - 100, 4),
                         QPoint(right - 100, 55)})
            QTest::mouseClick(bar, Qt::LeftButton, {}, p);
        QCOMPARE(Dialogs::Log(), QStringList({open}));
        QTest::mouseClick(bar, Qt::RightButton, {}, QPoint(right - 100, 30));
        QCOMPARE(Dialogs::Log().size(), 1);
    }

    void pointerOverTheLink() {
        Harness h;
        CCommandBar* bar = h.Frame().CommandBar();
        QTest::mouseMove(bar, QPoint(bar->width() - 100, 30));
        QTRY_COMPARE(bar->cursor().shape(), Qt::BitmapCursor);
        QTest::mouseMove(bar, QPoint(bar->width() - 250, 30));
        QTRY_COMPARE(bar->cursor().shape(), Qt::ArrowCursor);
    }
};

OSTRAVION_APP_TEST(CommandBarTest);
#include "CommandBarTest.moc"
