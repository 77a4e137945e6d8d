#include "RecordingCanvas.h"
#include "views/ReportLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using namespace ostravion;
using ostravion::test::CanvasOp;
using ostravion::test::RecordingCanvas;

namespace {

// Expected texts in CP949, each after its reading.
// "         소     계           3종 S/W 3개 발견"
const std::string kSub3 = "         \xBC\xD2     \xB0\xE8           3\xC1\xBE S/W 3\xB0\xB3 "
                          "\xB9\xDF\xB0\xDF";
// "         소     계           2종 S/W 2개 발견"
const std::string kSub2 = "         \xBC\xD2     \xB0\xE8           2\xC1\xBE S/W 2\xB0\xB3 "
                          "\xB9\xDF\xB0\xDF";
// "         소     계           0종 S/W 0개 발견"
const std::string kSub0 = "         \xBC\xD2     \xB0\xE8           0\xC1\xBE S/W 0\xB0\xB3 "
                          "\xB9\xDF\xB0\xDF";
// "         합     계          총 2대 PC   5종 S/W 5개 발견"
const std::string kTotal2Pcs = "         \xC7\xD5     \xB0\xE8          \xC3\xD1 2\xB4\xEB PC   "
                               "5\xC1\xBE S/W 5\xB0\xB3 \xB9\xDF\xB0\xDF";
// "         합     계          총 0대 PC   0종 S/W 0개 발견"
const std::string kTotalNone = "         \xC7\xD5     \xB0\xE8          \xC3\xD1 0\xB4\xEB PC   "
                               "0\xC1\xBE S/W 0\xB0\xB3 \xB9\xDF\xB0\xDF";
// "         합     계          총 -대 PC   27종 S/W 54개 발견"
const std::string kSwTotal27 = "         \xC7\xD5     \xB0\xE8          \xC3\xD1 -\xB4\xEB PC   "
                               "27\xC1\xBE S/W 54\xB0\xB3 \xB9\xDF\xB0\xDF";
// "         합     계          총 7대 PC   0종 S/W 0개 발견"
const std::string kSwTotalNone = "         \xC7\xD5     \xB0\xE8          \xC3\xD1 7\xB4\xEB PC   "
                                 "0\xC1\xBE S/W 0\xB0\xB3 \xB9\xDF\xB0\xDF";
// "출력할 데이타가 없습니다."
const std::string kNoData = "\xC3\xE2\xB7\xC2\xC7\xD2 \xB5\xA5\xC0\xCC\xC5\xB8\xB0\xA1 "
                            "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "PC별 검사 결과"
const std::string kTitleByPc = "PC\xBA\xB0 \xB0\xCB\xBB\xE7 \xB0\xE1\xB0\xFA";
// "S/W 불법복제 점검결과 확인표"
const std::string kTitleSheet = "S/W \xBA\xD2\xB9\xFD\xBA\xB9\xC1\xA6 \xC1\xA1\xB0\xCB\xB0\xE1"
                                "\xB0\xFA \xC8\xAE\xC0\xCE\xC7\xA5";
// "합     계" and "비     율"
const std::string kSheetTotal = "\xC7\xD5     \xB0\xE8";
const std::string kSheetRatio = "\xBA\xF1     \xC0\xB2";
// "총  3대 PC 3종 S/W 20개" and "총  3대 PC 0종 S/W 0개"
const std::string kSummary = "\xC3\xD1  3\xB4\xEB PC 3\xC1\xBE S/W 20\xB0\xB3";
const std::string kSummaryNone = "\xC3\xD1  3\xB4\xEB PC 0\xC1\xBE S/W 0\xB0\xB3";
// "                    위   점 검 결 과 가   틀 림 없 음 을   확 인 합 니 다. "
const std::string kConfirm = "                    \xC0\xA7   \xC1\xA1 \xB0\xCB \xB0\xE1 \xB0\xFA "
                             "\xB0\xA1   \xC6\xB2 \xB8\xB2 \xBE\xF8 \xC0\xBD \xC0\xBB   \xC8\xAE "
                             "\xC0\xCE \xC7\xD5 \xB4\xCF \xB4\xD9. ";
// "                            성       명 :         (서명 또는 인)"
const std::string kSignNoName = "                            \xBC\xBA       \xB8\xED :         "
                                "(\xBC\xAD\xB8\xED \xB6\xC7\xB4\xC2 \xC0\xCE)";
// "                          성         명 :  홍길동       (서명 또는 인)"
const std::string kSignExtended = "                          \xBC\xBA         \xB8\xED :  \xC8\xAB"
                                  "\xB1\xE6\xB5\xBF       (\xBC\xAD\xB8\xED \xB6\xC7\xB4\xC2 "
                                  "\xC0\xCE)";
// "          확  인  자     부  서  명 :  "
const std::string kDepartmentNone =
    "          \xC8\xAE  \xC0\xCE  \xC0\xDA     \xBA\xCE  \xBC\xAD  "
    "\xB8\xED :  ";
const std::string kHong = "\xC8\xAB\xB1\xE6\xB5\xBF"; // "홍길동"
const std::string kGa = "\xB0\xA1";                   // "가"

// A history of consecutive PC groups, as the reader delivers it.
PcHistory History(const std::vector<std::pair<std::string, int>>& pcs) {
    PcHistory h;
    for (const auto& [name, count] : pcs) {
        for (int i = 0; i < count; ++i)
            h.lines.push_back({name, "Co" + std::to_string(i), name + "-prog" + std::to_string(i),
                               "C:\\Apps\\", "A"});
        h.perPcCounts.push_back(count);
    }
    return h;
}

ReportLayout ByPc(PcHistory h) {
    ReportData d;
    d.history = std::move(h);
    return ReportLayout(ReportKind::ByPc, std::move(d));
}

std::vector<ResultRow> Rows(int n) {
    std::vector<ResultRow> rows;
    for (int i = 0; i < n; ++i)
        rows.push_back(
            {"A", "Co" + std::to_string(i), "2", "2", "Prog" + std::to_string(i), "1", "1"});
    return rows;
}

ReportLayout Sheet(std::vector<ResultRow> rows, AdminValues admin = {},
                   SheetView view = SheetView::Normal) {
    ReportData d;
    d.rows = std::move(rows);
    d.admin = std::move(admin);
    return ReportLayout(ReportKind::ConfirmationSheet, std::move(d), view);
}

RecordingCanvas Draw(const ReportLayout& layout, int page) {
    RecordingCanvas c;
    layout.DrawPage(c, page);
    return c;
}

void ExpectOne(const RecordingCanvas& c, const std::string& text, const TwipRect& rect,
               FontRole font) {
    const auto ops = c.WithText(text);
    ASSERT_EQ(ops.size(), 1u) << "text drawn " << ops.size() << " times";
    EXPECT_EQ(ops[0].rect, rect);
    EXPECT_EQ(ops[0].font, font);
}

} // namespace

