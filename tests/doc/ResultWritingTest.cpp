#include "doc/ResultWriting.h"
#include "Fakes.h"
#include "doc/AuditLists.h"
#include "doc/OstravionDoc.h"
#include "doc/SharedWrite.h"
#include "files/FileTexts.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

namespace {

const std::string kTls = ".\\CheckOut\\audit.tls";
const std::string kRst = ".\\CheckOut\\audit.rst";
const std::string kOpenError = "Result File Open Error...";
const std::string kWriteError = "Write File Open Error...!!";
const std::string kNormal = resultwriting::kNormal;
const std::string kException = resultwriting::kException;

std::string Row(const std::string& flag, const std::string& name, const std::string& company,
                const std::string& installed, const std::string& genuine = "0",
                const std::string& copies = "0", const std::string& cls = "1") {
    return Line({flag, "APP", "k2-" + name, "k0-" + name, name, "1.0", installed, genuine, copies,
                 "k7", company, "1", cls});
}

const std::string kHistory = "[PC_HISTORY]\r\n" + Line({"PC-A", "Acme", "Word", "C:\\W\\", "A"}) +
                             Line({"PC-B", kHancom, kHangul, "C:\\H\\", "C"});
const std::string kConsolidatedAdmin = AdminPart("-", "-", "-", "-", "3", "-");

struct ResultWritingTest : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    FakeProgressFactory progress;
    CAuditUtil util{fs, messages, &progress};
    CResultWriting model{util};

    void SetUp() override { ASSERT_TRUE(util.SetResultNames("audit", CAuditUtil::NameForm::Name)); }

    // A total whose counted rows are also in the written-result file.
    void WriteFiles(const std::vector<std::string>& counted, const std::string& nine = "",
                    const std::string& history = kHistory) {
        std::string rows;
        for (const std::string& r : counted)
            rows += r;
        fs.files[kRst] = kConsolidatedAdmin + rows;
        fs.files[kTls] = kConsolidatedAdmin + rows + nine + history;
    }
    void FillNames() {
        model.SetField(ResultField::CheckDepartment, "Audit");
        model.SetField(ResultField::Checker, "Kim");
        model.SetField(ResultField::ConfirmDepartment, "IT");
        model.SetField(ResultField::Confirmer, "Lee");
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> out;
        for (int r = 0; r < model.RowCount(); ++r)
            out.push_back(model.ItemText(r, column));
        return out;
    }
    std::vector<std::string> Cells(int row) const {
        const auto& c = model.Row(row).cells;
        return {c.begin(), c.end()};
    }
};

TEST(ResultCounts, TypedCountsAreWholeNumbersFromZero) {
    int v = -1;
    EXPECT_TRUE(ParseCount(" 007 ", v));
    EXPECT_EQ(7, v);
    EXPECT_TRUE(ParseCount("2147483647", v));
    for (const char* bad : {"", "  ", "-1", "+1", "1.5", "1 2", "x", "2147483648"})
        EXPECT_FALSE(ParseCount(bad, v)) << bad;
}

