#include "files/Container.h"

#include <gtest/gtest.h>

using namespace ostravion;

namespace {
std::string Swap(std::string s) {
    for (std::size_t i = 0; i + 1 < s.size(); i += 2)
        std::swap(s[i], s[i + 1]);
    return s;
}
const std::string kStart = "Ostravion 3.0 Format Data S";
const std::string kEnd = "Ostravion 3.0 Format Data E";
} // namespace

TEST(Unscramble, EmptyInputGivesEmptyPayload) {
    EXPECT_EQ(UnscrambleText(""), "");
}

TEST(Unscramble, GoldenBytesOfATwoLineContainer) {
    // "xx" + start marker + "A\tB&r&nC\tD" + end marker, pair-swapped.
    const std::string stored =
        "xxsOrtvaoi n.3 0oFmrtaD ta aASB\tr&n&\tCODtsarivno3 0.F roam taDatE ";
    ASSERT_EQ(Swap(stored), "xx" + kStart + "A\tB&r&nC\tD" + kEnd);
    EXPECT_EQ(UnscrambleText(stored), "A\tB\r\nC\tD");
}

TEST(Unscramble, TerminatorCutsOnlyBetweenTheMarkers) {
    EXPECT_EQ(UnscrambleText(Swap("zz" + kStart + "A@~@junk" + kEnd + "  ")), "A");
    EXPECT_EQ(UnscrambleText(Swap("zz" + kStart + "A" + kEnd + "@~@ ")), "A");
}

TEST(Unscramble, OddLengthDropsTheLastByte) {
    const std::string even = Swap("zz" + kStart + "AB" + kEnd + "zz");
    EXPECT_EQ(UnscrambleText(even + "Q"), UnscrambleText(even));
    EXPECT_EQ(UnscrambleText(even + "Q"), "AB");
}

TEST(Unscramble, MissingMarkers) {
    // No start marker: the first 26 bytes are dropped.
    const std::string plain = std::string(26, '.') + "payload" + kEnd;
    EXPECT_EQ(UnscrambleText(Swap(plain)), "payload");
    EXPECT_EQ(UnscrambleText(Swap(std::string(26, '.'))), "");
    // No end marker: nothing.
    EXPECT_EQ(UnscrambleText(Swap("zz" + kStart + "payload")), "");
}

TEST(Unscramble, FirstStartMarkerWinsAndOnlyThePayloadIsUnescaped) {
    EXPECT_EQ(UnscrambleText(Swap("&r&n" + kStart + "a" + kStart + "b" + kEnd + "&r&n")),
              "a" + kStart + "b");
}

TEST(Unscramble, ANulInTheUnswappedTextEndsIt) {
    std::string plain = "zz" + kStart + "AB" + kEnd;
    plain[kStart.size() + 3] = '\0'; // inside the payload: the end marker is lost
    EXPECT_EQ(UnscrambleText(Swap(plain)), "");
}

TEST(Scramble, RoundTripsAndRefusesWhatCannotSurvive) {
    std::string out;
    const std::string payload = "caption\r\n\xB0\xA1\tX.EXE\r\n&r\r\n&n";
    ASSERT_TRUE(ScrambleText(payload, out));
    EXPECT_EQ(out.size() % 2, 0u);
    EXPECT_EQ(UnscrambleText(out), payload);
    EXPECT_FALSE(ScrambleText("a@~@b", out));
    EXPECT_FALSE(ScrambleText("a&r&nb", out));
    EXPECT_FALSE(ScrambleText(std::string("a\0b", 3), out));
    EXPECT_FALSE(ScrambleText("x" + kEnd, out));
    EXPECT_TRUE(out.empty());
}
