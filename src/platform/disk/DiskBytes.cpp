#include "platform/disk/DiskBytes.h"

#include <cstdio>
#include <cstring>

namespace ostravion::disk {

namespace {

class WindowBytes final : public DiskBytes {
public:
    WindowBytes(std::shared_ptr<const DiskBytes> whole, std::uint64_t offset, std::uint64_t size)
        : whole_(std::move(whole)), offset_(offset), size_(size) {}
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, void* into, std::size_t length) const override {
        if (offset > size_ || length > size_ - offset)
            return false;
        return whole_->Read(offset_ + offset, into, length);
    }

private:
    std::shared_ptr<const DiskBytes> whole_;
    std::uint64_t offset_;
    std::uint64_t size_;
};

// What a libbfio handle of ours holds: the bytes and its read position.
struct BfioState {
    std::shared_ptr<const DiskBytes> bytes;
    std::uint64_t position = 0;
    bool open = false;
};

BfioState* State(intptr_t* io) {
    return reinterpret_cast<BfioState*>(io);
}

int FreeState(intptr_t** io, libbfio_error_t**) {
    if (io && *io) {
        delete State(*io);
        *io = nullptr;
    }
    return 1;
}

int CloneState(intptr_t** to, intptr_t* from, libbfio_error_t**) {
    if (!to || *to)
        return -1;
    if (!from) {
        *to = nullptr;
        return 1;
    }
    auto* copy = new BfioState{State(from)->bytes, 0, false};
    *to = reinterpret_cast<intptr_t*>(copy);
    return 1;
}

int OpenState(intptr_t* io, int flags, libbfio_error_t**) {
    // Read-only: nothing of a disk image is ever written.
    if (!io || (flags & ~LIBBFIO_ACCESS_FLAG_READ) != 0)
        return -1;
    State(io)->open = true;
    State(io)->position = 0;
    return 1;
}

int CloseState(intptr_t* io, libbfio_error_t**) {
    if (!io)
        return -1;
    State(io)->open = false;
    return 0;
}

ssize_t ReadState(intptr_t* io, uint8_t* buffer, size_t size, libbfio_error_t**) {
    if (!io || !buffer || !State(io)->open)
        return -1;
    BfioState& s = *State(io);
    const std::uint64_t total = s.bytes->Size();
    if (s.position >= total)
        return 0;
    const std::uint64_t left = total - s.position;
    const std::size_t n = left < size ? static_cast<std::size_t>(left) : size;
    if (n > static_cast<std::size_t>(SSIZE_MAX) || !s.bytes->Read(s.position, buffer, n))
        return -1;
    s.position += n;
    return static_cast<ssize_t>(n);
}

ssize_t WriteState(intptr_t*, const uint8_t*, size_t, libbfio_error_t**) {
    return -1;
}

off64_t SeekState(intptr_t* io, off64_t offset, int whence, libbfio_error_t**) {
    if (!io)
        return -1;
    BfioState& s = *State(io);
    off64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<off64_t>(s.position);
    else if (whence == SEEK_END)
        base = static_cast<off64_t>(s.bytes->Size());
    else if (whence != SEEK_SET)
        return -1;
    if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0)
        return -1;
    s.position = static_cast<std::uint64_t>(base + offset);
    return base + offset;
}

int ExistsState(intptr_t* io, libbfio_error_t**) {
    return io ? 1 : -1;
}

int IsOpenState(intptr_t* io, libbfio_error_t**) {
    return io ? (State(io)->open ? 1 : 0) : -1;
}

int SizeState(intptr_t* io, size64_t* size, libbfio_error_t**) {
    if (!io || !size)
        return -1;
    *size = State(io)->bytes->Size();
    return 1;
}

} // namespace

std::shared_ptr<const DiskBytes> Window(std::shared_ptr<const DiskBytes> whole,
                                        std::uint64_t offset, std::uint64_t size) {
    const std::uint64_t total = whole->Size();
    if (offset > total)
        offset = total;
    if (size > total - offset)
        size = total - offset;
    return std::make_shared<WindowBytes>(std::move(whole), offset, size);
}

libbfio_handle_t* NewBfioHandle(std::shared_ptr<const DiskBytes> bytes) {
    auto* state = new BfioState{std::move(bytes), 0, false};
    libbfio_handle_t* handle = nullptr;
    libbfio_error_t* error = nullptr;
    if (libbfio_handle_initialize(
            &handle, reinterpret_cast<intptr_t*>(state), FreeState, CloneState, OpenState,
            CloseState, ReadState, WriteState, SeekState, ExistsState, IsOpenState, SizeState,
            LIBBFIO_FLAG_IO_HANDLE_MANAGED | LIBBFIO_FLAG_IO_HANDLE_CLONE_BY_FUNCTION,
            &error) != 1) {
        if (error)
            libbfio_error_free(&error);
        delete state;
        return nullptr;
    }
    return handle;
}

} // namespace ostravion::disk
