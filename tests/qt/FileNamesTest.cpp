// Total files named with capitals on a file system that tells letter case
// apart, through the real window and document: opened and saved under a new
// name as they are spelled, and the lower-case total of an earlier version
// still opened by its name with capitals.
#include "qt/AppFixture.h"
#include "qt/CMainFrame.h"
#include "qt/ResultView.h"

#include <QFile>
#include <QTest>

using namespace ostravion;
using namespace ostravion::gui;

namespace {

QByteArray FixtureTotal() {
    QFile f(QStringLiteral(OSTRAVION_SOURCE_DIR "/tests/cli/report/CheckOut/audit.tls"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class FileNamesTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Dialogs::Reset(); }

    void openAndSaveAsKeepTheCase() {
        test::RealApp s;
        s.dir.Write(QStringLiteral("CheckOut/Audit.tls"), FixtureTotal());
        s.dir.Write(QStringLiteral("CheckOut/final.tls"), "another total");
        QVERIFY(s.Start());

        Dialogs::SetNextFileName(s.dir.Path(QStringLiteral("CheckOut/Audit.tls")));
        s.Frame().OnCommand(ID_FILE_OPEN);
        QCOMPARE(test::Messages(), QStringList());
        QTRY_VERIFY(s.Rows() > 0);
        QCOMPARE(s.Frame().windowTitle(), QStringLiteral("OstravionV3.1-Audit.tls"));

        // Save As writes the file chosen, not the other one of the same
        // letters in lower case.
        Dialogs::SetNextFileName(s.dir.Path(QStringLiteral("CheckOut/Final.tls")));
        s.Frame().OnCommand(ID_FILE_SAVE_AS);
        QVERIFY(
            s.dir.Read(QStringLiteral("CheckOut/Final.tls")).startsWith(FixtureTotal().left(8)));
        QCOMPARE(s.dir.Read(QStringLiteral("CheckOut/final.tls")), QByteArray("another total"));
        QCOMPARE(s.Frame().windowTitle(), QStringLiteral("OstravionV3.1-Final.tls"));
    }

    void earlierLowerCaseTotalIsOpened() {
        test::RealApp s;
        s.dir.Write(QStringLiteral("CheckOut/audit.tls"), FixtureTotal());
        QVERIFY(s.Start(s.dir.Path(QStringLiteral("CheckOut/Audit.tls"))));
        QCOMPARE(test::Messages(), QStringList());
        QTRY_VERIFY(s.Rows() > 0);
        QCOMPARE(s.Frame().windowTitle(), QStringLiteral("OstravionV3.1-audit.tls"));
        QVERIFY(!s.dir.Exists(QStringLiteral("CheckOut/Audit.tls")));
    }
};

OSTRAVION_APP_TEST(FileNamesTest);
#include "FileNamesTest.moc"
