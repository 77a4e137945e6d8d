#include "ScanFixture.h"
#include "files/PcResultFile.h"
#include "views/ResultList.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace ostravion;
using namespace ostravion::test;

namespace {
// Entry 0 names NOTEPAD.EXE, so NOTEPAD.EXE is only found through its second line.
const std::string kKeys = "k\tAPP\tk\tNotepad\t5.1\tNOTEPAD.EXE\t100\tk7\tMS\t" + kForeign +
                          "\r\n"
                          "K0\tAPP\tK2\tWord\t9.0\tWinword.exe\t1000\tK7\tMicrosoft\t" +
                          kForeign +
                          "\r\n"
                          "K0\tAPP\tK2\tHangul\t7.0\tHWP.EXE\t2000\tK7\tHancom\t" +
                          kDomestic +
                          "\r\n"
                          "K0\tOS\tK2\tWindowsXP(Pro)\t5.1\tEXPLORER.EXE\t300\tK7\tMicrosoft\r\n"
                          "K0\tOS\tK2\tWindows2000-Professional\t5.0\tEXPLORER.EXE\t400\tK7\tMS\r\n"
                          "K0\tAPP\tK2\tInstaller\t1.0\tSETUP.EXE\t10\tK7\tX\r\n"
                          "K0\tAPP\tK2\tViewer\t2.0\tVIEWER.DLL\t500\tK7\tViewCo\r\n";

struct Identify : ScanFixture {
    int root = 0;
    void SetUp() override {
        SetKeyList(kKeys);
        ASSERT_TRUE(thread.LoadKeyList());
        thread.SetOsVersionString("WindowsXP(Pro)");
        util.SetScanBaseName("G_N");
        root = search.AddRoot("/c/");
    }
    // Prepares and identifies one file of the folder C:\App\ (native /c/App/).
    int Check(const std::string& name, std::uint64_t size, bool listSize = true) {
        search.folders[root].entries.clear();
        search.AddFile(root, name, size, kAttrArchive, listSize);
        thread.PrepareFile({"C:\\App\\", "/c/", 1, 100}, search.folders[root].entries.back());
        return thread.IdentifyFile(text::ToUpper(name));
    }
};
} // namespace

TEST_F(Identify, KeyListMatchFillsTheSlotsFromTheEntry) {
    versions.Set("/c/hwp.exe", "ProductVersion", "7.5");
    EXPECT_EQ(Check("hwp.exe", 2000), 1);
    ASSERT_EQ(sink.programs.size(), 1u);
    const FoundProgram& p = sink.programs[0];
    EXPECT_EQ(p.Origin, "2");
    EXPECT_EQ(p.Class, "1");
    EXPECT_EQ(p.KeyColumn0, "K0");
    EXPECT_EQ(p.Kind, "APP");
    EXPECT_EQ(p.ProgramName, "Hangul");
    EXPECT_EQ(p.Version, "7.0"); // the entry's, not the file's
    EXPECT_EQ(p.FileName, "HWP.EXE");
    EXPECT_EQ(p.FileSize, "2000");
    EXPECT_EQ(p.Company, "Hancom");
    EXPECT_EQ(p.DomesticCode, "1");
    EXPECT_EQ(p.Folder, "C:\\App\\");
    EXPECT_EQ(p.InstalledCount, "");
    // The journal line went to the journal path of the scan.
    EXPECT_EQ(fs.files[".\\CheckOut\\G_N.tmp"], PcResultLine(p));

    // A listed name that is no executable, whose entry lacks column 9.
    EXPECT_EQ(Check("Viewer.dll", 500), 1);
    EXPECT_EQ(sink.programs.back().DomesticCode, "");
    EXPECT_EQ(sink.programs.back().FileName, "VIEWER.DLL");
}

