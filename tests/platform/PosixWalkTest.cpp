#include "platform/posix/PosixWalk.h"
#include "platform/ScanStandIns.h"
#include "platform/posix/PosixPlatform.h"

#include "../Fakes.h"
#include "files/Container.h"
#include "scan/SearchThread.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace ostravion;
using namespace ostravion::posix;
namespace fs = std::filesystem;

namespace {

struct TempTree : ::testing::Test {
    fs::path dir;
    IconvCodec codec;
    PosixFileSearch search{codec};

    void SetUp() override {
        char tmpl[] = "/tmp/ostravion-walk-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }

    void File(const fs::path& rel, std::size_t size) {
        fs::create_directories((dir / rel).parent_path());
        std::ofstream(dir / rel, std::ios::binary) << std::string(size, 'x');
    }
    std::string Native(const fs::path& rel = {}) const {
        std::string s = (dir / rel).string();
        return s.back() == '/' ? s : s + "/";
    }
    std::map<std::string, DirEntry> ListByName(const fs::path& rel = {}) {
        std::vector<DirEntry> entries;
        EXPECT_TRUE(search.List(Native(rel), entries));
        std::map<std::string, DirEntry> out;
        for (const DirEntry& e : entries)
            out[e.nativeName] = e;
        return out;
    }
};

const std::string kHangulUtf8 = "\xED\x95\x9C\xEA\xB8\x80"; // 한글
const std::string kHangulCp949 = "\xC7\xD1\xB1\xDB";

} // namespace

TEST_F(TempTree, ListingAttributesNamesAndLazySizes) {
    File("a.exe", 4);
    File(".hidden.exe", 2);
    File(kHangulUtf8 + ".exe", 3);
    File("caf\xE9.exe", 1); // not UTF-8
    fs::create_directory(dir / "sub");
    fs::create_directory(dir / ".cfg");
    fs::create_symlink("a.exe", dir / "link.txt");
    fs::create_symlink("missing", dir / "dangling.txt");
    fs::create_directory_symlink(".", dir / "self");
    ASSERT_EQ(::mkfifo((dir / "pipe.exe").c_str(), 0600), 0);

    auto e = ListByName();
    EXPECT_EQ(e.size(), 8u); // no ".", "..", pipe or dangling link
    EXPECT_FALSE(e.count("pipe.exe"));
    EXPECT_FALSE(e.count("dangling.txt"));

    EXPECT_EQ(e["a.exe"].attributes, unsigned(kAttrArchive));
    EXPECT_FALSE(e["a.exe"].sizeKnown);
    std::uint64_t size = 0;
    EXPECT_TRUE(search.FileSize(Native() + "a.exe", size));
    EXPECT_EQ(size, 4u);
    EXPECT_FALSE(search.FileSize(Native() + "gone.exe", size));

    EXPECT_EQ(e[".hidden.exe"].attributes, unsigned(kAttrArchive | kAttrHidden));
    EXPECT_EQ(e[".cfg"].attributes, unsigned(kAttrDirectory | kAttrHidden));
    EXPECT_EQ(e["sub"].attributes, unsigned(kAttrDirectory));
    struct stat st {};
    ASSERT_EQ(::stat((dir / "sub").c_str(), &st), 0);
    EXPECT_EQ(e["sub"].device, st.st_dev);
    EXPECT_EQ(e["sub"].inode, st.st_ino);

    // Links are listed as links, as Windows lists them: no size of their own.
    EXPECT_EQ(e["link.txt"].attributes, unsigned(kAttrArchive | kAttrReparsePoint));
    EXPECT_TRUE(e["link.txt"].link);
    EXPECT_TRUE(e["link.txt"].sizeKnown);
    EXPECT_EQ(e["link.txt"].size, 0u);
    EXPECT_EQ(e["self"].attributes, unsigned(kAttrDirectory | kAttrReparsePoint));
    EXPECT_TRUE(e["self"].link);
    EXPECT_FALSE(e["sub"].link);

    EXPECT_EQ(e[kHangulUtf8 + ".exe"].name, kHangulCp949 + ".exe");
    EXPECT_EQ(e["caf\xE9.exe"].name, "caf?.exe");

    std::vector<DirEntry> none;
    EXPECT_FALSE(search.List(Native("nowhere"), none));
    EXPECT_FALSE(search.List(Native() + "a.exe/", none));
    std::uint64_t dev = 0, ino = 0;
    EXPECT_FALSE(search.Identify(Native() + "a.exe", dev, ino));
}

// A walk's request: a sub-folder opened by name in its parent held open,
// and the sizes it asks for fetched with the listing.
TEST_F(TempTree, RequestedListingInAHeldParentWithTheSizesAsked) {
    File("top/sub/a.exe", 4);
    File("top/sub/b.txt", 5);
    const std::string top = Native("top");
    std::vector<DirEntry> entries;
    std::unique_ptr<HeldFolder> held;
    ListRequest request(top);
    request.hold = true;
    ASSERT_EQ(search.ListRequested(request, entries, held), ReadFault::None);
    ASSERT_NE(held, nullptr);
    ASSERT_EQ(entries.size(), 1u);

    // The parent moved away since: the sub-folder is still reached through it.
    fs::rename(dir / "top", dir / "moved");
    const std::string sub = top + "sub/";
    const std::function<bool(const DirEntry&)> wants = [](const DirEntry& e) {
        return e.nativeName == "a.exe";
    };
    ListRequest child(sub);
    child.parent = held.get();
    child.name = "sub";
    child.device = entries[0].device;
    child.wantsSize = &wants;
    std::unique_ptr<HeldFolder> none;
    ASSERT_EQ(search.ListRequested(child, entries, none), ReadFault::None);
    EXPECT_EQ(none, nullptr);
    std::map<std::string, DirEntry> byName;
    for (const DirEntry& e : entries)
        byName[e.nativeName] = e;
    ASSERT_EQ(byName.size(), 2u);
    EXPECT_TRUE(byName["a.exe"].sizeKnown);
    EXPECT_EQ(byName["a.exe"].size, 4u);
    EXPECT_FALSE(byName["b.txt"].sizeKnown);

    // Without its parent it is looked for by its whole path, which is gone.
    EXPECT_FALSE(search.List(sub, entries));
}

// On ext4 and XFS a sub-folder's identity comes from its parent's listing,
// on the device the walk told, unless the mount table has a file system
// mounted right inside the folder, or cannot be read.
TEST_F(TempTree, SubFolderIdentityFromTheListingWhereNoMountIsInside) {
    struct statfs fsInfo {};
    ASSERT_EQ(::statfs(dir.c_str(), &fsInfo), 0);
    if (fsInfo.f_type != 0xEF53 && fsInfo.f_type != 0x58465342)
        GTEST_SKIP() << "the temporary folder is on neither ext4 nor XFS";
    File("top/sub/a.exe", 1);
    struct stat sub {};
    ASSERT_EQ(::stat((dir / "top/sub").c_str(), &sub), 0);
    const std::string table = (dir / "mountinfo").string();
    const auto identity = [&](const std::string& mountPoint) {
        std::ofstream(table) << "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                             << "40 22 0:50 / " << mountPoint << " rw - tmpfs tmpfs rw\n";
        PosixFileSearch fresh(codec, table);
        std::vector<DirEntry> entries;
        std::unique_ptr<HeldFolder> held;
        const std::string top = Native("top");
        ListRequest request(top);
        request.device = 7; // a device no stat gives
        EXPECT_EQ(fresh.ListRequested(request, entries, held), ReadFault::None);
        EXPECT_EQ(entries.size(), 1u);
        return entries.empty() ? std::pair<std::uint64_t, std::uint64_t>()
                               : std::pair(entries[0].device, entries[0].inode);
    };
    using Identity = std::pair<std::uint64_t, std::uint64_t>;
    EXPECT_EQ(identity("/elsewhere"), Identity(7, sub.st_ino));
    EXPECT_EQ(identity((dir / "top/sub").string()), Identity(sub.st_dev, sub.st_ino));
    fs::remove(table);
    PosixFileSearch blind(codec, table);
    std::vector<DirEntry> entries;
    std::unique_ptr<HeldFolder> held;
    const std::string top = Native("top");
    ListRequest request(top);
    request.device = 7;
    ASSERT_EQ(blind.ListRequested(request, entries, held), ReadFault::None);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].device, std::uint64_t(sub.st_dev));
}

