// The per-PC result file (".ipt") and its scan journal (".tmp"): the PC's
// facts under their section headers, then one list line per found program.
// CP949, CR LF, every list field followed by a TAB, "-" for an empty value.
#pragma once

#include "platform/Ports.h"
#include "util/Types.h"

#include <string>
#include <vector>

namespace ostravion {

namespace perpc {
inline constexpr const char* kComputerName = "[\xC4\xC4\xC7\xBB\xC5\xCD\xB8\xED]"; // [컴퓨터명]
inline constexpr const char* kUser =
    "[\xBE\xD7\xC6\xBC\xBA\xEA\xBB\xE7\xBF\xEB\xC0\xDA]"; // [액티브사용자]
inline constexpr const char* kPcModel =
    "[\xC4\xC4\xC7\xBB\xC5\xCD\xB1\xE2\xC1\xBE]";                              // [컴퓨터기종]
inline constexpr const char* kScanTime = "[\xB0\xCB\xBB\xE7\xC0\xCF\xBD\xC3]"; // [검사일시]
inline constexpr const char* kGroup = "[\xB1\xD7\xB7\xEC]";                    // [그룹]
inline constexpr const char* kList = "[\xB8\xAE\xBD\xBA\xC6\xAE]";             // [리스트]
} // namespace perpc

// Header lines 1 to 11: the five facts under their headers, then "[리스트]".
std::string PerPcHeader(const PcFacts& facts);

// One list line: Origin, Class, KeyColumn0, Kind, KeyColumn2, ProgramName,
// Version, KeyColumn7, Company, DomesticCode, Folder, each followed by a TAB,
// then CR LF.
std::string PerPcListLine(const FoundProgram& p);

// The final write, first part: the file made anew with the header and the
// rows in the given order. The second part: rows appended at its end. Each
// shows "Write File Open Error...!!" and returns false when the file cannot
// be opened or written whole.
bool WritePerPcFile(FileSystem& fs, MessagePort& messages, const std::string& path,
                    const PcFacts& facts, const std::vector<const FoundProgram*>& rows);
bool AppendPerPcRows(FileSystem& fs, MessagePort& messages, const std::string& path,
                     const std::vector<const FoundProgram*>& rows);

} // namespace ostravion
