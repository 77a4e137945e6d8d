#include "files/PcResultFile.h"
#include "Fakes.h"

#include <gtest/gtest.h>

using namespace ostravion;
using ostravion::test::MemoryFileSystem;

TEST(PcResultFile, HeaderLinesWithDashesAndNoBreaksInValues) {
    PcFacts f;
    f.Group = "\xB0\xA8\xBB\xE7"; // 감사
    f.ComputerName = "PC-01";
    f.User = "kim\r\nlee"; // a value never spills onto a second line
    f.ScanTime = "2024-5-6, 9:7 ";
    EXPECT_EQ(PcResultHeader(f),
              "[\xC4\xC4\xC7\xBB\xC5\xCD\xB8\xED]\r\nPC-01\r\n"
              "[\xBE\xD7\xC6\xBC\xBA\xEA\xBB\xE7\xBF\xEB\xC0\xDA]\r\nkim  lee\r\n"
              "[\xC4\xC4\xC7\xBB\xC5\xCD\xB1\xE2\xC1\xBE]\r\n-\r\n"
              "[\xB0\xCB\xBB\xE7\xC0\xCF\xBD\xC3]\r\n2024-5-6, 9:7 \r\n"
              "[\xB1\xD7\xB7\xEC]\r\n\xB0\xA8\xBB\xE7\r\n"
              "[\xB8\xAE\xBD\xBA\xC6\xAE]\r\n");
}

TEST(PcResultFile, ListLineHasElevenFieldsInFileOrder) {
    FoundProgram p;
    p.Origin = "2";
    p.Class = "1";
    p.KeyColumn0 = "k0";
    p.Kind = "APP";
    p.KeyColumn2 = "k2";
    p.ProgramName = "Word\tPro"; // a TAB would add a field
    p.Version = "";
    p.FileName = "WINWORD.EXE"; // not written
    p.FileSize = "1234";        // not written
    p.KeyColumn7 = "k7";
    p.Company = "Co";
    p.DomesticCode = "2";
    p.Folder = "C:\\Office\\";
    p.InstalledCount = "5"; // not written
    EXPECT_EQ(PcResultLine(p), "2\t1\tk0\tAPP\tk2\tWord Pro\t-\tk7\tCo\t2\tC:\\Office\\\t\r\n");
    EXPECT_EQ(PcResultLine(FoundProgram()), "-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t\r\n");
}

TEST(ScanJournal, StartReplacesAnOldJournalAndAppendAddsLines) {
    MemoryFileSystem fs;
    const std::string path = ".\\CheckOut\\G_N.tmp";
    fs.files[path] = "left over from an interrupted scan\r\n";
    PcFacts f;
    ASSERT_TRUE(StartScanJournal(fs, path, f));
    EXPECT_EQ(fs.files[path], PcResultHeader(f));
    FoundProgram a, b;
    a.Origin = "2";
    b.Origin = "9";
    EXPECT_TRUE(AppendScanJournal(fs, path, a));
    EXPECT_TRUE(AppendScanJournal(fs, path, b));
    EXPECT_EQ(fs.files[path], PcResultHeader(f) + PcResultLine(a) + PcResultLine(b));
}

TEST(ScanJournal, FailuresAreSilent) {
    MemoryFileSystem fs;
    const std::string path = ".\\CheckOut\\G_N.tmp";
    fs.unwritable.insert(path);
    EXPECT_FALSE(StartScanJournal(fs, path, PcFacts()));
    EXPECT_FALSE(AppendScanJournal(fs, path, FoundProgram()));
    EXPECT_EQ(fs.files.count(path), 0u);
}
