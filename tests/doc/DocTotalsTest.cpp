// The document with its two real lists: consolidation into the total layout,
// save and load of the total, the report readers and the consolidate command.
#include "Fakes.h"
#include "doc/AuditLists.h"
#include "doc/ConsolidateRun.h"
#include "files/FileTexts.h"
#include "files/PerPcReader.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

namespace {
const std::string kDir = ".\\CheckOut\\";
const std::string kConsolidating = "\xB0\xCB\xBB\xE7 \xB0\xE1\xB0\xFA \xC3\xEB\xC7\xD5\xC1\xDF...";

std::string L(const std::string& origin, const std::string& cls, const std::string& name,
              const std::string& company, const std::string& folder = "C:\\P\\") {
    return Line({origin, cls, "k0", "APP", "k2", name, "1.0", "k7", company, "1", folder});
}
std::string RowOf(const std::string& flag, const std::string& name, const std::string& company,
                  const std::string& cls, const std::string& installed,
                  const std::string& licences = "0") {
    return Line({flag, "APP", "k2", "k0", name, "1.0", installed, licences, licences, "k7", company,
                 "1", cls});
}

struct DocTotals : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    FakeProgressFactory progress;
    CAuditUtil util{fs, messages, &progress};
    AuditLists lists{util};
    COstravionView& normal = lists.normal;
    CExtendView& extended = lists.extended;
    COstravionDoc& doc = lists.doc;
    std::vector<bool> arrangements;

    void SetUp() override {
        doc.SetArrangementHandler([this](bool ext) { arrangements.push_back(ext); });
        fs.files[kDir + "a.ipt"] = PerPcHeader("PC-A") + L("2", "1", "Word", "Acme") +
                                   L("9", "3", "tool", "Zed") + L("2", "4", "Word", "Acme") +
                                   L("2", "2", "Calc", "Acme");
        fs.files[kDir + "b.ipt"] = PerPcHeader("PC-B") + L("2", "1", "WORD", "ACME") +
                                   L("0", "1", "Mail", "Acme") + L("9", "2", "x", "Acme");
        util.SetSelectedFiles({"a.ipt", "b.ipt"});
    }
    std::vector<std::string> Column(const CResultList& list, int column) const {
        std::vector<std::string> out;
        for (int r = 0; r < list.RowCount(); ++r)
            out.push_back(list.ItemText(r, column));
        return out;
    }
    const std::string kHistory = "[PC_HISTORY]\r\n" +
                                 Line({"PC-A", "Acme", "Calc", "C:\\P\\", "B"}) +
                                 Line({"PC-A", "Acme", "Word", "C:\\P\\", "A"}) +
                                 Line({"PC-A", "Acme", "Word", "C:\\P\\", "D"}) +
                                 Line({"PC-A", "Zed", "tool", "C:\\P\\", "C"}) +
                                 Line({"PC-B", "ACME", "WORD", "C:\\P\\", "A"}) +
                                 Line({"PC-B", "Acme", "Mail", "C:\\P\\", "A"}) +
                                 Line({"PC-B", "Acme", "x", "C:\\P\\", "B"});
};
} // namespace

TEST_F(DocTotals, ConsolidateCommandShowsTheTotalLayout) {
    const ConsolidateOutcome out = RunConsolidateCommand(doc, "Total");
    ASSERT_EQ(out.name, NameCheck::Accepted);
    EXPECT_EQ(util.GetWorkState(), kConsolidated);
    EXPECT_EQ(util.GetLayoutFlag(), kTotalLayout);
    EXPECT_EQ(doc.PcCount(), 2);
    EXPECT_EQ(progress.log.front(), "create " + kConsolidating);
    EXPECT_FALSE(util.HasProgress());

    // Classes 1 and 2 in the normal list, 3 in the extended one, with counts;
    // a one-byte name is in the file but not on show; boxes ticked for "2" and "0".
    EXPECT_EQ(Column(normal, 3), (std::vector<std::string>{"Word", "Calc", "Mail"}));
    EXPECT_EQ(Column(normal, 5), (std::vector<std::string>{"2", "1", "1"}));
    EXPECT_EQ(Column(extended, 3), (std::vector<std::string>{"tool"}));
    EXPECT_EQ(normal.GetCheck(0), 1);
    EXPECT_EQ(normal.GetCheck(2), 1);
    EXPECT_EQ(extended.GetCheck(0), 0);
    EXPECT_EQ(arrangements, std::vector<bool>{true});

    EXPECT_EQ(fs.files[kDir + "Total.tls"],
              AdminPart("-", "-", "-", "-", "2", "-") + RowOf("2", "Word", "Acme", "1", "2") +
                  RowOf("9", "tool", "Zed", "3", "1") + RowOf("2", "Calc", "Acme", "2", "1") +
                  RowOf("0", "Mail", "Acme", "1", "1") + RowOf("9", "x", "Acme", "2", "1") +
                  kHistory);
}

TEST_F(DocTotals, RefusedOrKeptNamesMergeNothing) {
    RunConsolidateCommand(doc, "first");
    const int rows = normal.RowCount();
    fs.files[kDir + "a.ipt"] += L("2", "1", "Extra", "Acme");
    messages.shown.clear();

    EXPECT_EQ(RunConsolidateCommand(doc, "..\\escape").name, NameCheck::Refused);
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{"File is Bad Path or Bad Function paramater..."});
    EXPECT_EQ(RunConsolidateCommand(doc, "first.tls").name, NameCheck::KeptExisting);
    EXPECT_EQ(normal.RowCount(), rows);
    EXPECT_EQ(util.BaseName(), "first");
    EXPECT_EQ(fs.files.count(kDir + "_tm"), 0u);
    EXPECT_EQ(fs.files[kDir + "first.tls"].find("Extra"), std::string::npos);
}

