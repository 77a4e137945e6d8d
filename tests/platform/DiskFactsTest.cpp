#include "platform/disk/DiskPorts.h"
#include "platform/disk/RegistryHive.h"
#include "platform/disk/WindowsFacts.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/posix/PosixWalk.h"

#include "disk/HiveWriter.h"
#include "scan/Facts.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

using namespace ostravion;
namespace fs = std::filesystem;

namespace {

struct HiveDir : ::testing::Test {
    fs::path dir;
    posix::IconvCodec codec;
    posix::IconvUtf16ToCp949 utf16_;

    void SetUp() override {
        char tmpl[] = "/tmp/ostravion-hive-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Bytes(const std::vector<std::string>& lines) {
        const std::string path = (dir / "hive").string();
        EXPECT_TRUE(hivetest::WriteHive(path, lines));
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

const std::string kLong(300, 'A');

} // namespace

TEST_F(HiveDir, FactsOfAWindowsInstallation) {
    const auto system = disk::RegistryHive::FromBytes(Bytes({
        "Select|Current|dword|2",
        "ControlSet001\\Control\\ComputerName\\ComputerName|ComputerName|sz|OLDNAME",
        "ControlSet002\\Control\\ComputerName\\ComputerName|ComputerName|sz|WINPC",
        "ControlSet002\\Control\\Session Manager\\Environment|PROCESSOR_ARCHITECTURE|sz|AMD64",
        "ControlSet002\\Control\\Session Manager\\Environment|PROCESSOR_LEVEL|sz|6",
        "ControlSet002\\Control\\Session Manager\\Environment|PROCESSOR_REVISION|sz|9e0a",
        "ControlSet002\\Control\\ProductOptions|ProductType|sz|ServerNT",
        "ControlSet002\\Control\\ProductOptions|ProductSuite|multi|Blade",
    }));
    const auto software = disk::RegistryHive::FromBytes(Bytes({
        "Microsoft\\Windows\\CurrentVersion\\Authentication\\LogonUI|LastLoggedOnUser|sz|"
        "OFFICE\\kim",
        "Microsoft\\Windows NT\\CurrentVersion|CurrentVersion|sz|5.2",
        "Microsoft\\Windows\\CurrentVersion\\App Paths\\Winword.exe",
        "WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\excel.EXE",
    }));
    ASSERT_TRUE(system && software);
    const disk::WindowsFacts f = disk::ReadWindowsFacts(system.get(), software.get(), codec);
    EXPECT_EQ(f.computerName, "WINPC"); // the control set Select\Current names
    EXPECT_EQ(f.userName, "kim");
    // AMD64: named as a 32-bit program on 64-bit Windows is told.
    EXPECT_EQ(CpuDescription(f.processor), "Intel Pentinum Pro or Pentium II Revision 9e0a");
    struct Silent : MessagePort {
        void Show(const std::string&) override {}
        bool Ask(const std::string&) override { return false; }
    } silent;
    EXPECT_EQ(OsVersionString(f.os, silent), "Windows2003-Web-Edition");
    EXPECT_EQ(f.appPaths, (std::unordered_set<std::string>{"WINWORD.EXE", "EXCEL.EXE"}));
}

TEST_F(HiveDir, LaterWindowsAndMissingValues) {
    const auto software = disk::RegistryHive::FromBytes(Bytes({
        // Keys and values are found in any letter case, as Windows finds them.
        "MICROSOFT\\Windows NT\\currentversion|CurrentVersion|sz|6.3",
        "MICROSOFT\\Windows NT\\currentversion|currentmajorversionnumber|dword|10",
        // A name longer than the enumeration's buffer ends the enumeration.
        "Microsoft\\Windows\\CurrentVersion\\App Paths\\A.EXE",
        "Microsoft\\Windows\\CurrentVersion\\App Paths\\" + kLong,
        "Microsoft\\Windows\\CurrentVersion\\App Paths\\Z.EXE",
    }));
    ASSERT_TRUE(software);
    const disk::WindowsFacts f = disk::ReadWindowsFacts(nullptr, software.get(), codec);
    EXPECT_EQ(f.computerName, "");
    EXPECT_EQ(f.processor.architecture, 0xFFFFu);
    // Windows 10 answers the program, which names no later system in its manifest, as 6.2.
    EXPECT_EQ(f.os.major, 6u);
    EXPECT_EQ(f.os.minor, 2u);
    EXPECT_EQ(f.appPaths, (std::unordered_set<std::string>{"A.EXE"}));
}

TEST_F(HiveDir, BrokenHivesAreRefused) {
    const std::string good = Bytes({"Select|Current|dword|1"});
    EXPECT_TRUE(disk::RegistryHive::FromBytes(good));
    EXPECT_FALSE(disk::RegistryHive::FromBytes(good.substr(0, 6000)));
    EXPECT_FALSE(disk::RegistryHive::FromBytes(std::string(8192, 'x')));
    EXPECT_FALSE(disk::RegistryHive::FromBytes(""));
    // Cut at the end of a bin, as hivex alone would read it: refused by the
    // header's length of the bins, with the reason.
    std::vector<std::string> many{"Select|Current|dword|1"};
    for (int i = 0; i < 300; ++i)
        many.push_back("Filler\\K" + std::to_string(i) + "|V|sz|" + std::string(100, 'v'));
    const std::string big = Bytes(many);
    ASSERT_GT(big.size(), 8192u);
    std::string why;
    EXPECT_FALSE(disk::RegistryHive::FromBytes(big.substr(0, 8192), &why));
    EXPECT_NE(why.find("하이브가 잘렸습니다"), std::string::npos) << why;
    // Written cleanly or not: the two sequence numbers.
    const auto clean = disk::RegistryHive::FromBytes(big);
    ASSERT_TRUE(clean);
    EXPECT_FALSE(clean->Dirty());
    EXPECT_TRUE(clean->HasKey("select"));
    EXPECT_FALSE(clean->HasKey("Microsoft"));
    // The root key's sub-key list leads out of the hive (the root's cell is
    // named at 0x24 of the header; its list at 4 + 28 into the cell): the
    // lookups below the root fail, which is no missing key.
    std::string broken = big;
    const auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<unsigned char>(broken[at + static_cast<std::size_t>(i)]);
        return v;
    };
    broken.replace(4096 + u32(0x24) + 4 + 28, 4, "\xF0\xFF\xFF\x7F");
    const auto damaged = disk::RegistryHive::FromBytes(broken, &why);
    ASSERT_TRUE(damaged) << why;
    EXPECT_FALSE(damaged->Damaged());
    EXPECT_FALSE(damaged->Dword("Select", "Current"));
    EXPECT_TRUE(damaged->Damaged());
    EXPECT_FALSE(clean->Dword("Select", "Missing"));
    EXPECT_FALSE(clean->Damaged()); // a missing value is no damage
    // The first sequence number one more, and the header's checksum (the XOR
    // of its first 508 bytes, at 508) with it.
    std::string dirty = big;
    dirty[4] = static_cast<char>(dirty[4] ^ 1);
    dirty[508] = static_cast<char>(dirty[508] ^ 1);
    const auto unclean = disk::RegistryHive::FromBytes(dirty, &why);
    ASSERT_TRUE(unclean) << why;
    EXPECT_TRUE(unclean->Dirty());

