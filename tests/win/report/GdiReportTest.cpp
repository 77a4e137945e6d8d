// The GDI canvas drawn into enhanced metafiles and read back record by record,
// against what the page engine draws on the recording canvas: every text in
// its order, font and box, every line and box exactly.
#include "../../views/RecordingCanvas.h"
#include "AuditFixture.h"
#include "win/report/GdiPageCanvas.h"

#include <climits>
#include <map>

using namespace ostravion;
using namespace ostravion::gdireport;
using ostravion::test::AuditReports;
using ostravion::test::CanvasOp;
using ostravion::test::RecordingCanvas;

namespace {

constexpr int kAny = INT_MIN;

// One drawing as both sides see it. A text's rect is its clipping box; a
// rule's its two ends. x and y are where a text starts (kAny: not checked).
struct Mark {
    enum Kind { Text, Box, Rule } kind = Text;
    RECT rect{};
    std::string text; // CP949
    FontRole font = FontRole::Device;
    int x = kAny;
    int y = kAny;
};

Mark Shape(Mark::Kind kind, const RECT& rect) {
    Mark m;
    m.kind = kind;
    m.rect = rect;
    return m;
}

bool Matches(const Mark& drawn, const Mark& expected) {
    return drawn.kind == expected.kind && EqualRect(&drawn.rect, &expected.rect) &&
           drawn.text == expected.text && drawn.font == expected.font &&
           (expected.x == kAny || drawn.x == expected.x) &&
           (expected.y == kAny || drawn.y == expected.y);
}

std::ostream& operator<<(std::ostream& out, const Mark& m) {
    return out << "kind " << m.kind << " (" << m.rect.left << ", " << m.rect.top << ", "
               << m.rect.right << ", " << m.rect.bottom << ") font " << static_cast<int>(m.font)
               << " at " << m.x << ", " << m.y << " \"" << m.text << "\"";
}

std::string Cp949(const wchar_t* text, int count) {
    std::string out(static_cast<std::size_t>(count) * 2, '\0');
    out.resize(static_cast<std::size_t>(WideCharToMultiByte(
        949, 0, text, count, out.data(), static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

// The role whose font request the logical font is; Device for none.
FontRole RoleOf(const LOGFONTW& font) {
    for (int r = 1; r <= kReportFontCount; ++r) {
        const FontSpec spec = ReportFontSpec(static_cast<FontRole>(r));
        wchar_t face[LF_FACESIZE] = {};
        MultiByteToWideChar(949, 0, spec.face.data(), static_cast<int>(spec.face.size()), face,
                            LF_FACESIZE - 1);
        if (font.lfHeight == spec.height && font.lfWeight == spec.weight &&
            lstrcmpW(font.lfFaceName, face) == 0 && font.lfCharSet == HANGEUL_CHARSET)
            return static_cast<FontRole>(r);
    }
    return FontRole::Device;
}

struct PageRecords {
    std::vector<Mark> marks;
    DWORD mapMode = 0;
};

PageRecords ReadRecords(HENHMETAFILE emf) {
    std::vector<BYTE> bits(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(bits.size()), bits.data());
    PageRecords page;
    std::map<DWORD, FontRole> fonts;
    FontRole current = FontRole::Device;
    POINTL pen{};
    for (std::size_t at = 0; at + sizeof(EMR) <= bits.size();) {
        const EMR* record = reinterpret_cast<const EMR*>(bits.data() + at);
        switch (record->iType) {
        case EMR_SETMAPMODE:
            page.mapMode = reinterpret_cast<const EMRSETMAPMODE*>(record)->iMode;
            break;
        case EMR_EXTCREATEFONTINDIRECTW: {
            const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
            fonts[font->ihFont] = RoleOf(font->elfw.elfLogFont);
            break;
        }
        case EMR_SELECTOBJECT: {
            // A stock object (the device's font) or a report font.
            const DWORD object = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;
            if (object & 0x80000000u)
                current = FontRole::Device;
            else if (fonts.count(object))
                current = fonts[object];
            break;
        }
        case EMR_EXTTEXTOUTW: {
            const EMRTEXT& t = reinterpret_cast<const EMREXTTEXTOUTW*>(record)->emrtext;
            const auto* chars = reinterpret_cast<const wchar_t*>(bits.data() + at + t.offString);
            page.marks.push_back({Mark::Text,
                                  {t.rcl.left, t.rcl.top, t.rcl.right, t.rcl.bottom},
                                  Cp949(chars, static_cast<int>(t.nChars)),
                                  current,
                                  t.ptlReference.x,
                                  t.ptlReference.y});
            break;
        }
        case EMR_RECTANGLE: {
            // The record holds the box's corners inclusive, the lower one
            // first: a box drawn from (left, top) to (right, bottom), top
            // above bottom, is kept as (left, bottom, right - 1, top - 1).
            const RECTL b = reinterpret_cast<const EMRRECTANGLE*>(record)->rclBox;
            page.marks.push_back(Shape(Mark::Box, {b.left, b.bottom + 1, b.right + 1, b.top}));
            break;
        }
        case EMR_MOVETOEX:
            pen = reinterpret_cast<const EMRMOVETOEX*>(record)->ptl;
            break;
        case EMR_LINETO: {
            const POINTL to = reinterpret_cast<const EMRLINETO*>(record)->ptl;
            page.marks.push_back(Shape(Mark::Rule, {pen.x, pen.y, to.x, to.y}));
            pen = to;
            break;
        }
        default:
            break;
        }
        if (record->nSize == 0)
            break;
        at += record->nSize;
    }
    return page;
}

// The marks a page drawn on the recording canvas should leave: one text per
// non-empty line (the forms' paragraphs fit their boxes, so wrapping keeps
// their lines), left texts and blocks at the box's left edge, a block's first
// line at its top; centred texts by their box alone.
std::vector<Mark> Expected(const RecordingCanvas& canvas) {
    std::vector<Mark> marks;
    for (const CanvasOp& op : canvas.ops) {
        const RECT r{op.rect.left, op.rect.top, op.rect.right, op.rect.bottom};
        if (op.kind == CanvasOp::Box || op.kind == CanvasOp::Rule) {
            marks.push_back(Shape(op.kind == CanvasOp::Box ? Mark::Box : Mark::Rule, r));
            continue;
        }
        const bool block = op.kind == CanvasOp::Block || op.kind == CanvasOp::Wrapped;
        const int x = op.kind == CanvasOp::Centred ? kAny : r.left;
        bool first = true;
        for (std::size_t start = 0; start <= op.text.size();) {
            std::size_t end = op.text.find('\n', start);
            if (end == std::string::npos)
                end = op.text.size();
            if (end > start)
                marks.push_back({Mark::Text, r, op.text.substr(start, end - start), op.font, x,
                                 block && first ? r.top : kAny});
            first = false;
            start = end + 1;
        }
    }
    return marks;
}

// Compares every page of the layout; returns the number of marks seen.
std::size_t ComparePages(const ReportLayout& layout) {
    std::vector<HENHMETAFILE> files = PageMetafiles(layout);
    EXPECT_EQ(static_cast<int>(files.size()), layout.PageCount());
    std::size_t seen = 0;
    for (int page = 1; page <= static_cast<int>(files.size()); ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        RecordingCanvas recording;
        layout.DrawPage(recording, page);
        const std::vector<Mark> expected = Expected(recording);
        const PageRecords drawn = ReadRecords(files[static_cast<std::size_t>(page - 1)]);
        EXPECT_EQ(drawn.mapMode, static_cast<DWORD>(MM_TWIPS));
        EXPECT_EQ(drawn.marks.size(), expected.size());
        for (std::size_t i = 0; i < std::min(drawn.marks.size(), expected.size()); ++i)
            if (!Matches(drawn.marks[i], expected[i])) {
                ADD_FAILURE() << "mark " << i << "\n drawn:    " << drawn.marks[i]
                              << "\n expected: " << expected[i];
                break;
            }
        seen += drawn.marks.size();
        DeleteEnhMetaFile(files[static_cast<std::size_t>(page - 1)]);
    }
    return seen;
}

TEST_F(AuditReports, EveryReportAndFormDrawsAsThePageEngineSays) {
    for (ReportKind kind : test::kAllReports) {
        SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)));
        const ReportLayout layout = Prepare(kind);
        EXPECT_GT(ComparePages(layout), 10u);
    }
}

// Several pages of each result report: page numbers, closing lines and the
// sheet's closing block carried over to the next page.
TEST(GdiReports, ReportsOfSeveralPagesDrawPageForPage) {
    ReportData data;
    for (int pc = 0; pc < 9; ++pc) {
        for (int i = 0; i < 4; ++i)
            data.history.lines.push_back({"PC-" + std::to_string(pc), "Co", "prog", "C:\\", "A"});
        data.history.perPcCounts.push_back(4);
    }
    data.rows.assign(30, {"A", "Maker", "3", "2", "Program", "1", "2"});
    for (ReportKind kind :
         {ReportKind::ByPc, ReportKind::BySoftware, ReportKind::ConfirmationSheet}) {
        SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)));
        const ReportLayout layout(kind, data);
        ASSERT_GE(layout.PageCount(), 2);
        ComparePages(layout);
    }
    EXPECT_EQ(MetafileName(7, 12), "page-007.emf");
    EXPECT_EQ(MetafileName(12, 1200), "page-0012.emf");
}

