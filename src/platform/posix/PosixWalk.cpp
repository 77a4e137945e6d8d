#include "platform/posix/PosixWalk.h"

#include "platform/ScanStandIns.h"
#include "util/Text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <poll.h>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace ostravion::posix {

namespace {

constexpr const char* kNtfsAttributeValue = "system.ntfs_attrib_be";

// File systems where a folder's entry in its parent's listing carries the
// inode a stat of it gives, and which hold no file system of their own below
// (as btrfs subvolumes are): the ext family and XFS.
bool ListsStableInodes(long magic) {
    constexpr long kExt = 0xEF53;
    constexpr long kXfs = 0x58465342;
    return magic == kExt || magic == kXfs;
}

// File systems whose driver may hold NTFS attributes: FUSE (ntfs-3g) and the
// kernel's two NTFS drivers.
bool MayHoldNtfsAttributes(long magic) {
    constexpr long kFuse = 0x65735546;
    constexpr long kNtfs = 0x5346544e;
    constexpr long kNtfs3 = 0x7366746e;
    return magic == kFuse || magic == kNtfs || magic == kNtfs3;
}

bool IsDotOrDotDot(const char* n) {
    return n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'));
}

// Opens a folder named by a path of any length. A path the system refuses
// as too long is opened a run of whole names at a time, each run relative to
// the folder before it, so that a tree deeper than the longest path is still
// walked to its bottom.
int OpenFolder(const std::string& path) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    int fd = ::open(path.c_str(), kFlags);
    if (fd >= 0 || errno != ENAMETOOLONG)
        return fd;
    fd = AT_FDCWD;
    std::size_t at = 0;
    while (at < path.size()) {
        std::size_t end = path.size();
        if (end - at >= PATH_MAX) {
            const std::size_t slash = path.rfind('/', at + PATH_MAX - 2);
            if (slash == std::string::npos || slash < at) {
                if (fd != AT_FDCWD)
                    ::close(fd);
                errno = ENAMETOOLONG; // one name longer than any path
                return -1;
            }
            end = slash + 1;
        }
        const int next = ::openat(fd, path.substr(at, end - at).c_str(), kFlags);
        if (fd != AT_FDCWD)
            ::close(fd);
        if (next < 0)
            return -1;
        fd = next;
        at = end;
    }
    return fd;
}

// stat of a path of any length (see OpenFolder).
bool StatAnyLength(const std::string& path, struct stat& st) {
    if (::stat(path.c_str(), &st) == 0)
        return true;
    if (errno != ENAMETOOLONG)
        return false;
    const std::size_t slash = path.find_last_of('/', path.size() - 2);
    if (slash == std::string::npos)
        return false;
    const int fd = OpenFolder(path.substr(0, slash + 1));
    if (fd < 0)
        return false;
    const bool ok = ::fstatat(fd, path.c_str() + slash + 1, &st, 0) == 0;
    ::close(fd);
    return ok;
}

bool ReadSmallFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

// Undoes the octal escapes (\040 blank, \011 TAB, \012 LF, \134 backslash).
std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            const char a = s[i + 1], b = s[i + 2], c = s[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
                out += static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0'));
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

} // namespace

bool NtfsAttributes(const void* value, long length, unsigned& attributes) {
    if (length != 4)
        return false;
    const auto* b = static_cast<const unsigned char*>(value);
    attributes = (unsigned(b[0]) << 24) | (unsigned(b[1]) << 16) | (unsigned(b[2]) << 8) | b[3];
    return true;
}

std::string PosixFileSearch::TextName(const std::string& nativeName) const {
    for (const char c : nativeName)
        if (static_cast<unsigned char>(c) >= 0x80)
            return codec_.FromUtf8(nativeName);
    return nativeName;
}

bool PosixFileSearch::List(const std::string& nativeFolder, std::vector<DirEntry>& out) const {
    bool gone = false;
    std::unique_ptr<HeldFolder> held;
    return ListFolder(ListRequest{nativeFolder}, out, held, gone) == ReadFault::None && !gone;
}

ReadFault PosixFileSearch::ListChecked(const std::string& nativeFolder,
                                       std::vector<DirEntry>& out) const {
    bool gone = false;
    std::unique_ptr<HeldFolder> held;
    return ListFolder(ListRequest{nativeFolder}, out, held, gone);
}

ReadFault PosixFileSearch::ListRequested(const ListRequest& request, std::vector<DirEntry>& out,
                                         std::unique_ptr<HeldFolder>& held) const {
    bool gone = false;
    return ListFolder(request, out, held, gone);
}

