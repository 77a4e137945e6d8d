#include "platform/pe/PeVersion.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace ostravion::pe {

namespace {

constexpr std::uint16_t kResourceVersion = 16; // RT_VERSION
constexpr std::uint16_t kVersionId = 1;        // VS_VERSION_INFO
constexpr std::uint32_t kHighBit = 0x80000000u;
// No version resource comes near this; a header claiming more is not believed.
constexpr std::uint32_t kMaxResourceSize = 16u * 1024 * 1024;

std::size_t Align4(std::size_t n) {
    return (n + 3) & ~static_cast<std::size_t>(3);
}

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawPointer = 0;
};

// The headers of a PE file, as far as the resources need them.
class Image {
public:
    explicit Image(const ByteSource& file) : file_(file) {}

    // Reads the DOS and PE headers and the section table; false when the
    // file is no PE image or has no resource directory.
    bool Load() {
        std::string b;
        if (!file_.ReadAt(0, 64, b) || b[0] != 'M' || b[1] != 'Z')
            return false;
        const std::uint64_t pe = Le32(b, 0x3C);
        // Signature, file header, and the optional header up to the data
        // directories of either kind.
        if (!file_.ReadAt(pe, 4 + 20 + 2, b) || b.compare(0, 4, std::string("PE\0\0", 4)) != 0)
            return false;
        const std::uint32_t sectionCount = Le16(b, 4 + 2);
        const std::uint32_t optionalSize = Le16(b, 4 + 16);
        const std::uint16_t magic = Le16(b, 24);
        std::size_t rvaCountAt = 0;
        if (magic == 0x10B)
            rvaCountAt = 92; // PE32
        else if (magic == 0x20B)
            rvaCountAt = 108; // PE32+
        else
            return false;
        const std::uint64_t optional = pe + 24;
        // Through the resource entry, the third data directory.
        if (!file_.ReadAt(optional, rvaCountAt + 4 + 3 * 8, b))
            return false;
        headersSize_ = Le32(b, 60);
        if (Le32(b, rvaCountAt) <= 2)
            return false;
        resourceRva_ = Le32(b, rvaCountAt + 4 + 2 * 8);
        if (resourceRva_ == 0 || Le32(b, rvaCountAt + 4 + 2 * 8 + 4) == 0)
            return false;
        if (!file_.ReadAt(optional + optionalSize, sectionCount * 40, b))
            return false;
        for (std::uint32_t i = 0; i < sectionCount; ++i) {
            Section s;
            s.virtualAddress = Le32(b, i * 40 + 12);
            s.rawSize = Le32(b, i * 40 + 16);
            s.rawPointer = Le32(b, i * 40 + 20);
            sections_.push_back(s);
        }
        return true;
    }

    // Where an address of the loaded image lies in the file: in the raw
    // data of the first section that holds it, else in the headers.
    bool FileOffset(std::uint32_t rva, std::uint64_t& offset) const {
        for (const Section& s : sections_)
            if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
                offset = static_cast<std::uint64_t>(s.rawPointer) + (rva - s.virtualAddress);
                return true;
            }
        if (rva < headersSize_) {
            offset = rva;
            return true;
        }
        return false;
    }

    std::uint32_t ResourceRva() const { return resourceRva_; }

private:
    const ByteSource& file_;
    std::vector<Section> sections_;
    std::uint32_t headersSize_ = 0;
    std::uint32_t resourceRva_ = 0;
};

// One level of the resource directory: its entries, named ones first.
struct DirectoryLevel {
    std::uint32_t named = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> entries; // name, offset

