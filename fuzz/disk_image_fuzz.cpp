// libFuzzer target for the layers below NTFS: the input is a disk as an
// audit is given one (a raw disk with an MBR or GPT partition table, a VHD,
// VHDX, VMDK, qcow2 or EWF container, a BitLocker volume), opened as a drive
// is; the root folder of every volume found is listed and one file of it
// read, so that bytes are fetched through every layer.
#include "platform/disk/DiskImage.h"

#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The containers are read by name: the input goes into a file of this
    // process, written anew for every input. Its name ends as the first
    // segment of an EWF image does, so that the search for further segments
    // runs too (and finds none).
    static const std::string path =
        "/tmp/ostravion-disk-fuzz-" + std::to_string(::getpid()) + ".E01";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return 0;
    const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
    ::close(fd);
    if (written) {
        std::vector<ostravion::disk::DiskVolume> volumes;
        std::string why;
        ostravion::disk::DiskChoice choice;
        // A password of the right form, so that a BitLocker volume is opened
        // as far as its keys.
        choice.recoveryPassword = "111111-111111-111111-111111-111111-111111-111111-111111";
        if (ostravion::disk::OpenDisk(path, choice, volumes, why))
            for (const auto& v : volumes) {
                std::vector<ostravion::disk::NtfsEntry> entries;
                v.ntfs->List("", entries);
                for (const auto& e : entries)
                    if (!(e.attributes & 0x10)) {
                        std::string bytes;
                        v.ntfs->ReadWhole(e.name, bytes, 1 << 16);
                        break;
                    }
            }
    }
    ::unlink(path.c_str());
    return 0;
}
