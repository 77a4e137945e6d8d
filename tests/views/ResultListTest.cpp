#include "views/ResultList.h"
#include "Fakes.h"

#include <gtest/gtest.h>

using namespace ostravion;
using ostravion::test::FakeFileDates;
using ostravion::test::MemoryFileSystem;
using ostravion::test::RecordingMessages;

namespace {

FoundProgram Program(const std::string& company, const std::string& name,
                     const std::string& cls = "1", const std::string& origin = "2") {
    FoundProgram p;
    p.Origin = origin;
    p.Class = cls;
    p.Company = company;
    p.ProgramName = name;
    p.Version = "1.0";
    p.Folder = "C:\\APP\\";
    p.FileName = name + ".EXE";
    return p;
}

struct Events final : ListObserver {
    std::vector<std::string> log;
    void ColumnsChanged(const CResultList&) override { log.push_back("columns"); }
    void RowsCleared(const CResultList&) override { log.push_back("cleared"); }
    void RowAdded(const CResultList&, int row) override {
        log.push_back("added " + std::to_string(row));
    }
    void RowsMoved(const CResultList&) override { log.push_back("moved"); }
    void CheckChanged(const CResultList&, int row) override {
        log.push_back("check " + std::to_string(row));
    }
    void WorkEdited(const CResultList&) override { log.push_back("edited"); }
};

struct ListFixture : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    CAuditUtil util{fs, messages};
    FakeFileDates dates;
    COstravionView list{util, &dates};

    void TotalLayout() {
        util.SetLayoutFlag(kTotalLayout);
        list.RemoveColumns();
        list.BuildColumns();
    }
    // The row numbers (column 0, as numbers) from top to bottom.
    std::vector<int> Order() const {
        std::vector<int> out;
        for (int r = 0; r < list.RowCount(); ++r)
            out.push_back(std::stoi(list.ItemText(r, 0)));
        return out;
    }
    void AddCompanies(const std::vector<std::string>& companies) {
        int i = 0;
        for (const auto& c : companies)
            list.AddFoundProgram(Program(c, "Prog" + std::to_string(++i)));
    }
};

} // namespace

TEST_F(ListFixture, ColumnsOfTheTwoLayouts) {
    list.BuildColumns();
    ASSERT_EQ(list.ColumnCount(), 7);
    EXPECT_EQ(list.Column(0).caption, "\xBC\xF8\xB9\xF8"); // 순번
    EXPECT_EQ(list.Column(0).width, 60);
    EXPECT_EQ(list.Column(5).caption, "\xB8\xB8\xB5\xE7\xB3\xAF\xC2\xA5"); // 만든날짜
    EXPECT_EQ(list.Column(6).caption, "\xC6\xC4\xC0\xCF\xB0\xE6\xB7\xCE"); // 파일경로
    EXPECT_EQ(list.Column(6).width, 300);
    EXPECT_FALSE(list.HasCheckBoxes());

    // Build again does nothing: the flag changes only with Remove + Build.
    util.SetLayoutFlag(kTotalLayout);
    list.BuildColumns();
    EXPECT_EQ(list.ColumnCount(), 7);
    list.RemoveColumns();
    EXPECT_FALSE(list.HasColumns());
    EXPECT_EQ(list.ColumnCount(), 0);
    list.BuildColumns();
    ASSERT_EQ(list.ColumnCount(), 6);
    EXPECT_EQ(list.Column(5).caption, "\xBC\xB3\xC4\xA1\xB0\xB9\xBC\xF6"); // 설치갯수
    EXPECT_EQ(list.Column(2).width, 150);
    EXPECT_EQ(list.Column(3).width, 200);
    EXPECT_TRUE(list.HasCheckBoxes());
}

TEST_F(ListFixture, ScanRowsShowSlotsAsTheyAreAndStoreDashes) {
    dates.dates["C:\\APP\\Word.EXE"] = {2004, 3, 7, 10, 5};
    list.BuildColumns();
    FoundProgram p = Program("Acme", "Word");
    p.Version = "";
    p.FileSize = "1234";
    list.AddFoundProgram(p);
    list.AddFoundProgram(Program("Beta", "Gone")); // no date: the file cannot be examined

    EXPECT_EQ(list.ItemText(0, 0), "  1");
    EXPECT_EQ(list.ItemText(0, 1), "1");
    EXPECT_EQ(list.ItemText(0, 2), "Acme");
    EXPECT_EQ(list.ItemText(0, 3), "Word");
    EXPECT_EQ(list.ItemText(0, 4), ""); // the cell takes the slot as it is
    EXPECT_EQ(list.ItemText(0, 5), "2004-03-07");
    EXPECT_EQ(list.ItemText(0, 6), "C:\\APP\\");
    EXPECT_EQ(list.ItemText(1, 0), "  2");
    EXPECT_EQ(list.ItemText(1, 5), "");
    EXPECT_EQ(list.ItemText(1, 7), "");
    EXPECT_EQ(list.ItemText(2, 0), "");
    EXPECT_EQ(list.GetCheck(0), -1);

    ASSERT_EQ(list.StoredCount(), 2u);
    const FoundProgram& s = list.Stored(0);
    EXPECT_EQ(s.Version, "-");
    EXPECT_EQ(s.KeyColumn0, "-");
    EXPECT_EQ(s.InstalledCount, "-");
    EXPECT_EQ(s.Company, "Acme");
    EXPECT_EQ(s.FileName, "Word.EXE"); // kept for the candidates file, as found
    EXPECT_EQ(s.FileSize, "1234");
}

