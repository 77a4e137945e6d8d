#include "views/ReportLayout.h"

#include "doc/TotalReaders.h"
#include "files/TotalFile.h"
#include "util/AuditUtil.h"
#include "util/Text.h"
#include "views/ReportTexts.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <initializer_list>

namespace ostravion {

namespace rt = report_text;

namespace {

constexpr std::string_view kEightSpaces = "        ";

// A report text with each "%s" or "%d" replaced by the next argument and "%%"
// by "%". The texts keep the printed form of their originals.
std::string FillIn(std::string_view format, std::initializer_list<std::string_view> args) {
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char c = format[i + 1];
            if (c == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (c == 's' || c == 'd') {
                if (next != args.end())
                    out += *next++;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

std::string Num(long long n) {
    return std::to_string(n);
}

// At most `limit` bytes from the start, never cutting a double-byte character.
std::string LeadingBytes(std::string_view s, std::size_t limit) {
    if (s.size() <= limit)
        return std::string(s);
    std::size_t end = 0;
    while (end < s.size()) {
        const std::size_t len = text::CharLength(s, end);
        if (end + len > limit)
            break;
        end += len;
    }
    return std::string(s.substr(0, end));
}

// A row of cells that moves down the page together.
struct CellRow {
    int top;
    int bottom;
    void Down(int by) {
        top -= by;
        bottom -= by;
    }
    TwipRect Cell(int left, int right) const { return {left, top, right, bottom}; }
};

void CentredBox(PageCanvas& canvas, const TwipRect& box, std::string_view text) {
    canvas.Box(box);
    canvas.CentredText(box, text);
}

// The grand total of the by-PC and by-SW reports below the cursor Q.
void DrawGrandTotal(PageCanvas& canvas, int q, int ruleLeft, int ruleRight,
                    const std::string& text) {
    canvas.Rule(ruleLeft, q - 1000, ruleRight, q - 1000);
    FontScope font(canvas, FontRole::Total);
    canvas.CentredText({300, q - 1100, 11300, q - 1600}, text);
}

std::string PcSubtotalText(int count) {
    const std::string n = Num(count);
    return FillIn(rt::kFmtPcSubtotal, {kEightSpaces, kEightSpaces, n, n});
}

void DrawNoDataMessage(PageCanvas& canvas) {
    FontScope font(canvas, FontRole::Title);
    canvas.CentredText({2300, -2600, 10300, -4000}, rt::kNoData);
}

// The PC count as stored; a file that could not be read leaves no value, which
// prints as the files write an empty one.
std::string PcCountText(const AdminValues& admin) {
    return text::DashIfEmpty(admin.pcCount);
}

std::size_t CeilDiv(std::size_t a, std::size_t b) {
    return (a + b - 1) / b;
}

} // namespace

FontSpec ReportFontSpec(FontRole role) {
    switch (role) {
    case FontRole::Device:
        return {};
    case FontRole::Title:
        return {rt::kFaceGulimChe, -400, 700};
    case FontRole::TableHeader:
        return {rt::kFaceGulimChe, -190, 700};
    case FontRole::TableBody:
        return {rt::kFaceSinMyeongjoChe, -170, 400};
    case FontRole::Sentence:
        return {rt::kFaceTimes, -240, 400};
    case FontRole::Total:
        return {rt::kFaceTimes, -250, 700};
    case FontRole::Sheet:
        return {rt::kFaceTimes, -200, 400};
    case FontRole::Pledge:
        return {rt::kFaceBatangChe, 300, 400};
    case FontRole::Ledger:
        return {rt::kFaceBatangChe, 250, 400};
    }
    return {};
}

std::optional<ReportKind> ReportKindFromNumber(int number) {
    switch (number) {
    case 1:
    case 3:
    case 4:
    case 5:
    case 6:
        return static_cast<ReportKind>(number);
    default:
        return std::nullopt;
    }
}

long long CountValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    long long value = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    (void)ptr;
    return ec == std::errc() ? value : 0;
}

void AddCount(long long& total, std::string_view text) {
    const long long v = CountValue(text);
    if (v > 0 && total > LLONG_MAX - v)
        total = LLONG_MAX;
    else if (v < 0 && total < LLONG_MIN - v)
        total = LLONG_MIN;
    else
        total += v;
}

std::string RateText(long long count, long long installed) {
    if (count == 0 || installed == 0)
        return "0.00%";
    const double rate = static_cast<double>(count) * 100.0 / static_cast<double>(installed);
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, rate, std::chars_format::fixed, 2);
    return std::string(buf, res.ptr) + "%";
}

// ---------------------------------------------------------------------------
// Layout

ReportLayout::ReportLayout(ReportKind kind, ReportData data, SheetView view)
    : kind_(kind), data_(std::move(data)), view_(view) {
    switch (kind_) {
    case ReportKind::ByPc:
        LayOutByPc();
        break;
    case ReportKind::BySoftware:
        LayOutBySoftware();
        break;
    case ReportKind::ConfirmationSheet:
        LayOutSheet();
        break;
    case ReportKind::Pledge:
    case ReportKind::Ledger:
        starts_.push_back({});
        break;
    }
}

std::size_t ReportLayout::EntryCount() const {
    switch (kind_) {
    case ReportKind::ByPc:
        return data_.history.lines.size();
    case ReportKind::BySoftware:
    case ReportKind::ConfirmationSheet:
        return data_.rows.size();
    default:
        return 0;
    }
}

void ReportLayout::LayOutByPc() {
    const auto& lines = data_.history.lines;
    // The reader's per-PC counts are the groups when they account for every
    // line; otherwise the groups are the runs of equal computer names.
    long long counted = 0;
    bool usable = true;
    for (int c : data_.history.perPcCounts) {
        if (c < 0)
            usable = false;
        counted += c;
    }
    if (usable && counted == static_cast<long long>(lines.size())) {
        groups_ = data_.history.perPcCounts;
    } else {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i == 0 || lines[i].computer != lines[i - 1].computer)
                groups_.push_back(0);
            ++groups_.back();
        }
    }

