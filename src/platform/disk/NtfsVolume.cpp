#include "platform/disk/NtfsVolume.h"

#include "platform/disk/DiskBytes.h"
#include "platform/disk/MftTree.h"

#include <libfsntfs.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <mutex>
#include <new>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace ostravion::disk {

namespace {

constexpr unsigned kDirectory = 0x10;
constexpr unsigned kNormal = 0x80;
constexpr unsigned kReparsePoint = 0x400;
// Records below this number are the volume's own metadata files ($MFT,
// $Bitmap, $Extend ...), which Windows leaves out of every listing.
constexpr std::uint64_t kFirstUserRecord = 16;
constexpr std::uint64_t kRootRecord = 5;

void Forget(libfsntfs_error_t*& error) {
    if (error)
        libfsntfs_error_free(&error);
}

// A file entry that is freed when it goes out of scope.
class Entry {
public:
    Entry() = default;
    ~Entry() { Reset(); }
    Entry(Entry&& other) noexcept : e_(other.e_) { other.e_ = nullptr; }
    Entry& operator=(Entry&& other) noexcept {
        if (this != &other) {
            Reset();
            e_ = other.e_;
            other.e_ = nullptr;
        }
        return *this;
    }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
    libfsntfs_file_entry_t** Out() {
        Reset();
        return &e_;
    }
    libfsntfs_file_entry_t* get() const { return e_; }
    explicit operator bool() const { return e_ != nullptr; }
    void Reset() {
        if (e_)
            libfsntfs_file_entry_free(&e_, nullptr);
        e_ = nullptr;
    }

private:
    libfsntfs_file_entry_t* e_ = nullptr;
};

bool IsFolder(libfsntfs_file_entry_t* e) {
    return libfsntfs_file_entry_has_directory_entries_index(e, nullptr) == 1;
}

unsigned Attributes(libfsntfs_file_entry_t* e) {
    std::uint32_t flags = 0;
    if (libfsntfs_file_entry_get_file_attribute_flags(e, &flags, nullptr) != 1)
        flags = 0;
    // The file search reports the attributes' low word; the directory bit
    // comes from the folder's index, not from the stored flags.
    unsigned a = flags & 0xFFFFu & ~kDirectory;
    if (IsFolder(e))
        a |= kDirectory;
    return a == 0 ? kNormal : a;
}

bool Describe(libfsntfs_file_entry_t* e, NtfsEntry& out) {
    libfsntfs_error_t* error = nullptr;
    std::size_t size = 0;
    if (libfsntfs_file_entry_get_utf8_name_size(e, &size, &error) != 1 || size == 0) {
        Forget(error);
        return false;
    }
    std::string name(size, '\0');
    if (libfsntfs_file_entry_get_utf8_name(e, reinterpret_cast<std::uint8_t*>(name.data()), size,
                                           &error) != 1) {
        Forget(error);
        return false;
    }
    name.resize(std::strlen(name.c_str()));
    if (name.empty())
        return false;
    std::uint64_t reference = 0;
    if (libfsntfs_file_entry_get_file_reference(e, &reference, nullptr) != 1)
        return false;
    // The index names the entry, but its record must be whole too: a record
    // that is empty or damaged would otherwise pass for a file without data.
    if (libfsntfs_file_entry_is_empty(e, nullptr) != 0 ||
        libfsntfs_file_entry_is_corrupted(e, nullptr) != 0 ||
        libfsntfs_file_entry_has_directory_entries_index(e, nullptr) < 0)
        return false;
    out.name = std::move(name);
    out.record = reference & 0xFFFFFFFFFFFFull;
    out.attributes = Attributes(e);
    size64_t dataSize = 0;
    out.size = libfsntfs_file_entry_get_size(e, &dataSize, nullptr) == 1 ? dataSize : 0;
    std::uint64_t created = 0;
    out.created = libfsntfs_file_entry_get_creation_time(e, &created, nullptr) == 1 ? created : 0;
    return true;
}

// The bytes the volume spans by its boot sector (bytes per sector at 0x0B,
// sectors at 0x28); 0 when the sector names no NTFS volume.
std::uint64_t BootSectorBytes(const unsigned char (&boot)[512]) {
    if (std::memcmp(boot + 3, "NTFS    ", 8) != 0)
        return 0;
    const std::uint64_t perSector = boot[0x0B] | (unsigned(boot[0x0C]) << 8);
    std::uint64_t sectors = 0;
    for (int i = 7; i >= 0; --i)
        sectors = (sectors << 8) | boot[0x28 + i];
    if (perSector == 0)
        return 0; // no volume to compare: the signature check refuses it
    if (sectors > UINT64_MAX / perSector)
        return UINT64_MAX;
    return sectors * perSector;
}

std::uint64_t BootSectorBytes(int fd) {
    unsigned char boot[512];
    if (::pread(fd, boot, sizeof boot, 0) != static_cast<ssize_t>(sizeof boot))
        return 0;
    return BootSectorBytes(boot);
}

// The size of the image file or block device.
std::uint64_t SourceBytes(int fd, const struct stat& st) {
    if (S_ISREG(st.st_mode))
        return static_cast<std::uint64_t>(st.st_size);
    std::uint64_t bytes = 0;
    return ::ioctl(fd, BLKGETSIZE64, &bytes) == 0 ? bytes : UINT64_MAX;
}

} // namespace

