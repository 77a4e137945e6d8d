#include "qt/ReportPrinting.h"

#include "desktop/DesktopTexts.h"
#include "desktop/ScreenRules.h"
#include "platform/Native.h"
#include "qt/Dialogs.h"
#include "qt/report/QtPageCanvas.h"
#include "qt/report/QtText.h"
#include "views/PrintTexts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <map>

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
    // A job that started and failed says so as the Windows program does.
    Dialogs::Show(parent, started ? QStringLiteral("인쇄하지 못했습니다.")
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

namespace {

// The pages of the preview, drawn whole and side by side or one enlarged,
// on a grey ground; each page is drawn at the size it shows at.
class PreviewPane : public QWidget {
public:
    PreviewPane(const ReportLayout& layout, const QPrinter& printer, const TextCodec& codec,
                const desktop::PreviewPages& view, QWidget* parent)
        : QWidget(parent), layout_(layout), codec_(codec), view_(view) {
        const QPageLayout page = printer.pageLayout();
        paper_ = page.fullRect(QPageLayout::Millimeter);
        printable_ = page.paintRect(QPageLayout::Millimeter);
        if (paper_.isEmpty())
            paper_ = printable_ = QRectF(0, 0, 210, 297);
    }

    // The size of one page on a pane of `room` pixels.
    QSize PageSize(QSize room) const {
        static constexpr double kZoom[desktop::PreviewPages::kZoomSteps] = {1.0, 1.75, 3.0};
        const int n = view_.Showing();
        const double aspect = paper_.height() / paper_.width();
        const double height =
            std::min<double>(std::max(1, room.height() - 2 * kMargin),
                             std::max(1, (room.width() - (n + 1) * kMargin) / n) * aspect) *
            kZoom[view_.Zoom()];
        return QSize(std::max(1, int(height / aspect)), std::max(1, int(height)));
    }

    // Whole pages fit the pane; an enlarged page is as large as it is and
    // scrolls.
    void Fit(QSize room) {
        const QSize page = PageSize(room);
        if (view_.Zoom() > 0)
            setMinimumSize(page + QSize(2 * kMargin, 2 * kMargin));
        else
            setMinimumSize(0, 0);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(128, 128, 128));
        // Pages are sized for the room the scroll area shows.
        const QSize page = PageSize(parentWidget() ? parentWidget()->size() : size());
        const int n = view_.Last() - view_.First() + 1;
        const int total = n * page.width() + (n - 1) * kMargin;
        int x = std::max(kMargin, (width() - total) / 2);
        const int y = std::max(kMargin, (height() - page.height()) / 2);
        for (int i = 0; i < n; ++i, x += page.width() + kMargin) {
            const QRect sheet(QPoint(x, y), page);
            painter.fillRect(sheet.translated(4, 4), Qt::black);
            painter.drawImage(sheet.topLeft(), Page(view_.First() + i, page));
            painter.setPen(Qt::black);
            painter.drawRect(sheet.adjusted(0, 0, -1, -1));
        }
    }

private:
    static constexpr int kMargin = 16;

    // A page drawn for a sheet of `size` pixels: its printable area at the
    // printer's margins, at the resolution that makes the paper that size.
    const QImage& Page(int number, QSize size) {
        auto& cached = pages_[number];
        if (cached.size() == size)
            return cached;
        const double perMm = size.width() / paper_.width();
        QImage inner(std::max(1, int(printable_.width() * perMm)),
                     std::max(1, int(printable_.height() * perMm)), QImage::Format_RGB32);
        inner.fill(Qt::white);
        inner.setDotsPerMeterX(int(perMm * 1000));
        inner.setDotsPerMeterY(int(perMm * 1000));
        {
            QPainter painter(&inner);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            qtreport::QtPageCanvas canvas(painter, codec_);
            canvas.StartPage();
            layout_.DrawPage(canvas, number);
        }
        cached = QImage(size, QImage::Format_RGB32);
        cached.fill(Qt::white);
        QPainter painter(&cached);
        painter.drawImage(QPointF((printable_.left() - paper_.left()) * perMm,
                                  (printable_.top() - paper_.top()) * perMm),
                          inner);
        return cached;
    }

    const ReportLayout& layout_;
    const TextCodec& codec_;
    const desktop::PreviewPages& view_;
    QRectF paper_, printable_;
    std::map<int, QImage> pages_;
};

// The preview window: the buttons of the Windows program's preview over the
// pages; its 인쇄 prints straight away, as the print command does.
class PreviewDialog : public QDialog {
public:
    PreviewDialog(const ReportLayout& layout, QPrinter& printer, const TextCodec& codec,
                  QWidget* parent)
        : QDialog(parent), layout_(layout), printer_(printer), codec_(codec),
          view_(layout.PageCount()) {
        setObjectName(QStringLiteral("printPreview"));
        setWindowTitle(ToQt(codec, print::kPreviewTitle));
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        auto* bar = new QHBoxLayout;
        bar->setContentsMargins(6, 5, 6, 5);
        const std::pair<const char*, const char*> buttons[] = {
            {"previewPrint", print::kPreviewPrint},
            {"previewNext", print::kPreviewNext},
            {"previewPrevious", print::kPreviewPrevious},
            {"previewTwoPages", print::kPreviewTwoPages},
            {"previewZoomIn", print::kPreviewZoomIn},
            {"previewZoomOut", print::kPreviewZoomOut},
            {"closePreview", print::kPreviewClose},
        };
        for (const auto& [name, caption] : buttons) {
            auto* b = new QPushButton(ToQt(codec, caption), this);
            b->setObjectName(QString::fromLatin1(name));
            b->setAutoDefault(false);
            bar->addWidget(b);
            buttons_[QString::fromLatin1(name)] = b;
        }
        label_ = new QLabel(this);
        label_->setObjectName(QStringLiteral("previewPages"));
        bar->addSpacing(6);
        bar->addWidget(label_, 1);
        column->addLayout(bar);
        area_ = new QScrollArea(this);
        area_->setWidgetResizable(true);
        area_->setFrameShape(QFrame::NoFrame);
        pane_ = new PreviewPane(layout, printer, codec, view_, area_);
        area_->setWidget(pane_);
        column->addWidget(area_, 1);

        const auto on = [this](const char* name, auto act) {
            connect(buttons_[QString::fromLatin1(name)], &QPushButton::clicked, this, [this, act] {
                act();
                Refresh();
            });
        };
        on("previewNext", [this] { view_.Next(); });
        on("previewPrevious", [this] { view_.Previous(); });
        on("previewTwoPages", [this] { view_.ToggleTwo(); });
        on("previewZoomIn", [this] { view_.ZoomIn(); });
        on("previewZoomOut", [this] { view_.ZoomOut(); });
        connect(buttons_[QStringLiteral("closePreview")], &QPushButton::clicked, this,
                &QDialog::reject);
        connect(buttons_[QStringLiteral("previewPrint")], &QPushButton::clicked, this,
                &PreviewDialog::Print);
        Refresh();
    }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_PageDown || e->key() == Qt::Key_PageUp) {
            e->key() == Qt::Key_PageDown ? view_.Next() : view_.Previous();
            Refresh();
            return;
        }
        QDialog::keyPressEvent(e);
    }
    void resizeEvent(QResizeEvent* e) override {
        QDialog::resizeEvent(e);
        pane_->Fit(area_->viewport()->size());
    }
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        pane_->Fit(area_->viewport()->size());
    }

