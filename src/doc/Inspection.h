// The start and stop commands of an inspection apart from their dialog and
// window: the work folder, the check of the start fields, the facts and
// names of the run, and the states around the scan. The desktop window and
// the command line share them.
#pragma once

#include "doc/OstravionDoc.h"

#include <string>

namespace ostravion {

namespace msg {
// "폴더 생성 에러"
inline constexpr const char* kFolderCreateError =
    "\xC6\xFA\xB4\xF5 \xBB\xFD\xBC\xBA \xBF\xA1\xB7\xAF";
// "회사(그룹)명은 필수항목 입니다."
inline constexpr const char* kGroupRequired =
    "\xC8\xB8\xBB\xE7(\xB1\xD7\xB7\xEC)\xB8\xED\xC0\xBA "
    "\xC7\xCA\xBC\xF6\xC7\xD7\xB8\xF1 \xC0\xD4\xB4\xCF\xB4\xD9.";
// "같은 이름의 파일이 있습니다.\n 덮어쓰시겠습니까..?"
inline constexpr const char* kOverwriteQuestion =
    "\xB0\xB0\xC0\xBA \xC0\xCC\xB8\xA7\xC0\xC7 \xC6\xC4\xC0\xCF\xC0\xCC \xC0\xD6\xBD\xC0\xB4\xCF"
    "\xB4\xD9.\n \xB5\xA4\xBE\xEE\xBE\xB2\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE..?";
} // namespace msg

// Makes the work folder when it is missing; shows "폴더 생성 에러" and
// returns false when it cannot be made.
bool EnsureWorkFolder(FileSystem& fs, MessagePort& messages);

// The base name of a run: group, "_", result file name (which may be empty).
std::string ScanBaseName(const std::string& group, const std::string& resultName);
// The per-PC result file a run of that group and name writes.
std::string ScanResultPathFor(const std::string& group, const std::string& resultName);

enum class StartFieldCheck {
    Ok,
    GroupMissing, // show msg::kGroupRequired, keep asking
    BadName,      // show msg::kBadPathOrParam, keep asking: the files would leave the work folder
    FileExists,   // ask msg::kOverwriteQuestion: Yes goes on, No keeps asking
};
// For BadName, `why` gets the Korean line that tells what Windows could not
// hold (empty when the name would leave the work folder).
StartFieldCheck CheckStartFields(const FileSystem& fs, const std::string& group,
                                 const std::string& resultName, std::string* why = nullptr);

// The start command once its fields are confirmed: the facts and names of
// the run, the scan layout, WorkState 1, then the scan itself.
void BeginInspection(COstravionDoc& doc, const PcFacts& facts, const ScanRequest& request,
                     ScanHost& host);

// The stop command: the scan ends and the per-PC file is written, WorkState
// goes back to 0 and the progress bar goes.
void EndInspection(COstravionDoc& doc);

} // namespace ostravion
