// Whole scans of real folder trees that a disk can hold but a walk may trip
// over: links in circles, folders it may not read, files past 4 GB, names
// that are not UTF-8 or have no Korean code-page form, very deep trees, a
// folder that goes away under the walk, line breaks and TABs in names and
// version strings. Each scan must end, and every list line of the per-PC
// file must keep its eleven fields.
#include "platform/PeBuilder.h"
#include "platform/ScanStandIns.h"
#include "platform/pe/PeVersion.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/posix/PosixWalk.h"

#include "../Fakes.h"
#include "doc/OstravionDoc.h"
#include "files/Container.h"
#include "util/Text.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace ostravion;
using namespace ostravion::posix;
using namespace ostravion::test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr const char* kResult = ".\\CheckOut\\G_PC.ipt";
constexpr std::uint64_t kHwpSize = 2000;

// Runs the document's work on the scan thread and lets a test act on each
// program as it arrives.
class Host final : public ScanHost {
public:
    void RunOnOwner(std::stop_token, const std::function<void()>& work) override {
        work();
        if (onProgram)
            onProgram();
    }
    void ScanEnded(std::stop_token, ScanOutcome outcome) override {
        std::lock_guard<std::mutex> lock(m_);
        outcome_ = outcome;
        cv_.notify_all();
    }
    std::optional<ScanOutcome> WaitForEnd(std::chrono::seconds limit) {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait_for(lock, limit, [&] { return outcome_.has_value(); });
        return outcome_;
    }
    std::function<void()> onProgram;

private:
    std::mutex m_;
    std::condition_variable cv_;
    std::optional<ScanOutcome> outcome_;
};

// The platform's listing with a hook that runs right after a folder is listed.
class HookedSearch final : public FileSearch {
public:
    explicit HookedSearch(const FileSearch& inner) : inner_(inner) {}
    bool List(const std::string& nativeFolder, std::vector<DirEntry>& out) const override {
        const bool ok = inner_.List(nativeFolder, out);
        if (afterList)
            afterList(nativeFolder);
        return ok;
    }
    bool Identify(const std::string& nativeFolder, std::uint64_t& device,
                  std::uint64_t& inode) const override {
        return inner_.Identify(nativeFolder, device, inode);
    }
    char NativeSeparator() const override { return inner_.NativeSeparator(); }
    bool FileSize(const std::string& nativePath, std::uint64_t& size) const override {
        return inner_.FileSize(nativePath, size);
    }
    std::function<void(const std::string&)> afterList;

private:
    const FileSearch& inner_;
};

// A version resource with the given strings, as a PE file.
std::string PeWith(const std::u16string& company, const std::u16string& description,
                   const std::u16string& version) {
    const VersionNode tree = Root({
        Block(u"StringFileInfo", {Block(u"041204b0",
                                        {
                                            Text(u"CompanyName", company),
                                            Text(u"FileDescription", description),
                                            Text(u"ProductVersion", version),
                                        })}),
        Block(u"VarFileInfo", {Binary(u"Translation", TranslationBytes({{0x0412, 1200}}))}),
    });
    return MakePe({{0x0412, Encode(tree)}}).bytes;
}

struct HardTree : ::testing::Test {
    fs::path dir;
    IconvCodec codec;
    IconvUtf16ToCp949 utf16;
    PosixFileSearch search{codec};
    HookedSearch hooked{search};
    PosixDrives drives{codec};
    ListedAppPaths apps{codec};
    pe::PeVersionStrings versions{utf16};
    MemoryFileSystem files;
    RecordingMessages messages;
    CAuditUtil util{files, messages};
    COstravionView normal{util, nullptr};
    CExtendView extended{util, nullptr};
    Host host;
    std::chrono::seconds limit{60};

    void SetUp() override {
        char tmpl[] = "/tmp/ostravion-hard-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
        // Word of 2000 bytes, and a program whose size in the key list is
        // the low 32 bits of a file past 6 GB, read as a signed number.
        std::string container;
        ASSERT_TRUE(ScrambleText("caption\tx\tx\tx\tx\r\n"
                                 "K0\tAPP\tK2\tHangul\t7.0\tHWP.EXE\t2000\tK7\tHancom\r\n"
                                 "K0\tAPP\tK2\tBig\t1.0\tBIG.EXE\t-2147483643\tK7\tHuge\r\n",
                                 container));
        files.files[kKeyListFile] = container;
        std::string error;
        ASSERT_TRUE(drives.SetMap({"C=" + dir.string()}, error)) << error;
        // Facts with the characters that would break the header apart.
        util.SetScanBaseName("G_PC");
        util.SetPcFacts({"G\tX", "PC\r\n01", "kim\r", "model\n", "2026-1-2, 3:4 "});
    }
    void TearDown() override { RemoveAt(AT_FDCWD, dir.c_str()); }