namespace {

// An open folder, and what its file system offers.
class PosixHeldFolder final : public HeldFolder {
public:
    PosixHeldFolder(int fd, std::uint64_t device, long fsType)
        : fd(fd), device(device), fsType(fsType) {}
    ~PosixHeldFolder() override { ::close(fd); }
    PosixHeldFolder(const PosixHeldFolder&) = delete;
    PosixHeldFolder& operator=(const PosixHeldFolder&) = delete;

    const int fd;
    const std::uint64_t device; // 0: unknown
    const long fsType;          // statfs's magic; 0: unknown
};

// The folder's entries as the kernel hands them out, a buffer at a time;
// false with errno set on a read error.
template <typename Each> bool ReadEntries(int fd, Each&& each) {
    alignas(8) char buffer[32768];
    while (true) {
        const ssize_t n = ::getdents64(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0)
            return false;
        for (ssize_t at = 0; at < n;) {
            const auto* d = reinterpret_cast<const dirent64*>(buffer + at);
            at += d->d_reclen;
            each(*d);
        }
    }
}

} // namespace

ReadFault PosixFileSearch::ListFolder(const ListRequest& request, std::vector<DirEntry>& out,
                                      std::unique_ptr<HeldFolder>& held, bool& gone) const {
    out.clear();
    held.reset();
    const std::string& nativeFolder = request.native;
    const auto* parent = dynamic_cast<const PosixHeldFolder*>(request.parent);
    int fd = -1;
    if (parent && !request.name.empty())
        fd = ::openat(parent->fd, std::string(request.name).c_str(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    else
        fd = OpenFolder(nativeFolder);
    if (fd < 0) {
        // A folder gone since its parent was listed is nothing left out.
        gone = errno == ENOENT || errno == ENOTDIR;
        if (gone)
            return ReadFault::None;
        return errno == EACCES || errno == EPERM ? ReadFault::Denied : ReadFault::Failed;
    }
    // A folder on its parent's device is on its parent's file system.
    long fsType = 0;
    if (parent && request.device != 0 && request.device == parent->device) {
        fsType = parent->fsType;
    } else {
        struct statfs fsInfo {};
        if (::fstatfs(fd, &fsInfo) == 0)
            fsType = static_cast<long>(fsInfo.f_type);
    }
    bool tryNtfs = MayHoldNtfsAttributes(fsType);
    const bool inodesListed =
        request.device != 0 && ListsStableInodes(fsType) && !HoldsMountPoint(nativeFolder);
    bool ntfsTried = false;
    std::string path;
    const auto each = [&](const dirent64& d) {
        const char* name = d.d_name;
        if (IsDotOrDotDot(name))
            return;
        DirEntry e;
        bool isFolder = false;
        struct stat st {};
        switch (d.d_type) {
        case DT_REG:
            e.sizeKnown = false; // fetched only when the scan needs it
            break;
        case DT_DIR:
            if (inodesListed) {
                st.st_dev = static_cast<dev_t>(request.device);
                st.st_ino = static_cast<ino_t>(d.d_ino);
            } else if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode)) {
                return;
            }
            isFolder = true;
            break;
        case DT_LNK:
        case DT_UNKNOWN:
            if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                return;
            if (S_ISLNK(st.st_mode)) {
                // A link is listed as a link to a folder or a file, as
                // Windows lists a junction or a symbolic link: never
                // entered, never read as what it leads to, and of no size
                // of its own. A dangling one is left out.
                if (::fstatat(fd, name, &st, 0) != 0)
                    return;
                e.link = true;
                e.size = 0;
                if (S_ISDIR(st.st_mode))
                    isFolder = true;
                else if (!S_ISREG(st.st_mode))
                    return;
            } else if (S_ISDIR(st.st_mode)) {
                isFolder = true;
            } else if (S_ISREG(st.st_mode)) {
                e.size = static_cast<std::uint64_t>(st.st_size);
            } else {
                return;
            }
            break;
        default:
            return; // pipes, sockets and devices are no files to examine
        }
        if (isFolder) {
            e.device = static_cast<std::uint64_t>(st.st_dev);
            e.inode = static_cast<std::uint64_t>(st.st_ino);
        }
        e.attributes = isFolder ? kAttrDirectory : kAttrArchive;
        if (e.link)
            e.attributes |= kAttrReparsePoint;
        if (name[0] == '.')
            e.attributes |= kAttrHidden;
        // The driver's attributes would be those of the link's target.
        if (tryNtfs && !e.link) {
            unsigned char value[8];
            path.assign(nativeFolder).append(name);
            const ssize_t length =
                ::getxattr(path.c_str(), kNtfsAttributeValue, value, sizeof value);
            unsigned attributes = 0;
            if (length >= 0 && NtfsAttributes(value, static_cast<long>(length), attributes)) {
                e.attributes = (attributes & ~unsigned(kAttrDirectory)) |
                               (isFolder ? unsigned(kAttrDirectory) : 0u);
            } else if (!ntfsTried) {
                tryNtfs = false; // this file system does not offer them
            }
            ntfsTried = true;
        }
        e.nativeName = name;
        e.name = TextName(e.nativeName);
        // A size the walk will need is fetched here, by name in the open
        // folder, rather than later by whole path.
        if (!e.sizeKnown && request.wantsSize && (*request.wantsSize)(e) &&
            ::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
            e.size = static_cast<std::uint64_t>(st.st_size);
            e.sizeKnown = true;
        }
        out.push_back(std::move(e));
    };
    const bool read = ReadEntries(fd, each);
    const int readError = read ? 0 : errno;
    if (request.hold && readError == 0) {
        held = std::make_unique<PosixHeldFolder>(fd, request.device, fsType);
    } else {
        ::close(fd);
    }
    return readError == 0 ? ReadFault::None : ReadFault::Failed;
}