TEST_F(ResultWritingTest, OpeningReadsFieldsRowsCopiesRatesAndRemarks) {
    fs.files[kRst] = AdminPart("Audit", "Kim", "IT", "-", "12", "one#r#ntwo") +
                     Row("2", "Word", "Acme", "3", "1") + Row("0", "Calc", "Beta", "3", "3") +
                     Row("9", "Hidden", "Zed", "5") +
                     Line({"0", "a", "b", "c", "Short", "v", "1", "0", "0", "Zed"}) + // 10 fields
                     Line({"0", "a", "b", "c", "Eleven", "v", "0", "-", "0", "k7", "Gamma"}) +
                     Row("0", "Dash", "Delta", "-", "-");
    EXPECT_TRUE(model.Open());
    EXPECT_TRUE(messages.shown.empty());

    EXPECT_EQ("Audit", model.Field(ResultField::CheckDepartment));
    EXPECT_EQ("Kim", model.Field(ResultField::Checker));
    EXPECT_EQ("IT", model.Field(ResultField::ConfirmDepartment));
    EXPECT_EQ("", model.Field(ResultField::Confirmer));
    EXPECT_EQ("12", model.Field(ResultField::PcCount));
    EXPECT_EQ("one\r\ntwo", model.Field(ResultField::Remark));

    ASSERT_EQ(4, model.RowCount());
    EXPECT_EQ((std::vector<std::string>{"1", "Word", "Acme", "3", "1", "2", "66.67%", kNormal}),
              Cells(0));
    EXPECT_EQ((std::vector<std::string>{"2", "Calc", "Beta", "3", "3", "0", "0.00%", kException}),
              Cells(1));
    EXPECT_EQ(
        (std::vector<std::string>{"3", "Eleven", "Gamma", "0", "0", "0", "0.00%", kException}),
        Cells(2));
    EXPECT_EQ((std::vector<std::string>{"4", "Dash", "Delta", "0", "0", "0", "0.00%", kException}),
              Cells(3));
    EXPECT_FALSE(model.GetCheck(0));
    EXPECT_EQ(0, model.SortFlag());

    // The row store holds every field as read; an eleven-field line lacks the last two.
    ASSERT_EQ(4u, model.StoredCount());
    EXPECT_EQ(4, model.LastNumber());
    EXPECT_EQ("k2-Word", model.Stored(0).KeyColumn2);
    EXPECT_EQ("-", model.Stored(2).GenuineCount);
    EXPECT_EQ("", model.Stored(2).Class);
    EXPECT_EQ(&model.Stored(1), model.StoredForRow(1));

    EXPECT_EQ(std::string("create ") + resultwriting::kReading, progress.log.front());
    EXPECT_FALSE(util.HasProgress());
}

TEST_F(ResultWritingTest, MissingResultFileGivesAnEmptyModelThatCanBeFilledAndSaved) {
    fs.files[kTls] = kConsolidatedAdmin + Row("9", "Tool", "Zed", "1") + kHistory;
    EXPECT_FALSE(model.Open());
    EXPECT_EQ(std::vector<std::string>{kOpenError}, messages.shown);
    EXPECT_EQ(0, model.RowCount());
    EXPECT_EQ("", model.Field(ResultField::PcCount));
    EXPECT_FALSE(util.HasProgress());

    FillNames();
    ASSERT_TRUE(model.AddProgram({"Paint", "2", "Pix", "3.1"}));
    ASSERT_TRUE(model.Save());
    const std::string rows =
        Line({"0", "-", "-", "-", "Paint", "3.1", "2", "0", "2", "-", "Pix", "-", "3"});
    const std::string admin = AdminPart("Audit", "Kim", "IT", "Lee", "-", "-");
    EXPECT_EQ(admin + rows, fs.files[kRst]);
    EXPECT_EQ(admin + rows + Row("9", "Tool", "Zed", "1") + kHistory, fs.files[kTls]);
}