    bool Load(const ByteSource& file, std::uint64_t at) {
        std::string b;
        if (!file.ReadAt(at, 16, b))
            return false;
        named = Le16(b, 12);
        const std::uint32_t count = named + Le16(b, 14);
        // Every entry must be in the file: a count beyond it is not believed.
        if (count * 8ull > file.Size() || !file.ReadAt(at + 16, count * 8u, b))
            return false;
        entries.clear();
        entries.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i)
            entries.emplace_back(Le32(b, i * 8), Le32(b, i * 8 + 4));
        return true;
    }

    // The entry with this id that leads where wanted (a deeper directory or
    // data); the offset is from the start of the resource directory.
    bool FindId(std::uint16_t id, bool wantDirectory, std::uint32_t& offset) const {
        for (std::size_t i = named; i < entries.size(); ++i)
            if ((entries[i].first & 0xFFFF) == id &&
                ((entries[i].second & kHighBit) != 0) == wantDirectory) {
                offset = entries[i].second & ~kHighBit;
                return true;
            }
        return false;
    }

    bool FirstData(std::uint32_t& offset) const {
        for (const auto& e : entries)
            if ((e.second & kHighBit) == 0) {
                offset = e.second;
                return true;
            }
        return false;
    }
};

} // namespace

bool MemorySource::ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const {
    if (offset > bytes_.size() || length > bytes_.size() - offset)
        return false;
    out.assign(bytes_.data() + offset, length);
    return true;
}

struct FileSource::Stream {
    std::ifstream in;
};

FileSource::FileSource(const std::string& path) : stream_(std::make_unique<Stream>()) {
    stream_->in.open(path, std::ios::binary);
    if (!stream_->in)
        return;
    stream_->in.seekg(0, std::ios::end);
    const std::streamoff end = stream_->in.tellg();
    if (end < 0) {
        stream_->in.close();
        return;
    }
    size_ = static_cast<std::uint64_t>(end);
}

FileSource::~FileSource() = default;

bool FileSource::IsOpen() const {
    return stream_->in.is_open();
}

bool FileSource::ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const {
    if (!IsOpen() || offset > size_ || length > size_ - offset)
        return false;
    std::ifstream& in = stream_->in;
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    out.resize(length);
    in.read(out.data(), static_cast<std::streamsize>(length));
    return in.gcount() == static_cast<std::streamsize>(length);
}

std::vector<std::uint16_t> KoreanSystemLanguages() {
    return {0x0000, 0x0412, 0x0012, 0x0409};
}

bool FindVersionResource(const ByteSource& file, std::string& resource,
                         const std::vector<std::uint16_t>& languages) {
    resource.clear();
    Image image(file);
    if (!image.Load())
        return false;
    std::uint64_t root = 0;
    if (!image.FileOffset(image.ResourceRva(), root))
        return false;

    // Three levels, no more: type, id, language. Offsets that point back at
    // an upper level cannot make this loop.
    DirectoryLevel level;
    std::uint32_t offset = 0;
    if (!level.Load(file, root) || !level.FindId(kResourceVersion, true, offset))
        return false;
    if (!level.Load(file, root + offset) || !level.FindId(kVersionId, true, offset))
        return false;
    if (!level.Load(file, root + offset))
        return false;
    bool found = false;
    for (std::uint16_t lang : languages)
        if (level.FindId(lang, false, offset)) {
            found = true;
            break;
        }
    if (!found && !level.FirstData(offset))
        return false;

    std::string entry;
    if (!file.ReadAt(root + offset, 16, entry))
        return false;
    const std::uint32_t dataRva = Le32(entry, 0);
    const std::uint32_t size = Le32(entry, 4);
    std::uint64_t data = 0;
    if (size > kMaxResourceSize || !image.FileOffset(dataRva, data))
        return false;
    return file.ReadAt(data, size, resource);
}

VersionBlock::VersionBlock(std::string resource) {
    // GetFileVersionInfoA's buffer: the resource, as much zeroed room again
    // for the ANSI conversions, four bytes more; "FE2X" marks the end of the
    // block named by its length.
    const std::size_t size = resource.size();
    buffer_ = std::move(resource);
    buffer_.resize(size * 2 + 4, '\0');
    const std::size_t length = Le16(buffer_, 0);
    if (length + 4 <= buffer_.size())
        std::memcpy(buffer_.data() + length, "FE2X", 4);
    // A block claiming less than four bytes has just had its length overwritten.
    rootLength_ = Le16(buffer_, 0);
}

