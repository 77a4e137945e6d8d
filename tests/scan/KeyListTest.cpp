#include "scan/KeyList.h"
#include "Fakes.h"
#include "files/Container.h"

#include <gtest/gtest.h>

using namespace ostravion;
using ostravion::test::MemoryFileSystem;
using ostravion::test::RecordingMessages;

namespace {
const std::string kDomestic = "\xB1\xB9\xB3\xBB"; // 국내
const std::string kForeign = "\xB1\xB9\xBF\xDC";  // 국외

std::string Container(const std::string& payload) {
    std::string out;
    EXPECT_TRUE(ScrambleText(payload, out));
    return out;
}

int MatchWith(const KeyList& k, const std::string& name, const std::string& size,
              const std::string& fileVersion, std::string* versionOut = nullptr,
              int* reads = nullptr) {
    std::string version;
    const int r = k.Match(
        name, size,
        [&] {
            if (reads)
                ++*reads;
            return fileVersion;
        },
        version);
    if (versionOut)
        *versionOut = version;
    return r;
}
} // namespace

TEST(KeyListLoad, ColumnsDashesAndMissingColumns) {
    KeyList k;
    k.LoadFromPayload("caption\tx\tx\tx\tx\r\n"
                      "a\tb\tc\td\r\n"          // four columns: skipped
                      "k0\t\tk2\tName\t1.0\r\n" // five, column 1 empty
                      "k0\tAPP\tk2\tWord\t9.0\tWinword.exe\t123\tk7\tCo\t" +
                      kDomestic +
                      "\r\n"
                      "k0\tAPP\tk2\tX\t1\tx.exe\t1\tk7\tCo\t" +
                      kDomestic +
                      " \r\n"
                      "k0\tAPP\tk2\tY\t1\ty.exe\t1\tk7\tCo\t" +
                      kForeign + "\t\r\n");
    ASSERT_EQ(k.Size(), 5u);
    EXPECT_EQ(k.Column(1, 1), "-");
    for (int c = 5; c <= 8; ++c)
        EXPECT_EQ(k.Column(c, 1), "") << c;
    EXPECT_EQ(k.DomesticCode(1), "");
    EXPECT_EQ(k.ExeNameUpper(1), "");
    EXPECT_EQ(k.Column(5, 2), "Winword.exe");
    EXPECT_EQ(k.ExeNameUpper(2), "WINWORD.EXE");
    EXPECT_EQ(k.DomesticCode(2), "1");
    EXPECT_EQ(k.DomesticCode(3), ""); // "국내 " with a blank
    EXPECT_EQ(k.DomesticCode(4), "2");
}

TEST(KeyListLoad, MessagesForMissingAndEmptyFiles) {
    MemoryFileSystem fs;
    RecordingMessages messages;
    KeyList k;
    EXPECT_FALSE(k.Load(fs, messages));
    EXPECT_EQ(messages.shown.back(), "Key File Open Error...");
    fs.files["KEYLIST.DAT"] = "";
    EXPECT_FALSE(k.Load(fs, messages));
    EXPECT_EQ(messages.shown.back(), "Key File Read Error...");
    // A malformed container is no error: it merely has no entries.
    fs.files["KEYLIST.DAT"] = "garbage without markers";
    EXPECT_TRUE(k.Load(fs, messages));
    EXPECT_EQ(k.Size(), 0u);
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST(KeyListLoad, ReadsTheContainerUpToItsFirstNul) {
    MemoryFileSystem fs;
    RecordingMessages messages;
    std::string bytes = Container("c\tx\tx\tx\tx\r\nk\tA\tk\tN\t1\tN.EXE\t1");
    fs.files["KEYLIST.DAT"] = bytes;
    KeyList k;
    ASSERT_TRUE(k.Load(fs, messages));
    EXPECT_EQ(k.Size(), 2u);
    fs.files["KEYLIST.DAT"] = bytes.substr(0, 20) + std::string(1, '\0') + bytes.substr(20);
    ASSERT_TRUE(k.Load(fs, messages));
    EXPECT_EQ(k.Size(), 0u); // the end marker lies past the NUL
}

TEST(KeyListMatch, EntryZeroNeverIdentifiesButAnIdenticalSecondLineDoes) {
    KeyList k;
    const std::string line = "k\tAPP\tk\tNotepad\t5.1\tNOTEPAD.EXE\t100\tk7\tCo\t" + kForeign;
    k.LoadFromPayload(line);
    EXPECT_EQ(MatchWith(k, "NOTEPAD.EXE", "100", ""), 0);
    k.LoadFromPayload(line + "\r\n" + line);
    EXPECT_EQ(MatchWith(k, "NOTEPAD.EXE", "100", ""), 0); // entry 0 is still first
    k.LoadFromPayload(line + "\r\n" + "k\tAPP\tk\tNotepad\t5.1\tNOTEPAD.EXE\t999\tk7\tCo\t\r\n" +
                      line);
    EXPECT_EQ(MatchWith(k, "NOTEPAD.EXE", "100", ""), 0);
}

TEST(KeyListMatch, SizeBeforeVersionFirstEntryInFileOrder) {
    KeyList k;
    k.LoadFromPayload("caption\tx\tx\tx\tx\r\n"
                      "k\tAPP\tk\tWord\t9.0\tWinword.exe\t111\r\n"
                      "k\tAPP\tk\tWord\t10.0\twinword.EXE\t222\r\n"
                      "k\tAPP\tk\tOther\t1\tother.exe\t5\r\n"
                      "k\tAPP\tk\tWord\t11.0\tWINWORD.EXE\t333");
    std::string version;
    int reads = 0;
    EXPECT_EQ(MatchWith(k, "WINWORD.EXE", "222", "9.0", &version, &reads), 1); // version of entry 1
    EXPECT_EQ(version, "9.0");
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(MatchWith(k, "WINWORD.EXE", "333", "none"), 4);
    EXPECT_EQ(MatchWith(k, "WINWORD.EXE", "222", "none"), 2);
    EXPECT_EQ(MatchWith(k, "WINWORD.EXE", "0", "none", &version), kNameListedNoMatch);
    EXPECT_EQ(version, "none");
    // Comparisons are exact: "9.0 " is no match.
    EXPECT_EQ(MatchWith(k, "WINWORD.EXE", "0", "9.0 "), kNameListedNoMatch);
}

TEST(KeyListMatch, UnlistedNamesAndTheExecutableTest) {
    KeyList k;
    k.LoadFromPayload("caption\tx\tx\tx\tx\r\nk\tAPP\tk\tWord\t9.0\tWINWORD.EXE\t111");
    int reads = 0;
    EXPECT_EQ(MatchWith(k, "README.TXT", "1", "", nullptr, &reads), 0);
    EXPECT_EQ(MatchWith(k, "SETUP.EXE.OLD", "1", "", nullptr, &reads), kUnlistedExecutable);
    EXPECT_EQ(MatchWith(k, "A.EXE", "1", "", nullptr, &reads), kUnlistedExecutable);
    EXPECT_EQ(reads, 0); // no version is read for an unlisted name
}

TEST(KeyListMatch, EmptyKeyListKnowsNoName) {
    KeyList k;
    k.LoadFromPayload("");
    EXPECT_EQ(MatchWith(k, "X.EXE", "1", ""), kUnlistedExecutable);
}
