// The splash window, the two information boxes and the command line.
#include "qt/AppFixture.h"
#include "qt/CCommandBar.h"
#include "qt/CMainFrame.h"
#include "qt/COstravionApp.h"
#include "qt/CSplashWnd.h"
#include "qt/InfoBoxes.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

using namespace ostravion;
using namespace ostravion::gui;

namespace {
void WritePicture(const QString& path, QSize size, QColor colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    img.save(path, "BMP");
}
} // namespace

class SplashTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        Dialogs::Reset();
        Dialogs::SetScripted(true);
        CSplashWnd::HideSplashScreen();
    }

    void commandLine() {
        const QString exe = QStringLiteral("ostravion");
        QVERIFY(ParseCommandLine({exe}).splash);
        QVERIFY(!ParseCommandLine({exe, QStringLiteral("/Embedding")}).splash);
        QVERIFY(!ParseCommandLine({exe, QStringLiteral("-Automation")}).splash);
        QVERIFY(!ParseCommandLine({exe, QStringLiteral("-embedding")}).splash);
        const CommandLine c =
            ParseCommandLine({exe, QStringLiteral("-x"), QStringLiteral("total.tls")});
        QVERIFY(c.splash);
        QCOMPARE(c.file, QStringLiteral("total.tls"));
    }

    void splashShowsCentredOnceForOneSecond() {
        test::WorkDir dir;
        WritePicture(dir.Path(QStringLiteral("vxa.spl")), QSize(400, 300), Qt::darkBlue);
        CSplashWnd::EnableSplashScreen(true);
        CSplashWnd::ShowSplashScreen(nullptr);
        CSplashWnd* splash = CSplashWnd::Current();
        QVERIFY(splash);
        QCOMPARE(splash->size(), QSize(400, 300));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(splash->pos(), QPoint(screen.x() + (screen.width() - 400) / 2,
                                       screen.y() + (screen.height() - 300) / 2));
        QCOMPARE(splash->grab().toImage().pixelColor(10, 10), QColor(Qt::darkBlue));
        // A second Show makes no second window.
        CSplashWnd::ShowSplashScreen(nullptr);
        QCOMPARE(CSplashWnd::Current(), splash);
        // A click does not end it; the timer does, after one second.
        QTest::mouseClick(splash, Qt::LeftButton);
        QCOMPARE(CSplashWnd::Current(), splash);
        QCOMPARE(splash->Timer().interval(), 1000);
        QVERIFY(splash->Timer().isSingleShot());
        QTRY_VERIFY_WITH_TIMEOUT(CSplashWnd::Current() == nullptr, 3000);
        CSplashWnd::EnableSplashScreen(false);
    }

    void noSplashWhenDisabledOrWithoutPicture() {
        test::WorkDir dir;
        CSplashWnd::EnableSplashScreen(true);
        CSplashWnd::ShowSplashScreen(nullptr); // no vxa.spl
        QVERIFY(CSplashWnd::Current() == nullptr);
        dir.Write(QStringLiteral("vxa.spl"), "not a picture");
        CSplashWnd::ShowSplashScreen(nullptr);
        QVERIFY(CSplashWnd::Current() == nullptr);
        WritePicture(dir.Path(QStringLiteral("vxa.spl")), QSize(40, 30), Qt::red);
        CSplashWnd::EnableSplashScreen(false);
        CSplashWnd::ShowSplashScreen(nullptr);
        QVERIFY(CSplashWnd::Current() == nullptr);
    }

    void applicationShowsTheSplashAtStart() {
        test::WorkDir dir;
        WritePicture(dir.Path(QStringLiteral("vxa.spl")), QSize(120, 80), Qt::green);
        test::TestPlatform platform;
        auto app = platform.MakeApp();
        QVERIFY(app->InitInstance(CommandLine()));
        QVERIFY(CSplashWnd::Current() != nullptr);
        CSplashWnd::HideSplashScreen();
        QVERIFY(CSplashWnd::Current() == nullptr);
        CSplashWnd::EnableSplashScreen(false);
    }

    void aboutBoxShowsThePictureOfTheMoment() {
        test::WorkDir dir;
        WritePicture(dir.Path(QStringLiteral("vxa.spl")), QSize(200, 150), Qt::red);
        {
            CAboutDlg box;
            QCOMPARE(box.windowTitle(), QStringLiteral("Ostravion V3.1 정보"));
            QCOMPARE(box.Picture().size(), QSize(200, 150));
            QCOMPARE(box.Picture().pixelColor(5, 5), QColor(Qt::red));
            // Drawn over the whole picture control, 291 × 263 dialog units.
            const QSize control(DluX(291), DluY(263));
            QCOMPARE(box.PictureControl()->size(), control);
            QCOMPARE(box.PictureControl()->pixmap().size(), control);
            test::SaveScreenshot(&box, QStringLiteral("about-box"));
        }
        WritePicture(dir.Path(QStringLiteral("vxa.spl")), QSize(220, 160), Qt::blue);
        {
            CAboutDlg box;
            QCOMPARE(box.Picture().size(), QSize(220, 160));
            QCOMPARE(box.Picture().pixelColor(5, 5), QColor(Qt::blue));
        }
        QFile::remove(dir.Path(QStringLiteral("vxa.spl")));
        CAboutDlg empty;
        QVERIFY(empty.Picture().isNull());
    }

    void organisationBoxText() {
        // The text's layout is the core's; the box shows it whole.
        COrgInfoDlg box;
        QCOMPARE(box.windowTitle(), QStringLiteral("Velmora 정보"));
        QVERIFY(box.TextArea()->text().contains(QStringLiteral("Ostravion")));
        QVERIFY(box.TextArea()->text().contains(kHomePage));
    }

    void helpMenuOpensTheBoxes() {
        test::Harness h;
        h.Frame().Action(ID_ABOUT_ORG)->trigger();
        h.Frame().Action(ID_ABOUT_PRODUCT)->trigger();
        QCOMPARE(Dialogs::Log(),
                 QStringList({QStringLiteral("dialog: Velmora 정보 = rejected"),
                              QStringLiteral("dialog: Ostravion V3.1 정보 = rejected")}));
    }
};

OSTRAVION_APP_TEST(SplashTest);
#include "SplashTest.moc"