TEST_F(Identify, TheCreationDateIsThatOfTheFileFound) {
    // The key list spells the name HWP.EXE, the disk hwp.exe.
    FakeFileDates dates;
    dates.dates["C:\\App\\hwp.exe"] = {2004, 3, 7, 10, 5};
    COstravionView list{util, &dates};
    sink.onAdd = [&](const FoundProgram& p) { list.AddFoundProgram(p); };
    ASSERT_EQ(Check("hwp.exe", 2000), 1);
    EXPECT_EQ(sink.programs[0].FileName, "HWP.EXE");
    EXPECT_EQ(list.ItemText(0, 5), "2004-03-07");
}

TEST_F(Identify, FirstQualifyingLineNeverIdentifies) {
    EXPECT_EQ(Check("notepad.exe", 100), 0);
    // Behind a caption line the same entry identifies.
    SetKeyList("caption\tx\tx\tx\tx\r\n" + kKeys);
    ASSERT_TRUE(thread.LoadKeyList());
    EXPECT_EQ(Check("notepad.exe", 100), 1);
    EXPECT_EQ(sink.programs.size(), 1u);
}

TEST_F(Identify, InstallersAreNeverReported) {
    apps.names = {"SETUP.EXE", "UNINSTALL.EXE", "SETUP.EXE.BAK"};
    for (const char* name : {"SETUP.EXE", "setup.exe", "Uninstall.exe"}) {
        versions.Set(std::string("/c/") + name, "CompanyName", "Co");
        EXPECT_EQ(Check(name, 10), 0) << name;
    }
    EXPECT_TRUE(sink.programs.empty());
    EXPECT_TRUE(versions.reads.empty());
    // Anything else with such a name in it is examined as usual.
    versions.Set("/c/SETUP.EXE.BAK", "CompanyName", "Backup Co");
    EXPECT_EQ(Check("SETUP.EXE.BAK", 10), 1);
    EXPECT_EQ(sink.programs.back().Class, "3");
}

TEST_F(Identify, ListedNameWithoutMatchNeedsCompanyName) {
    // Size and version both differ from every WINWORD.EXE entry.
    versions.Set("/c/WINWORD.EXE", "ProductVersion", "10.0");
    EXPECT_EQ(Check("WINWORD.EXE", 1234), 0); // no CompanyName
    EXPECT_TRUE(sink.programs.empty());

    versions.Set("/c/WINWORD.EXE", "CompanyName", "Microsoft Corporation");
    versions.Set("/c/WINWORD.EXE", "ProductName", "Office");
    EXPECT_EQ(Check("WINWORD.EXE", 1234), 1);
    ASSERT_EQ(sink.programs.size(), 1u);
    FoundProgram p = sink.programs[0];
    EXPECT_EQ(p.Origin, "9");
    EXPECT_EQ(p.Class, "2");
    EXPECT_EQ(p.Company, "Microsoft Corporation");
    EXPECT_EQ(p.ProgramName, "Office"); // no FileDescription: the ProductName
    EXPECT_EQ(p.Version, "10.0");
    EXPECT_EQ(p.FileName, "WINWORD.EXE"); // as the file system reports it
    EXPECT_EQ(p.FileSize, "1234");
    EXPECT_EQ(p.KeyColumn0, "");

    versions.Set("/c/WINWORD.EXE", "FileDescription", "Word");
    Check("WINWORD.EXE", 1234);
    EXPECT_EQ(sink.programs.back().ProgramName, "Word");

    // The version alone identifies it.
    versions.Set("/c/WINWORD.EXE", "ProductVersion", "9.0");
    Check("WINWORD.EXE", 1234);
    EXPECT_EQ(sink.programs.back().Class, "1");
}

