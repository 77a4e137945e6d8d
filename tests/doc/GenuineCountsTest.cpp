// The genuine-count import: a CSV text read into counts, the counts applied
// to the rows of the result-writing model.
#include "doc/GenuineCounts.h"
#include "Fakes.h"
#include "files/FileTexts.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

namespace {

// Texts stay as they are; "UTF-8" names turn into their CP949 form only
// where a test says so.
class TableCodec final : public TextCodec {
public:
    std::string ToUtf8(const std::string& cp949) const override { return cp949; }
    std::string FromUtf8(const std::string& utf8) const override {
        return utf8 == "\xED\x95\x9C\xEA\xB8\x80" ? kHangul : utf8;
    }
};

std::string Row(const std::string& flag, const std::string& name, const std::string& installed,
                const std::string& genuine = "0") {
    return Line(
        {flag, "APP", "k2", "k0", name, "1.0", installed, genuine, "0", "k7", "Acme", "1", "1"});
}

struct GenuineCounts : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    CAuditUtil util{fs, messages};
    CResultWriting model{util};
    TableCodec codec;

    void Open(const std::string& rows) {
        ASSERT_TRUE(util.SetResultNames("audit", CAuditUtil::NameForm::Name));
        fs.files[util.ResultPath(".rst")] = AdminPart("a", "b", "c", "d", "2", "-") + rows;
        ASSERT_TRUE(model.Open());
    }
};

TEST_F(GenuineCounts, ReadsNamesInTheirCodePageAndNamesBadLines) {
    std::vector<GenuineCount> counts;
    std::string error;
    std::vector<int> bad;
    EXPECT_TRUE(ReadGenuineCounts("\xEF\xBB\xBF\"word pro\",1\r\n\xED\x95\x9C\xEA\xB8\x80, 5 \r\n",
                                  codec, counts, error, bad));
    ASSERT_EQ(2u, counts.size());
    EXPECT_EQ("word pro", counts[0].program);
    EXPECT_EQ(kHangul, counts[1].program);
    EXPECT_EQ(" 5 ", counts[1].count);
    EXPECT_EQ(2, counts[1].line);

    // A missing count and a count that is no whole number are named by line;
    // the good lines are still read.
    EXPECT_FALSE(ReadGenuineCounts("a,1\nb\nc,-2\nd,3\n", codec, counts, error, bad));
    EXPECT_EQ("", error);
    EXPECT_EQ((std::vector<int>{2, 3}), bad);
    ASSERT_EQ(2u, counts.size());
    EXPECT_EQ("d", counts[1].program);

    EXPECT_FALSE(ReadGenuineCounts("a,1\n\"open,2\n", codec, counts, error, bad));
    EXPECT_EQ("line 2: a quoted field is not closed", error);
    EXPECT_TRUE(bad.empty());
}

TEST_F(GenuineCounts, AppliesToEveryRowOfTheNameAndTellsWhatItCouldNot) {
    Open(Row("2", "Word Pro", "3") + Row("0", "WORD PRO", "1") + Row("2", "Calc", "2"));
    const std::vector<GenuineCount> counts = {
        {"word pro", "2", 1}, {"Calc", "1", 2}, {"Nothing", "1", 3}};
    std::vector<std::string> events;
    GenuineCountEvents e;
    e.genuineReset = [&](const GenuineCount& c, int row) {
        events.push_back("reset " + c.program + " " + std::to_string(row));
    };
    e.noSuchProgram = [&](const GenuineCount& c) { events.push_back("none " + c.program); };

    EXPECT_EQ(3, ApplyGenuineCounts(model, counts, e));
    EXPECT_EQ((std::vector<std::string>{"reset word pro 1", "none Nothing"}), events);
    EXPECT_EQ("2", model.ItemText(0, kResultGenuine));
    EXPECT_EQ("1", model.ItemText(0, kResultCopies));
    EXPECT_EQ("0", model.ItemText(1, kResultGenuine));
    EXPECT_EQ("1", model.ItemText(2, kResultGenuine));
    // Without listeners the same counts apply quietly.
    EXPECT_EQ(3, ApplyGenuineCounts(model, counts));
}

} // namespace