struct NtfsVolume::Impl {
    int fd = -1;
    libfsntfs_volume_t* volume = nullptr;
    // The libbfio handle the volume reads through, when it is opened from
    // bytes; freed after the volume is closed.
    std::shared_ptr<BfioHandle> io;
    // The size of the bytes a volume opened from bytes lies in: what its MFT
    // can at most fill.
    std::uint64_t ioBytes = UINT64_MAX;
    mutable std::mutex mutex;
    // Folders met in listings, by path: opened again by record number.
    struct Folder {
        std::uint64_t record = 0;
        unsigned attributes = 0;
    };
    mutable std::unordered_map<std::string, Folder> folders;
    // Every folder's names, read once from the MFT; unused (empty) when the
    // MFT could not be read whole, and the folders' indexes are read instead.
    mutable MftTree tree;
    mutable bool treeTried = false;

    ~Impl() {
        if (volume) {
            libfsntfs_volume_close(volume, nullptr);
            libfsntfs_volume_free(&volume, nullptr);
        }
        if (fd >= 0)
            ::close(fd);
    }

    // The entry of a path (mutex held); false when there is none.
    bool Resolve(const std::string& path, Entry& out) const {
        libfsntfs_error_t* error = nullptr;
        if (path.empty()) {
            const bool ok = libfsntfs_volume_get_root_directory(volume, out.Out(), &error) == 1;
            Forget(error);
            return ok && out;
        }
        const auto known = folders.find(path);
        if (known != folders.end()) {
            if (libfsntfs_volume_get_file_entry_by_index(volume, known->second.record, out.Out(),
                                                         &error) == 1 &&
                out)
                return true;
            Forget(error);
        }
        const std::size_t slash = path.rfind('/');
        const std::string parentPath = slash == std::string::npos ? "" : path.substr(0, slash);
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        Entry parent;
        if (name.empty() || !Resolve(parentPath, parent) || !IsFolder(parent.get()))
            return false;
        const int found = libfsntfs_file_entry_get_sub_file_entry_by_utf8_name(
            parent.get(), reinterpret_cast<const std::uint8_t*>(name.data()), name.size(),
            out.Out(), &error);
        Forget(error);
        return found == 1 && out;
    }

    // Makes the library's volume and opens it with `open` (by name or
    // through a handle), then checks that its root folder can be read.
    template <class Open> bool OpenVolume(Open open, std::string& why) {
        libfsntfs_error_t* error = nullptr;
        if (libfsntfs_volume_initialize(&volume, &error) != 1) {
            Forget(error);
            why = "NTFS 볼륨을 읽을 수 없습니다";
            return false;
        }
        if (open(&error) != 1) {
            Forget(error);
            libfsntfs_volume_free(&volume, nullptr);
            volume = nullptr;
            why = "NTFS 볼륨이 손상되어 읽을 수 없습니다";
            return false;
        }
        Entry root;
        if (!Resolve("", root) || !IsFolder(root.get())) {
            why = "NTFS 볼륨이 손상되어 최상위 폴더를 읽을 수 없습니다";
            return false;
        }
        return true;
    }
};

