// libFuzzer target for the NTFS image reader: the input is a disk image,
// opened as a drive is; every folder it lists is walked (to a bounded number
// of entries) and every file's version resource read through the volume.
#include "platform/disk/NtfsVolume.h"
#include "platform/posix/PosixPlatform.h"

#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kMaxEntries = 2000;
constexpr int kMaxDepth = 32;

void Walk(const ostravion::disk::NtfsVolume& volume, const std::string& folder, int depth,
          std::size_t& seen) {
    static const ostravion::posix::IconvUtf16ToCp949 conv;
    std::vector<ostravion::disk::NtfsEntry> entries;
    using Listing = ostravion::disk::NtfsVolume::Listing;
    if (depth > kMaxDepth)
        return;
    // A damaged folder still gives the names that could be read.
    const Listing listed = volume.List(folder, entries);
    if (listed != Listing::Listed && listed != Listing::Partial)
        return;
    for (const auto& e : entries) {
        if (++seen > kMaxEntries)
            return;
        const std::string path = folder.empty() ? e.name : folder + "/" + e.name;
        ostravion::disk::NtfsEntry again;
        volume.Stat(path, again);
        if (e.attributes & 0x10) {
            Walk(volume, path, depth + 1, seen);
            continue;
        }
        std::string resource;
        if (const auto file = volume.OpenFile(path);
            file && ostravion::pe::FindVersionResource(*file, resource))
            ostravion::pe::VersionBlock(resource).ReadString("CompanyName", conv);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The library reads an image by name: the input goes into a file of
    // this process, written anew for every input.
    static const std::string path = "/tmp/ostravion-ntfs-fuzz-" + std::to_string(::getpid());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return 0;
    const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
    ::close(fd);
    std::string why;
    if (written)
        if (const auto volume = ostravion::disk::NtfsVolume::Open(path, why)) {
            std::size_t seen = 0;
            Walk(*volume, "", 0, seen);
        }
    ::unlink(path.c_str());
    return 0;
}
