#include "util/AuditUtil.h"
#include "Fakes.h"

#include <gtest/gtest.h>

using namespace ostravion;
using ostravion::test::FakeProgressFactory;
using ostravion::test::MemoryFileSystem;
using ostravion::test::RecordingMessages;

namespace {
struct UtilFixture : ::testing::Test {
    MemoryFileSystem fs;
    RecordingMessages messages;
    FakeProgressFactory progress;
    CAuditUtil util{fs, messages, &progress};
    void WindowsRules() { fs.rules = {false, false}; }
};
} // namespace

TEST_F(UtilFixture, StartsInTheScanLayoutWithTheWorkFolder) {
    EXPECT_EQ(util.GetLayoutFlag(), kScanLayout);
    EXPECT_EQ(util.GetWorkState(), kIdle);
    EXPECT_EQ(util.GetReportKind(), 0);
    EXPECT_EQ(util.ResultFolder(), ".\\CheckOut\\");
    EXPECT_FALSE(util.HasProgress());
}

TEST_F(UtilFixture, ScanBaseNameFormsJournalAndResultPathsKeepingCase) {
    util.SetScanBaseName("Acme_PC01");
    EXPECT_EQ(util.JournalPath(), ".\\CheckOut\\Acme_PC01.tmp");
    EXPECT_EQ(util.ScanResultPath(), ".\\CheckOut\\Acme_PC01.ipt");
}

TEST_F(UtilFixture, PathFormOnWindowsLowersTheWholePath) {
    WindowsRules();
    EXPECT_TRUE(util.SetResultNames("C:\\Audit\\Total.TLS", CAuditUtil::NameForm::Path));
    EXPECT_EQ(util.ResultFolder(), "c:\\audit\\");
    EXPECT_EQ(util.TotalFileName(), "total.tls");
    EXPECT_EQ(util.BaseName(), "total");
    EXPECT_EQ(util.ResultFileName(), "total.rst");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UtilFixture, NamesOnACaseSensitiveSystemKeepTheirCase) {
    EXPECT_TRUE(util.SetResultNames("/home/Kim/CheckOut/Final.TLS", CAuditUtil::NameForm::Path));
    EXPECT_EQ(util.ResultFolder(), "/home/Kim/CheckOut/");
    EXPECT_EQ(util.TotalFileName(), "Final.TLS");
    EXPECT_EQ(util.BaseName(), "Final");
    EXPECT_EQ(util.ResultPath(".tls"), "/home/Kim/CheckOut/Final.tls");
    EXPECT_EQ(util.ResultFileName(), "Final.rst");

    EXPECT_TRUE(util.SetResultNames("Audit", CAuditUtil::NameForm::Name));
    EXPECT_EQ(util.ResultPath(".tls"), ".\\CheckOut\\Audit.tls");
    EXPECT_EQ(util.ResultFileName(), "Audit.rst");
    EXPECT_TRUE(util.SetResultNames("Audit.Tls", CAuditUtil::NameForm::Name));
    EXPECT_EQ(util.TotalFileName(), "Audit.Tls");
    EXPECT_EQ(util.BaseName(), "Audit");
}

TEST_F(UtilFixture, OpeningFollowsTheLowerCaseTotalOfEarlierVersions) {
    fs.files[".\\CheckOut\\audit.tls"] = "old";
    ASSERT_TRUE(util.SetResultNames("Audit", CAuditUtil::NameForm::Name));
    EXPECT_TRUE(util.FollowLowerCaseTotal());
    EXPECT_EQ(util.ResultPath(".tls"), ".\\CheckOut\\audit.tls");
    EXPECT_EQ(util.TotalFileName(), "audit.tls");
    EXPECT_EQ(util.ResultFileName(), "audit.rst");

    // The name as given wins when its file exists, and a missing one stays
    // missing when there is no lower-case file either.
    fs.files[".\\CheckOut\\Audit.tls"] = "new";
    ASSERT_TRUE(util.SetResultNames("Audit", CAuditUtil::NameForm::Name));
    EXPECT_FALSE(util.FollowLowerCaseTotal());
    EXPECT_EQ(util.BaseName(), "Audit");
    ASSERT_TRUE(util.SetResultNames("/w/CheckOut/Other.tls", CAuditUtil::NameForm::Path));
    EXPECT_FALSE(util.FollowLowerCaseTotal());
    EXPECT_EQ(util.ResultPath(".tls"), "/w/CheckOut/Other.tls");
}

