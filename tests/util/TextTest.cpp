#include "util/Text.h"

#include <gtest/gtest.h>
#include <random>

using namespace ostravion::text;

namespace {
// "가" is B0 A1; "궇" has the trail byte 0x41 ('A'); "갛" B0 5A has the trail 'Z'.
const std::string kGa = "\xB0\xA1";
const std::string kTrailA = "\xB1\x41";
const std::string kTrailZ = "\xB0\x5A";
} // namespace

TEST(SplitText, EmptyPiecesBecomeDashAndTrailingSeparatorAddsNothing) {
    EXPECT_EQ(SplitText("a\tb\t", "\t"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitText("a\t\tb", "\t"), (std::vector<std::string>{"a", "-", "b"}));
    EXPECT_TRUE(SplitText("", "\t").empty());
    EXPECT_EQ(SplitText("\t", "\t"), (std::vector<std::string>{"-"}));
    EXPECT_EQ(SplitText("whole", "\t"), (std::vector<std::string>{"whole"}));
    EXPECT_EQ(SplitText("l1\r\n\r\nl3\r\n", "\r\n"), (std::vector<std::string>{"l1", "-", "l3"}));
}

TEST(SplitText, ClearsTheTargetFirst) {
    std::vector<std::string> out{"old"};
    SplitText("x", "\t", out);
    EXPECT_EQ(out, (std::vector<std::string>{"x"}));
}

TEST(DoubleByte, SearchMatchesOnlyAtCharacterStarts) {
    // The trail byte of the first character is 'A'; a search for "A" must skip it.
    const std::string s = kTrailA + "A";
    EXPECT_EQ(Find(s, "A"), 2u);
    EXPECT_EQ(Find(kTrailA, "A"), std::string::npos);
    // A lead byte followed by a separator byte never hides the separator
    // when the lead byte is the last byte of the text.
    EXPECT_EQ(Find("\xB0", "\xB0"), 0u);
    EXPECT_EQ(FindLastChar(kTrailZ + "\\x\\", '\\'), 4u);
}

namespace {
// The search stepped character by character: the plain form the fast search must equal.
std::size_t FindStepwise(std::string_view hay, std::string_view needle, std::size_t from) {
    for (std::size_t i = from; i < hay.size(); i += CharLength(hay, i))
        if (hay.substr(i, needle.size()) == needle)
            return i;
    return std::string_view::npos;
}
} // namespace

TEST(DoubleByte, SearchAgreesWithACharacterByCharacterScan) {
    // Lead bytes, trail-able ASCII, separators and dots, in random mixes.
    const std::string alphabet = "\xB0\xB1\xC7\xA1\x41\x5A.\t\r\nEXa";
    std::mt19937 rng(7);
    auto pick = [&](std::size_t n) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i)
            s += alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string hay = pick(rng() % 24);
        const std::string needle = pick(1 + rng() % 3);
        // Start from a character start chosen along the text.
        std::size_t from = 0;
        for (std::size_t steps = rng() % 4; steps > 0 && from < hay.size(); --steps)
            from += CharLength(hay, from);
        ASSERT_EQ(Find(hay, needle, from), FindStepwise(hay, needle, from))
            << "hay " << ::testing::PrintToString(hay) << " needle "
            << ::testing::PrintToString(needle) << " from " << from;
    }
}

TEST(DoubleByte, CaseMappingTouchesAsciiLettersOnly) {
    EXPECT_EQ(ToUpper("winword.exe"), "WINWORD.EXE");
    EXPECT_EQ(ToUpper(kTrailZ + "a"), kTrailZ + "A");
    EXPECT_EQ(ToLower(kTrailA + "B"), kTrailA + "b");
    EXPECT_EQ(ToLower(kGa), kGa);
}

TEST(DoubleByte, CaseInsensitiveComparison) {
    EXPECT_TRUE(EqualsNoCase("Hangul" + kGa, "HANGUL" + kGa));
    // Trail bytes differing only by ASCII case are different characters.
    EXPECT_FALSE(EqualsNoCase("\xB1\x41", "\xB1\x61"));
    EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
    EXPECT_GT(CompareNoCase("abcd", "ABC"), 0);
    EXPECT_EQ(CompareNoCase("", ""), 0);
}

TEST(DoubleByte, CaseSensitiveComparisonInCharacterCodeOrder) {
    EXPECT_LT(Compare("ABC", "abc"), 0); // upper case sorts before lower case
    EXPECT_LT(Compare("ab", "abc"), 0);
    EXPECT_EQ(Compare("", ""), 0);
    EXPECT_LT(Compare("Z", kGa), 0);
    // A lone 0xFF is a single character whose code is below every double-byte
    // character, although its byte is above their lead bytes.
    EXPECT_LT(Compare("\xFF", kGa), 0);
    EXPECT_GT(Compare(kGa, "\xFF"), 0);
    // Within double-byte characters the trail byte decides after the lead.
    EXPECT_LT(Compare("\xB1\x41", "\xB1\x61"), 0);
    EXPECT_GT(Compare("\xB1\xA1", "\xB0\xFE"), 0);
}

TEST(Helpers, DashZeroAndBlankRules) {
    EXPECT_EQ(DashIfEmpty(""), "-");
    EXPECT_EQ(DashIfEmpty("x"), "x");
    EXPECT_EQ(EmptyIfDash("-"), "");
    EXPECT_EQ(EmptyIfDash("--"), "--");
    EXPECT_EQ(ZeroIfBlank("-"), "0");
    EXPECT_EQ(ZeroIfBlank(""), "0");
    EXPECT_EQ(ZeroIfBlank("7"), "7");
    EXPECT_EQ(BlankControls("a\tb\r\nc"), "a b  c");
    EXPECT_EQ(ReplaceAll("a&r&nb&r&n", "&r&n", "\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST(Helpers, VersionStringsKeepTheirFirstLine) {
    EXPECT_EQ(CutAtLineBreak("line1\r\nline2"), "line1");
    EXPECT_EQ(CutAtLineBreak("first\rsecond"), "first");
    EXPECT_EQ(CutAtLineBreak("3.0\nbeta"), "3.0");
    // CR LF is looked for first, wherever a lone CR or LF stands.
    EXPECT_EQ(CutAtLineBreak("a\nb\r\nc"), "a\nb");
    EXPECT_EQ(CutAtLineBreak("a\nb\rc"), "a\nb");
    EXPECT_EQ(CutAtLineBreak("\r\nx"), "");
    EXPECT_EQ(CutAtLineBreak("\xB1\xB9\xB3\xBB"), "\xB1\xB9\xB3\xBB");
    EXPECT_EQ(CutAtLineBreak(""), "");
}
