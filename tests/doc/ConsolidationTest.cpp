#include "doc/Consolidation.h"
#include "Fakes.h"
#include "files/FileTexts.h"
#include "files/TotalFile.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

namespace {
const std::string kSuccessText =
    "\xBC\xBA\xB0\xF8\xC0\xFB\xC0\xB8\xB7\xCE \xC3\xEB\xC7\xD5\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4"
    "\xD9."; // 성공적으로 취합되었습니다.
const std::string kDir = ".\\CheckOut\\";
const std::string kOpenError = "file open error..!\n";
// "PC N대 중 M대를 읽었습니다."
std::string PcsRead(int n, int m) {
    return "PC " + std::to_string(n) + "\xB4\xEB \xC1\xDF " + std::to_string(m) +
           "\xB4\xEB\xB8\xA6 \xC0\xD0\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.";
}

struct RecordingSink final : TotalRowSink {
    std::vector<FoundProgram> rows;
    std::vector<std::string>* log = nullptr;
    void AddFoundProgram(const FoundProgram& p) override { rows.push_back(p); }
    void ShowArrangement() override {
        if (log)
            log->push_back("arrangement");
    }
};

struct ConsolidationFixture : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    FakeProgressFactory progress;
    CAuditUtil util{fs, messages, &progress};
    RecordingSink sink;

    ConsolidationSummary Run(const std::string& name, const std::vector<std::string>& files) {
        EXPECT_EQ(AcceptResultName(util, name), NameCheck::Accepted);
        util.SetSelectedFiles(files);
        return Consolidate(util, sink);
    }
    const std::string& Total(const std::string& base) { return fs.files[kDir + base + ".tls"]; }
};

// A per-PC list line.
std::string L(const std::string& origin, const std::string& cls, const std::string& name,
              const std::string& company, const std::string& folder,
              const std::string& version = "1.0") {
    return Line({origin, cls, "k0", "APP", "k2", name, version, "k7", company, "1", folder});
}
} // namespace

