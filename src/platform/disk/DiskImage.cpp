#include "platform/disk/DiskImage.h"

#include <blkid/blkid.h>
#include <libbde.h>
#include <libewf.h>
#include <libqcow.h>
#include <libvhdi.h>
#include <libvmdk.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <mutex>
#include <set>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostravion::disk {

namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;
// Partitions are counted in sectors of this many bytes by libblkid.
constexpr std::uint64_t kSector = 512;

// Reads `length` bytes at `offset` of bytes `size` long, in full, through
// `readAt` (a pread-like call: the bytes it read, 0 or less for none).
template <typename ReadAt>
bool ReadWhole(std::uint64_t size, std::uint64_t offset, void* into, std::size_t length,
               ReadAt&& readAt) {
    if (offset > size || length > size - offset)
        return false;
    auto* at = static_cast<std::uint8_t*>(into);
    while (length > 0) {
        const ssize_t n = readAt(at, length, offset);
        if (n <= 0)
            return false;
        at += n;
        offset += static_cast<std::uint64_t>(n);
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

// An open image file or block device.
class FileBytes final : public DiskBytes {
public:
    FileBytes(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    ~FileBytes() override { ::close(fd_); }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, void* into, std::size_t length) const override {
        return ReadWhole(size_, offset, into, length,
                         [this](void* at, std::size_t n, std::uint64_t from) {
                             ssize_t got;
                             do
                                 got = ::pread(fd_, at, n, static_cast<off_t>(from));
                             while (got < 0 && errno == EINTR);
                             return got;
                         });
    }
    int Descriptor() const override { return fd_; }
    // The name under which a library that opens files by name reads this
    // very file, and not whatever the path names by then.
    std::string Held() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
    std::uint64_t size_;
};

// Opens a plain file or a block device read-only, never through a link and
// never waiting on a pipe; null with the reason.
std::shared_ptr<FileBytes> OpenPlain(const std::string& path, std::string& why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = std::string("열 수 없습니다 (") + std::strerror(errno) + ")";
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISBLK(st.st_mode))) {
        ::close(fd);
        why = "폴더도, 디스크 이미지나 파티션도 아닙니다";
        return nullptr;
    }
    std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    if (S_ISBLK(st.st_mode) && ::ioctl(fd, BLKGETSIZE64, &size) != 0)
        size = 0;
    return std::make_shared<FileBytes>(fd, size);
}

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The last part of a name a container stores for a file beside it, which
// may be a Windows path ("C:\\VMs\\base.vhdx") or one of this system.
std::string LastPart(const std::string& name) {
    const std::size_t cut = name.find_last_of("\\/");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

// Bytes read through a library's read-at-offset, in full and one read at a
// time: the libraries keep one read position and caches per handle.
class LibraryBytes : public DiskBytes {
public:
    std::uint64_t Size() const final { return size_; }
    bool Read(std::uint64_t offset, void* into, std::size_t length) const final {
        std::lock_guard<std::mutex> lock(mutex_);
        return ReadWhole(size_, offset, into, length,
                         [this](void* at, std::size_t n, std::uint64_t from) {
                             return ReadAt(at, n, static_cast<off64_t>(from));
                         });
    }

protected:
    // The library's read: the bytes it read, 0 or less for none.
    virtual ssize_t ReadAt(void* into, std::size_t length, off64_t offset) const = 0;
    std::uint64_t size_ = 0;

private:
    mutable std::mutex mutex_;
};

// A disk image that may read through a parent beside it (a differencing
// VHD/VHDX, a qcow2 snapshot over its backing file), opened through the
// library `Lib` describes, the child first.
template <class Lib> class ChainBytes final : public LibraryBytes {
public:
    using File = typename Lib::File;
    ~ChainBytes() override {
        // The child first: it reads through its parent.
        for (File*& f : files_) {
            Lib::close(f, nullptr);
            Lib::free(&f, nullptr);
        }
    }
    static std::shared_ptr<ChainBytes> Open(std::shared_ptr<FileBytes> file,
                                            const std::string& path, std::string& why) {
        auto bytes = std::make_shared<ChainBytes>();
        std::string at = path;
        for (int depth = 0; file; ++depth) {
            File* f = nullptr;
            if (Lib::initialize(&f, nullptr) != 1)
                return nullptr;
            if (Lib::open(f, file->Held().c_str(), Lib::kRead, nullptr) != 1) {
                Lib::free(&f, nullptr);
                why = depth == 0 ? std::string(Lib::kDamaged) : Lib::ParentDamaged(at);
                return nullptr;
            }
            if (!bytes->files_.empty() && Lib::set_parent(bytes->files_.back(), f, nullptr) != 1) {
                Lib::close(f, nullptr);
                Lib::free(&f, nullptr);
                why = Lib::NotParent(at);
                return nullptr;
            }
            bytes->files_.push_back(f);
            bytes->held_.push_back(std::move(file));
            std::size_t size = 0;
            if (Lib::parent_name_size(f, &size, nullptr) != 1 || size <= 1)
                break;
            std::string parent(size, '\0');
            if (Lib::parent_name(f, reinterpret_cast<std::uint8_t*>(parent.data()), size,
                                 nullptr) != 1)
                break;
            parent.resize(std::strlen(parent.c_str()));
            if (depth >= 64) {
                why = Lib::kTooDeep;
                return nullptr;
            }
            at = Folder(at) + "/" + LastPart(parent);
            std::string whyParent;
            file = OpenPlain(at, whyParent);
            if (!file) {
                why = Lib::ParentMissing(LastPart(parent), whyParent);
                return nullptr;
            }
        }
        size64_t size = 0;
        if (Lib::media_size(bytes->files_.front(), &size, nullptr) != 1)
            return nullptr;
        bytes->size_ = size;
        return bytes;
    }
    ssize_t ReadAt(void* into, std::size_t length, off64_t offset) const override {
        return Lib::read(files_.front(), into, length, offset, nullptr);
    }

private:
    std::vector<File*> files_;
    std::vector<std::shared_ptr<FileBytes>> held_;
};

// VHD and VHDX, with the parents of a differencing disk beside it.
struct Vhdi {
    using File = libvhdi_file_t;
    static constexpr int kRead = LIBVHDI_OPEN_READ;
    static constexpr auto initialize = libvhdi_file_initialize;
    static constexpr auto open = libvhdi_file_open;
    static constexpr auto close = libvhdi_file_close;
    static constexpr auto free = libvhdi_file_free;
    static constexpr auto set_parent = libvhdi_file_set_parent_file;
    static constexpr auto parent_name_size = libvhdi_file_get_utf8_parent_filename_size;
    static constexpr auto parent_name = libvhdi_file_get_utf8_parent_filename;
    static constexpr auto media_size = libvhdi_file_get_media_size;
    static constexpr auto read = libvhdi_file_read_buffer_at_offset;
    static constexpr const char* kDamaged = "VHD/VHDX 이미지가 손상되어 읽을 수 없습니다";
    static constexpr const char* kTooDeep = "차이 디스크의 부모가 너무 깊게 이어집니다";
    static std::string ParentDamaged(const std::string& at) {
        return "부모 디스크 \"" + at + "\"가 손상되어 읽을 수 없습니다";
    }
    static std::string NotParent(const std::string& at) {
        return "부모 디스크 \"" + at + "\"가 차이 디스크의 부모가 아닙니다";
    }
    static std::string ParentMissing(const std::string& name, const std::string& why) {
        return "차이 디스크의 부모 디스크 \"" + name + "\"가 그 옆에 없습니다: " + why;
    }
};
using VhdiBytes = ChainBytes<Vhdi>;

// qcow2 (and qcow), with a backing file beside it.
struct Qcow {
    using File = libqcow_file_t;
    static constexpr int kRead = LIBQCOW_OPEN_READ;
    static constexpr auto initialize = libqcow_file_initialize;
    static constexpr auto open = libqcow_file_open;
    static constexpr auto close = libqcow_file_close;
    static constexpr auto free = libqcow_file_free;
    static constexpr auto set_parent = libqcow_file_set_parent_file;
    static constexpr auto parent_name_size = libqcow_file_get_utf8_backing_filename_size;
    static constexpr auto parent_name = libqcow_file_get_utf8_backing_filename;
    static constexpr auto media_size = libqcow_file_get_media_size;
    static constexpr auto read = libqcow_file_read_buffer_at_offset;
    static constexpr const char* kDamaged =
        "qcow 이미지가 손상되었거나 암호화되어 읽을 수 없습니다";
    static constexpr const char* kTooDeep = "기반 이미지가 너무 깊게 이어집니다";
    static std::string ParentDamaged(const std::string& at) {
        return "기반 이미지 \"" + at + "\"를 읽을 수 없습니다";
    }
    static std::string NotParent(const std::string& at) {
        return "기반 이미지 \"" + at + "\"를 쓸 수 없습니다";
    }
    static std::string ParentMissing(const std::string& name, const std::string& why) {
        return "기반 이미지 \"" + name + "\"가 그 옆에 없습니다: " + why;
    }
};
using QcowBytes = ChainBytes<Qcow>;

// VMDK: a sparse file with its own descriptor, or a descriptor with its
// extent files beside it.
class VmdkBytes final : public LibraryBytes {
public:
    ~VmdkBytes() override {
        if (handle_) {
            libvmdk_handle_close(handle_, nullptr);
            libvmdk_handle_free(&handle_, nullptr);
        }
        if (pool_)
            libbfio_pool_free(&pool_, nullptr);
    }
    static std::shared_ptr<VmdkBytes> Open(std::shared_ptr<FileBytes> file, const std::string& path,
                                           std::string& why, int depth = 0) {
        auto bytes = std::make_shared<VmdkBytes>();
        why = "VMDK 이미지가 손상되어 읽을 수 없습니다";
        if (libvmdk_handle_initialize(&bytes->handle_, nullptr) != 1)
            return nullptr;
        if (libvmdk_handle_open(bytes->handle_, file->Held().c_str(), LIBVMDK_OPEN_READ, nullptr) !=
            1) {
            libvmdk_handle_free(&bytes->handle_, nullptr);
            return nullptr;
        }
        int extents = 0;
        if (libvmdk_handle_get_number_of_extents(bytes->handle_, &extents, nullptr) != 1 ||
            extents <= 0 || libbfio_pool_initialize(&bytes->pool_, 0, 0, nullptr) != 1)
            return nullptr;
        char magic[4] = {};
        // A sparse file that carries its descriptor is its own one extent,
        // whatever name the descriptor remembers it by.
        const bool self =
            extents == 1 && file->Read(0, magic, 4) && std::memcmp(magic, "KDMV", 4) == 0;
        for (int i = 0; i < extents; ++i) {
            std::shared_ptr<const DiskBytes> extent = file;
            if (!self) {
                libvmdk_extent_descriptor_t* d = nullptr;
                std::size_t size = 0;
                std::string name;
                if (libvmdk_handle_get_extent_descriptor(bytes->handle_, i, &d, nullptr) == 1) {
                    if (libvmdk_extent_descriptor_get_utf8_filename_size(d, &size, nullptr) == 1 &&
                        size > 1) {
                        name.assign(size, '\0');
                        if (libvmdk_extent_descriptor_get_utf8_filename(
                                d, reinterpret_cast<std::uint8_t*>(name.data()), size, nullptr) !=
                            1)
                            name.clear();
                        name.resize(std::strlen(name.c_str()));
                    }
                    libvmdk_extent_descriptor_free(&d, nullptr);
                }
                if (name.empty())
                    return nullptr;
                std::string whyExtent;
                extent = OpenPlain(Folder(path) + "/" + LastPart(name), whyExtent);
                if (!extent) {
                    why = "VMDK의 데이터 파일 \"" + LastPart(name) +
                          "\"가 그 옆에 없습니다: " + whyExtent;
                    return nullptr;
                }
            }
            libbfio_handle_t* handle = NewBfioHandle(extent);
            int entry = 0;
            if (!handle || libbfio_pool_append_handle(bytes->pool_, &entry, handle,
                                                      LIBBFIO_OPEN_READ, nullptr) != 1) {
                if (handle)
                    libbfio_handle_free(&handle, nullptr);
                return nullptr;
            }
        }
        size64_t size = 0;
        if (libvmdk_handle_open_extent_data_files_file_io_pool(bytes->handle_, bytes->pool_,
                                                               nullptr) != 1 ||
            libvmdk_handle_get_media_size(bytes->handle_, &size, nullptr) != 1)
            return nullptr;
        bytes->size_ = size;
        why.clear();
        // A snapshot reads what it does not hold from its parent, beside it.
        std::size_t parentSize = 0;
        if (libvmdk_handle_get_utf8_parent_filename_size(bytes->handle_, &parentSize, nullptr) ==
                1 &&
            parentSize > 1) {
            std::string parent(parentSize, '\0');
            if (libvmdk_handle_get_utf8_parent_filename(
                    bytes->handle_, reinterpret_cast<std::uint8_t*>(parent.data()), parentSize,
                    nullptr) != 1)
                return nullptr;
            parent.resize(std::strlen(parent.c_str()));
            if (depth >= 64) {
                why = "VMDK 스냅숏의 부모가 너무 깊게 이어집니다";
                return nullptr;
            }
            const std::string at = Folder(path) + "/" + LastPart(parent);
            std::string whyParent;
            std::shared_ptr<FileBytes> parentFile = OpenPlain(at, whyParent);
            if (!parentFile) {
                why = "VMDK 스냅숏의 부모 디스크 \"" + LastPart(parent) +
                      "\"가 그 옆에 없습니다: " + whyParent;
                return nullptr;
            }
            bytes->parent_ = Open(parentFile, at, why, depth + 1);
            if (!bytes->parent_)
                return nullptr;
            if (libvmdk_handle_set_parent_handle(bytes->handle_, bytes->parent_->handle_,
                                                 nullptr) != 1) {
                why = "VMDK 부모 디스크 \"" + LastPart(parent) + "\"가 스냅숏의 부모가 아닙니다";
                return nullptr;
            }
        }
        return bytes;
    }
    ssize_t ReadAt(void* into, std::size_t length, off64_t offset) const override {
        return libvmdk_handle_read_buffer_at_offset(handle_, into, length, offset, nullptr);
    }

private:
    libvmdk_handle_t* handle_ = nullptr;
    libbfio_pool_t* pool_ = nullptr;
    std::shared_ptr<VmdkBytes> parent_; // closed after this handle, which reads through it
};

// EWF (E01 with its E02, E03 ... segments beside it).
class EwfBytes final : public LibraryBytes {
public:
    ~EwfBytes() override {
        if (handle_) {
            libewf_handle_close(handle_, nullptr);
            libewf_handle_free(&handle_, nullptr);
        }
    }
    static std::shared_ptr<EwfBytes> Open(const std::string& path, std::string& why) {
        auto bytes = std::make_shared<EwfBytes>();
        char** names = nullptr;
        int count = 0;
        if (libewf_glob(path.c_str(), path.size(), LIBEWF_FORMAT_UNKNOWN, &names, &count,
                        nullptr) != 1 ||
            count <= 0) {
            why = "EWF 이미지의 조각 파일을 찾을 수 없습니다";
            return nullptr;
        }
        std::vector<std::string> held;
        for (int i = 0; i < count; ++i) {
            std::string whySegment;
            auto segment = OpenPlain(names[i], whySegment);
            if (!segment) {
                why = "EWF 이미지의 조각 \"" + LastPart(names[i]) +
                      "\"를 읽을 수 없습니다: " + whySegment;
                libewf_glob_free(names, count, nullptr);
                return nullptr;
            }
            held.push_back(segment->Held());
            bytes->segments_.push_back(std::move(segment));
        }
        libewf_glob_free(names, count, nullptr);
        std::vector<char*> heldNames;
        for (std::string& h : held)
            heldNames.push_back(h.data());
        size64_t size = 0;
        if (libewf_handle_initialize(&bytes->handle_, nullptr) != 1 ||
            libewf_handle_open(bytes->handle_, heldNames.data(), count, LIBEWF_OPEN_READ,
                               nullptr) != 1 ||
            libewf_handle_get_media_size(bytes->handle_, &size, nullptr) != 1) {
            why = "EWF 이미지가 손상되었거나 조각이 모자라 읽을 수 없습니다";
            return nullptr;
        }
        bytes->size_ = size;
        return bytes;
    }
    ssize_t ReadAt(void* into, std::size_t length, off64_t offset) const override {
        return libewf_handle_read_random(handle_, into, length, offset, nullptr);
    }

private:
    libewf_handle_t* handle_ = nullptr;
    std::vector<std::shared_ptr<FileBytes>> segments_;
};

// A BitLocker volume, read decrypted.
class BdeBytes final : public LibraryBytes {
public:
    ~BdeBytes() override {
        if (volume_) {
            libbde_volume_close(volume_, nullptr);
            libbde_volume_free(&volume_, nullptr);
        }
    }
    static std::shared_ptr<BdeBytes> Open(std::shared_ptr<const DiskBytes> encrypted,
                                          const std::string& password, std::string& why) {
        auto bytes = std::make_shared<BdeBytes>();
        bytes->io_ = std::make_unique<BfioHandle>(NewBfioHandle(std::move(encrypted)));
        if (!bytes->io_->handle || libbde_volume_initialize(&bytes->volume_, nullptr) != 1)
            return nullptr;
        if (libbde_volume_set_utf8_recovery_password(
                bytes->volume_, reinterpret_cast<const std::uint8_t*>(password.data()),
                password.size(), nullptr) != 1) {
            why = "BitLocker 복구 암호의 꼴이 틀립니다 (6자리 숫자 8묶음, 48자리)";
            return nullptr;
        }
        if (libbde_volume_open_file_io_handle(bytes->volume_, bytes->io_->handle, LIBBDE_OPEN_READ,
                                              nullptr) != 1) {
            libbde_volume_free(&bytes->volume_, nullptr);
            why = "BitLocker 볼륨이 손상되었거나 복구 암호가 맞지 않습니다";
            return nullptr;
        }
        size64_t size = 0;
        if (libbde_volume_is_locked(bytes->volume_, nullptr) != 0) {
            why = "BitLocker 복구 암호가 맞지 않습니다";
            return nullptr;
        }
        if (libbde_volume_get_size(bytes->volume_, &size, nullptr) != 1) {
            why = "BitLocker 볼륨의 크기를 읽을 수 없습니다";
            return nullptr;
        }
        bytes->size_ = size;
        return bytes;
    }
    ssize_t ReadAt(void* into, std::size_t length, off64_t offset) const override {
        return libbde_volume_read_buffer_at_offset(volume_, into, length, offset, nullptr);
    }

private:
    std::unique_ptr<BfioHandle> io_; // freed after the volume is closed
    libbde_volume_t* volume_ = nullptr;
};

enum class Kind { Ntfs, BitLocker, Other };

Kind KindOf(const DiskBytes& bytes) {
    unsigned char boot[16] = {};
    if (!bytes.Read(0, boot, sizeof boot))
        return Kind::Other;
    if (std::memcmp(boot + 3, "NTFS    ", 8) == 0)
        return Kind::Ntfs;
    // Windows Vista and later write "-FVE-FS-" where NTFS writes its name.
    if (std::memcmp(boot + 3, "-FVE-FS-", 8) == 0)
        return Kind::BitLocker;
    return Kind::Other;
}

// One partition of a partition table.
struct Partition {
    int number = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    bool lettered = true;  // Windows gives it a drive letter
    bool logical = false;  // a logical partition of an MBR extended one
    bool extended = false; // an MBR extended partition: logical ones, no volume
};

bool NoLetter(blkid_partition p) {
    const int type = blkid_partition_get_type(p);
    const char* guid = blkid_partition_get_type_string(p);
    const char* table = blkid_parttable_get_type(blkid_partition_get_table(p));
    if (table && std::strcmp(table, "gpt") == 0) {
        // Windows' recovery partition, and the attribute bits "hidden" (62)
        // and "no drive letter" (63).
        const unsigned long long flags = blkid_partition_get_flags(p);
        return (guid && strcasecmp(guid, "de94bba4-06d1-4d40-a16a-bfd50179d6ac") == 0) ||
               (flags & (3ull << 62)) != 0;
    }
    // Hidden NTFS and the recovery partition of MBR disks.
    return type == 0x17 || type == 0x27;
}

// The partitions libblkid finds on a file it reads; false when it finds no
// partition table.
bool Probe(int fd, std::uint64_t size, std::vector<Partition>& out) {
    out.clear();
    blkid_probe pr = blkid_new_probe();
    if (!pr)
        return false;
    bool found = false;
    if (blkid_probe_set_device(pr, fd, 0, static_cast<blkid_loff_t>(size)) == 0) {
        blkid_probe_enable_superblocks(pr, 0);
        blkid_probe_enable_partitions(pr, 1);
        blkid_probe_set_partitions_flags(pr, BLKID_PARTS_ENTRY_DETAILS);
        blkid_partlist list = blkid_probe_get_partitions(pr);
        if (list && blkid_partlist_get_table(list)) {
            found = true;
            const int n = blkid_partlist_numof_partitions(list);
            for (int i = 0; i < n; ++i) {
                blkid_partition p = blkid_partlist_get_partition(list, i);
                const blkid_loff_t start = blkid_partition_get_start(p);
                const blkid_loff_t length = blkid_partition_get_size(p);
                if (!p || start < 0 || length <= 0)
                    continue;
                Partition part;
                part.number = blkid_partition_get_partno(p);
                part.offset = static_cast<std::uint64_t>(start) * kSector;
                part.size = static_cast<std::uint64_t>(length) * kSector;
                part.extended = blkid_partition_is_extended(p) == 1;
                part.lettered = !NoLetter(p) && !part.extended;
                part.logical = blkid_partition_is_logical(p) == 1;
                out.push_back(part);
            }
        }
    }
    blkid_free_probe(pr);
    return found;
}

// The partition table of a disk. libblkid reads from a file: the bytes of
// a disk that is a file are read in place; those of a container go into a
// sparse memory file, as far as the tables need them (the first and last
// MiB, where MBR and GPT lie, then the start of each extended partition and
// the MiB after each logical one, where the next link of the chain lies).
bool PartitionsOf(const DiskBytes& disk, std::vector<Partition>& out) {
    const std::uint64_t size = disk.Size();
    if (disk.Descriptor() >= 0) {
        if (!Probe(disk.Descriptor(), size, out))
            return false;
    } else {
        const int fd = ::memfd_create("ostravion-disk", MFD_CLOEXEC);
        if (fd < 0)
            return false;
        std::set<std::uint64_t> copied;
        std::vector<char> buffer(kMiB);
        const auto copy = [&](std::uint64_t at) {
            at -= at % kSector;
            if (at >= size || !copied.insert(at).second)
                return false;
            const std::size_t n =
                static_cast<std::size_t>(std::min<std::uint64_t>(kMiB, size - at));
            return disk.Read(at, buffer.data(), n) &&
                   ::pwrite(fd, buffer.data(), n, static_cast<off_t>(at)) ==
                       static_cast<ssize_t>(n);
        };
        bool found = false;
        if (::ftruncate(fd, static_cast<off_t>(size)) == 0) {
            copy(0);
            copy(size > kMiB ? size - kMiB : 0);
            for (int round = 0; round < 128; ++round) {
                found = Probe(fd, size, out);
                bool more = false;
                for (const Partition& p : out) {
                    if (p.extended)
                        more |= copy(p.offset);
                    else if (p.logical)
                        more |= copy(p.offset + p.size);
                }
                if (!found || !more)
                    break;
            }
        }
        ::close(fd);
        if (!found)
            return false;
    }
    std::erase_if(out, [](const Partition& p) { return p.extended; });
    return true;
}

// Whether Windows/System32/config lies on a volume, in any letter case.
bool HoldsWindows(const NtfsVolume& ntfs) {
    std::string at;
    for (const char* step : {"windows", "system32", "config"}) {
        std::vector<NtfsEntry> entries;
        ntfs.List(at, entries);
        std::string next;
        for (const NtfsEntry& e : entries)
            if ((e.attributes & 0x10) && strcasecmp(e.name.c_str(), step) == 0)
                next = at.empty() ? e.name : at + "/" + e.name;
        if (next.empty())
            return false;
        at = next;
    }
    return true;
}

const char* const kLocked =
    "BitLocker로 암호화된 볼륨입니다. --recovery-password 로 48자리 복구 암호를 주십시오";

// The NTFS volume of one partition or whole disk; null with the reason.
std::shared_ptr<NtfsVolume> VolumeOf(std::shared_ptr<const DiskBytes> bytes,
                                     const DiskChoice& choice, Kind kind, std::string& why) {
    if (kind == Kind::BitLocker) {
        if (choice.recoveryPassword.empty()) {
            why = kLocked;
            return nullptr;
        }
        std::shared_ptr<BdeBytes> plain = BdeBytes::Open(bytes, choice.recoveryPassword, why);
        if (!plain) {
            if (why.empty())
                why = "BitLocker 볼륨을 읽을 수 없습니다";
            return nullptr;
        }
        if (KindOf(*plain) != Kind::Ntfs) {
            why = "BitLocker 볼륨 안이 NTFS가 아닙니다";
            return nullptr;
        }
        bytes = plain;
    }
    return NtfsVolume::Open(std::move(bytes), why);
}

} // namespace

