// The identification walk on a generated tree, driven by bench/walk.sh.
//
//   bench_walk generate TREE         200,000 files in 20,000 folders
//   bench_walk prepare WORK ENTRIES  a work folder with a key list of ENTRIES entries
//   bench_walk walk TREE WORK        one whole scan of TREE as drive C: from the
//                                    work folder WORK; prints what it found
//                                    (READ_AHEAD=N: N workers list folders ahead,
//                                    0 none; the machine's cores by default)
//
// Both key lists identify the same programs: a dozen listed executables,
// found by name and size, by name and version, or by name alone, plus
// registered executables; the larger list adds entries nothing matches.
// Version strings come from a small text block at the start of each
// executable ("Name=Value" lines), read by opening the file, which costs what
// a version read of a real file costs in system calls.
#include "files/Container.h"
#include "files/PcResultFile.h"
#include "platform/ScanStandIns.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/posix/PosixWalk.h"
#include "scan/SearchThread.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace ostravion;

namespace {

constexpr int kTopFolders = 100;
constexpr int kSubFolders = 199; // 100 + 100 * 199 = 20,000 folders
constexpr int kFilesPerFolder = 10;
constexpr int kListedNames = 12;

std::string ListedName(int i) {
    char b[32];
    std::snprintf(b, sizeof b, "APP%02d.EXE", i);
    return b;
}
std::string RegisteredName(int i) {
    char b[32];
    std::snprintf(b, sizeof b, "REG%02d.EXE", i);
    return b;
}
int ListedSize(int i) {
    return 1000 + 37 * i;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    return ::close(fd) == 0 && ok;
}

// An executable of exactly `size` bytes whose version block holds `version`.
std::string Executable(int size, const std::string& version, const std::string& company) {
    std::string s = "MZ\nProductVersion=" + version + "\nCompanyName=" + company +
                    "\nFileDescription=Bench program\n\n";
    s.resize(static_cast<std::size_t>(std::max<int>(size, static_cast<int>(s.size()))), '\0');
    return s;
}

// The tenth file of folder k: now and then a listed or registered executable.
void SpecialFile(int k, std::string& name, std::string& bytes) {
    const int i = (k / 20) % kListedNames;
    if (k % 20 == 0) {
        name = ListedName(i);
        if (k % 3 == 0) // the listed size
            bytes = Executable(ListedSize(i), "0.0", "Bench Co");
        else if (k % 3 == 1) // another size, the listed version
            bytes = Executable(ListedSize(i) + 1, "1." + std::to_string(i), "Bench Co");
        else // neither: reported from its version block
            bytes = Executable(ListedSize(i) + 2, "9.9", "Other Co");
    } else if (k % 20 == 10) {
        name = RegisteredName(i);
        bytes = Executable(300, "2.0", "Registered Co");
    } else {
        name = "file" + std::to_string(k) + ".log";
        bytes = "log\n";
    }
}

int Generate(const std::string& tree) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(tree, ec);
    int k = 0, files = 0, folders = 0;
    auto fill = [&](const std::string& folder) {
        const std::string n = std::to_string(k);
        const char* plain[kFilesPerFolder - 1] = {"readme", "data", "lib",  "notes", "Makefile",
                                                  "img",    "tool", ".hid", "conf"};
        const char* ext[kFilesPerFolder - 1] = {"",     ".dat", ".dll", ".txt", "",
                                                ".png", ".exe", ".cfg", ".ini"};
        for (int f = 0; f < kFilesPerFolder - 1; ++f) {
            const std::string name = std::string(plain[f]) + (ext[f][0] ? n + ext[f] : "");
            if (!WriteFile(folder + "/" + name, f == 6 ? Executable(200, "1.0", "Tool Co") : "x\n"))
                return false;
            ++files;
        }
        std::string name, bytes;
        SpecialFile(k, name, bytes);
        if (!WriteFile(folder + "/" + name, bytes))
            return false;
        ++files;
        ++folders;
        ++k;
        return true;
    };
    for (int t = 0; t < kTopFolders; ++t) {
        const std::string top = tree + "/" + (t % 2 ? "dir" : "Program.Files.") + std::to_string(t);
        if (::mkdir(top.c_str(), 0755) != 0 && errno != EEXIST)
            return 1;
        if (!fill(top))
            return 1;
        for (int s = 0; s < kSubFolders; ++s) {
            const std::string sub = top + "/" + (s % 3 ? "sub" : "Sub Folder.") + std::to_string(s);
            if ((::mkdir(sub.c_str(), 0755) != 0 && errno != EEXIST) || !fill(sub))
                return 1;
        }
    }
    std::printf("generated %d files in %d folders under %s\n", files, folders, tree.c_str());
    return 0;
}