TEST_F(Identify, UnlistedExecutableOnlyWhenRegisteredWithCompanyName) {
    versions.Set("/c/tool.exe", "CompanyName", "Tool Co");
    EXPECT_EQ(Check("tool.exe", 5), 0);
    EXPECT_TRUE(versions.reads.empty()); // unregistered: the file is not read

    apps.names = {"TOOL.EXE", "BARE.EXE"};
    EXPECT_EQ(Check("bare.exe", 5), 0); // registered but no CompanyName
    EXPECT_EQ(Check("tool.exe", 5), 1);
    const FoundProgram& p = sink.programs.at(0);
    EXPECT_EQ(p.Origin, "9");
    EXPECT_EQ(p.Class, "3");
    EXPECT_EQ(p.FileName, "tool.exe");
    EXPECT_EQ(p.FileSize, "5");

    // Not an executable and not listed: nothing is asked.
    apps.queries = 0;
    EXPECT_EQ(Check("readme.txt", 5), 0);
    EXPECT_EQ(apps.queries, 0);
}

TEST_F(Identify, VersionValueIsCutAtItsFirstLineBreak) {
    apps.names = {"A.EXE"};
    versions.Set("/c/a.exe", "CompanyName", "Co\tLtd\nSecond");
    versions.Set("/c/a.exe", "FileDescription", "Tool\rx\r\ny");
    versions.Set("/c/a.exe", "ProductVersion", "1.0\r\nbuild 7");
    Check("a.exe", 1);
    const FoundProgram& p = sink.programs.at(0);
    EXPECT_EQ(p.Company, "Co Ltd");     // the TAB becomes a blank
    EXPECT_EQ(p.ProgramName, "Tool x"); // a lone CR before the first CR LF, too
    EXPECT_EQ(p.Version, "1.0");
    versions.Set("/c/a.exe", "Comments", "one\rtwo\nthree");
    EXPECT_EQ(thread.ReadVersionString("/c/a.exe", "Comments"), "one");
    versions.Set("/c/a.exe", "Trademarks", "two\nthree");
    EXPECT_EQ(thread.ReadVersionString("/c/a.exe", "Trademarks"), "two");
    EXPECT_EQ(thread.ReadVersionString("/c/missing.exe", "Comments"), "");
}

TEST_F(Identify, EachStringOfAFileIsReadOnce) {
    versions.Set("/c/WINWORD.EXE", "CompanyName", "Microsoft");
    versions.Set("/c/WINWORD.EXE", "ProductVersion", "10.0");
    EXPECT_EQ(Check("WINWORD.EXE", 1234), 1);
    EXPECT_EQ(versions.reads, (std::vector<std::string>{
                                  "/c/WINWORD.EXE|ProductVersion", "/c/WINWORD.EXE|CompanyName",
                                  "/c/WINWORD.EXE|FileDescription", "/c/WINWORD.EXE|ProductName"}));
    // The next file reads afresh, also under the same name.
    versions.Set("/c/WINWORD.EXE", "ProductVersion", "9.0");
    EXPECT_EQ(Check("WINWORD.EXE", 1234), 1);
    EXPECT_EQ(sink.programs.back().Class, "1");
}

TEST_F(Identify, OperatingSystemEntryOnlyOnItsOwnSystem) {
    versions.Set("/c/EXPLORER.EXE", "ProductVersion", "5.0.2195");
    // Size 400 matches the Windows 2000 entry first: not this PC's system.
    EXPECT_EQ(Check("EXPLORER.EXE", 400), 0);
    EXPECT_EQ(Check("EXPLORER.EXE", 300), 1);
    EXPECT_EQ(sink.programs.at(0).Kind, "OS");
    EXPECT_EQ(sink.programs.at(0).ProgramName, "WindowsXP(Pro)");
    thread.SetOsVersionString("");
    EXPECT_EQ(Check("EXPLORER.EXE", 300), 0);
}

TEST_F(Identify, SizeIsFetchedOnlyWhenItCanMatter) {
    EXPECT_EQ(Check("notes.txt", 7, false), 0);
    EXPECT_EQ(Check("library.dll", 7, false), 0);
    EXPECT_EQ(search.sizeQueries, 0);
    EXPECT_EQ(Check("hwp.exe", 2000, false), 1);
    EXPECT_EQ(search.sizeQueries, 1);
    // An executable neither listed nor registered is never reported.
    EXPECT_EQ(Check("other.exe", 7, false), 0);
    EXPECT_EQ(search.sizeQueries, 1);
    apps.names = {"BIG.EXE"};
    versions.Set("/c/big.exe", "CompanyName", "Co");
    // "%d" of the low 32 bits as a signed number.
    Check("big.exe", 0x100000005ull, false);
    EXPECT_EQ(sink.programs.back().FileSize, "5");
    Check("big.exe", 0xFFFFFFFFull);
    EXPECT_EQ(sink.programs.back().FileSize, "-1");
}

