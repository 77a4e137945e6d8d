#include "doc/TotalSave.h"
#include "Fakes.h"
#include "doc/ResultWriting.h"
#include "files/FileTexts.h"
#include "files/TotalFile.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

namespace {
const std::string kSavedText = "\xC0\xFA\xC0\xE5\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.";
const std::string kTls = ".\\CheckOut\\audit.tls";
const std::string kRst = ".\\CheckOut\\audit.rst";
const std::string kBackup = ".\\CheckOut\\audit_tm";

// A list held in memory; its sort orders by rights holder and keeps ties.
struct FakeList final : SaveList {
    std::vector<std::pair<FoundProgram, bool>> rows;
    int sorts = 0;
    void SortByCompany() override {
        ++sorts;
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return a.first.Company < b.first.Company;
        });
    }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    const FoundProgram* Program(int row) const override { return &rows[row].first; }
    bool Ticked(int row) const override { return rows[row].second; }
    void Add(const FoundProgram& p, bool ticked) { rows.push_back({p, ticked}); }
};

struct RecordingSink final : TotalRowSink {
    std::vector<std::string> log;
    std::vector<FoundProgram> rows;
    void RestartLists() override { log.push_back("restart"); }
    void AddFoundProgram(const FoundProgram& p) override {
        rows.push_back(p);
        log.push_back("add " + p.ProgramName);
    }
    void ShowArrangement() override { log.push_back("arrangement"); }
};

FoundProgram Program(const std::string& origin, const std::string& name, const std::string& company,
                     const std::string& cls, const std::string& installed = "1") {
    FoundProgram p;
    p.Origin = origin;
    p.Kind = "APP";
    p.KeyColumn2 = "k2";
    p.KeyColumn0 = "k0";
    p.ProgramName = name;
    p.Version = "1.0";
    p.InstalledCount = installed;
    p.GenuineCount = "0";
    p.CopyCount = "0";
    p.KeyColumn7 = "k7";
    p.Company = company;
    p.DomesticCode = "1";
    p.Class = cls;
    return p;
}

std::string RowOf(const std::string& flag, const std::string& name, const std::string& company,
                  const std::string& cls, const std::string& installed = "1") {
    return Line(
        {flag, "APP", "k2", "k0", name, "1.0", installed, "0", "0", "k7", company, "1", cls});
}

const std::string kHistory = "[PC_HISTORY]\r\n" + Line({"PC-A", "Acme", "Word", "C:\\W\\", "A"}) +
                             Line({"PC-B", kHancom, kHangul, "C:\\H\\", "C"});
const std::string kAdmin = AdminPart("Audit", "Kim", "IT", "Lee", "2", "one#r#ntwo");

struct SaveFixture : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    FakeProgressFactory progress;
    CAuditUtil util{fs, messages, &progress};
    FakeList normal, extended;

    void SetUp() override {
        ASSERT_TRUE(util.SetResultNames("audit", CAuditUtil::NameForm::Name));
        util.SetWorkState(kSaved);
        fs.files[kTls] = kAdmin + RowOf("2", "Word", "Acme", "1", "2") + kHistory;
        normal.Add(Program("2", "Zeta", "Zed", "1"), true);
        normal.Add(Program("2", "Word", "Acme", "1", "2"), true);
        normal.Add(Program("2", "Calc", "Acme", "2"), true);
        normal.Add(Program("2", "Mail", "Acme", "1"), false);
        extended.Add(Program("9", kHangul, kHancom, "3"), true);
        extended.Add(Program("9", "tool", "Zed", "3"), false);
    }
};
} // namespace

