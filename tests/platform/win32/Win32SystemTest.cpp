// System facts, App Paths and version strings through the real Windows calls.
#include "platform/win32/Win32Platform.h"
#include "scan/Facts.h"
#include "util/Text.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/WinApi.h"

using namespace ostravion;
using namespace ostravion::win32;

namespace {

class NoMessages final : public MessagePort {
public:
    void Show(const std::string& text) override { shown.push_back(text); }
    bool Ask(const std::string&) override { return false; }
    std::vector<std::string> shown;
};

// The folder of this test program, ending with a backslash.
std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p(path, n);
    return p.substr(0, p.rfind('\\') + 1);
}

std::string SystemFolder() {
    char path[MAX_PATH];
    const UINT n = GetSystemDirectoryA(path, sizeof path);
    return std::string(path, n);
}

const char* const kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// App Paths sub-keys made for one test and deleted after it, under the real
// key or one that stands in for it, in the 64-bit registry view (this
// program's own) or the 32-bit one.
class AppPathsKeys : public ::testing::Test {
protected:
    std::vector<std::pair<std::string, REGSAM>> made;
    void Register(const std::string& name, REGSAM view = KEY_WOW64_64KEY,
                  const std::string& key = kAppPaths) {
        HKEY k = nullptr;
        const std::string path = key + "\\" + name;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | view,
                                  nullptr, &k, nullptr),
                  ERROR_SUCCESS)
            << name;
        const std::string value = "C:\\Program Files\\" + name;
        RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(k);
        made.emplace_back(path, view);
    }
    static bool InView(const std::string& path, REGSAM view) {
        HKEY k = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &k) !=
            ERROR_SUCCESS)
            return false;
        RegCloseKey(k);
        return true;
    }
    void TearDown() override {
        // Sub-keys first, then the keys made for them.
        for (auto it = made.rbegin(); it != made.rend(); ++it)
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, it->first.c_str(), it->second, 0);
    }
};

} // namespace

TEST(Win32System, NamesAndProcessorAreFormed) {
    Win32SystemInfo sys;
    const std::string computer = sys.ComputerName();
    EXPECT_FALSE(computer.empty());
    EXPECT_LE(computer.size(), 255u);
    EXPECT_FALSE(sys.UserName().empty());
    EXPECT_LE(sys.UserName().size(), 255u);

    // "<architecture> <processor> Revision <hex>"; this 64-bit program is
    // named as a 32-bit one on the same PC is told: "Intel".
    const std::string cpu = CpuDescription(sys.Processor());
    EXPECT_TRUE(std::regex_match(cpu, std::regex("Intel "
                                                 "(80386|80486|Pentinum|Pentinum Pro or "
                                                 "Pentium II|[0-9]+) Revision [0-9a-f]+")))
        << cpu;
}

TEST(Win32System, OsVersionGivesAKnownString) {
    Win32SystemInfo sys;
    const OsVersionFacts v = sys.OsVersion();
    ASSERT_TRUE(v.extendedAvailable);
    ASSERT_TRUE(v.plainAvailable);
    EXPECT_EQ(v.platform, 2u); // the NT family
    EXPECT_GE(v.major, 5u);
    EXPECT_GE(v.productType, 1u);
    EXPECT_LE(v.productType, 3u);
    ASSERT_TRUE(v.productOptionsAvailable);
    EXPECT_TRUE(text::EqualsNoCase(v.productOptions, "WinNT") ||
                text::EqualsNoCase(v.productOptions, "LanmanNT") ||
                text::EqualsNoCase(v.productOptions, "ServerNT"))
        << v.productOptions;

    NoMessages messages;
    const std::string os = OsVersionString(v, messages);
    EXPECT_TRUE(messages.shown.empty()); // the version box belongs to old systems only
    EXPECT_FALSE(os.empty());
    EXPECT_TRUE(std::regex_match(
        os, std::regex("(Windows(2003|XP|2000|NT))?"
                       "(4\\.0\\(Work\\)|\\(HomeEdition\\)|\\(Pro\\)|-Professional|"
                       "-Datacenter-Server|-Advanced-Server|4\\.0\\(Ser\\)|-Datacenter-Edition|"
                       "-Enterprise-Edition|-Web-Edition|-Server\\(Std\\)|-Server|"
                       "Server 4\\.0, Enterprise Edition )")))
        << os;
}

TEST(Win32System, ClockIsLocalTime) {
    const LocalTime t = Win32Clock().Now();
    SYSTEMTIME s{};
    GetLocalTime(&s);
    EXPECT_EQ(t.year, s.wYear);
    EXPECT_EQ(t.month, s.wMonth);
    EXPECT_TRUE(
        std::regex_match(ScanTimeText(t), std::regex("[0-9]{4}-[0-9]+-[0-9]+, [0-9]+:[0-9]+ ")));
}

using Win32AppPaths_ = AppPathsKeys;