// Three PCs spell one program three ways; a duplicate of class "4"; a file
// without "[리스트]"; a missing file; a line of nine fields; a line of ten.
TEST_F(ConsolidationFixture, GoldenTotalFile) {
    fs.files[kDir + "a.ipt"] = PerPcHeader("PC-A") + L("2", "1", "Word Pro", "Acme", "C:\\W\\") +
                               L("9", "3", "tool", "Zed", "C:\\T\\", "") +
                               L("2", "4", "Word Pro", "Acme", "D:\\W\\") +
                               Line({"2", "1", "k0", "APP", "k2", "Nine", "1", "k7", "Acme"});
    fs.files[kDir + "b.ipt"] = PerPcHeader("PC-B") + L("2", "2", kHangul, kHancom, "C:\\H\\") +
                               L("2", "1", "word pro", "acme", "C:\\w\\", "2.0") +
                               Line({"9", "3", "-", "-", "-", "NoFolder", "-", "-", "Zed", "-"});
    fs.files[kDir + "c.ipt"] = PerPcHeader("PC-C") + L("2", "2", "WORD PRO", "ACME", "E:\\");
    fs.files[kDir + "e.ipt"] =
        kComputerH + "\r\nPC-E\r\n" + L("2", "1", "Unlisted", "Acme", "C:\\U\\");

    const ConsolidationSummary s = Run("Total", {"a.ipt", "b.ipt", "c.ipt", "d.ipt", "e.ipt"});

    const std::string expected =
        AdminPart("-", "-", "-", "-", "5", "-") +
        Line({"2", "APP", "k2", "k0", "Word Pro", "1.0", "3", "0", "0", "k7", "Acme", "1", "1"}) +
        Line({"9", "APP", "k2", "k0", "tool", "-", "1", "0", "0", "k7", "Zed", "1", "3"}) +
        Line({"2", "APP", "k2", "k0", kHangul, "1.0", "1", "0", "0", "k7", kHancom, "1", "2"}) +
        Line({"9", "-", "-", "-", "NoFolder", "-", "1", "0", "0", "-", "Zed", "-", "3"}) +
        "[PC_HISTORY]\r\n" + Line({"PC-A", "Acme", "Word Pro", "C:\\W\\", "A"}) +
        Line({"PC-A", "Acme", "Word Pro", "D:\\W\\", "D"}) +
        Line({"PC-A", "Zed", "tool", "C:\\T\\", "C"}) +
        Line({"PC-B", "Zed", "NoFolder", "-", "C"}) +
        Line({"PC-B", "acme", "word pro", "C:\\w\\", "A"}) +
        Line({"PC-B", kHancom, kHangul, "C:\\H\\", "B"}) +
        Line({"PC-C", "ACME", "WORD PRO", "E:\\", "B"});
    EXPECT_EQ(Total("Total"), expected);

    // Each file not read is named with its reason; no success is claimed.
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{kOpenError + "d.ipt: " + consolidation::kFileMissing,
                                        kOpenError + "e.ipt: " + consolidation::kNoListLine,
                                        std::string(consolidation::kConsolidatedIncomplete) + "\n" +
                                            PcsRead(5, 3)}));
    EXPECT_FALSE(fs.Exists(kDir + "total_tm"));
    EXPECT_FALSE(fs.Exists(kDir + "total.rst"));
    EXPECT_EQ(s.pcCount, 5);
    EXPECT_EQ(s.programs, 4u);
    EXPECT_EQ(s.installations, 6);
    EXPECT_EQ(s.historyLines, 7);
    EXPECT_EQ(s.unreadable, (std::vector<std::string>{"d.ipt", "e.ipt"}));
    EXPECT_EQ(s.pcRead, 3);
    EXPECT_EQ(s.computerNames, (std::vector<std::string>{"PC-A", "PC-B", "PC-C", "", ""}));
    EXPECT_TRUE(s.totalWritten);

    // The views get the same rows with the counts, the licence counts left empty.
    ASSERT_EQ(sink.rows.size(), 4u);
    EXPECT_EQ(sink.rows[0].ProgramName, "Word Pro");
    EXPECT_EQ(sink.rows[0].InstalledCount, "3");
    EXPECT_EQ(sink.rows[0].Folder, "C:\\W\\");
    EXPECT_EQ(sink.rows[0].Class, "1");
    EXPECT_EQ(sink.rows[0].Origin, "2");
    EXPECT_EQ(sink.rows[0].GenuineCount, "");
    EXPECT_EQ(sink.rows[0].CopyCount, "");
    EXPECT_EQ(sink.rows[3].Folder, "-");
}

TEST_F(ConsolidationFixture, HistoryOrderTiesKeepFileOrderAndPcsFollowTheSelection) {
    fs.files[kDir + "1.ipt"] = PerPcHeader("ONE") + L("9", "3", "b", "Co", "first\\") +
                               L("9", "3", "a", "Co", "x\\") + L("9", "4", "b", "Co", "dup\\") +
                               L("9", "3", "b", "Co", "second\\") + L("9", "3", "B", "Co", "up\\");
    fs.files[kDir + "2.ipt"] = PerPcHeader("TWO") + L("2", "1", "a", "Co", "y\\");
    Run("ties", {"2.ipt", "1.ipt"});
    const std::string& total = Total("ties");
    const std::string history = total.substr(total.find("[PC_HISTORY]\r\n") + 14);
    EXPECT_EQ(history,
              Line({"TWO", "Co", "a", "y\\", "A"}) + Line({"ONE", "Co", "B", "up\\", "C"}) +
                  Line({"ONE", "Co", "a", "x\\", "C"}) + Line({"ONE", "Co", "b", "first\\", "C"}) +
                  Line({"ONE", "Co", "b", "second\\", "C"}) +
                  Line({"ONE", "Co", "b", "dup\\", "D"}));
    // Rows in order of first appearance: "a" first (file 2.ipt came first), then "b".
    ASSERT_EQ(sink.rows.size(), 2u);
    EXPECT_EQ(sink.rows[0].ProgramName, "a");
    EXPECT_EQ(sink.rows[0].InstalledCount, "2");
    EXPECT_EQ(sink.rows[1].ProgramName, "b");
    EXPECT_EQ(sink.rows[1].InstalledCount, "3");
}

