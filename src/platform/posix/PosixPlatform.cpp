#include "platform/posix/PosixPlatform.h"
#include "platform/posix/Cp949BestFit.h"

#include "util/InputText.h"
#include "util/Text.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iconv.h>
#include <new>
#include <pwd.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace ostravion::posix {

namespace {

// One conversion descriptor per thread and direction: the walk converts a
// name per file, and iconv_t is not safe to share between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts, writing "?" for each input character that has no form in the
    // target; `charLength` gives the length of the character that failed.
    template <typename CharLen> std::string Convert(const std::string& in, CharLen charLength) {
        std::string out;
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return in;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 4 + 16);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        while (srcLeft > 0) {
            if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1))
                break;
            if (errno == E2BIG) {
                const std::size_t used = static_cast<std::size_t>(dst - out.data());
                out.resize(out.size() * 2);
                dst = out.data() + used;
                dstLeft = out.size() - used;
                continue;
            }
            // EILSEQ or EINVAL: one character without a form, or cut short.
            if (dstLeft < 1) {
                const std::size_t used = static_cast<std::size_t>(dst - out.data());
                out.resize(out.size() * 2);
                dst = out.data() + used;
                dstLeft = out.size() - used;
            }
            *dst++ = '?';
            --dstLeft;
            const std::size_t skip = std::min(srcLeft, charLength(src, srcLeft));
            src += skip;
            srcLeft -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        out.resize(static_cast<std::size_t>(dst - out.data()));
        return out;
    }

private:
    iconv_t cd_;
};

std::size_t Cp949CharLength(const char* p, std::size_t left) {
    return (text::IsLeadByte(static_cast<unsigned char>(*p)) && left >= 2) ? 2 : 1;
}

