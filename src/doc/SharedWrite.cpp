#include "doc/SharedWrite.h"

#include "util/Messages.h"

namespace ostravion {

bool TakeLock(CAuditUtil& util, WriteLock& lock) {
    switch (lock.Take()) {
    case LockOutcome::Taken:
        return true;
    case LockOutcome::Held:
        util.SetHeldByOther();
        util.Messages().Show(HeldMessage(lock.Target(), lock.Holder()));
        return false;
    case LockOutcome::Failed:
        break;
    }
    util.Messages().Show(msg::kWriteFileOpenError);
    return false;
}

namespace {
// FNV-1a: a change that keeps size and time (a copy over the file within the
// time's resolution) still shows.
std::uint64_t ContentHash(std::string_view bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : bytes)
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

// The mark of a file from its stamp, taken before `bytes` were read from it.
CAuditUtil::ReadMark Mark(const FileStamp& stamp, bool read, std::string_view bytes) {
    CAuditUtil::ReadMark mark;
    mark.stamp = stamp;
    if (stamp.exists && read)
        mark.hash = ContentHash(bytes);
    return mark;
}
} // namespace

CAuditUtil::ReadMark MarkOf(const FileSystem& fs, const std::string& path) {
    const FileStamp stamp = fs.Stamp(path);
    std::string bytes;
    const bool read = stamp.exists && fs.ReadWhole(path, bytes);
    return Mark(stamp, read, bytes);
}

bool ReadRemembered(CAuditUtil& util, const std::string& path, std::string& bytes) {
    const FileStamp stamp = util.Files().Stamp(path);
    const bool read = util.Files().ReadWhole(path, bytes);
    util.RememberRead(path, Mark(stamp, read, bytes));
    return read;
}

void RememberFiles(CAuditUtil& util, std::initializer_list<std::string> paths) {
    for (const std::string& path : paths)
        util.RememberRead(path, MarkOf(util.Files(), path));
}

std::string ChangedSinceRead(const CAuditUtil& util, std::initializer_list<std::string> paths) {
    for (const std::string& path : paths) {
        const CAuditUtil::ReadMark* known = util.ReadMarkOf(path);
        if (!known)
            continue;
        const CAuditUtil::ReadMark now = MarkOf(util.Files(), path);
        if (!(now.stamp == known->stamp) || now.hash != known->hash)
            return path;
    }
    return std::string();
}

void TellChangedElsewhere(CAuditUtil& util, const std::string& path) {
    util.SetChangedElsewhere(true);
    util.Messages().Show(std::string(sharedwrite::kChangedElsewhere) + path + "\n" +
                         sharedwrite::kNotOverwritten);
}

} // namespace ostravion
