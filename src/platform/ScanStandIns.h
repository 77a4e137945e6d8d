// What a scan may walk and consult in place of the machine's own: folders
// given as drive letters, and the registered applications read from a file.
// The same on every system; only the way a folder is found differs.
#pragma once

#include "ports/Ports.h"

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace ostravion {

// Finds the folder the user typed (UTF-8, absolute or relative to the
// current folder) and gives the root the file search opens, ending with the
// search's separator; false with a reason when it is no folder that can be
// walked.
using FolderResolver =
    std::function<bool(const std::string& folder, std::string& nativeRoot, std::string& why)>;

// Reads "C=/mnt/win" or "d=Z:\\tree" items into drives "C:\\", "D:\\" (the
// letter upper-cased, '\\' between folder names), in letter order. Letters C
// to Z, each once; the folder must exist. False with a reason otherwise,
// leaving `drives` as it was.
bool ParseDriveMap(const std::vector<std::string>& items, const FolderResolver& resolve,
                   std::vector<Drive>& drives, std::string& error);

// The registered applications named in a file: one file name a line, UTF-8,
// LF or CR LF; compared upper-cased, as the App Paths sub-keys are.
class ListedAppPaths final : public AppPaths {
public:
    explicit ListedAppPaths(const TextCodec& codec) : codec_(codec) {}
    // Reads the file (a UTF-8 path; its text UTF-8 when it is well-formed
    // UTF-8, else CP949); an empty path lists nothing and makes
    // the list unused. False with a reason when the file cannot be read,
    // leaving the list as it was.
    bool Load(const std::string& path, std::string& error);
    // Lists the names of a file's text.
    void LoadText(const std::string& utf8);
    void LoadCp949(const std::string& cp949);
    bool IsRegistered(const std::string& upperName) const override;
    std::size_t Size() const { return names_.size(); }
    // Whether a file was given, so that it stands in for the registry.
    bool InUse() const { return inUse_; }

private:
    const TextCodec& codec_;
    std::unordered_set<std::string> names_;
    bool inUse_ = false;
};

} // namespace ostravion