class BlockVersions final : public VersionStrings {
public:
    std::string Read(const std::string& nativePath, const std::string& name) const override {
        const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return {};
        char buf[256];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        ::close(fd);
        if (n <= 2 || buf[0] != 'M' || buf[1] != 'Z')
            return {};
        const std::string block(buf, static_cast<std::size_t>(n));
        const std::string key = "\n" + name + "=";
        const std::size_t at = block.find(key);
        if (at == std::string::npos)
            return {};
        const std::size_t start = at + key.size();
        return block.substr(start, block.find('\n', start) - start);
    }
};

class CountingSink final : public ProgramSink {
public:
    void AddFoundProgram(const FoundProgram& p) override { ++byClass[p.Class[0] - '0']; }
    int byClass[10] = {};
};

std::string KeyListPayload(int entries) {
    std::string p = "caption\tx\tx\tx\tx\r\n";
    int n = 1;
    for (int i = 0; i < kListedNames && n < entries; ++i, ++n)
        p += "K0\tAPP\tK2\tApp " + std::to_string(i) + "\t1." + std::to_string(i) + "\t" +
             ListedName(i) + "\t" + std::to_string(ListedSize(i)) + "\tK7\tBench Co\t\r\n";
    for (; n < entries; ++n)
        p += "K0\tAPP\tK2\tFiller " + std::to_string(n) + "\t1.0\tFILLER" + std::to_string(n) +
             ".EXE\t" + std::to_string(5000 + n) + "\tK7\tFiller Co\t\r\n";
    return p;
}

// A work folder as a scan finds it: KEYLIST.DAT and the CheckOut folder.
int Prepare(const std::string& work, int entries) {
    std::string container;
    std::filesystem::create_directories(work + "/CheckOut");
    if (!ScrambleText(KeyListPayload(entries), container) ||
        !WriteFile(work + "/KEYLIST.DAT", container))
        return 1;
    std::printf("key list of %d entries in %s\n", entries, work.c_str());
    return 0;
}

int Walk(const std::string& tree, const std::string& work) {
    if (::chdir(work.c_str()) != 0)
        return 1;
    posix::IconvCodec codec;
    posix::PosixFileSystem files(codec);
    posix::PosixFileSearch search(codec);
    posix::PosixDrives drives(codec);
    ListedAppPaths apps(codec);
    std::string reg, error;
    for (int i = 0; i < kListedNames; ++i)
        reg += RegisteredName(i) + "\n";
    apps.LoadText(reg);
    if (!drives.SetMap({"C=" + tree}, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    BlockVersions versions;
    struct : MessagePort {
        void Show(const std::string& t) override { std::fprintf(stderr, "%s\n", t.c_str()); }
        bool Ask(const std::string&) override { return false; }
    } messages;
    CAuditUtil util(files, messages);
    util.SetScanBaseName("bench_walk");
    PcFacts facts{"bench", "pc", "user", "model", "2024-1-1, 0:0 "};
    StartScanJournal(files, util.JournalPath(), facts);
    CountingSink sink;
    CSearchThread thread(util, ScanPorts{search, drives, versions, apps}, sink);
    if (const char* workers = std::getenv("READ_AHEAD"))
        thread.SetReadAhead(static_cast<unsigned>(std::atoi(workers)));

    const auto start = std::chrono::steady_clock::now();
    const ScanOutcome outcome = thread.Run();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("entries %zu: %.3f s, found class 1: %d, class 2: %d, class 3: %d\n",
                thread.Keys().Size(), seconds, sink.byClass[1], sink.byClass[2], sink.byClass[3]);
    return outcome == ScanOutcome::Completed ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "generate" && argc == 3)
        return Generate(argv[2]);
    if (mode == "prepare" && argc == 4)
        return Prepare(argv[2], std::atoi(argv[3]));
    if (mode == "walk" && argc == 4)
        return Walk(std::filesystem::absolute(argv[2]).string(),
                    std::filesystem::absolute(argv[3]).string());
    std::fprintf(stderr,
                 "usage: bench_walk generate TREE | prepare WORK ENTRIES | walk TREE WORK\n");
    return 2;
}
