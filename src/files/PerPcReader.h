// Reading a per-PC result file (".ipt"): the computer name from its header and
// one program per list line.
#pragma once

#include "platform/Ports.h"
#include "util/Types.h"

#include <string>
#include <string_view>
#include <vector>

namespace ostravion {

struct PerPcFile {
    // The line after "[컴퓨터명]"; empty when the file names no computer.
    std::string computerName;
    // False when the file has no "[리스트]" line: then it lists nothing.
    bool hasList = false;
    // The list lines of at least ten fields, in file order. The slots are
    // filled from the columns Origin, Class, KeyColumn0, Kind, KeyColumn2,
    // ProgramName, Version, KeyColumn7, Company, DomesticCode, Folder ("-" when
    // the line has only ten fields); FileName, FileSize and the counts stay empty.
    std::vector<FoundProgram> programs;
};

// The program of one list line already split at TAB; false when the line has
// fewer than ten fields.
bool ProgramFromListLine(const std::vector<std::string>& fields, FoundProgram& out);

// The contents of a per-PC file's text.
PerPcFile ParsePerPcFile(std::string_view bytes);

// Reads and parses the file at `path`; false when it cannot be opened.
bool ReadPerPcFile(const FileSystem& fs, const std::string& path, PerPcFile& out);

} // namespace ostravion
