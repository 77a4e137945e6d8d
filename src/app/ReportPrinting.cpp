#include "app/ReportPrinting.h"

#include "app/Dialogs.h"
#include "platform/Native.h"
#include "report_qt/QtPageCanvas.h"

#include <QFile>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace ostravion::gui {

std::optional<ReportLayout> PrepareStoredReport(CAuditUtil& util, SheetView view) {
    const std::optional<ReportKind> kind = ReportKindFromNumber(util.GetReportKind());
    if (!kind)
        return std::nullopt;
    return PrepareReport(util, *kind, TotalFileReaders(util), view);
}

void PreparePrinterPage(QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Portrait);
}

bool PrintReport(const ReportLayout& layout, QPrinter& printer, const TextCodec& codec,
                 QWidget* parent) {
    PreparePrinterPage(printer);
    printer.setFromTo(1, layout.PageCount());
    printer.setDocName(QStringLiteral("Ostravion"));
    // A printer that is a PDF file prints to a new file beside it, which
    // replaces the chosen file only once the whole report is in it: a print
    // that fails part way leaves an earlier file of that name as it was.
    const QString file =
        printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    const QString fresh = file.isEmpty() ? QString() : file + QStringLiteral(".new");
    if (!file.isEmpty())
        printer.setOutputFileName(fresh);
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (!file.isEmpty())
            printer.setOutputFileName(file);
        Dialogs::Show(parent, QStringLiteral("프린터를 시작할 수 없습니다."));
        return false;
    }
    qtreport::PaintPages(layout, painter, printer, codec);
    bool printed = painter.end();
    if (file.isEmpty())
        return printed;
    printer.setOutputFileName(file);
    printed =
        printed && RenameNativeFile(fresh.toUtf8().toStdString(), file.toUtf8().toStdString());
    if (!printed) {
        QFile::remove(fresh);
        Dialogs::Show(parent, QString::fromLatin1(msg::kWriteFileOpenError));
    }
    return printed;
}

void PreviewReport(const ReportLayout& layout, QPrinter& printer, const TextCodec& codec,
                   QWidget* parent) {
    PreparePrinterPage(printer);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("printPreview"));
    preview.setWindowTitle(QStringLiteral("인쇄 미리 보기"));
    preview.resize(900, 1000);
    // The preview may draw the pages any number of times: each time from
    // the layout alone.
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&layout, &codec](QPrinter* device) {
                         QPainter painter(device);
                         qtreport::PaintPages(layout, painter, *device, codec);
                     });
    Dialogs::Exec(preview);
}

} // namespace ostravion::gui