std::size_t Utf8CharLength(const char* p, std::size_t left) {
    const auto c = static_cast<unsigned char>(*p);
    std::size_t n = 1;
    if (c >= 0xF0 && c <= 0xF7)
        n = 4;
    else if (c >= 0xE0)
        n = 3;
    else if (c >= 0xC2 && c < 0xE0)
        n = 2;
    // A broken sequence counts up to its first byte that is no continuation.
    std::size_t i = 1;
    while (i < n && i < left && (static_cast<unsigned char>(p[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

class PosixOutFile final : public OutFile {
public:
    explicit PosixOutFile(int fd) : fd_(fd) {}
    ~PosixOutFile() override { Close(); }
    bool Write(const std::string& bytes) override {
        if (fd_ < 0)
            return false;
        const char* p = bytes.data();
        std::size_t left = bytes.size();
        while (left > 0) {
            const ssize_t n = ::write(fd_, p, left);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                failed_ = true;
                return false;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        return true;
    }
    bool Close() override {
        if (fd_ < 0)
            return !failed_;
        if (::close(fd_) != 0)
            failed_ = true;
        fd_ = -1;
        return !failed_;
    }

private:
    int fd_;
    bool failed_ = false;
};

class PosixInFile final : public InFile {
public:
    explicit PosixInFile(int fd) : fd_(fd) {}
    ~PosixInFile() override { ::close(fd_); }
    bool Read(std::string& bytes, std::size_t max) override {
        bytes.resize(max);
        while (true) {
            const ssize_t n = ::read(fd_, bytes.data(), max);
            if (n < 0 && errno == EINTR)
                continue;
            bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
            return n >= 0;
        }
    }

private:
    int fd_;
};

} // namespace

namespace {

// A new file about to be moved: its identity, and its descriptor held open
// until the move is checked, so that its inode cannot be freed and given to
// whatever is put in its place.
struct MovingFile {
    int fd = -1;
    struct stat st {};
    MovingFile() = default;
    MovingFile(const MovingFile&) = delete;
    MovingFile& operator=(const MovingFile&) = delete;
    ~MovingFile() {
        if (fd >= 0)
            ::close(fd);
    }
};

// Opens the file `path` without following a link and without waiting on a
// pipe, brings its bytes onto the disk and tells its identity. False for a
// link or anything but a plain file, or when the flush fails; a plain file
// this process cannot open again is taken unsynced, by its name.
bool SyncForMove(const std::string& path, MovingFile& file) {
    file.fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file.fd < 0)
        return errno != ELOOP && ::lstat(path.c_str(), &file.st) == 0 && S_ISREG(file.st.st_mode);
    const bool plain = ::fstat(file.fd, &file.st) == 0 && S_ISREG(file.st.st_mode);
    // EINVAL: a file system that cannot sync this file; nothing lost.
    return plain && (::fdatasync(file.fd) == 0 || errno == EINVAL);
}

// True when the name `path` now holds the file of identity `st`. What stands
// there instead (a link swapped in for the new file before it moved) goes when
// it is a link: it was never the user's.
bool HoldsFile(const std::string& path, const struct stat& st) {
    struct stat now {};
    if (::lstat(path.c_str(), &now) == 0 && now.st_dev == st.st_dev && now.st_ino == st.st_ino)
        return true;
    if (S_ISLNK(now.st_mode))
        ::unlink(path.c_str());
    return false;
}

} // namespace

bool SyncFile(const std::string& path) {
    MovingFile file;
    return SyncForMove(path, file);
}

bool MoveSyncedFile(const std::string& from, const std::string& to) {
    MovingFile file;
    if (!SyncForMove(from, file) || ::rename(from.c_str(), to.c_str()) != 0)
        return false;
    // Between the flush and the rename another name may have been put in the
    // new file's place: then it is not the file that was written.
    if (!HoldsFile(to, file.st))
        return false;
    SyncParentFolder(to);
    return true;
}

std::unique_ptr<OutFile> CreateNewFile(const std::string& path) {
    // unlink removes a link itself, never what it leads to; a folder stays.
    ::unlink(path.c_str());
    // Exclusive: a name put back in the meantime, link or file, makes this fail.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    return std::make_unique<PosixOutFile>(fd);
}

std::unique_ptr<OutFile> CreateExclusiveFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    return std::make_unique<PosixOutFile>(fd);
}

std::unique_ptr<OutFile> OpenForAppending(const std::string& path) {
    // O_NONBLOCK: a pipe in the file's place is refused below rather than
    // waited on.
    const int fd = ::open(
        path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink > 1 ||
        ::fcntl(fd, F_SETFL, O_APPEND) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixOutFile>(fd);
}

int OpenPlainFile(const std::string& path) {
    // O_NONBLOCK: opening a pipe or a device neither waits for a writer nor
    // wakes anything up; it is refused below. On a plain file it changes nothing.
    // O_NOFOLLOW: a link at the name is not read through (a link planted in a
    // shared work folder would otherwise feed the audit another file); the
    // folders on the way may be links.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool ReadPlainFile(const std::string& path, std::string& bytes, std::uint64_t limit) {
    bytes.clear();
    const int fd = OpenPlainFile(path);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_size) <= limit;
    try {
        if (ok)
            bytes.reserve(static_cast<std::size_t>(st.st_size));
        char buf[65536];
        while (ok) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                ok = false;
            if (n <= 0)
                break;
            // A file that grows while it is read is held to the same bound.
            ok = bytes.size() + static_cast<std::size_t>(n) <= limit;
            if (ok)
                bytes.append(buf, static_cast<std::size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    ::close(fd);
    if (!ok)
        std::string().swap(bytes);
    return ok;
}

void SyncParentFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

std::string IconvCodec::ToUtf8(const std::string& cp949) const {
    thread_local Converter conv("UTF-8", "CP949");
    return conv.Convert(cp949, Cp949CharLength);
}

std::string IconvCodec::FromUtf8(const std::string& utf8) const {
    thread_local Converter conv("CP949", "UTF-8");
    return conv.Convert(utf8, Utf8CharLength);
}

namespace {

// The CP949 form of every UTF-16 code unit as the Korean Windows converts it
// (iconv's form, else the look-alike Windows uses): a byte below 0x100, a
// double-byte code above it, kNoForm when there is none.
constexpr std::uint16_t kNoForm = 0xFFFF;

std::vector<std::uint16_t> MakeUtf16Table() {
    std::vector<std::uint16_t> table(0x10000, kNoForm);
    const iconv_t cd = iconv_open("CP949", "UTF-16LE");
    for (std::uint32_t u = 0; u < 0x10000; ++u) {
        if (u < 0x80) {
            table[u] = static_cast<std::uint16_t>(u);
            continue;
        }
        if ((u >= 0xD800 && u <= 0xDFFF) || cd == reinterpret_cast<iconv_t>(-1))
            continue; // a surrogate alone has no form
        char in[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
        char out[8];
        char* src = in;
        char* dst = out;
        std::size_t srcLeft = 2, dstLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1))
            continue;
        const auto* o = reinterpret_cast<const unsigned char*>(out);
        const std::size_t n = static_cast<std::size_t>(dst - out);
        if (n == 1)
            table[u] = o[0];
        else if (n == 2 && o[0] >= 0x81)
            table[u] = static_cast<std::uint16_t>((o[0] << 8) | o[1]);
    }
    if (cd != reinterpret_cast<iconv_t>(-1))
        iconv_close(cd);
    for (const BestFit& b : kCp949BestFit)
        if (table[b.unit] == kNoForm)
            table[b.unit] = b.code;
    return table;
}

} // namespace

std::string IconvUtf16ToCp949::Convert(std::u16string_view units) const {
    static const std::vector<std::uint16_t> table = MakeUtf16Table();
    std::string out;
    out.reserve(units.size() * 2);
    for (const char16_t u : units) {
        const std::uint16_t c = table[u];
        if (c == kNoForm)
            out += '?';
        else if (c < 0x100)
            out += static_cast<char>(c);
        else {
            out += static_cast<char>(c >> 8);
            out += static_cast<char>(c & 0xFF);
        }
    }
    return out;
}

std::string PosixFileSystem::NativePath(const std::string& path) const {
    std::string native = PlainNativePath(path);
    std::lock_guard<std::mutex> lock(aliasMutex_);
    const auto alias = aliases_.find(native);
    return alias == aliases_.end() ? native : alias->second;
}

std::string PosixFileSystem::PlainNativePath(const std::string& path) const {
    std::string p = path;
    for (std::size_t i = 0; i < p.size(); i += text::CharLength(p, i))
        if (p[i] == '\\')
            p[i] = '/';
    return codec_.ToUtf8(p);
}

std::string PosixFileSystem::ListedName(const std::string& nativeName) const {
    // A name that is no UTF-8 was most likely written by a Korean Windows
    // (unpacked from its zip file as it was): its bytes are CP949 already.
    if (!text::IsValidUtf8(nativeName))
        return nativeName;
    return codec_.FromUtf8(text::ComposeHangul(nativeName));
}

bool PosixFileSystem::ReadWhole(const std::string& path, std::string& bytes) const {
    return ReadPlainFile(NativePath(path), bytes);
}

std::unique_ptr<InFile> PosixFileSystem::OpenRead(const std::string& path) const {
    const int fd = OpenPlainFile(NativePath(path));
    if (fd < 0)
        return nullptr;
    return std::make_unique<PosixInFile>(fd);
}

bool PosixFileSystem::Exists(const std::string& path) const {
    // Without waiting on a pipe: its name is there, whoever writes to it.
    const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::unique_ptr<OutFile> PosixFileSystem::OpenWrite(const std::string& path, bool append) {
    const std::string native = NativePath(path);
    return append ? OpenForAppending(native) : CreateNewFile(native);
}

bool PosixFileSystem::Remove(const std::string& path) {
    return ::unlink(NativePath(path).c_str()) == 0;
}

bool PosixFileSystem::Rename(const std::string& from, const std::string& to) {
    // The new file's bytes reach the disk before it takes the old one's
    // place, so that a power cut never leaves an empty file under the name; a
    // write error the system only finds while flushing fails the rename.
    return MoveSyncedFile(NativePath(from), NativePath(to));
}

bool PosixFileSystem::ReplaceKeepingBackup(const std::string& from, const std::string& to,
                                           const std::string& backup) {
    const std::string source = NativePath(from);
    const std::string target = NativePath(to);
    const std::string kept = NativePath(backup);
    MovingFile file;
    if (!SyncForMove(source, file))
        return false;
    // The backup is a second name of the file `to` names, so that `to` names
    // a whole file at every moment; where the file system has no hard links
    // the file is moved aside instead, and moved back when the rename fails.
    // (A link under `to` is kept as the link itself, never what it leads to.)
    ::unlink(kept.c_str());
    const bool linked = ::link(target.c_str(), kept.c_str()) == 0;
    if (!linked && ::rename(target.c_str(), kept.c_str()) != 0)
        return false;
    if (::rename(source.c_str(), target.c_str()) != 0) {
        if (linked)
            ::unlink(kept.c_str());
        else
            ::rename(kept.c_str(), target.c_str());
        return false;
    }
    // Something other than the written file moved in: the kept one goes back.
    if (!HoldsFile(target, file.st)) {
        ::rename(kept.c_str(), target.c_str());
        return false;
    }
    SyncParentFolder(target);
    return true;
}

bool PosixFileSystem::PutBack(const std::string& backup, const std::string& to) {
    const std::string target = NativePath(to);
    if (::rename(NativePath(backup).c_str(), target.c_str()) != 0)
        return false;
    SyncParentFolder(target);
    return true;
}

bool PosixFileSystem::MakeDirectory(const std::string& path) {
    return ::mkdir(NativePath(path).c_str(), 0777) == 0;
}

bool PosixFileSystem::IsDirectory(const std::string& path) const {
    struct stat st {};
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::IsLink(const std::string& path) const {
    struct stat st {};
    return ::lstat(NativePath(path).c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool PosixFileSystem::ListFiles(const std::string& folder, std::vector<std::string>& names) const {
    names.clear();
    std::vector<std::string> listed;
    std::string native = NativePath(folder);
    DIR* dir = ::opendir(native.empty() ? "." : native.c_str());
    if (!dir)
        return false;
    if (!native.empty() && native.back() != '/')
        native += '/';
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        // The entry type saves a stat where the file system reports it.
        bool isFile = e->d_type == DT_REG;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st {};
            isFile = ::stat((native + name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
        }
        if (isFile)
            listed.push_back(name);
    }
    ::closedir(dir);

    // Each file is named readably in CP949. Where that text would not lead
    // back to the file (a name decomposed, in raw CP949 bytes, or with a
    // character CP949 lacks), the text is kept as an alias of the file's
    // own name, so that it is opened as it is on disk; texts that would
    // name two files are told apart by a number.
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/')
        prefix += '\\';
    std::unordered_set<std::string> taken;
    for (const std::string& name : listed)
        if (codec_.ToUtf8(codec_.FromUtf8(name)) == name)
            taken.insert(codec_.FromUtf8(name));
    for (const std::string& name : listed) {
        std::string text = ListedName(name);
        const std::string direct = PlainNativePath(prefix + text);
        if (direct == native + name) {
            names.push_back(std::move(text));
            continue;
        }
        text = text::FreeName(text, [&](const std::string& t) { return taken.count(t) > 0; });
        taken.insert(text);
        {
            std::lock_guard<std::mutex> lock(aliasMutex_);
            aliases_[PlainNativePath(prefix + text)] = native + name;
        }
        names.push_back(std::move(text));
    }
    return true;
}

std::string PosixFileSystem::CurrentDirectory() const {
    std::string buf(4096, '\0');
    if (!::getcwd(buf.data(), buf.size()))
        return std::string();
    buf.resize(std::strlen(buf.c_str()));
    return codec_.FromUtf8(buf);
}

bool PosixFileSystem::SetCurrentDirectory(const std::string& path) {
    return ::chdir(NativePath(path).c_str()) == 0;
}

std::time_t NtfsTimeToUnix(const unsigned char* le) {
    std::uint64_t t = 0;
    for (int i = 7; i >= 0; --i)
        t = (t << 8) | le[i];
    return static_cast<std::time_t>(t / 10000000ull) - 11644473600LL;
}

bool PosixFileDates::Created(const std::string& path, LocalTime& out) const {
    struct statx sx {};
    const std::string native = files_.NativePath(path);
    if (::statx(AT_FDCWD, native.c_str(), 0, STATX_BTIME | STATX_MTIME, &sx) != 0)
        return false;
    std::time_t when = 0;
    unsigned char crtime[8];
    if (sx.stx_mask & STATX_BTIME)
        when = static_cast<std::time_t>(sx.stx_btime.tv_sec);
    else if (::getxattr(native.c_str(), "system.ntfs_crtime", crtime, sizeof crtime) == 8)
        // ntfs-3g keeps no birth time but offers NTFS's creation time:
        // 100 ns units since 1601, little-endian.
        when = NtfsTimeToUnix(crtime);
    else if (sx.stx_mask & STATX_MTIME)
        when = static_cast<std::time_t>(sx.stx_mtime.tv_sec);
    else
        return false;
    std::tm tm{};
    if (!::localtime_r(&when, &tm))
        return false;
    out = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
    return true;
}

void PosixThreads::LowerCurrentThread() {
    // On Linux the nice value belongs to the thread; 10 is well below normal
    // without starving the walk on a busy machine. A failure changes nothing.
    const id_t self = static_cast<id_t>(::gettid());
    errno = 0;
    const int now = ::getpriority(PRIO_PROCESS, self);
    if (errno == 0 && now < 10)
        ::setpriority(PRIO_PROCESS, self, 10);
}

std::string PosixSystemInfo::ComputerName() const {
    char buf[256] = {};
    if (::gethostname(buf, 255) != 0)
        return std::string();
    buf[255] = '\0';
    return codec_.FromUtf8(buf);
}

std::string PosixSystemInfo::UserName() const {
    char buf[256] = {};
    if (::getlogin_r(buf, 255) == 0 && buf[0] != '\0')
        return codec_.FromUtf8(buf);
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
        return codec_.FromUtf8(std::string(pw->pw_name).substr(0, 255));
    return std::string();
}

ProcessorFacts ProcessorFromCpuInfo(const std::string& cpuinfo, const std::string& machine) {
    ProcessorFacts p;
    if (machine == "x86_64")
        p.architecture = 9; // AMD64
    else if (machine == "i386" || machine == "i486" || machine == "i586" || machine == "i686")
        p.architecture = 0;
    else if (machine == "aarch64")
        p.architecture = 12; // ARM64
    else if (machine.rfind("arm", 0) == 0)
        p.architecture = 5;
    else if (machine.rfind("mips", 0) == 0)
        p.architecture = 1;
    else if (machine.rfind("ppc", 0) == 0)
        p.architecture = 3;
    else
        p.architecture = 65535;

    // The first processor's family, model and stepping, as Windows folds them:
    // level is the family, revision is model * 256 + stepping.
    int family = -1, model = -1, stepping = -1;
    std::istringstream in(cpuinfo);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) {
            if (family >= 0)
                break; // end of the first processor's block
            continue;
        }
        std::string key = line.substr(0, colon);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
            key.pop_back();
        const char* value = line.c_str() + colon + 1;
        if (key == "cpu family" && family < 0)
            family = std::atoi(value);
        else if (key == "model" && model < 0)
            model = std::atoi(value);
        else if (key == "stepping" && stepping < 0)
            stepping = std::atoi(value);
    }
    if (family >= 0)
        p.level = static_cast<unsigned>(family);
    if (model >= 0 && stepping >= 0)
        p.revision = static_cast<unsigned>(((model & 0xFF) << 8) | (stepping & 0xFF));
    return p;
}

ProcessorFacts PosixSystemInfo::Processor() const {
    utsname u{};
    std::string machine;
    if (::uname(&u) == 0)
        machine = u.machine;
    std::ifstream f("/proc/cpuinfo");
    std::stringstream ss;
    ss << f.rdbuf();
    return ProcessorFromCpuInfo(ss.str(), machine);
}

LocalTime SystemClock::Now() const {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

} // namespace ostravion::posix