TEST_F(Win32AppPaths_, SubKeysCompareUpperCased) {
    Register("OstravionProbe.exe");
    Register("ostravion-second.EXE");
    const std::string korean = "\xC7\xD1\xB1\xDB"
                               "app.exe"; // 한글app.exe
    Register(korean);
    Win32AppPaths paths;
    EXPECT_TRUE(paths.IsRegistered("OSTRAVIONPROBE.EXE"));
    EXPECT_TRUE(paths.IsRegistered("OSTRAVION-SECOND.EXE"));
    EXPECT_TRUE(paths.IsRegistered("\xC7\xD1\xB1\xDB"
                                   "APP.EXE"));
    // The name given is compared as it is: it must already be upper case.
    EXPECT_FALSE(paths.IsRegistered("OstravionProbe.exe"));
    EXPECT_FALSE(paths.IsRegistered("OSTRAVIONPROBE.EX"));
    EXPECT_FALSE(paths.IsRegistered("OSTRAVIONPROBE"));
    EXPECT_FALSE(paths.IsRegistered("NOT-REGISTERED-ANYWHERE.EXE"));
    EXPECT_FALSE(paths.IsRegistered(""));
}

TEST_F(Win32AppPaths_, BothRegistryViewsAreRead) {
    // Windows 7 and later (and Wine) share App Paths between the two views;
    // earlier ones keep a 32-bit App Paths under WOW6432Node, as they keep
    // this stand-in key.
    const std::string key = "SOFTWARE\\OstravionTest";
    const std::string apps = key + "\\App Paths";
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        Register("OstravionTest", view, "SOFTWARE");
        Register("App Paths", view, key);
        Register("OstravionBoth.exe", view, apps);
    }
    Register("Ostravion64.exe", KEY_WOW64_64KEY, apps);
    Register("Ostravion32.exe", KEY_WOW64_32KEY, apps);
    ASSERT_FALSE(InView(apps + "\\Ostravion32.exe", KEY_WOW64_64KEY));
    ASSERT_FALSE(InView(apps + "\\Ostravion64.exe", KEY_WOW64_32KEY));

    Win32AppPaths paths(apps);
    EXPECT_TRUE(paths.IsRegistered("OSTRAVION64.EXE"));
    EXPECT_TRUE(paths.IsRegistered("OSTRAVION32.EXE"));
    EXPECT_TRUE(paths.IsRegistered("OSTRAVIONBOTH.EXE"));
    EXPECT_FALSE(paths.IsRegistered("OSTRAVION.EXE"));
}

TEST(Win32VersionStrings, FixtureStringsAsStored) {
    Win32VersionStrings v;
    const std::string dll = ProgramFolder() + "version_fixture.dll";
    ASSERT_NE(GetFileAttributesA(dll.c_str()), INVALID_FILE_ATTRIBUTES) << dll;
    EXPECT_EQ(v.Read(dll, "CompanyName"), "\xC7\xD1\xB1\xDB\xC8\xB8\xBB\xE7 Ltd.");
    EXPECT_EQ(v.Read(dll, "FileDescription"), "Line one\r\nLine two"); // the raw value
    EXPECT_EQ(v.Read(dll, "ProductName"), "Ostravion Fixture");
    EXPECT_EQ(v.Read(dll, "ProductVersion"), "1.2.3");
    EXPECT_EQ(v.Read(dll, "Comments"), "");
    EXPECT_EQ(v.Read(dll, "LegalCopyright"), "");
    // The letter case of the path does not matter on Windows.
    EXPECT_EQ(v.Read(text::ToUpper(dll), "ProductVersion"), "1.2.3");
}

TEST(Win32VersionStrings, FilesWithoutStrings) {
    Win32VersionStrings v;
    // This test program carries no version resource.
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    EXPECT_EQ(v.Read(self, "CompanyName"), "");
    EXPECT_EQ(v.Read(ProgramFolder() + "no-such-file.dll", "CompanyName"), "");
    EXPECT_EQ(v.Read(ProgramFolder(), "CompanyName"), ""); // a folder
    EXPECT_EQ(v.Read("", "CompanyName"), "");
}

TEST(Win32VersionStrings, SystemLibrary) {
    Win32VersionStrings v;
    const std::string kernel = SystemFolder() + "\\kernel32.dll";
    EXPECT_FALSE(v.Read(kernel, "CompanyName").empty());
    EXPECT_FALSE(v.Read(kernel, "ProductVersion").empty());
}

TEST(Win32FileDates, CreationTimeInLocalTime) {
    char tmp[MAX_PATH], name[MAX_PATH];
    ASSERT_GT(GetTempPathA(sizeof tmp, tmp), 0u);
    ASSERT_NE(GetTempFileNameA(tmp, "osd", 0, name), 0u); // makes the file
    const LocalTime now = Win32Clock().Now();
    LocalTime made;
    Win32FileDates dates;
    ASSERT_TRUE(dates.Created(name, made));
    DeleteFileA(name);
    // Made a moment ago, in the same local hour (or the one before it).
    const int nowMinutes = ((now.day * 24) + now.hour) * 60 + now.minute;
    const int madeMinutes = ((made.day * 24) + made.hour) * 60 + made.minute;
    EXPECT_EQ(made.year, now.year);
    EXPECT_EQ(made.month, now.month);
    EXPECT_LE(nowMinutes - madeMinutes, 1);
    EXPECT_GE(nowMinutes - madeMinutes, 0);
    EXPECT_FALSE(dates.Created(name, made));
}

TEST(Win32Threads, LowersOnlyTheCallingThread) {
    int inside = 0;
    std::thread t([&] {
        Win32Threads().LowerCurrentThread();
        inside = GetThreadPriority(GetCurrentThread());
    });
    t.join();
    EXPECT_EQ(inside, THREAD_PRIORITY_LOWEST);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
}