TEST_F(ResultWritingTest, EditsKeepTheGenuineCountAtMostTheInstalledCount) {
    WriteFiles({Row("2", "Word", "Acme", "3", "3")});
    ASSERT_TRUE(model.Open());

    EXPECT_EQ(EditOutcome::GenuineReset, model.EndEdit(0, kResultInstalled, "2"));
    EXPECT_EQ(std::vector<std::string>{resultwriting::kGenuineAboveInstalled}, messages.shown);
    EXPECT_EQ((std::vector<std::string>{"1", "Word", "Acme", "2", "0", "2", "100.00%", kNormal}),
              Cells(0));

    EXPECT_EQ(EditOutcome::Stored, model.EndEdit(0, kResultGenuine, "1"));
    EXPECT_EQ("1", model.ItemText(0, kResultCopies));
    EXPECT_EQ("50.00%", model.ItemText(0, kResultRate));
    EXPECT_EQ(EditOutcome::Stored, model.EndEdit(0, kResultInstalled, " 03 "));
    EXPECT_EQ("3", model.ItemText(0, kResultInstalled));
    EXPECT_EQ("66.67%", model.ItemText(0, kResultRate));
    EXPECT_EQ(EditOutcome::Stored, model.EndEdit(0, kResultGenuine, "3"));
    EXPECT_EQ("0.00%", model.ItemText(0, kResultRate));
    messages.shown.clear();

    // Cancelled edits, other columns and rows outside the list change nothing;
    // a text that is no count is refused with its message.
    const std::vector<std::string> before = Cells(0);
    EXPECT_EQ(EditOutcome::Ignored, model.EndEdit(0, kResultGenuine, std::nullopt));
    EXPECT_EQ(EditOutcome::Ignored, model.EndEdit(0, kResultNumber, "7"));
    EXPECT_EQ(EditOutcome::Ignored, model.EndEdit(0, kResultProgram, "Other"));
    EXPECT_EQ(EditOutcome::Ignored, model.EndEdit(1, kResultGenuine, "1"));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(EditOutcome::Refused, model.EndEdit(0, kResultGenuine, "two"));
    EXPECT_EQ(EditOutcome::Refused, model.EndEdit(0, kResultInstalled, ""));
    EXPECT_EQ(std::vector<std::string>(2, resultwriting::kCountNotNumber), messages.shown);
    EXPECT_EQ(before, Cells(0));
}

TEST_F(ResultWritingTest, AddingAProgramNeedsNameCountAndRightsHolder) {
    WriteFiles({Row("2", "Word", "Acme", "3")});
    ASSERT_TRUE(model.Open());
    for (const NewProgram& p : {NewProgram{"", "1", "Pix", ""}, NewProgram{"Paint", "", "Pix", ""},
                                NewProgram{"Paint", "1", "", "2.0"}})
        EXPECT_FALSE(model.AddProgram(p));
    EXPECT_EQ(std::vector<std::string>(3, resultwriting::kProgramFieldsRequired), messages.shown);
    EXPECT_EQ(1, model.RowCount());

    ASSERT_TRUE(model.AddProgram({"Paint\tPro", "4", "Pix", "2.0"}));
    EXPECT_EQ(
        (std::vector<std::string>{"2", "Paint Pro", "Pix", "4", "0", "4", "100.00%", kException}),
        Cells(1));
    const FoundProgram& s = model.Stored(1);
    EXPECT_EQ("0", s.Origin);
    EXPECT_EQ("3", s.Class);
    EXPECT_EQ("2.0", s.Version);
    EXPECT_EQ("4", s.InstalledCount);
    EXPECT_EQ("0", s.GenuineCount);
    EXPECT_EQ("0", s.CopyCount);
    EXPECT_EQ("", s.ProgramName);

    // Nothing installed has no copy rate to speak of.
    ASSERT_TRUE(model.AddProgram({"Free", "0", "Pix", ""}));
    EXPECT_EQ("0.00%", model.ItemText(2, kResultRate));
}

TEST_F(ResultWritingTest, DeletingTheSecondOfThreeThenAddingKeepsNumbersAndStoredFields) {
    WriteFiles({Row("2", "Word", "Acme", "3", "1", "2"), Row("0", "Calc", "Beta", "2"),
                Row("2", "Mail", "Corp", "5", "5", "0", "2")});
    ASSERT_TRUE(model.Open());
    model.SetCheck(1, true);
    messages.answers = {true};
    EXPECT_EQ(1, model.DeleteCheckedRows());
    EXPECT_EQ(std::vector<std::string>{resultwriting::kDeleteQuestion}, messages.asked);
    ASSERT_TRUE(model.AddProgram({"Paint", "2", "Delta", "9"}));
    EXPECT_EQ((std::vector<std::string>{"1", "3", "4"}), Column(kResultNumber));
    EXPECT_EQ(4u, model.StoredCount()); // the deleted row's entry stays

    FillNames();
    ASSERT_TRUE(model.Save());
    const std::string rows =
        Row("2", "Word", "Acme", "3", "1", "2") + Row("2", "Mail", "Corp", "5", "5", "0", "2") +
        Line({"0", "-", "-", "-", "Paint", "9", "2", "0", "2", "-", "Delta", "-", "3"});
    EXPECT_EQ(AdminPart("Audit", "Kim", "IT", "Lee", "3", "-") + rows, fs.files[kRst]);
}