// ---------------------------------------------------------------------------
// Results by PC

TEST(ByPcReport, TwoPcsOfThreeAndTwoLines) {
    const ReportLayout r = ByPc(History({{"PC-ONE", 3}, {"PC-TWO", 2}}));
    EXPECT_EQ(r.LineTypes(), "LLL123LL123");
    ASSERT_EQ(r.PageCount(), 1);
    EXPECT_EQ(r.PageStarts()[0], (PageStart{0, 0, 0, 0}));

    const RecordingCanvas c = Draw(r, 1);
    ExpectOne(c, kTitleByPc, {4000, -900, 8000, -1400}, FontRole::Title);
    EXPECT_TRUE(c.HasRule(4000, -1500, 8000, -1500));
    EXPECT_TRUE(c.HasRule(400, -2750, 11000, -2750));

    // First program line: cells moved down 400 from their start.
    const auto first = c.WithText("PC-ONE-prog0");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].rect, (TwipRect{4100, -2700, 6700, -3200}));
    EXPECT_EQ(first[0].kind, CanvasOp::Left);
    EXPECT_EQ(first[0].font, FontRole::TableBody);
    const auto names = c.WithText("PC-ONE");
    ASSERT_EQ(names.size(), 3u); // the name repeats on every line of its group
    EXPECT_EQ(names[0].rect, (TwipRect{300, -2700, 2000, -3200}));
    EXPECT_EQ(names[0].kind, CanvasOp::Centred);

    // Closing lines of PC-ONE at y = -4000, then the cells move down 750.
    EXPECT_TRUE(c.HasRule(300, -4100, 10800, -4100));
    ExpectOne(c, kSub3, {300, -4100, 11600, -4600}, FontRole::Sheet);
    EXPECT_TRUE(c.HasRule(300, -4600, 10800, -4600));
    EXPECT_EQ(c.WithText("PC-TWO-prog0")[0].rect, (TwipRect{4100, -4650, 6700, -5150}));
    ExpectOne(c, kSub2, {300, -5650, 11600, -6150}, FontRole::Sheet);

    // Grand total below Q = -6300, then the page number.
    EXPECT_TRUE(c.HasRule(400, -7300, 11100, -7300));
    ExpectOne(c, kTotal2Pcs, {300, -7400, 11300, -7900}, FontRole::Total);
    ExpectOne(c, "-1/1-", {4500, -14500, 6500, -15000}, FontRole::TableBody);
    EXPECT_EQ(c.font, FontRole::Device); // every routine put the font back
}