TEST_F(SaveFixture, GoldenSaveOfBothListsWithTheHistoryCarriedThrough) {
    ASSERT_TRUE(SaveTotal(util, normal, extended));
    // Each list in its sorted order (rights holder, bytes unsigned), normal first.
    EXPECT_EQ(fs.files[kTls],
              kAdmin + RowOf("2", "Word", "Acme", "1", "2") + RowOf("0", "Calc", "Acme", "2") +
                  RowOf("9", "Mail", "Acme", "1") + RowOf("2", "Zeta", "Zed", "1") +
                  RowOf("9", "tool", "Zed", "3") + RowOf("0", kHangul, kHancom, "3") + kHistory);
    EXPECT_EQ(fs.files[kRst], kAdmin + RowOf("2", "Word", "Acme", "1", "2") +
                                  RowOf("0", "Calc", "Acme", "2") + RowOf("2", "Zeta", "Zed", "1") +
                                  RowOf("0", kHangul, kHancom, "3"));
    EXPECT_FALSE(fs.Exists(kBackup));
    EXPECT_EQ(messages.shown, std::vector<std::string>{kSavedText});
    EXPECT_EQ(normal.sorts, 1);
    EXPECT_EQ(extended.sorts, 1);
    EXPECT_EQ(std::count(progress.log.begin(), progress.log.end(), "stepit"), 0); // no bar shown
}

TEST_F(SaveFixture, SourceWithoutHistoryGivesADashLine) {
    fs.files[kTls] = "[PC_HISTORY]\r\n" + kAdmin; // a marker at the very start does not count
    ASSERT_TRUE(SaveTotal(util, normal, extended));
    const std::string& total = fs.files[kTls];
    EXPECT_EQ(total.substr(total.size() - 17), "[PC_HISTORY]\r\n-\r\n");
    EXPECT_EQ(total.substr(0, kAdmin.size()), kAdmin); // the values still read
}

TEST_F(SaveFixture, FailedWritersPutThePreviousTotalBack) {
    const std::string before = fs.files[kTls];
    fs.files[kRst] = "earlier result";
    fs.unwritable.insert(kTls + ".new");
    EXPECT_FALSE(SaveTotal(util, normal, extended));
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Write File Open Error...!!"});
    EXPECT_EQ(fs.files[kTls], before);
    EXPECT_EQ(fs.files[kRst], "earlier result"); // not made anew when the total cannot be
    EXPECT_FALSE(fs.Exists(kBackup));

    // A write that fails part way, in the extended list's writer.
    fs.unwritable.clear();
    messages.shown.clear();
    fs.failingWrites.insert(kRst + ".new");
    EXPECT_FALSE(SaveTotal(util, normal, extended));
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Write File Open Error...!!"});
    EXPECT_EQ(fs.files[kTls], before);
    EXPECT_EQ(fs.files[kRst], "earlier result");
    EXPECT_FALSE(fs.Exists(kTls + ".new"));
    EXPECT_FALSE(fs.Exists(kRst + ".new"));
}

TEST_F(SaveFixture, MissingTotalIsReportedAndNothingIsWritten) {
    fs.files.erase(kTls);
    EXPECT_FALSE(SaveTotal(util, normal, extended));
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Result File Open Error..."});
    EXPECT_FALSE(fs.Exists(kTls));
    EXPECT_FALSE(fs.Exists(kRst));
}

TEST_F(SaveFixture, SaveUnderANewNameReadsTheRecordedPath) {
    util.SetWorkState(kSavedAs);
    util.SetPreviousTotalPath(kTls);
    ASSERT_TRUE(util.SetResultNames(".\\CheckOut\\copy.tls", CAuditUtil::NameForm::Path));
    const std::string before = fs.files[kTls];
    ASSERT_TRUE(SaveTotal(util, normal, extended));
    EXPECT_EQ(fs.files[kTls], before);
    const std::string& copy = fs.files[".\\CheckOut\\copy.tls"];
    EXPECT_EQ(copy.substr(0, kAdmin.size()), kAdmin);
    EXPECT_EQ(copy.substr(copy.find("[PC_HISTORY]")), kHistory);
    EXPECT_TRUE(fs.Exists(".\\CheckOut\\copy.rst"));
    EXPECT_FALSE(fs.Exists(kBackup));

    // Onto the file it came from: the history is still there.
    util.SetPreviousTotalPath(".\\CheckOut\\copy.tls");
    ASSERT_TRUE(SaveTotal(util, normal, extended));
    const std::string& again = fs.files[".\\CheckOut\\copy.tls"];
    EXPECT_EQ(again.substr(again.find("[PC_HISTORY]")), kHistory);
}