TEST_F(TempTree, NtfsAttributesWhereTheVolumeKeepsThem) {
    unsigned a = 0;
    const unsigned char value[4] = {0x00, 0x00, 0x00, 0x23}; // archive, hidden, read-only
    EXPECT_TRUE(NtfsAttributes(value, 4, a));
    EXPECT_EQ(a, unsigned(kAttrArchive | kAttrHidden | kAttrReadOnly));
    const unsigned char big[4] = {0x12, 0x34, 0x56, 0x78};
    EXPECT_TRUE(NtfsAttributes(big, 4, a));
    EXPECT_EQ(a, 0x12345678u);
    EXPECT_FALSE(NtfsAttributes(value, 3, a));

    File("ro.exe", 1);
    const unsigned char readOnly[4] = {0, 0, 0, 0x01};
    if (::setxattr((dir / "ro.exe").c_str(), "system.ntfs_attrib_be", readOnly, 4, 0) != 0)
        GTEST_SKIP() << "the temporary folder is not on an NTFS volume";
    EXPECT_EQ(ListByName()["ro.exe"].attributes, unsigned(kAttrReadOnly));
}

namespace {
class Sink final : public ProgramSink {
public:
    void AddFoundProgram(const FoundProgram& p) override { found.push_back(p.Folder + p.FileName); }
    std::vector<std::string> found;
};
} // namespace

