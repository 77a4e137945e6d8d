#include "files/TotalFile.h"
#include "Fakes.h"
#include "FileTexts.h"
#include "doc/TotalReaders.h"
#include "util/AuditUtil.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

namespace {
const std::string kTls = ".\\CheckOut\\audit.tls";
const std::string kRst = ".\\CheckOut\\audit.rst";

struct TotalFixture : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    CAuditUtil util{fs, messages};
    void SetUp() override { ASSERT_TRUE(util.SetResultNames("audit", CAuditUtil::NameForm::Name)); }
};

std::string Row(const std::string& flag, const std::string& name, const std::string& company,
                const std::string& cls, const std::string& installed = "1",
                const std::string& genuine = "0", const std::string& copies = "0") {
    return Line({flag, "APP", "k2", "k0", name, "1.0", installed, genuine, copies, "k7", company,
                 "1", cls});
}
} // namespace

TEST(TotalFileText, AdministrativePartRowAndHistoryLines) {
    AdminValues a{"Audit", "", "IT", "Lee", "3", "one#r#ntwo"};
    EXPECT_EQ(AdminPartText(a), AdminPart("Audit", "-", "IT", "Lee", "3", "one#r#ntwo"));
    EXPECT_EQ(AdminPartText(ConsolidatedAdminValues(12)), AdminPart("-", "-", "-", "-", "12", "-"));

    FoundProgram p;
    p.Kind = "APP";
    p.KeyColumn2 = "k2";
    p.KeyColumn0 = "k0";
    p.ProgramName = kHangul;
    p.InstalledCount = "4";
    p.Company = kHancom;
    p.Class = "3";
    p.Folder = "C:\\never written\\";
    EXPECT_EQ(RowLineText(p, "9"),
              Line({"9", "APP", "k2", "k0", kHangul, "-", "4", "-", "-", "-", kHancom, "-", "3"}));
    EXPECT_EQ(HistoryLineText({"PC", "", "Word", "C:\\W\\", "D"}),
              Line({"PC", "-", "Word", "C:\\W\\", "D"}));
}

// Values typed like the file's own markers are values: the list starts at the
// "[리스트]" line the administrative scan ends at, the history at the first
// line after it that is exactly "[PC_HISTORY]".
TEST(TotalFileText, ListAndHistoryStartAtTheirMarkerLinesNotAtValues) {
    const std::string history = Line({"PC1", "Acme", "Word", "C:\\W\\", "A"}) +
                                Line({"PC2", "Acme", "Word", "C:\\W\\", "A"});
    const std::string head = AdminPart(kListH, "[PC_HISTORY]", "IT", "Lee", "9", "a [PC_HISTORY]");
    const std::string bytes = head + Row("2", "Word", "Acme", "1") + Row("9", "Tool", "Acme", "3") +
                              "[PC_HISTORY]\r\n" + history;
    std::vector<std::string_view> lines;
    text::SplitTextViews(bytes, "\r\n", lines);
    EXPECT_EQ(ReadAdminValues(lines),
              (AdminValues{kListH, "[PC_HISTORY]", "IT", "Lee", "9", "a [PC_HISTORY]"}));
    const TotalParts parts = FindTotalParts(lines);
    EXPECT_EQ(parts.list, 14u);
    EXPECT_EQ(parts.history, 17u);

    EXPECT_EQ(HistoryStart(bytes), bytes.size() - history.size());
    const std::vector<FoundProgram> rows = ReadTotalRows(bytes);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].ProgramName, "Tool");
    std::string uncounted;
    AppendUncountedRowLines(bytes, uncounted);
    EXPECT_EQ(uncounted, Row("9", "Tool", "Acme", "3")); // not the PC count "9"
    PcHistory h;
    ParsePcHistory(bytes, h);
    EXPECT_EQ(h.perPcCounts, (std::vector<int>{1, 1}));

    // No list, no history; a marker without CR LF after it starts none.
    EXPECT_EQ(HistoryStart("x\r\n[PC_HISTORY]\r\nrest"), std::string::npos);
    EXPECT_EQ(HistoryStart(kListH + "\r\n[PC_HISTORY]"), std::string::npos);
    EXPECT_EQ(HistoryStart(kListH + "\r\n[PC_HISTORY]\r\n"), kListH.size() + 16);
}

