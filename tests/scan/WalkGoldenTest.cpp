// A whole scan over a fixture tree: the programs in emission order with all
// their slots, and the journal bytes, pinned by golden files in tests/scan/data.
// OSTRAVION_UPDATE_GOLDEN=1 rewrites them from the current behaviour.
#include "ScanFixture.h"
#include "files/PcResultFile.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace ostravion;
using namespace ostravion::test;

namespace {

const std::string kHangulCp949 = "\xC7\xD1\xB1\xDB"; // 한글
const std::string kHangulUtf8 = "\xED\x95\x9C\xEA\xB8\x80";

std::string GoldenPath(const std::string& name) {
    return std::string(OSTRAVION_TEST_DATA) + "/scan/data/" + name;
}

void CompareWithGolden(const std::string& name, const std::string& actual) {
    const std::string path = GoldenPath(name);
    if (std::getenv("OSTRAVION_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(actual, expected.str()) << "differs from " << path;
}

struct Golden : ScanFixture {
    void SetUp() override {
        SetKeyList("caption\tx\tx\tx\tx\r\n"
                   "K0\tAPP\tK2\tWord\t9.0\tWinword.exe\t1000\tK7\tMicrosoft\t" +
                   kForeign +
                   "\r\n"
                   "K0\tAPP\tK2\t\xC7\xD1\xB1\xDB\t7.0\tHWP.EXE\t2000\tK7\tHancom\t" +
                   kDomestic +
                   "\r\n"
                   "K0\tOS\tK2\tWindowsXP(Pro)\t5.1\tEXPLORER.EXE\t300\tK7\tMicrosoft\r\n"
                   "K0\tOS\tK2\tWindows2000-Professional\t5.0\tEXPLORER.EXE\t400\tK7\tMS\r\n"
                   "K0\tAPP\tK2\tInstaller\t1.0\tSETUP.EXE\t10\tK7\tX\t" +
                   kForeign +
                   "\r\n"
                   "K0\tAPP\tK2\tMulti\t3.0\tMULTI.EXE\t999\t\tMultiCo\t" +
                   kForeign +
                   "\r\n"
                   "K0\tAPP\tK2\tViewer\t2.0\tVIEWER.DLL\t500\tK7\tViewCo\r\n"
                   "K0\tAPP\t\tLate\t1.0\tLATE.EXE\t1\tK7\tLateCo\t" +
                   kDomestic + "\r\n");
        thread.SetOsVersionString("WindowsXP(Pro)");
        apps.names = {"SETUP.EXE.BAK", "UNINSTALL.EXE", "TAB\tTOOL.EXE", "NOCOMPANY.EXE"};

        const int c = search.AddRoot("/c/", 1);
        search.AddFile(c, "AUTOEXEC.BAT", 10);
        search.AddFile(c, "README", 10);
        search.AddFile(c, "ntldr.sys", 10, kAttrHidden | kAttrSystem | kAttrReadOnly);
        search.AddFile(c, "Winword.exe", 1000, kAttrReadOnly); // archive bit cleared
        search.AddFile(c, "hwp.exe", 2000);

        const int pf = search.AddFolder(c, "Program Files");
        search.AddFile(pf, "SETUP.EXE", 10);
        search.AddFile(pf, "setup.exe.bak", 77);
        versions.Set("/c/Program Files/setup.exe.bak", "CompanyName", "Backup Co");
        versions.Set("/c/Program Files/setup.exe.bak", "ProductName", "Setup backup");
        versions.Set("/c/Program Files/setup.exe.bak", "ProductVersion", "1.2\r\nbuild 5");
        search.AddFile(pf, "nocompany.exe", 5);
        const int office = search.AddFolder(pf, "Office");
        search.AddFile(office, "WINWORD.EXE", 1234);
        versions.Set("/c/Program Files/Office/WINWORD.EXE", "CompanyName", "Microsoft Corporation");
        versions.Set("/c/Program Files/Office/WINWORD.EXE", "FileDescription", "Microsoft Word");
        versions.Set("/c/Program Files/Office/WINWORD.EXE", "ProductVersion", "10.0");
        search.AddFile(office, "UNINSTALL.EXE", 10);
        versions.Set("/c/Program Files/Office/UNINSTALL.EXE", "CompanyName", "Microsoft");
        search.AddLink(office, "back", pf);
        search.AddFile(office, "MULTI.EXE", 5, kAttrHidden);
        versions.Set("/c/Program Files/Office/MULTI.EXE", "ProductVersion", "3.0\r\nbuild 7");
        const int cache = search.AddFolder(pf, "Temporary Internet Files");
        search.AddFile(cache, "hwp.exe", 2000);
        const int tabDir = search.AddFolder(pf, "tab\tdir");
        search.AddFile(tabDir, "hwp.exe", 2000);

        const int windows = search.AddFolder(c, "WINDOWS");
        search.AddFile(windows, "EXPLORER.EXE", 400);
        versions.Set("/c/WINDOWS/EXPLORER.EXE", "ProductVersion", "5.0.2195");
        const int system32 = search.AddFolder(windows, "system32");
        const int dllcache = search.AddFolder(system32, "dllcache");
        search.AddFile(dllcache, "EXPLORER.EXE", 300);

        const int rootCache = search.AddFolder(c, "Temporary Internet Files");
        search.AddFile(rootCache, "hwp.exe", 2000);
        const int hidden = search.AddFolder(c, ".cache", kAttrDirectory | kAttrHidden);
        search.AddFile(hidden, "viewer.dll", 500);
        const int mnt = search.AddFolder(c, "mnt", kAttrDirectory, 2);
        search.AddFile(mnt, "hwp.exe", 2000);
        const int locked = search.AddFolder(c, "locked");
        search.AddFile(locked, "hwp.exe", 2000);
        search.folders[locked].unreadable = true;
        const int hangul = search.AddFolder(c, kHangulCp949, kAttrDirectory, 0, kHangulUtf8);
        search.AddFile(hangul, "tab\ttool.exe", 4321, kAttrArchive, false);
        search.AddFile(hangul, "Data.txt", 12, kAttrArchive, false);
        const std::string tool = "/c/" + kHangulUtf8 + "/tab\ttool.exe";
        versions.Set(tool, "CompanyName", "Tab\tCo");
        versions.Set(tool, "FileDescription", "Tab\r\nTool");
        search.AddLink(c, "shortcut", system32); // listed, not entered
        search.AddFile(c, "late.exe", 1);

        const int d = search.AddRoot("/d/", 3);
        search.AddFile(search.AddFolder(d, "Program Files"), "hwp.exe", 2000);
        search.folders[search.AddRoot("/e/", 4)].unreadable = true;

        AddDrive("C:\\", "/c/");
        AddDrive("D:\\", "/d/");
        AddDrive("E:\\", "/e/");
    }
};

std::string Render(const std::vector<FoundProgram>& programs) {
    std::string out;
    for (FoundProgram p : programs) {
        for (const std::string* slot : p.Slots())
            out += "[" + *slot + "]";
        out += "\r\n";
    }
    return out;
}

} // namespace

TEST_F(Golden, ProgramsAndJournalOfAFixtureTree) {
    PcFacts facts{"\xB0\xA8\xBB\xE7", "PC-01", "kim", "", "2024-5-6, 9:7 "};
    util.SetScanBaseName("\xB0\xA8\xBB\xE7_PC-01");
    util.SetPcFacts(facts);
    ASSERT_TRUE(StartScanJournal(fs, util.JournalPath(), facts));
    EXPECT_EQ(thread.Run(), ScanOutcome::Completed);

    CompareWithGolden("walk_programs.golden", Render(sink.programs));
    CompareWithGolden("walk_journal.golden", fs.files[util.JournalPath()]);
    // The size of a file was asked for once: tab\ttool.exe, an executable.
    EXPECT_EQ(search.sizeQueries, 1);
}