TEST(ByPcReport, ComputerNamesAreCutToTwentyBytesWithoutSplittingACharacter) {
    const std::string ascii25 = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    std::string korean25 = "A";
    for (int i = 0; i < 12; ++i)
        korean25 += kGa; // 25 bytes; byte 20 is the lead byte of a character
    PcHistory h;
    h.lines = {{ascii25, "c", "p", "f", "A"}, {korean25, "c", "p", "f", "B"}};
    h.perPcCounts = {1, 1};
    const RecordingCanvas c = Draw(ByPc(h), 1);
    EXPECT_EQ(c.WithText("ABCDEFGHIJKLMNOPQRST").size(), 1u);
    EXPECT_EQ(c.WithText(korean25.substr(0, 19)).size(), 1u);
}

TEST(ByPcReport, GroupsComeFromTheCountsOrFromRunsOfNames) {
    // A PC without lines still gets its closing lines.
    PcHistory h = History({{"A", 2}, {"C", 1}});
    h.perPcCounts = {2, 0, 1};
    EXPECT_EQ(ByPc(h).LineTypes(), "LL123123L123");

    // Counts that do not account for the lines: the runs of names decide,
    // and lines of one PC that are not consecutive form separate groups.
    PcHistory runs = History({{"A", 2}, {"B", 1}, {"A", 1}});
    runs.perPcCounts = {9};
    const ReportLayout r = ByPc(runs);
    EXPECT_EQ(r.GroupSizes(), (std::vector<int>{2, 1, 1}));
    EXPECT_EQ(r.LineTypes(), "LL123L123L123");
}

TEST(ByPcReport, PagesHoldTwentySixLinesAndRecordWhereEachStarts) {
    // 30 + 3 + 4 + 3 = 40 lines: page 2 starts at line 26 inside the first group.
    const ReportLayout r = ByPc(History({{"P1", 30}, {"P2", 4}}));
    ASSERT_EQ(r.PageCount(), 2);
    EXPECT_EQ(r.PageStarts()[1], (PageStart{26, 26, 0, 0}));
    const RecordingCanvas p2 = Draw(r, 2);
    EXPECT_EQ(p2.WithText(kTitleByPc).size(), 1u); // entries remain: title and header
    EXPECT_EQ(p2.WithText("P1-prog26")[0].rect, (TwipRect{4100, -2700, 6700, -3200}));
    EXPECT_EQ(p2.WithText("-2/2-").size(), 1u);
    EXPECT_EQ(p2.WithText(kSub2).size(), 0u);
}

