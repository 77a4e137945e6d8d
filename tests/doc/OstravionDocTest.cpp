#include "doc/OstravionDoc.h"
#include "Fakes.h"
#include "doc/AuditLists.h"
#include "files/PerPcWriter.h"
#include "util/Text.h"

#include <gtest/gtest.h>

using namespace ostravion;
using ostravion::test::MemoryFileSystem;
using ostravion::test::RecordingMessages;

namespace {

const std::string kHeadComputer = "[\xC4\xC4\xC7\xBB\xC5\xCD\xB8\xED]";
const std::string kHeadUser = "[\xBE\xD7\xC6\xBC\xBA\xEA\xBB\xE7\xBF\xEB\xC0\xDA]";
const std::string kHeadModel = "[\xC4\xC4\xC7\xBB\xC5\xCD\xB1\xE2\xC1\xBE]";
const std::string kHeadTime = "[\xB0\xCB\xBB\xE7\xC0\xCF\xBD\xC3]";
const std::string kHeadGroup = "[\xB1\xD7\xB7\xEC]";
const std::string kHeadList = "[\xB8\xAE\xBD\xBA\xC6\xAE]";

FoundProgram Program(const std::string& company, const std::string& name, const std::string& cls,
                     const std::string& folder = "C:\\APP\\") {
    FoundProgram p;
    p.Origin = (cls == "1") ? "2" : "9";
    p.Class = cls;
    p.Company = company;
    p.ProgramName = name;
    p.Version = "1.0";
    p.Folder = folder;
    p.FileName = "X.EXE";
    p.FileSize = "100";
    return p;
}

// A list line read back: the eleven fields of a line of the result file.
std::vector<std::string> Fields(const std::string& line) {
    return text::SplitText(line, "\t");
}

struct DocFixture : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    CAuditUtil util{fs, messages};
    AuditLists lists{util};
    COstravionView& normal = lists.normal;
    CExtendView& extended = lists.extended;
    COstravionDoc& doc = lists.doc;

    void SetUp() override {
        util.SetScanBaseName("ACME_PC01");
        util.SetPcFacts({"ACME", "PC01", "kim", "Intel Pentinum Pro or Pentium II Revision 806",
                         "2004-3-7, 10:5 "});
    }
    std::vector<std::string> Lines() const {
        const auto it = fs.files.find(".\\CheckOut\\ACME_PC01.ipt");
        if (it == fs.files.end())
            return {};
        return text::SplitText(it->second, "\r\n");
    }
};

} // namespace

TEST_F(DocFixture, RoutesByClassAndMarksRepeatsAsDuplicates) {
    doc.AddFoundProgram(Program("Acme", "Word", "1"));
    doc.AddFoundProgram(Program("Acme", "WORD", "1", "D:\\W\\")); // the same, other folder
    doc.AddFoundProgram(Program("Acme", "word", "2"));
    doc.AddFoundProgram(Program("Beta", "Tool", "3"));
    doc.AddFoundProgram(Program("Beta", "Tool", "3"));
    doc.AddFoundProgram(Program("Gamma", "Calc", "2"));

    ASSERT_EQ(normal.RowCount(), 2);
    EXPECT_EQ(normal.ItemText(0, 3), "Word");
    EXPECT_EQ(normal.ItemText(1, 3), "Calc");
    ASSERT_EQ(extended.RowCount(), 4);
    EXPECT_EQ(extended.ItemText(0, 1), "4");
    EXPECT_EQ(extended.ItemText(0, 6), "D:\\W\\");
    EXPECT_EQ(extended.ItemText(1, 1), "4");
    EXPECT_EQ(extended.ItemText(2, 1), "3"); // the first Tool is no duplicate
    EXPECT_EQ(extended.ItemText(3, 1), "4"); // found in the extended list
}

TEST_F(DocFixture, ALaterProgramOfALowerClassIsNoDuplicate) {
    doc.AddFoundProgram(Program("Acme", "Word", "2"));
    doc.AddFoundProgram(Program("Acme", "Word", "1"));
    EXPECT_EQ(normal.RowCount(), 2);
    EXPECT_EQ(normal.ItemText(1, 1), "1");
    // A class "3" program is a duplicate of an earlier class "2" one.
    doc.AddFoundProgram(Program("Acme", "Word", "3"));
    EXPECT_EQ(extended.ItemText(0, 1), "4");
}

TEST_F(DocFixture, NamesShorterThanTwoBytesAreNotShown) {
    doc.AddFoundProgram(Program("Acme", "W", "1"));
    doc.AddFoundProgram(Program("Acme", "", "3"));
    doc.AddFoundProgram(Program("Acme", "\xB0\xA1", "1")); // one Hangul character: two bytes
    EXPECT_EQ(normal.RowCount(), 1);
    EXPECT_EQ(extended.RowCount(), 0);
    EXPECT_TRUE(doc.ListsStarted());
}

