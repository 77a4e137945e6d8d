#include "platform/Native.h"
#include "platform/posix/PosixPlatform.h"

namespace ostravion {

namespace {
struct PosixNative final : NativePlatform {
    posix::IconvCodec codec;
    posix::PosixFileSystem files{codec};
    posix::PosixSystemInfo system{codec};
    posix::SystemClock clock;
    posix::IconvUtf16ToCp949 utf16;
    pe::PeVersionStrings versions{utf16};
    TextCodec& Codec() override { return codec; }
    FileSystem& Files() override { return files; }
    SystemInfo& System() override { return system; }
    Clock& LocalClock() override { return clock; }
    VersionStrings& Versions() override { return versions; }
};
} // namespace

std::unique_ptr<NativePlatform> MakeNativePlatform() {
    return std::make_unique<PosixNative>();
}

} // namespace ostravion