TEST_F(SaveFixture, LoadFillsTheListsAndPicksTheArrangement) {
    fs.files[kTls] = kAdmin + RowOf("2", "Word", "Acme", "1", "2") +
                     "2\tAPP\tk2\tk0\tTwelve\t1\t1\t0\t0\tk7\tCo\t1\t\r\n" +
                     RowOf("9", kHangul, kHancom, "3") + kHistory;
    RecordingSink sink;
    util.SetWorkState(kTotalOpened);
    ASSERT_TRUE(LoadTotal(util, sink));
    EXPECT_EQ(sink.log,
              (std::vector<std::string>{"restart", "add Word", "add " + kHangul, "arrangement"}));
    EXPECT_EQ(sink.rows[0], Program("2", "Word", "Acme", "1", "2"));

    sink.log.clear();
    util.SetWorkState(kSaved);
    ASSERT_TRUE(LoadTotal(util, sink));
    EXPECT_EQ(sink.log.back(), "add " + kHangul);

    sink.log.clear();
    fs.files.erase(kTls);
    EXPECT_FALSE(LoadTotal(util, sink));
    EXPECT_TRUE(sink.log.empty()); // the lists keep their rows
    EXPECT_EQ(messages.shown.back(), "Result File Open Error...");
}

// A department typed as "[리스트]", a PC count of "9" and a remark holding
// "[PC_HISTORY]" are kept as typed, and move neither the rows nor the history,
// however often the result is written and the total saved.
TEST_F(SaveFixture, ValuesShapedLikeMarkersLeaveRowsAndHistoryAlone) {
    ASSERT_TRUE(SaveTotal(util, normal, extended));
    const auto names = [](const std::vector<FoundProgram>& rows) {
        std::vector<std::string> out;
        for (const FoundProgram& p : rows)
            out.push_back(p.ProgramName);
        std::sort(out.begin(), out.end());
        return out;
    };
    const std::vector<std::string> rows = names(ReadTotalRows(fs.files[kTls]));
    ASSERT_EQ(rows.size(), 6u);
    const AdminValues typed{kListH, "Kim", "IT", "Lee", "9", "note [PC_HISTORY]"};
    std::size_t size = 0;
    for (int round = 0; round < 4; ++round) {
        if (round < 2) {
            CResultWriting model(util);
            ASSERT_TRUE(model.Open());
            model.SetField(ResultField::CheckDepartment, typed.checkDepartment);
            model.SetField(ResultField::Checker, typed.checker);
            model.SetField(ResultField::ConfirmDepartment, typed.confirmDepartment);
            model.SetField(ResultField::Confirmer, typed.confirmer);
            model.SetField(ResultField::PcCount, typed.pcCount);
            model.SetField(ResultField::Remark, typed.remark);
            ASSERT_TRUE(model.Save());
        } else {
            ASSERT_TRUE(SaveTotal(util, normal, extended));
        }
        const std::string& total = fs.files[kTls];
        std::vector<std::string_view> lines;
        text::SplitTextViews(total, "\r\n", lines);
        EXPECT_EQ(ReadAdminValues(lines), typed) << round;
        EXPECT_EQ(names(ReadTotalRows(total)), rows) << round;
        EXPECT_EQ(total.substr(HistoryStart(total) - 14), kHistory) << round;
        if (round > 0) { // nothing creeps in from one write to the next
            EXPECT_EQ(total.size(), size) << round;
        }
        size = total.size();
    }
}
