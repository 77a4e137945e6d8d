#include "files/ReplaceFiles.h"

namespace ostravion {

std::string ReplacementPath(const std::string& path) {
    return path + ".new";
}

bool ReplaceFiles(FileSystem& fs, const std::vector<std::pair<std::string, std::string>>& files) {
    std::size_t written = 0;
    bool ok = true;
    for (const auto& [path, bytes] : files) {
        auto out = fs.OpenWrite(ReplacementPath(path), false);
        if (!out) {
            ok = false;
            break;
        }
        ++written;
        ok = out->Write(bytes);
        ok = out->Close() && ok;
        if (!ok)
            break;
    }
    if (ok) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (!fs.Rename(ReplacementPath(files[i].first), files[i].first)) {
                for (std::size_t j = i; j < files.size(); ++j)
                    fs.Remove(ReplacementPath(files[j].first));
                return false;
            }
        }
        return true;
    }
    for (std::size_t i = 0; i < written; ++i)
        fs.Remove(ReplacementPath(files[i].first));
    return false;
}

} // namespace ostravion