TEST(TotalFileText, AdministrativeValuesByTheCommonRule) {
    // A value line that reads like a header is a value; a header after
    // "[리스트]" is not read; a header on the last line has no value.
    const std::string bytes = AdminPart("Audit", kCheckerH, "IT", "Lee", "3", "r") +
                              Row("2", "A", "C", "1") + kCheckDeptH + "\r\nlate\r\n";
    std::vector<std::string_view> lines;
    text::SplitTextViews(bytes, "\r\n", lines);
    const AdminValues a = ReadAdminValues(lines);
    EXPECT_EQ(a, (AdminValues{"Audit", kCheckerH, "IT", "Lee", "3", "r"}));

    const std::string last = kCheckDeptH + "\r\nD\r\n" + kRemarkH;
    text::SplitTextViews(last, "\r\n", lines);
    EXPECT_EQ(ReadAdminValues(lines), (AdminValues{"D", "", "", "", "", ""}));
}

TEST(TotalFileText, TotalRowsLieBetweenListAndHistory) {
    const std::string bytes =
        Row("2", "Before", "C", "1") + AdminPart("-", "-", "-", "-", "1", "-") +
        Row("2", "Kept", "Co", "1", "3") + "2\tAPP\tk2\tk0\tTwelve\t1\t1\t0\t0\tk7\tCo\t1\t\r\n" +
        Row("9", "Other", "Co", "3") + "[PC_HISTORY]\r\n" + Row("2", "After", "Co", "1");
    const std::vector<FoundProgram> rows = ReadTotalRows(bytes);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Origin, "2");
    EXPECT_EQ(rows[0].Kind, "APP");
    EXPECT_EQ(rows[0].KeyColumn2, "k2");
    EXPECT_EQ(rows[0].KeyColumn0, "k0");
    EXPECT_EQ(rows[0].ProgramName, "Kept");
    EXPECT_EQ(rows[0].Version, "1.0");
    EXPECT_EQ(rows[0].InstalledCount, "3");
    EXPECT_EQ(rows[0].GenuineCount, "0");
    EXPECT_EQ(rows[0].CopyCount, "0");
    EXPECT_EQ(rows[0].KeyColumn7, "k7");
    EXPECT_EQ(rows[0].Company, "Co");
    EXPECT_EQ(rows[0].DomesticCode, "1");
    EXPECT_EQ(rows[0].Class, "1");
    EXPECT_EQ(rows[1].Origin, "9");
    EXPECT_TRUE(ReadTotalRows("no list here").empty());
}

TEST_F(TotalFixture, ResultsByProgramOrderedByClassCompanyAndName) {
    fs.files[kTls] = AdminPart("Audit", "Kim", "IT", "Lee", "3", "-") +
                     Row("2", "Zeta", "acme", "1", "2") + // A acme Zeta
                     Row("9", "Beta", "Acme", "3", "-") + // C: flagged 9 still listed
                     Row("2", "Alpha", "Acme", "2", "") + // B
                     Row("0", "Zeta", "Acme", "1", "5") + // A Acme Zeta (upper case first)
                     Row("2", kHangul, "Acme", "1") +     // double-byte after ASCII
                     Row("2", "Zeta", "Acme", "1", "7") + // tie: keeps file order
                     Row("2", "Odd", "Acme", "7") +       // "-" letter
                     "2\tAPP\tk2\tk0\tTwelve\t1\t1\t0\t0\tk7\tCo\t1\t\r\n" + "[PC_HISTORY]\r\n" +
                     Line({"PC", "Acme", "Zeta", "C:\\", "A"});
    std::vector<ResultRow> rows{{"x", "pre-existing", "", "", "", "", ""}};
    AdminValues admin;
    ASSERT_TRUE(ReadResultRows(util, rows, admin, 3));
    EXPECT_EQ(admin, (AdminValues{"Audit", "Kim", "IT", "Lee", "3", "-"}));
    std::vector<std::string> order;
    for (const ResultRow& r : rows)
        order.push_back(r.classLetter + " " + r.company + " " + r.program + " " + r.installed);
    EXPECT_EQ(order,
              (std::vector<std::string>{"x pre-existing  ", "- Acme Odd 1", "A Acme Zeta 5",
                                        "A Acme Zeta 7", "A Acme " + kHangul + " 1",
                                        "A acme Zeta 2", "B Acme Alpha 0", "C Acme Beta 0"}));
    EXPECT_EQ(rows[7].flag, "9");
    EXPECT_EQ(rows[1].genuine, "");
}

