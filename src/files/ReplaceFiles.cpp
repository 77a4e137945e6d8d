#include "files/ReplaceFiles.h"

namespace ostravion {

std::string ReplacementPath(const std::string& path) {
    return path + ".new";
}

std::string BackupPath(const std::string& path) {
    return path + ".old";
}

bool CommitReplacements(FileSystem& fs, const std::vector<std::string>& paths) {
    // Every file but the last is kept under its backup name until the
    // renames after it are done, so that a failed one can put it back; the
    // last one has no rename after it and replaces its file in one step.
    std::vector<bool> kept(paths.size(), false);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        const bool keep = i + 1 < paths.size() && fs.Exists(path);
        const bool moved =
            keep ? fs.ReplaceKeepingBackup(ReplacementPath(path), path, BackupPath(path))
                 : fs.Rename(ReplacementPath(path), path);
        if (moved) {
            kept[i] = keep;
            continue;
        }
        for (std::size_t j = i; j < paths.size(); ++j)
            fs.Remove(ReplacementPath(paths[j]));
        // The files already replaced go back; one that was new goes. A
        // backup that cannot be moved back stays where it is, for the user.
        for (std::size_t j = i; j-- > 0;) {
            if (kept[j])
                fs.PutBack(BackupPath(paths[j]), paths[j]);
            else
                fs.Remove(paths[j]);
        }
        return false;
    }
    for (std::size_t i = 0; i < paths.size(); ++i)
        if (kept[i])
            fs.Remove(BackupPath(paths[i]));
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