TEST_F(DocFixture, TheTotalLayoutMarksNoDuplicates) {
    doc.SetLayoutMode(kTotalLayout);
    EXPECT_EQ(util.GetLayoutFlag(), kTotalLayout);
    EXPECT_EQ(normal.ColumnCount(), 6);
    EXPECT_EQ(extended.ColumnCount(), 6);
    doc.AddFoundProgram(Program("Acme", "Word", "1"));
    doc.AddFoundProgram(Program("Acme", "Word", "1"));
    EXPECT_EQ(normal.RowCount(), 2);
    EXPECT_EQ(normal.ItemText(1, 1), "1");
}

TEST_F(DocFixture, TheFirstProgramAfterARestartReplacesWhatTheListsShow) {
    doc.AddFoundProgram(Program("Acme", "Word", "1"));
    doc.AddFoundProgram(Program("Beta", "Tool", "3"));
    doc.RestartLists();
    EXPECT_FALSE(doc.ListsStarted());
    EXPECT_EQ(normal.RowCount(), 1); // still shown until the next program
    doc.AddFoundProgram(Program("Acme", "Word", "1"));
    EXPECT_EQ(normal.RowCount(), 1);
    EXPECT_EQ(normal.ItemText(0, 1), "1"); // the old Word is gone, no duplicate
    EXPECT_EQ(extended.RowCount(), 0);
}

TEST_F(DocFixture, SwitchingTheLayoutDiscardsTheRows) {
    doc.AddFoundProgram(Program("Acme", "Word", "1"));
    doc.SetLayoutMode(kScanLayout);
    EXPECT_EQ(normal.RowCount(), 0);
    EXPECT_EQ(normal.StoredCount(), 0u);
    EXPECT_EQ(normal.ColumnCount(), 7);
}

TEST_F(DocFixture, WritesTheHeaderThenEachListSortedByRightsHolder) {
    fs.files[".\\CheckOut\\ACME_PC01.tmp"] = "journal";
    fs.files[".\\CheckOut\\ACME_PC01.ipt"] = "an older result";
    doc.AddFoundProgram(Program("Zeta", "Zed", "1"));
    FoundProgram a = Program("Acme", "Word", "1");
    a.KeyColumn0 = "K0";
    a.Kind = "OFFICE";
    a.KeyColumn2 = "K2";
    a.KeyColumn7 = "K7";
    a.DomesticCode = "2";
    a.Version = "";
    doc.AddFoundProgram(a);
    doc.AddFoundProgram(Program("Beta", "Tool", "3", "C:\\T\\"));
    doc.AddFoundProgram(Program("Acme", "Word", "1", "D:\\W\\"));

    ASSERT_TRUE(doc.WriteScanResults());
    EXPECT_TRUE(messages.shown.empty());
    const std::string expected =
        kHeadComputer + "\r\nPC01\r\n" + kHeadUser + "\r\nkim\r\n" + kHeadModel +
        "\r\nIntel Pentinum Pro or Pentium II Revision 806\r\n" + kHeadTime +
        "\r\n2004-3-7, 10:5 \r\n" + kHeadGroup + "\r\nACME\r\n" + kHeadList + "\r\n" +
        "2\t1\tK0\tOFFICE\tK2\tWord\t-\tK7\tAcme\t2\tC:\\APP\\\t\r\n" +
        "2\t1\t-\t-\t-\tZed\t1.0\t-\tZeta\t-\tC:\\APP\\\t\r\n" +
        "2\t4\t-\t-\t-\tWord\t1.0\t-\tAcme\t-\tD:\\W\\\t\r\n" +
        "9\t3\t-\t-\t-\tTool\t1.0\t-\tBeta\t-\tC:\\T\\\t\r\n";
    EXPECT_EQ(fs.files[".\\CheckOut\\ACME_PC01.ipt"], expected);
    EXPECT_FALSE(fs.Exists(".\\CheckOut\\ACME_PC01.tmp"));
    // The lists show the order written.
    EXPECT_EQ(normal.ItemText(0, 2), "Acme");

    // Written again, the same bytes.
    ASSERT_TRUE(doc.WriteScanResults());
    EXPECT_EQ(fs.files[".\\CheckOut\\ACME_PC01.ipt"], expected);
}

TEST_F(DocFixture, NoProgramsGiveTheElevenHeaderLinesWithDashesForEmptyFacts) {
    util.SetPcFacts({"ACME", "", "", "", "2004-3-7, 10:5 "});
    ASSERT_TRUE(doc.WriteScanResults());
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], kHeadComputer);
    EXPECT_EQ(lines[1], "-");
    EXPECT_EQ(lines[3], "-");
    EXPECT_EQ(lines[5], "-");
    EXPECT_EQ(lines[9], "ACME");
    EXPECT_EQ(lines[10], kHeadList);
}

