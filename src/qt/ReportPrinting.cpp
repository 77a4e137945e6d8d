#include "qt/ReportPrinting.h"

#include "platform/Native.h"
#include "qt/Dialogs.h"
#include "qt/report/QtPageCanvas.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <algorithm>

namespace ostravion::gui {

std::optional<ReportLayout> PrepareStoredReport(CAuditUtil& util, SheetView view) {
    const std::optional<ReportKind> kind = ReportKindFromNumber(util.GetReportKind());
    if (!kind)
        return std::nullopt;
    return PrepareReport(util, *kind, TotalFileReaders(util), view);
}

void RunPrintSetup(QPrinter& printer, QWidget* parent) {
    QPrintDialog dlg(&printer, parent);
    dlg.setObjectName(QStringLiteral("printSetup"));
    dlg.setWindowTitle(QStringLiteral("인쇄 설정"));
    dlg.setOptions(QAbstractPrintDialog::PrintToFile);
    if (auto* buttons = dlg.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("확인"));
    Dialogs::Exec(dlg);
}

void PreparePrinterPage(QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Portrait);
}

namespace {

// Nothing comes out of a printer to show where a report printed to a file
// went: the user is told.
void SayWherePdfWent(const QString& file, QWidget* parent) {
    Dialogs::Inform(parent, QStringLiteral("인쇄한 보고서를 PDF 파일로 저장했습니다.\n") +
                                QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()));
}

} // namespace

bool PrintReport(const ReportLayout& layout, QPrinter& printer, const TextCodec& codec,
                 QWidget* parent) {
    PreparePrinterPage(printer);
    printer.setFromTo(1, layout.PageCount());
    printer.setDocName(QStringLiteral("Ostravion"));
    const QString file =
        printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    // The printer could not start: neither a PDF file to print into could be
    // made, nor the painting begun.
    bool started = false;
    const auto print = [&] {
        QPainter painter;
        if (!(started = painter.begin(&printer)))
            return false;
        qtreport::PaintPages(layout, painter, printer, codec);
        return painter.end();
    };
    if (file.isEmpty()) {
        if (print())
            return true;
    } else {
        // A printer that is a PDF file prints into the replacement of the
        // chosen file, which takes its place only once the whole report is in
        // it: a print that fails part way leaves an earlier file as it was.
        const bool printed =
            ReplaceNativeFile(file.toUtf8().toStdString(),
                              [&](std::unique_ptr<OutFile> out, const std::string& fresh) {
                                  out->Close();
                                  printer.setOutputFileName(QString::fromUtf8(fresh));
                                  return print();
                              });
        printer.setOutputFileName(file);
        if (printed) {
            SayWherePdfWent(file, parent);
            return true;
        }
    }
    Dialogs::Show(parent, started ? QString::fromLatin1(msg::kWriteFileOpenError)
                                  : QStringLiteral("프린터를 시작할 수 없습니다."));
    return false;
}

void FitToScreen(QWidget& window, QWidget* owner, int widest) {
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The owner's window shows what the window manager puts around a window;
    // before any is shown, a title bar's height is the guess.
    QMargins frame(0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
    if (owner && owner->window()->isVisible()) {
        const QWidget* w = owner->window();
        const QRect inner = w->geometry();
        const QRect outer = w->frameGeometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    const QSize room = area.size().shrunkBy(frame);
    const QSize size(std::min(widest, room.width()), room.height());
    window.resize(size.expandedTo(window.minimumSize()).boundedTo(room));
    // A window's position is that of its frame.
    window.move(area.left() + (area.width() - window.width() - frame.left() - frame.right()) / 2,
                area.top());
}

void PreviewReport(const ReportLayout& layout, QPrinter& printer, const TextCodec& codec,
                   QWidget* parent) {
    PreparePrinterPage(printer);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("printPreview"));
    preview.setWindowTitle(QStringLiteral("인쇄 미리 보기"));
    // The window fits the screen and closes from its own tool bar, whether
    // or not the window manager gives it a close box.
    FitToScreen(preview, parent, 900);
    if (auto* tools = preview.findChild<QToolBar*>()) {
        tools->addSeparator();
        QAction* close = tools->addAction(QStringLiteral("닫기"));
        close->setObjectName(QStringLiteral("closePreview"));
        close->setToolTip(QStringLiteral("미리 보기를 닫습니다"));
        QObject::connect(close, &QAction::triggered, &preview, &QDialog::reject);
    }
    // The preview may draw the pages any number of times: each time from
    // the layout alone.
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&layout, &codec](QPrinter* device) {
                         QPainter painter(device);
                         qtreport::PaintPages(layout, painter, *device, codec);
                     });
    // Printed from the preview's own tool bar: accepted.
    if (Dialogs::Exec(preview) == QDialog::Accepted &&
        printer.outputFormat() == QPrinter::PdfFormat)
        SayWherePdfWent(printer.outputFileName(), parent);
}

} // namespace ostravion::gui
