#include "platform/Native.h"
#include "platform/ScanStandIns.h"
#include "platform/disk/DiskPorts.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/posix/PosixWalk.h"

#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

namespace ostravion {

namespace {
struct PosixNative final : NativePlatform {
    posix::IconvCodec codec;
    posix::PosixFileSystem files{codec};
    posix::PosixSystemInfo system{codec};
    posix::SystemClock clock;
    posix::IconvUtf16ToCp949 utf16;
    pe::PeVersionStrings versions{utf16};
    posix::PosixFileSearch search{codec};
    posix::PosixDrives drives{codec};
    posix::PosixFileDates dates{files};
    posix::PosixThreads threads;
    // Drives may also be Windows disks (images, partitions), whose registry
    // then gives the registered applications and the PC facts.
    disk::DiskPorts disks{{codec, search, drives, versions, dates, system, utf16}};
    TextCodec& Codec() override { return codec; }
    FileSystem& Files() override { return files; }
    SystemInfo& System() override { return disks.System(); }
    Clock& LocalClock() override { return clock; }
    VersionStrings& Versions() override { return disks.Versions(); }
    FileSearch& Search() override { return disks.Search(); }
    Drives& DriveList() override { return disks.DriveList(); }
    AppPaths& Apps() override { return disks.Apps(); }
    bool ConfigureScan(const ScanSetup& setup, std::string& error) override {
        return disks.Configure(setup, error);
    }
    std::vector<std::string> ScanWarnings() const override { return disks.Warnings(); }
    const FileDates* Dates() override { return &disks.Dates(); }
    ThreadControl* Threads() override { return &threads; }
    std::string ListedFileText(const std::string& folder, const std::string& name) override {
        std::vector<std::string> texts;
        if (name.find('/') != std::string::npos || !files.ListFiles(folder, texts))
            return std::string();
        std::string prefix = folder;
        if (!prefix.empty() && prefix.back() != '\\')
            prefix += '\\';
        std::string wanted = files.NativePath(prefix);
        if (!wanted.empty() && wanted.back() != '/')
            wanted += '/';
        wanted += name;
        for (const std::string& text : texts)
            if (files.NativePath(prefix + text) == wanted)
                return text;
        return std::string();
    }
};
} // namespace

bool StderrIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

bool ReadNativeFile(const std::string& path, std::string& bytes) {
    return posix::ReadPlainFile(path, bytes);
}

int StderrColumns() {
    winsize size{};
    return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

bool RenameNativeFile(const std::string& from, const std::string& to) {
    // The new file's bytes reach the disk before it takes the old one's
    // place, and a link swapped in for it meanwhile is not left there.
    return posix::MoveSyncedFile(from, to);
}

std::unique_ptr<OutFile> CreateNativeFile(const std::string& path) {
    return posix::CreateNewFile(path);
}

std::unique_ptr<NativePlatform> MakeNativePlatform() {
    return std::make_unique<PosixNative>();
}

std::vector<std::string> ArgumentsAsUtf8(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void SetStandardStreamsBinary() {}

std::unique_ptr<StandardText> TakeStandardStreams(bool) {
    // Linux terminals, files and pipes take UTF-8 as it is.
    return std::make_unique<StandardText>();
}

bool WriteStandardOutputBytes(const std::string& bytes) {
    std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::cout.flush();
    return static_cast<bool>(std::cout);
}

bool LockKeyOn(LockKey key) {
    // The keyboard lights under /sys/class/leds: "input3::capslock" and the like.
    const char* led = key == LockKey::Caps  ? "::capslock"
                      : key == LockKey::Num ? "::numlock"
                                            : "::scrolllock";
    DIR* dir = opendir("/sys/class/leds");
    if (!dir)
        return false;
    bool on = false;
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (!name.ends_with(led))
            continue;
        std::ifstream in("/sys/class/leds/" + name + "/brightness");
        std::string value;
        if (in >> value && value != "0")
            on = true;
    }
    closedir(dir);
    return on;
}

} // namespace ostravion