// Control characters in every header value and lone line breaks in list
// fields read as blanks, as the writer writes them: no column of the total's
// history (which the by-PC report prints) shifts.
TEST_F(ConsolidationFixture, ControlCharactersReadAsBlanksAndShiftNoColumn) {
    const std::string header = kComputerH + "\r\nPC\tTAB\rX\r\n" + kUserH + "\r\nk\tim\r\n" +
                               kModelH + "\r\nIn\ntel\r\n" + kTimeH + "\r\n2004\t3\r\n" + kGroupH +
                               "\r\nAc\rme\r\n" + kListH + "\r\n";
    fs.files[kDir + "c.ipt"] = header + L("2", "1", "Wo\rrd", "C\no", "C:\\P\\\r");
    Run("ctl", {"c.ipt"});
    PcHistory history;
    ParsePcHistory(Total("ctl"), history);
    ASSERT_EQ(history.lines.size(), 1u);
    EXPECT_EQ(history.lines[0], (PcHistoryLine{"PC TAB X", "C o", "Wo rd", "C:\\P\\ ", "A"}));
    ASSERT_EQ(sink.rows.size(), 1u);
    EXPECT_EQ(sink.rows[0].ProgramName, "Wo rd");
    EXPECT_EQ(sink.rows[0].Company, "C o");
}

TEST_F(ConsolidationFixture, LetterCaseFoldsOnlyOutsideDoubleByteCharacters) {
    // "\xB0\x61" and "\xB0\x41" are two different double-byte characters whose
    // trail bytes happen to be the letters a and A: not the same program.
    fs.files[kDir + "k.ipt"] = PerPcHeader("K") + L("2", "1", "\xB0\x61x", "Co", "1\\") +
                               L("2", "1", "\xB0\x41X", "Co", "2\\") +
                               L("2", "1", "\xB0\x61X", "Co", "3\\");
    Run("dbcs", {"k.ipt"});
    ASSERT_EQ(sink.rows.size(), 2u);
    EXPECT_EQ(sink.rows[0].ProgramName, "\xB0\x61x");
    EXPECT_EQ(sink.rows[0].InstalledCount, "2");
    EXPECT_EQ(sink.rows[1].InstalledCount, "1");
}

TEST_F(ConsolidationFixture, StaleScratchFileDoesNotLeakIntoTheTotal) {
    fs.files[kDir + "stale_tm"] = Line({"OLD-PC", "Co", "left over", "C:\\", "A"});
    fs.files[kDir + "a.ipt"] = PerPcHeader("NEW") + L("2", "1", "p", "Co", "C:\\");
    Run("stale", {"a.ipt"});
    const std::string& total = Total("stale");
    EXPECT_EQ(total.find("OLD-PC"), std::string::npos);
    EXPECT_EQ(total.substr(total.find("[PC_HISTORY]\r\n") + 14),
              Line({"NEW", "Co", "p", "C:\\", "A"}));
    // It may be another run's, going on elsewhere: it stays, and nothing of
    // this run's is left beside the total but the total and its candidates.
    EXPECT_EQ(fs.files[kDir + "stale_tm"], Line({"OLD-PC", "Co", "left over", "C:\\", "A"}));
    EXPECT_EQ(fs.files.size(), 4u);
    EXPECT_EQ(fs.files.count(kDir + "stale.cand"), 1u);
}

TEST_F(ConsolidationFixture, EveryFileMissingStillCountsAndWritesAnEmptyHistory) {
    const ConsolidationSummary s = Run("none", {"x.ipt", "y.ipt", "z.ipt"});
    EXPECT_EQ(Total("none"), AdminPart("-", "-", "-", "-", "3", "-") + "[PC_HISTORY]\r\n");
    EXPECT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown.back(),
              std::string(consolidation::kConsolidatedIncomplete) + "\n" + PcsRead(3, 0));
    EXPECT_EQ(s.unreadable.size(), 3u);
    EXPECT_TRUE(sink.rows.empty());
}

