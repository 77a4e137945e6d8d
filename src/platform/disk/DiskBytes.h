// The bytes of a disk, a partition or a decrypted volume, read at offsets:
// the one interface through which the layers of a disk image (container,
// partition table, BitLocker, NTFS) hand their bytes to the next.
#pragma once

#include <libbfio.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ostravion::disk {

class DiskBytes {
public:
    virtual ~DiskBytes() = default;
    virtual std::uint64_t Size() const = 0;
    // Exactly `length` bytes from `offset`; false when any of them cannot
    // be read or lies beyond the end.
    virtual bool Read(std::uint64_t offset, void* into, std::size_t length) const = 0;
    // The open file these bytes are, whole and unchanged; -1 when they are
    // made by a library or are a part of a file.
    virtual int Descriptor() const { return -1; }
};

// A part of other bytes: a partition of a disk.
std::shared_ptr<const DiskBytes> Window(std::shared_ptr<const DiskBytes> whole,
                                        std::uint64_t offset, std::uint64_t size);

// A read-only libbfio handle over the bytes, for the libraries that read
// through one (NTFS, BitLocker, VMDK extents). It keeps the bytes alive
// until it is freed. Null when the library cannot make one.
libbfio_handle_t* NewBfioHandle(std::shared_ptr<const DiskBytes> bytes);

// Frees a handle of NewBfioHandle when it goes out of scope.
struct BfioHandle {
    libbfio_handle_t* handle = nullptr;
    explicit BfioHandle(libbfio_handle_t* h = nullptr) : handle(h) {}
    ~BfioHandle() {
        if (handle)
            libbfio_handle_free(&handle, nullptr);
    }
    BfioHandle(const BfioHandle&) = delete;
    BfioHandle& operator=(const BfioHandle&) = delete;
};

} // namespace ostravion::disk