    // Removes a tree through folder handles, so that neither a path past the
    // system's length limit nor a folder without permissions stops it.
    static void RemoveAt(int parent, const char* name) {
        struct stat st {};
        if (::fstatat(parent, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return;
        if (!S_ISDIR(st.st_mode)) {
            ::unlinkat(parent, name, 0);
            return;
        }
        ::fchmodat(parent, name, 0700, 0);
        const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        if (fd >= 0) {
            std::vector<std::string> names;
            if (DIR* d = ::fdopendir(fd)) {
                while (const dirent* e = ::readdir(d))
                    if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..")
                        names.emplace_back(e->d_name);
                for (const std::string& n : names)
                    RemoveAt(::dirfd(d), n.c_str());
                ::closedir(d);
            } else {
                ::close(fd);
            }
        }
        ::unlinkat(parent, name, AT_REMOVEDIR);
    }

    void File(const fs::path& rel, const std::string& bytes) {
        fs::create_directories((dir / rel).parent_path());
        std::ofstream(dir / rel, std::ios::binary) << bytes;
    }
    void Hwp(const fs::path& folder) { File(folder / "HWP.EXE", std::string(kHwpSize, 'x')); }

    // One whole scan through the document; the per-PC file it wrote.
    std::string Scan() {
        ScanRequest request{ScanPorts{hooked, drives, versions, apps}};
        COstravionDoc doc(util, normal, extended);
        doc.StartScan(request, host);
        const std::optional<ScanOutcome> outcome = host.WaitForEnd(limit);
        EXPECT_EQ(outcome, ScanOutcome::Completed) << "the scan did not end in time";
        if (!outcome)
            return {};
        doc.StopScan();
        return files.files[kResult];
    }

    // The list lines of a per-PC file, each split into its fields, after
    // checking that every line ends with CR LF and every list line holds
    // eleven fields each followed by one TAB.
    static std::vector<std::vector<std::string>> ListLines(const std::string& bytes) {
        std::vector<std::vector<std::string>> out;
        EXPECT_TRUE(bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0);
        std::size_t lineNo = 0;
        for (std::size_t at = 0; at < bytes.size(); ++lineNo) {
            const std::size_t end = bytes.find("\r\n", at);
            const std::string line = bytes.substr(at, end - at);
            at = end == std::string::npos ? bytes.size() : end + 2;
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "line " << lineNo;
            if (lineNo < 11) {
                EXPECT_EQ(line.find('\t'), std::string::npos) << "header line " << lineNo;
                continue;
            }
            EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 11) << line;
            EXPECT_EQ(line.back(), '\t') << line;
            const std::vector<std::string> fields = text::SplitText(line, "\t");
            EXPECT_EQ(fields.size(), 11u) << line;
            out.push_back(fields);
        }
        EXPECT_GE(lineNo, 11u);
        return out;
    }
    // The folder column of every list line, sorted.
    static std::vector<std::string> Folders(const std::vector<std::vector<std::string>>& lines) {
        std::vector<std::string> out;
        for (const auto& f : lines)
            out.push_back(f.size() == 11 ? f[10] : "?");
        std::sort(out.begin(), out.end());
        return out;
    }
};

} // namespace

TEST_F(HardTree, TheHeaderKeepsItsElevenLinesWhateverTheFactsHold) {
    Hwp("app");
    const std::string bytes = Scan();
    ASSERT_EQ(ListLines(bytes).size(), 1u);
    const std::vector<std::string> lines = text::SplitText(bytes, "\r\n");
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[1], "PC  01");
    EXPECT_EQ(lines[3], "kim ");
    EXPECT_EQ(lines[5], "model ");
    EXPECT_EQ(lines[9], "G X");
}

TEST_F(HardTree, LinksAreListedButNeverEntered) {
    Hwp("a/b");
    Hwp("c");
    fs::create_directory_symlink("../..", dir / "a" / "b" / "up"); // to the root
    fs::create_directory_symlink(".", dir / "a" / "b" / "self");
    fs::create_directory_symlink("../c", dir / "a" / "toC"); // a and c lead to each other
    fs::create_directory_symlink("../a", dir / "c" / "toA");
    fs::create_directory_symlink(dir, dir / "c" / "absolute");  // the root by its full path
    fs::create_symlink("loop", dir / "loop");                   // a link to itself
    fs::create_symlink(dir / "c" / "HWP.EXE", dir / "HWP.EXE"); // not read as its target
    const auto lines = ListLines(Scan());
    EXPECT_EQ(Folders(lines), (std::vector<std::string>{"C:\\a\\b\\", "C:\\c\\"}));
}