TEST_F(Identify, JournalThatCannotBeOpenedLosesOnlyItsLine) {
    fs.unwritable.insert(".\\CheckOut\\G_N.tmp");
    EXPECT_EQ(Check("hwp.exe", 2000), 1);
    EXPECT_EQ(sink.programs.size(), 1u);
    EXPECT_EQ(thread.EmitFoundProgram(), -1);
    EXPECT_TRUE(messages.shown.empty());

    // A link in the journal's place is refused and said, once a scan.
    fs.unwritable.clear();
    fs.links.insert(".\\CheckOut\\G_N.tmp");
    EXPECT_EQ(thread.EmitFoundProgram(), -1);
    EXPECT_EQ(thread.EmitFoundProgram(), -1);
    EXPECT_EQ(sink.programs.size(), 4u);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Write File Open Error...!!"});
}

namespace {
struct Walk : ScanFixture {
    int c = 0;
    void SetUp() override {
        SetKeyList("caption\tx\tx\tx\tx\r\n");
        apps.names = {"A.EXE", "B.EXE", "C.EXE", "D.EXE", "E.EXE", "X.EXE", "Y.EXE"};
        c = search.AddRoot("/c/");
        AddDrive("C:\\", "/c/");
    }
    // An unlisted, registered executable with a CompanyName: always found.
    void Program(int folder, const std::string& nativeFolder, const std::string& name,
                 unsigned attributes = kAttrArchive) {
        search.AddFile(folder, name, 1, attributes);
        versions.Set(nativeFolder + name, "CompanyName", "Co");
    }
};
} // namespace

TEST_F(Walk, FilesBeforeSubfoldersDepthFirstInListingOrder) {
    const int a = search.AddFolder(c, "a");
    Program(a, "/c/a/", "a.exe");
    const int aa = search.AddFolder(a, "aa");
    Program(aa, "/c/a/aa/", "b.exe");
    const int b = search.AddFolder(c, "b");
    Program(b, "/c/b/", "c.exe");
    Program(c, "/c/", "d.exe"); // listed after the folders, found before them
    EXPECT_EQ(thread.Run(), ScanOutcome::Completed);
    EXPECT_EQ(Found(), (std::vector<std::string>{"C:\\d.exe", "C:\\a\\a.exe", "C:\\a\\aa\\b.exe",
                                                 "C:\\b\\c.exe"}));
}

TEST_F(Walk, AttributeAndDotTests) {
    Program(c, "/c/", "a.exe", kAttrReadOnly);               // archive bit cleared
    Program(c, "/c/", "b.exe", 0);                           // no attribute at all
    Program(c, "/c/", "c.exe", kAttrHidden | kAttrReadOnly); // hidden counts
    Program(c, "/c/", "d.exe", kAttrArchive | kAttrSystem);
    apps.names.insert("README");
    Program(c, "/c/", "README"); // no dot
    // A folder with the archive attribute is examined like a file.
    search.AddFolder(c, "x.exe", kAttrDirectory | kAttrArchive);
    versions.Set("/c/x.exe", "CompanyName", "Co");
    search.AddFolder(c, "y.exe", kAttrDirectory);
    versions.Set("/c/y.exe", "CompanyName", "Co");
    thread.Run();
    EXPECT_EQ(Found(), (std::vector<std::string>{"C:\\c.exe", "C:\\d.exe", "C:\\x.exe"}));
}