TEST_F(DocTotals, SaveAfterConsolidationThenSaveAgainKeepsTheHistory) {
    RunConsolidateCommand(doc, "total");
    // The user clears "Calc" and ticks "tool".
    ASSERT_TRUE(normal.SetCheck(1, false));
    ASSERT_TRUE(extended.SetCheck(0, true));
    util.SetWorkState(kSaved);
    ASSERT_TRUE(doc.SaveTotal());
    // The lists' own sort by rights holder decides the order. The merged rows
    // reached the lists without licence counts, so they are saved as "-"; a
    // one-byte name is not on show, so a save from the lists leaves it out.
    const std::string& total = fs.files[kDir + "total.tls"];
    EXPECT_EQ(total, AdminPart("-", "-", "-", "-", "2", "-") +
                         RowOf("2", "Word", "Acme", "1", "2", "-") +
                         RowOf("9", "Calc", "Acme", "2", "1", "-") +
                         RowOf("2", "Mail", "Acme", "1", "1", "-") +
                         RowOf("0", "tool", "Zed", "3", "1", "-") + kHistory);
    EXPECT_EQ(fs.files[kDir + "total.rst"], AdminPart("-", "-", "-", "-", "2", "-") +
                                                RowOf("2", "Word", "Acme", "1", "2", "-") +
                                                RowOf("2", "Mail", "Acme", "1", "1", "-") +
                                                RowOf("0", "tool", "Zed", "3", "1", "-"));
    const std::string first = total;
    ASSERT_TRUE(doc.SaveTotal());
    EXPECT_EQ(fs.files[kDir + "total.tls"], first);
    EXPECT_FALSE(fs.Exists(kDir + "total_tm"));
}

TEST_F(DocTotals, NothingTickedGivesAResultFileOfTheAdministrativePartOnly) {
    RunConsolidateCommand(doc, "none");
    for (int r = 0; r < normal.RowCount(); ++r)
        normal.SetCheck(r, false);
    ASSERT_TRUE(doc.SaveTotal());
    EXPECT_EQ(fs.files[kDir + "none.rst"], AdminPart("-", "-", "-", "-", "2", "-"));
}

TEST_F(DocTotals, LoadShowsTheSavedRowsAndTheReadersSeeTheFile) {
    RunConsolidateCommand(doc, "total");
    ASSERT_TRUE(doc.SaveTotal());
    const std::string saved = fs.files[kDir + "total.tls"];

    doc.SetLayoutMode(kTotalLayout);
    arrangements.clear();
    util.SetWorkState(kTotalOpened);
    ASSERT_TRUE(doc.LoadTotal());
    EXPECT_EQ(Column(normal, 3), (std::vector<std::string>{"Word", "Calc", "Mail"}));
    EXPECT_EQ(Column(extended, 3), (std::vector<std::string>{"tool"}));
    EXPECT_EQ(arrangements, std::vector<bool>{true});
    util.SetWorkState(kSaved);
    ASSERT_TRUE(doc.SaveTotal());
    EXPECT_EQ(fs.files[kDir + "total.tls"], saved); // loading and saving changes nothing

    std::vector<ResultRow> rows;
    AdminValues admin;
    ASSERT_TRUE(doc.ReadResultRows(rows, admin, 4));
    EXPECT_EQ(admin.pcCount, "2");
    ASSERT_EQ(rows.size(), 3u); // the written-result file: the ticked rows
    rows.clear();
    ASSERT_TRUE(doc.ReadResultRows(rows, admin, 3));
    EXPECT_EQ(rows.size(), 4u);
    PcHistory history;
    ASSERT_TRUE(doc.ReadPcHistory(history));
    EXPECT_EQ(history.perPcCounts, (std::vector<int>{4, 3}));
}

TEST_F(DocTotals, ThePerPcReaderReadsWhatTheScanWrote) {
    util.SetScanBaseName("ACME_PC01");
    util.SetPcFacts({"ACME", "PC01", "kim", "Intel", "2004-3-7, 10:5 "});
    FoundProgram p;
    p.Origin = "2";
    p.Class = "1";
    p.ProgramName = "Word";
    p.Company = "Acme";
    p.Folder = "C:\\W\\";
    doc.AddFoundProgram(p);
    p.Class = "3";
    p.ProgramName = kHangul;
    p.Version = "";
    doc.AddFoundProgram(p);
    ASSERT_TRUE(doc.WriteScanResults());
    PerPcFile f;
    ASSERT_TRUE(ReadPerPcFile(fs, kDir + "ACME_PC01.ipt", f));
    EXPECT_EQ(f.computerName, "PC01");
    ASSERT_EQ(f.programs.size(), 2u);
    EXPECT_EQ(f.programs[0].ProgramName, "Word");
    EXPECT_EQ(f.programs[1].ProgramName, kHangul);
    EXPECT_EQ(f.programs[1].Version, "-");
    EXPECT_EQ(f.programs[1].Folder, "C:\\W\\");
}
