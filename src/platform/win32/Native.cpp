#include "platform/Native.h"
#include "platform/win32/Win32Platform.h"

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
    TextCodec& Codec() override { return codec; }
    FileSystem& Files() override { return files; }
    SystemInfo& System() override { return system; }
    Clock& LocalClock() override { return clock; }
    // The system's own GetFileVersionInfoA, not the portable reader.
    VersionStrings& Versions() override { return versions; }
    FileSearch& Search() override { return search; }
    Drives& DriveList() override { return drives; }
    AppPaths& Apps() override { return appPaths; }
};
} // namespace

std::unique_ptr<NativePlatform> MakeNativePlatform() {
    return std::make_unique<Win32Native>();
}

} // namespace ostravion
