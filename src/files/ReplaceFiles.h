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

// Moves the replacement of every path onto it, in the order given. When a
// move fails, the replacements not yet moved are removed and the files they
// were to replace stay as they were; false then.
bool CommitReplacements(FileSystem& fs, const std::vector<std::string>& paths);

// Removes the replacements of the paths (a write that failed part way).
void DiscardReplacements(FileSystem& fs, const std::vector<std::string>& paths);

// Writes every (path, bytes) pair to its replacement path and, once all of
// them are written and closed, renames them onto their paths in the order
// given. When any write fails nothing is replaced and the replacement files
// are removed; when a rename fails the files not yet moved stay as they
// were. False in both cases.
bool ReplaceFiles(FileSystem& fs, const std::vector<std::pair<std::string, std::string>>& files);

} // namespace ostravion
