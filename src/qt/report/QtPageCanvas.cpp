#include "qt/report/QtPageCanvas.h"

#include "qt/report/QtText.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QRawFont>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

namespace ostravion::qtreport {

namespace {

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

QStringList FamiliesForFace(const QString& face) {
    // Gothic faces take the fixed-pitch coding gothic, myeongjo and batang
    // faces the myeongjo. The Latin serif face takes the serif with the
    // metrics of the face it names, and the myeongjo for Hangul, which no
    // Latin serif carries.
    if (face == QStringLiteral(u"굴림체") || face == QStringLiteral(u"굴림"))
        return {QStringLiteral("NanumGothicCoding"), QStringLiteral("NanumGothic")};
    if (face == QStringLiteral(u"신명조체") || face == QStringLiteral(u"바탕체") ||
        face == QStringLiteral(u"바탕"))
        return {QStringLiteral("NanumMyeongjo")};
    if (face == QStringLiteral("Time New Roman") || face == QStringLiteral("Times New Roman"))
        return {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"),
                QStringLiteral("NanumMyeongjo")};
    return {face, QStringLiteral("NanumGothic")};
}

QtPageCanvas::QtPageCanvas(QPainter& painter, const TextCodec& codec)
    : painter_(painter), codec_(codec) {
    QPaintDevice* device = painter_.device();
    const double dpiX = device ? device->logicalDpiX() : 1440.0;
    const double dpiY = device ? device->logicalDpiY() : 1440.0;
    sx_ = dpiX / 1440.0;
    sy_ = dpiY / 1440.0;

    // A hairline as a printer draws its default pen: one dot of a 300 dpi
    // printer, never thinner than one device unit.
    pen_ = QPen(Qt::black);
    pen_.setWidthF(std::max(1.0, dpiX / 300.0));
    pen_.setCosmetic(false);

    fonts_[0] = painter_.font();
    for (int r = 1; r <= kReportFontCount; ++r) {
        const FontSpec spec = ReportFontSpec(static_cast<FontRole>(r));
        QFont f;
        f.setFamilies(FamiliesForFace(Decode(spec.face)));
        f.setWeight(spec.weight >= 700 ? QFont::Bold : QFont::Normal);
        f.setStyleHint(QFont::AnyStyle, QFont::PreferAntialias);
        f.setKerning(false);
        // Heights are twips; twenty twips make a point.
        const double points = std::abs(spec.height) / 20.0;
        f.setPointSizeF(points);
        if (spec.height > 0 && device) {
            // A positive height is the cell height (ascent plus descent): find
            // the character size that gives that cell on this device.
            const QFontMetricsF m(f, device);
            const double cellPoints = m.height() * 72.0 / dpiY;
            if (cellPoints > 0)
                f.setPointSizeF(points * points / cellPoints);
        }
        fonts_[static_cast<std::size_t>(r)] = f;
        spaceShared_[static_cast<std::size_t>(r)] = SpaceGlyphShared(f);
    }
}

bool SpaceGlyphShared(const QFont& font) {
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return false;
    const QList<quint32> space = raw.glyphIndexesForString(QStringLiteral(" "));
    if (space.size() != 1 || space.constFirst() == 0)
        return false;
    QString controls;
    for (char16_t c = 0; c < 0x20; ++c)
        controls += QChar(c);
    return raw.glyphIndexesForString(controls).contains(space.constFirst());
}

void QtPageCanvas::StartPage() {
    painter_.resetTransform();
    painter_.setPen(pen_);
    painter_.setBrush(Qt::NoBrush);
    painter_.setFont(fonts_[0]);
    current_ = FontRole::Device;
}

FontRole QtPageCanvas::SelectFont(FontRole role) {
    const FontRole previous = current_;
    current_ = role;
    painter_.setFont(fonts_[static_cast<std::size_t>(role)]);
    return previous;
}

QRectF QtPageCanvas::Map(const TwipRect& r) const {
    return QRectF(QPointF(r.left * sx_, -r.top * sy_), QPointF(r.right * sx_, -r.bottom * sy_))
        .normalized();
}

QString QtPageCanvas::Decode(std::string_view cp949) const {
    if (IsAscii(cp949))
        return QString::fromLatin1(cp949.data(), static_cast<qsizetype>(cp949.size()));
    return ToQt(codec_, cp949);
}

void QtPageCanvas::Text(const TwipRect& box, std::string_view text, int flags) {
    if (text.empty())
        return;
    const QString s = Decode(text);
    if ((flags & Qt::TextSingleLine) && spaceShared_[static_cast<std::size_t>(current_)] &&
        s.contains(QLatin1Char(' ')))
        TextWordByWord(Map(box), s, flags);
    else
        painter_.drawText(Map(box), flags, s);
}

void QtPageCanvas::TextWordByWord(const QRectF& box, const QString& text, int flags) {
    // Each word goes where it stands in the whole line and the spaces stay
    // gaps, so a PDF reads them back as spaces, not as the control character
    // that shares their glyph. The line is clipped to its box as one piece of
    // text would be.
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    const double width = metrics.horizontalAdvance(text);
    const double start = (flags & Qt::AlignHCenter) ? box.center().x() - width / 2.0 : box.left();
    const bool clip = width > box.width();
    if (clip) {
        painter_.save();
        painter_.setClipRect(box, Qt::IntersectClip);
    }
    const int wordFlags =
        Qt::AlignLeft | (flags & Qt::AlignVertical_Mask) | Qt::TextSingleLine | Qt::TextDontClip;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.at(i) == QLatin1Char(' ')) {
            ++i;
            continue;
        }
        qsizetype end = text.indexOf(QLatin1Char(' '), i);
        if (end < 0)
            end = text.size();
        const QString word = text.mid(i, end - i);
        const double left = start + metrics.horizontalAdvance(text.left(i));
        painter_.drawText(QRectF(left, box.top(), metrics.horizontalAdvance(word), box.height()),
                          wordFlags, word);
        i = end;
    }
    if (clip)
        painter_.restore();
}