TEST_F(TempTree, ScanOfARealTreeThroughADriveMap) {
    File("app/hwp.exe", 2000);
    File("app/notes.txt", 5);
    File(".hidden/hwp.exe", 2000);
    File(kHangulUtf8 + "/hwp.exe", 2000);
    File("app/Temporary Internet Files/hwp.exe", 2000);
    fs::create_directory_symlink("..", dir / "app" / "up");   // back to the root: a loop
    fs::create_directory_symlink(".", dir / "app" / "again"); // onto itself
    File("tool/tool.exe", 10);
    // A folder on another file system, reached through a link: not walked.
    fs::path other;
    struct stat here {
    }, there{};
    if (::stat("/dev/shm", &there) == 0 && ::stat(dir.c_str(), &here) == 0 &&
        here.st_dev != there.st_dev) {
        char tmpl[] = "/dev/shm/ostravion-walk-XXXXXX";
        if (::mkdtemp(tmpl)) {
            other = tmpl;
            std::ofstream(other / "hwp.exe", std::ios::binary) << std::string(2000, 'x');
            fs::create_directory_symlink(other, dir / "shm");
        }
    }

    test::MemoryFileSystem files;
    test::RecordingMessages messages;
    CAuditUtil util(files, messages);
    std::string container;
    ASSERT_TRUE(
        ScrambleText("caption\tx\tx\tx\tx\r\nK0\tAPP\tK2\tHangul\t7.0\tHWP.EXE\t2000\tK7\tHancom"
                     "\r\n",
                     container));
    files.files[kKeyListFile] = container;
    PosixDrives drives(codec);
    std::string error;
    ASSERT_TRUE(drives.SetMap({"c=" + dir.string()}, error)) << error;
    ListedAppPaths apps(codec);
    apps.LoadText("Tool.exe\n");
    test::FakeVersionStrings versions;
    versions.Set(Native("tool") + "tool.exe", "CompanyName", "Tool Co");
    Sink sink;
    CSearchThread thread(util, ScanPorts{search, drives, versions, apps}, sink);
    EXPECT_EQ(thread.Run(), ScanOutcome::Completed);
    if (!other.empty())
        fs::remove_all(other);

    std::sort(sink.found.begin(), sink.found.end());
    EXPECT_EQ(sink.found, (std::vector<std::string>{"C:\\.hidden\\HWP.EXE", "C:\\app\\HWP.EXE",
                                                    "C:\\tool\\tool.exe",
                                                    "C:\\" + kHangulCp949 + "\\HWP.EXE"}));
}

TEST(MountInfo, ParsesEscapesAndChoosesLocalDisks) {
    const std::string text = "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
                             "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
                             "28 27 8:17 / /media/usb\\040stick rw - vfat /dev/sdb1 rw\n"
                             "29 27 8:2 / /home rw master:3 - xfs /dev/sda2 rw\n"
                             "30 27 0:40 / /mnt/share rw - nfs4 server:/share rw\n"
                             "31 27 0:41 / /mnt/win rw - fuseblk /dev/sda3 rw\n"
                             "32 27 8:2 / /srv/home rw - xfs /dev/sda2 rw\n"   // the same again
                             "33 27 8:2 /kim /srv/kim rw - xfs /dev/sda2 rw\n" // a part of it
                             "34 27 0:50 / /tmp rw - tmpfs tmpfs rw\n"
                             "35 27 8:5 / /data rw - ext4 /dev/sda5 rw\n"
                             "36 27 0:51 / /data rw - tmpfs tmpfs rw\n" // covers /data
                             "37 27 0:52 / /var/lib/docker/x/merged rw - overlay overlay rw\n"
                             "38 27 8:6 / /boot rw - ext4 /dev/sda6 rw\n"
                             "broken line\n";
    const std::vector<MountEntry> all = ParseMountInfo(text);
    ASSERT_EQ(all.size(), 13u);
    EXPECT_EQ(all[2].mountPoint, "/media/usb stick");
    EXPECT_EQ(all[2].source, "/dev/sdb1");
    EXPECT_EQ(all[3].fsType, "xfs"); // after an optional field
    EXPECT_EQ(all[6].root, "/");
    EXPECT_EQ(all[7].root, "/kim");

    std::vector<std::string> points;
    for (const MountEntry& m : SelectFixedMounts(all, [](const MountEntry& m) {
             return m.source == "/dev/sdb1"; /* removable */
         }))
        points.push_back(m.mountPoint);
    EXPECT_EQ(points, (std::vector<std::string>{"/", "/boot", "/home", "/mnt/win", "/srv/kim"}));
}

