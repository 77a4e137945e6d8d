#include "Fakes.h"
#include "RecordingCanvas.h"
#include "util/AuditUtil.h"
#include "views/PrintSelection.h"
#include "views/ReportLayout.h"
#include "views/ReportTexts.h"

#include <gtest/gtest.h>

using namespace ostravion;
using ostravion::test::CanvasOp;
using ostravion::test::FakeProgressFactory;
using ostravion::test::MemoryFileSystem;
using ostravion::test::RecordingCanvas;
using ostravion::test::RecordingMessages;

namespace {
// "서 약 서" and "S/W 관리 대장"
const std::string kTitlePledge = "\xBC\xAD \xBE\xE0 \xBC\xAD";
const std::string kTitleLedger = "S/W \xB0\xFC\xB8\xAE \xB4\xEB\xC0\xE5";
// "소   속 : __________________"
const std::string kBelong = "\xBC\xD2   \xBC\xD3 : __________________";
// "                                           장 귀하"
const std::string kAddressee =
    "                                           \xC0\xE5 \xB1\xCD\xC7\xCF";
// "구입신청자" and "과        직급 :           성명 :"
const std::string kApplicant = "\xB1\xB8\xC0\xD4\xBD\xC5\xC3\xBB\xC0\xDA";
const std::string kApplicantValue =
    "\xB0\xFA        \xC1\xF7\xB1\xDE :           \xBC\xBA\xB8\xED :";
// "처분방법"
const std::string kDisposal = "\xC3\xB3\xBA\xD0\xB9\xE6\xB9\xFD";
// "데이타를 읽어오고  있습니다.."
const std::string kReading = "\xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 \xC0\xD0\xBE\xEE\xBF\xC0\xB0\xED  "
                             "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9..";

std::vector<std::size_t> Lengths(const std::vector<std::string>& lines) {
    std::vector<std::size_t> out;
    for (const auto& l : lines)
        out.push_back(l.size());
    return out;
}
} // namespace

TEST(PledgeForm, ParagraphsBreakAfterTheLastSpaceOfEach55ByteWindow) {
    const std::string p1 = report_text::kPledgeParagraph1;
    const std::string p2 =
        std::string(report_text::kPledgeParagraph2a) + report_text::kPledgeParagraph2b;
    ASSERT_EQ(p1.size(), 121u);
    ASSERT_EQ(p2.size(), 173u);
    const auto lines1 = BreakPledgeParagraph(p1);
    EXPECT_EQ(Lengths(lines1), (std::vector<std::size_t>{53, 52, 16}));
    EXPECT_EQ(lines1[0].back(), ' '); // the space stays at the end of its line
    EXPECT_EQ(Lengths(BreakPledgeParagraph(p2)), (std::vector<std::size_t>{53, 51, 51, 18}));

    // Exactly 55 bytes still look for a space; fewer are one line.
    EXPECT_EQ(Lengths(BreakPledgeParagraph(std::string(50, 'x') + " abcd")),
              (std::vector<std::size_t>{51, 4}));
    EXPECT_EQ(Lengths(BreakPledgeParagraph(std::string(54, 'x'))), (std::vector<std::size_t>{54}));
    // A window without a space is cut before a character it would split.
    std::string hangul = "x";
    for (int i = 0; i < 40; ++i)
        hangul += "\xB0\xA1";
    EXPECT_EQ(Lengths(BreakPledgeParagraph(hangul)), (std::vector<std::size_t>{55, 26}));
    EXPECT_EQ(Lengths(BreakPledgeParagraph(hangul.substr(1))), (std::vector<std::size_t>{54, 26}));
}

TEST(PledgeForm, TitleSignerBlockAndBodyOnly) {
    RecordingCanvas c;
    ReportLayout(ReportKind::Pledge).DrawPage(c, 1);
    ASSERT_EQ(c.ops.size(), 3u);
    EXPECT_EQ(
        c.ops[0],
        (CanvasOp{CanvasOp::Centred, {4000, -900, 8000, -1400}, kTitlePledge, FontRole::Title}));
    EXPECT_EQ(c.ops[1].kind, CanvasOp::Wrapped);
    EXPECT_EQ(c.ops[1].rect, (TwipRect{5900, -3100, 10300, -4800}));
    EXPECT_EQ(c.ops[1].font, FontRole::Pledge);
    EXPECT_EQ(c.ops[1].text.substr(0, kBelong.size() + 2), kBelong + "\n\n");
    EXPECT_EQ(c.ops[1].text.substr(c.ops[1].text.size() - 4), "\n\n\n\n");

    const CanvasOp& body = c.ops[2];
    EXPECT_EQ(body.kind, CanvasOp::Wrapped);
    EXPECT_EQ(body.rect, (TwipRect{1350, -5300, 9750, -18000}));
    EXPECT_EQ(body.font, FontRole::Pledge);
    const auto lines1 = BreakPledgeParagraph(report_text::kPledgeParagraph1);
    EXPECT_EQ(body.text.substr(0, lines1[0].size() + 2 + lines1[1].size() + 2),
              lines1[0] + "\n\n" + lines1[1] + "\n\n");
    // Paragraph 1's last line, its empty line and the paragraph's gap.
    EXPECT_NE(body.text.find(lines1[2] + "\n\n\n\n"), std::string::npos);
    EXPECT_EQ(body.text.substr(body.text.size() - kAddressee.size()), kAddressee);
    EXPECT_EQ(c.font, FontRole::Device);
}

