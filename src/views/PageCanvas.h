// The surface every printed report is drawn on.
//
// Units are twips (1/1440 inch) from the top-left corner of the printable
// area: x grows to the right, y grows upwards, so every point on the page has
// a negative y. Rectangles are (left, top, right, bottom), top above bottom.
// The printer, preview and PDF implementation lives beside the GUI; tests
// record the calls.
#pragma once

#include <string_view>

namespace ostravion {

struct TwipRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const TwipRect&) const = default;
};

// The eight report fonts, and the device's own font that is selected before
// a report selects any.
enum class FontRole : unsigned char {
    Device,
    Title,
    TableHeader,
    TableBody,
    Sentence,
    Total,
    Sheet,
    Pledge,
    Ledger,
};
inline constexpr int kReportFontCount = 8;

// A font request: face name (CP949), height and weight. A negative height is a
// character height, a positive one a cell height (character plus internal
// leading), as the platform's font request defines them.
struct FontSpec {
    std::string_view face;
    int height = 0;
    int weight = 400;
};

// The request behind each role; the device font has an empty face.
FontSpec ReportFontSpec(FontRole role);

class PageCanvas {
public:
    virtual ~PageCanvas() = default;

    // Makes `role` the current font and returns the one it replaces.
    virtual FontRole SelectFont(FontRole role) = 0;

    // One line, centred both ways in the box; what does not fit is clipped.
    virtual void CentredText(const TwipRect& box, std::string_view text) = 0;
    // One line, left-aligned and vertically centred; clipped to the box.
    virtual void LeftText(const TwipRect& box, std::string_view text) = 0;
    // From the top-left corner, "\n" starts a new line, no wrapping.
    virtual void TextBlock(const TwipRect& box, std::string_view text) = 0;
    // As TextBlock, and lines too long for the box wrap at word boundaries.
    virtual void WrappedTextBlock(const TwipRect& box, std::string_view text) = 0;
    // Outline with the default pen, filled white: it covers what lies beneath.
    virtual void Box(const TwipRect& box) = 0;
    // A straight line with the default pen.
    virtual void Rule(int x1, int y1, int x2, int y2) = 0;
};

// Selects a font for one drawing routine and puts the previous one back when
// the routine returns.
class FontScope {
public:
    FontScope(PageCanvas& canvas, FontRole role)
        : canvas_(canvas), previous_(canvas.SelectFont(role)) {}
    ~FontScope() { canvas_.SelectFont(previous_); }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    PageCanvas& canvas_;
    FontRole previous_;
};

} // namespace ostravion
