// The walk and identification over the Windows ports: real folders, real
// version resources, App Paths keys in the registry.
#include "Fakes.h"
#include "files/Container.h"
#include "platform/ScanStandIns.h"
#include "platform/win32/Win32Platform.h"
#include "scan/SearchThread.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/WinApi.h"

using namespace ostravion;
using namespace ostravion::win32;

namespace {

const std::string kKorean = "\xC7\xD1\xB1\xDB";                       // 한글
const std::string kTool = "\xB5\xB5\xB1\xB8";                         // 도구
const std::string kCompany = "\xC7\xD1\xB1\xDB\xC8\xB8\xBB\xE7 Ltd."; // 한글회사 Ltd.
const char* const kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p(path, n);
    return p.substr(0, p.rfind('\\') + 1);
}

class Sink final : public ProgramSink {
public:
    void AddFoundProgram(const FoundProgram& p) override { programs.push_back(p); }
    std::vector<FoundProgram> programs;
};

struct Win32Walk : ::testing::Test {
    std::string root; // ends with a backslash
    std::string oldCwd;
    std::vector<std::string> keys;

    Win32FileSystem fs;
    test::RecordingMessages messages;
    CAuditUtil util{fs, messages};
    Win32FileSearch search;
    Win32Drives drives;
    Win32VersionStrings versions;
    Win32AppPaths apps;
    Sink sink;
    CSearchThread thread{util, ScanPorts{search, drives, versions, apps}, sink};

    void SetUp() override {
        char tmp[MAX_PATH], name[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof tmp, tmp), 0u);
        ASSERT_NE(GetTempFileNameA(tmp, "osw", 0, name), 0u);
        DeleteFileA(name);
        ASSERT_TRUE(CreateDirectoryA(name, nullptr));
        root = std::string(name) + "\\";
        oldCwd = fs.CurrentDirectory();
        ASSERT_TRUE(fs.SetCurrentDirectory(root));
    }
    void TearDown() override {
        for (const auto& k : keys)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, k.c_str());
        fs.SetCurrentDirectory(oldCwd);
        // Best effort: the prefix's temporary folder is thrown away with it.
    }
    void Folder(const std::string& rel) {
        ASSERT_TRUE(CreateDirectoryA((root + rel).c_str(), nullptr));
    }
    // A copy of the fixture DLL: CompanyName 한글회사 Ltd., two-line
    // FileDescription, ProductVersion 1.2.3.
    void Versioned(const std::string& rel) {
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "version_fixture.dll").c_str(),
                              (root + rel).c_str(), FALSE));
    }
    void Plain(const std::string& rel) {
        auto f = fs.OpenWrite(root + rel, false);
        ASSERT_TRUE(f);
        f->Write("plain");
    }
    void Register(const std::string& name) {
        HKEY k = nullptr;
        const std::string path = std::string(kAppPaths) + "\\" + name;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(k);
        keys.push_back(path);
    }
    void LoadKeys(const std::string& payload) {
        std::string container;
        ASSERT_TRUE(ScrambleText(payload, container));
        auto f = fs.OpenWrite(kKeyListFile, false);
        ASSERT_TRUE(f);
        ASSERT_TRUE(f->Write(container));
        ASSERT_TRUE(f->Close());
        ASSERT_TRUE(thread.LoadKeyList());
    }
    std::map<std::string, FoundProgram> FoundByPath() const {
        std::map<std::string, FoundProgram> m;
        for (const auto& p : sink.programs)
            m[p.Folder + p.FileName] = p;
        return m;
    }
};

} // namespace

