// The genuine-count import: a CSV text read into counts, the counts applied
// to the rows of the result-writing model.
#include "doc/GenuineCounts.h"
#include "Fakes.h"
#include "files/FileTexts.h"
#include "util/Text.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

namespace {

// ASCII stays as it is; the UTF-8 한글 has the CP949 form kHangul, and the
// emoji U+1F600 has none (it becomes "?", as the real converters make it).
class TableCodec final : public TextCodec {
public:
    std::string ToUtf8(const std::string& cp949) const override {
        return text::ReplaceAll(cp949, kHangul, kUtf8Hangul);
    }
    std::string FromUtf8(const std::string& utf8) const override {
        return text::ReplaceAll(text::ReplaceAll(utf8, kUtf8Hangul, kHangul), kEmoji, "?");
    }
    static inline const std::string kUtf8Hangul = "\xED\x95\x9C\xEA\xB8\x80";
    static inline const std::string kEmoji = "\xF0\x9F\x98\x80";
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
    GenuineCountProblems p;
    // UTF-8 (with a byte-order mark) and CP949, as a Korean spreadsheet saves
    // it, give the same names.
    for (const std::string& hangul : {TableCodec::kUtf8Hangul, kHangul}) {
        const std::string bom = hangul == kHangul ? "" : "\xEF\xBB\xBF";
        EXPECT_TRUE(
            ReadGenuineCounts(bom + "\"word pro\",1\r\n" + hangul + ", 5 \r\n", codec, counts, p));
        EXPECT_EQ(hangul == kHangul ? InputEncoding::Cp949 : InputEncoding::Utf8, p.encoding);
        ASSERT_EQ(2u, counts.size());
        EXPECT_EQ("word pro", counts[0].program);
        EXPECT_EQ(kHangul, counts[1].program);
        EXPECT_EQ(" 5 ", counts[1].count);
        EXPECT_EQ(2, counts[1].line);
    }

    // A missing count and a count that is no whole number are named by line.
    EXPECT_FALSE(ReadGenuineCounts("a,1\nb\nc,-2\nd,3\n", codec, counts, p));
    EXPECT_EQ("", p.error);
    EXPECT_EQ((std::vector<int>{2, 3}), p.badLines);

    EXPECT_FALSE(ReadGenuineCounts("a,1\n\"open,2\n", codec, counts, p));
    EXPECT_EQ(0u, p.error.find("2\xB9\xF8\xC2\xB0 \xC1\xD9: ")); // "2번째 줄: "
    EXPECT_TRUE(p.badLines.empty());

    // A name without a CP949 form is refused, named where it stands.
    EXPECT_FALSE(ReadGenuineCounts("a,1\nb" + TableCodec::kEmoji + ",2\n", codec, counts, p));
    EXPECT_TRUE(p.unwritable);
    EXPECT_EQ(2, p.character.line);
    EXPECT_EQ(2, p.character.column);
    EXPECT_EQ(TableCodec::kEmoji, p.character.character);
    EXPECT_EQ("U+1F600", p.character.codePoint);
}

TEST_F(GenuineCounts, AProgramGivenTwiceMustHaveOneCount) {
    std::vector<GenuineCount> counts;
    GenuineCountProblems p;
    // The same count again (letter case and blanks aside) is read once.
    EXPECT_TRUE(ReadGenuineCounts("Word,1\nCalc,2\nWORD, 1\n", codec, counts, p));
    ASSERT_EQ(2u, counts.size());
    EXPECT_EQ("1", counts[0].count);
    // Another count names both lines.
    EXPECT_FALSE(ReadGenuineCounts("Word,1\nCalc,2\nword,2\nCALC,2\n", codec, counts, p));
    EXPECT_EQ((std::vector<std::pair<int, int>>{{1, 3}}), p.conflicts);
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
