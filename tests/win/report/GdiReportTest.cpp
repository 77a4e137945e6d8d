// The GDI canvas drawn into enhanced metafiles and read back record by record,
// against what the page engine draws on the recording canvas: every text in
// its order, font and box, every line and box exactly.
#include "../../views/RecordingCanvas.h"
#include "AuditFixture.h"
#include "platform/Native.h"
#include "util/AuditUtil.h"
#include "views/ReportLayout.h"
#include "win/report/GdiPageCanvas.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace ostravion;
using namespace ostravion::gdireport;
using ostravion::test::AuditReports;
using ostravion::test::CanvasOp;
using ostravion::test::RecordingCanvas;

namespace {

// One drawing as both sides see it.
struct Mark {
    enum Kind { Text, Box, Rule } kind;
    RECT rect{};      // a text's clipping box, a box, or a rule's two ends
    std::string text; // CP949
    FontRole font = FontRole::Device;
    bool operator==(const Mark& o) const {
        return kind == o.kind && std::memcmp(&rect, &o.rect, sizeof rect) == 0 && text == o.text &&
               font == o.font;
    }
};

std::ostream& operator<<(std::ostream& out, const Mark& m) {
    static const char* kinds[] = {"text", "box", "rule"};
    return out << kinds[m.kind] << " (" << m.rect.left << ", " << m.rect.top << ", " << m.rect.right
               << ", " << m.rect.bottom << ") font " << static_cast<int>(m.font) << " \"" << m.text
               << "\"";
}

// Where a text line was put, for the checks of alignment.
struct Placed {
    POINTL at{};
};

RECT Rect(const RECTL& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

std::string Cp949(const wchar_t* text, int count) {
    const int n = WideCharToMultiByte(949, 0, text, count, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(949, 0, text, count, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Unicode(std::string_view cp949) {
    const int n =
        MultiByteToWideChar(949, 0, cp949.data(), static_cast<int>(cp949.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(949, 0, cp949.data(), static_cast<int>(cp949.size()), out.data(), n);
    return out;
}

// The role whose font request the logical font is; Device for none.
FontRole RoleOf(const LOGFONTW& font) {
    for (int r = 1; r <= kReportFontCount; ++r) {
        const FontSpec spec = ReportFontSpec(static_cast<FontRole>(r));
        if (font.lfHeight == spec.height && font.lfWeight == spec.weight &&
            std::wstring(font.lfFaceName) == Unicode(spec.face) &&
            font.lfCharSet == HANGEUL_CHARSET)
            return static_cast<FontRole>(r);
    }
    return FontRole::Device;
}

// What one page's metafile holds.
struct PageRecords {
    std::vector<Mark> marks;
    std::vector<Placed> placed; // one per text mark
    int mapMode = 0;
};

PageRecords ReadRecords(HENHMETAFILE emf) {
    const UINT size = GetEnhMetaFileBits(emf, 0, nullptr);
    std::vector<BYTE> bits(size);
    GetEnhMetaFileBits(emf, size, bits.data());
    PageRecords page;
    std::map<DWORD, FontRole> fonts;
    FontRole current = FontRole::Device;
    POINT pen{};
    for (std::size_t at = 0; at + sizeof(EMR) <= bits.size();) {
        const auto* record = reinterpret_cast<const EMR*>(bits.data() + at);
        switch (record->iType) {
        case EMR_SETMAPMODE:
            page.mapMode = static_cast<int>(reinterpret_cast<const EMRSETMAPMODE*>(record)->iMode);
            break;
        case EMR_EXTCREATEFONTINDIRECTW: {
            const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
            fonts[font->ihFont] = RoleOf(font->elfw.elfLogFont);
            break;
        }
        case EMR_SELECTOBJECT: {
            const DWORD object = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;
            if (fonts.count(object))
                current = fonts[object];
            else if (object == (0x80000000u | DEVICE_DEFAULT_FONT) ||
                     object == (0x80000000u | SYSTEM_FONT))
                current = FontRole::Device;
            break;
        }
        case EMR_EXTTEXTOUTW: {
            const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
            const auto* chars = reinterpret_cast<const wchar_t*>(
                reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
            page.marks.push_back({Mark::Text, Rect(text->emrtext.rcl),
                                  Cp949(chars, static_cast<int>(text->emrtext.nChars)), current});
            page.placed.push_back({text->emrtext.ptlReference});
            break;
        }
        case EMR_RECTANGLE: {
            // The record holds the box's corners inclusive, the lower one
            // first: a box drawn from (left, top) to (right, bottom), top
            // above bottom, is kept as (left, bottom, right - 1, top - 1).
            const RECTL box = reinterpret_cast<const EMRRECTANGLE*>(record)->rclBox;
            page.marks.push_back(
                {Mark::Box, RECT{box.left, box.bottom + 1, box.right + 1, box.top}, {}, current});
            break;
        }
        case EMR_MOVETOEX: {
            const POINTL p = reinterpret_cast<const EMRMOVETOEX*>(record)->ptl;
            pen = {p.x, p.y};
            break;
        }
        case EMR_LINETO: {
            const POINTL p = reinterpret_cast<const EMRLINETO*>(record)->ptl;
            page.marks.push_back({Mark::Rule, RECT{pen.x, pen.y, p.x, p.y}, {}, current});
            pen = {p.x, p.y};
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

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// The marks a page drawn on the recording canvas should leave in its
// metafile: one text per non-empty line (blocks keep their lines; the
// paragraphs of the forms fit their boxes, so wrapping keeps them too).
std::vector<Mark> Expected(const RecordingCanvas& canvas) {
    std::vector<Mark> marks;
    for (const CanvasOp& op : canvas.ops) {
        const RECT r{op.rect.left, op.rect.top, op.rect.right, op.rect.bottom};
        switch (op.kind) {
        case CanvasOp::Box:
            marks.push_back({Mark::Box, r, {}, op.font});
            break;
        case CanvasOp::Rule:
            marks.push_back({Mark::Rule, r, {}, op.font});
            break;
        default:
            for (std::string_view line : Lines(op.text))
                if (!line.empty())
                    marks.push_back({Mark::Text, r, std::string(line), op.font});
            break;
        }
    }
    // Boxes and rules carry no font of their own.
    for (Mark& m : marks)
        if (m.kind != Mark::Text)
            m.font = FontRole::Device;
    return marks;
}

// Compares every page of the layout; returns the number of text marks seen.
std::size_t ComparePages(const ReportLayout& layout) {
    std::vector<HENHMETAFILE> files = PageMetafiles(layout);
    EXPECT_EQ(static_cast<int>(files.size()), layout.PageCount());
    std::size_t texts = 0;
    for (int page = 1; page <= static_cast<int>(files.size()); ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        RecordingCanvas recording;
        layout.DrawPage(recording, page);
        const std::vector<Mark> expected = Expected(recording);
        PageRecords drawn = ReadRecords(files[static_cast<std::size_t>(page - 1)]);
        for (Mark& m : drawn.marks)
            if (m.kind != Mark::Text)
                m.font = FontRole::Device;
        EXPECT_EQ(drawn.mapMode, MM_TWIPS);
        EXPECT_EQ(drawn.marks.size(), expected.size());
        for (std::size_t i = 0; i < std::min(drawn.marks.size(), expected.size()); ++i)
            if (!(drawn.marks[i] == expected[i])) {
                ADD_FAILURE() << "mark " << i << "\n drawn:    " << drawn.marks[i]
                              << "\n expected: " << expected[i];
                break;
            }
        // Texts start where the layout says: left texts and blocks at the
        // left edge, blocks' first lines at the top, every text inside its
        // box's height; centred ones by the middle of their box.
        std::size_t t = 0;
        for (const CanvasOp& op : recording.ops) {
            if (op.kind == CanvasOp::Box || op.kind == CanvasOp::Rule || op.text.empty())
                continue;
            for (std::string_view line : Lines(op.text)) {
                if (line.empty())
                    continue;
                if (t >= drawn.placed.size())
                    break;
                const Placed& p = drawn.placed[t++];
                if (op.kind == CanvasOp::Centred) {
                    const int middle = (op.rect.left + op.rect.right) / 2;
                    EXPECT_LE(p.at.x, middle) << line;
                } else {
                    EXPECT_EQ(p.at.x, op.rect.left) << line;
                }
                EXPECT_LE(p.at.y, op.rect.top) << line;
                EXPECT_GT(p.at.y, op.rect.bottom - (op.rect.top - op.rect.bottom)) << line;
                if ((op.kind == CanvasOp::Block || op.kind == CanvasOp::Wrapped) &&
                    line.data() == op.text.data()) {
                    EXPECT_EQ(p.at.y, op.rect.top) << line;
                }
            }
        }
        texts += drawn.placed.size();
    }
    for (HENHMETAFILE f : files)
        DeleteEnhMetaFile(f);
    return texts;
}

TEST_F(AuditReports, EveryReportAndFormDrawsAsThePageEngineSays) {
    for (ReportKind kind : {ReportKind::ByPc, ReportKind::BySoftware, ReportKind::ConfirmationSheet,
                            ReportKind::Pledge, ReportKind::Ledger}) {
        SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)));
        const ReportLayout layout = Prepare(kind);
        if (kind == ReportKind::ByPc || kind == ReportKind::BySoftware ||
            kind == ReportKind::ConfirmationSheet) {
            EXPECT_GT(layout.EntryCount(), 0u);
        }
        EXPECT_GT(ComparePages(layout), 5u);
    }
}

// Several pages of each result report: page numbers, closing lines and the
// sheet's closing block carried over to the next page.
TEST(GdiReports, ReportsOfSeveralPagesDrawPageForPage) {
    ReportData data;
    for (int pc = 0; pc < 9; ++pc) {
        const std::string name = "PC-" + std::to_string(pc);
        for (int i = 0; i < 4; ++i)
            data.history.lines.push_back(
                {name, "Co" + std::to_string(i), "prog" + std::to_string(i), "C:\\Apps\\", "A"});
        data.history.perPcCounts.push_back(4);
    }
    for (int i = 0; i < 30; ++i) {
        ResultRow row;
        row.program = "Program " + std::to_string(i);
        row.company = "Maker";
        row.installed = "3";
        row.genuine = "1";
        row.copies = "2";
        row.classLetter = "A";
        data.rows.push_back(row);
    }
    for (ReportKind kind :
         {ReportKind::ByPc, ReportKind::BySoftware, ReportKind::ConfirmationSheet}) {
        SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)));
        const ReportLayout layout(kind, data);
        ASSERT_GE(layout.PageCount(), 2);
        ComparePages(layout);
    }
}

// A DC in the twips mapping, for measuring.
struct TwipsDc {
    TwipsDc() : dc(CreateCompatibleDC(nullptr)) { SetMapMode(dc, MM_TWIPS); }
    ~TwipsDc() { DeleteDC(dc); }
    HDC dc;
};

TEST(GdiCanvas, WrappedLinesBreakAtSpacesAndFitTheirWidth) {
    TwipsDc twips;
    GdiPageCanvas canvas(twips.dc);
    canvas.StartPage();
    FontScope font(canvas, FontRole::Pledge);
    // "본인은 정품 소프트웨어만을 사용하고" ten times, and a word without spaces
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += std::string(i ? " " : "") +
                "\xBA\xBB\xC0\xCE\xC0\xBA \xC1\xA4\xC7\xB0 \xBC\xD2\xC7\xC1\xC6\xAE\xBF\xFE"
                "\xBE\xEE\xB8\xB8\xC0\xBB \xBB\xE7\xBF\xEB\xC7\xCF\xB0\xED";
    text += "\n" + std::string(60, 'W');
    const int width = 3000;
    const std::vector<std::string> lines = canvas.WrapLines(text, width);
    ASSERT_GT(lines.size(), 4u);
    std::string joined;
    for (const std::string& line : lines) {
        SIZE size{};
        GetTextExtentPoint32A(twips.dc, line.c_str(), static_cast<int>(line.size()), &size);
        EXPECT_LE(std::abs(size.cx), width) << line;
        EXPECT_FALSE(line.empty());
        // No Hangul character is cut in two.
        std::size_t i = 0;
        while (i < line.size())
            i += IsDBCSLeadByteEx(949, static_cast<BYTE>(line[i])) ? 2 : 1;
        EXPECT_EQ(i, line.size()) << line;
        if (!joined.empty() && line[0] != 'W' && joined.back() != 'W')
            joined += ' ';
        joined += line;
    }
    // Broken at spaces only (the long word between characters).
    std::string words = text.substr(0, text.find('\n'));
    EXPECT_EQ(joined.substr(0, words.size()), words);
    EXPECT_EQ(joined.substr(words.size()), std::string(60, 'W'));
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(GdiMetafiles, OneFilePerPageNamedInPageOrder) {
    EXPECT_EQ(MetafileName(7, 12), "page-007.emf");
    EXPECT_EQ(MetafileName(12, 1200), "page-0012.emf");
    EXPECT_EQ(MetafileName(1, 1), "page-001.emf");

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::filesystem::path folder =
        std::filesystem::path(temp) / ("ostravion-emf-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    // An earlier, longer run's page and a file of the user's.
    { std::ofstream(folder / "page-009.emf") << "old"; }
    { std::ofstream(folder / "notes.txt") << "mine"; }

    ReportData data;
    for (int i = 0; i < 60; ++i)
        data.rows.push_back({});
    const ReportLayout layout(ReportKind::BySoftware, data);
    ASSERT_EQ(layout.PageCount(), 3);
    std::vector<std::string> written;
    std::string error;
    ASSERT_TRUE(WriteMetafiles(layout, folder.string(), &written, &error)) << error;
    EXPECT_EQ(written.size(), 3u);
    EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"notes.txt", "page-001.emf",
                                                         "page-002.emf", "page-003.emf"}));
    for (int page = 1; page <= 3; ++page) {
        HENHMETAFILE emf = GetEnhMetaFileA((folder / MetafileName(page, 3)).string().c_str());
        ASSERT_NE(emf, nullptr);
        ENHMETAHEADER header{};
        GetEnhMetaFileHeader(emf, sizeof header, &header);
        EXPECT_EQ(header.rclFrame.right, 21000); // A4 portrait
        EXPECT_EQ(header.rclFrame.bottom, 29700);
        // The page number tells the pages apart.
        const PageRecords records = ReadRecords(emf);
        const std::string number = "-" + std::to_string(page) + "/3-";
        EXPECT_EQ(std::count_if(records.marks.begin(), records.marks.end(),
                                [&](const Mark& m) { return m.text == number; }),
                  1);
        DeleteEnhMetaFile(emf);
    }
    // A folder that cannot be made: false, and said why.
    written.clear();
    EXPECT_FALSE(WriteMetafiles(layout, (folder / "notes.txt" / "x").string(), &written, &error));
    EXPECT_TRUE(written.empty());
    EXPECT_NE(error.find("folder"), std::string::npos);
    std::filesystem::remove_all(folder);
}

} // namespace