TEST(LedgerForm, BoxesOfTheApprovalBlockLabelRowsAndUsageTable) {
    RecordingCanvas c;
    ReportLayout(ReportKind::Ledger).DrawPage(c, 1);
    EXPECT_EQ(c.WithText(kTitleLedger).size(), 1u);
    EXPECT_TRUE(c.HasRule(4000, -1400, 8000, -1400));
    EXPECT_TRUE(c.HasRule(4000, -1450, 8000, -1450));

    const auto boxes = c.OfKind(CanvasOp::Box);
    // 4 approval + 6 label-row + 4 count-row + 5 header + 26 x 5 empty boxes.
    EXPECT_EQ(boxes.size(), 4u + 6u + 4u + 5u + 130u);
    auto hasBox = [&](TwipRect r) {
        for (const auto& b : boxes)
            if (b.rect == r)
                return true;
        return false;
    };
    EXPECT_TRUE(hasBox({8400, -2700, 9600, -3800}));
    EXPECT_TRUE(hasBox({9600, -2300, 10800, -2700}));
    EXPECT_TRUE(hasBox({2390, -4560, 10800, -4940}));
    EXPECT_TRUE(hasBox({6550, -4940, 8630, -5320}));
    EXPECT_TRUE(hasBox({8630, -5320, 10800, -5700}));
    EXPECT_TRUE(hasBox({8630, -15200, 10800, -15580})); // the last row
    int lowest = 0;
    for (const auto& b : boxes)
        lowest = std::min(lowest, b.rect.bottom);
    EXPECT_EQ(lowest, -15580);

    const auto applicant = c.WithText(kApplicant);
    ASSERT_EQ(applicant.size(), 1u);
    EXPECT_EQ(applicant[0].rect, (TwipRect{400, -3800, 2390, -4180}));
    EXPECT_EQ(applicant[0].font, FontRole::Ledger);
    EXPECT_EQ(c.WithText(kApplicantValue)[0].rect, (TwipRect{2390, -3800, 10800, -4180}));
    EXPECT_EQ(c.WithText(kDisposal)[0].rect, (TwipRect{8630, -5320, 10800, -5700}));

    // Each caption is drawn over its box, after it, so the box does not hide it.
    for (std::size_t i = 0; i < c.ops.size(); ++i)
        if (c.ops[i].kind == CanvasOp::Centred && c.ops[i].font == FontRole::Ledger) {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(c.ops[i - 1].kind, CanvasOp::Box);
            EXPECT_EQ(c.ops[i - 1].rect, c.ops[i].rect);
        }
    const auto blocks = c.OfKind(CanvasOp::Block);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].rect, (TwipRect{400, -2600, 8300, -3600}));
    EXPECT_EQ(c.font, FontRole::Device);
}

TEST(LedgerForm, FormsAreTheSameInBothViewsAndIgnoreLoadedData) {
    ReportData d;
    d.rows.push_back({"A", "Co", "3", "2", "Prog", "1", "2"});
    d.history.lines.push_back({"PC", "Co", "Prog", "C:\\", "A"});
    d.history.perPcCounts = {1};
    for (ReportKind k : {ReportKind::Pledge, ReportKind::Ledger}) {
        RecordingCanvas plain, loaded;
        ReportLayout(k).DrawPage(plain, 1);
        ReportLayout(k, d, SheetView::Extended).DrawPage(loaded, 1);
        EXPECT_EQ(plain.ops, loaded.ops);
    }
}

// ---------------------------------------------------------------------------
// Print selection and the prepare step

namespace {
struct PrintFixture : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    FakeProgressFactory progress;
    CAuditUtil util{fs, messages, &progress};
};
} // namespace

TEST_F(PrintFixture, TheLastClickedButtonDecidesAndNoChoiceCannotBeConfirmed) {
    CPrintSelection s;
    EXPECT_FALSE(s.CanConfirm());
    util.SetReportKind(3);
    EXPECT_FALSE(s.Confirm(util));
    EXPECT_EQ(util.GetReportKind(), 3); // nothing stored

    s.Click(kIdPrintPledge);
    s.Click(kIdPrintLedger);
    s.Click(1); // not a radio button
    EXPECT_TRUE(s.CanConfirm());
    EXPECT_EQ(s.Chosen(), ReportKind::Ledger);
    EXPECT_TRUE(s.Confirm(util));
    EXPECT_EQ(util.GetReportKind(), 6);

    // Every button maps to its kind.
    for (const PrintChoice& c : PrintChoices()) {
        CPrintSelection one;
        one.Click(c.buttonId);
        EXPECT_EQ(one.Chosen(), c.kind);
    }
}