void QtPageCanvas::CentredText(const TwipRect& box, std::string_view text) {
    Text(box, text, Qt::AlignCenter | Qt::TextSingleLine);
}

void QtPageCanvas::LeftText(const TwipRect& box, std::string_view text) {
    Text(box, text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
}

void QtPageCanvas::TextBlock(const TwipRect& box, std::string_view text) {
    Text(box, text, Qt::AlignLeft | Qt::AlignTop);
}

void QtPageCanvas::WrappedTextBlock(const TwipRect& box, std::string_view text) {
    Text(box, text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
}

void QtPageCanvas::Box(const TwipRect& box) {
    painter_.setBrush(Qt::white);
    painter_.drawRect(Map(box));
    painter_.setBrush(Qt::NoBrush);
}

void QtPageCanvas::Rule(int x1, int y1, int x2, int y2) {
    painter_.drawLine(QPointF(x1 * sx_, -y1 * sy_), QPointF(x2 * sx_, -y2 * sy_));
}

void PaintPages(const ReportLayout& layout, QPainter& painter, QPagedPaintDevice& device,
                const TextCodec& codec, int first, int last) {
    if (last < 0 || last > layout.PageCount())
        last = layout.PageCount();
    first = std::max(first, 1);
    QtPageCanvas canvas(painter, codec);
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        canvas.StartPage();
        layout.DrawPage(canvas, page);
    }
}

bool WriteReportPdf(const ReportLayout& layout, const TextCodec& codec, QIODevice& device,
                    QString* error) {
    QPdfWriter writer(&device);
    writer.setResolution(1200);
    writer.setCreator(QStringLiteral("Ostravion"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("cannot start the PDF document");
        return false;
    }
    PaintPages(layout, painter, writer, codec);
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("cannot finish the PDF document");
        return false;
    }
    return true;
}

bool WriteReportPdf(const ReportLayout& layout, const TextCodec& codec, const QString& path,
                    QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!WriteReportPdf(layout, codec, file, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace ostravion::qtreport
