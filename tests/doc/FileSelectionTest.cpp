#include "doc/FileSelection.h"
#include "Fakes.h"
#include "util/AuditUtil.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

namespace {
// Names in these tests are ASCII or given as CP949 with a UTF-8 twin here.
struct TableCodec final : TextCodec {
    std::map<std::string, std::string> toUtf8;
    std::string ToUtf8(const std::string& s) const override {
        const auto it = toUtf8.find(s);
        return it == toUtf8.end() ? s : it->second;
    }
    std::string FromUtf8(const std::string& s) const override { return s; }
};
} // namespace

TEST(FileSelection, DefaultNameIsTheFourteenDigitTimeStamp) {
    EXPECT_EQ(DefaultResultName({2004, 3, 3, 9, 5, 7}), "20040303090507");
    EXPECT_EQ(DefaultResultName({2026, 12, 31, 23, 59, 59}), "20261231235959");
}

TEST(FileSelection, NamesCompareAsNtfsOrdersThem) {
    // Letter case aside, then UTF-16 code units: "_" (U+005F) after the letters.
    EXPECT_EQ(CompareFileNames("abc.ipt", "ABC.IPT"), 0);
    EXPECT_LT(CompareFileNames("a.ipt", "_x.ipt"), 0);
    EXPECT_LT(CompareFileNames("B.ipt", "c.ipt"), 0);
    EXPECT_LT(CompareFileNames("pc1.ipt", "pc10.ipt"), 0);
    EXPECT_LT(CompareFileNames("pc1", "pc1.ipt"), 0);
    // Hanja (U+4E00 block) before Hangul (U+AC00 block), although CP949 puts
    // Hanja after Hangul; the extended syllable 똠 (U+B620) between 다 and 라.
    EXPECT_LT(CompareFileNames("\xE4\xB8\x80", "\xEA\xB0\x80"), 0); // 一 < 가
    EXPECT_LT(CompareFileNames("\xEB\x8B\xA4", "\xEB\x98\xA0"), 0); // 다 < 똠
    EXPECT_LT(CompareFileNames("\xEB\x98\xA0", "\xEB\x9D\xBC"), 0); // 똠 < 라
    // Full-width and Greek letters fold like ASCII ones.
    EXPECT_EQ(CompareFileNames("\xEF\xBD\x81", "\xEF\xBC\xA1"), 0);         // ａ = Ａ
    EXPECT_EQ(CompareFileNames("\xCE\xB1\xCF\x82", "\xCE\x91\xCE\xA3"), 0); // ας = ΑΣ
}

TEST(FileSelection, ListsPerPcFilesOfTheWorkFolderInNameOrder) {
    MemoryFileSystem fs;
    TableCodec codec;
    const std::string dir = ".\\CheckOut\\";
    for (const char* name : {"_late.ipt", "b.IPT", "a.ipt", "total.tls", "a.ipt.bak", "A1.ipt"})
        fs.files[dir + name] = "x";
    fs.files[dir + "sub\\c.ipt"] = "x";
    fs.files[".\\elsewhere.ipt"] = "x";
    const std::string hangul = "\xB0\xA1.ipt", hanja = "\xEC\xE9.ipt"; // 가.ipt, 一.ipt
    fs.files[dir + hangul] = "x";
    fs.files[dir + hanja] = "x";
    codec.toUtf8[hangul] = "\xEA\xB0\x80.ipt";
    codec.toUtf8[hanja] = "\xE4\xB8\x80.ipt";
    EXPECT_EQ(ListPerPcFiles(fs, codec),
              (std::vector<std::string>{"a.ipt", "A1.ipt", "b.IPT", "_late.ipt", hanja, hangul}));
    MemoryFileSystem empty;
    EXPECT_TRUE(ListPerPcFiles(empty, codec).empty());
}

TEST(FileSelection, MarksSelectAllAndAccept) {
    MemoryFileSystem fs;
    RecordingMessages messages;
    CAuditUtil util(fs, messages);
    FileSelection list({"a.ipt", "b.ipt", "c.ipt"});
    EXPECT_FALSE(list.IsChecked(0));

    // Nothing marked: the message, and nothing chosen.
    util.SetSelectedFiles({"old.ipt"});
    EXPECT_FALSE(list.Accept(util));
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{"\xBC\xB1\xC5\xC3\xB5\xC8 \xC6\xC4\xC0\xCF"
                                       "\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9."});
    EXPECT_EQ(util.SelectedFiles(), std::vector<std::string>{"old.ipt"});

    list.Toggle(2);
    list.Toggle(0);
    list.Toggle(7); // past the end: nothing
    EXPECT_TRUE(list.Accept(util));
    EXPECT_EQ(util.SelectedFiles(), (std::vector<std::string>{"a.ipt", "c.ipt"}));

    list.SetAll(true);
    EXPECT_EQ(list.Checked().size(), 3u);
    list.SetAll(false);
    EXPECT_TRUE(list.Checked().empty());
}