TEST(ByPcReport, GrandTotalGetsAPageOfItsOwnWhenTheLastLineTakesSlot25Or26) {
    for (int lines : {21, 22, 23}) { // 24, 25 and 26 lines in all
        const ReportLayout r = ByPc(History({{"P", lines}}));
        const int used = lines + 3;
        SCOPED_TRACE(used);
        std::string totalText;
        int pagesWithTotal = 0;
        for (int p = 1; p <= r.PageCount(); ++p) {
            const RecordingCanvas c = Draw(r, p);
            for (const CanvasOp& op : c.OfKind(CanvasOp::Centred))
                if (op.font == FontRole::Total) {
                    ++pagesWithTotal;
                    totalText = op.text;
                }
        }
        EXPECT_EQ(pagesWithTotal, 1);
        EXPECT_EQ(r.PageCount(), used <= 24 ? 1 : 2);
    }
    // The added page has no title; its total sits below y = -1500.
    const ReportLayout r = ByPc(History({{"P", 22}}));
    ASSERT_EQ(r.PageCount(), 2);
    EXPECT_EQ(r.PageStarts()[1], (PageStart{22, 25, 1, 0}));
    const RecordingCanvas c = Draw(r, 2);
    EXPECT_TRUE(c.WithText(kTitleByPc).empty());
    EXPECT_TRUE(c.HasRule(400, -2500, 11100, -2500));
    EXPECT_EQ(c.WithText("-2/2-").size(), 1u);
}

TEST(ByPcReport, ClosingLinesCarriedToALastPageStartAtMinus1500) {
    // 25 program lines: the closing rule takes slot 26, subtotal and gap go on.
    const ReportLayout r = ByPc(History({{"P", 25}}));
    ASSERT_EQ(r.PageCount(), 2);
    const RecordingCanvas p1 = Draw(r, 1);
    EXPECT_TRUE(p1.HasRule(300, -2800 - 25 * 400 - 100, 10800, -2800 - 25 * 400 - 100));
    const RecordingCanvas p2 = Draw(r, 2);
    EXPECT_TRUE(p2.WithText(kTitleByPc).empty());
    // "         소     계           25종 S/W 25개 발견"
    const std::string sub25 = "         \xBC\xD2     \xB0\xE8           25\xC1\xBE S/W 25\xB0\xB3 "
                              "\xB9\xDF\xB0\xDF";
    ExpectOne(p2, sub25, {300, -1600, 11600, -2100}, FontRole::Sheet);
    EXPECT_TRUE(p2.HasRule(300, -2100, 10800, -2100));
    EXPECT_TRUE(p2.HasRule(400, -3250, 11100, -3250)); // total at Q = -1500 - 750
}

TEST(ByPcReport, WithoutEntriesPrintsTheNoDataFormOnOnePage) {
    for (const auto& counts : {std::vector<int>{}, std::vector<int>{0}}) {
        PcHistory h;
        h.perPcCounts = counts;
        const ReportLayout r = ByPc(h);
        ASSERT_EQ(r.PageCount(), 1);
        const RecordingCanvas c = Draw(r, 1);
        EXPECT_EQ(c.WithText(kTitleByPc).size(), 1u);
        ExpectOne(c, kNoData, {2300, -2600, 10300, -4000}, FontRole::Title);
        EXPECT_TRUE(c.HasRule(300, -4100, 10800, -4100));
        ExpectOne(c, kSub0, {300, -4100, 11600, -4600}, FontRole::Sheet);
        EXPECT_TRUE(c.HasRule(300, -4650, 10800, -4650));
        EXPECT_TRUE(c.HasRule(400, -6100, 11100, -6100));
        ExpectOne(c, kTotalNone, {300, -6200, 11300, -6700}, FontRole::Total);
        ExpectOne(c, "-1/1-", {4500, -14500, 6500, -15000}, FontRole::TableBody);
    }
}

// ---------------------------------------------------------------------------
// Results by program