TEST_F(ResultWritingTest, DeletingAsksOnceAndDeletesOnlyOnYes) {
    WriteFiles({Row("2", "A", "a", "1"), Row("2", "B", "b", "1"), Row("2", "C", "c", "1")});
    ASSERT_TRUE(model.Open());
    EXPECT_EQ(0, model.DeleteCheckedRows());
    EXPECT_EQ(std::vector<std::string>{resultwriting::kNothingSelected}, messages.shown);
    EXPECT_TRUE(messages.asked.empty());

    model.SetCheck(0, true);
    model.SetCheck(2, true);
    messages.answers = {false};
    EXPECT_EQ(0, model.DeleteCheckedRows());
    EXPECT_EQ(3, model.RowCount());
    messages.answers = {true};
    EXPECT_EQ(2, model.DeleteCheckedRows());
    EXPECT_EQ(2u, messages.asked.size());
    EXPECT_EQ((std::vector<std::string>{"B"}), Column(kResultProgram));
}

TEST_F(ResultWritingTest, HeaderClicksFlipOneDirectionAndSortTexts) {
    std::vector<std::string> rows;
    for (int i = 1; i <= 10; ++i)
        rows.push_back(Row("2", "P" + std::to_string(i), "C", std::to_string(i)));
    WriteFiles(rows);
    ASSERT_TRUE(model.Open());
    model.SetCheck(1, true); // row number 2

    model.ColumnClicked(kResultNumber);
    EXPECT_EQ(1, model.SortFlag());
    EXPECT_EQ((std::vector<std::string>{"1", "10", "2", "3", "4", "5", "6", "7", "8", "9"}),
              Column(kResultNumber));
    EXPECT_TRUE(model.GetCheck(2));
    EXPECT_EQ("P2", model.ItemText(2, kResultProgram));

    // One flag for every column: the next click, on another column, sorts descending.
    model.ColumnClicked(kResultInstalled);
    EXPECT_EQ(0, model.SortFlag());
    EXPECT_EQ((std::vector<std::string>{"9", "8", "7", "6", "5", "4", "3", "2", "10", "1"}),
              Column(kResultInstalled));
}

TEST_F(ResultWritingTest, SavingChecksTheRequiredFieldsInOrderAndWritesNothing) {
    WriteFiles({Row("2", "Word", "Acme", "3")}, Row("9", "Tool", "Zed", "1"));
    ASSERT_TRUE(model.Open());
    const auto before = fs.files;
    const std::pair<ResultField, const char*> order[] = {
        {ResultField::CheckDepartment, resultwriting::kNoCheckDepartment},
        {ResultField::Checker, resultwriting::kNoChecker},
        {ResultField::ConfirmDepartment, resultwriting::kNoConfirmDepartment},
        {ResultField::Confirmer, resultwriting::kNoConfirmer},
    };
    for (const auto& [field, message] : order) {
        messages.shown.clear();
        EXPECT_FALSE(model.Save());
        EXPECT_EQ(std::vector<std::string>{message}, messages.shown);
        EXPECT_EQ(before, fs.files);
        EXPECT_FALSE(util.HasProgress());
        model.SetField(field, "x");
    }
}

