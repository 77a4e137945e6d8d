// Linux implementations of the walk's ports: the folder listing with Windows
// attributes and the fixed drives (local disk file systems, or folders mapped
// to drive letters). The registered applications are none, or those of a
// list (ListedAppPaths).
#pragma once

#include "ports/Ports.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ostravion::posix {

// Lists folders in the order the kernel hands out their entries. A regular file carries the archive
// attribute, a folder the directory attribute, a name starting with "." the
// hidden attribute; on an NTFS volume the real attributes are read from the
// driver's "system.ntfs_attrib_be" value where it offers one. A symbolic
// link to a folder or a file is listed as a link (DirEntry::link, with the
// reparse-point attribute and no size), as Windows lists one; sockets,
// pipes, devices and dangling links are left out. A plain file's size is left
// to FileSize, so that a listing needs no call per file.
class PosixFileSearch final : public FileSearch {
public:
    explicit PosixFileSearch(const TextCodec& codec,
                             std::string mountInfoPath = "/proc/self/mountinfo");
    ~PosixFileSearch() override;
    PosixFileSearch(const PosixFileSearch&) = delete;
    PosixFileSearch& operator=(const PosixFileSearch&) = delete;
    bool List(const std::string& nativeFolder, std::vector<DirEntry>& out) const override;
    // A folder refused by its permissions is Denied; one that is gone (no
    // such folder any more) is no fault, and lists nothing.
    ReadFault ListChecked(const std::string& nativeFolder,
                          std::vector<DirEntry>& out) const override;
    // Opens a folder by name in its held parent, and fetches the sizes asked
    // for by name in the open folder. On ext2/3/4 and XFS, a folder whose
    // device the request tells and that holds no mount point gives its
    // sub-folders that device and the inode its listing tells, without a
    // stat of each.
    ReadFault ListRequested(const ListRequest& request, std::vector<DirEntry>& out,
                            std::unique_ptr<HeldFolder>& held) const override;
    bool Identify(const std::string& nativeFolder, std::uint64_t& device,
                  std::uint64_t& inode) const override;
    char NativeSeparator() const override { return '/'; }
    bool ListsConcurrently(const std::string&) const override { return true; }
    bool FileSize(const std::string& nativePath, std::uint64_t& size) const override;

    // A file name as the core sees it: CP949, "?" for a character without a form.
    std::string TextName(const std::string& nativeName) const;

private:
    ReadFault ListFolder(const ListRequest& request, std::vector<DirEntry>& out,
                         std::unique_ptr<HeldFolder>& held, bool& gone) const;

    // True when a file system is mounted on a folder right inside this one,
    // or when the mount table cannot be read.
    bool HoldsMountPoint(const std::string& nativeFolder) const;

    struct MountWatch;
    const TextCodec& codec_;
    std::unique_ptr<MountWatch> mounts_;
};

// The attributes held in an NTFS attribute value (32 bits, big-endian);
// false when the value has another length.
bool NtfsAttributes(const void* value, long length, unsigned& attributes);

// One line of /proc/self/mountinfo, the escapes of its paths undone.
struct MountEntry {
    std::string majorMinor; // "8:1"
    std::string root;       // the mounted file system's folder shown here ("/" for all of it)
    std::string mountPoint;
    std::string fsType;
    std::string source;
    bool operator==(const MountEntry&) const = default;
};

std::vector<MountEntry> ParseMountInfo(const std::string& text);

// File systems on local disks; network, memory and kernel file systems are not.
bool IsLocalDiskType(const std::string& fsType);

// The mounts a scan walks, in mount-point order: for each mount point the
// mount on top, when it is a local disk file system that `excluded` does not
// reject (removable, not a folder); a file system mounted twice with the same
// root is walked at its first mount point only.
std::vector<MountEntry> SelectFixedMounts(const std::vector<MountEntry>& mounts,
                                          const std::function<bool(const MountEntry&)>& excluded);

class PosixDrives final : public Drives {
public:
    explicit PosixDrives(const TextCodec& codec, std::string mountInfoPath = "/proc/self/mountinfo",
                         std::string sysfsRoot = "/sys")
        : codec_(codec), mountInfoPath_(std::move(mountInfoPath)),
          sysfsRoot_(std::move(sysfsRoot)) {}

    // Walks the given folders as drive letters instead of the mounted file
    // systems: "C=/mnt/win" gives the drive "C:\\" with '\\' between folder
    // names. Letters C to Z, each once; the folder must exist. An empty list
    // goes back to the mounted file systems. False with a reason otherwise,
    // leaving the drives as they were.
    bool SetMap(const std::vector<std::string>& items, std::string& error);

    std::vector<Drive> FixedDrives() const override;

private:
    bool IsRemovable(const MountEntry& mount) const;

    const TextCodec& codec_;
    std::string mountInfoPath_;
    std::string sysfsRoot_;
    std::vector<Drive> map_;
};

} // namespace ostravion::posix
