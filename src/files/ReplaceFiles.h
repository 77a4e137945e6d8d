// Replacing files without losing the old ones: each new file is written whole
// beside its final name and only then moved into place.
#pragma once

#include "platform/Ports.h"

#include <string>
#include <utility>
#include <vector>

namespace ostravion {

// The name a file is written under before it replaces `path`: the same folder,
// so that the move is a rename within one file system.
std::string ReplacementPath(const std::string& path);

// Writes every (path, bytes) pair to its replacement path and, once all of
// them are written and closed, renames them onto their paths in the order
// given. When any write fails nothing is replaced and the replacement files
// are removed; when a rename fails the files not yet moved stay as they
// were. False in both cases.
bool ReplaceFiles(FileSystem& fs, const std::vector<std::pair<std::string, std::string>>& files);

} // namespace ostravion
