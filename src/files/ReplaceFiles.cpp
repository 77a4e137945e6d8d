#include "files/ReplaceFiles.h"

namespace ostravion {

std::string ReplacementPath(const std::string& path) {
    return path + ".new";
}

bool CommitReplacements(FileSystem& fs, const std::vector<std::string>& paths) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!fs.Rename(ReplacementPath(paths[i]), paths[i])) {
            for (std::size_t j = i; j < paths.size(); ++j)
                fs.Remove(ReplacementPath(paths[j]));
            return false;
        }
    }
    return true;
}

void DiscardReplacements(FileSystem& fs, const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        fs.Remove(ReplacementPath(path));
}

bool ReplaceFiles(FileSystem& fs, const std::vector<std::pair<std::string, std::string>>& files) {
    std::vector<std::string> paths;
    bool ok = true;
    for (const auto& [path, bytes] : files) {
        auto out = fs.OpenWrite(ReplacementPath(path), false);
        if (!out) {
            ok = false;
            break;
        }
        paths.push_back(path);
        ok = out->Write(bytes);
        ok = out->Close() && ok;
        if (!ok)
            break;
    }
    if (!ok) {
        DiscardReplacements(fs, paths);
        return false;
    }
    return CommitReplacements(fs, paths);
}

} // namespace ostravion