TEST(GdiCanvas, WrappedLinesBreakAtSpacesAndFitTheirWidth) {
    HDC dc = CreateCompatibleDC(nullptr);
    {
        GdiPageCanvas canvas(dc);
        canvas.StartPage();
        FontScope font(canvas, FontRole::Pledge);
        // "본인은 정품 소프트웨어만을 사용하고" ten times, then a word without spaces
        std::string words = "\xBA\xBB\xC0\xCE\xC0\xBA \xC1\xA4\xC7\xB0 \xBC\xD2\xC7\xC1\xC6\xAE"
                            "\xBF\xFE\xBE\xEE\xB8\xB8\xC0\xBB \xBB\xE7\xBF\xEB\xC7\xCF\xB0\xED";
        for (int i = 0; i < 3; ++i)
            words += " " + words;
        const std::string word(60, 'W');
        const std::vector<std::string> lines = canvas.WrapLines(words + "\n" + word, 3000);
        ASSERT_GT(lines.size(), 4u);
        std::string joined;
        for (const std::string& line : lines) {
            SIZE size{};
            GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
            EXPECT_LE(std::abs(size.cx), 3000) << line;
            joined += (joined.empty() || line[0] == 'W' ? "" : " ") + line;
        }
        // Broken at spaces only, the long word between characters.
        EXPECT_EQ(joined, words + word);
    }
    DeleteDC(dc);
}

} // namespace
