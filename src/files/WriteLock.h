// One writer per shared file at a time. Before a writer replaces a file of a
// shared work folder it makes a lock file beside it ("NAME.tls.lock") by
// exclusive creation; whoever makes it holds the file until it removes it.
// Exclusive creation is the one operation every file server carries out
// atomically for every client (byte-range locks are not kept alike across
// systems and servers). The lock file names its holder, so that a writer that
// finds it can say who holds the file and since when.
#pragma once

#include "ports/Ports.h"

#include <string>
#include <string_view>

namespace ostravion {

namespace lockfile {
// Lock file sections, CP949.
inline constexpr const char* kComputer = "[\xC4\xC4\xC7\xBB\xC5\xCD\xB8\xED]"; // [컴퓨터명]
inline constexpr const char* kUser = "[\xBB\xE7\xBF\xEB\xC0\xDA]";             // [사용자]
inline constexpr const char* kProgram = "[\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5]";  // [프로그램]
inline constexpr const char* kSystem = "[\xBD\xC3\xBD\xBA\xC5\xDB]";           // [시스템]
inline constexpr const char* kProcess = "[\xC7\xC1\xB7\xCE\xBC\xBC\xBD\xBA]";  // [프로세스]
inline constexpr const char* kSince = "[\xBD\xC3\xC0\xDB]";                    // [시작]

// "다른 사람이 이 파일을 쓰고 있어 아무것도 바꾸지 않았습니다: "
inline constexpr const char* kHeldBy =
    "\xB4\xD9\xB8\xA5 \xBB\xE7\xB6\xF7\xC0\xCC \xC0\xCC \xC6\xC4\xC0\xCF\xC0\xBB \xBE\xB2\xB0\xED "
    "\xC0\xD6\xBE\xEE \xBE\xC6\xB9\xAB\xB0\xCD\xB5\xB5 \xB9\xD9\xB2\xD9\xC1\xF6 "
    "\xBE\xCA\xBE\xD2\xBD\xC0\xB4\xCF\xB4\xD9: ";
// "쓰는 곳: "
inline constexpr const char* kHolder = "\xBE\xB2\xB4\xC2 \xB0\xF7: ";
// "컴퓨터 ", "사용자 ", "프로그램 ", "프로세스 ", "부터"
inline constexpr const char* kOnComputer = "\xC4\xC4\xC7\xBB\xC5\xCD ";
inline constexpr const char* kByUser = "\xBB\xE7\xBF\xEB\xC0\xDA ";
inline constexpr const char* kWithProgram = "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5 ";
inline constexpr const char* kAsProcess = "\xC7\xC1\xB7\xCE\xBC\xBC\xBD\xBA ";
inline constexpr const char* kFrom = "\xBA\xCE\xC5\xCD";
// "알 수 없음 (잠금 파일이 비어 있거나 읽을 수 없습니다)"
inline constexpr const char* kUnknownHolder =
    "\xBE\xCB \xBC\xF6 \xBE\xF8\xC0\xBD (\xC0\xE1\xB1\xDD \xC6\xC4\xC0\xCF\xC0\xCC "
    "\xBA\xF1\xBE\xEE "
    "\xC0\xD6\xB0\xC5\xB3\xAA \xC0\xD0\xC0\xBB \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9)";
// "잠시 뒤에 다시 하십시오. 그 프로그램이 끝났는데도 이 말이 나오면 그 컴퓨터에서 잠금 파일을
// 지우십시오: "
inline constexpr const char* kTryLater =
    "\xC0\xE1\xBD\xC3 \xB5\xDA\xBF\xA1 \xB4\xD9\xBD\xC3 \xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0. \xB1\xD7 "
    "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xCC \xB3\xA1\xB3\xB5\xB4\xC2\xB5\xA5\xB5\xB5 \xC0\xCC "
    "\xB8\xBB\xC0\xCC \xB3\xAA\xBF\xC0\xB8\xE9 \xB1\xD7 \xC4\xC4\xC7\xBB\xC5\xCD\xBF\xA1\xBC\xAD "
    "\xC0\xE1\xB1\xDD \xC6\xC4\xC0\xCF\xC0\xBB \xC1\xF6\xBF\xEC\xBD\xCA\xBD\xC3\xBF\xC0: ";

// How long a writer waits for a held file before it gives up, and how often
// it looks again.
inline constexpr int kWaitMilliseconds = 5000;
inline constexpr int kPollMilliseconds = 100;
} // namespace lockfile

// Who holds a lock, as its file says; every text empty when it says nothing.
struct LockHolder {
    std::string computer, user, program, system, process, since;
};

// The lock file's text for this writer: the six sections, CP949, CR LF.
std::string LockFileText(const WriterFacts& writer, const LocalTime& since);
// The holder a lock file's text names.
LockHolder ReadLockFile(std::string_view text);

// The lock file of a file: its path with the file name in lower case and
// ".lock" added, so that every spelling of a name meets at one lock.
std::string LockPathFor(const std::string& target);

// The Korean message for a writer that found `target` held: the file, who
// holds it and since when, and how to remove a lock that was left behind.
std::string HeldMessage(const std::string& target, const LockHolder& holder);

enum class LockOutcome {
    Taken,  // this writer holds the file
    Held,   // another writer holds it, still after the wait
    Failed, // no lock file could be made (a folder that refuses new files)
};

// The lock of one file for one writer; released when it goes. A process
// that holds a file already (an outer step of the same command) takes it
// again at once, and only the outermost release removes the lock file.
class WriteLock {
public:
    WriteLock(FileSystem& fs, std::string target);
    ~WriteLock();
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    // Makes the lock file; while another writer holds the file, looks again
    // until `waitMilliseconds` have passed. A lock file left by a process of
    // this computer and system that no longer runs is taken over.
    LockOutcome Take(int waitMilliseconds = lockfile::kWaitMilliseconds);
    // Removes the lock file when it is still this writer's own.
    void Release();
    bool Holds() const { return holds_; }
    // After Held: who holds the file.
    const LockHolder& Holder() const { return holder_; }
    const std::string& Target() const { return target_; }

private:
    bool Stale(const LockHolder& holder) const;
    bool TakeOver(const std::string& staleText);

    FileSystem& fs_;
    std::string target_;
    std::string lockPath_;
    std::string ownText_;
    LockHolder holder_;
    bool holds_ = false;
    bool nested_ = false;
};

} // namespace ostravion
