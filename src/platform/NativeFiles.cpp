// Replacing a file the user named, on every system.
#include "files/ReplaceFiles.h"
#include "platform/Native.h"

#include <filesystem>

namespace ostravion {

bool ReplaceNativeFile(const std::string& path, const NativeReplacementWriter& write) {
    const std::string fresh = ReplacementPath(path);
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
