// The folders the lists show, as this system names and opens them.
#pragma once

#include "ports/Ports.h"

#include <optional>
#include <string>
#include <vector>

namespace ostravion {

// The folder a list shows (its text, CP949, as written in result files) as
// this system names it: the drive's text root is replaced by its native
// root, the rest converted and its separators made native. A folder on no
// known drive keeps its text, converted.
std::string NativeFolder(const std::string& folderText, const std::vector<Drive>& drives,
                         char nativeSeparator, const TextCodec& codec);

// The folder a double click on a row opens in the file manager, as the CP949
// text of its native path (as FileSystem takes it): only a folder text that
// lies on one of the drives and names a folder that exists there. The text
// comes from result files, which any PC may have written: one that names a
// file, a program, a web address or nothing opens nothing.
std::optional<std::string> FolderToOpen(const std::string& folderText,
                                        const std::vector<Drive>& drives, char nativeSeparator,
                                        const TextCodec& codec, const FileSystem& files);

} // namespace ostravion
