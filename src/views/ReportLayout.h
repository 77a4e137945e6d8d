// The page engine of the printed reports and forms.
//
// A ReportLayout holds the data of one print or preview run and knows, before
// anything is drawn, how many pages there are and where each page starts. Any
// page can then be drawn on any canvas, in any order, any number of times: a
// page depends on the page start table and the data alone.
//
// Typical use (printing, preview or PDF):
//
//     auto layout = PrepareReport(util, kind, readers, view);   // or ReportLayout(kind, data)
//     for (int p = 1; p <= layout.PageCount(); ++p) {
//         /* new device page; canvas set to twips */
//         layout.DrawPage(canvas, p);
//     }
#pragma once

#include "files/ReportTables.h"
#include "views/PageCanvas.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostravion {

class CAuditUtil;

enum class ReportKind : unsigned char {
    ByPc = 1,              // "PC별 검사 결과"
    BySoftware = 3,        // "SW별 검사 결과"
    ConfirmationSheet = 4, // "S/W 불법복제 점검결과 확인표"
    Pledge = 5,            // "서 약 서"
    Ledger = 6,            // "S/W 관리 대장"
};

// The kind for a stored report-kind number; nothing for any other number.
std::optional<ReportKind> ReportKindFromNumber(int number);

// Which list view prints: the two confirmation sheets differ in the
// confirmer's signature line only.
enum class SheetView { Normal, Extended };

// What the report readers deliver for one run.
struct ReportData {
    PcHistory history;           // kind 1
    std::vector<ResultRow> rows; // kinds 3 and 4
    AdminValues admin;           // kinds 3 and 4
};

// Where one page starts.
struct PageStart {
    std::size_t entry = 0; // first program line (kind 1) or row (kinds 3, 4) of the page
    std::size_t line = 0;  // kind 1: index into the line-type sequence
    std::size_t group = 0; // kind 1: the PC group in progress
    int closingStep = 0;   // kind 4: the first closing-block step this page may draw
    bool operator==(const PageStart&) const = default;
};

class ReportLayout {
public:
    static constexpr int kLinesPerPage = 26;     // kinds 1 and 3
    static constexpr int kRowsPerSheetPage = 33; // kind 4, closing steps included
    static constexpr int kClosingSteps = 7;

    // Line types of the by-PC report.
    static constexpr char kProgramLine = 'L';
    static constexpr char kClosingRule = '1';
    static constexpr char kClosingSubtotal = '2';
    static constexpr char kClosingGap = '3';

    explicit ReportLayout(ReportKind kind, ReportData data = {},
                          SheetView view = SheetView::Normal);

    ReportKind Kind() const { return kind_; }
    SheetView View() const { return view_; }
    const ReportData& Data() const { return data_; }

    // Program lines (kind 1) or rows (kinds 3 and 4); 0 for the forms.
    std::size_t EntryCount() const;
    int PageCount() const { return static_cast<int>(starts_.size()); }
    const std::vector<PageStart>& PageStarts() const { return starts_; }

    // Kind 1: one character per printed line (kProgramLine and the three
    // closing lines of each PC group), and the number of lines of each group.
    const std::string& LineTypes() const { return lineTypes_; }
    const std::vector<int>& GroupSizes() const { return groups_; }

    // Whether page n (1-based) carries the title and table header.
    bool HasTitle(int page) const;
    // Whether page n prints its page number.
    bool HasPageNumber(int page) const;

    // Draws page n (1-based). A page outside 1..PageCount() draws nothing.
    void DrawPage(PageCanvas& canvas, int page) const;

private:
    void LayOutByPc();
    void LayOutBySoftware();
    void LayOutSheet();

    void DrawTitle(PageCanvas& canvas) const;
    void DrawHeader(PageCanvas& canvas) const;
    void DrawByPcBody(PageCanvas& canvas, int page) const;
    void DrawBySoftwareBody(PageCanvas& canvas, int page) const;
    void DrawSheetBody(PageCanvas& canvas, int page) const;
    void DrawPageNumber(PageCanvas& canvas, int page) const;

    ReportKind kind_;
    ReportData data_;
    SheetView view_;
    std::string lineTypes_;
    std::vector<int> groups_;
    std::vector<PageStart> starts_;
};

// The report readers of the document, as the prepare step calls them. Each
// returns false when its file could not be read (it has then said so).
struct ReportReaders {
    std::function<bool(PcHistory& target)> readPcHistory;
    // Fills the rows and the six administrative values; kind is 3 or 4.
    std::function<bool(std::vector<ResultRow>& target, AdminValues& admin, int kind)>
        readResultRows;
};

// The readers of the current total and written-result files named in `util`.
ReportReaders TotalFileReaders(const CAuditUtil& util);

// The prepare step of a print or preview run: shows the reading progress,
// loads the data the kind needs through the readers and lays the pages out.
// `dataRead`, when given, tells whether the reader could read its file (the
// forms read none); a report whose file could not be read has no entries and
// prints its no-data form.
ReportLayout PrepareReport(CAuditUtil& util, ReportKind kind, const ReportReaders& readers,
                           SheetView view = SheetView::Normal, bool* dataRead = nullptr);

// The two forms, each one page without data.
void DrawPledgeForm(PageCanvas& canvas);
void DrawLedgerForm(PageCanvas& canvas);

// The pledge's paragraph breaking: lines of at most 55 bytes, each cut just
// after the last space of its window (the space stays on the line).
std::vector<std::string> BreakPledgeParagraph(std::string_view paragraph);
// The pledge's body text as the wrapped block draws it.
std::string PledgeBodyText();

// The text of a rate: count x 100 / installed with two decimals and "%";
// "0.00%" when either is 0.
std::string RateText(long long count, long long installed);

// A count field read as a decimal integer: leading digits with an optional
// sign; anything else reads as 0.
long long CountValue(std::string_view text);
// Adds the count of a text to a total; a total that would run past the
// number range stops at its end (the counts come from files as texts).
void AddCount(long long& total, std::string_view text);

} // namespace ostravion
