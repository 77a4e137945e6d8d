// An NTFS volume read straight out of a disk image or a partition, without
// mounting it, through libfsntfs. Paths inside the volume are UTF-8 names
// joined by "/", relative to its root ("" is the root, "Windows/System32").
#pragma once

#include "platform/pe/PeVersion.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ostravion::disk {

class DiskBytes;

// One name of a folder as Windows lists it.
struct NtfsEntry {
    std::string name;          // UTF-8, as stored
    std::uint64_t size = 0;    // the unnamed data stream's size
    unsigned attributes = 0;   // FILE_ATTRIBUTE_* bits, the directory bit for folders
    std::uint64_t record = 0;  // the MFT record number (the file's identity)
    std::uint64_t created = 0; // creation time of the standard information, in FILETIME units
};

class NtfsVolume {
public:
    ~NtfsVolume();
    NtfsVolume(const NtfsVolume&) = delete;
    NtfsVolume& operator=(const NtfsVolume&) = delete;

    // Opens the image or device `path` (a native path, already resolved)
    // read-only. Null with `why` (Korean, UTF-8) when it is no regular file
    // or block device, cannot be opened, holds no readable NTFS volume, or
    // is shorter than the volume its boot sector describes (a cut-short
    // image, whose missing part would pass for folders without files).
    static std::unique_ptr<NtfsVolume> Open(const std::string& path, std::string& why);
    // Opens the NTFS volume these bytes hold (a partition of a disk, a
    // virtual disk's contents, a decrypted BitLocker volume), with the same
    // checks.
    static std::unique_ptr<NtfsVolume> Open(std::shared_ptr<const DiskBytes> bytes,
                                            std::string& why);

    enum class Listing {
        Listed,  // every name of the folder
        Partial, // the names that could be read; some entries are damaged
        Reparse, // a junction or link, never listed: its target lies on the
                 // running system, not on this disk
        Failed,  // no folder, or one that cannot be read
    };
    // The names of a folder, as Windows lists them: the names of its index
    // (no short 8.3 names, no deleted entries), the volume's own metadata
    // files left out. They are taken from the whole volume's tree, read in
    // one pass over the MFT at the first listing; where that cannot be read
    // whole (a damaged record in use), from each folder's own index.
    // A folder is found by the path its parent's listing gave it.
    Listing List(const std::string& folder, std::vector<NtfsEntry>& out) const;
    // Lists every folder from its own index from now on, never from the
    // MFT's tree: the slower way, which the tree must agree with.
    void ListFromIndexes();

    // The entry a path names; false when there is none.
    bool Stat(const std::string& path, NtfsEntry& out) const;
    // The bytes of a file's unnamed data stream, for reading in pieces; null
    // when the path names no file.
    std::unique_ptr<pe::ByteSource> OpenFile(const std::string& path) const;
    // The whole file, when it holds at most `limit` bytes.
    bool ReadWhole(const std::string& path, std::string& bytes, std::uint64_t limit) const;

    struct Impl;

private:
    explicit NtfsVolume(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace ostravion::disk
