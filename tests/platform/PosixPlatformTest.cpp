#include "platform/posix/PosixPlatform.h"
#include "platform/Native.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace ostravion;
using namespace ostravion::posix;

TEST(IconvCodec, KoreanRoundTripAndReplacement) {
    IconvCodec c;
    const std::string utf8 = "\xEA\xB5\xAD\xEB\x82\xB4 ok"; // "국내 ok"
    const std::string cp949 = "\xB1\xB9\xB3\xBB ok";
    EXPECT_EQ(c.FromUtf8(utf8), cp949);
    EXPECT_EQ(c.ToUtf8(cp949), utf8);
    // An emoji has no CP949 form; a broken UTF-8 byte neither.
    EXPECT_EQ(c.FromUtf8("a\xF0\x9F\x98\x80"
                         "b"),
              "a?b");
    EXPECT_EQ(c.FromUtf8("a\xFF"
                         "b"),
              "a?b");
    // A lead byte cut off at the end, and an invalid pair.
    EXPECT_EQ(c.ToUtf8("ab\xB1"), "ab?");
    EXPECT_EQ(c.ToUtf8("\xFF\xFFz"), "??z");
    EXPECT_EQ(c.ToUtf8(""), "");
}

namespace {
struct TempDir : ::testing::Test {
    std::filesystem::path dir;
    std::filesystem::path old;
    void SetUp() override {
        char tmpl[] = "/tmp/ostravion-fs-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
        old = std::filesystem::current_path();
        std::filesystem::current_path(dir);
    }
    void TearDown() override {
        std::filesystem::current_path(old);
        std::filesystem::remove_all(dir);
    }
};
using PosixFiles = TempDir;
} // namespace

TEST_F(PosixFiles, SystemPathsWithBackslashesAndKoreanNames) {
    IconvCodec codec;
    PosixFileSystem fs(codec);
    EXPECT_TRUE(fs.MakeDirectory(".\\CheckOut\\"));
    EXPECT_TRUE(fs.IsDirectory(".\\CheckOut"));
    const std::string path = ".\\CheckOut\\\xB1\xB9\xB3\xBB_pc.ipt"; // 국내_pc.ipt
    {
        auto f = fs.OpenWrite(path, false);
        ASSERT_TRUE(f);
        EXPECT_TRUE(f->Write("one\r\n"));
        EXPECT_TRUE(f->Close());
    }
    {
        auto f = fs.OpenWrite(path, true);
        ASSERT_TRUE(f);
        EXPECT_TRUE(f->Write("two\r\n"));
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "CheckOut" / "\xEA\xB5\xAD\xEB\x82\xB4_pc.ipt"));
    std::string bytes;
    ASSERT_TRUE(fs.ReadWhole(path, bytes));
    EXPECT_EQ(bytes, "one\r\ntwo\r\n");
    EXPECT_TRUE(fs.Exists(path));
    EXPECT_TRUE(fs.Rename(path, ".\\CheckOut\\b.ipt"));
    EXPECT_FALSE(fs.Exists(path));
    EXPECT_TRUE(fs.Remove(".\\CheckOut\\b.ipt"));
    EXPECT_FALSE(fs.ReadWhole(".\\CheckOut\\b.ipt", bytes));
    EXPECT_FALSE(fs.ReadWhole(".\\CheckOut", bytes)); // a folder is no file
    EXPECT_EQ(fs.OpenWrite(".\\missing\\x.ipt", false), nullptr);
}

TEST_F(PosixFiles, RenameReplacesInOneMove) {
    IconvCodec codec;
    PosixFileSystem fs(codec);
    for (const auto& [name, bytes] :
         {std::pair{"a.tls", "earlier"}, std::pair{"a.tls.new", "later"}})
        std::ofstream(dir / name) << bytes;
    EXPECT_TRUE(fs.Rename("a.tls.new", "a.tls"));
    std::string bytes;
    ASSERT_TRUE(fs.ReadWhole("a.tls", bytes));
    EXPECT_EQ(bytes, "later");
    EXPECT_FALSE(fs.Exists("a.tls.new"));

    // Command-line names are UTF-8 as they are.
    std::ofstream(dir / "\xEA\xB5\xAD.csv.new") << "new";
    EXPECT_TRUE(RenameNativeFile("\xEA\xB5\xAD.csv.new", "\xEA\xB5\xAD.csv"));
    EXPECT_TRUE(std::filesystem::exists(dir / "\xEA\xB5\xAD.csv"));
    EXPECT_FALSE(RenameNativeFile("missing.new", "x.csv"));
}