TEST_F(Walk, InternetCacheIsNeverEntered) {
    const int cache = search.AddFolder(c, "Temporary Internet Files");
    Program(cache, "/c/Temporary Internet Files/", "a.exe");
    const int u = search.AddFolder(c, "Users");
    const int deep = search.AddFolder(search.AddFolder(u, "kim"), "Temporary Internet Files");
    Program(deep, "/c/Users/kim/Temporary Internet Files/", "b.exe");
    const int other = search.AddFolder(u, "temporary internet files"); // another letter case
    Program(other, "/c/Users/temporary internet files/", "c.exe");
    thread.Run();
    EXPECT_EQ(Found(), (std::vector<std::string>{"C:\\Users\\temporary internet files\\c.exe"}));
    for (const std::string& f : search.listed)
        EXPECT_EQ(f.find("Temporary Internet Files"), std::string::npos) << f;
}

// A link is listed where it lies, never entered nor read as what it leads
// to; a folder that is one of its own ancestors (a bind mount) is not
// walked again.
TEST_F(Walk, LinksAreNotEnteredNorReadAndFoldersBackUpTheTreeAreNotWalked) {
    const int a = search.AddFolder(c, "a");
    const int b = search.AddFolder(a, "b");
    Program(b, "/c/a/b/", "a.exe");
    search.AddLink(b, "up", a);
    const int s = search.AddFolder(c, "s");
    Program(s, "/c/s/", "b.exe");
    search.AddLink(a, "side", s);
    versions.Set("/c/a/side/b.exe", "CompanyName", "Co");
    // A link to a registered program with a CompanyName, as its target has.
    Program(a, "/c/a/", "x.exe");
    search.folders[a].entries.back().link = true;
    // The same folder again, as a bind mount shows it: no link, but known.
    DirEntry again = search.folders[a].entries.front();
    again.name = again.nativeName = "again";
    again.link = false;
    search.folders[b].entries.push_back(again);
    search.folders[b].children["again"] = b;
    EXPECT_EQ(thread.Run(), ScanOutcome::Completed);
    EXPECT_EQ(Found(), (std::vector<std::string>{"C:\\a\\b\\a.exe", "C:\\s\\b.exe"}));
    EXPECT_EQ(std::count(search.listed.begin(), search.listed.end(), "/c/a/side/"), 0);
}

namespace {
// A file system that makes up a new sub-folder in every folder it lists.
class EndlessSearch final : public FileSearch {
public:
    bool List(const std::string& nativeFolder, std::vector<DirEntry>& out) const override {
        ++lists;
        deepest = std::max(deepest, nativeFolder.size());
        DirEntry d;
        d.name = d.nativeName = "d";
        d.attributes = kAttrDirectory;
        d.device = 1;
        d.inode = nativeFolder.size() + 1; // each one new: no loop to notice
        out.assign(1, d);
        return true;
    }
    bool Identify(const std::string&, std::uint64_t& device, std::uint64_t& inode) const override {
        device = inode = 1;
        return true;
    }
    char NativeSeparator() const override { return '/'; }
    mutable std::size_t lists = 0;
    mutable std::size_t deepest = 0;
};
} // namespace

TEST_F(Walk, ATreeWithoutEndIsWalkedToTheDepthLimit) {
    EndlessSearch endless;
    CSearchThread walk(util, ScanPorts{endless, drives, versions, apps}, sink);
    drives.drives[0] = {"C:\\", "/e/", '\\'};
    EXPECT_EQ(walk.Run(), ScanOutcome::Completed);
    EXPECT_EQ(endless.lists, kMaxFolderDepth);
    EXPECT_EQ(endless.deepest, std::string("/e/").size() + 2 * (kMaxFolderDepth - 1));
}