TEST(BySoftwareReport, RowsInTheirOrderWithRunningNumbersAndTheTotalAfterTheLast) {
    ReportData d;
    d.rows = Rows(27);
    d.admin.pcCount = "-";
    const ReportLayout r(ReportKind::BySoftware, d);
    ASSERT_EQ(r.PageCount(), 2);
    const RecordingCanvas p1 = Draw(r, 1);
    ExpectOne(p1, "1", {400, -2700, 1000, -3200}, FontRole::TableBody);
    ExpectOne(p1, "Prog25", {4100, -12700, 9700, -13200}, FontRole::TableBody);
    EXPECT_TRUE(p1.OfKind(CanvasOp::Centred).back().text == "-1/2-");
    for (const CanvasOp& op : p1.ops)
        EXPECT_NE(op.font, FontRole::Total);

    const RecordingCanvas p2 = Draw(r, 2);
    ExpectOne(p2, "27", {400, -2700, 1000, -3200}, FontRole::TableBody);
    ExpectOne(p2, "Co26", {1100, -2700, 4000, -3200}, FontRole::TableBody);
    EXPECT_EQ(p2.WithText("Co26")[0].kind, CanvasOp::Left);
    EXPECT_TRUE(p2.HasRule(300, -4200, 11300, -4200));
    ExpectOne(p2, kSwTotal27, {300, -4300, 11300, -4800}, FontRole::Total);
    ExpectOne(p2, "-2/2-", {4500, -14500, 6500, -15000}, FontRole::TableBody);
}

TEST(BySoftwareReport, WithoutEntriesPrintsTheMessageAndZeroTotals) {
    ReportData d;
    d.admin.pcCount = "7";
    const ReportLayout r(ReportKind::BySoftware, d);
    ASSERT_EQ(r.PageCount(), 1);
    const RecordingCanvas c = Draw(r, 1);
    ExpectOne(c, kNoData, {2300, -2600, 10300, -4000}, FontRole::Title);
    ExpectOne(c, kSwTotalNone, {300, -3900, 11300, -4400}, FontRole::Total);
    EXPECT_EQ(c.WithText("-1/1-").size(), 1u);
}

// ---------------------------------------------------------------------------
// Confirmation sheet

TEST(ConfirmationSheet, CountsRatesAndTheFixedHundredPercent) {
    std::vector<ResultRow> rows = {{"A", "X", "10", "2", "P1", "5", "5"},
                                   {"A", "Y", "4", "0", "P2", "4", "0"},
                                   {"B", "Z", "6", "0", "P3", "0", "6"}};
    AdminValues admin;
    admin.pcCount = "3";
    const ReportLayout r = Sheet(rows, admin);
    ASSERT_EQ(r.PageCount(), 1);
    const RecordingCanvas c = Draw(r, 1);
    ExpectOne(c, kTitleSheet, {2000, -600, 10000, -1100}, FontRole::Title);
    // Row 3's boxes end at -2200 - 3 x 380; the closing block starts there.
    ExpectOne(c, "P3", {3500, -2840, 7500, -3340}, FontRole::Sheet);
    const int t = -3340;
    ExpectOne(c, kSheetTotal, {400, t, 3500, t - 380}, FontRole::Sheet);
    ExpectOne(c, kSummary, {3500, t, 7500, t - 380}, FontRole::Sheet);
    ExpectOne(c, "20", {7500, t, 8500, t - 380}, FontRole::Sheet);
    ExpectOne(c, "9", {8500, t, 9500, t - 380}, FontRole::Sheet);
    ExpectOne(c, "11", {9500, t, 10500, t - 380}, FontRole::Sheet);
    ExpectOne(c, "100%", {7500, t - 380, 8500, t - 760}, FontRole::Sheet);
    ExpectOne(c, "45.00%", {8500, t - 380, 9500, t - 760}, FontRole::Sheet);
    ExpectOne(c, "55.00%", {9500, t - 380, 10500, t - 760}, FontRole::Sheet);
    ExpectOne(c, kConfirm, {1300, t - 1180, 11300, t - 1600}, FontRole::Sentence);
    EXPECT_EQ(c.WithText(kConfirm)[0].kind, CanvasOp::Block);
    EXPECT_TRUE(c.WithText("-1/1-").empty()); // one-page sheet: no page number
    EXPECT_EQ(c.font, FontRole::Device);
}

