#include "platform/Native.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WinApi.h"

namespace ostravion {

namespace {
struct Win32Native final : NativePlatform {
    win32::Win32Codec codec;
    win32::Win32FileSystem files;
    win32::Win32SystemInfo system;
    win32::Win32Clock clock;
    win32::Win32FileSearch search;
    win32::Win32Drives drives;
    win32::Win32AppPaths appPaths;
    win32::Win32VersionStrings versions;
    win32::Win32FileDates dates;
    win32::Win32Threads threads;
    TextCodec& Codec() override { return codec; }
    FileSystem& Files() override { return files; }
    SystemInfo& System() override { return system; }
    Clock& LocalClock() override { return clock; }
    // The system's own GetFileVersionInfoA, not the portable reader.
    VersionStrings& Versions() override { return versions; }
    FileSearch& Search() override { return search; }
    Drives& DriveList() override { return drives; }
    AppPaths& Apps() override { return appPaths; }
    const FileDates* Dates() override { return &dates; }
    ThreadControl* Threads() override { return &threads; }
};
} // namespace

bool StderrIsTerminal() {
    // A console answers GetConsoleMode; a pipe or file does not.
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::unique_ptr<NativePlatform> MakeNativePlatform() {
    return std::make_unique<Win32Native>();
}

} // namespace ostravion