bool OpenDiskBytes(std::shared_ptr<const DiskBytes> disk, const DiskChoice& choice,
                   std::vector<DiskVolume>& out, std::string& why) {
    out.clear();
    const Kind whole = KindOf(*disk);
    if (whole != Kind::Other) {
        if (choice.partition != 0) {
            why = "파티션 표가 없는 볼륨입니다 (@번호 없이 주십시오)";
            return false;
        }
        std::shared_ptr<NtfsVolume> ntfs = VolumeOf(disk, choice, whole, why);
        if (!ntfs)
            return false;
        out.push_back({0, HoldsWindows(*ntfs), std::move(ntfs)});
        return true;
    }
    std::vector<Partition> parts;
    if (!PartitionsOf(*disk, parts)) {
        why = "NTFS 볼륨이 아닙니다 (파티션 표(MBR, GPT)가 있는 디스크도, 알아볼 수 있는 디스크 "
              "이미지도 아닙니다)";
        return false;
    }
    std::sort(parts.begin(), parts.end(),
              [](const Partition& a, const Partition& b) { return a.number < b.number; });
    for (const Partition& p : parts) {
        if (choice.partition != 0 ? p.number != choice.partition : !p.lettered)
            continue;
        std::shared_ptr<const DiskBytes> bytes = Window(disk, p.offset, p.size);
        // A partition the disk's size cuts short is read as far as it goes:
        // the volume's own size then tells whether it is whole.
        const Kind kind = KindOf(*bytes);
        if (kind == Kind::Other) {
            if (choice.partition != 0) {
                why = "파티션 " + std::to_string(p.number) + "은(는) NTFS가 아닙니다";
                return false;
            }
            continue;
        }
        std::string whyVolume;
        std::shared_ptr<NtfsVolume> ntfs = VolumeOf(bytes, choice, kind, whyVolume);
        if (!ntfs) {
            why = "파티션 " + std::to_string(p.number) + ": " + whyVolume;
            if (kind == Kind::BitLocker && choice.recoveryPassword.empty() && choice.partition == 0)
                why += " (다른 파티션만 검사하려면 디스크 이름 뒤에 @번호를 붙이십시오)";
            out.clear();
            return false;
        }
        out.push_back({p.number, HoldsWindows(*ntfs), std::move(ntfs)});
    }
    if (out.empty()) {
        why = choice.partition != 0
                  ? "파티션 " + std::to_string(choice.partition) + "이(가) 없습니다"
                  : "NTFS 파티션이 없습니다";
        return false;
    }
    // Drive C: is the partition Windows runs from.
    const auto system =
        std::find_if(out.begin(), out.end(), [](const DiskVolume& v) { return v.windows; });
    if (system != out.end())
        std::rotate(out.begin(), system, system + 1);
    return true;
}