    if (lines.empty()) {
        // The no-data form: one page, whatever groups were announced.
        starts_.push_back({});
        return;
    }

    lineTypes_.reserve(lines.size() + 3 * groups_.size());
    std::size_t entry = 0;
    auto addLine = [&](char type, std::size_t group) {
        if (lineTypes_.size() % kLinesPerPage == 0)
            starts_.push_back({entry, lineTypes_.size(), group, 0});
        lineTypes_ += type;
    };
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        for (int i = 0; i < groups_[g]; ++i) {
            addLine(kProgramLine, g);
            ++entry;
        }
        addLine(kClosingRule, g);
        addLine(kClosingSubtotal, g);
        addLine(kClosingGap, g);
    }
    // The grand total needs two free line slots on the last page; when the
    // last line takes slot 25 or 26, it goes on a page of its own.
    const std::size_t usedOnLast = lineTypes_.size() % kLinesPerPage;
    if (usedOnLast == 0 || usedOnLast > kLinesPerPage - 2)
        starts_.push_back({entry, lineTypes_.size(), groups_.size(), 0});
}

void ReportLayout::LayOutBySoftware() {
    // Rows without a class letter go after the lettered ones, in the order
    // they came in; the letters sort before the dash byte-wise otherwise.
    std::stable_partition(data_.rows.begin(), data_.rows.end(),
                          [](const ResultRow& r) { return r.classLetter != "-"; });
    const std::size_t n = data_.rows.size();
    const std::size_t pages = std::max<std::size_t>(1, CeilDiv(n, kLinesPerPage));
    for (std::size_t p = 0; p < pages; ++p)
        starts_.push_back({p * kLinesPerPage, 0, 0, 0});
}

void ReportLayout::LayOutSheet() {
    const std::size_t n = data_.rows.size();
    const std::size_t pages = CeilDiv(n + kClosingSteps, kRowsPerSheetPage);
    int step = 0;
    for (std::size_t p = 0; p < pages; ++p) {
        const std::size_t first = p * kRowsPerSheetPage;
        starts_.push_back({first, 0, 0, step});
        // Rows on this page; an empty sheet shows its no-data row.
        const std::size_t rows =
            n == 0 ? 1 : std::min<std::size_t>(kRowsPerSheetPage, first < n ? n - first : 0);
        const bool holdsEnd = first + rows >= n;
        if (!holdsEnd)
            continue;
        const int room = kRowsPerSheetPage - static_cast<int>(rows);
        while (step < kClosingSteps && step < room)
            ++step;
    }
}

bool ReportLayout::HasTitle(int page) const {
    if (page < 1 || page > PageCount())
        return false;
    if (kind_ == ReportKind::Pledge || kind_ == ReportKind::Ledger)
        return true;
    return page == 1 || starts_[page - 1].entry < EntryCount();
}