NtfsVolume::NtfsVolume(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
NtfsVolume::~NtfsVolume() = default;

std::unique_ptr<NtfsVolume> NtfsVolume::Open(const std::string& path, std::string& why) {
    auto impl = std::make_unique<Impl>();
    // Never through a link, never waiting on a pipe: only a plain file or a
    // block device is read.
    impl->fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (impl->fd < 0) {
        why = std::string("열 수 없습니다 (") + std::strerror(errno) + ")";
        return nullptr;
    }
    struct stat st {};
    if (::fstat(impl->fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISBLK(st.st_mode))) {
        why = "폴더도, 디스크 이미지나 파티션도 아닙니다";
        return nullptr;
    }
    const std::uint64_t volumeBytes = BootSectorBytes(impl->fd);
    const std::uint64_t sourceBytes = SourceBytes(impl->fd, st);
    // Checked after the signature below would be too late for a cut that
    // leaves the signature: the library reads such an image as far as it goes.
    if (volumeBytes != 0 && sourceBytes < volumeBytes) {
        why = "잘린 디스크 이미지입니다: 부트 섹터의 볼륨은 " + std::to_string(volumeBytes) +
              "바이트인데 이미지는 " + std::to_string(sourceBytes) + "바이트입니다";
        return nullptr;
    }
    // The library opens the file by name: the one this process holds open.
    const std::string held = "/proc/self/fd/" + std::to_string(impl->fd);
    libfsntfs_error_t* error = nullptr;
    if (libfsntfs_check_volume_signature(held.c_str(), &error) != 1) {
        Forget(error);
        why = "NTFS 볼륨이 아닙니다 (다른 파일 시스템이거나 파티션이 아닌 디스크 전체)";
        return nullptr;
    }
    if (!impl->OpenVolume(
            [&](libfsntfs_error_t** e) {
                return libfsntfs_volume_open(impl->volume, held.c_str(), LIBFSNTFS_OPEN_READ, e);
            },
            why))
        return nullptr;
    return std::unique_ptr<NtfsVolume>(new NtfsVolume(std::move(impl)));
}

std::unique_ptr<NtfsVolume> NtfsVolume::Open(std::shared_ptr<const DiskBytes> bytes,
                                             std::string& why) {
    auto impl = std::make_unique<Impl>();
    unsigned char boot[512];
    if (!bytes->Read(0, boot, sizeof boot) || std::memcmp(boot + 3, "NTFS    ", 8) != 0) {
        why = "NTFS 볼륨이 아닙니다";
        return nullptr;
    }
    const std::uint64_t volumeBytes = BootSectorBytes(boot);
    if (volumeBytes != 0 && bytes->Size() < volumeBytes) {
        why = "잘린 볼륨입니다: 부트 섹터의 볼륨은 " + std::to_string(volumeBytes) +
              "바이트인데 읽을 수 있는 것은 " + std::to_string(bytes->Size()) + "바이트입니다";
        return nullptr;
    }
    impl->ioBytes = bytes->Size();
    impl->io = std::make_shared<BfioHandle>(NewBfioHandle(std::move(bytes)));
    libfsntfs_error_t* error = nullptr;
    if (!impl->io->handle ||
        libfsntfs_check_volume_signature_file_io_handle(impl->io->handle, &error) != 1) {
        Forget(error);
        why = "NTFS 볼륨이 아닙니다";
        return nullptr;
    }
    if (!impl->OpenVolume(
            [&](libfsntfs_error_t** e) {
                return libfsntfs_volume_open_file_io_handle(impl->volume, impl->io->handle,
                                                            LIBFSNTFS_OPEN_READ, e);
            },
            why))
        return nullptr;
    return std::unique_ptr<NtfsVolume>(new NtfsVolume(std::move(impl)));
}

NtfsVolume::Listing NtfsVolume::List(const std::string& folder, std::vector<NtfsEntry>& out) const {
    out.clear();
    std::lock_guard<std::mutex> lock(impl_->mutex);
    if (!impl_->treeTried) {
        impl_->treeTried = true;
        // An MFT cannot hold more records than its disk has room for: a
        // damaged one that claims more is not read into memory.
        std::uint64_t limit = impl_->ioBytes;
        struct stat st {};
        if (impl_->fd >= 0 && ::fstat(impl_->fd, &st) == 0)
            limit = SourceBytes(impl_->fd, st);
        try {
            if (!ReadMftTree(impl_->volume, limit, impl_->tree))
                impl_->tree = MftTree();
        } catch (const std::bad_alloc&) {
            impl_->tree = MftTree();
        }
    }
    if (!impl_->tree.Empty()) {
        // A folder is found by the listing of its parent, which the walk
        // has always listed before.
        const auto known = impl_->folders.find(folder);
        if (folder.empty() || known != impl_->folders.end()) {
            const std::uint64_t record = folder.empty() ? kRootRecord : known->second.record;
            if (!folder.empty() && (known->second.attributes & kReparsePoint))
                return Listing::Reparse;
            const std::string prefix = folder.empty() ? folder : folder + "/";
            impl_->tree.Names(record, out);
            for (const NtfsEntry& e : out)
                if (e.attributes & kDirectory)
                    impl_->folders[prefix + e.name] = {e.record, e.attributes};
            return Listing::Listed;
        }
    }
    Entry dir;
    if (!impl_->Resolve(folder, dir) || !IsFolder(dir.get()))
        return Listing::Failed;
    if (Attributes(dir.get()) & kReparsePoint)
        return Listing::Reparse;
    libfsntfs_error_t* error = nullptr;
    int count = 0;
    if (libfsntfs_file_entry_get_number_of_sub_file_entries(dir.get(), &count, &error) != 1) {
        Forget(error);
        return Listing::Failed;
    }
    bool damaged = false;
    out.reserve(static_cast<std::size_t>(count));
    const std::string prefix = folder.empty() ? folder : folder + "/";
    Entry sub;
    for (int i = 0; i < count; ++i) {
        // A damaged record is left out, and said; the rest of the folder is
        // still listed.
        if (libfsntfs_file_entry_get_sub_file_entry_by_index(dir.get(), i, sub.Out(), &error) !=
                1 ||
            !sub) {
            Forget(error);
            damaged = true;
            continue;
        }
        NtfsEntry e;
        if (!Describe(sub.get(), e)) {
            damaged = true;
            continue;
        }
        if (e.record < kFirstUserRecord)
            continue;
        if (e.attributes & kDirectory)
            impl_->folders[prefix + e.name] = {e.record, e.attributes};
        out.push_back(std::move(e));
    }
    return damaged ? Listing::Partial : Listing::Listed;
}

void NtfsVolume::ListFromIndexes() {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->treeTried = true;
    impl_->tree = MftTree();
}

bool NtfsVolume::Stat(const std::string& path, NtfsEntry& out) const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    Entry e;
    return impl_->Resolve(path, e) && Describe(e.get(), out);
}

