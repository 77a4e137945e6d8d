// Replacing files without losing the old ones: each new file is written whole
// beside its final name and only then moved into place. The work folder may
// be shared by many writers at once, so every temporary name carries its
// writer (computer, process and a random part), is made exclusively, and is
// removed only by the writer that made it.
#pragma once

#include "ports/Ports.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ostravion {

// A name beside `path` that only this writer uses: path, ".~", the computer
// (letters, digits and "-" only, at most 15), "-", the process number in
// hexadecimal, "-", eight random hexadecimal digits, then `suffix` (".new",
// ".old", ".tmp"): at most 34 characters before the suffix.
std::string TemporaryName(FileSystem& fs, const std::string& path, const std::string& suffix);

// The name a file the user named (a CSV, a report) is written under before it
// replaces that file.
inline std::string ReplacementPath(const std::string& path) {
    return path + ".new";
}

// Makes a temporary beside `path` exclusively (nothing is removed to make
// it), trying a few random parts when a name is taken. Null when none could
// be made; `made` names the file made.
std::unique_ptr<OutFile> CreateTemporary(FileSystem& fs, const std::string& path,
                                         const std::string& suffix, std::string& made);

// The new files of one writer that replace files together. Each new file is
// made with CreateTemporary beside its path; Commit moves them onto their
// paths in the order they were made, keeping each replaced file that a later
// move could have to put back (all but the last) under a backup name of this
// writer's until every move is done. When a move fails, the new files not
// yet moved are removed, the files already replaced are put back from their
// backups (or removed, where there was no file before) and the others stay
// as they were. What was not committed is removed when the object goes.
class FileReplacement {
public:
    explicit FileReplacement(FileSystem& fs) : fs_(fs) {}
    ~FileReplacement() { Discard(); }
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // The new file for `path`, made anew; null when it cannot be made.
    std::unique_ptr<OutFile> Create(const std::string& path);
    // The new file for `path` made earlier, opened again at its end.
    std::unique_ptr<OutFile> Append(const std::string& path);
    // The name of the new file for `path`; empty when none was made.
    std::string NewName(const std::string& path) const;
    bool Commit();
    // Removes the new files of this writer.
    void Discard();

private:
    FileSystem& fs_;
    std::vector<std::pair<std::string, std::string>> files_; // path, new file
};

// Writes every (path, bytes) pair to a new file beside it and, once all of
// them are written and closed, moves them onto their paths in the order
// given (FileReplacement::Commit). When any write fails nothing is replaced
// and the new files are removed; when a move fails every file is put back as
// it was. False in both cases.
bool ReplaceFiles(FileSystem& fs, const std::vector<std::pair<std::string, std::string>>& files);

} // namespace ostravion