TEST(MountInfo, OverlayOnlyAsTheSystemRoot) {
    const auto m = ParseMountInfo("1 0 0:30 / / rw - overlay overlay rw\n");
    EXPECT_EQ(SelectFixedMounts(m, nullptr).size(), 1u);
    EXPECT_FALSE(IsLocalDiskType("tmpfs"));
    EXPECT_FALSE(IsLocalDiskType("cifs"));
    EXPECT_FALSE(IsLocalDiskType("fuse.sshfs"));
    EXPECT_TRUE(IsLocalDiskType("ntfs3"));
}

TEST_F(TempTree, DrivesFromMountsLeaveOutRemovableDisksAndFiles) {
    fs::create_directories(dir / "m" / "fixed");
    fs::create_directories(dir / "m" / "usb");
    File("m/file", 1);
    // A sysfs where 8:17 is a partition of a removable disk and 8:1 of a fixed one.
    fs::create_directories(dir / "sys" / "devices" / "sdb" / "sdb1");
    fs::create_directories(dir / "sys" / "devices" / "sda" / "sda1");
    std::ofstream(dir / "sys" / "devices" / "sdb" / "removable") << "1\n";
    std::ofstream(dir / "sys" / "devices" / "sda" / "removable") << "0\n";
    fs::create_directories(dir / "sys" / "dev" / "block");
    fs::create_directory_symlink("../../devices/sdb/sdb1", dir / "sys" / "dev" / "block" / "8:17");
    fs::create_directory_symlink("../../devices/sda/sda1", dir / "sys" / "dev" / "block" / "8:1");
    const std::string m = (dir / "m").string();
    std::ofstream(dir / "mountinfo") << "1 0 8:1 / " << m << "/fixed rw - ext4 /dev/none1 rw\n"
                                     << "2 0 8:17 / " << m << "/usb rw - vfat /dev/none2 rw\n"
                                     << "3 0 8:1 /file " << m << "/file rw - ext4 /dev/none1 rw\n";
    PosixDrives drives(codec, (dir / "mountinfo").string(), (dir / "sys").string());
    const std::vector<Drive> d = drives.FixedDrives();
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].native, m + "/fixed/");
    EXPECT_EQ(d[0].text, m + "/fixed/");
    EXPECT_EQ(d[0].textSeparator, '/');
}

TEST_F(TempTree, DriveMapLettersAndMistakes) {
    fs::create_directories(dir / "c");
    fs::create_directories(dir / "d");
    PosixDrives drives(codec);
    std::string error;
    ASSERT_TRUE(drives.SetMap({"D=" + Native("d"), "c=" + (dir / "c").string()}, error));
    std::vector<Drive> d = drives.FixedDrives();
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[0].text, "C:\\");
    EXPECT_EQ(d[0].native, Native("c"));
    EXPECT_EQ(d[0].textSeparator, '\\');
    EXPECT_EQ(d[1].text, "D:\\");

    for (const std::string& bad : {"A=" + Native("c"), "C:" + Native("c"), "CC=" + Native("c"),
                                   std::string("C="), "C=" + Native("missing")}) {
        error.clear();
        EXPECT_FALSE(drives.SetMap({bad}, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_FALSE(drives.SetMap({"C=" + Native("c"), "c=" + Native("d")}, error));
    EXPECT_EQ(drives.FixedDrives().size(), 2u); // a failed map changes nothing

    // Without a map: the mounted file systems, never the kernel's own.
    ASSERT_TRUE(drives.SetMap({}, error));
    for (const Drive& drive : drives.FixedDrives()) {
        EXPECT_EQ(drive.native.back(), '/');
        EXPECT_FALSE(drive.native.rfind("/proc", 0) == 0 || drive.native.rfind("/sys", 0) == 0)
            << drive.native;
    }
}

TEST(ListedAppPathsTest, NamesFromAFileUpperCased) {
    IconvCodec codec;
    ListedAppPaths apps(codec);
    apps.LoadText("Winword.exe\r\n\r\n" + kHangulUtf8 + "Tool.exe\nlast.exe");
    EXPECT_EQ(apps.Size(), 3u);
    EXPECT_TRUE(apps.IsRegistered("WINWORD.EXE"));
    EXPECT_TRUE(apps.IsRegistered(kHangulCp949 + "TOOL.EXE"));
    EXPECT_TRUE(apps.IsRegistered("LAST.EXE"));
    EXPECT_FALSE(apps.IsRegistered("Winword.exe"));
    std::string error;
    EXPECT_FALSE(apps.Load("/nonexistent/apps.txt", error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(apps.Load("", error));
    EXPECT_EQ(apps.Size(), 0u);
}