TEST_F(Walk, TextAndNativeNamesStayApart) {
    // A Korean folder: CP949 in the results, UTF-8 for the system.
    const int k =
        search.AddFolder(c, "\xC7\xD1\xB1\xDB", kAttrDirectory, 0, "\xED\x95\x9C\xEA\xB8\x80");
    search.AddFile(k, "x\ty.exe", 3, kAttrArchive, true, "x\ty.exe");
    apps.names.insert("X\tY.EXE");
    versions.Set("/c/\xED\x95\x9C\xEA\xB8\x80/x\ty.exe", "CompanyName", "Co");
    drives.drives[0] = {"/", "/c/", '/'};
    thread.Run();
    ASSERT_EQ(sink.programs.size(), 1u);
    EXPECT_EQ(sink.programs[0].Folder, "/\xC7\xD1\xB1\xDB/");
    EXPECT_EQ(sink.programs[0].FileName, "x y.exe");
}

TEST_F(Walk, StopEndsTheWalkAndNothingMoreIsEmitted) {
    for (const char* f : {"a", "b", "c"}) {
        const int folder = search.AddFolder(c, f);
        Program(folder, std::string("/c/") + f + "/", "x.exe");
        Program(folder, std::string("/c/") + f + "/", "y.exe");
    }
    PrepareProgress(util, search, drives);
    std::stop_source stop;
    sink.onAdd = [&](const FoundProgram&) { stop.request_stop(); };
    EXPECT_EQ(thread.Run(stop.get_token()), ScanOutcome::Stopped);
    EXPECT_EQ(Found(), (std::vector<std::string>{"C:\\a\\x.exe"}));
    EXPECT_EQ(search.listed.size(), 3u); // the count, C:\ and a; no other folder
    EXPECT_EQ(progress.log.back().rfind("pos", 0), std::string::npos);
    // Whatever is still under way when the stop comes emits nothing.
    EXPECT_EQ(thread.EmitFoundProgram(), -1);
    EXPECT_EQ(sink.programs.size(), 1u);
}

TEST_F(Walk, NoKeyListNoWalk) {
    fs.files.clear();
    EXPECT_EQ(thread.Run(), ScanOutcome::KeyListFailed);
    EXPECT_EQ(messages.shown, (std::vector<std::string>{"Key File Open Error..."}));
    EXPECT_TRUE(search.listed.empty());
}

namespace {
std::vector<std::string> StepLog(std::initializer_list<const char*> lines) {
    return {lines.begin(), lines.end()};
}
} // namespace

TEST_F(Walk, ProgressSharesTheBarBetweenAFolderAndItsSubfolders) {
    // C:\ has a (with a1, empty) and b; plus folders the walk does not enter.
    const int a = search.AddFolder(c, "a");
    search.AddFolder(a, "a1");
    search.AddFolder(c, "b");
    search.AddFolder(c, "Temporary Internet Files");
    search.AddFolder(c, "mnt", kAttrDirectory, 9);
    search.AddLink(a, "loop", c);
    PrepareProgress(util, search, drives);
    EXPECT_EQ(thread.Run(), ScanOutcome::Completed);
    EXPECT_EQ(progress.log, StepLog({"create \xB0\xCB\xBB\xF6\xC1\xDF", "range 0 2000",
                                     "step 666",             // C:\ narrows by 3
                                     "step 333",             // a by 2
                                     "step 333", "stepit",   // a1 by 1, its share
                                     "step 333", "stepit",   // a1 widens; a's share
                                     "step 666", "step 666", // a widens; b narrows by 1
                                     "stepit", "step 666",   // b's share, b widens
                                     "stepit", "step 2000",  // C:\ share, C:\ widens
                                     "pos 2000"}));
}

TEST_F(Walk, ProgressRangeCountsEveryDrivesRootFolders) {
    search.AddFolder(c, "a");
    search.AddFolder(c, "b");
    const int d = search.AddRoot("/d/", 2);
    search.AddFolder(d, "x");
    AddDrive("D:\\", "/d/");
    AddDrive("E:\\", "/e/"); // cannot be searched: counts nothing
    EXPECT_EQ(CountSubdirectories(search, drives.drives[0]), 2);
    EXPECT_EQ(CountSubdirectories(search, drives.drives[2]), 0);
    PrepareProgress(util, search, drives, "scan");
    EXPECT_EQ(progress.log, StepLog({"create scan", "range 0 3000"}));
    EXPECT_FLOAT_EQ(util.ProgressStep(), 3000.0f);
}