TEST_F(DocFixture, RowsAreWrittenInSortedOrderThroughTheirRowNumbers) {
    // Equal rights holders: the order the quicksort leaves them in is the
    // order in the file (rows 4, 2, 1, 3, 5 for B A B A B).
    const char* companies[] = {"B", "A", "B", "A", "B"};
    for (int i = 0; i < 5; ++i)
        doc.AddFoundProgram(Program(companies[i], "Prog" + std::to_string(i + 1), "1"));
    ASSERT_TRUE(doc.WriteScanResults());
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 16u);
    std::vector<std::string> names;
    for (std::size_t i = 11; i < lines.size(); ++i)
        names.push_back(Fields(lines[i])[5]);
    EXPECT_EQ(names, (std::vector<std::string>{"Prog4", "Prog2", "Prog1", "Prog3", "Prog5"}));
}

TEST_F(DocFixture, AFailedWriteIsReportedAndKeepsTheJournal) {
    fs.files[".\\CheckOut\\ACME_PC01.tmp"] = "journal";
    fs.files[".\\CheckOut\\ACME_PC01.ipt"] = "earlier result";
    // The file is made beside its name and moved into place once whole.
    fs.unwritable.insert(".\\CheckOut\\ACME_PC01.ipt.new");
    doc.AddFoundProgram(Program("Acme", "Word", "1"));
    EXPECT_FALSE(doc.WriteScanResults());
    // One message, saying where the findings still are.
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{std::string("Write File Open Error...!!\n") +
                                       msg::kJournalKept + ".\\CheckOut\\ACME_PC01.tmp"});
    EXPECT_EQ(fs.files[".\\CheckOut\\ACME_PC01.tmp"], "journal");
    EXPECT_EQ(fs.files[".\\CheckOut\\ACME_PC01.ipt"], "earlier result");
    EXPECT_FALSE(fs.Exists(".\\CheckOut\\ACME_PC01.ipt.new"));
}

TEST_F(DocFixture, AResultFileThatCannotBeReplacedStaysAsItWas) {
    const std::string ipt = ".\\CheckOut\\ACME_PC01.ipt";
    fs.files[".\\CheckOut\\ACME_PC01.tmp"] = "journal";
    fs.files[ipt] = "earlier result";
    doc.AddFoundProgram(Program("Acme", "Word", "1"));
    doc.AddFoundProgram(Program("Acme", "Tool", "3"));
    fs.failingRenames.insert(ipt);
    EXPECT_FALSE(doc.WriteScanResults());
    EXPECT_FALSE(doc.LastWriteSucceeded());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].starts_with("Write File Open Error...!!\n"));
    EXPECT_EQ(fs.files[ipt], "earlier result");
    EXPECT_EQ(fs.files[".\\CheckOut\\ACME_PC01.tmp"], "journal");
    EXPECT_FALSE(fs.Exists(ipt + ".new"));

    // Once it can be replaced, the whole new file takes its place in one step.
    fs.failingRenames.clear();
    messages.shown.clear();
    ASSERT_TRUE(doc.WriteScanResults());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Lines().size(), 13u);
    EXPECT_FALSE(fs.Exists(ipt + ".new"));
    EXPECT_FALSE(fs.Exists(".\\CheckOut\\ACME_PC01.tmp"));
}

namespace {
// A file that loses what is written to it, as on a full disk.
class FullDisk final : public FileSystem {
public:
    MemoryFileSystem inner;
    PathRules Rules() const override { return inner.Rules(); }
    bool ReadWhole(const std::string& p, std::string& b) const override {
        return inner.ReadWhole(p, b);
    }
    std::unique_ptr<InFile> OpenRead(const std::string& p) const override {
        return inner.OpenRead(p);
    }
    bool Exists(const std::string& p) const override { return inner.Exists(p); }
    std::unique_ptr<OutFile> OpenWrite(const std::string&, bool) override {
        struct Lost final : OutFile {
            bool Write(const std::string&) override { return false; }
            bool Close() override { return false; }
        };
        return std::make_unique<Lost>();
    }
    bool Remove(const std::string& p) override { return inner.Remove(p); }
    bool Rename(const std::string& a, const std::string& b) override { return inner.Rename(a, b); }
    bool ReplaceKeepingBackup(const std::string& a, const std::string& b,
                              const std::string& c) override {
        return inner.ReplaceKeepingBackup(a, b, c);
    }
    bool MakeDirectory(const std::string& p) override { return inner.MakeDirectory(p); }
    bool IsDirectory(const std::string& p) const override { return inner.IsDirectory(p); }
    bool ListFiles(const std::string& f, std::vector<std::string>& n) const override {
        return inner.ListFiles(f, n);
    }
    std::string CurrentDirectory() const override { return inner.CurrentDirectory(); }
    bool SetCurrentDirectory(const std::string& p) override { return inner.SetCurrentDirectory(p); }
};
} // namespace

TEST(PerPcWriter, AWriteThatFailsAfterOpeningIsReportedNotTakenAsDone) {
    FullDisk fs;
    RecordingMessages messages;
    EXPECT_FALSE(WritePerPcFile(fs, messages, "x.ipt", PcFacts{}, {}));
    EXPECT_FALSE(AppendPerPcRows(fs, messages, "x.ipt", {}));
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0], "Write File Open Error...!!");
}
