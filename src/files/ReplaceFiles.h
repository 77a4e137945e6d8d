// Replacing files without losing the old ones: each new file is written whole
// beside its final name and only then moved into place.
#pragma once

#include "ports/Ports.h"

#include <string>
#include <utility>
#include <vector>

namespace ostravion {

// The name a file is written under before it replaces `path`: the same folder,
// so that the move is a rename within one file system.
std::string ReplacementPath(const std::string& path);

// The name a replaced file is kept under until the files replaced with it are
// all in place.
std::string BackupPath(const std::string& path);

// Moves the replacement of every path onto it, in the order given, keeping
// each replaced file that a later move could have to put back (all but the
// last) as its BackupPath until every move is done; the backups are then
// removed. When a move fails, the replacements not yet moved are
// removed, the files already replaced are put back from their backups (or
// removed, where there was no file before) and the others stay as they were;
// false then.
bool CommitReplacements(FileSystem& fs, const std::vector<std::string>& paths);

// Removes the replacements of the paths (a write that failed part way).
void DiscardReplacements(FileSystem& fs, const std::vector<std::string>& paths);

// Writes every (path, bytes) pair to its replacement path and, once all of
// them are written and closed, renames them onto their paths in the order
// given (CommitReplacements). When any write fails nothing is replaced and
// the replacement files are removed; when a rename fails every file is put
// back as it was. False in both cases.
bool ReplaceFiles(FileSystem& fs, const std::vector<std::pair<std::string, std::string>>& files);

} // namespace ostravion