// The folders that hold a mount point, from the mount table, read again when
// the system says it changed; looked at no more often than every 20 ms, so
// that a walk does not ask for every folder.
struct PosixFileSearch::MountWatch {
    using Folders = std::set<std::string>; // each ending with '/'
    static constexpr std::int64_t kCheckMs = 20;

    explicit MountWatch(std::string p) : path(std::move(p)) {}
    ~MountWatch() {
        if (fd >= 0)
            ::close(fd);
    }
    MountWatch(const MountWatch&) = delete;
    MountWatch& operator=(const MountWatch&) = delete;

    // Null when the table cannot be read.
    std::shared_ptr<const Folders> Current() {
        const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count();
        if (now - checkedAt.load(std::memory_order_relaxed) >= kCheckMs) {
            std::unique_lock<std::mutex> lock(refresh, std::try_to_lock);
            if (lock.owns_lock()) {
                // The mount table's file signals a change as an exceptional
                // condition until it is read again.
                pollfd p{fd, POLLPRI, 0};
                if (fd < 0 || ::poll(&p, 1, 0) != 0)
                    Read();
                checkedAt.store(now, std::memory_order_relaxed);
            }
        }
        return folders.load();
    }

private:
    void Read() {
        if (fd < 0)
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
        std::string text;
        char buffer[16384];
        ssize_t n = fd < 0 || ::lseek(fd, 0, SEEK_SET) != 0 ? -1 : 0;
        while (n >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(n));
        if (n < 0) {
            folders.store(nullptr);
            return;
        }
        auto parents = std::make_shared<Folders>();
        for (const MountEntry& m : ParseMountInfo(text)) {
            const std::size_t slash = m.mountPoint.find_last_of('/', m.mountPoint.size() - 2);
            if (m.mountPoint.size() > 1 && slash != std::string::npos)
                parents->insert(m.mountPoint.substr(0, slash + 1));
        }
        folders.store(std::move(parents));
    }

    const std::string path;
    std::mutex refresh; // one thread reads the table at a time
    int fd = -1;
    std::atomic<std::int64_t> checkedAt{std::numeric_limits<std::int64_t>::min() / 2};
    std::atomic<std::shared_ptr<const Folders>> folders;
};

PosixFileSearch::PosixFileSearch(const TextCodec& codec, std::string mountInfoPath)
    : codec_(codec), mounts_(std::make_unique<MountWatch>(std::move(mountInfoPath))) {}

PosixFileSearch::~PosixFileSearch() = default;

bool PosixFileSearch::HoldsMountPoint(const std::string& nativeFolder) const {
    const std::shared_ptr<const MountWatch::Folders> folders = mounts_->Current();
    return !folders || folders->count(nativeFolder) != 0;
}

