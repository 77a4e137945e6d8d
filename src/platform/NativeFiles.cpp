// Replacing a file the user named, on every system.
#include "files/ReplaceFiles.h"
#include "platform/Native.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

namespace ostravion {

namespace {
// A name beside `path` no other writer picks: another command may be
// writing the same output at the same time.
std::string FreshName(const std::string& path) {
    thread_local std::mt19937 engine{
        std::random_device{}() ^
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())};
    char tag[24];
    std::snprintf(tag, sizeof tag, ".~%08x%08x.new", static_cast<unsigned>(engine()),
                  static_cast<unsigned>(engine()));
    return path + tag;
}
} // namespace

bool ReplaceNativeFile(const std::string& path, const NativeReplacementWriter& write) {
    const std::string fresh = FreshName(path);
    std::unique_ptr<OutFile> out = CreateNativeFile(fresh);
    if (!out)
        return false;
    if (write(std::move(out), fresh) && RenameNativeFile(fresh, path))
        return true;
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(std::u8string(fresh.begin(), fresh.end())),
                            ignored);
    return false;
}

} // namespace ostravion
