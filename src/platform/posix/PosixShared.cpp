// What several writers of one shared work folder need from Linux: exclusive
// creation, a rename that never replaces, who this writer is, and whether a
// process that left a lock file is still running.
#include "platform/posix/PosixPlatform.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <random>
#include <signal.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace ostravion::posix {

std::unique_ptr<OutFile> PosixFileSystem::CreateExclusive(const std::string& path) {
    return CreateExclusiveFile(NativePath(path));
}

bool PosixFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
    const std::string source = NativePath(from);
    const std::string target = NativePath(to);
    // A second name that fails when the target exists, then the first name
    // goes: the target is never replaced. A file system without hard links
    // (some shares) gets a rename after a check instead.
    if (::link(source.c_str(), target.c_str()) == 0) {
        ::unlink(source.c_str());
        SyncParentFolder(target);
        return true;
    }
    if (errno == EEXIST)
        return false;
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0)
        return false;
    return ::rename(source.c_str(), target.c_str()) == 0;
}

namespace {
std::string ProgramName() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "ostravion";
    std::string path(buf, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
} // namespace

WriterFacts PosixFileSystem::Writer() const {
    const PosixSystemInfo system(codec_);
    WriterFacts w;
    w.computer = system.ComputerName();
    w.user = system.UserName();
    w.program = codec_.FromUtf8(ProgramName());
    w.system = "Linux";
    w.process = static_cast<std::uint64_t>(::getpid());
    return w;
}

bool PosixFileSystem::ProcessRunning(std::uint64_t process) const {
    if (process == 0 || process > static_cast<std::uint64_t>(INT32_MAX))
        return false;
    // EPERM: it runs, as another user's process.
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
}

std::uint32_t PosixFileSystem::RandomNumber() {
    thread_local std::mt19937 engine{
        std::random_device{}() ^ static_cast<std::uint32_t>(::getpid()) ^
        static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    return static_cast<std::uint32_t>(engine());
}

void PosixFileSystem::Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

LocalTime PosixFileSystem::LockTime() const {
    return SystemClock().Now();
}

FileStamp PosixFileSystem::Stamp(const std::string& path) const {
    FileStamp s;
    struct stat st {};
    if (::lstat(NativePath(path).c_str(), &st) != 0)
        return s;
    s.exists = true;
    s.size = static_cast<std::uint64_t>(st.st_size);
    s.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

} // namespace ostravion::posix
