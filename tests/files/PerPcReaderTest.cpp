#include "files/PerPcReader.h"
#include "Fakes.h"
#include "FileTexts.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

TEST(PerPcReader, HeaderAndListLinesByColumn) {
    const std::string bytes =
        PerPcHeader("PC-01") +
        Line({"2", "1", "k0", "APP", "k2", "Word Pro", "1.0", "k7", "Acme", "1", "C:\\W\\"}) +
        Line({"9", "3", "-", "-", "-", kHangul, "-", "-", kHancom, "-", "C:\\H\\"});
    const PerPcFile f = ParsePerPcFile(bytes);
    EXPECT_EQ(f.computerName, "PC-01");
    EXPECT_TRUE(f.hasList);
    ASSERT_EQ(f.programs.size(), 2u);
    const FoundProgram& p = f.programs[0];
    EXPECT_EQ(p.Origin, "2");
    EXPECT_EQ(p.Class, "1");
    EXPECT_EQ(p.KeyColumn0, "k0");
    EXPECT_EQ(p.Kind, "APP");
    EXPECT_EQ(p.KeyColumn2, "k2");
    EXPECT_EQ(p.ProgramName, "Word Pro");
    EXPECT_EQ(p.Version, "1.0");
    EXPECT_EQ(p.KeyColumn7, "k7");
    EXPECT_EQ(p.Company, "Acme");
    EXPECT_EQ(p.DomesticCode, "1");
    EXPECT_EQ(p.Folder, "C:\\W\\");
    EXPECT_TRUE(p.FileName.empty() && p.InstalledCount.empty());
    EXPECT_EQ(f.programs[1].ProgramName, kHangul);
    EXPECT_EQ(f.programs[1].Company, kHancom);
}

TEST(PerPcReader, FieldCountRules) {
    const std::string bytes = PerPcHeader("PC") +
                              // nine fields: ignored
                              Line({"2", "1", "a", "b", "c", "Nine", "1", "d", "Co"}) +
                              // ten fields: no folder
                              Line({"2", "1", "a", "b", "c", "Ten", "1", "d", "Co", "2"}) +
                              // an empty field between TABs reads "-"
                              "9\t3\t\t\t\tEmpty\t\t\tCo\t\tC:\\E\\\t\r\n"
                              // the last line without CR LF still counts
                              "9\t3\t-\t-\t-\tLast\t-\t-\tCo\t-\tC:\\L\\\t";
    const PerPcFile f = ParsePerPcFile(bytes);
    ASSERT_EQ(f.programs.size(), 3u);
    EXPECT_EQ(f.programs[0].ProgramName, "Ten");
    EXPECT_EQ(f.programs[0].Folder, "-");
    EXPECT_EQ(f.programs[1].KeyColumn0, "-");
    EXPECT_EQ(f.programs[1].Version, "-");
    EXPECT_EQ(f.programs[1].DomesticCode, "-");
    EXPECT_EQ(f.programs[2].ProgramName, "Last");
}

TEST(PerPcReader, HeadersCountOnlyAtTheStartOfALine) {
    // "[리스트]" inside a line does not end the header; nor does a value line
    // that happens to read "[리스트]".
    const std::string bytes = kComputerH + "\r\n" + kListH + "\r\n" + "x" + kListH + "\r\n" +
                              Line({"2", "1", "a", "b", "c", "Early", "1", "d", "Co", "1", "F"}) +
                              kListH + " trailing text\r\n" +
                              Line({"2", "1", "a", "b", "c", "Late", "1", "d", "Co", "1", "F"});
    const PerPcFile f = ParsePerPcFile(bytes);
    EXPECT_EQ(f.computerName, kListH);
    ASSERT_EQ(f.programs.size(), 1u);
    EXPECT_EQ(f.programs[0].ProgramName, "Late");
}

TEST(PerPcReader, NoListMeansNoPrograms) {
    const std::string bytes = kComputerH + "\r\nPC-E\r\n" +
                              Line({"2", "1", "a", "b", "c", "Orphan", "1", "d", "Co", "1", "F"});
    const PerPcFile f = ParsePerPcFile(bytes);
    EXPECT_EQ(f.computerName, "PC-E");
    EXPECT_FALSE(f.hasList);
    EXPECT_TRUE(f.programs.empty());
}

TEST(PerPcReader, ComputerHeaderOnTheLastLineGivesNoName) {
    EXPECT_EQ(ParsePerPcFile("junk\r\n" + kComputerH + "\r\n").computerName, "");
    EXPECT_EQ(ParsePerPcFile(kComputerH).computerName, "");
    EXPECT_EQ(ParsePerPcFile("").computerName, "");
}

TEST(PerPcReader, MissingFileIsReportedAndLeavesNothing) {
    MemoryFileSystem fs;
    PerPcFile f;
    f.computerName = "stale";
    f.programs.resize(2);
    EXPECT_FALSE(ReadPerPcFile(fs, ".\\CheckOut\\none.ipt", f));
    EXPECT_EQ(f.computerName, "");
    EXPECT_TRUE(f.programs.empty());
    fs.files[".\\CheckOut\\a.ipt"] = PerPcHeader("A");
    EXPECT_TRUE(ReadPerPcFile(fs, ".\\CheckOut\\a.ipt", f));
    EXPECT_EQ(f.computerName, "A");
    EXPECT_TRUE(f.hasList);
}
