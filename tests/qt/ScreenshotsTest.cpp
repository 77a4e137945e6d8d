// Pictures of the screens as a person sees them, written to the build's
// screenshot folder; each also checks what can be checked on the picture.
#include "qt/AppFixture.h"
#include "qt/CCommandBar.h"
#include "qt/CMainFrame.h"
#include "qt/CSelectFilesDlg.h"
#include "qt/CUserInfoDlg.h"
#include "qt/InfoBoxes.h"

#include "qt/Pictures.h"

#include <QLabel>
#include <QTest>

using namespace ostravion;
using namespace ostravion::gui;

class ScreenshotsTest : public QObject {
    Q_OBJECT
private slots:
    void afterStart() {
        test::Harness h;
        h.Frame().resize(1000, 700);
        QTest::qWait(50);
        const QImage shot = h.Frame().grab().toImage();
        QCOMPARE(shot.size(), QSize(1000, 700));
        test::SaveScreenshot(&h.Frame(), QStringLiteral("01-after-start"));
    }

    void informationBoxes() {
        test::WorkDir dir;
        pictures::SplashPicture().save(dir.Path(QStringLiteral("vxa.spl")), "BMP");
        COrgInfoDlg org;
        org.show();
        QVERIFY(QTest::qWaitForWindowExposed(&org));
        // The text fits its area.
        QLabel* text = org.TextArea();
        QVERIFY(text->heightForWidth(text->width()) <= text->height());
        test::SaveScreenshot(&org, QStringLiteral("08-org-info"));
        CAboutDlg about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QVERIFY(about.PictureControl()->geometry().bottom() < about.height());
        QVERIFY(about.PictureControl()->geometry().right() < about.width());
        test::SaveScreenshot(&about, QStringLiteral("09-about"));
    }
};

OSTRAVION_APP_TEST(ScreenshotsTest);
#include "ScreenshotsTest.moc"
