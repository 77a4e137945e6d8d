// The report canvas on a Windows device context: printer, preview and
// enhanced metafile.
//
// Every page is drawn in the twips mapping (MM_TWIPS: 1/1440 inch, y upwards
// from the top-left corner of the printable area), so the layout's
// coordinates go to the device as they are. The eight report fonts are
// requested by their Korean face names with the Hangul character set (the
// system substitutes a face it does not have), and the CP949 texts go through
// the ANSI text calls, which speak CP949 on a Korean system.
//
// Texts are placed by the canvas itself from the font's measures, and every
// single-line text is clipped to its box: a centred text is recorded as an
// ExtTextOut clipped to exactly the box it was given.
#pragma once

#include "views/PageCanvas.h"
#include "views/ReportLayout.h"

#include <windows.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace ostravion::gdireport {

class GdiPageCanvas final : public PageCanvas {
public:
    // The fonts are made here and deleted with the canvas; the device context
    // stays the caller's and outlives the canvas.
    explicit GdiPageCanvas(HDC dc);
    ~GdiPageCanvas() override;
    GdiPageCanvas(const GdiPageCanvas&) = delete;
    GdiPageCanvas& operator=(const GdiPageCanvas&) = delete;

    // Call at the start of every device page: the twips mapping, the default
    // pen and white brush, transparent black text and the device's own font
    // again, so a device that resets itself between pages prints the same.
    // `originTwips` moves the layout's origin that far into the page (x to the
    // right, y down), for a device whose origin is the paper's corner.
    void StartPage(POINT originTwips = {0, 0});

    FontRole SelectFont(FontRole role) override;
    void CentredText(const TwipRect& box, std::string_view text) override;
    void LeftText(const TwipRect& box, std::string_view text) override;
    void TextBlock(const TwipRect& box, std::string_view text) override;
    void WrappedTextBlock(const TwipRect& box, std::string_view text) override;
    void Box(const TwipRect& box) override;
    void Rule(int x1, int y1, int x2, int y2) override;

    // The lines a wrapped block of `text` becomes in the current font within
    // `width` twips: the text's own lines, each broken after the last space
    // that still fits (a word longer than the width is broken between
    // characters).
    std::vector<std::string> WrapLines(std::string_view text, int width) const;

private:
    int Width(std::string_view text) const;
    int LineHeight() const;
    void Line(int x, int y, const RECT& clip, std::string_view text);

    HDC dc_;
    HFONT deviceFont_ = nullptr;
    FontRole current_ = FontRole::Device;
    std::array<HFONT, kReportFontCount + 1> fonts_{};
};

// Draws pages first..last (1-based; last -1 for the final page) of the layout
// on a printer's device context, one device page each (StartPage/EndPage);
// the document must have been started. False when the device refused a page.
bool DrawPages(const ReportLayout& layout, HDC printer, int first = 1, int last = -1);

// One enhanced metafile in memory per page of the layout, drawn on `reference`
// (a printer's or the screen's context; null for the screen), each framed as
// an A4 portrait page. The caller deletes them (DeleteEnhMetaFile).
std::vector<HENHMETAFILE> PageMetafiles(const ReportLayout& layout, HDC reference = nullptr);

// The file name of page `page` of `pageCount`: "page-001.emf" and on, the
// number as wide as the last one's (at least three digits), so that the names
// sort in page order.
std::string MetafileName(int page, int pageCount);

// Writes every page of the layout as an enhanced metafile into `folder`
// (UTF-8; made when missing), one file per page named by MetafileName. Each
// file is written whole beside its name and then moved onto it; page files of
// an earlier, longer run are removed once every new page is in place. The
// paths written (UTF-8) go to `written`; false with `error` set when a page
// could not be written.
bool WriteMetafiles(const ReportLayout& layout, const std::string& folder,
                    std::vector<std::string>* written, std::string* error, HDC reference = nullptr);

} // namespace ostravion::gdireport