TEST_F(Win32Walk, IdentifiesByKeyListVersionResourceAndAppPaths) {
    LoadKeys("caption\tx\tx\tx\tx\tx\tx\tx\tx\tx\r\n"
             "k0\tAPP\tk2\tKnown Tool\t1.2.3\tKNOWN.EXE\t1\tk7\tKnown Co\t" +
             kKorean +
             "\r\n"
             "k0\tAPP\tk2\tListed\t9.9\tLISTED.EXE\t1\tk7\tListed Co\t" +
             kKorean + "\r\n");
    Folder("app");
    Folder(kKorean);
    Folder("app\\deep");
    Versioned("app\\known.exe");                // listed, its version matches
    Versioned("app\\listed.exe");               // listed, neither size nor version
    Versioned("app\\Tool.exe");                 // registered as "tool.EXE"
    Versioned("app\\unregistered.exe");         // not reported
    Versioned("app\\SETUP.EXE");                // never reported
    Versioned(kKorean + "\\" + kTool + ".exe"); // registered under its Korean name
    Versioned("app\\deep\\hidden.exe");
    ASSERT_TRUE(
        SetFileAttributesA((root + "app\\deep\\hidden.exe").c_str(), FILE_ATTRIBUTE_HIDDEN));
    Plain("app\\readme.txt");
    Register("tool.EXE");
    Register("setup.exe");
    Register("HIDDEN.exe");
    Register(kTool + ".exe");

    EXPECT_EQ(thread.WalkDrive(Drive{"c:\\", root, '\\'}), kWalkCompleted);
    const auto found = FoundByPath();
    ASSERT_EQ(found.size(), 5u) << sink.programs.size();

    const FoundProgram& known = found.at("c:\\app\\KNOWN.EXE"); // the key list's spelling
    EXPECT_EQ(known.Origin, "2");
    EXPECT_EQ(known.Class, "1");
    EXPECT_EQ(known.ProgramName, "Known Tool");

    const FoundProgram& listed = found.at("c:\\app\\listed.exe");
    EXPECT_EQ(listed.Origin, "9");
    EXPECT_EQ(listed.Class, "2");
    EXPECT_EQ(listed.Company, kCompany);
    EXPECT_EQ(listed.ProgramName, "Line one"); // the first line only
    EXPECT_EQ(listed.Version, "1.2.3");

    const FoundProgram& tool = found.at("c:\\app\\Tool.exe");
    EXPECT_EQ(tool.Class, "3");
    EXPECT_EQ(tool.Company, kCompany);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(
        GetFileAttributesExA((root + "app\\Tool.exe").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(tool.FileSize, std::to_string(data.nFileSizeLow));

    const FoundProgram& korean = found.at("c:\\" + kKorean + "\\" + kTool + ".exe");
    EXPECT_EQ(korean.Class, "3");
    EXPECT_EQ(korean.Folder, "c:\\" + kKorean + "\\");

    EXPECT_EQ(found.at("c:\\app\\deep\\hidden.exe").Class, "3");
    EXPECT_EQ(found.count("c:\\app\\SETUP.EXE"), 0u);
    EXPECT_EQ(found.count("c:\\app\\unregistered.exe"), 0u);

    // Files of a folder come before those of its sub-folders.
    std::size_t deep = 0, app = 0;
    for (std::size_t i = 0; i < sink.programs.size(); ++i) {
        if (sink.programs[i].Folder == "c:\\app\\deep\\")
            deep = i;
        if (sink.programs[i].Folder == "c:\\app\\")
            app = i;
    }
    EXPECT_LT(app, deep);
}

TEST_F(Win32Walk, LinksBackUpTheTreeEnd) {
    // links\target\up leads back to links (a Unix link that Wine shows as a
    // junction): the walk must end, entering each real folder.
    const std::string links = ProgramFolder() + "links\\";
    if (GetFileAttributesA((links + "target\\up").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no link fixture beside the program";
    EXPECT_EQ(thread.WalkDrive(Drive{"c:\\", links, '\\'}), kWalkCompleted);
    EXPECT_TRUE(sink.programs.empty());
}

TEST_F(Win32Walk, FoldersGivenAsDrives) {
    const std::string koreanUtf8 = "\xED\x95\x9C\xEA\xB8\x80"; // 한글
    Folder("c");
    Folder(kKorean);
    Plain("file.txt");
    // A name without a CP949 form, which the ANSI search could not open.
    ASSERT_TRUE(
        CreateDirectoryW((std::wstring(root.begin(), root.end()) + L"\u0E01").c_str(), nullptr));

    // Relative folders start at the current one (root); letters are upper-cased.
    std::string error;
    ASSERT_TRUE(drives.SetMap({"d=" + koreanUtf8, "C=c", "E=" + root + "c\\"}, error)) << error;
    std::vector<Drive> d = drives.FixedDrives();
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[0].text, "C:\\");
    EXPECT_EQ(d[0].native, root + "c\\");
    EXPECT_EQ(d[0].textSeparator, '\\');
    EXPECT_EQ(d[1].text, "D:\\");
    EXPECT_EQ(d[1].native, root + koreanUtf8 + "\\"); // native paths are UTF-8
    EXPECT_EQ(d[2].native, root + "c\\");             // one backslash at the end

    Versioned(kKorean + "\\Tool.exe");
    Register("TOOL.EXE");
    EXPECT_EQ(thread.WalkDrive(d[1]), kWalkCompleted);
    EXPECT_EQ(FoundByPath().count("D:\\Tool.exe"), 1u);

    // A name without a CP949 form is walked as any other: the search is wide.
    ASSERT_TRUE(drives.SetMap({"F=\xE0\xB8\x81"}, error)) << error; // U+0E01
    EXPECT_EQ(drives.FixedDrives().at(0).native, root + "\xE0\xB8\x81\\");
    ASSERT_TRUE(drives.SetMap({"d=" + koreanUtf8, "C=c", "E=" + root + "c\\"}, error)) << error;

    for (const std::string& bad : {std::string("C=missing"), std::string("C=file.txt")}) {
        error.clear();
        EXPECT_FALSE(drives.SetMap({bad}, error)) << bad;
        EXPECT_EQ(error.rfind("드라이브 C: 폴더 \"", 0), 0u) << error;
    }
    EXPECT_EQ(drives.FixedDrives().size(), 3u); // a refused map changes nothing
    ASSERT_TRUE(drives.SetMap({}, error));
    EXPECT_EQ(drives.FixedDrives().front().text, "c:\\");
}

TEST_F(Win32Walk, ListedApplicationsFromAFileWithAKoreanName) {
    Win32Codec codec;
    ListedAppPaths listed(codec);
    auto f = fs.OpenWrite(root + kKorean + ".txt", false);
    ASSERT_TRUE(f);
    ASSERT_TRUE(f->Write("\xEB\x8F\x84\xEA\xB5\xAC.exe\r\nTool.exe\r\n")); // 도구.exe (UTF-8)
    ASSERT_TRUE(f->Close());
    std::string error;
    ASSERT_TRUE(listed.Load("\xED\x95\x9C\xEA\xB8\x80.txt", error)) << error; // 한글.txt
    EXPECT_TRUE(listed.InUse());
    EXPECT_TRUE(listed.IsRegistered(kTool + ".EXE"));
    EXPECT_TRUE(listed.IsRegistered("TOOL.EXE"));
    EXPECT_EQ(listed.Size(), 2u);
    EXPECT_FALSE(listed.Load("missing.txt", error));
    EXPECT_EQ(listed.Size(), 2u);
}