TEST(ConfirmationSheet, AllRowsLeftOutGivesTheNoDataRowZeroTotalsAndZeroRates) {
    AdminValues admin;
    admin.pcCount = "3";
    admin.confirmer = "-";
    admin.confirmDepartment = "-";
    const RecordingCanvas c = Draw(Sheet({}, admin), 1);
    ExpectOne(c, kNoData, {400, -2080, 10500, -2580}, FontRole::Sheet);
    EXPECT_EQ(c.OfKind(CanvasOp::Box).size(), 6u + 1u + 5u + 4u);
    ExpectOne(c, kSummaryNone, {3500, -2580, 7500, -2960}, FontRole::Sheet);
    EXPECT_EQ(c.WithText("0").size(), 3u);
    EXPECT_EQ(c.WithText("0.00%").size(), 2u);
    // "-" for the confirmer and department print as empty names.
    EXPECT_EQ(c.WithText(kSignNoName).size(), 1u);
    EXPECT_EQ(c.WithText(kDepartmentNone).size(), 1u);
}

TEST(ConfirmationSheet, TheExtendedViewSignsOnItsOwnLine) {
    AdminValues admin;
    admin.confirmer = kHong;
    const RecordingCanvas c = Draw(Sheet(Rows(1), admin, SheetView::Extended), 1);
    EXPECT_EQ(c.WithText(kSignExtended).size(), 1u);
}

TEST(ConfirmationSheet, TwentySixRowsFitOnePageAndTwentySevenContinueOnTheNext) {
    const ReportLayout one = Sheet(Rows(26));
    EXPECT_EQ(one.PageCount(), 1);
    EXPECT_EQ(Draw(one, 1).WithText(kSignNoName).size(), 1u);

    const ReportLayout two = Sheet(Rows(27));
    ASSERT_EQ(two.PageCount(), 2);
    EXPECT_EQ(two.PageStarts()[1], (PageStart{33, 0, 0, 6}));
    // Drawing page 2 first, and twice, gives what printing in order gives.
    const RecordingCanvas p2first = Draw(two, 2);
    const RecordingCanvas p1 = Draw(two, 1);
    const RecordingCanvas p2again = Draw(two, 2);
    EXPECT_EQ(p2first.ops, p2again.ops);

    EXPECT_EQ(p1.WithText(kSheetTotal).size(), 1u);
    EXPECT_TRUE(p1.WithText(kSignNoName).empty());
    ExpectOne(p1, "-1/2-", {4500, -15000, 6500, -15500}, FontRole::TableBody);
    // Page 2: no title, no rows, only the signature line below y = -1300.
    EXPECT_TRUE(p2first.WithText(kTitleSheet).empty());
    ExpectOne(p2first, kSignNoName, {1300, -1720, 11300, -2140}, FontRole::Sentence);
    EXPECT_EQ(p2first.OfKind(CanvasOp::Block).size(), 1u);
    ExpectOne(p2first, "-2/2-", {4500, -15000, 6500, -15500}, FontRole::TableBody);
}

TEST(ConfirmationSheet, EveryClosingStepIsDrawnOnceInOrderWhateverTheRowCount) {
    for (int n = 0; n <= 140; ++n) {
        SCOPED_TRACE(n);
        const ReportLayout r = Sheet(Rows(n));
        EXPECT_EQ(r.PageCount(), (n + 7 + 32) / 33);
        std::vector<std::string> seen;
        std::set<int> rowsSeen;
        for (int p = 1; p <= r.PageCount(); ++p) {
            const RecordingCanvas c = Draw(r, p);
            int rowsOnPage = 0;
            for (const CanvasOp& op : c.ops) {
                if (op.text == kSheetTotal || op.text == kSheetRatio || op.kind == CanvasOp::Block)
                    seen.push_back(op.text);
                if (op.kind == CanvasOp::Centred && op.rect.left == 400 && op.rect.right == 900 &&
                    op.font == FontRole::Sheet) {
                    rowsSeen.insert(std::stoi(op.text));
                    ++rowsOnPage;
                }
            }
            EXPECT_LE(rowsOnPage, 33);
        }
        ASSERT_EQ(seen.size(), 6u);
        EXPECT_EQ(seen[0], kSheetTotal);
        EXPECT_EQ(seen[1], kSheetRatio);
        EXPECT_EQ(seen[2], kConfirm);
        EXPECT_EQ(seen[5], kSignNoName);
        EXPECT_EQ(rowsSeen.size(), static_cast<std::size_t>(n));
    }
}

