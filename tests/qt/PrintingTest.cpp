// Print selection, printing and preview on the real main window: the
// dialog's choices, the flows around it, and pages printed on a PDF printer
// compared with the command line's export of the same view.
#include "qt/AppFixture.h"
#include "qt/CMainFrame.h"
#include "qt/CPrintSelectDlg.h"
#include "util/AuditUtil.h"
#include "views/ReportLayout.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

using namespace ostravion;
using namespace ostravion::gui;
using test::Harness;

namespace {

const QString kNoPrinter = QStringLiteral(
    "show: 인쇄할 프린터가 없습니다.\n프린터를 설치하거나 [인쇄 설정]에서 프린터를 선택하십시오.");

// What printing to a PDF file says afterwards.
QString SavedTo(const QString& pdf) {
    return QStringLiteral("inform: 인쇄한 보고서를 PDF 파일로 저장했습니다.\n") +
           QDir::toNativeSeparators(pdf);
}

bool HasHangul(const QString& s) {
    for (QChar c : s)
        if (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3)
            return true;
    return false;
}

// Chooses the radio button of a report kind and presses "선택".
test::DialogAction Choose(int buttonId) {
    return [buttonId](QDialog& d) {
        QTest::mouseClick(static_cast<CPrintSelectDlg&>(d).Radio(buttonId), Qt::LeftButton);
        test::Press(d, QStringLiteral("button1"));
    };
}

int ButtonOf(int kind) {
    for (const PrintChoice& c : PrintChoices())
        if (static_cast<int>(c.kind) == kind)
            return c.buttonId;
    return 0;
}

// Pages of a PDF file, counted by their page objects.
int PdfPages(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s])"));
    return static_cast<int>(QString::fromLatin1(f.readAll()).count(page));
}

// The text of a PDF as poppler lays it out; empty when poppler is missing.
QString PdfText(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The command line's export of a report.
int CliReport(const QString& work, int kind, const QString& view, const QString& pdf) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(OSTRAVION_CLI),
            {QStringLiteral("-C"), work, QStringLiteral("report"), QStringLiteral("--kind"),
             QString::number(kind), QStringLiteral("--name"), QStringLiteral("audit"),
             QStringLiteral("--view"), view, QStringLiteral("--pdf"), pdf});
    if (!p.waitForFinished(60000))
        return -1;
    return p.exitCode();
}

// The preview's page label: "페이지 3-4 / 5" and the like.
QString PreviewLabel(QDialog& d) {
    auto* label = d.findChild<QLabel*>(QStringLiteral("previewPages"));
    return label ? label->text() : QString();
}

int PreviewCount(QDialog& d) {
    return PreviewLabel(d).section(QLatin1Char('/'), 1).trimmed().toInt();
}

