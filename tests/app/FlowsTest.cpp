// The command flows of the main window with their questions, file dialogs
// and dialogs scripted: Open, Save, Save As, Consolidate, Write result, Exit
// and the start and stop of an inspection.
#include "app/AppFixture.h"
#include "app/CCommandBar.h"
#include "app/CMainFrame.h"
#include "app/CProgressBar.h"
#include "app/CSelectFilesDlg.h"
#include "app/CUserInfoDlg.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

using namespace ostravion;
using namespace ostravion::gui;
using test::Harness;

namespace {

const QString kAskSave = QStringLiteral("ask: 저장하시겠습니까? = %1");
const QString kOverwrite = QStringLiteral("같은 이름의 파일이 있습니다.\n 덮어쓰시겠습니까..?");

QString Answer(bool yes) {
    return kAskSave.arg(yes ? QStringLiteral("yes") : QStringLiteral("no"));
}

// The lines of the log that are questions or messages.
QStringList Questions() {
    QStringList out;
    for (const QString& l : Dialogs::Log())
        if (l.startsWith(QStringLiteral("ask: ")) || l.startsWith(QStringLiteral("show: ")))
            out << l;
    return out;
}

// Opens CheckOut/<name> through the Open flow.
void OpenTotal(Harness& h, const QString& name) {
    Dialogs::SetNextFileName(h.dir.Path(QStringLiteral("CheckOut/") + name));
    h.Frame().OnCommand(ID_FILE_OPEN);
}

// Ticks the given rows of the consolidation dialog, types the name, presses OK.
test::DialogAction ConsolidateOk(QList<int> rows, const QString& name) {
    return [rows, name](QDialog& d) {
        auto& dlg = static_cast<CSelectFilesDlg&>(d);
        for (int r : rows) {
            QTreeWidget* list = dlg.List();
            const QRect rect = list->visualItemRect(list->topLevelItem(r));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        }
        dlg.ResultNameEdit()->setText(name);
        test::Press(d, QStringLiteral("button1"));
    };
}

} // namespace

class FlowsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Dialogs::Reset(); }

    void openCancelledChangesNothing() {
        Harness h;
        const QString title = h.Frame().windowTitle();
        h.Frame().OnCommand(ID_FILE_OPEN);
        QVERIFY(h.Doc().calls.isEmpty());
        QCOMPARE(h.Util().GetWorkState(), int(kIdle));
        QCOMPARE(h.Frame().windowTitle(), title);
        QVERIFY(!h.Frame().Action(ID_FILE_SAVE)->isEnabled());
    }

    void openLoadsTheTotalWithProgressAndTitle() {
        Harness h;
        QString paneDuringLoad;
        bool barDuringLoad = false;
        h.Doc().onCall = [&](const QString& call) {
            if (call == QStringLiteral("LoadTotal")) {
                paneDuringLoad = h.Frame().MessagePane()->text();
                barDuringLoad = h.Frame().Progress() != nullptr;
            }
        };
        h.Doc().extendedRows = true;
        const QString start = QDir::currentPath();
        // The dialog leaves another folder current, as a real one may.
        Dialogs::SetNextFileName(h.dir.Path(QStringLiteral("CheckOut/total.tls")),
                                 [] { QDir::setCurrent(QDir::tempPath()); });
        h.Frame().OnCommand(ID_FILE_OPEN);

        QCOMPARE(h.Doc().calls,
                 QStringList({QStringLiteral("SetLayoutMode 0"), QStringLiteral("LoadTotal")}));
        QCOMPARE(QDir::currentPath(), start);
        QCOMPARE(h.Util().GetWorkState(), int(kTotalOpened));
        QCOMPARE(h.Util().TotalFileName(), std::string("total.tls"));
        QCOMPARE(h.Frame().windowTitle(), QStringLiteral("OstravionV3.1-total.tls"));
        QCOMPARE(paneDuringLoad, QStringLiteral("결과 파일 읽는 중..."));
        QVERIFY(barDuringLoad);
        QVERIFY(h.Frame().Progress() == nullptr);
        QCOMPARE(h.Frame().MessagePane()->text(), QStringLiteral("준비"));
        // Rows in the extended view: "확장" is chosen.
        QVERIFY(h.Frame()
                    .CommandBar()
                    ->findChild<QRadioButton*>(QStringLiteral("radio1038"))
                    ->isChecked());
        QVERIFY(h.Frame().Action(ID_FILE_SAVE)->isEnabled());

        // A second open in the total layout clears the views instead.
        h.Doc().calls.clear();
        OpenTotal(h, QStringLiteral("again.tls"));
        QCOMPARE(h.Doc().calls,
                 QStringList({QStringLiteral("ClearViews"), QStringLiteral("LoadTotal")}));
    }

    void droppedTotalIsOpened() {
        Harness h;
        auto drop = [&](const QString& path) {
            h.Frame().OpenDropped({QUrl::fromLocalFile(path)});
        };
        QVERIFY(h.Frame().acceptDrops());
        drop(h.dir.Path(QStringLiteral("CheckOut/missing.tls")));
        QVERIFY(Dialogs::Log().value(0).startsWith(QStringLiteral("show: 파일을 열 수 없습니다.")));
        QVERIFY(h.Doc().calls.isEmpty());

        h.dir.Write(QStringLiteral("CheckOut/dropped.tls"), "x");
        drop(h.dir.Path(QStringLiteral("CheckOut/dropped.tls")));
        QCOMPARE(h.Doc().calls,
                 QStringList({QStringLiteral("SetLayoutMode 0"), QStringLiteral("LoadTotal")}));
        QCOMPARE(h.Util().TotalFileName(), std::string("dropped.tls"));
        QCOMPARE(h.Frame().windowTitle(), QStringLiteral("OstravionV3.1-dropped.tls"));
        QVERIFY(h.Frame().Action(ID_FILE_SAVE)->isEnabled());

        // Nothing is opened while a scan runs.
        Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME")));
        h.Frame().OnCommand(IDC_START);
        h.Doc().calls.clear();
        drop(h.dir.Path(QStringLiteral("CheckOut/dropped.tls")));
        QVERIFY(h.Doc().calls.isEmpty());
    }

    void firstSaveAsksForResultWritingOnce() {
        Harness h;
        int writings = 0;
        h.Frame().resultWriting = [&] { ++writings; };
        OpenTotal(h, QStringLiteral("total.tls"));
        h.Util().SetWorkState(kEdited);
        h.Frame().UpdateTitle(2);
        h.Doc().calls.clear();
        int stateDuringSave = -1;
        h.Doc().onCall = [&](const QString&) { stateDuringSave = h.Util().GetWorkState(); };
        QTest::keyClick(&h.Frame(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("SaveTotal")}));
        QCOMPARE(stateDuringSave, int(kEdited));
        QCOMPARE(h.Util().GetWorkState(), int(kSaved));
        QCOMPARE(h.Frame().windowTitle(), QStringLiteral("OstravionV3.1-total.tls"));
        QCOMPARE(writings, 1);

        // Once the written-result file exists, Save saves only.
        h.dir.Write(QStringLiteral("CheckOut/total.rst"), "x");
        h.Frame().OnCommand(ID_FILE_SAVE);
        QCOMPARE(writings, 1);
        QCOMPARE(h.Doc().calls.size(), 2);
    }

    void saveKeyDoesNothingWhileGreyed() {
        Harness h;
        QTest::keyClick(&h.Frame(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(&h.Frame(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&h.Frame(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(h.Doc().calls.isEmpty());
        QVERIFY(Dialogs::Log().isEmpty());
    }

    void saveAsRecordsThePreviousTotal() {
        Harness h;
        int writings = 0;
        h.Frame().resultWriting = [&] { ++writings; };
        OpenTotal(h, QStringLiteral("total.tls"));
        const std::string previous = h.Util().ResultPath(".tls");
        h.Doc().calls.clear();

        h.Frame().OnCommand(ID_FILE_SAVE_AS); // cancelled
        QVERIFY(h.Doc().calls.isEmpty());
        QCOMPARE(h.Util().GetWorkState(), int(kTotalOpened));

        int stateDuringSave = -1;
        h.Doc().onCall = [&](const QString&) { stateDuringSave = h.Util().GetWorkState(); };
        Dialogs::SetNextFileName(h.dir.Path(QStringLiteral("CheckOut/other.tls")));
        QTest::keyClick(&h.Frame(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("SaveTotal")}));
        QCOMPARE(stateDuringSave, int(kSavedAs));
        QCOMPARE(h.Util().PreviousTotalPath(), previous);
        QCOMPARE(h.Util().TotalFileName(), std::string("other.tls"));
        QCOMPARE(h.Frame().windowTitle(), QStringLiteral("OstravionV3.1-other.tls"));
        QCOMPARE(writings, 1);
    }

    void consolidateListsChecksAndMerges() {
        Harness h;
        for (const char* name : {"b.ipt", "A.ipt", "c.IPT", "x.txt"})
            h.dir.Write(QStringLiteral("CheckOut/") + QLatin1String(name), "x");
        QDir().mkpath(h.dir.Path(QStringLiteral("CheckOut/d.ipt")));

        QStringList listed;
        QString preset;
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            auto& dlg = static_cast<CSelectFilesDlg&>(d);
            for (int i = 0; i < dlg.List()->topLevelItemCount(); ++i)
                listed << dlg.List()->topLevelItem(i)->text(0);
            preset = dlg.ResultNameEdit()->text();
            test::SaveScreenshot(&d, QStringLiteral("05-select-files"));
        });
        Dialogs::SetNextDialogAction(ConsolidateOk({0, 2}, QStringLiteral("Total")));
        int stateDuring = -1;
        h.Doc().onCall = [&](const QString&) { stateDuring = h.Util().GetWorkState(); };
        h.Frame().OnCommand(IDC_CONSOLIDATE);

        QCOMPARE(listed, QStringList({QStringLiteral("A.ipt"), QStringLiteral("b.ipt"),
                                      QStringLiteral("c.IPT")}));
        QCOMPARE(preset, QStringLiteral("20240305090700"));
        QCOMPARE(h.Util().SelectedFiles(), std::vector<std::string>({"A.ipt", "c.IPT"}));
        QCOMPARE(h.Util().TotalFileName(), std::string("Total.tls"));
        QCOMPARE(h.Frame().windowTitle(), QStringLiteral("OstravionV3.1-Total.tls*"));
        QCOMPARE(h.Doc().calls,
                 QStringList({QStringLiteral("SetLayoutMode 0"), QStringLiteral("Consolidate")}));
        QCOMPARE(stateDuring, int(kConsolidated));
        QVERIFY(h.Frame().Action(ID_WRITE_RESULT)->isEnabled());
        QVERIFY(h.Frame().Progress() == nullptr);
    }

    void consolidateWithNothingMarkedStops() {
        Harness h;
        h.dir.Write(QStringLiteral("CheckOut/a.ipt"), "x");
        Dialogs::SetNextDialogAction(ConsolidateOk({}, QStringLiteral("Total")));
        h.Frame().OnCommand(ID_CONSOLIDATE);
        QCOMPARE(Questions(), QStringList({QStringLiteral("show: 선택된 파일이 없습니다.")}));
        QVERIFY(h.Doc().calls.isEmpty());
        QCOMPARE(h.Util().GetWorkState(), int(kIdle));
    }

    void selectAllMarksAndClearsEveryRow() {
        Harness h;
        for (const char* name : {"a.ipt", "b.ipt", "c.ipt"})
            h.dir.Write(QStringLiteral("CheckOut/") + QLatin1String(name), "x");
        CSelectFilesDlg dlg(h.Util(), h.platform.Codec(), h.platform.clock);
        dlg.SelectAll()->click();
        QCOMPARE(dlg.MarkedFiles().size(), std::size_t(3));
        // A click on a row toggles it, whichever column or part of the row.
        const QRect r = dlg.List()->visualItemRect(dlg.List()->topLevelItem(1));
        QTest::mouseClick(dlg.List()->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(dlg.MarkedFiles(), std::vector<std::string>({"a.ipt", "c.ipt"}));
        dlg.SelectAll()->click();
        QVERIFY(dlg.MarkedFiles().empty());
    }

    void consolidateIntoAnExistingTotalAsksFirst() {
        Harness h;
        h.dir.Write(QStringLiteral("CheckOut/a.ipt"), "x");
        h.dir.Write(QStringLiteral("CheckOut/total.tls"), "old");
        // No: back to the dialog, where another name is typed.
        Dialogs::SetNextDialogAction(ConsolidateOk({0}, QStringLiteral("total")));
        Dialogs::SetNextAnswer(false);
        Dialogs::SetNextDialogAction([](QDialog& d) {
            static_cast<CSelectFilesDlg&>(d).ResultNameEdit()->setText(QStringLiteral("fresh"));
            test::Press(d, QStringLiteral("button1"));
        });
        h.Frame().OnCommand(ID_CONSOLIDATE);
        QCOMPARE(Questions(),
                 QStringList({QStringLiteral("ask: ") + kOverwrite + QStringLiteral(" = no")}));
        QCOMPARE(h.Util().TotalFileName(), std::string("fresh.tls"));
        QVERIFY(h.Doc().calls.contains(QStringLiteral("Consolidate")));

        // Yes: merged into it.
        Dialogs::Reset();
        h.Doc().calls.clear();
        Dialogs::SetNextDialogAction(ConsolidateOk({0}, QStringLiteral("total.tls")));
        Dialogs::SetNextAnswer(true);
        h.Frame().OnCommand(ID_CONSOLIDATE);
        QCOMPARE(h.Util().TotalFileName(), std::string("total.tls"));
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("Consolidate")}));
    }

    void writeResultWithoutWrittenFile() {
        Harness h;
        int writings = 0;
        h.Frame().resultWriting = [&] { ++writings; };
        OpenTotal(h, QStringLiteral("total.tls"));
        h.Doc().calls.clear();

        Dialogs::SetNextAnswer(false);
        h.Frame().OnCommand(IDC_WRITE_RESULT);
        QCOMPARE(Questions(), QStringList({Answer(false)}));
        QCOMPARE(h.Util().GetWorkState(), int(kTotalOpened));
        QCOMPARE(writings, 0);

        // Yes: saved once, the dialog opened once.
        int stateDuringSave = -1;
        h.Doc().onCall = [&](const QString&) { stateDuringSave = h.Util().GetWorkState(); };
        Dialogs::SetNextAnswer(true);
        h.Frame().OnCommand(ID_WRITE_RESULT);
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("SaveTotal")}));
        QCOMPARE(stateDuringSave, int(kWritingResult));
        QCOMPARE(writings, 1);
    }

    void writeResultWithWrittenFile() {
        Harness h;
        int writings = 0;
        h.Frame().resultWriting = [&] { ++writings; };
        OpenTotal(h, QStringLiteral("total.tls"));
        h.dir.Write(QStringLiteral("CheckOut/total.rst"), "x");
        h.Doc().calls.clear();

        // Not edited: go on writing without saving (two blanks after the break).
        Dialogs::SetNextAnswer(true);
        h.Frame().OnCommand(ID_WRITE_RESULT);
        QCOMPARE(Questions(),
                 QStringList({QStringLiteral(
                     "ask: 이미 작성된 파일이 있습니다.\n  계속 작성하시겠습니까? = yes")}));
        QVERIFY(h.Doc().calls.isEmpty());
        QCOMPARE(h.Util().GetWorkState(), int(kWritingResult));
        QCOMPARE(writings, 1);

        // Edited: save first (one blank after the break).
        Dialogs::Reset();
        h.Util().SetWorkState(kEdited);
        Dialogs::SetNextAnswer(true);
        h.Frame().OnCommand(ID_WRITE_RESULT);
        QCOMPARE(Questions(),
                 QStringList({QStringLiteral(
                     "ask: 이미 작성된 파일이 있습니다.\n 저장후 계속 작성하시겠습니까? = yes")}));
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("SaveTotal")}));
        QCOMPARE(writings, 2);

        // No: nothing, the state stays.
        h.Util().SetWorkState(kEdited);
        Dialogs::SetNextAnswer(false);
        h.Frame().OnCommand(ID_WRITE_RESULT);
        QCOMPARE(h.Util().GetWorkState(), int(kEdited));
        QCOMPARE(writings, 2);
    }

    void printAsksForTheConfirmationSheetsResult() {
        Harness h;
        OpenTotal(h, QStringLiteral("total.tls"));
        QStringList printed;
        h.Frame().printSelection = [&] {
            h.Util().SetReportKind(4);
            return true;
        };
        h.Frame().printReport = [&](bool preview) {
            printed << (preview ? QStringLiteral("preview") : QStringLiteral("print"));
        };
        Dialogs::SetNextPrinter(h.dir.Path(QStringLiteral("printed.pdf")));
        Dialogs::SetNextAnswer(false);
        h.Frame().OnCommand(IDC_PRINT);
        QCOMPARE(Questions(), QStringList({Answer(false)}));
        QCOMPARE(printed, QStringList({QStringLiteral("print")}));
        QCOMPARE(h.Util().GetWorkState(), int(kPrinted));

        // Another report prints directly; Cancel in the selection does nothing.
        Dialogs::Reset();
        h.Frame().printSelection = [&] {
            h.Util().SetReportKind(1);
            return true;
        };
        h.Frame().OnCommand(ID_FILE_PREVIEW);
        QVERIFY(Questions().isEmpty());
        QCOMPARE(printed.last(), QStringLiteral("preview"));
        h.Util().SetWorkState(kSaved);
        h.Frame().printSelection = [] { return false; };
        h.Frame().OnCommand(ID_FILE_PRINT);
        QCOMPARE(h.Util().GetWorkState(), int(kSaved));
    }

    void exitAsksOnlyAfterConsolidationOrEdit() {
        for (int state : {int(kConsolidated), int(kEdited)}) {
            for (bool yes : {true, false}) {
                Harness h;
                h.Util().SetWorkState(state);
                Dialogs::SetNextAnswer(yes);
                h.Frame().OnCommand(ID_APP_EXIT);
                QCOMPARE(Questions(), QStringList({Answer(yes)}));
                QCOMPARE(h.Doc().calls.contains(QStringLiteral("SaveTotal")), yes);
                QVERIFY(!h.Frame().isVisible());
                QVERIFY(!h.Doc().calls.contains(QStringLiteral("StopScan")));
            }
        }
        for (int state : {int(kIdle), int(kTotalOpened), int(kSaved), int(kPrinted)}) {
            Harness h;
            h.Util().SetWorkState(state);
            h.Frame().OnCommand(ID_APP_EXIT);
            QVERIFY(Questions().isEmpty());
            QVERIFY(!h.Frame().isVisible());
        }
    }

    void closeBoxRunsTheExitFlow() {
        Harness h;
        h.Util().SetWorkState(kEdited);
        Dialogs::SetNextAnswer(false);
        h.Frame().close();
        QCOMPARE(Questions(), QStringList({Answer(false)}));
        QVERIFY(!h.Frame().isVisible());
    }

    void exitWhileScanningWritesTheResultAndCloses() {
        Harness h;
        Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME")));
        h.Frame().OnCommand(ID_SCAN_START);
        h.Doc().calls.clear();
        h.Frame().OnCommand(ID_APP_EXIT);
        QVERIFY(Questions().isEmpty());
        // One write, by the stop that ends the scan's thread.
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("StopScan")}));
        QVERIFY(!h.Frame().isVisible());
    }

    void startInspectionFillsFactsPathsAndTitle() {
        Harness h;
        QStringList defaults;
        QStringList readOnly;
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            auto& dlg = static_cast<CUserInfoDlg&>(d);
            for (int id :
                 {CUserInfoDlg::IDC_GROUP, CUserInfoDlg::IDC_MODEL, CUserInfoDlg::IDC_COMPUTER,
                  CUserInfoDlg::IDC_RESULT_NAME, CUserInfoDlg::IDC_USER}) {
                defaults << dlg.Field(id)->text();
                if (dlg.Field(id)->isReadOnly())
                    readOnly << QString::number(id);
            }
            test::SaveScreenshot(&d, QStringLiteral("04-user-info"));
            dlg.Field(CUserInfoDlg::IDC_GROUP)->setText(QStringLiteral("ACME"));
            dlg.Field(CUserInfoDlg::IDC_RESULT_NAME)->setText(QStringLiteral("N1"));
            test::Press(d, QStringLiteral("button1"));
        });
        bool barDuringStart = false;
        QString pane;
        h.Doc().onCall = [&](const QString&) {
            barDuringStart = h.Frame().Progress() != nullptr;
            pane = h.Frame().MessagePane()->text();
        };
        h.Frame().OnCommand(IDC_START);

        QCOMPARE(defaults[0], QString());
        QCOMPARE(defaults[2], QStringLiteral("PC01"));
        QCOMPARE(defaults[3], QStringLiteral("PC01"));
        QCOMPARE(defaults[4], QStringLiteral("kim"));
        QVERIFY(!defaults[1].isEmpty());
        QCOMPARE(readOnly, QStringList({QStringLiteral("1042"), QStringLiteral("1040"),
                                        QStringLiteral("1041")}));
        QCOMPARE(h.Util().JournalPath(), std::string(".\\CheckOut\\ACME_N1.tmp"));
        QCOMPARE(h.Util().ScanResultPath(), std::string(".\\CheckOut\\ACME_N1.ipt"));
        const PcFacts f = h.Util().GetPcFacts();
        QCOMPARE(f.Group, std::string("ACME"));
        QCOMPARE(f.ComputerName, std::string("N1"));
        QCOMPARE(f.User, std::string("kim"));
        QCOMPARE(f.ScanTime, std::string("2024-3-5, 9:7 "));
        QCOMPARE(h.Frame().windowTitle(), QStringLiteral("OstravionV3.1-ACME_N1.ipt"));
        QCOMPARE(h.Util().GetWorkState(), int(kScanning));
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("StartScan")}));
        QVERIFY(barDuringStart);
        QCOMPARE(pane, QStringLiteral("검색중"));

        // Stop: results written, commands back, the bar gone.
        h.Doc().calls.clear();
        h.Frame().OnCommand(IDC_STOP);
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("StopScan")}));
        QCOMPARE(h.Util().GetWorkState(), int(kIdle));
        QVERIFY(h.Frame().Progress() == nullptr);
        QCOMPARE(h.Frame().MessagePane()->text(), QStringLiteral("준비"));
    }

    void startDialogRules() {
        Harness h;
        h.dir.Write(QStringLiteral("CheckOut/ACME_PC01.ipt"), "old");
        // An empty group is refused; an existing result file needs a Yes.
        Dialogs::SetNextDialogAction(test::StartDialogOk(QString()));
        Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME")));
        Dialogs::SetNextAnswer(false);
        Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME")));
        Dialogs::SetNextAnswer(true);
        h.Frame().OnCommand(IDC_START);
        QCOMPARE(Questions(),
                 QStringList({QStringLiteral("show: 회사(그룹)명은 필수항목 입니다."),
                              QStringLiteral("ask: ") + kOverwrite + QStringLiteral(" = no"),
                              QStringLiteral("ask: ") + kOverwrite + QStringLiteral(" = yes")}));
        QCOMPARE(h.Util().GetWorkState(), int(kScanning));

        // An empty result file name: the base ends with the underscore.
        Harness h2;
        Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("G"), QString(), true));
        h2.Frame().OnCommand(IDC_START);
        QCOMPARE(h2.Util().ScanResultPath(), std::string(".\\CheckOut\\G_.ipt"));
    }

    void typedNamesThatLeaveTheWorkFolderAreRefused() {
        const QString bad = QStringLiteral("show: File is Bad Path or Bad Function paramater...");
        // The start dialog stays open for another name; nothing starts until then.
        Harness h;
        Dialogs::SetNextDialogAction(
            test::StartDialogOk(QStringLiteral("..\\up"), QStringLiteral("PC"), true));
        Dialogs::SetNextDialogAction([&h](QDialog& d) {
            QVERIFY(h.Doc().calls.isEmpty());
            test::StartDialogOk(QStringLiteral("ACME"), QStringLiteral("c:pc"), true)(d);
        });
        Dialogs::SetNextDialogAction(
            test::StartDialogOk(QStringLiteral("ACME"), QStringLiteral("PC"), true));
        h.Frame().OnCommand(IDC_START);
        QCOMPARE(Questions(), QStringList({bad, bad}));
        QCOMPARE(h.Util().ScanResultPath(), std::string(".\\CheckOut\\ACME_PC.ipt"));
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("StartScan")}));

        // The consolidation's total name: refused, then another one typed.
        Harness h2;
        h2.dir.Write(QStringLiteral("CheckOut/a.ipt"), "x");
        Dialogs::Reset();
        Dialogs::SetNextDialogAction(ConsolidateOk({0}, QStringLiteral("../total")));
        Dialogs::SetNextDialogAction([](QDialog& d) {
            static_cast<CSelectFilesDlg&>(d).ResultNameEdit()->setText(QStringLiteral("total"));
            test::Press(d, QStringLiteral("button1"));
        });
        h2.Frame().OnCommand(ID_CONSOLIDATE);
        QCOMPARE(Questions(), QStringList({bad}));
        QCOMPARE(h2.Util().ResultPath(".tls"), std::string(".\\CheckOut\\total.tls"));
        QVERIFY(h2.Doc().calls.contains(QStringLiteral("Consolidate")));
    }

    void startCancelledKeepsStateNineAndTheBar() {
        Harness h;
        h.Frame().OnCommand(IDC_START); // no action queued: cancelled
        QCOMPARE(h.Util().GetWorkState(), int(kStartDialogOpen));
        QVERIFY(h.Frame().Progress() != nullptr);
        QVERIFY(h.Doc().calls.isEmpty());
        QVERIFY(h.Frame().Button(IDC_START)->isEnabled());
        // Start again: the whole flow once more.
        Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME")));
        h.Frame().OnCommand(IDC_START);
        QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("StartScan")}));
    }

    void startAfterEditAsksToSaveFirst() {
        Harness h;
        OpenTotal(h, QStringLiteral("total.tls"));
        h.dir.Write(QStringLiteral("CheckOut/total.rst"), "x");
        h.Util().SetWorkState(kEdited);
        h.Doc().calls.clear();
        Dialogs::ClearLog();
        Dialogs::SetNextAnswer(true);
        Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME")));
        h.Frame().OnCommand(ID_SCAN_START);
        const QStringList log = Dialogs::Log();
        QCOMPARE(log.value(0), Answer(true));
        QVERIFY(log.value(1).startsWith(QStringLiteral("dialog: 사용자 정보를 입력하세요.")));
        // Saved, then the total layout gave way to the scan layout.
        QCOMPARE(h.Doc().calls,
                 QStringList({QStringLiteral("SaveTotal"), QStringLiteral("SetLayoutMode 1"),
                              QStringLiteral("StartScan")}));
        QVERIFY(!h.Frame().Action(ID_FILE_SAVE)->isEnabled());
    }

    void endOfScanQuestion() {
        {
            Harness h;
            Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME")));
            h.Frame().OnCommand(IDC_START);
            // The document has written the file and ended its thread.
            h.Doc().calls.clear();
            h.Doc().running = false;
            h.Util().SetWorkState(kIdle);
            Dialogs::SetNextAnswer(true);
            h.Frame().OnScanCompleted();
            // Yes: closed without the Exit questions and without another write.
            QVERIFY(h.Doc().calls.isEmpty());
            QCOMPARE(Questions(),
                     QStringList({QStringLiteral(
                         "ask: 검색을 완료하였습니다.\n 프로그램을 닫으시겠습니까? = yes")}));
            QVERIFY(!h.Frame().isVisible());
        }
        {
            Harness h;
            Dialogs::SetNextDialogAction(test::StartDialogOk(QStringLiteral("ACME")));
            h.Frame().OnCommand(IDC_START);
            h.Doc().calls.clear();
            h.Doc().running = false;
            h.Frame().OnScanCompleted(); // No: the stop command, which writes again
            QCOMPARE(h.Doc().calls, QStringList({QStringLiteral("StopScan")}));
            QVERIFY(h.Frame().isVisible());
            QVERIFY(h.Frame().Progress() == nullptr);
        }
    }
};

OSTRAVION_APP_TEST(FlowsTest);
#include "FlowsTest.moc"