// Files that are not per-PC files are named with their reason and add no
// programs, yet count as PCs; only a whole merge says it succeeded.
TEST_F(ConsolidationFixture, FilesThatAreNoPerPcFilesAreNamedAndNotRead) {
    const std::string list = L("2", "1", "p", "Co", "C:\\");
    std::string lfOnly = PerPcHeader("LF") + list;
    for (std::size_t at; (at = lfOnly.find("\r\n")) != std::string::npos;)
        lfOnly.replace(at, 2, "\n");
    fs.files[kDir + "ok.ipt"] = PerPcHeader("OK") + list;
    fs.files[kDir + "empty.ipt"] = "";
    fs.files[kDir + "lf.ipt"] = lfOnly;
    // The headers in UTF-8: "[컴퓨터명]" ... "[리스트]".
    fs.files[kDir + "utf8.ipt"] = "[\xEC\xBB\xB4\xED\x93\xA8\xED\x84\xB0\xEB\xAA\x85]\r\nU\r\n"
                                  "[\xEB\xA6\xAC\xEC\x8A\xA4\xED\x8A\xB8]\r\n" +
                                  list;
    fs.files[kDir + "t.ipt"] = AdminPart("-", "-", "-", "-", "1", "-") + list + "[PC_HISTORY]\r\n";
    fs.directories.insert(kDir + "dir.ipt");
    const struct {
        std::string name;
        const char* reason;
    } cases[] = {{"empty.ipt", consolidation::kNoListLine},
                 {"lf.ipt", consolidation::kNoListLine},
                 {"utf8.ipt", consolidation::kNoListLine},
                 {"t.ipt", consolidation::kTotalNotPerPc},
                 {"dir.ipt", consolidation::kFileMissing},
                 {"..\\ok.ipt", consolidation::kNotWorkFolderName}};
    std::vector<std::string> names{"ok.ipt"};
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        names.push_back(c.name);
        expected.push_back(kOpenError + c.name + ": " + c.reason);
    }
    expected.push_back(std::string(consolidation::kConsolidatedIncomplete) + "\n" + PcsRead(7, 1));
    const ConsolidationSummary s = Run("mixed", names);
    EXPECT_EQ(messages.shown, expected);
    EXPECT_EQ(s.pcCount, 7);
    EXPECT_EQ(s.pcRead, 1);
    EXPECT_EQ(s.installations, 1);
    EXPECT_NE(Total("mixed").find("[PC\xBC\xF6\xB7\xAE]\r\n7\r\n"), std::string::npos);

    messages.shown.clear();
    Run("whole", {"ok.ipt", "ok.ipt"});
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{std::string(kSuccessText) + "\n" + PcsRead(2, 2)});
}

TEST_F(ConsolidationFixture, LongHistoryIsCopiedWhole) {
    // Over two copy blocks of history, byte for byte.
    std::string list, history;
    for (int i = 0; i < 9000; ++i) {
        const std::string folder = "C:\\Program Files\\Vendor\\Product " + std::to_string(i) +
                                   "\\" + std::string(200, 'x') + "\\";
        char name[16];
        std::snprintf(name, sizeof name, "P%05d", i);
        list += L("2", "1", name, "Co", folder);
        history += Line({"BIG", "Co", name, folder, "A"});
    }
    fs.files[kDir + "big.ipt"] = PerPcHeader("BIG") + list;
    ASSERT_GT(history.size(), 2u << 20);
    const ConsolidationSummary s = Run("big", {"big.ipt"});
    const std::string& total = Total("big");
    EXPECT_EQ(total.substr(total.find("[PC_HISTORY]\r\n") + 14), history);
    EXPECT_EQ(s.programs, 9000u);
}

