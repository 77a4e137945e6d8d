// Inspections through the real window, document, walk and lists: a folder
// tree walked as drive C:, the programs in the two views, the end-of-scan
// question, the stop, Exit during a scan, and the double click that opens a
// row's folder.
#include "qt/AppFixture.h"
#include "qt/CCommandBar.h"
#include "qt/CMainFrame.h"
#include "qt/GuiDocument.h"
#include "qt/ResultView.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

using namespace ostravion;
using namespace ostravion::gui;

namespace {

const QString kDone = QStringLiteral("ask: 검색을 완료하였습니다.\n 프로그램을 닫으시겠습니까? = ");

// A work folder with the sample key list, and a tree beside it holding two
// programs of the list, one of them twice.
struct InspectionSetup {
    test::WorkDir dir;
    test::TestPlatform platform;
    std::unique_ptr<COstravionApp> app;

    explicit InspectionSetup(int extraFolders = 0) {
        Dialogs::SetScripted(true);
        Dialogs::Reset();
        QFile::copy(QStringLiteral(OSTRAVION_SOURCE_DIR "/samples/KEYLIST.DAT"),
                    dir.Path(QStringLiteral("KEYLIST.DAT")));
        Program(QStringLiteral("tree/Office 11/WINWORD.EXE"), 12345678);
        Program(QStringLiteral("tree/Office 11/readme.txt"), 10);
        Program(QStringLiteral("tree/한글/HWP.EXE"), 2345678);
        Program(QStringLiteral("tree/Backup/WINWORD.EXE"), 12345678);
        for (int i = 0; i < extraFolders; ++i)
            Program(QStringLiteral("tree/more/f%1/WINWORD.EXE").arg(i), 12345678);
        app = platform.MakeApp();
        CommandLine c;
        c.splash = false;
        c.scan.driveMap = {("C=" + dir.Path(QStringLiteral("tree"))).toStdString()};
        if (!app->InitInstance(c))
            qFatal("the application did not start");
    }
    void Program(const QString& relative, qint64 size) {
        dir.Write(relative, "MZ");
        QFile f(dir.Path(relative));
        f.resize(size); // sparse: the size is what counts
    }
    CMainFrame& Frame() { return *app->MainFrame(); }
    CResultView* View(int row) { return static_cast<CResultView*>(Frame().View(row)); }
    QByteArray Result() { return dir.Read(QStringLiteral("CheckOut/ACME_PC1.ipt")); }
    bool QuestionAsked() {
        for (const QString& l : Dialogs::Log())
            if (l.startsWith(kDone))
                return true;
        return false;
    }
    void Start() {
        Dialogs::SetNextDialogAction(
            test::StartDialogOk(QStringLiteral("ACME"), QStringLiteral("PC1"), true));
        Frame().OnCommand(IDC_START);
    }
};

} // namespace

class InspectionTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Dialogs::Reset(); }

    // Without its key list no scan starts: the message names where it was
    // looked for, the window is idle again, and neither a journal nor a
    // per-PC file claims a PC without programs.
    void aKeyListThatCannotBeReadEndsTheScanWithoutAFile() {
        InspectionSetup s;
        QFile::remove(s.dir.Path(QStringLiteral("KEYLIST.DAT")));
        const QString title = s.Frame().windowTitle();
        s.Start();
        QTRY_VERIFY_WITH_TIMEOUT(s.Frame().Button(IDC_START)->isEnabled(), 20000);
        QVERIFY(Dialogs::Log().contains(
            QStringLiteral("show: Key File Open Error...\n키 리스트 파일을 열 수 없습니다.\n키 "
                           "리스트를 찾아본 곳: ") +
            QDir::toNativeSeparators(s.dir.Path(QStringLiteral("KEYLIST.DAT")))));
        QCOMPARE(s.Frame().windowTitle(), title);
        QCOMPARE(s.Frame().MessagePane()->text(), QStringLiteral("준비"));
        QVERIFY(!s.dir.Exists(QStringLiteral("CheckOut/ACME_PC1.tmp")));
        QCOMPARE(s.app->Util().GetWorkState(), int(kIdle));
        QVERIFY(!s.Frame().Button(IDC_STOP)->isEnabled());
        QVERIFY(!s.dir.Exists(QStringLiteral("CheckOut/ACME_PC1.ipt")));
        QVERIFY(!s.QuestionAsked());
    }

    void completedScanFillsTheViewsAndAsks() {
        InspectionSetup s;
        QString paneDuring, menuDuring;
        Dialogs::SetNextAnswer(false, [&] {
            paneDuring = s.Frame().MessagePane()->text();
            test::SaveScreenshot(&s.Frame(), QStringLiteral("02-scan-finished"));
        });
        s.Start();
        QCOMPARE(s.Frame().windowTitle(), QStringLiteral("OstravionV3.1-ACME_PC1.ipt"));
        QTRY_VERIFY_WITH_TIMEOUT(s.QuestionAsked(), 20000);

        // Two programs above; the second WINWORD.EXE below as a duplicate.
        QCOMPARE(s.View(0)->Model().rowCount(), 2);
        QCOMPARE(s.View(1)->Model().rowCount(), 1);
        QCOMPARE(
            s.View(1)->Model().data(s.View(1)->Model().index(0, 1), Qt::DisplayRole).toString(),
            QStringLiteral("4"));
        QCOMPARE(s.View(0)->Model().headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("파일경로"));
        // 만든날짜: the date of the file on the folder that stands in for C:.
        const QString date =
            s.View(0)->Model().data(s.View(0)->Model().index(0, 5), Qt::DisplayRole).toString();
        QVERIFY2(
            QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$")).match(date).hasMatch(),
            qPrintable(date));
        // Answered No: the stop command wrote the file again, the same bytes.
        const QByteArray result = s.Result();
        QVERIFY(result.contains("Sample Word Processor"));
        QCOMPARE(s.Frame().MessagePane()->text(), QStringLiteral("준비"));
        QCOMPARE(s.app->Util().GetWorkState(), int(kIdle));
        QVERIFY(s.Frame().Button(IDC_START)->isEnabled());
        QVERIFY(!s.Frame().Button(IDC_STOP)->isEnabled());
        QVERIFY(!s.dir.Exists(QStringLiteral("CheckOut/ACME_PC1.tmp")));
        QCOMPARE(paneDuring, QStringLiteral("검색중"));
    }

    void doubleClickOpensTheRowsFolder() {
        InspectionSetup s;
        Dialogs::SetNextAnswer(false);
        s.Start();
        QTRY_VERIFY_WITH_TIMEOUT(s.QuestionAsked(), 20000);
        s.Frame().ShowExtendedLayout();
        CResultView* view = s.View(0);
        // Sorted by 파일경로 descending, the 한글 folder comes first.
        view->List().ColumnClicked(6);
        view->List().ColumnClicked(6);
        Dialogs::ClearLog();
        const QRect cell = view->visualRect(view->Model().index(0, 3));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(Dialogs::Log(), QStringList({QStringLiteral("shell: explore ") +
                                              s.dir.Path(QStringLiteral("tree/한글/"))}));
        // Outside any row: nothing.
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                           QPoint(5, view->viewport()->height() - 2));
        QCOMPARE(Dialogs::Log().size(), 1);
        // A folder that is no longer there is not handed to the desktop.
        QVERIFY(QDir(s.dir.Path(QStringLiteral("tree")))
                    .rename(QStringLiteral("한글"), QStringLiteral("gone")));
        Dialogs::ClearLog();
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(
            Dialogs::Log(),
            QStringList({QStringLiteral("show: File is Bad Path...\n경로가 올바르지 않습니다.")}));
    }

    void stopKeepsWhatWasFound() {
        InspectionSetup s(200);
        s.Start();
        // The scan thread waits at its first program until this thread takes it.
        QTRY_VERIFY(s.View(0)->Model().rowCount() + s.View(1)->Model().rowCount() >= 12);
        s.Frame().ShowExtendedLayout();
        test::SaveScreenshot(&s.Frame(), QStringLiteral("03-scanning"));
        s.Frame().OnCommand(IDC_STOP);
        const int upper = s.View(0)->List().RowCount();
        const int lower = s.View(1)->List().RowCount();
        QVERIFY(upper + lower < 203);
        const QByteArray written = s.Result();
        QVERIFY(!written.isEmpty());
        // Nothing more arrives after the stop.
        QTest::qWait(200);
        QCOMPARE(s.View(0)->List().RowCount(), upper);
        QCOMPARE(s.View(1)->List().RowCount(), lower);
        QCOMPARE(s.Result(), written);
        QVERIFY(!s.QuestionAsked());
        QVERIFY(s.Frame().Progress() == nullptr);
        // A completion that was on its way when the stop came asks nothing.
        static_cast<GuiDocument&>(s.app->Document()).Host().completed();
        QVERIFY(!s.QuestionAsked());
    }

    void exitDuringAScanWritesTheLastFile() {
        InspectionSetup s(200);
        s.Start();
        auto& doc = static_cast<GuiDocument&>(s.app->Document());
        QVERIFY(doc.ScanRunning());
        s.Frame().OnCommand(ID_APP_EXIT);
        QVERIFY(!s.Frame().isVisible());
        QVERIFY(!doc.ScanRunning());
        const QByteArray written = s.Result();
        QVERIFY(!written.isEmpty());
        QVERIFY(!s.dir.Exists(QStringLiteral("CheckOut/ACME_PC1.tmp")));
        // The window and its views go; no late program and no later write.
        s.app.reset();
        QTest::qWait(200);
        QCOMPARE(s.Result(), written);
        QVERIFY(!s.dir.Exists(QStringLiteral("CheckOut/ACME_PC1.tmp")));
        QVERIFY(!s.QuestionAsked());
    }

    void consolidateSaveAndOpenByClicking() {
        InspectionSetup s;
        // Two PCs inspected.
        for (const QString& name : {QStringLiteral("PC1"), QStringLiteral("PC2")}) {
            Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME"), name, true));
            Dialogs::SetNextAnswer(false);
            s.Frame().OnCommand(IDC_START);
            QTRY_VERIFY_WITH_TIMEOUT(s.QuestionAsked(), 20000);
            Dialogs::ClearLog();
        }
        QVERIFY(s.dir.Exists(QStringLiteral("CheckOut/ACME_PC2.ipt")));

        // 검사취합: both files, into "Total".
        Dialogs::SetNextDialogAction([](QDialog& d) {
            d.findChild<QCheckBox*>(QStringLiteral("selectAll"))->click();
            d.findChild<QLineEdit*>(QStringLiteral("resultName"))->setText(QStringLiteral("Total"));
            test::Press(d, QStringLiteral("button1"));
        });
        QTest::mouseClick(s.Frame().Button(IDC_CONSOLIDATE), Qt::LeftButton);
        QVERIFY(Dialogs::Log().contains(
            QStringLiteral("inform: 성공적으로 취합되었습니다.\nPC 2대 중 2대를 읽었습니다.")));
        QCOMPARE(s.Frame().windowTitle(), QStringLiteral("OstravionV3.1-Total.tls*"));
        CResultView* upper = s.View(0);
        QTRY_COMPARE(upper->Model().rowCount(), 2);
        QCOMPARE(upper->Model().columnCount(), 6);
        QVERIFY(upper->Model().data(upper->Model().index(0, 0), Qt::CheckStateRole).isValid());
        // Each program once, installed on both PCs.
        for (int r = 0; r < 2; ++r)
            QCOMPARE(upper->Model().data(upper->Model().index(r, 5), Qt::DisplayRole).toString(),
                     QStringLiteral("2"));
        // Nothing in the extended list: "일반" is chosen.
        QVERIFY(s.Frame().CommandBar()->Radio(IDC_NORMAL)->isChecked());
        QCOMPARE(s.View(1)->height(), 0);
        QVERIFY(s.Frame().Button(IDC_WRITE_RESULT)->isEnabled());
        test::SaveScreenshot(&s.Frame(), QStringLiteral("06-consolidated-normal"));
        QTest::mouseClick(s.Frame().CommandBar()->Radio(IDC_EXTENDED), Qt::LeftButton);
        test::SaveScreenshot(&s.Frame(), QStringLiteral("07-consolidated-extended"));

        // Save: the total and the written-result file; the first save leads on
        // to writing the result.
        Dialogs::ClearLog();
        QTest::keyClick(&s.Frame(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Dialogs::Log(), QStringList({QStringLiteral("inform: 저장되었습니다."),
                                              QStringLiteral("dialog: 결과 작성 = rejected")}));
        QCOMPARE(s.Frame().windowTitle(), QStringLiteral("OstravionV3.1-Total.tls"));
        QVERIFY(s.dir.Exists(QStringLiteral("CheckOut/Total.tls")));
        QVERIFY(s.dir.Exists(QStringLiteral("CheckOut/Total.rst")));

        // Open it again after a scan emptied the lists.
        Dialogs::SetNextDialogAction(
            test::StartDialogOk(QStringLiteral("ACME"), QStringLiteral("PC3"), true));
        Dialogs::SetNextAnswer(false);
        s.Frame().OnCommand(IDC_START);
        QTRY_VERIFY_WITH_TIMEOUT(s.QuestionAsked(), 20000);
        Dialogs::SetNextFileName(s.dir.Path(QStringLiteral("CheckOut/Total.tls")));
        QTest::keyClick(&s.Frame(), Qt::Key_O, Qt::ControlModifier);
        QTRY_COMPARE(upper->Model().rowCount(), 2);
        QCOMPARE(upper->Model().columnCount(), 6);
        QCOMPARE(s.Frame().windowTitle(), QStringLiteral("OstravionV3.1-Total.tls"));
        QCOMPARE(s.app->Util().GetWorkState(), int(kTotalOpened));
        QVERIFY(s.Frame().Action(ID_FILE_SAVE)->isEnabled());
    }

    void checkBoxEditMarksTheTotalEdited() {
        InspectionSetup s;
        Dialogs::SetNextAnswer(false);
        s.Start();
        QTRY_VERIFY_WITH_TIMEOUT(s.QuestionAsked(), 20000);
        // The total layout with a row, as an opened total shows it.
        auto& doc = static_cast<GuiDocument&>(s.app->Document());
        doc.SetLayoutMode(kTotalLayout);
        FoundProgram p;
        p.Origin = "2";
        p.ProgramName = "Sample Word Processor";
        p.Class = "1";
        doc.Doc().AddFoundProgram(p);
        s.app->Util().SetResultNames("total", CAuditUtil::NameForm::Name);
        s.app->Util().SetWorkState(kTotalOpened);
        CResultView* view = s.View(0);
        QTRY_COMPARE(view->Model().rowCount(), 1);
        const QModelIndex box = view->Model().index(0, 0);
        QCOMPARE(view->Model().data(box, Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(view->Model().setData(box, Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(view->List().GetCheck(0), 0);
        QCOMPARE(s.app->Util().GetWorkState(), int(kEdited));
        QCOMPARE(s.Frame().windowTitle(), QStringLiteral("OstravionV3.1-total.tls*"));
    }
};

OSTRAVION_APP_TEST(InspectionTest);
#include "InspectionTest.moc"
