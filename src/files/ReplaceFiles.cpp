#include "files/ReplaceFiles.h"

#include <cstdio>

namespace ostravion {

namespace {
// The computer as a part of a file name every system takes.
std::string NamePart(const std::string& computer) {
    std::string out;
    for (char c : computer) {
        if (out.size() == 15)
            break;
        const bool plain =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        out += plain ? c : '-';
    }
    return out.empty() ? std::string("PC") : out;
}

constexpr int kTries = 16;
} // namespace

std::string TemporaryName(FileSystem& fs, const std::string& path, const std::string& suffix) {
    const WriterFacts w = fs.Writer();
    char tag[40];
    std::snprintf(tag, sizeof tag, "-%x-%08x", static_cast<unsigned>(w.process & 0xFFFFFFFFu),
                  static_cast<unsigned>(fs.RandomNumber()));
    return path + ".~" + NamePart(w.computer) + tag + suffix;
}

std::unique_ptr<OutFile> CreateTemporary(FileSystem& fs, const std::string& path,
                                         const std::string& suffix, std::string& made) {
    made.clear();
    for (int i = 0; i < kTries; ++i) {
        const std::string name = TemporaryName(fs, path, suffix);
        if (auto out = fs.CreateExclusive(name)) {
            made = name;
            return out;
        }
        // A name that is free and still not made: the folder refuses it.
        if (!fs.Exists(name) && !fs.IsLink(name) && !fs.IsDirectory(name))
            return nullptr;
    }
    return nullptr;
}

std::unique_ptr<OutFile> FileReplacement::Create(const std::string& path) {
    std::string made;
    auto out = CreateTemporary(fs_, path, ".new", made);
    if (out)
        files_.emplace_back(path, made);
    return out;
}

std::unique_ptr<OutFile> FileReplacement::Append(const std::string& path) {
    const std::string name = NewName(path);
    return name.empty() ? nullptr : fs_.OpenWrite(name, true);
}

std::string FileReplacement::NewName(const std::string& path) const {
    for (const auto& [target, made] : files_)
        if (target == path)
            return made;
    return std::string();
}

bool FileReplacement::Commit() {
    // Every file but the last is kept under a backup name until the moves
    // after it are done, so that a failed one can put it back; the last one
    // has no move after it and replaces its file in one step.
    std::vector<std::string> backups(files_.size());
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const auto& [path, made] = files_[i];
        const bool keep = i + 1 < files_.size() && fs_.Exists(path);
        if (keep)
            backups[i] = TemporaryName(fs_, path, ".old");
        const bool moved =
            keep ? fs_.ReplaceKeepingBackup(made, path, backups[i]) : fs_.Rename(made, path);
        if (moved)
            continue;
        for (std::size_t j = i; j < files_.size(); ++j)
            fs_.Remove(files_[j].second);
        // The files already replaced go back; one that was new goes. A
        // backup that cannot be moved back stays where it is, for the user.
        for (std::size_t j = i; j-- > 0;) {
            if (!backups[j].empty())
                fs_.PutBack(backups[j], files_[j].first);
            else
                fs_.Remove(files_[j].first);
        }
        files_.clear();
        return false;
    }
    for (const std::string& backup : backups)
        if (!backup.empty())
            fs_.Remove(backup);
    files_.clear();
    return true;
}

void FileReplacement::Discard() {
    for (const auto& [path, made] : files_)
        fs_.Remove(made);
    files_.clear();
}

bool ReplaceFiles(FileSystem& fs, const std::vector<std::pair<std::string, std::string>>& files) {
    FileReplacement replacement(fs);
    for (const auto& [path, bytes] : files) {
        auto out = replacement.Create(path);
        if (!out)
            return false;
        bool ok = out->Write(bytes);
        ok = out->Close() && ok;
        if (!ok)
            return false;
    }
    return replacement.Commit();
}

} // namespace ostravion