namespace {
class NtfsFileSource final : public pe::ByteSource {
public:
    NtfsFileSource(std::mutex& mutex, Entry entry, std::uint64_t size)
        : mutex_(mutex), entry_(std::move(entry)), size_(size) {}
    std::uint64_t Size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const override {
        out.clear();
        if (offset > size_ || length > size_ - offset)
            return false;
        out.resize(length);
        std::lock_guard<std::mutex> lock(mutex_);
        std::size_t done = 0;
        while (done < length) {
            libfsntfs_error_t* error = nullptr;
            const ssize_t n = libfsntfs_file_entry_read_buffer_at_offset(
                entry_.get(), out.data() + done, length - done, static_cast<off64_t>(offset + done),
                &error);
            Forget(error);
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    std::mutex& mutex_;
    Entry entry_;
    std::uint64_t size_;
};
} // namespace

std::unique_ptr<pe::ByteSource> NtfsVolume::OpenFile(const std::string& path) const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    Entry e;
    if (!impl_->Resolve(path, e) || IsFolder(e.get()))
        return nullptr;
    size64_t size = 0;
    if (libfsntfs_file_entry_get_size(e.get(), &size, nullptr) != 1)
        return nullptr;
    return std::make_unique<NtfsFileSource>(impl_->mutex, std::move(e), size);
}

bool NtfsVolume::ReadWhole(const std::string& path, std::string& bytes, std::uint64_t limit) const {
    bytes.clear();
    const std::unique_ptr<pe::ByteSource> file = OpenFile(path);
    if (!file || file->Size() > limit)
        return false;
    return file->ReadAt(0, static_cast<std::size_t>(file->Size()), bytes);
}

} // namespace ostravion::disk