TEST_F(ConsolidationFixture, ProgressStepsAroundTheArrangement) {
    fs.files[kDir + "a.ipt"] = PerPcHeader("A");
    sink.log = &progress.log;
    util.ShowProgress("bar");
    Run("steps", {"a.ipt"});
    util.SetWorkState(kConsolidated);
    util.ShowProgress("bar");
    Run("steps2", {"a.ipt"});
    // The arrangement is picked only in the states of an opened or merged total.
    EXPECT_EQ(progress.log,
              (std::vector<std::string>{"create bar", "stepit", "stepit", "stepit", "stepit",
                                        "stepit", "stepit", "stepit", "stepit", "create bar",
                                        "stepit", "stepit", "stepit", "stepit", "stepit",
                                        "arrangement", "stepit", "stepit", "stepit"}));
}

TEST_F(ConsolidationFixture, ScratchFileThatCannotBeWrittenKeepsTheEarlierTotal) {
    fs.files[kDir + "a.ipt"] = PerPcHeader("A") + L("2", "1", "p", "Co", "C:\\");
    fs.files[kDir + "b.ipt"] = PerPcHeader("B") + L("2", "1", "p", "Co", "C:\\");
    fs.unwritable.insert(kDir + "w_tm");
    const ConsolidationSummary s = Run("w", {"a.ipt", "b.ipt"});
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{"Write File Open Error...!!", "Write File Open Error...!!",
                                        "file open error..!"}));
    // A total without its PCs' history is no total: none is written.
    EXPECT_FALSE(fs.Exists(kDir + "w.tls"));
    EXPECT_FALSE(s.totalWritten);
}

TEST_F(ConsolidationFixture, TotalThatCannotBeWrittenIsNotReportedAsDone) {
    fs.files[kDir + "a.ipt"] = PerPcHeader("A") + L("2", "1", "p", "Co", "C:\\");
    fs.files[kDir + "locked.tls"] = "earlier total";
    messages.answers.push_back(true); // merge into it
    fs.unwritable.insert(kDir + "locked.tls.new");
    ConsolidationSummary s = Run("locked", {"a.ipt"});
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Write File Open Error...!!"});
    EXPECT_FALSE(s.totalWritten);
    EXPECT_EQ(sink.rows.size(), 1u); // the views still show the merged rows
    EXPECT_EQ(fs.files[kDir + "locked.tls"], "earlier total");

    messages.shown.clear();
    fs.unwritable.clear();
    fs.failingWrites.insert(kDir + "full.tls.new");
    s = Run("full", {"a.ipt"});
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Write File Open Error...!!"});
    EXPECT_FALSE(s.totalWritten);
    EXPECT_FALSE(fs.Exists(kDir + "full.tls")); // no half-written total is left
    EXPECT_FALSE(fs.Exists(kDir + "full.tls.new"));
}

TEST_F(ConsolidationFixture, TypedNamesAndTheOverwriteQuestion) {
    fs.files[kDir + "a.ipt"] = PerPcHeader("A") + L("2", "1", "p", "Co", "C:\\");
    ASSERT_EQ(AcceptResultName(util, "First"), NameCheck::Accepted);
    EXPECT_EQ(util.BaseName(), "First");
    EXPECT_EQ(util.TotalFileName(), "First.tls");
    EXPECT_EQ(util.ResultFileName(), "First.rst");
    EXPECT_TRUE(messages.asked.empty());

    // A refused name leaves the names alone: nothing may merge into "First".
    EXPECT_EQ(AcceptResultName(util, "sub\\name"), NameCheck::Refused);
    EXPECT_EQ(messages.shown.back(), "File is Bad Path or Bad Function paramater...");
    EXPECT_EQ(util.BaseName(), "First");

    // An existing total: asked first; No keeps it and every name.
    fs.files[kDir + "old.tls"] = "precious";
    EXPECT_EQ(AcceptResultName(util, "old.tls"), NameCheck::KeptExisting);
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0], "\xB0\xB0\xC0\xBA \xC0\xCC\xB8\xA7\xC0\xC7 \xC6\xC4\xC0\xCF\xC0"
                                 "\xCC \xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.\n \xB5\xA4\xBE\xEE\xBE"
                                 "\xB2\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE..?");
    EXPECT_EQ(util.BaseName(), "First");
    EXPECT_EQ(fs.files[kDir + "old.tls"], "precious");

    messages.answers.push_back(true);
    EXPECT_EQ(AcceptResultName(util, "old"), NameCheck::Accepted);
    EXPECT_EQ(util.BaseName(), "old");
    util.SetSelectedFiles({"a.ipt"});
    Consolidate(util, sink);
    EXPECT_NE(fs.files[kDir + "old.tls"], "precious");
}