bool VersionBlock::Word(std::size_t offset, std::uint16_t& v) const {
    if (offset > buffer_.size() || buffer_.size() - offset < 2)
        return false;
    v = Le16(buffer_, offset);
    return true;
}

bool VersionBlock::ReadNode(std::size_t offset, Node& node) const {
    node.offset = offset;
    if (!Word(offset, node.length) || !Word(offset + 2, node.valueLength) ||
        !Word(offset + 4, node.type))
        return false;
    std::size_t p = offset + 6;
    for (std::uint16_t unit = 1; unit != 0; p += 2)
        if (!Word(p, unit))
            return false; // a key without its end
    // The value starts at the next 32-bit boundary after the key.
    node.value = offset + Align4(p - offset);
    return true;
}

bool VersionBlock::FindChild(const Node& parent, std::string_view key, Node& child) const {
    const std::size_t valueBytes = static_cast<std::size_t>(parent.valueLength) *
                                   (parent.type != 0 ? 2 : 1); // text counts characters
    std::size_t at = parent.value + Align4(valueBytes);
    const std::size_t end = parent.offset + parent.length;
    while (at < end) {
        // Keys compare without regard to the case of ASCII letters.
        bool same = true;
        std::uint16_t unit = 0;
        for (std::size_t i = 0; i < key.size() && same; ++i) {
            if (!Word(at + 6 + 2 * i, unit))
                return false;
            const auto fold = [](std::uint16_t c) {
                return (c >= 'A' && c <= 'Z') ? static_cast<std::uint16_t>(c + 32) : c;
            };
            same = fold(unit) == fold(static_cast<unsigned char>(key[i]));
        }
        if (same) {
            if (!Word(at + 6 + 2 * key.size(), unit))
                return false;
            if (unit == 0)
                return ReadNode(at, child);
        }
        std::uint16_t length = 0;
        if (!Word(at, length) || length == 0)
            return false;
        at += Align4(length);
    }
    return false;
}

bool VersionBlock::Lookup(std::string_view path, Node& node) const {
    // A first key character of a printable byte marks a 16-bit block, which
    // no PE file holds.
    if (buffer_.size() < 6 || static_cast<unsigned char>(buffer_[4]) >= ' ')
        return false;
    if (!ReadNode(0, node))
        return false;
    std::size_t i = 0;
    while (i < path.size()) {
        const std::size_t slash = std::min(path.find('\\', i), path.size());
        if (slash > i) {
            Node child;
            if (!FindChild(node, path.substr(i, slash - i), child))
                return false;
            node = child;
        }
        i = slash + 1;
    }
    return true;
}

std::string VersionBlock::TextValue(const Node& node, const Utf16ToAnsi& conv) const {
    const std::size_t units = node.valueLength;
    if (units == 0 || node.value > buffer_.size() || (buffer_.size() - node.value) / 2 < units)
        return std::string();
    std::u16string wide(units, u'\0');
    for (std::size_t i = 0; i < units; ++i)
        wide[i] = static_cast<char16_t>(Le16(buffer_, node.value + 2 * i));
    std::string text = conv.Convert(wide);
    // The conversion goes into room as large as the rest of the block; what
    // does not fit there fails and yields nothing.
    if (node.value >= rootLength_ || text.size() > rootLength_ - node.value)
        return std::string();
    return text;
}

bool VersionBlock::Translation(std::uint16_t& language, std::uint16_t& codePage,
                               const Utf16ToAnsi& conv) const {
    Node node;
    if (!Lookup("\\VarFileInfo\\Translation", node))
        return false;
    std::string pair;
    if (node.type != 0) {
        // Marked as text, the list is handed over converted like any text.
        pair = TextValue(node, conv);
        if (pair.empty())
            return false;
    } else {
        if (node.valueLength < 4 || node.value > buffer_.size() || buffer_.size() - node.value < 4)
            return false;
        pair = buffer_.substr(node.value, 4);
    }
    pair.resize(4, '\0');
    language = Le16(pair, 0);
    codePage = Le16(pair, 2);
    return true;
}