TEST_F(ResultWritingTest, SavingWritesBothFilesInDisplayOrderKeepingNineRowsAndHistory) {
    WriteFiles({Row("2", "Word", "Beta", "3"), Row("0", "Calc", "Acme", "2", "0", "0", "3")},
               Row("9", "Tool", "Zed", "1") + Row("9", "Game", "Yak", "4"));
    ASSERT_TRUE(model.Open());
    model.SetField(ResultField::CheckDepartment, "Audit\tTeam");
    model.SetField(ResultField::Checker, "Kim");
    model.SetField(ResultField::ConfirmDepartment, "IT");
    model.SetField(ResultField::Confirmer, "Lee");
    model.SetField(ResultField::PcCount, "4");
    model.SetField(ResultField::Remark, "first line\nsecond\tline");
    model.EndEdit(0, kResultGenuine, "1");

    ASSERT_TRUE(model.Save());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ((std::vector<std::string>{"Calc", "Word"}), Column(kResultProgram));
    const std::string result =
        AdminPart("Audit Team", "Kim", "IT", "Lee", "4", "first line#r#nsecond line") +
        Row("0", "Calc", "Acme", "2", "0", "2", "3") + Row("2", "Word", "Beta", "3", "1", "2");
    EXPECT_EQ(result, fs.files[kRst]);
    EXPECT_EQ(result + Row("9", "Tool", "Zed", "1") + Row("9", "Game", "Yak", "4") + kHistory,
              fs.files[kTls]);
    EXPECT_EQ(0u, fs.files.count(kTls + ".new"));
    EXPECT_EQ("audit.tls", util.TotalFileName());
    EXPECT_EQ(std::string("create ") + resultwriting::kSaving,
              progress.log[progress.log.size() - 3]);
    EXPECT_FALSE(util.HasProgress());

    // The two-line remark and the counts come back.
    CResultWriting again(util);
    ASSERT_TRUE(again.Open());
    EXPECT_EQ("first line\r\nsecond line", again.Field(ResultField::Remark));
    EXPECT_EQ("1", again.ItemText(1, kResultGenuine));
    EXPECT_EQ("66.67%", again.ItemText(1, kResultRate));
}

TEST_F(ResultWritingTest, SavingATotalWithoutHistoryWritesTheDashLine) {
    WriteFiles({Row("2", "Word", "Acme", "3")}, "", "");
    ASSERT_TRUE(model.Open());
    FillNames();
    ASSERT_TRUE(model.Save());
    const std::string& total = fs.files[kTls];
    EXPECT_EQ("[PC_HISTORY]\r\n-\r\n", total.substr(total.size() - 17));
}

TEST_F(ResultWritingTest, SavingKeepsTheCaseOfTheNamesWhereFileNamesTellCaseApart) {
    ASSERT_TRUE(util.SetResultNames("Audit", CAuditUtil::NameForm::Name));
    fs.files[".\\CheckOut\\Audit.rst"] = kConsolidatedAdmin + Row("2", "Word", "Acme", "3");
    fs.files[".\\CheckOut\\Audit.tls"] = fs.files[".\\CheckOut\\Audit.rst"] + kHistory;
    ASSERT_TRUE(model.Open());
    FillNames();
    ASSERT_TRUE(model.Save());
    EXPECT_EQ("Audit.tls", util.TotalFileName());
    EXPECT_EQ(".\\CheckOut\\Audit.rst", util.ResultPath(".rst"));
    EXPECT_EQ(0u, fs.files.count(kTls) + fs.files.count(kRst));
}

