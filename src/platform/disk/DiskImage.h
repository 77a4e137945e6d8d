// A disk as investigators and IT keep it, opened down to its NTFS volumes,
// layer by layer, each read by a library of the field: the container (a
// raw image or device, VHD, VHDX, VMDK, qcow2, EWF/E01), recognised by its
// content; the partition table (MBR or GPT, through libblkid); BitLocker
// (libbde, with the recovery password); NTFS (libfsntfs).
#pragma once

#include "platform/disk/DiskBytes.h"
#include "platform/disk/NtfsVolume.h"

#include <memory>
#include <string>
#include <vector>

namespace ostravion::disk {

// One NTFS volume of a disk.
struct DiskVolume {
    int partition = 0;    // its number in the partition table; 0 for a disk that is one volume
    bool windows = false; // holds Windows/System32/config
    std::shared_ptr<NtfsVolume> ntfs;
};

struct DiskChoice {
    int partition = 0;            // 0: the disk's volumes; N: partition N alone
    std::string recoveryPassword; // a BitLocker recovery password (48 digits), UTF-8
};

// Opens the disk `path` (a native path, already resolved; never through a
// link, never waiting on a pipe) read-only. The volumes come in the order
// Windows gives them drive letters: the one that holds Windows first (else
// the first), then the others by partition number; partitions that Windows
// gives no letter (recovery, hidden) are left out unless chosen by number.
// False with `why` (Korean, UTF-8) when the disk or a volume on it cannot be
// read, or when it holds no NTFS volume.
bool OpenDisk(const std::string& path, const DiskChoice& choice, std::vector<DiskVolume>& out,
              std::string& why);

// The same below the container: for bytes already open.
bool OpenDiskBytes(std::shared_ptr<const DiskBytes> disk, const DiskChoice& choice,
                   std::vector<DiskVolume>& out, std::string& why);

} // namespace ostravion::disk
