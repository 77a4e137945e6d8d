// Pictures of the screens as a person sees them, written to the build's
// screenshot folder; each also checks what can be checked on the picture.
#include "app/AppFixture.h"
#include "app/CCommandBar.h"
#include "app/CMainFrame.h"
#include "app/CSelectFilesDlg.h"
#include "app/CUserInfoDlg.h"
#include "app/InfoBoxes.h"

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
};

OSTRAVION_APP_TEST(ScreenshotsTest);
#include "ScreenshotsTest.moc"