TEST_F(TotalFixture, ConfirmationRowsInFileOrderWithoutFlagNine) {
    fs.files[kRst] = AdminPart("Audit", "Kim", "IT", "Lee", "3", "a#r#nb") +
                     Row("2", "Zeta", "Acme", "1", "3", "1", "2") +
                     Row("9", "Gone", "Acme", "1", "3", "3", "0") +
                     Row("0", "Alpha", "Acme", "3", "2", "-", "") + Row("2", "Beta", "B", "2");
    fs.files[kTls] = "not this one";
    std::vector<ResultRow> rows;
    AdminValues admin;
    ASSERT_TRUE(ReadResultRows(util, rows, admin, 4));
    EXPECT_EQ(admin.remark, "a#r#nb");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (ResultRow{"A", "Acme", "3", "2", "Zeta", "1", "2"}));
    EXPECT_EQ(rows[1], (ResultRow{"C", "Acme", "2", "0", "Alpha", "0", "0"}));
    EXPECT_EQ(rows[2].program, "Beta");
}

TEST_F(TotalFixture, ReadersReportAMissingFile) {
    std::vector<ResultRow> rows(1);
    AdminValues admin{"keep", "", "", "", "", ""};
    EXPECT_FALSE(ReadResultRows(util, rows, admin, 4));
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Result File Open Error..."});
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_EQ(admin.checkDepartment, "keep");
    PcHistory h;
    EXPECT_FALSE(ReadPcHistory(util, h));
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(h.lines.empty());
}

TEST_F(TotalFixture, HistoryLinesAndPerPcCounts) {
    fs.files[kTls] = AdminPart("-", "-", "-", "-", "2", "-") + Row("2", "Zeta", "Acme", "1") +
                     "[PC_HISTORY]\r\n" + Line({"PC-A", "Acme", "Zeta", "C:\\Z\\", "A"}) +
                     Line({"PC-A", "Acme", "Zeta", "D:\\Z\\", "D"}) + "PC-A\tshort\tline\t\r\n" +
                     Line({"PC-B", kHancom, kHangul, "C:\\H\\", "C"});
    PcHistory h;
    ASSERT_TRUE(ReadPcHistory(util, h));
    ASSERT_EQ(h.lines.size(), 3u);
    EXPECT_EQ(h.lines[1], (PcHistoryLine{"PC-A", "Acme", "Zeta", "D:\\Z\\", "D"}));
    EXPECT_EQ(h.lines[2], (PcHistoryLine{"PC-B", kHancom, kHangul, "C:\\H\\", "C"}));
    EXPECT_EQ(h.perPcCounts, (std::vector<int>{2, 1}));

    // A PC that comes back later starts a new count; a lone "-" line is no history.
    PcHistory again;
    ParsePcHistory(kListH + "\r\n[PC_HISTORY]\r\n" + Line({"A", "c", "p", "f", "A"}) +
                       Line({"B", "c", "p", "f", "A"}) + Line({"A", "c", "p", "f", "A"}) + "-\r\n",
                   again);
    EXPECT_EQ(again.perPcCounts, (std::vector<int>{1, 1, 1}));
    PcHistory none;
    ParsePcHistory(AdminPart("-", "-", "-", "-", "0", "-") + "[PC_HISTORY]\r\n-\r\n", none);
    EXPECT_TRUE(none.lines.empty());
    EXPECT_TRUE(none.perPcCounts.empty());
}