TEST_F(PosixFiles, ReplaceKeepsTheReplacedFileAsItsBackup) {
    IconvCodec codec;
    PosixFileSystem fs(codec);
    const auto read = [&](const std::string& path) {
        std::string bytes;
        return fs.ReadWhole(path, bytes) ? bytes : "(none)";
    };
    for (const auto& [name, bytes] :
         {std::pair{"a.tls", "earlier"}, std::pair{"a.tls.new", "later"},
          std::pair{"a.tls.old", "stale"}})
        std::ofstream(dir / name) << bytes;
    EXPECT_TRUE(fs.ReplaceKeepingBackup("a.tls.new", "a.tls", "a.tls.old"));
    EXPECT_EQ(read("a.tls"), "later");
    EXPECT_EQ(read("a.tls.old"), "earlier");
    EXPECT_FALSE(fs.Exists("a.tls.new"));

    // A move that fails leaves the file where it was and no backup.
    std::ofstream(dir / "b.tls") << "earlier";
    std::filesystem::create_directories(dir / "b.tls.new" / "inside");
    EXPECT_FALSE(fs.ReplaceKeepingBackup("b.tls.new", "b.tls", "b.tls.old"));
    EXPECT_FALSE(fs.ReplaceKeepingBackup("missing.new", "b.tls", "b.tls.old"));
    EXPECT_EQ(read("b.tls"), "earlier");
    EXPECT_FALSE(fs.Exists("b.tls.old"));
}

// A link under the name of a file the system makes for itself is replaced
// or refused, never followed, and never moved into a file's place.
TEST_F(PosixFiles, LinksAreNeverWrittenThroughNorMovedIntoPlace) {
    IconvCodec codec;
    PosixFileSystem fs(codec);
    std::ofstream(dir / "own.txt") << "kept";
    const auto own = [&] {
        std::string bytes;
        return fs.ReadWhole("own.txt", bytes) ? bytes : "(none)";
    };
    std::filesystem::create_symlink(dir / "own.txt", dir / "a.tls.new");
    EXPECT_TRUE(fs.IsLink("a.tls.new"));
    EXPECT_FALSE(fs.IsLink("own.txt"));
    EXPECT_EQ(fs.OpenWrite("a.tls.new", true), nullptr);
    EXPECT_FALSE(fs.Rename("a.tls.new", "a.tls"));
    std::ofstream(dir / "a.tls") << "earlier";
    EXPECT_FALSE(fs.ReplaceKeepingBackup("a.tls.new", "a.tls", "a.tls.old"));
    EXPECT_FALSE(RenameNativeFile("a.tls.new", "a.tls"));
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "a.tls"));
    {
        auto f = fs.OpenWrite("a.tls.new", false);
        ASSERT_TRUE(f && f->Write("new") && f->Close());
    }
    EXPECT_FALSE(fs.IsLink("a.tls.new"));
    // A link left beside a file the command line writes is replaced too.
    std::filesystem::create_symlink(dir / "nowhere.txt", dir / "out.csv.new");
    {
        auto f = CreateNativeFile((dir / "out.csv.new").string());
        ASSERT_TRUE(f && f->Write("csv") && f->Close());
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "nowhere.txt"));
    EXPECT_EQ(own(), "kept");
    EXPECT_TRUE(fs.Rename("a.tls.new", "a.tls"));
}

TEST_F(PosixFiles, CurrentDirectoryRoundTrip) {
    IconvCodec codec;
    PosixFileSystem fs(codec);
    const std::string here = fs.CurrentDirectory();
    ASSERT_TRUE(fs.MakeDirectory("sub"));
    ASSERT_TRUE(fs.SetCurrentDirectory("sub"));
    EXPECT_EQ(fs.CurrentDirectory(), here + "/sub");
    EXPECT_TRUE(fs.SetCurrentDirectory(here));
}

