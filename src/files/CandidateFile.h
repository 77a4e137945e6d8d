// Programs a scan found that the key list lacks, kept as key-list lines ready
// to review: a name that is listed but whose size and version match no entry
// (a new release), and a registered application that is not listed at all.
//
// Every scan writes its PC's candidates beside the per-PC file ("G_N.cand"
// for "G_N.ipt"); a consolidation gathers those of its PCs beside the total
// ("NAME.cand" for "NAME.tls"). Both are CP949 with CR LF, one line per
// program, each field followed by a TAB, an empty field written "-":
//
//   columns 0-9  the key-list line: 0, 1, 2 and 7 "-" (the maker of the key
//                list fills them), 3 program name, 4 product version,
//                5 executable name, 6 file size in bytes, 8 company, 9 "-"
//   column 10    the folder the program was found in (a total: that of the
//                first PC that has it)
//   column 11    a total only: the number of PCs that have it
//
// Neither file is needed by anything that reads per-PC files or totals.
#pragma once

#include "util/Types.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ostravion {

struct Candidate {
    std::array<std::string, 10> columns; // the key-list line, columns 0 to 9
    std::string folder;
    long long pcs = 1; // PCs that have it
};

namespace candfile {
inline constexpr std::size_t kProgramName = 3;
inline constexpr std::size_t kVersion = 4;
inline constexpr std::size_t kExeName = 5;
inline constexpr std::size_t kFileSize = 6;
inline constexpr std::size_t kCompany = 8;
inline constexpr std::size_t kFolder = 10;
inline constexpr std::size_t kPcs = 11;

// One field and its TAB: empty written "-", TAB, CR and LF inside it as
// blanks, and a lead byte left without its trail byte at its end as "?".
void AppendField(std::string& out, std::string_view value);
} // namespace candfile

// The candidates file of a per-PC or total file: its extension replaced by ".cand".
std::string CandidatesPath(const std::string& resultPath);

// Whether the scan found the program outside the key list (origin "9": the
// classes 2 and 3, and their repeats the document marked class 4).
bool IsCandidate(const FoundProgram& program);
// The program as a candidate: the file's own name, size and version strings.
Candidate CandidateOf(const FoundProgram& program);

// A PC's candidates file: one line per candidate among the rows, in order.
std::string PcCandidatesText(const std::vector<const FoundProgram*>& rows);
// A total's candidates file, with the PC count of each.
std::string TotalCandidatesText(const std::vector<Candidate>& candidates);

// Reads either kind of candidates file. A line without all eleven fields,
// without an executable name or whose size is no number is left out and
// counted in `badLines`; a PC count that is missing or no number reads as 1.
std::vector<Candidate> ReadCandidates(std::string_view bytes, long long* badLines = nullptr);

// The candidates of many PCs merged: one per executable name (letter case
// aside), size and product version, holding the texts and folder of its
// first appearance and the number of PCs that have it. Sorted by that number,
// highest first; equal numbers keep the order of first appearance (PCs in
// the order they were added, each PC's lines in file order).
class CandidateGathering {
public:
    // One PC's candidates; a program it lists twice counts once.
    void AddPc(const std::vector<Candidate>& candidates);
    std::vector<Candidate> Result() const;

private:
    std::vector<Candidate> rows_;
    std::unordered_map<std::string, std::size_t> index_;
};

} // namespace ostravion