bool ReportLayout::HasPageNumber(int page) const {
    if (page < 1 || page > PageCount())
        return false;
    switch (kind_) {
    case ReportKind::ByPc:
    case ReportKind::BySoftware:
        return true;
    case ReportKind::ConfirmationSheet:
        return PageCount() >= 2;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// Pages

void ReportLayout::DrawPage(PageCanvas& canvas, int page) const {
    if (page < 1 || page > PageCount())
        return;
    switch (kind_) {
    case ReportKind::Pledge:
        DrawPledgeForm(canvas);
        return;
    case ReportKind::Ledger:
        DrawLedgerForm(canvas);
        return;
    default:
        break;
    }
    if (HasTitle(page))
        DrawTitle(canvas);
    switch (kind_) {
    case ReportKind::ByPc:
        DrawByPcBody(canvas, page);
        break;
    case ReportKind::BySoftware:
        DrawBySoftwareBody(canvas, page);
        break;
    case ReportKind::ConfirmationSheet:
        DrawSheetBody(canvas, page);
        break;
    default:
        break;
    }
    if (HasPageNumber(page))
        DrawPageNumber(canvas, page);
}

void ReportLayout::DrawTitle(PageCanvas& canvas) const {
    {
        FontScope font(canvas, FontRole::Title);
        if (kind_ == ReportKind::ConfirmationSheet) {
            canvas.CentredText({2000, -600, 10000, -1100}, rt::kTitleSheet);
            canvas.Rule(2000, -1200, 10000, -1200);
            canvas.Rule(2000, -1250, 10000, -1250);
        } else {
            canvas.CentredText({4000, -900, 8000, -1400},
                               kind_ == ReportKind::ByPc ? rt::kTitleByPc : rt::kTitleBySw);
            canvas.Rule(4000, -1500, 8000, -1500);
            canvas.Rule(4000, -1550, 8000, -1550);
        }
    }
    DrawHeader(canvas);
}

void ReportLayout::DrawHeader(PageCanvas& canvas) const {
    FontScope font(canvas, FontRole::TableHeader);
    auto left = [&](int l, int r, const char* caption) {
        canvas.LeftText({l, -2200, r, -2700}, caption);
    };
    auto centred = [&](int l, int r, const char* caption) {
        canvas.CentredText({l, -2200, r, -2700}, caption);
    };
    switch (kind_) {
    case ReportKind::ByPc:
        left(800, 2100, rt::kCapPcName);
        left(2100, 4100, rt::kCapCompany);
        left(4100, 6800, rt::kCapSwName);
        left(6800, 10400, rt::kCapFolder);
        left(10400, 10800, rt::kCapNote);
        canvas.Rule(400, -2750, 11000, -2750);
        break;
    case ReportKind::BySoftware:
        centred(400, 1100, rt::kCapSeq);
        left(1100, 4100, rt::kCapCompany);
        left(4100, 9800, rt::kCapSwName);
        centred(9800, 10300, rt::kCapQuantity);
        centred(10300, 10800, rt::kCapNote);
        canvas.Rule(300, -2750, 11300, -2750);
        break;
    case ReportKind::ConfirmationSheet: {
        const struct {
            int l, r;
            const char* caption;
        } cells[] = {{400, 900, rt::kCapNumber},    {900, 3500, rt::kCapAuthor},
                     {3500, 7500, rt::kCapProgram}, {7500, 8500, rt::kCapInstalled},
                     {8500, 9500, rt::kCapGenuine}, {9500, 10500, rt::kCapCopies}};
        for (const auto& c : cells)
            CentredBox(canvas, {c.l, -1700, c.r, -2200}, c.caption);
        break;
    }
    default:
        break;
    }
}

void ReportLayout::DrawPageNumber(PageCanvas& canvas, int page) const {
    FontScope font(canvas, FontRole::TableBody);
    const TwipRect box = kind_ == ReportKind::ConfirmationSheet
                             ? TwipRect{4500, -15000, 6500, -15500}
                             : TwipRect{4500, -14500, 6500, -15000};
    canvas.CentredText(box, "-" + Num(page) + "/" + Num(PageCount()) + "-");
}

void ReportLayout::DrawByPcBody(PageCanvas& canvas, int page) const {
    const auto& lines = data_.history.lines;
    if (lines.empty()) {
        DrawNoDataMessage(canvas);
        const int y = -4000;
        canvas.Rule(300, y - 100, 10800, y - 100);
        {
            FontScope font(canvas, FontRole::Sheet);
            canvas.CentredText({300, y - 100, 11600, y - 600},
                               FillIn(rt::kFmtEmptySubtotal, {kEightSpaces, kEightSpaces}));
        }
        canvas.Rule(300, y - 650, 10800, y - 650);
        DrawGrandTotal(canvas, y - 1100, 400, 11100,
                       FillIn(rt::kFmtPcTotal, {kEightSpaces, kEightSpaces, "0", "0", "0"}));
        return;
    }

    const PageStart& start = starts_[page - 1];
    // A page without title and header holds closing lines only; they start
    // higher up.
    CellRow cells = HasTitle(page) ? CellRow{-2300, -2800} : CellRow{-1000, -1500};
    std::size_t entry = start.entry;
    std::size_t group = start.group;
    std::size_t line = start.line;
    int used = 0;
    FontScope font(canvas, FontRole::TableBody);
    for (; line < lineTypes_.size() && used < kLinesPerPage; ++line, ++used) {
        const int y = cells.bottom;
        switch (lineTypes_[line]) {
        case kProgramLine: {
            cells.Down(400);
            const PcHistoryLine& l = lines[entry++];
            canvas.CentredText(cells.Cell(300, 2000), LeadingBytes(l.computer, 20));
            canvas.LeftText(cells.Cell(2100, 4000), l.company);
            canvas.LeftText(cells.Cell(4100, 6700), l.program);
            canvas.LeftText(cells.Cell(6800, 10300), l.folder);
            canvas.CentredText(cells.Cell(10400, 10700), l.classLetter);
            break;
        }
        case kClosingRule:
            canvas.Rule(300, y - 100, 10800, y - 100);
            break;
        case kClosingSubtotal: {
            FontScope sheet(canvas, FontRole::Sheet);
            const int count = group < groups_.size() ? groups_[group] : 0;
            canvas.CentredText({300, y - 100, 11600, y - 600}, PcSubtotalText(count));
            break;
        }
        case kClosingGap:
            canvas.Rule(300, y - 600, 10800, y - 600);
            cells.Down(750);
            ++group;
            break;
        default:
            break;
        }
    }
    if (line == lineTypes_.size() && used <= kLinesPerPage - 2) {
        long long total = 0;
        for (int c : groups_)
            total += c;
        DrawGrandTotal(canvas, cells.bottom, 400, 11100,
                       FillIn(rt::kFmtPcTotal, {kEightSpaces, kEightSpaces,
                                                Num(static_cast<long long>(groups_.size())),
                                                Num(total), Num(total)}));
    }
}

void ReportLayout::DrawBySoftwareBody(PageCanvas& canvas, int page) const {
    const auto& rows = data_.rows;
    const PageStart& start = starts_[page - 1];
    CellRow cells{-2300, -2800};
    if (rows.empty()) {
        DrawNoDataMessage(canvas);
    } else {
        FontScope font(canvas, FontRole::TableBody);
        const std::size_t end = std::min(rows.size(), start.entry + kLinesPerPage);
        for (std::size_t i = start.entry; i < end; ++i) {
            cells.Down(400);
            const ResultRow& r = rows[i];
            canvas.CentredText(cells.Cell(400, 1000), Num(static_cast<long long>(i + 1)));
            canvas.LeftText(cells.Cell(1100, 4000), r.company);
            canvas.LeftText(cells.Cell(4100, 9700), r.program);
            canvas.CentredText(cells.Cell(9800, 10200), text::ZeroIfBlank(r.installed));
            canvas.CentredText(cells.Cell(10300, 10700), r.classLetter);
        }
        if (end < rows.size())
            return;
    }
    long long installed = 0;
    for (const ResultRow& r : rows)
        AddCount(installed, r.installed);
    DrawGrandTotal(
        canvas, cells.bottom, 300, 11300,
        FillIn(rt::kFmtSwTotal, {kEightSpaces, kEightSpaces, PcCountText(data_.admin),
                                 Num(static_cast<long long>(rows.size())), Num(installed)}));
}

void ReportLayout::DrawSheetBody(PageCanvas& canvas, int page) const {
    const auto& rows = data_.rows;
    const PageStart& start = starts_[page - 1];
    CellRow cells{-1700, -2200};
    int drawn = 0;
    {
        FontScope font(canvas, FontRole::Sheet);
        if (rows.empty()) {
            cells.Down(380);
            CentredBox(canvas, cells.Cell(400, 10500), rt::kNoData);
            drawn = 1;
        } else {
            const std::size_t end =
                std::min(rows.size(), start.entry + static_cast<std::size_t>(kRowsPerSheetPage));
            for (std::size_t i = start.entry; i < end; ++i, ++drawn) {
                cells.Down(380);
                const ResultRow& r = rows[i];
                CentredBox(canvas, cells.Cell(400, 900), Num(static_cast<long long>(i + 1)));
                CentredBox(canvas, cells.Cell(900, 3500), r.company);
                CentredBox(canvas, cells.Cell(3500, 7500), r.program);
                CentredBox(canvas, cells.Cell(7500, 8500), text::ZeroIfBlank(r.installed));
                CentredBox(canvas, cells.Cell(8500, 9500), text::ZeroIfBlank(r.genuine));
                CentredBox(canvas, cells.Cell(9500, 10500), text::ZeroIfBlank(r.copies));
            }
            if (end < rows.size())
                return;
        }
    }

    // The closing block: its steps count as lines of the page and carry over
    // to the next page where this one has no room left.
    long long installed = 0, genuine = 0, copies = 0;
    for (const ResultRow& r : rows) {
        AddCount(installed, r.installed);
        AddCount(genuine, r.genuine);
        AddCount(copies, r.copies);
    }
    int t = drawn > 0 ? cells.bottom : -1300;
    const int room = kRowsPerSheetPage - drawn;
    for (int step = start.closingStep; step < kClosingSteps && step < room; ++step) {
        switch (step) {
        case 0: {
            FontScope font(canvas, FontRole::Sheet);
            CentredBox(canvas, {400, t, 3500, t - 380}, rt::kSheetTotal);
            CentredBox(canvas, {3500, t, 7500, t - 380},
                       FillIn(rt::kFmtSheetSummary,
                              {PcCountText(data_.admin), Num(static_cast<long long>(rows.size())),
                               Num(installed)}));
            CentredBox(canvas, {7500, t, 8500, t - 380}, Num(installed));
            CentredBox(canvas, {8500, t, 9500, t - 380}, Num(genuine));
            CentredBox(canvas, {9500, t, 10500, t - 380}, Num(copies));
            break;
        }
        case 1: {
            t -= 380;
            FontScope font(canvas, FontRole::Sheet);
            CentredBox(canvas, {400, t, 7500, t - 380}, rt::kSheetRatio);
            CentredBox(canvas, {7500, t, 8500, t - 380}, "100%");
            CentredBox(canvas, {8500, t, 9500, t - 380}, RateText(genuine, installed));
            CentredBox(canvas, {9500, t, 10500, t - 380}, RateText(copies, installed));
            break;
        }
        case 2:
            break;
        default: {
            std::string sentence;
            if (step == 3) {
                t -= 800;
                sentence = rt::kSheetConfirm;
            } else if (step == 4) {
                t -= 420;
                sentence = rt::kSheetDate;
            } else if (step == 5) {
                t -= 1000;
                sentence = FillIn(rt::kFmtSheetDepartment,
                                  {text::EmptyIfDash(data_.admin.confirmDepartment)});
            } else {
                t -= 420;
                sentence = FillIn(view_ == SheetView::Normal ? rt::kFmtSheetSignNormal
                                                             : rt::kFmtSheetSignExtended,
                                  {text::EmptyIfDash(data_.admin.confirmer)});
            }
            FontScope font(canvas, FontRole::Sentence);
            canvas.TextBlock({1300, t, 11300, t - 420}, sentence);
            break;
        }
        }
    }
}

// ---------------------------------------------------------------------------
// Prepare step

ReportReaders TotalFileReaders(const CAuditUtil& util) {
    ReportReaders r;
    r.readPcHistory = [&util](PcHistory& target) { return ReadPcHistory(util, target); };
    r.readResultRows = [&util](std::vector<ResultRow>& target, AdminValues& admin, int kind) {
        return ReadResultRows(util, target, admin, kind);
    };
    return r;
}

ReportLayout PrepareReport(CAuditUtil& util, ReportKind kind, const ReportReaders& readers,
                           SheetView view, bool* dataRead) {
    util.ShowProgress(rt::kReadingData);
    util.StepProgress(3);
    ReportData data;
    bool read = true;
    if (kind == ReportKind::ByPc || kind == ReportKind::BySoftware ||
        kind == ReportKind::ConfirmationSheet) {
        util.StepProgress(2);
        if (kind == ReportKind::ByPc) {
            read = readers.readPcHistory && readers.readPcHistory(data.history);
        } else {
            read = readers.readResultRows &&
                   readers.readResultRows(data.rows, data.admin, static_cast<int>(kind));
        }
        util.StepProgress(3);
    }
    if (dataRead)
        *dataRead = read;
    ReportLayout layout(kind, std::move(data), view);
    util.StepProgress(3);
    util.DestroyProgress();
    return layout;
}

} // namespace ostravion