TEST(ProcessorFacts, FoldedAsWindowsReportsThem) {
    const std::string info = "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\n"
                             "model\t\t: 85\nmodel name\t: Xeon\nstepping\t: 7\n\n"
                             "processor\t: 1\ncpu family\t: 15\nmodel\t\t: 1\nstepping\t: 1\n";
    const ProcessorFacts p = ProcessorFromCpuInfo(info, "x86_64");
    EXPECT_EQ(p.architecture, 9u);
    EXPECT_EQ(p.level, 6u);
    EXPECT_EQ(p.revision, 0x5507u);
    EXPECT_EQ(ProcessorFromCpuInfo("", "i686").architecture, 0u);
    EXPECT_EQ(ProcessorFromCpuInfo("", "riscv64").architecture, 65535u);
}

TEST(PosixSystem, NamesAndEmptyOsString) {
    IconvCodec codec;
    PosixSystemInfo sys(codec);
    EXPECT_FALSE(sys.ComputerName().empty());
    EXPECT_FALSE(sys.UserName().empty());
    const OsVersionFacts v = sys.OsVersion();
    EXPECT_FALSE(v.extendedAvailable);
    EXPECT_FALSE(v.plainAvailable);
}

TEST_F(PosixFiles, ListFilesLeavesOutFoldersAndConvertsNames) {
    IconvCodec codec;
    PosixFileSystem fs(codec);
    ASSERT_TRUE(fs.MakeDirectory(".\\CheckOut"));
    ASSERT_TRUE(fs.MakeDirectory(".\\CheckOut\\sub.ipt"));
    for (const std::string name : {"a.ipt", "\xB0\xA1.ipt"}) // 가.ipt
        ASSERT_TRUE(fs.OpenWrite(".\\CheckOut\\" + name, false));
    std::filesystem::create_symlink("a.ipt", "CheckOut/link.ipt");
    std::filesystem::create_symlink("sub.ipt", "CheckOut/dirlink.ipt");
    std::vector<std::string> names;
    ASSERT_TRUE(fs.ListFiles(".\\CheckOut\\", names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.ipt", "link.ipt", "\xB0\xA1.ipt"}));
    EXPECT_FALSE(fs.ListFiles(".\\Missing\\", names));
    EXPECT_TRUE(names.empty());
}

// Names other systems write: decomposed Hangul, raw CP949 bytes, characters
// CP949 lacks (two of them alike in CP949). Each is listed readably, once,
// and opened as it is on disk.
TEST_F(PosixFiles, ListedNamesOpenWhateverTheirBytes) {
    IconvCodec codec;
    PosixFileSystem fs(codec);
    ASSERT_TRUE(fs.MakeDirectory(".\\CheckOut"));
    const std::string nfd = "\xE1\x84\x80\xE1\x85\xA1\xE1\x86\xB7_1.ipt"; // 감 decomposed
    const std::string raw = "\xB0\xA8_2.ipt";                             // 감 in CP949
    const std::string cafe = "caf\xC3\xA9.ipt", smile = "x\xF0\x9F\x98\x80.ipt",
                      grin = "x\xF0\x9F\x98\x81.ipt";
    for (const std::string& name : {nfd, raw, cafe, smile, grin})
        std::ofstream("CheckOut/" + name, std::ios::binary) << name;
    std::vector<std::string> names;
    ASSERT_TRUE(fs.ListFiles(".\\CheckOut\\", names));
    std::map<std::string, std::string> read;
    for (const std::string& n : names) {
        std::string bytes;
        EXPECT_TRUE(fs.ReadWhole(".\\CheckOut\\" + n, bytes)) << n;
        EXPECT_TRUE(fs.Exists(".\\CheckOut\\" + n)) << n;
        read[bytes] = n;
    }
    ASSERT_EQ(read.size(), 5u);
    EXPECT_EQ(read[nfd], "\xB0\xA8_1.ipt");
    EXPECT_EQ(read[raw], "\xB0\xA8_2.ipt");
    EXPECT_EQ(read[cafe], "caf?.ipt");
    EXPECT_EQ(std::set<std::string>({read[smile], read[grin]}),
              std::set<std::string>({"x?.ipt", "x?~2.ipt"}));
}

TEST_F(PosixFiles, OpenReadHandsOutPieces) {
    IconvCodec codec;
    PosixFileSystem fs(codec);
    {
        auto f = fs.OpenWrite("data", false);
        ASSERT_TRUE(f && f->Write("0123456789") && f->Close());
    }
    auto in = fs.OpenRead("data");
    ASSERT_TRUE(in);
    std::string piece, all;
    int pieces = 0;
    while (in->Read(piece, 4) && !piece.empty()) {
        all += piece;
        ++pieces;
    }
    EXPECT_EQ(all, "0123456789");
    EXPECT_EQ(pieces, 3);
    EXPECT_FALSE(fs.OpenRead("missing"));
    ASSERT_TRUE(fs.MakeDirectory("folder"));
    EXPECT_FALSE(fs.OpenRead("folder"));
}

TEST_F(PosixFiles, CreationDateOfAFileAndNoneForAMissingOne) {
    IconvCodec codec;
    PosixFileSystem fs(codec);
    PosixFileDates dates(fs);
    ASSERT_TRUE(fs.MakeDirectory("app"));
    {
        auto f = fs.OpenWrite("app\\\xB1\xB9.exe", false); // 국.exe
        ASSERT_TRUE(f);
        EXPECT_TRUE(f->Close());
    }
    // A file made long ago: where the file system keeps no birth time, the
    // modification time stands in for it.
    const std::filesystem::path native = dir / "app" / "\xEA\xB5\xAD.exe";
    std::filesystem::last_write_time(native, std::filesystem::file_time_type::clock::now() -
                                                 std::chrono::hours(24 * 400));
    LocalTime t;
    ASSERT_TRUE(dates.Created("app\\\xB1\xB9.exe", t));
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&now, &tm);
    // Either today (birth time) or about 400 days ago (modification time).
    const bool today =
        t.year == tm.tm_year + 1900 && t.month == tm.tm_mon + 1 && t.day == tm.tm_mday;
    EXPECT_TRUE(today || t.year == tm.tm_year + 1900 - 1 || t.year == tm.tm_year + 1900 - 2);
    EXPECT_GE(t.month, 1);
    EXPECT_LE(t.month, 12);

    EXPECT_FALSE(dates.Created("app\\missing.exe", t));
}

TEST(PosixThreads, LowersOnlyTheCallingThread) {
    const int before = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
    int inside = 0;
    std::thread t([&] {
        PosixThreads threads;
        threads.LowerCurrentThread();
        inside = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
    });
    t.join();
    EXPECT_GE(inside, 10);
    EXPECT_EQ(::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid())), before);
}

