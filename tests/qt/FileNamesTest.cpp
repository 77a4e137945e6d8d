// Total files named with capitals on a file system that tells letter case
// apart, through the real window and document: opened and saved under a new
// name as they are spelled, and the lower-case total of an earlier version
// still opened by its name with capitals; and a save that fails keeps the
// work.
#include "qt/AppFixture.h"
#include "qt/CMainFrame.h"
#include "qt/ResultView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

    // Through the real window and document: a save that cannot write (a
    // folder is in the way of the new total) keeps the edited mark, opens no
    // result writing and keeps the window open at the close.
    void aFailedSaveKeepsTheWorkAndTheWindow() {
        test::RealApp s;
        QVERIFY(s.Start());
        s.CopyFixture("audit.tls");
        // A folder where the written result goes: no save can put it there.
        QVERIFY(QDir().mkpath(s.dir.Path(QStringLiteral("CheckOut/audit.rst"))));
        Dialogs::SetNextFileName(s.dir.Path(QStringLiteral("CheckOut/audit.tls")));
        s.Frame().OnCommand(ID_FILE_OPEN);
        QTRY_VERIFY(s.Rows() > 0);
        ResultListModel& model = static_cast<CResultView*>(s.Frame().View(0))->Model();
        const QModelIndex first = model.index(0, 0);
        const bool ticked = model.data(first, Qt::CheckStateRole).toInt() == Qt::Checked;
        QVERIFY(model.setData(first, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole));
        const QString edited = QStringLiteral("OstravionV3.1-audit.tls*");
        QCOMPARE(s.Frame().windowTitle(), edited);

        Dialogs::ClearLog();
        s.Frame().OnCommand(ID_FILE_SAVE);
        QCOMPARE(test::Messages(),
                 QStringList(
                     {QStringLiteral("show: Write File Open Error...!!\n파일을 쓸 수 없습니다.")}));
        QCOMPARE(s.Frame().windowTitle(), edited);
        QVERIFY(QFileInfo(s.dir.Path(QStringLiteral("CheckOut/audit.rst"))).isDir());

        Dialogs::ClearLog();
        Dialogs::SetNextAnswer(true);
        QVERIFY(!s.Frame().close());
        QCOMPARE(test::Messages(),
                 QStringList(
                     {QStringLiteral("ask: 저장하시겠습니까? = yes"),
                      QStringLiteral("show: Write File Open Error...!!\n파일을 쓸 수 없습니다.")}));
    }
};

OSTRAVION_APP_TEST(FileNamesTest);
#include "FileNamesTest.moc"