// A new consolidation of a total whose result was written makes that result
// another total's: it goes aside under a dated name, and the message says
// where. Another writer holding the total stops the merge with nothing changed.
TEST_F(ConsolidationFixture, OverwritingMovesTheWrittenResultAsideAndHeldTotalsStayAsTheyAre) {
    fs.files[kDir + "a.ipt"] = PerPcHeader("A") + L("2", "1", "p", "Co", "C:\\");
    fs.files[kDir + "t.tls"] = "earlier total";
    fs.files[kDir + "t.rst"] = "earlier result";
    messages.answers.push_back(true);
    EXPECT_TRUE(Run("t", {"a.ipt"}).totalWritten);
    EXPECT_FALSE(fs.Exists(kDir + "t.rst"));
    const std::string aside = kDir + "t_00000000000000.rst"; // the fake clock's time
    EXPECT_EQ(fs.files[aside], "earlier result");
    EXPECT_EQ(messages.shown.back(), kSuccessText + "\n" + consolidation::PcsReadLine(1, 1) + "\n" +
                                         consolidation::kResultMovedAside + aside);

    fs.files[kDir + "t.tls.lock"] = "held";
    messages.answers.push_back(true);
    const std::string before = Total("t");
    EXPECT_FALSE(Run("t", {"a.ipt", "a.ipt"}).totalWritten);
    EXPECT_TRUE(util.HeldByOther());
    EXPECT_EQ(Total("t"), before);
    EXPECT_TRUE(sink.rows.size() == 1u); // the lists were not restarted
}

// The candidates files of the PCs read are gathered beside the total: a PC
// without one adds none, one that cannot be read is named in the closing
// message, and one beside a per-PC file that was not read is not used.
TEST_F(ConsolidationFixture, CandidatesOfThePcsAreGatheredBesideTheTotal) {
    const std::string cand =
        Line({"-", "-", "-", "Tool", "1.0", "T.EXE", "10", "-", "Co", "-", "C:\\T\\"});
    fs.files[kDir + "a.ipt"] = PerPcHeader("A") + L("9", "3", "Tool", "Co", "C:\\T\\");
    fs.files[kDir + "a.cand"] = cand + "bad line\r\n";
    fs.files[kDir + "b.ipt"] = PerPcHeader("B") + L("9", "3", "Tool", "Co", "D:\\T\\");
    fs.files[kDir + "c.ipt"] = PerPcHeader("C");
    fs.links.insert(kDir + "c.cand"); // there, but not a file to read
    fs.files[kDir + "e.ipt"] = "no per-PC file";
    fs.files[kDir + "e.cand"] = cand;
    const ConsolidationSummary s = Run("T", {"a.ipt", "b.ipt", "c.ipt", "e.ipt"});
    EXPECT_TRUE(s.totalWritten);
    EXPECT_EQ(s.candidates, 1u);
    EXPECT_EQ(s.candidatePcs, 1);
    EXPECT_EQ(s.candidatesUnread, std::vector<std::string>{"c.ipt"});
    EXPECT_EQ(fs.files[kDir + "T.cand"],
              Line({"-", "-", "-", "Tool", "1.0", "T.EXE", "10", "-", "Co", "-", "C:\\T\\", "1"}));
    EXPECT_NE(messages.shown.back().find(kDir + "c.cand"), std::string::npos);

    // Without any candidates file the total's is empty, and says nothing.
    const ConsolidationSummary none = Run("U", {"b.ipt"});
    EXPECT_TRUE(none.candidatesUnread.empty());
    EXPECT_EQ(fs.files.at(kDir + "U.cand"), "");
}