TEST_F(HardTree, FoldersThatCannotBeReadAreLeftOutAndTheRestIsWalked) {
    Hwp("open");
    Hwp("locked/inside");
    Hwp("blind");          // may be entered, not listed
    Hwp("nosearch/inner"); // may be listed, not entered
    Hwp("nosearch");
    ::chmod((dir / "locked").c_str(), 0);
    ::chmod((dir / "blind").c_str(), 0100);
    ::chmod((dir / "nosearch").c_str(), 0400);
    const auto folders = Folders(ListLines(Scan()));
    if (::geteuid() == 0) {
        // The superuser reads every folder whatever its mode: the walk simply
        // goes everywhere.
        EXPECT_EQ(folders.size(), 5u);
    } else {
        EXPECT_EQ(folders, (std::vector<std::string>{"C:\\open\\"}));
    }
}

TEST_F(HardTree, FilesPastFourGigabytesGiveTheLow32BitsAsTheirSize) {
    // Sparse files: nothing is written, only the size is set.
    const auto sparse = [&](const fs::path& rel, std::uint64_t size) {
        fs::create_directories((dir / rel).parent_path());
        const int fd = ::open((dir / rel).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool ok = fd >= 0 && ::ftruncate(fd, static_cast<off_t>(size)) == 0;
        if (fd >= 0)
            ::close(fd);
        return ok;
    };
    if (!sparse("hwp/HWP.EXE", (std::uint64_t{1} << 32) + kHwpSize) ||
        !sparse("big/BIG.EXE", (std::uint64_t{6} << 30) + 5) ||
        !sparse("tool/TOOL.EXE", std::uint64_t{5} << 30))
        GTEST_SKIP() << "the temporary folder holds no files past 4 GB";
    apps.LoadText("TOOL.EXE\n"); // its version resource is looked for, and is not there
    EXPECT_EQ(Folders(ListLines(Scan())), (std::vector<std::string>{"C:\\big\\", "C:\\hwp\\"}));
}

TEST_F(HardTree, NamesNotInUtf8OrWithoutAKoreanFormAreWrittenWithQuestionMarks) {
    Hwp("caf\xE9");                  // Latin-1
    Hwp("\xFF\xFE");                 // no text at all
    Hwp("a\xF0\x9F\x98\x80");        // an emoji
    Hwp("a\xF0\x9F\x98\x81");        // another: the same text as the first
    Hwp("\xE0\xB8\xA0\xE0\xB8\xB2"); // Thai
    Hwp("\xED\x95\x9C/x\xEA\xB8");   // Hangul, then a name cut inside a character
    // A program found through its version resource, in a folder whose text
    // cannot name it: the native name must still lead to the file.
    File("\xF0\x9F\x98\x80/tool.exe", PeWith(u"Tool Co", u"Tool", u"2.0"));
    apps.LoadText("TOOL.EXE\n");
    const auto lines = ListLines(Scan());
    const std::vector<std::string> folders = Folders(lines);
    EXPECT_EQ(folders.size(), 7u);
    for (const std::string& f : folders) {
        EXPECT_EQ(f.substr(0, 3), "C:\\");
        EXPECT_EQ(f.back(), '\\');
    }
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "C:\\a?\\"), 2);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "C:\\caf?\\"), 1);
    EXPECT_NE(std::find(folders.begin(), folders.end(), "C:\\?\\"), folders.end()); // the tool
    bool tool = false;
    for (const auto& f : lines)
        tool = tool || (f[8] == "Tool Co" && f[5] == "Tool" && f[6] == "2.0" && f[1] == "3");
    EXPECT_TRUE(tool);
}

TEST_F(HardTree, ThreeHundredLevelsDeep) {
    std::string rel, expected = "C:\\";
    for (int i = 0; i < 300; ++i) {
        rel += "d" + std::to_string(i % 10) + "/";
        expected += "d" + std::to_string(i % 10) + "\\";
    }
    Hwp(rel);
    Hwp("top");
    EXPECT_EQ(Folders(ListLines(Scan())), (std::vector<std::string>{expected, "C:\\top\\"}));
}

