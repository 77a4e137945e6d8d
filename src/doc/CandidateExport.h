// The key list kept current: the candidates of a total (programs its PCs
// have that the key list lacks) written out for review, in the layout the
// key list's own tools take.
#pragma once

#include "files/CandidateFile.h"
#include "ports/Ports.h"

#include <string>
#include <vector>

namespace ostravion {

class KeyList;

namespace candidates {
// "키 리스트 후보 내보내기": the save dialog's caption
inline constexpr const char* kExportCaption =
    "\xC5\xB0 \xB8\xAE\xBD\xBA\xC6\xAE \xC8\xC4\xBA\xB8 \xB3\xBB\xBA\xB8\xB3\xBB\xB1\xE2";
// "키 리스트 후보(*.tsv)|*.tsv||"
inline constexpr const char* kExportFilter =
    "\xC5\xB0 \xB8\xAE\xBD\xBA\xC6\xAE \xC8\xC4\xBA\xB8(*.tsv)|*.tsv||";
// "_후보.tsv": after the total's base name, the name the dialog proposes
inline constexpr const char* kExportSuffix = "_\xC8\xC4\xBA\xB8.tsv";
// "이 취합에는 키 리스트에 없는 프로그램이 없습니다."
inline constexpr const char* kNoCandidates =
    "\xC0\xCC \xC3\xEB\xC7\xD5\xBF\xA1\xB4\xC2 \xC5\xB0 \xB8\xAE\xBD\xBA\xC6\xAE\xBF\xA1 "
    "\xBE\xF8\xB4\xC2 \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "키 리스트 후보 파일을 읽을 수 없습니다: ", followed by its path
inline constexpr const char* kCannotRead =
    "\xC5\xB0 \xB8\xAE\xBD\xBA\xC6\xAE \xC8\xC4\xBA\xB8 \xC6\xC4\xC0\xCF\xC0\xBB \xC0\xD0\xC0\xBB "
    "\xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9: ";
// "파일을 쓸 수 없습니다: ", followed by its path
inline constexpr const char* kCannotWrite =
    "\xC6\xC4\xC0\xCF\xC0\xBB \xBE\xB5 \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9: ";
// "키 리스트(KEYLIST.DAT)를 읽지 못해 이미 있는 항목도 함께 썼습니다."
inline constexpr const char* kKeyListUnread =
    "\xC5\xB0 \xB8\xAE\xBD\xBA\xC6\xAE(KEYLIST.DAT)\xB8\xA6 \xC0\xD0\xC1\xF6 \xB8\xF8\xC7\xD8 "
    "\xC0\xCC\xB9\xCC \xC0\xD6\xB4\xC2 \xC7\xD7\xB8\xF1\xB5\xB5 \xC7\xD4\xB2\xB2 "
    "\xBD\xE8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "키 리스트 후보 파일을 읽지 못한 PC: ", followed by the per-PC files
inline constexpr const char* kPcUnread =
    "\xC5\xB0 \xB8\xAE\xBD\xBA\xC6\xAE \xC8\xC4\xBA\xB8 \xC6\xC4\xC0\xCF\xC0\xBB \xC0\xD0\xC1\xF6 "
    "\xB8\xF8\xC7\xD1 PC: ";

// "키 리스트 후보 N개를 썼습니다: " and the path
std::string WrittenLine(std::size_t count, const std::string& path);
// "후보 파일에서 읽지 못한 줄 N개는 뺐습니다."
std::string BadLinesLine(long long count);
} // namespace candidates

// The review file's caption line, without its line end.
std::string CandidatesCaption();

// The review file `keylist pack` and `keylist merge` take (CP949, CR LF): the
// caption line, then each candidate that at least `minPcs` PCs have and that
// `keys` (when given) does not identify already, blanks around its texts
// removed (a blank would be compared as part of the text); the folder and
// the PC count follow as columns 10 and 11, which a merge leaves out.
// `written` receives the number of candidate lines.
std::string CandidatesReviewText(const std::vector<Candidate>& candidates, const KeyList* keys,
                                 long long minPcs, std::size_t& written);

// What exporting a total's candidates came to.
struct CandidateReview {
    bool read = false;      // the total's candidates file was read
    long long badLines = 0; // its lines that were left out
    bool keyListRead = false;
    std::size_t count = 0; // candidate lines in `text`
    std::string text;      // the review file
};

// Reads the candidates file `candPath` and makes its review file against the
// key list at `keyListPath` (a key list that cannot be read skips nothing).
CandidateReview ReviewCandidates(const FileSystem& fs, const std::string& candPath,
                                 const std::string& keyListPath, long long minPcs);

} // namespace ostravion
