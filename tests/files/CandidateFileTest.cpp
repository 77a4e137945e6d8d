#include "files/CandidateFile.h"
#include "files/FileTexts.h"

#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

namespace {
// A candidate line of a PC: the key-list columns, then the folder.
std::string PcLine(const std::string& exe, const std::string& size, const std::string& version,
                   const std::string& folder) {
    return Line({"-", "-", "-", "Tool", version, exe, size, "-", "Acme", "-", folder});
}

Candidate Cand(const std::string& exe, const std::string& size, const std::string& version,
               const std::string& folder) {
    return ReadCandidates(PcLine(exe, size, version, folder)).at(0);
}
} // namespace

// Only programs found outside the key list become lines, with the file's own
// name and size; a field that would break the line is blanked.
TEST(CandidateFile, PerPcLinesFromFoundPrograms) {
    FoundProgram listed;
    listed.Origin = "2";
    listed.Class = "1";
    listed.ProgramName = "Word";
    FoundProgram unlisted;
    unlisted.Origin = "9";
    unlisted.Class = "4"; // a repeat the document marked: still not in the key list
    unlisted.ProgramName = "New\tTool";
    unlisted.FileName = "Tool.exe";
    unlisted.FileSize = "-5";
    unlisted.Company = kHancom;
    unlisted.Folder = "C:\\T\\";
    const std::string text = PcCandidatesText({&listed, nullptr, &unlisted});
    EXPECT_EQ(text, Line({"-", "-", "-", "New Tool", "-", "Tool.exe", "-5", "-", kHancom, "-",
                          "C:\\T\\"}));
    const std::vector<Candidate> back = ReadCandidates(text);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].columns[candfile::kExeName], "Tool.exe");
    EXPECT_EQ(back[0].pcs, 1);
    // A lead byte at a field's end would swallow the TAB after it.
    unlisted.Folder = "C:\\\xB0";
    EXPECT_EQ(ReadCandidates(PcCandidatesText({&unlisted})).at(0).folder, "C:\\?");
    EXPECT_EQ(CandidatesPath(".\\CheckOut\\G_N.ipt"), ".\\CheckOut\\G_N.cand");
    EXPECT_EQ(CandidatesPath(".\\Check.Out\\T"), ".\\Check.Out\\T.cand");
}

// Lines without all eleven fields, an executable name or a numeric size are
// left out and counted; a total's PC count is read back.
TEST(CandidateFile, ReaderSkipsBadLines) {
    const std::string text =
        PcLine("A.EXE", "10", "1.0", "C:\\") + "garbage\r\n" +
        Line({"-", "-", "-", "T", "1", "-", "10", "-", "Co", "-", "C:\\"}) +
        Line({"-", "-", "-", "T", "1", "B.EXE", "ten", "-", "Co", "-", "C:\\"}) +
        Line({"-", "-", "-", "T", "1", "C.EXE", "7", "-", "Co", "-"}) +
        Line({"-", "-", "-", "T", "1", "D.EXE", "7", "-", "Co", "-", "D:\\", "3"});
    long long bad = 0;
    const std::vector<Candidate> read = ReadCandidates(text, &bad);
    EXPECT_EQ(bad, 4);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].columns[candfile::kExeName], "A.EXE");
    EXPECT_EQ(read[1].pcs, 3);
    EXPECT_EQ(read[1].folder, "D:\\");
    EXPECT_TRUE(ReadCandidates("").empty());
}

// One row per executable (letter case aside), size and version; a PC that
// has a program in two folders counts once; most PCs first, ties in order of
// first appearance; the first PC's texts and folder are kept.
TEST(CandidateFile, GatheringCountsPcsAndSorts) {
    CandidateGathering g;
    g.AddPc({Cand("A.EXE", "10", "1.0", "C:\\A\\"), Cand("B.EXE", "20", "2.0", "C:\\B\\"),
             Cand("A.EXE", "10", "1.0", "D:\\A\\")});
    g.AddPc({Cand("c.exe", "30", "3.0", "C:\\C\\"), Cand("a.exe", "10", "1.0", "E:\\A\\"),
             Cand("A.EXE", "10", "1.1", "C:\\A\\")});
    g.AddPc({});
    g.AddPc({Cand("C.EXE", "30", "3.0", "F:\\C\\")});
    const std::vector<Candidate> r = g.Result();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].columns[candfile::kExeName] + r[0].folder + std::to_string(r[0].pcs),
              "A.EXEC:\\A\\2");
    EXPECT_EQ(r[1].columns[candfile::kExeName] + std::to_string(r[1].pcs), "c.exe2");
    EXPECT_EQ(r[2].columns[candfile::kExeName] + std::to_string(r[2].pcs), "B.EXE1");
    EXPECT_EQ(r[3].columns[candfile::kVersion], "1.1");
    EXPECT_EQ(TotalCandidatesText({r[1]}), Line({"-", "-", "-", "Tool", "3.0", "c.exe", "30", "-",
                                                 "Acme", "-", "C:\\C\\", "2"}));
}