bool OpenDisk(const std::string& path, const DiskChoice& choice, std::vector<DiskVolume>& out,
              std::string& why) {
    out.clear();
    std::shared_ptr<FileBytes> file = OpenPlain(path, why);
    if (!file)
        return false;
    const std::string held = file->Held();
    std::shared_ptr<const DiskBytes> disk;
    // The container by its content, whatever the file is called.
    if (libvhdi_check_file_signature(held.c_str(), nullptr) == 1)
        disk = VhdiBytes::Open(file, path, why);
    else if (libvmdk_check_file_signature(held.c_str(), nullptr) == 1)
        disk = VmdkBytes::Open(file, path, why);
    else if (libqcow_check_file_signature(held.c_str(), nullptr) == 1)
        disk = QcowBytes::Open(file, path, why);
    else if (libewf_check_file_signature(held.c_str(), nullptr) == 1)
        disk = EwfBytes::Open(path, why);
    else if (KindOf(*file) == Kind::Ntfs && choice.partition == 0) {
        // A bare NTFS volume, opened as the walk has always read one.
        file.reset();
        std::unique_ptr<NtfsVolume> ntfs = NtfsVolume::Open(path, why);
        if (!ntfs)
            return false;
        std::shared_ptr<NtfsVolume> shared = std::move(ntfs);
        out.push_back({0, HoldsWindows(*shared), std::move(shared)});
        return true;
    } else
        disk = file;
    if (!disk) {
        if (why.empty())
            why = "디스크 이미지가 손상되어 읽을 수 없습니다";
        return false;
    }
    return OpenDiskBytes(std::move(disk), choice, out, why);
}

} // namespace ostravion::disk