// What a shared work folder's writers rely on: an exclusive creation that
// neither replaces nor follows what has the name, a move that never replaces,
// and processes of this computer told apart from ended ones.
TEST_F(PosixFiles, ExclusiveCreationAndMovesNeverReplace) {
    IconvCodec codec;
    PosixFileSystem fs(codec);
    std::ofstream(dir / "held.lock") << "another writer";
    std::filesystem::create_symlink(dir / "elsewhere", dir / "link.lock");
    EXPECT_EQ(fs.CreateExclusive("held.lock"), nullptr);
    EXPECT_EQ(fs.CreateExclusive("link.lock"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere"));
    auto made = fs.CreateExclusive("free.lock");
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->Write("mine") && made->Close());

    EXPECT_FALSE(fs.RenameNoReplace("free.lock", "held.lock"));
    std::string bytes;
    ASSERT_TRUE(fs.ReadWhole("held.lock", bytes));
    EXPECT_EQ(bytes, "another writer");
    EXPECT_TRUE(fs.RenameNoReplace("free.lock", "moved.lock"));
    EXPECT_FALSE(fs.Exists("free.lock"));

    const FileStamp before = fs.Stamp("moved.lock");
    EXPECT_TRUE(before.exists);
    EXPECT_EQ(before.size, 4u);
    EXPECT_FALSE(fs.Stamp("missing").exists);

    const WriterFacts self = fs.Writer();
    EXPECT_EQ(self.system, "Linux");
    EXPECT_EQ(self.process, static_cast<std::uint64_t>(::getpid()));
    EXPECT_TRUE(fs.ProcessRunning(self.process));
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_FALSE(fs.ProcessRunning(static_cast<std::uint64_t>(child)));
}
