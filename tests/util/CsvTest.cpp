#include "util/Csv.h"

#include <gtest/gtest.h>

using namespace ostravion;

namespace {

using Fields = std::vector<std::string>;

std::vector<csv::Record> ParseOk(std::string_view text) {
    std::vector<csv::Record> records;
    std::string error;
    EXPECT_TRUE(csv::Parse(text, records, error)) << error;
    return records;
}

TEST(Csv, QuotesByteOrderMarkLineEndsAndEmptyLines) {
    const auto r = ParseOk("\xEF\xBB\xBF"
                           "Word,3\r\n"
                           "\"Office, \"\"Pro\"\"\",2\n"
                           "\n"
                           "\"two\r\nlines\",1\r"
                           "last,,\n"
                           ",x");
    ASSERT_EQ(5u, r.size());
    EXPECT_EQ((Fields{"Word", "3"}), r[0].fields);
    EXPECT_EQ(1, r[0].line);
    EXPECT_EQ((Fields{"Office, \"Pro\"", "2"}), r[1].fields);
    EXPECT_EQ(2, r[1].line);
    EXPECT_EQ((Fields{"two\r\nlines", "1"}), r[2].fields);
    EXPECT_EQ(4, r[2].line);
    EXPECT_EQ((Fields{"last", "", ""}), r[3].fields);
    EXPECT_EQ(6, r[3].line);
    EXPECT_EQ((Fields{"", "x"}), r[4].fields);
    EXPECT_TRUE(ParseOk("").empty());
    EXPECT_TRUE(ParseOk("\xEF\xBB\xBF\r\n\r\n").empty());
}

TEST(Csv, BrokenQuotesAreReportedWithTheirLine) {
    std::vector<csv::Record> records;
    std::string error;
    EXPECT_FALSE(csv::Parse("a,1\n\"open,2\nb,3\n", records, error));
    // "2번째 줄: 따옴표로 연 칸이 닫히지 않았습니다."
    EXPECT_EQ(
        "2\xB9\xF8\xC2\xB0 \xC1\xD9: \xB5\xFB\xBF\xC8\xC7\xA5\xB7\xCE \xBF\xAC \xC4\xAD\xC0\xCC "
        "\xB4\xDD\xC8\xF7\xC1\xF6 \xBE\xCA\xBE\xD2\xBD\xC0\xB4\xCF\xB4\xD9.",
        error);
    EXPECT_FALSE(csv::Parse("a,1\n\"x\"y,2\n", records, error));
    EXPECT_EQ(0u, error.find("2\xB9\xF8\xC2\xB0 \xC1\xD9: \xB4\xDD")); // "2번째 줄: 닫"
    EXPECT_EQ(1u, records.size());
}

TEST(Csv, WritingQuotesOnlyWhatNeedsIt) {
    EXPECT_EQ("plain", csv::Field("plain"));
    EXPECT_EQ("\"a,b\"", csv::Field("a,b"));
    EXPECT_EQ("\"say \"\"hi\"\"\"", csv::Field("say \"hi\""));
    EXPECT_EQ("\"two\r\nlines\"", csv::Field("two\r\nlines"));
    const Fields fields{"a,b", "", "q\"", "x\ny"};
    const std::string line = csv::Line(fields);
    EXPECT_EQ("\"a,b\",,\"q\"\"\",\"x\ny\"\r\n", line);
    const auto back = ParseOk(line);
    ASSERT_EQ(1u, back.size());
    EXPECT_EQ(fields, back[0].fields);
}

TEST(Csv, TextsThatASpreadsheetWouldRunAsFormulasStayText) {
    EXPECT_EQ("\"'=HYPERLINK(\"\"http://x\"\")\"", csv::Field("=HYPERLINK(\"http://x\")"));
    EXPECT_EQ("'+cmd|' /C calc'!A0", csv::Field("+cmd|' /C calc'!A0"));
    EXPECT_EQ("'@SUM(A1)", csv::Field("@SUM(A1)"));
    EXPECT_EQ("'-2+3", csv::Field("-2+3"));
    EXPECT_EQ("'-x", csv::Field("-x"));
    EXPECT_EQ("'\tx", csv::Field("\tx"));
    EXPECT_EQ("\"'\rx\"", csv::Field("\rx"));
    EXPECT_EQ("\"'=1,2\"", csv::Field("=1,2"));
    // Counts, rates and the lone "-" are no formulas.
    for (const char* kept : {"-", "-2", "0", "12", "-12.50%", "0.00%", "3.5", "a=b", ""})
        EXPECT_EQ(kept, csv::Field(kept));
    // Read back, the text is the apostrophe and the value.
    const auto back = ParseOk(csv::Line({"=1,2", "-3"}));
    ASSERT_EQ(1u, back.size());
    EXPECT_EQ((Fields{"'=1,2", "-3"}), back[0].fields);
}

} // namespace
