// The consolidation: many per-PC result files merged into one total file that
// counts the installations of each distinct program and keeps every PC's
// programs as its history.
#pragma once

#include "util/AuditUtil.h"
#include "util/Types.h"

#include <string>
#include <vector>

namespace ostravion {

namespace consolidation {
// "성공적으로 취합되었습니다."
inline constexpr const char* kConsolidated =
    "\xBC\xBA\xB0\xF8\xC0\xFB\xC0\xB8\xB7\xCE "
    "\xC3\xEB\xC7\xD5\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.";
inline constexpr const char* kFileOpenError = "file open error..!";
// "이 Total 파일에 작성되어 있던 결과 파일은 새로 취합한 내용과 맞지 않아 다른 이름으로 옮겨
// 두었습니다: "
inline constexpr const char* kResultMovedAside =
    "\xC0\xCC Total \xC6\xC4\xC0\xCF\xBF\xA1 \xC0\xDB\xBC\xBA\xB5\xC7\xBE\xEE "
    "\xC0\xD6\xB4\xF8 \xB0\xE1\xB0\xFA \xC6\xC4\xC0\xCF\xC0\xBA \xBB\xF5\xB7\xCE "
    "\xC3\xEB\xC7\xD5\xC7\xD1 \xB3\xBB\xBF\xEB\xB0\xFA \xB8\xC2\xC1\xF6 "
    "\xBE\xCA\xBE\xC6 \xB4\xD9\xB8\xA5 \xC0\xCC\xB8\xA7\xC0\xB8\xB7\xCE "
    "\xBF\xC5\xB0\xDC \xB5\xCE\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9: ";
// "검사 결과 취합중..."
inline constexpr const char* kConsolidating =
    "\xB0\xCB\xBB\xE7 \xB0\xE1\xB0\xFA \xC3\xEB\xC7\xD5\xC1\xDF...";

// Why a chosen per-PC file was not read, named after "file open error..!".
// "파일이 없습니다"
inline constexpr const char* kFileMissing =
    "\xC6\xC4\xC0\xCF\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9";
// "파일을 읽을 수 없습니다 (일반 파일이 아니거나, 권한이 없거나, 너무 큽니다)"
inline constexpr const char* kFileUnreadable =
    "\xC6\xC4\xC0\xCF\xC0\xBB \xC0\xD0\xC0\xBB \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9 "
    "(\xC0\xCF\xB9\xDD \xC6\xC4\xC0\xCF\xC0\xCC \xBE\xC6\xB4\xCF\xB0\xC5\xB3\xAA, "
    "\xB1\xC7\xC7\xD1\xC0\xCC \xBE\xF8\xB0\xC5\xB3\xAA, \xB3\xCA\xB9\xAB "
    "\xC5\xAE\xB4\xCF\xB4\xD9)";
// "작업 폴더 안의 파일 이름이 아닙니다"
inline constexpr const char* kNotWorkFolderName =
    "\xC0\xDB\xBE\xF7 \xC6\xFA\xB4\xF5 \xBE\xC8\xC0\xC7 \xC6\xC4\xC0\xCF "
    "\xC0\xCC\xB8\xA7\xC0\xCC \xBE\xC6\xB4\xD5\xB4\xCF\xB4\xD9";
// "[리스트] 줄이 없습니다 (PC별 결과 파일이 아니거나 CP949와 CR LF로 쓰이지 않았습니다)"
inline constexpr const char* kNoListLine =
    "[\xB8\xAE\xBD\xBA\xC6\xAE] \xC1\xD9\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9 "
    "(PC\xBA\xB0 \xB0\xE1\xB0\xFA \xC6\xC4\xC0\xCF\xC0\xCC \xBE\xC6\xB4\xCF\xB0\xC5\xB3\xAA "
    "CP949\xBF\xCD CR LF\xB7\xCE \xBE\xB2\xC0\xCC\xC1\xF6 "
    "\xBE\xCA\xBE\xD2\xBD\xC0\xB4\xCF\xB4\xD9)";
// "총괄 파일이며 PC별 결과 파일이 아닙니다"
inline constexpr const char* kTotalNotPerPc =
    "\xC3\xD1\xB0\xFD \xC6\xC4\xC0\xCF\xC0\xCC\xB8\xE7 PC\xBA\xB0 \xB0\xE1\xB0\xFA "
    "\xC6\xC4\xC0\xCF\xC0\xCC \xBE\xC6\xB4\xD5\xB4\xCF\xB4\xD9";
// In place of the success message when a chosen file was not read:
// "취합을 마쳤으나 읽지 못한 PC별 결과 파일이 있습니다."
inline constexpr const char* kConsolidatedIncomplete =
    "\xC3\xEB\xC7\xD5\xC0\xBB \xB8\xB6\xC3\xC6\xC0\xB8\xB3\xAA \xC0\xD0\xC1\xF6 "
    "\xB8\xF8\xC7\xD1 PC\xBA\xB0 \xB0\xE1\xB0\xFA \xC6\xC4\xC0\xCF\xC0\xCC "
    "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.";

// "PC N대 중 M대를 읽었습니다."
std::string PcsReadLine(long long chosen, long long read);
} // namespace consolidation

// Where the rows of a total go, merged or loaded: the document routes them to
// its two lists.
class TotalRowSink {
public:
    virtual ~TotalRowSink() = default;
    // Before the first row: the lists' old rows go with the next row added.
    virtual void RestartLists() {}
    virtual void AddFoundProgram(const FoundProgram& program) = 0;
    // Once every row is shown, after a consolidation or an opening (work
    // states 3 and 2): pick the views' arrangement (normal when the extended
    // list is empty, else extended).
    virtual void ShowArrangement() {}
};

// What one consolidation did.
struct ConsolidationSummary {
    long long pcCount = 0;       // files chosen, readable or not
    std::size_t programs = 0;    // distinct programs: rows of the total file
    long long installations = 0; // list lines counted (class "4" lines are not)
    long long historyLines = 0;  // list lines in the history (class "4" included)
    // Chosen files that were not read (missing, unreadable, or no per-PC
    // file: no "[리스트]" line, or a total), each with its reason.
    std::vector<std::string> unreadable;
    std::vector<std::string> unreadReasons;
    long long pcRead = 0; // chosen files that were read
    // The computer name of each chosen file, in order; empty when the file
    // could not be read or names no computer.
    std::vector<std::string> computerNames;
    // The total file was written whole and the success message shown.
    bool totalWritten = false;
    // Candidates beside the total: distinct programs the key list lacks, the
    // PCs whose candidates file was read, and the per-PC files whose
    // candidates file is there but could not be read.
    std::size_t candidates = 0;
    long long candidatePcs = 0;
    std::vector<std::string> candidatesUnread;
};

// Merges the selected files of `util` (names in the work folder, in order)
// into the total file of the current result names, and hands the merged rows
// to `sink`: each distinct program once, in order of first appearance, with
// its InstalledCount and empty GenuineCount and CopyCount. Programs are told apart by name without
// regard to letter case; a row keeps the texts of the program's first occurrence. Shows the
// system's messages and advances the progress bar as the command expects.
ConsolidationSummary Consolidate(CAuditUtil& util, TotalRowSink& sink);

// Takes a typed total-file name for a consolidation: the names are derived in
// their name form and, when a total file of that name exists already, the
// overwrite question is asked. Unless Accepted, every name stays as it was and
// the consolidation must not run.
enum class NameCheck {
    Accepted,
    Refused,      // the name is unusable; its message was shown
    KeptExisting, // a total file of that name exists and the answer was No
    Held          // another writer holds the total file; its message was shown
};
NameCheck AcceptResultName(CAuditUtil& util, const std::string& typedName);

} // namespace ostravion