TEST_F(UtilFixture, PathFormRefusals) {
    WindowsRules();
    EXPECT_FALSE(util.SetResultNames("Total.tls", CAuditUtil::NameForm::Path));
    EXPECT_EQ(messages.shown.back(), "File is Bad Path...");
    EXPECT_EQ(util.ResultFolder(), ".\\CheckOut\\");

    EXPECT_FALSE(util.SetResultNames("C:\\Audit\\Total.txt", CAuditUtil::NameForm::Path));
    EXPECT_EQ(messages.shown.back(), "File is Bad Named...");
    EXPECT_EQ(util.ResultFolder(), "c:\\audit\\"); // only the folder changed
    EXPECT_EQ(util.TotalFileName(), "");
    EXPECT_EQ(util.BaseName(), "");
}

TEST_F(UtilFixture, NameFormOnWindows) {
    WindowsRules();
    util.SetResultNames("C:\\x\\old.tls", CAuditUtil::NameForm::Path);
    EXPECT_TRUE(util.SetResultNames("Audit2004", CAuditUtil::NameForm::Name));
    EXPECT_EQ(util.ResultFolder(), ".\\CheckOut\\");
    EXPECT_EQ(util.TotalFileName(), "audit2004.tls");
    EXPECT_EQ(util.BaseName(), "audit2004");
    EXPECT_EQ(util.ResultFileName(), "audit2004.rst");
    EXPECT_EQ(util.ResultPath(".tls"), ".\\CheckOut\\audit2004.tls");

    EXPECT_TRUE(util.SetResultNames("given.tls", CAuditUtil::NameForm::Name));
    EXPECT_EQ(util.TotalFileName(), "given.tls");
    EXPECT_EQ(util.BaseName(), "given");
}

TEST_F(UtilFixture, NameFormRefusesAnyFolderSeparator) {
    EXPECT_TRUE(util.SetResultNames("keep", CAuditUtil::NameForm::Name));
    for (const char* bad : {"..\\escape", "../escape", "sub/name"}) {
        EXPECT_FALSE(util.SetResultNames(bad, CAuditUtil::NameForm::Name)) << bad;
        EXPECT_EQ(messages.shown.back(), "File is Bad Path or Bad Function paramater...");
        EXPECT_EQ(util.BaseName(), "keep");
    }
    // A slash is refused whatever the system's rules: Windows takes it as a
    // separator too.
    WindowsRules();
    EXPECT_FALSE(util.SetResultNames("a/b", CAuditUtil::NameForm::Name));
}

TEST(PlainFileName, OnlyNamesAFileInTheWorkFolder) {
    for (const std::string& bad : std::vector<std::string>{
             "..\\x", "a\\b", "a/b", "/abs", "..", "a..b", "c:x", "C:\\Windows\\x", "x:y",
             std::string("a\0b", 3), "con", "CON.tls", "Nul", "aux.x.y", "prn ", "com1", "LPT9.txt",
             // A lead byte cannot hide the separator that follows it.
             "\xB0\\x"})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    for (const std::string& good : std::vector<std::string>{
             "audit2004", "total.tls", "G_N", ".hidden", "a.b.c", "console", "com0", "com10", "lpt",
             "-", "\xC7\xD5\xB0\xE8" /* 합계 */, "\xB0\xA1\xB3\xAA_\xB4\xD9"})
        EXPECT_TRUE(IsPlainFileName(good)) << good;
}