TEST_F(ListFixture, TotalRowsShowTheInstalledCountAndTickByOrigin) {
    TotalLayout();
    FoundProgram a = Program("Acme", "Word", "1", "2");
    a.InstalledCount = "7";
    list.AddFoundProgram(a);
    list.AddFoundProgram(Program("Acme", "Calc", "1", "0"));
    list.AddFoundProgram(Program("Acme", "Game", "2", "9"));
    EXPECT_EQ(list.ItemText(0, 5), "7");
    EXPECT_EQ(list.ItemText(0, 6), "");
    EXPECT_EQ(list.GetCheck(0), 1);
    EXPECT_EQ(list.GetCheck(1), 1);
    EXPECT_EQ(list.GetCheck(2), 0);
    EXPECT_EQ(list.GetCheck(3), -1);
}

TEST_F(ListFixture, ClearKeepsColumnsAndRestartsNumbering) {
    AddCompanies({"A", "B"});
    list.ColumnClicked(2);
    EXPECT_EQ(list.SortFlag(), 1);
    list.Clear();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(list.StoredCount(), 0u);
    EXPECT_EQ(list.ColumnCount(), 7);
    EXPECT_EQ(list.SortFlag(), 0);
    list.AddFoundProgram(Program("C", "Prog"));
    EXPECT_EQ(list.ItemText(0, 0), "  1");
    EXPECT_EQ(list.StoredForRow(0)->Company, "C");
}

// Hand-worked: pivot "B" (row 3); rows 1 and 5 are equal and stay; rows 3 and
// 4 swap; then [B1 A2 A4] with pivot "A" swaps rows 1 and 4; [B3 B5] stays.
TEST_F(ListFixture, SortAscendingLeavesEqualKeysWhereTheQuicksortPutsThem) {
    AddCompanies({"B", "A", "B", "A", "B"});
    list.SortByColumn(2, true);
    EXPECT_EQ(Order(), (std::vector<int>{4, 2, 1, 3, 5}));
}

// Hand-worked: pivot "B"; rows 2 and 3 swap; then [B1 B3] stays and
// [A2 A4 B5] with pivot "A" swaps rows 2 and 5.
TEST_F(ListFixture, SortDescendingLeavesEqualKeysWhereTheQuicksortPutsThem) {
    AddCompanies({"B", "A", "B", "A", "B"});
    list.SortByColumn(2, false);
    EXPECT_EQ(Order(), (std::vector<int>{1, 3, 5, 4, 2}));
}

TEST_F(ListFixture, SortOfThreeEqualRightsHoldersAmongOthers) {
    AddCompanies({"Beta", "Acme", "Acme", "Zeta", "Acme", "Beta"});
    list.SortByColumn(2, true);
    EXPECT_EQ(Order(), (std::vector<int>{5, 2, 3, 6, 1, 4}));
    // Every row still finds its own stored program.
    for (int r = 0; r < list.RowCount(); ++r)
        EXPECT_EQ(list.StoredForRow(r)->Company, list.ItemText(r, 2));
}

TEST_F(ListFixture, SortComparesCaseSensitivelyInCharacterCodeOrder) {
    // Upper case before lower case, ASCII before Hangul.
    AddCompanies({"\xB0\xA1", "acme", "Zeta", "Acme"});
    list.SortByColumn(2, true);
    EXPECT_EQ(list.ItemText(0, 2), "Acme");
    EXPECT_EQ(list.ItemText(1, 2), "Zeta");
    EXPECT_EQ(list.ItemText(2, 2), "acme");
    EXPECT_EQ(list.ItemText(3, 2), "\xB0\xA1");
}

TEST_F(ListFixture, RowNumbersSortAsTextAndFindTheirProgramsPastRow999) {
    for (int i = 0; i < 1000; ++i)
        list.AddFoundProgram(Program("C" + std::to_string(i), "Prog"));
    EXPECT_EQ(list.ItemText(999, 0), "1000");
    list.SortByColumn(0, true);
    // Padded numbers sort in numeric order; "1000" falls between "100" and "101".
    EXPECT_EQ(list.ItemText(0, 0), "  1");
    EXPECT_EQ(list.ItemText(99, 0), "100");
    EXPECT_EQ(list.ItemText(100, 0), "1000");
    EXPECT_EQ(list.ItemText(101, 0), "101");
    EXPECT_EQ(list.StoredForRow(100)->Company, "C999");
}