bool PosixFileSearch::Identify(const std::string& nativeFolder, std::uint64_t& device,
                               std::uint64_t& inode) const {
    struct stat st {};
    if (!StatAnyLength(nativeFolder, st) || !S_ISDIR(st.st_mode))
        return false;
    device = static_cast<std::uint64_t>(st.st_dev);
    inode = static_cast<std::uint64_t>(st.st_ino);
    return true;
}

bool PosixFileSearch::FileSize(const std::string& nativePath, std::uint64_t& size) const {
    struct stat st {};
    if (!StatAnyLength(nativePath, st))
        return false;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

std::vector<MountEntry> ParseMountInfo(const std::string& text) {
    std::vector<MountEntry> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string w; fields >> w;)
            f.push_back(w);
        const auto dash = std::find(f.begin() + std::min<std::size_t>(f.size(), 6), f.end(), "-");
        if (f.size() < 5 || dash == f.end() || f.end() - dash < 3)
            continue;
        MountEntry m;
        m.majorMinor = f[2];
        m.root = Unescape(f[3]);
        m.mountPoint = Unescape(f[4]);
        m.fsType = *(dash + 1);
        m.source = Unescape(*(dash + 2));
        out.push_back(std::move(m));
    }
    return out;
}

bool IsLocalDiskType(const std::string& fsType) {
    static const std::set<std::string> kLocal = {
        "ext2", "ext3",  "ext4",   "xfs",      "btrfs", "jfs",     "reiserfs", "f2fs",
        "vfat", "msdos", "exfat",  "ntfs",     "ntfs3", "fuseblk", "hfs",      "hfsplus",
        "ufs",  "zfs",   "nilfs2", "bcachefs", "minix", "overlay"};
    return kLocal.count(fsType) != 0;
}

std::vector<MountEntry> SelectFixedMounts(const std::vector<MountEntry>& mounts,
                                          const std::function<bool(const MountEntry&)>& excluded) {
    // A later mount on the same point covers the earlier one.
    std::map<std::string, const MountEntry*> top;
    for (const MountEntry& m : mounts)
        top[m.mountPoint] = &m;
    std::vector<MountEntry> out;
    std::set<std::pair<std::string, std::string>> seen;
    for (const auto& [point, m] : top) { // mount-point order
        if (!IsLocalDiskType(m->fsType))
            continue;
        // A union mount is the system's own tree only at "/" (a container);
        // elsewhere it repeats folders that are walked where they lie.
        if (m->fsType == "overlay" && point != "/")
            continue;
        if (!seen.insert({m->majorMinor, m->root}).second)
            continue;
        if (excluded && excluded(*m))
            continue;
        out.push_back(*m);
    }
    return out;
}

bool PosixDrives::IsRemovable(const MountEntry& m) const {
    std::string majorMinor = m.majorMinor;
    struct stat st {};
    if (text::StartsWith(m.source, "/dev/") && ::stat(m.source.c_str(), &st) == 0 &&
        S_ISBLK(st.st_mode))
        majorMinor = std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev));
    char real[PATH_MAX];
    if (!::realpath((sysfsRoot_ + "/dev/block/" + majorMinor).c_str(), real))
        return false;
    // A partition carries no flag of its own: its disk does.
    std::string flag;
    if (!ReadSmallFile(std::string(real) + "/removable", flag) &&
        !ReadSmallFile(std::string(real) + "/../removable", flag))
        return false;
    return !flag.empty() && flag[0] == '1';
}

std::vector<Drive> PosixDrives::FixedDrives() const {
    if (!map_.empty())
        return map_;
    std::string text;
    if (!ReadSmallFile(mountInfoPath_, text))
        return {};
    const auto excluded = [this](const MountEntry& m) {
        struct stat st {};
        if (::stat(m.mountPoint.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return true;
        return IsRemovable(m);
    };
    std::vector<Drive> drives;
    for (const MountEntry& m : SelectFixedMounts(ParseMountInfo(text), excluded)) {
        const std::string native = WithSlash(m.mountPoint);
        drives.push_back({codec_.FromUtf8(native), native, '/'});
    }
    return drives;
}

bool PosixDrives::SetMap(const std::vector<std::string>& items, std::string& error) {
    const auto resolve = [](const std::string& folder, std::string& native, std::string&) {
        char real[PATH_MAX];
        struct stat st {};
        if (!::realpath(folder.c_str(), real) || ::stat(real, &st) != 0 || !S_ISDIR(st.st_mode))
            return false;
        native = WithSlash(real);
        return true;
    };
    return ParseDriveMap(items, resolve, map_, error);
}

} // namespace ostravion::posix
