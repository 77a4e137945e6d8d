// The report canvas on a Qt paint device: printer, print preview and PDF.
//
// Twips are mapped to device units by the device's resolution; y is negated
// point by point rather than by flipping the painter, so text stays upright.
// The faces the reports ask for are resolved to installed Korean fonts, and
// CP949 texts are decoded through the platform's codec at this edge.
#pragma once

#include "ports/Ports.h"
#include "views/PageCanvas.h"
#include "views/ReportLayout.h"

#include <QFont>
#include <QIODevice>
#include <QPainter>
#include <QPen>
#include <QString>
#include <QStringList>
#include <array>

class QPagedPaintDevice;

namespace ostravion::qtreport {

// The installed families tried, in order, for a face a report requests
// (the face as Unicode text).
QStringList FamiliesForFace(const QString& face);

class QtPageCanvas final : public PageCanvas {
public:
    // The painter must be active on its device. The eight report fonts are
    // made here, for that device.
    QtPageCanvas(QPainter& painter, const TextCodec& codec);

    // Call at the start of every device page: sets the mapping, pen, brush and
    // the device font again, so a device that resets itself between pages
    // prints the same layout.
    void StartPage();

    FontRole SelectFont(FontRole role) override;
    void CentredText(const TwipRect& box, std::string_view text) override;
    void LeftText(const TwipRect& box, std::string_view text) override;
    void TextBlock(const TwipRect& box, std::string_view text) override;
    void WrappedTextBlock(const TwipRect& box, std::string_view text) override;
    void Box(const TwipRect& box) override;
    void Rule(int x1, int y1, int x2, int y2) override;

    // The font made for a role (for checks and previews).
    const QFont& Font(FontRole role) const { return fonts_[static_cast<std::size_t>(role)]; }
    // Device units per twip.
    double ScaleX() const { return sx_; }
    double ScaleY() const { return sy_; }
    QRectF Map(const TwipRect& r) const;
    QString Decode(std::string_view cp949) const;

private:
    void Text(const TwipRect& box, std::string_view text, int flags);
    void TextWordByWord(const QRectF& box, const QString& text, int flags);

    QPainter& painter_;
    const TextCodec& codec_;
    double sx_ = 1.0;
    double sy_ = 1.0;
    QPen pen_;
    FontRole current_ = FontRole::Device;
    std::array<QFont, kReportFontCount + 1> fonts_;
    // Whether the face of a role gives its space glyph to control characters
    // too; see TextWordByWord.
    std::array<bool, kReportFontCount + 1> spaceShared_{};
};

// True when the face the font resolves to maps a control character onto its
// space glyph. A PDF's text map names each glyph by the lowest character that
// maps to it, so such a face's spaces read back as a control character.
bool SpaceGlyphShared(const QFont& font);

// Paints pages first..last (1-based; last -1 for the final page) of the
// layout through a painter active on a paged device, one device page each.
void PaintPages(const ReportLayout& layout, QPainter& painter, QPagedPaintDevice& device,
                const TextCodec& codec, int first = 1, int last = -1);

// Writes every page of the layout to a PDF file (A4 portrait). The file is
// replaced only when the whole document was written; otherwise `error` says
// why and any earlier file of that name is left as it was.
bool WriteReportPdf(const ReportLayout& layout, const TextCodec& codec, const QString& path,
                    QString* error = nullptr);

// Writes every page of the layout as a PDF document (A4 portrait) to a device
// open for writing; false, with `error` saying why, when it fails part way.
bool WriteReportPdf(const ReportLayout& layout, const TextCodec& codec, QIODevice& device,
                    QString* error = nullptr);

} // namespace ostravion::qtreport
