// A Windows disk as the machine a scan reads: the ports of this system,
// with drives that may be NTFS images or partitions read directly, and the
// registered applications and PC facts taken from the registry hives of the
// disk given as drive C: (an image, or a folder such as a mounted volume).
// Folders given as drives, and everything else, are read as before.
//
// A drive read from an image has the native root "<image path>/": a path
// below a file can never name a folder of this system, so every port tells
// by the path alone where a file lies.
#pragma once

#include "platform/Native.h"
#include "platform/ScanStandIns.h"
#include "platform/disk/NtfsVolume.h"
#include "platform/disk/WindowsFacts.h"
#include "platform/pe/PeVersion.h"

#include <memory>
#include <string>
#include <vector>

namespace ostravion::disk {

// The machine's own ports, which the disk ports fall back to.
struct MachinePorts {
    const TextCodec& codec;
    const FileSearch& search;
    const Drives& drives;
    const VersionStrings& versions;
    const FileDates& dates;
    const SystemInfo& system;
    const pe::Utf16ToAnsi& utf16;
};

class DiskPorts {
public:
    explicit DiskPorts(const MachinePorts& machine);
    ~DiskPorts();
    DiskPorts(const DiskPorts&) = delete;
    DiskPorts& operator=(const DiskPorts&) = delete;

    // Takes the drive map (folders, images and partitions) and the App
    // Paths file; reads the hives of drive C: when it holds
    // Windows/System32/config. False with a reason (UTF-8, Korean for a disk
    // that cannot be read), leaving everything as it was. Called before a
    // scan starts, never during one.
    bool Configure(const ScanSetup& setup, std::string& error);

    FileSearch& Search();
    Drives& DriveList();
    VersionStrings& Versions();
    FileDates& Dates();
    AppPaths& Apps();
    SystemInfo& System();
    // What the last Configure read but warns of (UTF-8, Korean): a hive
    // whose transaction logs were not applied.
    std::vector<std::string> Warnings() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// The hive files of a Windows installation below a drive's native root
// ("Windows/System32/config/SOFTWARE" in any letter case), found through
// the file search; empty when there is none.
std::string FindHive(const FileSearch& search, const std::string& nativeRoot,
                     const std::string& hive);

} // namespace ostravion::disk
