// Reading a per-PC result file (".ipt"): the computer name from its header and
// one program per list line.
#pragma once

#include "ports/Ports.h"
#include "util/Types.h"

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace ostravion {

// The columns of a list line.
namespace perpc {
enum Column : std::size_t {
    kOrigin = 0,
    kClass,
    kKeyColumn0,
    kKind,
    kKeyColumn2,
    kProgramName,
    kVersion,
    kKeyColumn7,
    kCompany,
    kDomesticCode,
    kFolder,
};
// A line of fewer fields lists nothing; one of exactly this many has no folder.
inline constexpr std::size_t kMinFields = 10;
} // namespace perpc

// Walks a per-PC file's text by the read rules, copying only what it must
// mend: the text, and the scan itself, must outlive every view it hands out.
// Fields are read with the writer's rule, so that no field can shift a column
// of the total or a report: a TAB, CR or LF inside the computer name, and a
// lone CR or LF inside a list field, reads as a blank.
class PerPcScan {
public:
    explicit PerPcScan(std::string_view bytes);
    // The line after "[컴퓨터명]"; empty when the file names no computer.
    std::string_view ComputerName() const { return computerName_; }
    // False when the file has no "[리스트]" line: then it lists nothing.
    bool HasList() const { return hasList_; }
    // The fields of the next list line of at least ten fields, in file order;
    // false after the last.
    bool NextLine(std::vector<std::string_view>& fields);

private:
    std::vector<std::string_view> lines_;
    std::size_t next_ = 0;
    std::string computerName_;
    bool hasList_ = false;
    // List lines that held a lone CR or LF, blanked; fields view into them.
    std::deque<std::string> mended_;
};

// A list line's folder: "-" for a line of ten fields.
inline std::string_view FolderField(const std::vector<std::string_view>& fields) {
    return fields.size() > perpc::kFolder ? fields[perpc::kFolder] : std::string_view("-");
}

// The program of one list line of at least ten fields: Origin, Class,
// KeyColumn0, Kind, KeyColumn2, ProgramName, Version, KeyColumn7, Company,
// DomesticCode and Folder by column; FileName, FileSize and the counts empty.
FoundProgram ProgramFromListLine(const std::vector<std::string_view>& fields);

struct PerPcFile {
    std::string computerName;
    bool hasList = false;
    std::vector<FoundProgram> programs; // in file order
};

// The contents of a per-PC file's text.
PerPcFile ParsePerPcFile(std::string_view bytes);

// Reads and parses the file at `path`; false (and an empty result) when it
// cannot be opened.
bool ReadPerPcFile(const FileSystem& fs, const std::string& path, PerPcFile& out);

} // namespace ostravion
