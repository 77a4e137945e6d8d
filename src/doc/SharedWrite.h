// Writing into a work folder that others write into too: the lock of a file
// for a command, and the check that a file is still the one that was read.
#pragma once

#include "files/WriteLock.h"
#include "util/AuditUtil.h"

#include <initializer_list>
#include <string>

namespace ostravion {

namespace sharedwrite {
// "다른 곳에서 바뀌었습니다: "
inline constexpr const char* kChangedElsewhere =
    "\xB4\xD9\xB8\xA5 \xB0\xF7\xBF\xA1\xBC\xAD \xB9\xD9\xB2\xEE\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9: ";
// "읽은 뒤에 다른 사람이 이 파일을 저장했습니다. 덮어쓰지 않았습니다."
inline constexpr const char* kNotOverwritten =
    "\xC0\xD0\xC0\xBA \xB5\xDA\xBF\xA1 \xB4\xD9\xB8\xA5 \xBB\xE7\xB6\xF7\xC0\xCC \xC0\xCC "
    "\xC6\xC4\xC0\xCF\xC0\xBB \xC0\xFA\xC0\xE5\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9. "
    "\xB5\xA4\xBE\xEE\xBE\xB2\xC1\xF6 \xBE\xCA\xBE\xD2\xBD\xC0\xB4\xCF\xB4\xD9.";
// "다른 이름으로 저장하시겠습니까?"
inline constexpr const char* kSaveAsInstead =
    "\xB4\xD9\xB8\xA5 \xC0\xCC\xB8\xA7\xC0\xB8\xB7\xCE "
    "\xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
} // namespace sharedwrite

// Takes the lock of `lock`'s file for a command. When another writer holds
// it shows who and since when, and notes it (HeldByOther); when no lock file
// can be made shows "Write File Open Error...!!". False in both cases.
bool TakeLock(CAuditUtil& util, WriteLock& lock);

// The mark of a file as it is now: size, time and a hash of its bytes (a
// missing file has its own mark).
CAuditUtil::ReadMark MarkOf(const FileSystem& fs, const std::string& path);
// Reads a file whole and remembers it as read (its mark taken before the
// read, so that a change meanwhile shows at the save). A missing file is
// remembered as missing. False when it cannot be read.
bool ReadRemembered(CAuditUtil& util, const std::string& path, std::string& bytes);
// Remembers the files as they are now (after writing them).
void RememberFiles(CAuditUtil& util, std::initializer_list<std::string> paths);
// The first of the files that is no longer what was remembered of it; empty
// when none (a file never remembered is not compared).
std::string ChangedSinceRead(const CAuditUtil& util, std::initializer_list<std::string> paths);
// The message for such a file: "다른 곳에서 바뀌었습니다: " with its path and that
// nothing was overwritten; notes it (ChangedElsewhere).
void TellChangedElsewhere(CAuditUtil& util, const std::string& path);

} // namespace ostravion