TEST_F(Walk, DrivesWithoutFoldersGiveAnEmptyRange) {
    Program(c, "/c/", "a.exe");
    search.AddRoot("/d/", 2); // lists nothing: no progress at all
    AddDrive("D:\\", "/d/");
    PrepareProgress(util, search, drives);
    thread.Run();
    EXPECT_EQ(progress.log, StepLog({"create \xB0\xCB\xBB\xF6\xC1\xDF", "range 0 0", "step 0",
                                     "stepit", "step 0", "pos 0"}));
    EXPECT_EQ(sink.programs.size(), 1u);
}

// What cannot be read is counted by its reason and named in the log beside
// the journal; the walk goes on. A folder listed in part is walked for what
// it lists.
TEST_F(Walk, UnreadFoldersAndFilesAreCountedAndLogged) {
    util.SetScanBaseName("G_N");
    const int broken = search.AddFolder(c, "broken");
    search.folders[broken].unreadable = true;
    const int locked = search.AddFolder(c, "locked");
    search.folders[locked].unreadable = true;
    search.folders[locked].fault = ReadFault::Denied;
    Program(c, "/c/", "a.exe");
    Program(c, "/c/", "b.exe");
    versions.faults["/c/b.exe"] = ReadFault::Failed;
    EXPECT_EQ(thread.Run(), ScanOutcome::Completed);
    EXPECT_EQ(Found(), (std::vector<std::string>{"C:\\a.exe", "C:\\b.exe"}));
    const WalkFaults& f = thread.Faults();
    EXPECT_EQ(std::vector<long long>({f.folders, f.files, f.deniedFolders, f.deniedFiles}),
              std::vector<long long>({1, 1, 1, 0}));
    EXPECT_TRUE(f.Incomplete());
    // 폴더/파일, 읽기 오류/접근 거부, the path.
    const std::string folder = "\xC6\xFA\xB4\xF5\t", file = "\xC6\xC4\xC0\xCF\t";
    const std::string failed = "\xC0\xD0\xB1\xE2 \xBF\xC0\xB7\xF9\t";
    const std::string denied = "\xC1\xA2\xB1\xD9 \xB0\xC5\xBA\xCE\t";
    EXPECT_EQ(fs.files[".\\CheckOut\\G_N.log"], file + failed + "C:\\b.exe\t\r\n" + folder +
                                                    failed + "C:\\broken\\\t\r\n" + folder +
                                                    denied + "C:\\locked\\\t\r\n");
    // Refusals for access rights alone leave the result whole.
    EXPECT_FALSE((WalkFaults{0, 0, 3, 1}.Incomplete()));
    EXPECT_EQ(WalkFaultText(f, "x.log"),
              "\xB0\xCB\xBB\xE7\xB8\xA6 \xB8\xB6\xC3\xC6\xC0\xB8\xB3\xAA \xC6\xFA\xB4\xF5 2"
              "\xB0\xB3, \xC6\xC4\xC0\xCF 1\xB0\xB3\xB8\xA6 \xC0\xD0\xC1\xF6 "
              "\xB8\xF8\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9 (\xB1\xD7\xC1\xDF \xC1\xA2\xB1\xD9 "
              "\xB1\xC7\xC7\xD1\xC0\xCC \xBE\xF8\xB4\xC2 \xB0\xCD: \xC6\xFA\xB4\xF5 1\xB0\xB3, "
              "\xC6\xC4\xC0\xCF 0\xB0\xB3).\n\xC0\xD0\xC1\xF6 \xB8\xF8\xC7\xD1 "
              "\xC6\xFA\xB4\xF5\xBF\xCD \xC6\xC4\xC0\xCF\xC0\xBA x.log\xBF\xA1 "
              "\xC0\xFB\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.");
}
