#include "files/WriteLock.h"

#include "files/ReplaceFiles.h"
#include "util/Text.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace ostravion {

namespace {

// The files this process holds, by file system and path, with how often each
// is held: an inner step of a command that holds the file already goes on.
std::mutex gHeldMutex;
std::map<std::pair<const FileSystem*, std::string>, int>& Held() {
    static std::map<std::pair<const FileSystem*, std::string>, int> held;
    return held;
}

std::string TimeText(const LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

// A value line of a lock file never splits: no line break survives in it.
std::string OneLine(const std::string& s) {
    std::string out = text::BlankControls(s);
    return out.empty() ? std::string("-") : out;
}

bool SameComputer(const std::string& a, const std::string& b) {
    return !a.empty() && text::EqualsNoCase(a, b);
}

} // namespace

std::string LockFileText(const WriterFacts& w, const LocalTime& since) {
    std::string out;
    const std::pair<const char*, std::string> lines[] = {
        {lockfile::kComputer, w.computer},
        {lockfile::kUser, w.user},
        {lockfile::kProgram, w.program},
        {lockfile::kSystem, w.system},
        {lockfile::kProcess, std::to_string(w.process)},
        {lockfile::kSince, TimeText(since)},
    };
    for (const auto& [header, value] : lines) {
        out += header;
        out += "\r\n";
        out += OneLine(value);
        out += "\r\n";
    }
    return out;
}

LockHolder ReadLockFile(std::string_view text) {
    LockHolder h;
    std::vector<std::string_view> lines;
    text::SplitTextViews(text, "\r\n", lines);
    const std::pair<const char*, std::string*> slots[] = {
        {lockfile::kComputer, &h.computer}, {lockfile::kUser, &h.user},
        {lockfile::kProgram, &h.program},   {lockfile::kSystem, &h.system},
        {lockfile::kProcess, &h.process},   {lockfile::kSince, &h.since},
    };
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        for (const auto& [header, slot] : slots)
            if (lines[i] == header) {
                *slot = std::string(lines[i + 1]);
                ++i;
                break;
            }
    return h;
}

std::string LockPathFor(const std::string& target) {
    // The file name in lower case: Windows writers and Linux writers of one
    // shared folder may spell a total's name in different case (Windows
    // lowers typed names), and must still meet at one lock file.
    std::size_t name = 0;
    for (std::size_t i = 0; i < target.size(); i += text::CharLength(target, i))
        if (target[i] == '\\' || target[i] == '/')
            name = i + 1;
    return target.substr(0, name) + text::ToLower(target.substr(name)) + ".lock";
}

std::string HeldMessage(const std::string& target, const LockHolder& h) {
    std::string m = lockfile::kHeldBy;
    m += target;
    m += "\n";
    m += lockfile::kHolder;
    if (h.computer.empty() && h.process.empty()) {
        m += lockfile::kUnknownHolder;
    } else {
        m += lockfile::kOnComputer + h.computer + ", " + lockfile::kByUser + h.user + ", " +
             lockfile::kWithProgram + h.program + " (" + h.system + " " + lockfile::kAsProcess +
             h.process + "), " + h.since + lockfile::kFrom;
    }
    m += "\n";
    m += lockfile::kTryLater;
    m += LockPathFor(target);
    return m;
}

WriteLock::WriteLock(FileSystem& fs, std::string target)
    : fs_(fs), target_(std::move(target)), lockPath_(LockPathFor(target_)) {}

WriteLock::~WriteLock() {
    Release();
}

bool WriteLock::Stale(const LockHolder& h) const {
    // Only a process of this very computer and system can be looked up; a
    // lock of another computer stays until its holder or a person removes it.
    const WriterFacts self = fs_.Writer();
    if (!SameComputer(h.computer, self.computer) || h.system != self.system || h.process.empty())
        return false;
    std::uint64_t process = 0;
    for (char c : h.process) {
        if (c < '0' || c > '9')
            return false;
        process = process * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return process != self.process && !fs_.ProcessRunning(process);
}

bool WriteLock::TakeOver(const std::string& staleText) {
    // The stale lock is moved to a name of this writer's own first: of two
    // writers taking it over at once only one moves it. When what was moved
    // is not the stale lock (a new holder made it meanwhile), it goes back.
    const std::string aside = TemporaryName(fs_, lockPath_, ".stale");
    if (!fs_.RenameNoReplace(lockPath_, aside))
        return false;
    std::string moved;
    const bool read = fs_.ReadWhole(aside, moved);
    if (read && moved == staleText) {
        fs_.Remove(aside);
        return true;
    }
    if (!fs_.RenameNoReplace(aside, lockPath_))
        fs_.Remove(aside);
    return false;
}

LockOutcome WriteLock::Take(int waitMilliseconds) {
    if (holds_)
        return LockOutcome::Taken;
    {
        std::lock_guard<std::mutex> guard(gHeldMutex);
        auto it = Held().find({&fs_, lockPath_});
        if (it != Held().end()) {
            ++it->second;
            holds_ = nested_ = true;
            return LockOutcome::Taken;
        }
    }
    int waited = 0;
    int tries = 0;
    while (true) {
        if (auto out = fs_.CreateExclusive(lockPath_)) {
            ownText_ = LockFileText(fs_.Writer(), fs_.LockTime());
            const bool written = out->Write(ownText_);
            if (!out->Close() || !written) {
                fs_.Remove(lockPath_);
                return LockOutcome::Failed;
            }
            std::lock_guard<std::mutex> guard(gHeldMutex);
            Held()[{&fs_, lockPath_}] = 1;
            holds_ = true;
            return LockOutcome::Taken;
        }
        std::string text;
        const bool there = fs_.ReadWhole(lockPath_, text) || fs_.Exists(lockPath_) ||
                           fs_.IsLink(lockPath_) || fs_.IsDirectory(lockPath_);
        if (!there) {
            // Gone between the two calls, or a folder that makes no files:
            // a few more tries tell the one from the other.
            if (++tries > 20)
                return LockOutcome::Failed;
            continue;
        }
        holder_ = ReadLockFile(text);
        if (Stale(holder_) && TakeOver(text))
            continue;
        if (waited >= waitMilliseconds)
            return LockOutcome::Held;
        // A little unevenly, so that writers that met once do not meet again.
        const int pause = lockfile::kPollMilliseconds / 2 +
                          static_cast<int>(fs_.RandomNumber() % lockfile::kPollMilliseconds);
        fs_.Pause(pause);
        waited += pause;
    }
}

void WriteLock::Release() {
    if (!holds_)
        return;
    holds_ = false;
    std::lock_guard<std::mutex> guard(gHeldMutex);
    auto it = Held().find({&fs_, lockPath_});
    if (nested_) {
        nested_ = false;
        if (it != Held().end())
            --it->second;
        return;
    }
    if (it != Held().end())
        Held().erase(it);
    // Only its own lock: one that another writer took over (after this one
    // was thought gone) is that writer's.
    // A writer that reads the lock file just then may hold it open (on
    // Windows a file open for reading cannot be removed): a few more tries.
    for (int tries = 0; tries < 40; ++tries) {
        std::string now;
        const bool read = fs_.ReadWhole(lockPath_, now);
        if (read ? now != ownText_ || fs_.Remove(lockPath_) : !fs_.Exists(lockPath_))
            return;
        fs_.Pause(25);
    }
}

} // namespace ostravion