    // A folder given as drive C: whose SOFTWARE hive is cut short: a
    // Korean message, and the earlier drives stay.
    posix::PosixFileSearch search(codec);
    posix::PosixDrives drives(codec);
    pe::PeVersionStrings versions(utf16_);
    posix::PosixFileSystem files(codec);
    posix::PosixFileDates dates(files);
    posix::PosixSystemInfo system(codec);
    disk::DiskPorts ports({codec, search, drives, versions, dates, system, utf16_});
    const fs::path config = dir / "c" / "WINDOWS" / "system32" / "Config";
    fs::create_directories(config);
    std::ofstream(config / "software", std::ios::binary) << good.substr(0, 6000);
    std::string error;
    EXPECT_FALSE(ports.Configure({{"C=" + (dir / "c").string()}, ""}, error));
    EXPECT_NE(error.find("레지스트리 하이브 \"WINDOWS/system32/Config/software\""),
              std::string::npos)
        << error;
    EXPECT_EQ(ports.System().AuditedDisk(), "");

    // A hive of another kind in SOFTWARE's place.
    std::ofstream(config / "software", std::ios::binary) << good;
    EXPECT_FALSE(ports.Configure({{"C=" + (dir / "c").string()}, ""}, error));
    EXPECT_NE(error.find("SOFTWARE 하이브가 아닙니다"), std::string::npos) << error;

    std::ofstream(config / "software", std::ios::binary)
        << Bytes({"Microsoft\\Windows NT\\CurrentVersion|CurrentVersion|sz|5.1"});
    ASSERT_TRUE(ports.Configure({{"C=" + (dir / "c").string()}, ""}, error)) << error;
    EXPECT_EQ(ports.System().AuditedDisk(), "C: " + (dir / "c").string());
    // A file that holds no NTFS volume.
    std::ofstream(dir / "disk.img", std::ios::binary) << std::string(1 << 16, '\0');
    EXPECT_FALSE(ports.Configure({{"D=" + (dir / "disk.img").string()}, ""}, error));
    EXPECT_NE(error.find("NTFS 볼륨이 아닙니다"), std::string::npos) << error;
    EXPECT_EQ(ports.DriveList().FixedDrives().at(0).native, (dir / "c").string() + "/");
}