std::string VersionBlock::QueryText(std::string_view path, const Utf16ToAnsi& conv) const {
    Node node;
    if (!Lookup(path, node))
        return std::string();
    std::string text;
    if (node.type != 0) {
        text = TextValue(node, conv);
    } else if (node.valueLength != 0 && node.value < buffer_.size()) {
        // A binary value taken as text: its bytes as they are.
        text = buffer_.substr(node.value);
    }
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos)
        text.resize(zero);
    return text;
}

std::string VersionBlock::ReadString(std::string_view name, const Utf16ToAnsi& conv) const {
    std::uint16_t language = 0, codePage = 0;
    if (!Translation(language, codePage, conv))
        return std::string();
    char table[40];
    std::snprintf(table, sizeof table, "\\StringFileInfo\\%04x%04x\\", language, codePage);
    return QueryText(std::string(table) + std::string(name), conv);
}

std::string ReadVersionString(std::string_view fileBytes, std::string_view name,
                              const Utf16ToAnsi& conv) {
    std::string resource;
    if (!FindVersionResource(MemorySource(fileBytes), resource))
        return std::string();
    return VersionBlock(std::move(resource)).ReadString(name, conv);
}

namespace {
// The version resource of a file on disk, and why it could not be read.
VersionBlock ReadBlock(const std::string& nativePath, ReadFault& fault) {
    fault = ReadFault::None;
    errno = 0;
    FileSource file(nativePath);
    if (!file.IsOpen()) {
        // A file gone since the folder was listed is no fault of the walk.
        if (errno == EACCES || errno == EPERM)
            fault = ReadFault::Denied;
        else if (errno != ENOENT)
            fault = ReadFault::Failed;
        return VersionBlock();
    }
    const WatchedSource watched(file);
    std::string resource;
    const bool found = FindVersionResource(watched, resource);
    if (watched.Failed())
        fault = ReadFault::Failed;
    return found ? VersionBlock(std::move(resource)) : VersionBlock();
}
} // namespace

std::string PeVersionStrings::Read(const std::string& nativePath, const std::string& name) const {
    ReadFault fault = ReadFault::None;
    return ReadChecked(nativePath, name, fault);
}

std::string PeVersionStrings::ReadChecked(const std::string& nativePath, const std::string& name,
                                          ReadFault& fault) const {
    namespace fs = std::filesystem;
    fault = ReadFault::None;
    std::error_code ec;
    const fs::path path(nativePath);
    // A pipe or a device is no program, and opening one to read may wait for
    // ever for a writer.
    const fs::file_status status = fs::status(path, ec);
    if (!ec && !fs::is_regular_file(status))
        return std::string();
    const std::uintmax_t size = fs::file_size(path, ec);
    const auto time = ec ? fs::file_time_type() : fs::last_write_time(path, ec);
    if (ec) {
        // The library could not take the path apart: under MinGW an ANSI
        // path with Korean letters. The C library still opens it, so the file
        // is read as it is, without the cache.
        const VersionBlock block = ReadBlock(nativePath, fault);
        std::lock_guard<std::mutex> lock(mutex_);
        ++parsed_;
        return block.ReadString(name, conv_);
    }
    const std::int64_t ticks = static_cast<std::int64_t>(time.time_since_epoch().count());

    std::lock_guard<std::mutex> lock(mutex_);
    if (!cached_ || cachedPath_ != nativePath || cachedSize_ != size || cachedTime_ != ticks) {
        ++parsed_;
        cachedBlock_ = ReadBlock(nativePath, cachedFault_);
        cached_ = true;
        cachedPath_ = nativePath;
        cachedSize_ = size;
        cachedTime_ = ticks;
    }
    fault = cachedFault_;
    return cachedBlock_.ReadString(name, conv_);
}

std::size_t PeVersionStrings::FilesParsed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return parsed_;
}

} // namespace ostravion::pe