TEST_F(ResultWritingTest, AFailedSaveKeepsThePreviousFiles) {
    WriteFiles({Row("2", "Word", "Acme", "3")}, Row("9", "Tool", "Zed", "1"));
    ASSERT_TRUE(model.Open());
    FillNames();
    model.EndEdit(0, kResultGenuine, "2");
    const auto before = fs.files;

    fs.unwritable.insert(kTls + ".new");
    EXPECT_FALSE(model.Save());
    EXPECT_EQ(std::vector<std::string>{kWriteError}, messages.shown);
    EXPECT_EQ(before, fs.files);
    fs.unwritable.clear();

    messages.shown.clear();
    fs.failingWrites.insert(kTls + ".new");
    EXPECT_FALSE(model.Save());
    EXPECT_EQ(std::vector<std::string>{kWriteError}, messages.shown);
    EXPECT_EQ(before, fs.files);
    fs.failingWrites.clear();

    // A total gone before the dialog opened.
    fs.files.erase(kTls);
    ASSERT_TRUE(model.Open());
    FillNames();
    messages.shown.clear();
    EXPECT_FALSE(model.Save());
    EXPECT_EQ(std::vector<std::string>{kOpenError}, messages.shown);
    EXPECT_EQ(before.at(kRst), fs.files[kRst]);
    EXPECT_EQ(0u, fs.files.count(kTls));
    EXPECT_FALSE(util.HasProgress());
}

TEST_F(ResultWritingTest, SavingReloadsTheDocumentsListsFromTheSavedTotal) {
    WriteFiles({Row("2", "Word", "Acme", "3"), Row("0", "Calc", "Beta", "2", "0", "0", "3")},
               Row("9", "Tool", "Zed", "1", "0", "0", "3"));
    AuditLists lists(util);
    auto& [normal, extended, doc] = lists;
    doc.SetLayoutMode(kTotalLayout);
    ASSERT_TRUE(model.Open());
    FillNames();
    model.EndEdit(0, kResultGenuine, "1");
    ASSERT_TRUE(model.Save(&doc));

    ASSERT_EQ(1, normal.RowCount());
    EXPECT_EQ("1", normal.StoredForRow(0)->GenuineCount);
    EXPECT_EQ(1, normal.GetCheck(0));
    ASSERT_EQ(2, extended.RowCount());
    EXPECT_EQ(1, extended.GetCheck(0)); // Calc, flag "0"
    EXPECT_EQ(0, extended.GetCheck(1)); // Tool, flag "9"
}

// Follows every change the dialog would redraw.
struct RecordingObserver final : ResultWriteObserver {
    std::vector<std::string> log;
    void ModelReset(const CResultWriting&) override { log.push_back("reset"); }
    void FieldChanged(const CResultWriting&, ResultField) override { log.push_back("field"); }
    void RowAdded(const CResultWriting&, int row) override {
        log.push_back("added " + std::to_string(row));
    }
    void RowRemoved(const CResultWriting&, int row) override {
        log.push_back("removed " + std::to_string(row));
    }
    void RowsMoved(const CResultWriting&) override { log.push_back("moved"); }
    void RowChanged(const CResultWriting&, int row) override {
        log.push_back("changed " + std::to_string(row));
    }
    void CheckChanged(const CResultWriting&, int row) override {
        log.push_back("check " + std::to_string(row));
    }
};

TEST_F(ResultWritingTest, ObserversHearEveryChange) {
    WriteFiles({Row("2", "A", "a", "1"), Row("2", "B", "b", "1")});
    RecordingObserver o;
    model.AddObserver(&o);
    ASSERT_TRUE(model.Open());
    model.SetField(ResultField::Checker, "Kim");
    model.EndEdit(1, kResultGenuine, "1");
    model.EndEdit(1, kResultGenuine, std::nullopt);
    model.SetCheck(0, true);
    messages.answers = {true};
    model.DeleteCheckedRows();
    model.AddProgram({"C", "1", "c", ""});
    model.ColumnClicked(kResultProgram);
    model.RemoveObserver(&o);
    model.ColumnClicked(kResultProgram);
    EXPECT_EQ((std::vector<std::string>{"reset", "field", "changed 1", "check 0", "removed 0",
                                        "added 1", "moved"}),
              o.log);
}

} // namespace

