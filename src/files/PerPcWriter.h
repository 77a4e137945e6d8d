// The final write of the per-PC result file: the header of PC facts with the
// rows of the normal list, then the rows of the extended list appended.
#pragma once

#include "ports/Ports.h"
#include "util/Types.h"

#include <string>
#include <vector>

namespace ostravion {

// First part: the file made anew with the header and the rows in the given
// order. Second part: rows appended at its end. Each shows "Write File Open
// Error...!!" and returns false when the file cannot be opened or written whole.
bool WritePerPcFile(FileSystem& fs, MessagePort& messages, const std::string& path,
                    const PcFacts& facts, const std::vector<const FoundProgram*>& rows);
bool AppendPerPcRows(FileSystem& fs, MessagePort& messages, const std::string& path,
                     const std::vector<const FoundProgram*>& rows);

} // namespace ostravion
