// The total file (".tls") and the written-result file (".rst"): the
// administrative part, the program rows and the PC history; the writers'
// building blocks and the readers of both files.
#pragma once

#include "files/ReportTables.h"
#include "ports/Ports.h"
#include "util/Messages.h"
#include "util/Types.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace ostravion {

namespace totalfile {
// The section headers, in CP949.
inline constexpr std::string_view kCheckDepartment =
    "[\xC1\xA1\xB0\xCB\xBA\xCE\xBC\xAD]";                                  // [점검부서]
inline constexpr std::string_view kChecker = "[\xC1\xA1\xB0\xCB\xC0\xDA]"; // [점검자]
inline constexpr std::string_view kConfirmDepartment =
    "[\xC8\xAE\xC0\xCE\xBA\xCE\xBC\xAD]";                                    // [확인부서]
inline constexpr std::string_view kConfirmer = "[\xC8\xAE\xC0\xCE\xC0\xDA]"; // [확인자]
inline constexpr std::string_view kPcCount = "[PC\xBC\xF6\xB7\xAE]";         // [PC수량]
inline constexpr std::string_view kRemark = "[\xB1\xE2\xC5\xB8]";            // [기타]
inline constexpr std::string_view kList = "[\xB8\xAE\xBD\xBA\xC6\xAE]";      // [리스트]
inline constexpr std::string_view kHistory = "[PC_HISTORY]";
// A row line has thirteen fields; a history line five.
inline constexpr std::size_t kRowFields = 13;
inline constexpr std::size_t kHistoryFields = 5;

// The system's messages about these files.
using msg::kResultFileOpenError;
using msg::kWriteFileOpenError;
} // namespace totalfile

// The six administrative values by the common reading rule: scanning from the
// first line, a line that begins with one of the six headers takes the next
// line as its value (that line is not examined as a header); a line that begins
// with "[리스트]" ends the scan. Values not found stay empty.
AdminValues ReadAdminValues(const std::vector<std::string_view>& lines);

// Where the parts of a total or written-result file lie, as indexes into its
// lines (split at CR LF). The list starts at the "[리스트]" line that ends the
// administrative scan above, so a value typed as "[리스트]" is a value; the PC
// history starts at the first line after that which is exactly "[PC_HISTORY]"
// (row and history lines end with a TAB, so no line of theirs is). Every
// reader and writer of these files finds the parts here. A missing part has
// the index lines.size(); without a list there is no history either.
struct TotalParts {
    std::size_t list = 0;    // the "[리스트]" line
    std::size_t history = 0; // the "[PC_HISTORY]" line; the rows lie in between
};
TotalParts FindTotalParts(const std::vector<std::string_view>& lines);

// The administrative values a consolidation writes: "-" everywhere but the PC count.
AdminValues ConsolidatedAdminValues(long long pcCount);

// The administrative part: each header line, then its value (empty as "-"),
// then two empty lines and "[리스트]", every line ended by CR LF.
std::string AdminPartText(const AdminValues& admin);

// The slots of a row line's thirteen fields, in file order: the one table
// every reader and writer of row lines goes by. Column 0, the flag, is read
// into Origin; a writer puts the flag it decides there.
inline constexpr std::array<std::string FoundProgram::*, totalfile::kRowFields> kRowColumns = {
    &FoundProgram::Origin,         &FoundProgram::Kind,         &FoundProgram::KeyColumn2,
    &FoundProgram::KeyColumn0,     &FoundProgram::ProgramName,  &FoundProgram::Version,
    &FoundProgram::InstalledCount, &FoundProgram::GenuineCount, &FoundProgram::CopyCount,
    &FoundProgram::KeyColumn7,     &FoundProgram::Company,      &FoundProgram::DomesticCode,
    &FoundProgram::Class};

// One row line: the flag, then Kind, KeyColumn2, KeyColumn0, ProgramName,
// Version, InstalledCount, GenuineCount, CopyCount, KeyColumn7, Company,
// DomesticCode, Class; each field (empty as "-") followed by TAB, then CR LF.
std::string RowLineText(const FoundProgram& p, std::string_view flag);

// One history line: five fields, each (empty as "-") followed by TAB, then CR LF.
std::string HistoryLineText(const PcHistoryLine& h);
void AppendHistoryLine(std::string& out, std::string_view computer, std::string_view company,
                       std::string_view program, std::string_view folder,
                       std::string_view classLetter);

// The class letter of a Class text: "1" A, "2" B, "3" C, anything else `other`.
std::string_view ClassLetter(std::string_view cls, std::string_view other);

// Where the PC history's text starts: just after the CR LF of the line where
// FindTotalParts puts the history. npos when there is none (or no CR LF
// follows it).
std::size_t HistoryStart(std::string_view bytes);

// Appends the row lines of a file's text (whole lines, CR LF included) that
// begin with the field "9": the rows that do not count, which a written result
// leaves out and its total keeps.
void AppendUncountedRowLines(std::string_view bytes, std::string& out);

// The program of one row line, already split at TAB: column 0 becomes
// Origin, the others their slots; fields the line lacks and Folder stay empty.
FoundProgram ProgramFromRowLine(const std::vector<std::string_view>& fields);

// The rows of a total file's text: the lines between the list's start and the
// history's (FindTotalParts) of at least thirteen fields, in file order.
std::vector<FoundProgram> ReadTotalRows(std::string_view bytes);

// The report readers: the row lines of at least thirteen fields between the
// list's start and the history's. Kind 3 reads the total file and orders the
// rows by class letter, rights holder and program name (ties in file order);
// kind 4 reads the written-result file in file order without the rows flagged
// "9". On a file
// that cannot be opened they show "Result File Open Error..." and return false
// with the target as it was.
bool ReadResultRows(const FileSystem& fs, MessagePort& messages, const std::string& path,
                    int reportKind, std::vector<ResultRow>& target, AdminValues& admin);

// The PC history of a total file, with the number of lines of each PC in turn.
bool ReadPcHistory(const FileSystem& fs, MessagePort& messages, const std::string& path,
                   PcHistory& target);

// The history part of a total file's text, parsed (lines of fewer than five
// fields left out).
void ParsePcHistory(std::string_view bytes, PcHistory& target);

} // namespace ostravion