void MakeViewActive(Harness& h, int row) {
    h.Frame().ShowLayout(row == 1);
    h.Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.Frame()));
    h.Frame().View(row)->setFocus(Qt::MouseFocusReason);
    QCOMPARE(h.Frame().ActiveView(), row);
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Dialogs::Reset(); }

    void selectionDialogNeedsAChoice() {
        Harness h;
        test::OpenFixtureAudit(h);
        QStringList captions;
        bool okAtFirst = true;
        QStringList checked;
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            auto& dlg = static_cast<CPrintSelectDlg&>(d);
            QCOMPARE(d.windowTitle(), QStringLiteral("결과별 인쇄"));
            for (const PrintChoice& c : PrintChoices()) {
                captions << dlg.Radio(c.buttonId)->text();
                QVERIFY(!dlg.Radio(c.buttonId)->isChecked());
            }
            okAtFirst = dlg.OkButton()->isEnabled();
            // Enter with no choice does not close it either.
            QTest::keyClick(&d, Qt::Key_Return);
            QVERIFY(d.isVisible());
            // One group over both boxes.
            QTest::mouseClick(dlg.Radio(kIdPrintPledge), Qt::LeftButton);
            QTest::mouseClick(dlg.Radio(kIdPrintLedger), Qt::LeftButton);
            QTest::mouseClick(dlg.Radio(kIdPrintByPc), Qt::LeftButton);
            QTest::mouseClick(dlg.Radio(kIdPrintLedger), Qt::LeftButton);
            for (const PrintChoice& c : PrintChoices())
                if (dlg.Radio(c.buttonId)->isChecked())
                    checked << QString::number(c.buttonId);
            QVERIFY(dlg.OkButton()->isEnabled());
            test::SaveScreenshot(&d, QStringLiteral("11-print-select"));
            test::Press(d, QStringLiteral("button1"));
        });
        h.Frame().OnCommand(ID_FILE_PREVIEW);
        QCOMPARE(captions, QStringList({"PC별 결과", "SW별 결과", "점검 확인표", "서  약  서",
                                        "S/W 관리대장"}));
        QVERIFY(!okAtFirst);
        QCOMPARE(checked, QStringList({QStringLiteral("1130")}));
        QCOMPARE(int(h.Util().GetReportKind()), 6);
        QCOMPARE(h.Util().GetWorkState(), int(kPrinted));
        QVERIFY(Dialogs::Log().contains(QStringLiteral("dialog: 인쇄 미리 보기 = rejected")));
    }

    void selectionDialogByKeyboard() {
        Harness h;
        test::OpenFixtureAudit(h);
        QList<QWidget*> focus;
        QStringList checked;
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            auto& dlg = static_cast<CPrintSelectDlg&>(d);
            const auto key = [&](Qt::Key k) {
                QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, k);
                focus << d.focusWidget();
                for (const PrintChoice& c : PrintChoices())
                    if (dlg.Radio(c.buttonId)->isChecked())
                        checked << QString::number(c.buttonId);
            };
            // The first Tab lands on the first report; the arrows move
            // round the five in order and choose; Tab leaves them for 선택.
            for (Qt::Key k : {Qt::Key_Tab, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Tab})
                key(k);
            QCOMPARE(focus, (QList<QWidget*>{dlg.Radio(kIdPrintByPc), dlg.Radio(kIdPrintBySoftware),
                                             dlg.Radio(kIdPrintByPc), dlg.Radio(kIdPrintLedger),
                                             dlg.OkButton()}));
            test::Press(d, QStringLiteral("button2"));
        });
        h.Frame().OnCommand(ID_FILE_PRINT);
        QCOMPARE(checked,
                 QStringList({QString::number(kIdPrintBySoftware), QString::number(kIdPrintByPc),
                              QString::number(kIdPrintLedger), QString::number(kIdPrintLedger)}));
    }

    void cancelPrintsNothing() {
        Harness h;
        test::OpenFixtureAudit(h);
        h.Util().SetReportKind(3);
        Dialogs::SetNextDialogAction([](QDialog& d) {
            QTest::mouseClick(static_cast<CPrintSelectDlg&>(d).Radio(kIdPrintSheet),
                              Qt::LeftButton);
            test::Press(d, QStringLiteral("button2"));
        });
        h.Frame().OnCommand(IDC_PRINT);
        QCOMPARE(Dialogs::Log(), QStringList({QStringLiteral("dialog: 결과별 인쇄 = rejected")}));
        QCOMPARE(h.Util().GetWorkState(), int(kTotalOpened));
        QCOMPARE(int(h.Util().GetReportKind()), 3);
    }

    void withoutPrinterPrintSaysSoAndPreviewWorks() {
        Harness h;
        test::OpenFixtureAudit(h, false);
        // Even the confirmation sheet asks nothing about its result first.
        Dialogs::SetNextDialogAction(Choose(kIdPrintSheet));
        h.Frame().OnCommand(ID_FILE_PRINT);
        QCOMPARE(test::Messages(), QStringList({kNoPrinter}));
        QVERIFY(Dialogs::Log().contains(QStringLiteral("printer: (none)")));
        QCOMPARE(h.Util().GetWorkState(), int(kTotalOpened));

        Dialogs::Reset();
        int pages = -1;
        // Without printers the printer carries the PDF format, but no file:
        // the preview's 인쇄 says what the menu's says.
        h.Frame().Printer().setOutputFormat(QPrinter::PdfFormat);
        Dialogs::SetNextDialogAction(Choose(kIdPrintBySoftware));
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            pages = PreviewCount(d);
            test::Press(d, QStringLiteral("previewPrint"));
            QVERIFY(d.isVisible());
            d.reject();
        });
        h.Frame().OnCommand(ID_FILE_PREVIEW);
        QCOMPARE(pages, 1);
        QCOMPARE(test::Messages(), QStringList({kNoPrinter}));
        QCOMPARE(h.Util().GetWorkState(), int(kPrinted));
        QVERIFY(h.Frame().Progress() == nullptr);
    }

    void sheetWithoutWrittenResultWritesItFirst() {
        Harness h;
        test::OpenFixtureAudit(h, false);
        const QString pdf = h.dir.Path(QStringLiteral("sheet.pdf"));
        Dialogs::SetNextDialogAction(Choose(kIdPrintSheet));
        Dialogs::SetNextPrinter(pdf);
        Dialogs::SetNextAnswer(true); // save, then the result-writing dialog
        Dialogs::SetNextDialogAction([](QDialog& d) { test::Press(d, QStringLiteral("button2")); });
        h.Frame().OnCommand(IDC_PRINT);
        QCOMPARE(Dialogs::Log().value(0), QStringLiteral("dialog: 결과별 인쇄 = accepted"));
        QCOMPARE(Dialogs::Log().value(1), QStringLiteral("printer: ") + pdf);
        QCOMPARE(Dialogs::Log().value(2), QStringLiteral("ask: 저장하시겠습니까? = yes"));
        QVERIFY(Dialogs::Log().contains(QStringLiteral("dialog: 결과 작성 = rejected")));
        QCOMPARE(h.Doc().calls.count(QStringLiteral("SaveTotal")), 1);
        // Still no written result: the sheet prints its no-data form.
        const QStringList messages = test::Messages();
        QCOMPARE(messages.value(messages.size() - 2),
                 QStringLiteral("show: Result File Open Error...\n결과 파일을 열 수 없습니다."));
        QCOMPARE(messages.last(), SavedTo(pdf));
        QCOMPARE(PdfPages(pdf), 1);
        QCOMPARE(h.Util().GetWorkState(), int(kPrinted));
    }

    void printedPagesMatchTheCommandLineExport() {
        Harness h;
        test::OpenFixtureAudit(h);
        const bool poppler = !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
        QString sheetTexts[2];
        for (int kind : {1, 3, 4, 5, 6}) {
            for (int view : {0, 1}) {
                if (view == 1 && kind != 4)
                    continue;
                MakeViewActive(h, view);
                if (QTest::currentTestFailed())
                    return;
                const QString name = QStringLiteral("k%1v%2").arg(kind).arg(view);
                const QString printed = h.dir.Path(name + QStringLiteral("-app.pdf"));
                const QString exported = h.dir.Path(name + QStringLiteral("-cli.pdf"));
                Dialogs::SetNextDialogAction(Choose(ButtonOf(kind)));
                Dialogs::SetNextPrinter(printed);
                h.Frame().OnCommand(ID_FILE_PRINT);
                QCOMPARE(h.Util().GetWorkState(), int(kPrinted));
                QCOMPARE(test::Messages(), QStringList({SavedTo(printed)}));
                Dialogs::ClearLog();
                const QString viewName =
                    view == 1 ? QStringLiteral("extended") : QStringLiteral("normal");
                QCOMPARE(CliReport(h.dir.Path(), kind, viewName, exported), 0);

                const ReportLayout layout =
                    PrepareReport(h.Util(), *ReportKindFromNumber(kind), TotalFileReaders(h.Util()),
                                  view == 1 ? SheetView::Extended : SheetView::Normal);
                QCOMPARE(PdfPages(printed), layout.PageCount());
                QCOMPARE(PdfPages(exported), layout.PageCount());
                if (poppler) {
                    const QString text = PdfText(printed);
                    QVERIFY(!text.trimmed().isEmpty());
                    QCOMPARE(text, PdfText(exported));
                    if (kind == 4)
                        sheetTexts[view] = text;
                }
                h.Util().SetWorkState(kTotalOpened);
            }
        }
        if (!poppler)
            QSKIP("pdftotext (poppler-utils) is missing: page counts compared only");
        // The two views' sheets differ in the signature line alone.
        const QStringList normal = sheetTexts[0].split(QLatin1Char('\n'));
        const QStringList extended = sheetTexts[1].split(QLatin1Char('\n'));
        QCOMPARE(normal.size(), extended.size());
        QStringList differing;
        for (int i = 0; i < normal.size(); ++i)
            if (normal[i] != extended[i])
                differing << normal[i].simplified();
        QCOMPARE(differing, QStringList({QStringLiteral("성 명 : 홍길동 (서명 또는 인)")}));
    }

    void printingToAFileKeepsTheEarlierFileUntilTheReportIsWhole() {
        Harness h;
        test::OpenFixtureAudit(h);
        const QString pdf = h.dir.Path(QStringLiteral("by-program.pdf"));
        const QByteArray earlier("an earlier report\r\n");
        {
            QFile f(pdf);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(earlier);
        }
        const auto print = [&] {
            Dialogs::SetNextDialogAction(Choose(ButtonOf(3)));
            Dialogs::SetNextPrinter(pdf);
            Dialogs::SetNextAnswer(true); // the file is there: replace it
            h.Frame().OnCommand(ID_FILE_PRINT);
        };
        const QString replace =
            QStringLiteral("ask: 같은 이름의 파일이 있습니다.\n 덮어쓰시겠습니까..? = yes");
        const auto contents = [&] {
            QFile f(pdf);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        // A folder where the new file would go: nothing can be printed, and
        // the earlier file stays as it was.
        QVERIFY(QDir().mkdir(pdf + QStringLiteral(".new")));
        print();
        QCOMPARE(test::Messages(),
                 QStringList({replace, QStringLiteral("show: 프린터를 시작할 수 없습니다.")}));
        QCOMPARE(contents(), earlier);

        // A link left where the new file goes is replaced, never written through.
        QVERIFY(QDir().rmdir(pdf + QStringLiteral(".new")));
        const QString elsewhere = h.dir.Path(QStringLiteral("elsewhere.txt"));
        {
            QFile f(elsewhere);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(earlier);
        }
        QVERIFY(QFile::link(elsewhere, pdf + QStringLiteral(".new")));
        Dialogs::Reset();
        h.Util().SetWorkState(kTotalOpened);
        print();
        QCOMPARE(test::Messages(), QStringList({replace, SavedTo(pdf)}));
        QVERIFY(!QFileInfo(pdf).isSymLink());
        QFile other(elsewhere);
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(other.readAll(), earlier);
        const ReportLayout layout =
            PrepareReport(h.Util(), ReportKind::BySoftware, TotalFileReaders(h.Util()));
        QCOMPARE(PdfPages(pdf), layout.PageCount());
        QVERIFY(contents().endsWith("%%EOF\n"));
        QVERIFY(!QFile::exists(pdf + QStringLiteral(".new")));
    }

    void printerSetupIsTheFrameworksDialog() {
        Harness h;
        QString title;
        QStringList buttons;
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            title = d.windowTitle();
            for (QPushButton* b : d.findChildren<QPushButton*>())
                if (b->isVisible())
                    buttons << b->text();
        });
        const QString start = QDir::currentPath();
        h.Frame().OnCommand(ID_FILE_PRINT_SETUP);
        QCOMPARE(title, QStringLiteral("인쇄 설정"));
        // In Korean, and its OK button prints nothing.
        QVERIFY(buttons.contains(QStringLiteral("확인")));
        for (const QString& b : buttons)
            QVERIFY2(HasHangul(b), qPrintable(b));
        QCOMPARE(QDir::currentPath(), start);
        // Always there, with or without a total.
        QVERIFY(h.Frame().Action(ID_FILE_PRINT_SETUP)->isEnabled());
        QCOMPARE(h.Util().GetWorkState(), int(kIdle));
    }

    void previewFitsTheScreenSpeaksKoreanAndCloses() {
        Harness h;
        test::OpenFixtureAudit(h);
        QRect frame;
        QStringList english;
        bool closed = false;
        Dialogs::SetNextDialogAction(Choose(ButtonOf(1)));
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            frame = d.frameGeometry();
            for (QPushButton* b : d.findChildren<QPushButton*>())
                if (!HasHangul(b->text()))
                    english << b->text();
            if (auto* close = d.findChild<QPushButton*>(QStringLiteral("closePreview"))) {
                QCOMPARE(close->text(), QStringLiteral("닫기(&C)"));
                QVERIFY(close->isVisible());
                close->click();
                closed = !d.isVisible();
            }
        });
        h.Frame().OnCommand(ID_FILE_PREVIEW);
        const QRect screen = h.Frame().screen()->availableGeometry();
        QVERIFY2(screen.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                        .arg(frame.x())
                                                        .arg(frame.y())
                                                        .arg(frame.width())
                                                        .arg(frame.height())));
        QVERIFY(frame.height() > screen.height() / 2);
        QCOMPARE(english.join(QLatin1Char('|')), QString());
        QVERIFY(closed);
        QVERIFY(Dialogs::Log().contains(QStringLiteral("dialog: 인쇄 미리 보기 = rejected")));

        // Printed from the preview to a file, straight away without a print
        // dialog: it says where, and the preview closes.
        const QString pdf = h.dir.Path(QStringLiteral("from-preview.pdf"));
        h.Frame().Printer().setOutputFormat(QPrinter::PdfFormat);
        h.Frame().Printer().setOutputFileName(pdf);
        Dialogs::ClearLog();
        Dialogs::SetNextDialogAction(Choose(ButtonOf(5)));
        Dialogs::SetNextDialogAction(
            [](QDialog& d) { test::Press(d, QStringLiteral("previewPrint")); });
        h.Frame().OnCommand(ID_FILE_PREVIEW);
        QCOMPARE(test::Messages(), QStringList({SavedTo(pdf)}));
        QCOMPARE(Dialogs::Log().filter(QStringLiteral("dialog: ")),
                 QStringList({QStringLiteral("dialog: 결과별 인쇄 = accepted"),
                              QStringLiteral("dialog: 인쇄 미리 보기 = accepted")}));
        QCOMPARE(PdfPages(pdf), 1);
    }

    void previewTwoPagesFromTheLastPageShowTheLastTwo() {
        Harness h;
        ReportData data;
        data.rows.assign(80, {"A", "Maker", "1", "2", "Program", "1", "0"});
        const ReportLayout layout(ReportKind::BySoftware, data);
        QCOMPARE(layout.PageCount(), 4);
        QStringList seen;
        Dialogs::SetNextDialogAction([&](QDialog& d) {
            seen << PreviewLabel(d);
            for (const char* button : {"previewNext", "previewNext", "previewNext",
                                       "previewTwoPages", "previewPrevious", "previewNext"}) {
                test::Press(d, QString::fromLatin1(button));
                seen << PreviewLabel(d);
            }
            // While two show, the same button offers one page, with its key.
            auto* two = d.findChild<QPushButton*>(QStringLiteral("previewTwoPages"));
            QCOMPARE(two->text(), QStringLiteral("한 페이지(&O)"));
            QCOMPARE(two->shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
            two->click();
            seen << PreviewLabel(d);
            test::SaveScreenshot(&d, QStringLiteral("12-preview-two-pages"));
            d.reject();
        });
        h.Frame().PrintReport(layout, true);
        QCOMPARE(seen, QStringList({"페이지 1 / 4", "페이지 2 / 4", "페이지 3 / 4", "페이지 4 / 4",
                                    "페이지 3-4 / 4", "페이지 1-2 / 4", "페이지 3-4 / 4",
                                    "페이지 3 / 4"}));
    }

    void previewShowsEveryKind() {
        Harness h;
        test::OpenFixtureAudit(h);
        for (int kind : {1, 3, 4, 5, 6}) {
            int pages = -1;
            Dialogs::SetNextDialogAction(Choose(ButtonOf(kind)));
            Dialogs::SetNextDialogAction([&](QDialog& d) {
                pages = PreviewCount(d);
                QTest::qWait(20);
                test::SaveScreenshot(&d, QStringLiteral("12-preview-kind%1").arg(kind));
            });
            h.Frame().OnCommand(ID_FILE_PREVIEW);
            const ReportLayout layout =
                PrepareReport(h.Util(), *ReportKindFromNumber(kind), TotalFileReaders(h.Util()));
            QCOMPARE(pages, layout.PageCount());
        }
        QVERIFY(test::Messages().isEmpty());
    }
};

OSTRAVION_APP_TEST(PrintingTest);
#include "PrintingTest.moc"