TEST_F(HardTree, FoldersDeeperThanTheLongestPathTheSystemOpensAtOnce) {
    // 300 levels of long names: the bottom lies some 8,000 bytes down, past
    // the length of a path the system takes in one call.
    const std::string name = "a-folder-of-a-deep-tree";
    std::string expected = "C:\\";
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < 300 && fd >= 0; ++i) {
        const std::string level = name + std::to_string(i % 10);
        expected += level + "\\";
        ::mkdirat(fd, level.c_str(), 0700);
        const int next = ::openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    ASSERT_GE(fd, 0);
    const int file = ::openat(fd, "HWP.EXE", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(file, 0);
    ASSERT_EQ(::write(file, std::string(kHwpSize, 'x').data(), kHwpSize),
              static_cast<ssize_t>(kHwpSize));
    ::close(file);
    ::close(fd);
    ASSERT_GT(expected.size(), 4096u);
    Hwp("top");
    const std::vector<std::string> folders = Folders(ListLines(Scan()));
    ASSERT_EQ(folders.size(), 2u) << "the bottom of the tree was not reached";
    EXPECT_TRUE(folders[0] == expected) << folders[0].size() << " bytes, not " << expected.size();
    EXPECT_EQ(folders[1], "C:\\top\\");
}

TEST_F(HardTree, AFolderRemovedWhileTheWalkIsInsideIt) {
    Hwp("keep");
    Hwp("gone/sub");
    File("gone/HWP.EXE", std::string(kHwpSize, 'x'));
    File("gone/TOOL.EXE", PeWith(u"Tool Co", u"Tool", u"2.0"));
    apps.LoadText("TOOL.EXE\n");
    Hwp("found/first");
    Hwp("found/then");
    // "gone" is removed right after its listing: its files and its sub-folder
    // have vanished by the time the walk turns to them.
    const std::string gone = (dir / "gone").string() + "/";
    // The first program found under "found" removes all of "found" while
    // the walk is in one of its sub-folders (programs are handed over while
    // the walk is in the folder it listed last).
    std::string current;
    hooked.afterList = [&](const std::string& folder) {
        current = folder;
        if (folder == gone)
            fs::remove_all(gone);
    };
    host.onProgram = [&] {
        if (current.find("/found/") != std::string::npos)
            fs::remove_all(dir / "found");
    };
    const auto folders = Folders(ListLines(Scan()));
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[0].substr(0, 9), "C:\\found\\");
    EXPECT_EQ(folders[1], "C:\\keep\\");
}

TEST_F(HardTree, AFileThatBecomesAPipeUnderTheWalkDoesNotHoldItUp) {
    File("race/TOOL.EXE", PeWith(u"Tool Co", u"Tool", u"2.0"));
    File("race/sub/HWP.EXE", std::string(kHwpSize, 'x'));
    Hwp("keep");
    apps.LoadText("TOOL.EXE\n");
    // After the listing the executable and the folder become pipes: whoever
    // opens one to read waits for a writer that never comes.
    const std::string race = (dir / "race").string() + "/";
    hooked.afterList = [&](const std::string& folder) {
        if (folder != race)
            return;
        fs::remove(dir / "race" / "TOOL.EXE");
        fs::remove_all(dir / "race" / "sub");
        ::mkfifo((dir / "race" / "TOOL.EXE").c_str(), 0600);
        ::mkfifo((dir / "race" / "sub").c_str(), 0600);
    };
    limit = 10s;
    std::string bytes;
    {
        ScanRequest request{ScanPorts{hooked, drives, versions, apps}};
        COstravionDoc doc(util, normal, extended);
        doc.StartScan(request, host);
        const std::optional<ScanOutcome> outcome = host.WaitForEnd(limit);
        EXPECT_EQ(outcome, ScanOutcome::Completed) << "the scan waits on a pipe";
        if (!outcome) {
            // Hand the waiting reader a writer, so that the test can end.
            for (const char* name : {"TOOL.EXE", "sub"}) {
                const int fd = ::open((dir / "race" / name).c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
        }
        doc.StopScan();
        bytes = files.files[kResult];
    }
    EXPECT_EQ(Folders(ListLines(bytes)), (std::vector<std::string>{"C:\\keep\\"}));
}

TEST_F(HardTree, TabsAndLineBreaksInNamesAndVersionStringsBecomeBlanks) {
    Hwp("tab\there");
    Hwp("cr\rhere");
    Hwp("lf\nhere/deeper\r\n");
    File("x\ty/tool.exe", PeWith(u"Tool\tCo", u"Desc\tA\rB", u"1.0\t\n2.0"));
    File("x\ty/other.exe", PeWith(u"Other\r\nCo", u"\tOther", u"\r\n"));
    apps.LoadText("TOOL.EXE\nOTHER.EXE\n");
    const auto lines = ListLines(Scan());
    EXPECT_EQ(Folders(lines),
              (std::vector<std::string>{"C:\\cr here\\", "C:\\lf here\\deeper  \\",
                                        "C:\\tab here\\", "C:\\x y\\", "C:\\x y\\"}));
    std::vector<std::string> versionInfo;
    for (const auto& f : lines)
        if (f[0] == "9")
            versionInfo.push_back(f[8] + "|" + f[5] + "|" + f[6]);
    std::sort(versionInfo.begin(), versionInfo.end());
    EXPECT_EQ(versionInfo, (std::vector<std::string>{"Other| Other|-", "Tool Co|Desc A|1.0 "}));
}
