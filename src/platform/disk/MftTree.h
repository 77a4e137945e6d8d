// The folder tree of an NTFS volume, read in one pass over its MFT: every
// name of every file in use, grouped by the folder that holds it and in the
// order that folder's index keeps them, so that a walk needs no index read
// and no file record per folder. The MFT's bytes are read through libfsntfs,
// which knows where they lie; the records are taken apart here, and a record
// that needs more than its own bytes (an attribute list) is read through the
// library's file entries.
#pragma once

#include "platform/disk/NtfsVolume.h"

#include <cstdint>
#include <libfsntfs.h>
#include <string>
#include <vector>

namespace ostravion::disk {

class MftTree {
public:
    bool Empty() const { return items_.empty(); }
    // The names of the folder with this record number, as its index lists
    // them (metadata files and short names left out).
    void Names(std::uint64_t folder, std::vector<NtfsEntry>& out) const;

    // One name: the folder that holds it, and the file it names.
    struct Item {
        std::uint32_t parent = 0; // record numbers: a tree is read of at most 2^32 records
        std::uint32_t record = 0;
        std::uint64_t size = 0;
        std::uint64_t created = 0;
        std::uint32_t name = 0; // offset in the name pool
        std::uint16_t length = 0;
        std::uint16_t attributes = 0; // the low word, the directory bit included
    };

    // Takes apart one MFT record of `size` bytes whose update sequence has
    // been applied; false when it is damaged. `inUse` false: a free record.
    struct Record {
        bool inUse = false;
        bool extension = false;     // holds attributes of another record
        bool attributeList = false; // some attributes lie in other records
        bool folder = false;        // has a file name index
        std::uint16_t sequence = 0;
        std::uint32_t flags = 0; // standard information's file attributes
        std::uint64_t created = 0;
        std::uint64_t size = 0;
        struct Name {
            std::uint64_t parent = 0; // with its sequence number in the top 16 bits
            std::u16string text;
        };
        std::vector<Name> names; // short (DOS) names left out
    };
    static bool ParseRecord(std::string& bytes, Record& out);

    // Sorts the items by folder and, within a folder, as NTFS collates
    // names: by their upper-case form under the volume's table, then as
    // they are written.
    void Sort(const std::vector<std::uint16_t>& upcase);
    std::vector<Item> items_;
    std::u16string names_;
};

// Reads the whole tree; false when the MFT cannot be read whole, holds a
// damaged record in use, or claims more than `diskBytes`, in which case
// folders are to be read one by one.
bool ReadMftTree(libfsntfs_volume_t* volume, std::uint64_t diskBytes, MftTree& out);

} // namespace ostravion::disk