TEST_F(PrintFixture, TheSheetWithoutAWrittenResultRunsWriteResultFirst) {
    ASSERT_TRUE(util.SetResultNames("Acme_Audit.tls", CAuditUtil::NameForm::Name));
    int writes = 0;
    BeforePrinting(util, ReportKind::ConfirmationSheet, [&] {
        ++writes;
        return true;
    });
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(util.GetWorkState(), kPrinted);

    fs.files[".\\CheckOut\\Acme_Audit.rst"] = "x";
    EXPECT_EQ(SheetResultPath(util), ".\\CheckOut\\Acme_Audit.rst");
    BeforePrinting(util, ReportKind::ConfirmationSheet, [&] {
        ++writes;
        return true;
    });
    BeforePrinting(util, ReportKind::BySoftware, [&] {
        ++writes;
        return true;
    });
    EXPECT_EQ(writes, 1);
}

TEST_F(PrintFixture, PrepareShowsProgressAndReadsWhatTheKindNeeds) {
    std::vector<int> rowKinds;
    int histories = 0;
    ReportReaders readers;
    readers.readPcHistory = [&](PcHistory& h) {
        ++histories;
        h.lines.push_back({"PC", "Co", "Prog", "C:\\", "A"});
        h.perPcCounts = {1};
        return true;
    };
    readers.readResultRows = [&](std::vector<ResultRow>& rows, AdminValues& admin, int kind) {
        rowKinds.push_back(kind);
        rows.push_back({"A", "Co", "3", "2", "Prog", "1", "2"});
        admin.pcCount = "4";
        return kind == 4;
    };

    const ReportLayout byPc = PrepareReport(util, ReportKind::ByPc, readers);
    EXPECT_EQ(byPc.LineTypes(), "L123");
    EXPECT_EQ(progress.log.front(), "create " + kReading);
    EXPECT_EQ(std::count(progress.log.begin(), progress.log.end(), "stepit"), 3 + 2 + 3 + 3);
    EXPECT_FALSE(util.HasProgress());

    bool read = false;
    const ReportLayout sheet =
        PrepareReport(util, ReportKind::ConfirmationSheet, readers, SheetView::Normal, &read);
    EXPECT_EQ(sheet.Data().admin.pcCount, "4");
    EXPECT_TRUE(read);
    PrepareReport(util, ReportKind::BySoftware, readers, SheetView::Normal, &read);
    EXPECT_FALSE(read);
    progress.log.clear();
    PrepareReport(util, ReportKind::Pledge, readers);
    EXPECT_EQ(std::count(progress.log.begin(), progress.log.end(), "stepit"), 3 + 3);
    EXPECT_EQ(histories, 1);
    EXPECT_EQ(rowKinds, (std::vector<int>{4, 3}));
}

TEST_F(PrintFixture, TheTotalFileReadersFeedTheReports) {
    ASSERT_TRUE(util.SetResultNames("audit", CAuditUtil::NameForm::Name));
    // "[PC수량]" and "[리스트]"
    fs.files[".\\CheckOut\\audit.tls"] =
        "[PC\xBC\xF6\xB7\xAE]\r\n7\r\n[\xB8\xAE\xBD\xBA\xC6\xAE]\r\n"
        "2\tAPP\tK2\tK0\tWord\t1.0\t3\t0\t0\tK7\tAcme\t1\t4\t\r\n"
        "2\tAPP\tK2\tK0\tCalc\t1.0\t2\t0\t0\tK7\tAcme\t1\t1\t\r\n"
        "[PC_HISTORY]\r\nPC1\tAcme\tCalc\tC:\\\tA\t\r\nPC2\tAcme\tWord\tC:\\\tD\t\r\n";
    bool read = false;
    const ReportLayout bySw = PrepareReport(util, ReportKind::BySoftware, TotalFileReaders(util),
                                            SheetView::Normal, &read);
    EXPECT_TRUE(read);
    ASSERT_EQ(bySw.Data().rows.size(), 2u);
    EXPECT_EQ(bySw.Data().rows[0].program, "Calc"); // class A before the one without a class
    EXPECT_EQ(bySw.Data().admin.pcCount, "7");
    const ReportLayout byPc =
        PrepareReport(util, ReportKind::ByPc, TotalFileReaders(util), SheetView::Normal, &read);
    EXPECT_EQ(byPc.LineTypes(), "L123L123");

    // No written result yet: the reader's message, and the sheet's no-data form.
    const ReportLayout sheet = PrepareReport(util, ReportKind::ConfirmationSheet,
                                             TotalFileReaders(util), SheetView::Normal, &read);
    EXPECT_FALSE(read);
    EXPECT_EQ(sheet.EntryCount(), 0u);
    EXPECT_EQ(messages.shown.back(), "Result File Open Error...");
}