// A value line of the administrative part that holds TABs (a file not written
// by this system) is taken as the dialog would take it typed: a TAB becomes a
// blank, so that saving writes one value line and no row line in its place.
TEST_F(ResultWritingTest, ValuesWithTabsReadFromAFileAreSavedAsOneLine) {
    const std::string tabbed = "\t\t\t0\t\t\t\t\t\t\t\t";
    // The department's value is "[리스트]": a value, so the confirmer's value
    // line, which splits into enough fields, is no row either.
    const std::string list = "[\xB8\xAE\xBD\xBA\xC6\xAE]";
    fs.files[kRst] = "[\xC1\xA1\xB0\xCB\xBA\xCE\xBC\xAD]\r\n" + list +
                     "\r\n[\xC8\xAE\xC0\xCE\xC0\xDA]\r\n" + tabbed + "\r\n";
    fs.files[kTls] = "";
    ASSERT_TRUE(model.Open());
    EXPECT_EQ(0, model.RowCount());
    EXPECT_EQ(list, model.Field(ResultField::CheckDepartment));
    EXPECT_EQ("   0        ", model.Field(ResultField::Confirmer));
    model.SetField(ResultField::Checker, "Kim");
    model.SetField(ResultField::ConfirmDepartment, "IT");
    ASSERT_TRUE(model.Save());

    CResultWriting again(util);
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(0, again.RowCount());
    EXPECT_EQ(list, again.Field(ResultField::CheckDepartment));
    EXPECT_EQ("   0        ", again.Field(ResultField::Confirmer));
}

// A written result is its total's when both count the same programs by name
// (letter case aside), each as often; anything else is refused on opening and
// never saved over the total.
TEST(ResultBelongs, SameCountedProgramsByName) {
    const auto file = [](std::vector<std::string> rows) {
        std::string text = kConsolidatedAdmin;
        for (const std::string& r : rows)
            text += r;
        return text + kHistory;
    };
    const std::string word = Row("2", "Word", "Acme", "2"), excel = Row("2", "Excel", "Acme", "1");
    struct Case {
        std::vector<std::string> result, total;
        bool belongs;
    } cases[] = {
        {{word, excel}, {excel, word}, true},
        {{Row("0", "WORD", "Acme", "3", "3")}, {word}, true},   // counts and case may differ
        {{word}, {word, Row("9", "Excel", "Acme", "1")}, true}, // rows that do not count
        {{}, {}, true},
        {{Row("9", "Word", "Acme", "2")}, {word}, true}, // written, not counted
        {{word, Row("9", "Excel", "Acme", "1")}, {word}, false},
        {{word}, {word, excel}, false}, // a program found since
        {{word, excel}, {Row("2", "Other", "Acme", "1"), excel}, false},
        {{}, {word}, false},
        {{word, word}, {word}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResultBelongsToTotal(file(c.result), file(c.total)), c.belongs)
            << c.result.size() << " " << c.total.size();
}

// The dialog saves only over the files it read: when another auditor saved
// either since, it says so and writes nothing; another writer holding the
// total stops the save the same way.
TEST_F(ResultWritingTest, SavingNeverOverwritesWhatChangedSinceOpening) {
    WriteFiles({Row("2", "Word", "Acme", "2")});
    ASSERT_TRUE(model.Open());
    FillNames();
    fs.files[kRst] += Row("2", "Excel", "Acme", "1");
    const std::map<std::string, std::string> before = fs.files;
    messages.shown.clear();
    EXPECT_FALSE(model.Save());
    EXPECT_EQ(fs.files, before);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], std::string(sharedwrite::kChangedElsewhere) + kRst + "\n" +
                                     sharedwrite::kNotOverwritten);
    EXPECT_TRUE(util.ChangedElsewhere());

    WriteFiles({Row("2", "Word", "Acme", "2")});
    ASSERT_TRUE(model.Open());
    FillNames();
    fs.files[kTls + ".lock"] = "";
    const std::map<std::string, std::string> held = fs.files;
    EXPECT_FALSE(model.Save());
    EXPECT_EQ(fs.files, held);
    EXPECT_TRUE(util.HeldByOther());
    fs.files.erase(kTls + ".lock");
    EXPECT_TRUE(model.Save());
    EXPECT_FALSE(util.ChangedElsewhere());
}
