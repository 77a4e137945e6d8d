// The per-PC result file and its scan journal: the header of PC facts and
// one list line per found program. The journal is written while the scan
// runs so that an interrupted scan keeps its findings.
#pragma once

#include "ports/Ports.h"
#include "util/Types.h"

#include <string>

namespace ostravion {

// Section header lines, CP949.
namespace pcfile {
inline constexpr const char* kComputerName = "[\xC4\xC4\xC7\xBB\xC5\xCD\xB8\xED]"; // [컴퓨터명]
inline constexpr const char* kActiveUser =
    "[\xBE\xD7\xC6\xBC\xBA\xEA\xBB\xE7\xBF\xEB\xC0\xDA]"; // [액티브사용자]
inline constexpr const char* kPcModel =
    "[\xC4\xC4\xC7\xBB\xC5\xCD\xB1\xE2\xC1\xBE]";                              // [컴퓨터기종]
inline constexpr const char* kScanTime = "[\xB0\xCB\xBB\xE7\xC0\xCF\xBD\xC3]"; // [검사일시]
inline constexpr const char* kGroup = "[\xB1\xD7\xB7\xEC]";                    // [그룹]
inline constexpr const char* kList = "[\xB8\xAE\xBD\xBA\xC6\xAE]";             // [리스트]
} // namespace pcfile

// The eleven header lines, each ended by CR LF; an empty fact is written "-".
std::string PcResultHeader(const PcFacts& facts);

// One list line: Origin, Class, KeyColumn0, Kind, KeyColumn2, ProgramName,
// Version, KeyColumn7, Company, DomesticCode, Folder, each followed by a TAB,
// then CR LF. An empty field is written "-"; a TAB, CR or LF inside a field
// is written as a blank so that the line keeps its eleven fields.
std::string PcResultLine(const FoundProgram& program);
// The same line appended to `out` (tens of thousands of them make one file).
void AppendPcResultLine(std::string& out, const FoundProgram& program);

// Deletes a journal of the same name, creates it and writes the header.
// Silent: false when it could not be written.
bool StartScanJournal(FileSystem& fs, const std::string& path, const PcFacts& facts);

// Opens the journal at its end (created when missing), writes one list line
// and closes it. False when it could not be opened or written.
bool AppendScanJournal(FileSystem& fs, const std::string& path, const FoundProgram& program);

} // namespace ostravion