// ---------------------------------------------------------------------------
// Page numbers, titles, numbers

TEST(ReportPages, PageNumbersFollowTheKind) {
    EXPECT_TRUE(ByPc(History({{"P", 1}})).HasPageNumber(1));
    EXPECT_FALSE(Sheet(Rows(1)).HasPageNumber(1));
    EXPECT_TRUE(Sheet(Rows(40)).HasPageNumber(1));
    for (ReportKind k : {ReportKind::Pledge, ReportKind::Ledger}) {
        const ReportLayout form(k);
        EXPECT_EQ(form.PageCount(), 1);
        EXPECT_FALSE(form.HasPageNumber(1));
    }
    // Pages outside the report draw nothing.
    RecordingCanvas c;
    Sheet(Rows(3)).DrawPage(c, 0);
    Sheet(Rows(3)).DrawPage(c, 2);
    EXPECT_TRUE(c.ops.empty());
}

TEST(ReportPages, CountsAndRates) {
    EXPECT_EQ(CountValue("12"), 12);
    EXPECT_EQ(CountValue("-3"), -3);
    EXPECT_EQ(CountValue("-"), 0);
    EXPECT_EQ(CountValue(""), 0);
    EXPECT_EQ(CountValue("7x"), 7);
    EXPECT_EQ(RateText(9, 20), "45.00%");
    EXPECT_EQ(RateText(1, 3), "33.33%");
    EXPECT_EQ(RateText(2, 3), "66.67%");
    EXPECT_EQ(RateText(0, 20), "0.00%");
    EXPECT_EQ(RateText(5, 0), "0.00%");
    EXPECT_EQ(ReportKindFromNumber(4), ReportKind::ConfirmationSheet);
    EXPECT_FALSE(ReportKindFromNumber(2).has_value());
    EXPECT_FALSE(ReportKindFromNumber(0).has_value());
}

TEST(BySoftwareReport, RowsWithoutAClassGoAfterTheLetteredOnes) {
    // The reader orders byte-wise, which puts "-" first.
    ReportData d;
    d.rows = {{"-", "Z", "1", "2", "NoClass1", "", ""},
              {"-", "Z", "1", "2", "NoClass2", "", ""},
              {"A", "X", "1", "2", "ClassA", "", ""},
              {"B", "X", "1", "2", "ClassB", "", ""},
              {"C", "X", "1", "2", "ClassC", "", ""}};
    const RecordingCanvas c = Draw(ReportLayout(ReportKind::BySoftware, d), 1);
    std::vector<std::string> order;
    for (const CanvasOp& op : c.OfKind(CanvasOp::Left))
        if (op.rect.left == 4100 && op.font == FontRole::TableBody)
            order.push_back(op.text);
    EXPECT_EQ(order,
              (std::vector<std::string>{"ClassA", "ClassB", "ClassC", "NoClass1", "NoClass2"}));
}

// Counts are texts read from files: totals that would run past the number
// range stop at its ends instead of wrapping round.
TEST(ReportPages, CountTotalsStopAtTheEndsOfTheNumberRange) {
    const std::string big = "9000000000000000000";
    const std::string most = "9223372036854775807";
    const std::string least = "-9223372036854775808";
    const std::vector<ResultRow> rows = {{"A", "Co", big, "2", "P", "-" + big, big},
                                         {"A", "Co", big, "2", "Q", "-" + big, big}};
    const RecordingCanvas sheet = Draw(Sheet(rows), 1);
    EXPECT_EQ(sheet.WithText(most).size(), 2u); // installed and copies
    EXPECT_EQ(sheet.WithText(least).size(), 1u);

    ReportData d;
    d.rows = rows;
    const RecordingCanvas bySoftware = Draw(ReportLayout(ReportKind::BySoftware, std::move(d)), 1);
    bool found = false;
    for (const CanvasOp& op : bySoftware.ops)
        found = found || op.text.find(most) != std::string::npos;
    EXPECT_TRUE(found);
}