private:
    void Refresh() {
        const desktop::PreviewPages& v = view_;
        char text[64];
        if (v.Last() > v.First())
            std::snprintf(text, sizeof text, print::kPreviewPagesOf, v.First(), v.Last(),
                          v.Count());
        else
            std::snprintf(text, sizeof text, print::kPreviewPageOf, v.First(), v.Count());
        label_->setText(ToQt(codec_, text));
        buttons_[QStringLiteral("previewNext")]->setEnabled(v.CanGoNext());
        buttons_[QStringLiteral("previewPrevious")]->setEnabled(v.CanGoPrevious());
        QPushButton* two = buttons_[QStringLiteral("previewTwoPages")];
        two->setEnabled(v.CanToggleTwo());
        two->setText(ToQt(codec_, v.TwoPages() ? print::kPreviewOnePage : print::kPreviewTwoPages));
        buttons_[QStringLiteral("previewZoomIn")]->setEnabled(v.CanZoomIn());
        buttons_[QStringLiteral("previewZoomOut")]->setEnabled(v.CanZoomOut());
        pane_->Fit(area_->viewport()->size());
    }

    // Straight to the printer, without a print dialog; the preview closes
    // once the report is printed and stays when it could not be.
    void Print() {
        // A printer with no printers behind it may still carry the PDF
        // format: only a file chosen to print into counts as a printer.
        const bool toFile =
            printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty();
        if (!toFile && !Dialogs::FindPrinter(printer_)) {
            Dialogs::Show(this, ToQt(codec_, desktop::kNoPrinter));
            return;
        }
        if (PrintReport(layout_, printer_, codec_, this))
            accept();
    }

    const ReportLayout& layout_;
    QPrinter& printer_;
    const TextCodec& codec_;
    desktop::PreviewPages view_;
    std::map<QString, QPushButton*> buttons_;
    QLabel* label_ = nullptr;
    QScrollArea* area_ = nullptr;
    PreviewPane* pane_ = nullptr;
};

} // namespace

void PreviewReport(const ReportLayout& layout, QPrinter& printer, const TextCodec& codec,
                   QWidget* parent) {
    PreparePrinterPage(printer);
    PreviewDialog preview(layout, printer, codec, parent);
    // The window fits the screen and closes from its own button bar, whether
    // or not the window manager gives it a close box.
    FitToScreen(preview, parent, 900);
    Dialogs::Exec(preview);
}

} // namespace ostravion::gui