TEST_F(ListFixture, CheckStatesMoveWithTheirRows) {
    TotalLayout();
    list.AddFoundProgram(Program("B", "P1", "1", "9"));
    list.AddFoundProgram(Program("A", "P2", "1", "2"));
    list.SortByColumn(2, true);
    EXPECT_EQ(list.ItemText(0, 2), "A");
    EXPECT_EQ(list.GetCheck(0), 1);
    EXPECT_EQ(list.GetCheck(1), 0);
}

TEST_F(ListFixture, HeaderClicksShareOneDirectionFlag) {
    Events events;
    list.AddObserver(&events);
    list.ColumnClicked(2); // empty list: only the flag flips
    EXPECT_EQ(list.SortFlag(), 1);
    list.ColumnClicked(3);
    EXPECT_EQ(list.SortFlag(), 0);
    AddCompanies({"A", "C", "B"});
    list.ColumnClicked(2); // ascending
    EXPECT_EQ(list.ItemText(0, 2), "A");
    list.ColumnClicked(3); // descending, on another column
    EXPECT_EQ(list.ItemText(0, 3), "Prog3");
    // A column beyond the header sorts nothing but still flips the flag.
    list.ColumnClicked(9);
    EXPECT_EQ(list.SortFlag(), 1);
    EXPECT_EQ(list.ItemText(0, 3), "Prog3");
    list.RemoveObserver(&events);
}

TEST_F(ListFixture, NewRowsGoToTheEndAfterASort) {
    AddCompanies({"B", "A"});
    list.SortByColumn(2, true);
    list.AddFoundProgram(Program("0", "Prog3"));
    EXPECT_EQ(Order(), (std::vector<int>{2, 1, 3}));
}

TEST_F(ListFixture, EveryChangeOfABoxMarksAShownTotalEdited) {
    Events events;
    list.AddObserver(&events);
    TotalLayout();
    list.AddFoundProgram(Program("A", "P1", "1", "2"));
    list.AddFoundProgram(Program("B", "P2", "1", "2"));
    // By click, by key (no click recorded) and on a row other than the one
    // last clicked, whatever command ran last (a cancelled start dialog, an
    // edit already marked): the state becomes 7 and the window hears of it.
    const int states[] = {kIdle,    kTotalOpened, kConsolidated, kWritingResult,  kSaved,
                          kSavedAs, kEdited,      kPrinted,      kStartDialogOpen};
    for (int state : states) {
        util.SetWorkState(state);
        list.CheckToggled(0);
        EXPECT_EQ(util.GetWorkState(), kEdited) << state;
        util.SetWorkState(state);
        list.SetCheck(1, list.GetCheck(1) == 0);
        EXPECT_EQ(util.GetWorkState(), kEdited) << state;
    }
    util.SetWorkState(kScanning);
    list.CheckToggled(0);
    EXPECT_EQ(util.GetWorkState(), kScanning);
    EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "edited"), 2 * std::size(states));
    list.RemoveObserver(&events);
    // A scan row has no box.
    util.SetLayoutFlag(kScanLayout);
    list.RemoveColumns();
    list.BuildColumns();
    list.AddFoundProgram(Program("A", "P1"));
    EXPECT_FALSE(list.SetCheck(0, true));
}

TEST_F(ListFixture, DoubleClickOpensTheRowsFolderInTheScanLayoutOnly) {
    list.AddFoundProgram(Program("B", "P1"));
    FoundProgram p = Program("A", "P2");
    p.Folder = "D:\\GAMES\\";
    list.AddFoundProgram(p);
    list.SortByColumn(2, true);
    EXPECT_EQ(list.DoubleClicked(0), "D:\\GAMES\\");
    EXPECT_EQ(list.DoubleClicked(-1), "");
    TotalLayout();
    list.AddFoundProgram(Program("A", "P1"));
    EXPECT_EQ(list.DoubleClicked(0), "");
}

TEST_F(ListFixture, ObserversFollowEveryChange) {
    Events events;
    list.AddObserver(&events);
    list.BuildColumns();
    list.AddFoundProgram(Program("B", "P1"));
    list.AddFoundProgram(Program("A", "P2"));
    list.SortByColumn(2, true);
    list.SortByColumn(8, true); // no such column: no change
    list.Clear();
    list.RemoveColumns();
    EXPECT_EQ(events.log, (std::vector<std::string>{"columns", "added 0", "added 1", "moved",
                                                    "cleared", "columns"}));
    list.RemoveObserver(&events);
}

TEST_F(ListFixture, NameIndexFoldsLetterCaseAndKeepsTheLeastClass) {
    list.AddFoundProgram(Program("A", "Word\xB0\xA1", "2"));
    list.AddFoundProgram(Program("A", "WORD\xB0\xA1", "1"));
    EXPECT_TRUE(list.HasNameWithClassAtMost("word\xB0\xA1", "1"));
    EXPECT_TRUE(list.HasNameWithClassAtMost("word\xB0\xA1", "2"));
    EXPECT_FALSE(list.HasNameWithClassAtMost("words", "2"));
    // Trail bytes that look like letters are part of a Hangul character and
    // are not folded.
    list.AddFoundProgram(Program("A", "\xB1\x41", "1"));
    EXPECT_FALSE(list.HasNameWithClassAtMost("\xB1\x61", "3"));
}
