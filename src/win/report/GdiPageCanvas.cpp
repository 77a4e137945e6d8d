#include "win/report/GdiPageCanvas.h"

#include "platform/Native.h"
#include "platform/win32/WideText.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace ostravion::gdireport {

namespace {

// Twips of 5 mm: the margin a page drawn without a printer is given, as the
// printable area of a page printer begins about there.
constexpr int kPlainMarginTwips = 283;
// A4 portrait in the 0.01 mm units of a metafile's frame.
constexpr RECT kA4Frame{0, 0, 21000, 29700};

bool LeadByte(char c) {
    return IsDBCSLeadByteEx(949, static_cast<BYTE>(c)) != 0;
}

// Bytes of the character that starts at `i`.
std::size_t CharBytes(std::string_view s, std::size_t i) {
    return LeadByte(s[i]) && i + 1 < s.size() ? 2 : 1;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

// Where page drawing starts on a reference device, in twips from the paper's
// corner, and the paper's frame: a printer's own printable area and paper,
// otherwise A4 with a margin of 5 mm.
struct PageGeometry {
    POINT origin{kPlainMarginTwips, kPlainMarginTwips};
    RECT frame = kA4Frame;
};

PageGeometry GeometryOf(HDC reference) {
    PageGeometry g;
    if (!reference || GetDeviceCaps(reference, TECHNOLOGY) != DT_RASPRINTER)
        return g;
    const int dpiX = GetDeviceCaps(reference, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(reference, LOGPIXELSY);
    const int width = GetDeviceCaps(reference, PHYSICALWIDTH);
    const int height = GetDeviceCaps(reference, PHYSICALHEIGHT);
    if (dpiX <= 0 || dpiY <= 0 || width <= 0 || height <= 0)
        return g;
    g.origin = {MulDiv(GetDeviceCaps(reference, PHYSICALOFFSETX), 1440, dpiX),
                MulDiv(GetDeviceCaps(reference, PHYSICALOFFSETY), 1440, dpiY)};
    g.frame = {0, 0, MulDiv(width, 2540, dpiX), MulDiv(height, 2540, dpiY)};
    return g;
}

HENHMETAFILE DrawMetafile(const ReportLayout& layout, int page, HDC reference,
                          const PageGeometry& geometry, const wchar_t* path) {
    HDC dc = CreateEnhMetaFileW(reference, path, &geometry.frame, L"Ostravion\0\0");
    if (!dc)
        return nullptr;
    {
        GdiPageCanvas canvas(dc);
        canvas.StartPage(geometry.origin);
        layout.DrawPage(canvas, page);
    }
    return CloseEnhMetaFile(dc);
}

} // namespace

GdiPageCanvas::GdiPageCanvas(HDC dc) : dc_(dc) {
    deviceFont_ = static_cast<HFONT>(GetCurrentObject(dc_, OBJ_FONT));
    fonts_[0] = deviceFont_;
    for (int r = 1; r <= kReportFontCount; ++r) {
        const FontSpec spec = ReportFontSpec(static_cast<FontRole>(r));
        // Heights are logical units of the twips mapping, as the layout gives them.
        const std::string face(spec.face);
        fonts_[static_cast<std::size_t>(r)] =
            CreateFontA(spec.height, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE, HANGEUL_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    }
}

GdiPageCanvas::~GdiPageCanvas() {
    SelectObject(dc_, deviceFont_);
    for (int r = 1; r <= kReportFontCount; ++r)
        if (fonts_[static_cast<std::size_t>(r)])
            DeleteObject(fonts_[static_cast<std::size_t>(r)]);
}

void GdiPageCanvas::StartPage(POINT originTwips) {
    SetMapMode(dc_, MM_TWIPS);
    SetWindowOrgEx(dc_, 0, 0, nullptr);
    SetViewportOrgEx(dc_, 0, 0, nullptr);
    if (originTwips.x != 0 || originTwips.y != 0) {
        POINT device{originTwips.x, -originTwips.y};
        LPtoDP(dc_, &device, 1);
        SetViewportOrgEx(dc_, device.x, device.y, nullptr);
    }
    SelectObject(dc_, GetStockObject(BLACK_PEN));
    SelectObject(dc_, GetStockObject(WHITE_BRUSH));
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(0, 0, 0));
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    SelectObject(dc_, deviceFont_);
    current_ = FontRole::Device;
}

FontRole GdiPageCanvas::SelectFont(FontRole role) {
    const FontRole previous = current_;
    current_ = role;
    if (HFONT font = fonts_[static_cast<std::size_t>(role)])
        SelectObject(dc_, font);
    return previous;
}

int GdiPageCanvas::Width(std::string_view text) const {
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    return std::abs(static_cast<int>(size.cx));
}

int GdiPageCanvas::LineHeight() const {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    return std::abs(static_cast<int>(tm.tmHeight));
}

void GdiPageCanvas::Line(int x, int y, const RECT& clip, std::string_view text) {
    if (text.empty())
        return;
    ExtTextOutA(dc_, x, y, ETO_CLIPPED, &clip, text.data(), static_cast<UINT>(text.size()),
                nullptr);
}

void GdiPageCanvas::CentredText(const TwipRect& box, std::string_view text) {
    const int x = box.left + (box.right - box.left - Width(text)) / 2;
    const int y = box.top - (box.top - box.bottom - LineHeight()) / 2;
    Line(x, y, RECT{box.left, box.top, box.right, box.bottom}, text);
}

void GdiPageCanvas::LeftText(const TwipRect& box, std::string_view text) {
    const int y = box.top - (box.top - box.bottom - LineHeight()) / 2;
    Line(box.left, y, RECT{box.left, box.top, box.right, box.bottom}, text);
}

void GdiPageCanvas::TextBlock(const TwipRect& box, std::string_view text) {
    const int height = LineHeight();
    const RECT clip{box.left, box.top, box.right, box.bottom};
    int y = box.top;
    for (std::string_view line : SplitLines(text)) {
        Line(box.left, y, clip, line);
        y -= height;
    }
}

void GdiPageCanvas::WrappedTextBlock(const TwipRect& box, std::string_view text) {
    const int height = LineHeight();
    const RECT clip{box.left, box.top, box.right, box.bottom};
    int y = box.top;
    for (const std::string& line : WrapLines(text, box.right - box.left)) {
        Line(box.left, y, clip, line);
        y -= height;
    }
}

std::vector<std::string> GdiPageCanvas::WrapLines(std::string_view text, int width) const {
    std::vector<std::string> out;
    for (std::string_view rest : SplitLines(text)) {
        if (Width(rest) <= width) {
            out.emplace_back(rest);
            continue;
        }
        while (!rest.empty()) {
            // The longest start of the rest that fits, and where its last
            // space ends.
            std::size_t fit = 0;
            std::size_t afterSpace = 0;
            while (fit < rest.size()) {
                const std::size_t next = fit + CharBytes(rest, fit);
                if (Width(rest.substr(0, next)) > width)
                    break;
                fit = next;
                if (rest[fit - 1] == ' ')
                    afterSpace = fit;
            }
            std::size_t cut;
            if (fit == rest.size())
                cut = fit;
            else if (afterSpace > 0)
                cut = afterSpace;
            else
                cut = std::max(fit, CharBytes(rest, 0)); // one character at least
            std::string_view line = rest.substr(0, cut);
            if (cut < rest.size())
                while (!line.empty() && line.back() == ' ')
                    line.remove_suffix(1);
            out.emplace_back(line);
            rest.remove_prefix(cut);
            while (!rest.empty() && rest.front() == ' ')
                rest.remove_prefix(1);
        }
    }
    return out;
}

void GdiPageCanvas::Box(const TwipRect& box) {
    Rectangle(dc_, box.left, box.top, box.right, box.bottom);
}

void GdiPageCanvas::Rule(int x1, int y1, int x2, int y2) {
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
}

bool DrawPages(const ReportLayout& layout, HDC printer, int first, int last) {
    if (last < 0 || last > layout.PageCount())
        last = layout.PageCount();
    first = std::max(first, 1);
    GdiPageCanvas canvas(printer);
    for (int page = first; page <= last; ++page) {
        if (::StartPage(printer) <= 0)
            return false;
        canvas.StartPage();
        layout.DrawPage(canvas, page);
        if (::EndPage(printer) <= 0)
            return false;
    }
    return true;
}

std::vector<HENHMETAFILE> PageMetafiles(const ReportLayout& layout, HDC reference) {
    const PageGeometry geometry = GeometryOf(reference);
    std::vector<HENHMETAFILE> pages;
    for (int page = 1; page <= layout.PageCount(); ++page)
        pages.push_back(DrawMetafile(layout, page, reference, geometry, nullptr));
    return pages;
}

std::string MetafileName(int page, int pageCount) {
    int digits = 3;
    for (int n = pageCount; n >= 1000; n /= 10)
        ++digits;
    char name[32];
    std::snprintf(name, sizeof name, "page-%0*d.emf", digits, page);
    return name;
}

namespace {

// "page-", digits, ".emf": a page file of this program.
bool IsPageFileName(const std::wstring& name) {
    if (name.size() <= 9 || name.compare(0, 5, L"page-") != 0 ||
        _wcsicmp(name.c_str() + name.size() - 4, L".emf") != 0)
        return false;
    return std::all_of(name.begin() + 5, name.end() - 4,
                       [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

} // namespace

bool WriteMetafiles(const ReportLayout& layout, const std::string& folder,
                    std::vector<std::string>* written, std::string* error, HDC reference) {
    const std::wstring wideFolder = win32::WideFromUtf8(folder);
    if (!CreateDirectoryW(wideFolder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        if (error)
            *error = "폴더를 만들 수 없습니다: " + folder;
        return false;
    }
    const PageGeometry geometry = GeometryOf(reference);
    std::string base = folder;
    if (!base.empty() && base.back() != '\\' && base.back() != '/')
        base += '\\';
    std::set<std::wstring> names;
    for (int page = 1; page <= layout.PageCount(); ++page) {
        const std::string name = MetafileName(page, layout.PageCount());
        const std::string path = base + name;
        const bool ok =
            ReplaceNativeFile(path, [&](std::unique_ptr<OutFile> out, const std::string& fresh) {
                if (!out->Close())
                    return false;
                HENHMETAFILE emf = DrawMetafile(layout, page, reference, geometry,
                                                win32::WideFromUtf8(fresh).c_str());
                if (!emf)
                    return false;
                DeleteEnhMetaFile(emf);
                return true;
            });
        if (!ok) {
            if (error)
                *error = "파일을 쓸 수 없습니다: " + path;
            return false;
        }
        names.insert(win32::WideFromUtf8(name));
        if (written)
            written->push_back(path);
    }
    // Pages of an earlier run that this one did not write would read as part
    // of this report.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((win32::WideFromUtf8(base) + L"page-*.emf").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsPageFileName(name) &&
                !names.count(name))
                DeleteFileW((win32::WideFromUtf8(base) + name).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return true;
}

} // namespace ostravion::gdireport
