#include "platform/disk/MftTree.h"

#include "util/InputText.h"

#include <algorithm>
#include <cstring>

namespace ostravion::disk {

namespace {

constexpr unsigned kDirectory = 0x10;
constexpr unsigned kNormal = 0x80;
constexpr std::uint64_t kFirstUserRecord = 16;
constexpr std::uint64_t kRootRecord = 5;
constexpr std::uint64_t kUpcaseRecord = 10;
constexpr std::uint64_t kRecordMask = 0xFFFFFFFFFFFFull;
// The update sequence protects the last two bytes of every 512 bytes.
constexpr std::size_t kFixupStride = 512;

constexpr std::uint32_t kStandardInformation = 0x10;
constexpr std::uint32_t kAttributeList = 0x20;
constexpr std::uint32_t kFileName = 0x30;
constexpr std::uint32_t kData = 0x80;
constexpr std::uint32_t kIndexRoot = 0x90;
constexpr std::uint32_t kEnd = 0xFFFFFFFF;
constexpr std::uint8_t kDosNameSpace = 2;

std::uint16_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::uint32_t U32(const std::string& b, std::size_t at) {
    return U16(b, at) | (std::uint32_t{U16(b, at + 2)} << 16);
}
std::uint64_t U64(const std::string& b, std::size_t at) {
    return U32(b, at) | (std::uint64_t{U32(b, at + 4)} << 32);
}

unsigned Attributes(std::uint32_t flags, bool folder) {
    // The file search reports the low word; the directory bit comes from the
    // folder's index, not from the stored flags.
    unsigned a = flags & 0xFFFFu & ~kDirectory;
    if (folder)
        a |= kDirectory;
    return a == 0 ? kNormal : a;
}

void AppendUtf8(std::string& out, std::u16string_view units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        text::PutUtf8(out, c);
    }
}

// A file entry of the library, freed when it goes out of scope.
struct LibEntry {
    libfsntfs_file_entry_t* e = nullptr;
    ~LibEntry() {
        if (e)
            libfsntfs_file_entry_free(&e, nullptr);
    }
};

bool ReadAt(libfsntfs_file_entry_t* file, std::uint64_t offset, std::size_t length,
            std::string& out) {
    out.resize(length);
    std::size_t done = 0;
    while (done < length) {
        libfsntfs_error_t* error = nullptr;
        const ssize_t n = libfsntfs_file_entry_read_buffer_at_offset(
            file, out.data() + done, length - done, static_cast<off64_t>(offset + done), &error);
        if (error)
            libfsntfs_error_free(&error);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A record whose attributes lie partly in other records, read through the
// library, which follows its attribute list.
bool ReadThroughLibrary(libfsntfs_volume_t* volume, std::uint64_t index, MftTree::Record& r) {
    LibEntry entry;
    if (libfsntfs_volume_get_file_entry_by_index(volume, index, &entry.e, nullptr) != 1 ||
        !entry.e || libfsntfs_file_entry_is_corrupted(entry.e, nullptr) != 0)
        return false;
    const int folder = libfsntfs_file_entry_has_directory_entries_index(entry.e, nullptr);
    if (folder < 0)
        return false;
    r.folder = folder == 1;
    std::uint32_t flags = 0;
    r.flags =
        libfsntfs_file_entry_get_file_attribute_flags(entry.e, &flags, nullptr) == 1 ? flags : 0;
    size64_t size = 0;
    r.size = libfsntfs_file_entry_get_size(entry.e, &size, nullptr) == 1 ? size : 0;
    std::uint64_t created = 0;
    r.created =
        libfsntfs_file_entry_get_creation_time(entry.e, &created, nullptr) == 1 ? created : 0;
    int count = 0;
    if (libfsntfs_file_entry_get_number_of_attributes(entry.e, &count, nullptr) != 1)
        return false;
    r.names.clear();
    for (int i = 0; i < count; ++i) {
        libfsntfs_attribute_t* a = nullptr;
        if (libfsntfs_file_entry_get_attribute_by_index(entry.e, i, &a, nullptr) != 1 || !a)
            return false;
        std::uint32_t type = 0;
        std::uint8_t space = 0;
        std::uint64_t parent = 0;
        std::size_t units = 0;
        bool ok = libfsntfs_attribute_get_type(a, &type, nullptr) == 1;
        if (ok && type == kFileName) {
            ok =
                libfsntfs_file_name_attribute_get_name_space(a, &space, nullptr) == 1 &&
                libfsntfs_file_name_attribute_get_parent_file_reference(a, &parent, nullptr) == 1 &&
                libfsntfs_file_name_attribute_get_utf16_name_size(a, &units, nullptr) == 1;
            if (ok && space != kDosNameSpace && units > 1) {
                MftTree::Record::Name n;
                n.parent = parent;
                std::vector<std::uint16_t> text(units);
                ok = libfsntfs_file_name_attribute_get_utf16_name(a, text.data(), units, nullptr) ==
                     1;
                n.text.assign(text.begin(), text.end() - 1);
                r.names.push_back(std::move(n));
            }
        }
        libfsntfs_attribute_free(&a, nullptr);
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

bool MftTree::ParseRecord(std::string& b, Record& r) {
    r = Record();
    const std::size_t size = b.size();
    if (size < 0x30)
        return false;
    if (U32(b, 0) == 0)
        return true; // never used
    if (std::memcmp(b.data(), "FILE", 4) != 0)
        return false;
    const std::uint16_t flags = U16(b, 0x16);
    if (!(flags & 1))
        return true; // free
    r.inUse = true;
    // Undo the update sequence: each 512-byte block ends with the sequence
    // number, whose real bytes are kept in the array.
    const std::size_t usOffset = U16(b, 4), usCount = U16(b, 6);
    if (usCount < 1 || usOffset + 2 * usCount > size || (usCount - 1) * kFixupStride > size)
        return false;
    const std::uint16_t usn = U16(b, usOffset);
    for (std::size_t i = 1; i < usCount; ++i) {
        const std::size_t at = i * kFixupStride - 2;
        if (U16(b, at) != usn)
            return false; // a torn write
        b[at] = b[usOffset + 2 * i];
        b[at + 1] = b[usOffset + 2 * i + 1];
    }
    r.sequence = U16(b, 0x10);
    r.extension = (U64(b, 0x20) & kRecordMask) != 0;
    const std::size_t used = std::min<std::size_t>(U32(b, 0x18), size);
    std::size_t at = U16(b, 0x14);
    while (true) {
        if (at + 8 > used)
            return false; // no end mark
        const std::uint32_t type = U32(b, at);
        if (type == kEnd)
            break;
        const std::uint32_t length = U32(b, at + 4);
        if (length < 0x18 || length > used - at)
            return false;
        const bool resident = b[at + 8] == 0;
        const std::size_t nameLength = static_cast<unsigned char>(b[at + 9]);
        const std::size_t nameOffset = U16(b, at + 10);
        if (nameLength && nameOffset + 2 * nameLength > length)
            return false;
        std::size_t value = 0, valueLength = 0;
        if (resident) {
            valueLength = U32(b, at + 0x10);
            value = U16(b, at + 0x14);
            if (value > length || valueLength > length - value)
                return false;
            value += at;
        } else if (length < 0x40) {
            return false;
        }
        switch (type) {
        case kStandardInformation:
            if (resident && valueLength >= 0x24) {
                r.created = U64(b, value);
                r.flags = U32(b, value + 0x20);
            }
            break;
        case kAttributeList:
            r.attributeList = true;
            break;
        case kFileName: {
            if (!resident || valueLength < 0x42)
                return false;
            const std::size_t units = static_cast<unsigned char>(b[value + 0x40]);
            if (0x42 + 2 * units > valueLength)
                return false;
            if (static_cast<std::uint8_t>(b[value + 0x41]) == kDosNameSpace || units == 0)
                break;
            Record::Name n;
            n.parent = U64(b, value);
            n.text.resize(units);
            for (std::size_t i = 0; i < units; ++i)
                n.text[i] = static_cast<char16_t>(U16(b, value + 0x42 + 2 * i));
            r.names.push_back(std::move(n));
            break;
        }
        case kData:
            if (nameLength == 0) {
                if (resident)
                    r.size = valueLength;
                else if (U64(b, at + 0x10) == 0) // the first piece holds the size
                    r.size = U64(b, at + 0x30);
            }
            break;
        case kIndexRoot:
            if (nameLength == 4) {
                static const char16_t kI30[] = u"$I30";
                bool same = true;
                for (std::size_t i = 0; i < 4; ++i)
                    same = same && U16(b, at + nameOffset + 2 * i) == kI30[i];
                r.folder = r.folder || same;
            }
            break;
        default:
            break;
        }
        at += length;
    }
    return true;
}

void MftTree::Sort(const std::vector<std::uint16_t>& upcase) {
    const auto up = [&upcase](char16_t c) { return upcase[static_cast<std::uint16_t>(c)]; };
    std::sort(items_.begin(), items_.end(), [&](const Item& a, const Item& b) {
        if (a.parent != b.parent)
            return a.parent < b.parent;
        const std::u16string_view x(names_.data() + a.name, a.length);
        const std::u16string_view y(names_.data() + b.name, b.length);
        const std::size_t n = std::min(x.size(), y.size());
        for (std::size_t i = 0; i < n; ++i)
            if (up(x[i]) != up(y[i]))
                return up(x[i]) < up(y[i]);
        if (x.size() != y.size())
            return x.size() < y.size();
        return x < y;
    });
}

void MftTree::Names(std::uint64_t folder, std::vector<NtfsEntry>& out) const {
    out.clear();
    const auto first = std::partition_point(items_.begin(), items_.end(),
                                            [folder](const Item& i) { return i.parent < folder; });
    for (auto it = first; it != items_.end() && it->parent == folder; ++it) {
        NtfsEntry e;
        AppendUtf8(e.name, std::u16string_view(names_.data() + it->name, it->length));
        e.size = it->size;
        e.attributes = it->attributes;
        e.record = it->record;
        e.created = it->created;
        out.push_back(std::move(e));
    }
}

bool ReadMftTree(libfsntfs_volume_t* volume, std::uint64_t diskBytes, MftTree& out) {
    out = MftTree();
    size32_t recordSize = 0;
    std::uint64_t count = 0;
    if (libfsntfs_volume_get_mft_entry_size(volume, &recordSize, nullptr) != 1 ||
        recordSize < 0x200 || recordSize > 0x10000 || recordSize % kFixupStride != 0 ||
        libfsntfs_volume_get_number_of_file_entries(volume, &count, nullptr) != 1 ||
        count <= kFirstUserRecord || count > (std::uint64_t{1} << 32) ||
        count > diskBytes / recordSize)
        return false;

    // The volume's own upper-case table orders the names of every index.
    std::vector<std::uint16_t> upcase(0x10000);
    {
        LibEntry file;
        std::string bytes;
        if (libfsntfs_volume_get_file_entry_by_index(volume, kUpcaseRecord, &file.e, nullptr) !=
                1 ||
            !ReadAt(file.e, 0, upcase.size() * 2, bytes))
            return false;
        for (std::size_t i = 0; i < upcase.size(); ++i)
            upcase[i] = U16(bytes, 2 * i);
    }

    LibEntry mft;
    size64_t mftSize = 0;
    if (libfsntfs_volume_get_file_entry_by_index(volume, 0, &mft.e, nullptr) != 1 ||
        libfsntfs_file_entry_get_size(mft.e, &mftSize, nullptr) != 1 ||
        mftSize / recordSize < count)
        return false;

    // What the names' parents must be: in use, a folder, and of the
    // sequence number the name refers to (else the name is left from a
    // folder deleted since).
    std::vector<std::uint16_t> sequence(count);
    // 0 not in use, 1 a folder, 2 no folder, 3 not known yet.
    std::vector<std::uint8_t> folder(count);
    std::vector<std::uint64_t> later;
    // Names met before their folder's record, with the sequence number they name.
    std::vector<std::pair<std::size_t, std::uint16_t>> laterParents;
    out.items_.reserve(static_cast<std::size_t>(count));
    const auto add = [&](std::uint64_t index, const MftTree::Record& r) {
        if (index < kFirstUserRecord)
            return;
        for (const MftTree::Record::Name& n : r.names) {
            if (n.text.size() > 0xFFFF || out.names_.size() > 0xFFFFFFFFull - n.text.size())
                continue;
            const std::uint64_t parent = n.parent & kRecordMask;
            const std::uint16_t seq = static_cast<std::uint16_t>(n.parent >> 48);
            // A name whose folder is not there (deleted since: its record
            // has another sequence number now) is in no index a walk reads;
            // what is known of the folder now is checked once all is read.
            if (parent >= count || (parent < kFirstUserRecord && parent != kRootRecord) ||
                (parent < index && (folder[parent] == 0 || folder[parent] == 2 ||
                                    (seq != 0 && seq != sequence[parent]))))
                continue;
            if (parent >= index && seq != 0)
                laterParents.emplace_back(out.items_.size(), seq);
            MftTree::Item item;
            item.parent = static_cast<std::uint32_t>(parent);
            item.record = static_cast<std::uint32_t>(index);
            item.size = r.size;
            item.created = r.created;
            item.name = static_cast<std::uint32_t>(out.names_.size());
            item.length = static_cast<std::uint16_t>(n.text.size());
            item.attributes = static_cast<std::uint16_t>(Attributes(r.flags, r.folder));
            out.names_ += n.text;
            out.items_.push_back(item);
        }
    };

    const std::size_t perChunk = std::max<std::size_t>(1, (1u << 20) / recordSize);
    std::string chunk, record;
    MftTree::Record r;
    for (std::uint64_t first = 0; first < count; first += perChunk) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(perChunk, count - first));
        if (!ReadAt(mft.e, first * recordSize, n * recordSize, chunk))
            return false;
        for (std::size_t i = 0; i < n; ++i) {
            record.assign(chunk, i * recordSize, recordSize);
            if (!MftTree::ParseRecord(record, r))
                return false;
            if (!r.inUse || r.extension)
                continue;
            const std::uint64_t index = first + i;
            sequence[index] = r.sequence;
            if (r.attributeList) {
                later.push_back(index);
                folder[index] = 3; // told once the library has read it
                continue;
            }
            folder[index] = r.folder ? 1 : 2;
            add(index, r);
        }
    }
    for (const std::uint64_t index : later) {
        if (!ReadThroughLibrary(volume, index, r))
            return false;
        folder[index] = r.folder ? 1 : 2;
        add(index, r);
    }
    chunk = std::string();

    // Names whose folder is not there (a metadata folder, or one deleted
    // since) are in no index a walk reads.
    std::vector<bool> gone(out.items_.size());
    for (const auto& [at, seq] : laterParents)
        gone[at] = seq != sequence[out.items_[at].parent];
    std::size_t at = 0;
    std::erase_if(out.items_, [&](const MftTree::Item& item) {
        return gone[at++] || folder[item.parent] != 1;
    });
    out.items_.shrink_to_fit();
    out.names_.shrink_to_fit();
    out.Sort(upcase);
    return !out.items_.empty();
}

} // namespace ostravion::disk