TEST_F(UtilFixture, NameFormRefusesNamesThatLeaveTheWorkFolder) {
    ASSERT_TRUE(util.SetResultNames("keep", CAuditUtil::NameForm::Name));
    for (const std::string& bad :
         std::vector<std::string>{"c:audit", "..", "con", std::string("x\0..\\y", 6)}) {
        messages.shown.clear();
        EXPECT_FALSE(util.SetResultNames(bad, CAuditUtil::NameForm::Name));
        EXPECT_EQ(messages.shown,
                  std::vector<std::string>{"File is Bad Path or Bad Function paramater..."});
        EXPECT_EQ(util.ResultPath(".tls"), ".\\CheckOut\\keep.tls");
    }
    // A path from a file dialog goes where it says.
    EXPECT_TRUE(util.SetResultNames("D:\\elsewhere\\x.tls", CAuditUtil::NameForm::Path));
    EXPECT_EQ(util.ResultPath(".tls"), "D:\\elsewhere\\x.tls");
}

TEST_F(UtilFixture, StartDirectoryRecordedAndRestored) {
    fs.cwd = "/audit";
    util.RecordStartDirectory();
    fs.cwd = "/elsewhere";
    util.RestoreStartDirectory();
    EXPECT_EQ(fs.cwd, "/audit");
    EXPECT_EQ(util.StartDirectory(), "/audit");
}

TEST_F(UtilFixture, FactsAndSelectionCopiedWhole) {
    PcFacts f{"G", "PC", "kim", "Intel 6 Revision 1", "2004-3-3, 9:5 "};
    util.SetPcFacts(f);
    EXPECT_EQ(util.GetPcFacts(), f);
    util.SetSelectedFiles({"a.ipt", "b.ipt"});
    EXPECT_EQ(util.SelectedFiles(), (std::vector<std::string>{"a.ipt", "b.ipt"}));
}

TEST(AuditUtilProgress, OperationsDoNothingWithoutABar) {
    MemoryFileSystem fs;
    RecordingMessages messages;
    CAuditUtil util(fs, messages, nullptr);
    util.ShowProgress("x");
    util.StepProgress(3);
    util.NarrowStep(4);
    util.FillProgress();
    util.PrepareProgressRange("검색중", 5);
    EXPECT_FALSE(util.HasProgress());
}

TEST_F(UtilFixture, StepArithmeticSharesAFolderEvenly) {
    util.PrepareProgressRange("scan", 3); // three top-level folders
    ASSERT_TRUE(util.HasProgress());
    EXPECT_EQ(progress.last->upper_, 3000);
    EXPECT_FLOAT_EQ(util.ProgressStep(), 3000.0f);
    util.NarrowStep(4); // a root with three sub-folders
    EXPECT_EQ(progress.last->step_, 750);
    util.NarrowStep(3);
    EXPECT_EQ(progress.last->step_, 250);
    util.StepProgress(1);
    util.WidenStep(3);
    EXPECT_EQ(progress.last->step_, 750);
    EXPECT_EQ(progress.last->pos_, 250);
    util.StepProgress(0);
    util.StepProgress(-1);
    EXPECT_EQ(progress.last->pos_, 250);
    util.FillProgress();
    EXPECT_EQ(progress.last->pos_, 3000);
    util.NarrowStep(0); // ignored
    EXPECT_EQ(progress.last->step_, 750);
}

TEST_F(UtilFixture, NoSubfoldersGiveAnEmptyRangeAndZeroSteps) {
    util.PrepareProgressRange("scan", 0);
    util.NarrowStep(1);
    EXPECT_EQ(progress.last->upper_, 0);
    EXPECT_EQ(progress.last->step_, 0);
}

TEST_F(UtilFixture, ANewBarReplacesTheOld) {
    util.ShowProgress("one");
    util.ShowProgress("two");
    util.DestroyProgress();
    EXPECT_FALSE(util.HasProgress());
    EXPECT_EQ(progress.log.front(), "create one");
}
