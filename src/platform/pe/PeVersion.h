// The version resource of a Windows program, read straight out of its PE file.
//
// The answers are those of GetFileVersionInfoA followed by VerQueryValueA on a
// Windows set to the Korean ANSI code page: the version resource with id 1
// in the language such a system prefers, its "\VarFileInfo\Translation"
// first pair naming the string table, the UTF-16 value turned into CP949.
//
// Standard C++ only: this folder also builds with the Windows cross compiler.
// The one thing it cannot do alone, UTF-16 to CP949, comes in through
// `Utf16ToAnsi` (iconv on Linux, WideCharToMultiByte on Windows).
#pragma once

#include "ports/Ports.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace ostravion::pe {

// Little-endian numbers at offset `o` of a byte string, as Windows files
// hold them; the caller makes sure the bytes are there.
inline std::uint16_t Le16(const std::string& b, std::size_t o) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[o]) |
                                      (static_cast<unsigned char>(b[o + 1]) << 8));
}
inline std::uint32_t Le32(const std::string& b, std::size_t o) {
    return static_cast<std::uint32_t>(Le16(b, o)) |
           (static_cast<std::uint32_t>(Le16(b, o + 2)) << 16);
}

// UTF-16 to the ANSI code page as WideCharToMultiByte does it without flags:
// every code unit on its own, so a unit without a form (a surrogate included)
// becomes one "?". U+0000 stays a zero byte.
class Utf16ToAnsi {
public:
    virtual ~Utf16ToAnsi() = default;
    virtual std::string Convert(std::u16string_view units) const = 0;
};

// Where the bytes of a file come from: memory, or a file opened by path.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Exactly `length` bytes from `offset`; false when they are not all there.
    virtual bool ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const override;

private:
    std::string_view bytes_;
};

// Reads pieces of a file through std::ifstream; only the headers, the
// resource directory and the version resource are read, never the whole file.
class FileSource final : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    bool IsOpen() const;
    std::uint64_t Size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const override;

private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
    std::uint64_t size_ = 0;
};

// A source read through another that notes whether a read within the
// file's bounds failed: a file whose bytes cannot be read is not a file
// without a version resource.
class WatchedSource final : public ByteSource {
public:
    explicit WatchedSource(const ByteSource& inner) : inner_(inner) {}
    std::uint64_t Size() const override { return inner_.Size(); }
    bool ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const override {
        const bool ok = inner_.ReadAt(offset, length, out);
        if (!ok && offset <= inner_.Size() && length <= inner_.Size() - offset)
            failed_ = true;
        return ok;
    }
    bool Failed() const { return failed_; }

private:
    const ByteSource& inner_;
    mutable bool failed_ = false;
};

// The languages tried, in order, when a version resource exists in several:
// neutral, Korean, Korean of no particular region, English (United States);
// when none of them is there, the first language the file lists.
std::vector<std::uint16_t> KoreanSystemLanguages();

// The bytes of the version resource (type 16, id 1) as GetFileVersionInfo
// copies them; false when the file is no PE file or has no version resource.
bool FindVersionResource(const ByteSource& file, std::string& resource,
                         const std::vector<std::uint16_t>& languages = KoreanSystemLanguages());

// A version resource, queried as VerQueryValueA queries the buffer that
// GetFileVersionInfoA filled: twice the resource size plus four bytes, zero
// filled, the resource at its start. Every read stays inside that buffer; a
// structure that would lead outside it gives no value.
class VersionBlock {
public:
    VersionBlock() = default;
    explicit VersionBlock(std::string resource);

    // The first language/code-page pair of "\VarFileInfo\Translation";
    // false when there is none (also when the value is shorter than one pair).
    // A list marked as text is converted first, as the ANSI call does.
    bool Translation(std::uint16_t& language, std::uint16_t& codePage,
                     const Utf16ToAnsi& conv) const;

    // The value at a path such as "\StringFileInfo\041204b0\CompanyName",
    // as the ANSI call hands it to a caller that takes it as text: text
    // values converted to CP949 and cut at the first zero, binary values as
    // their bytes up to the first zero. Empty when there is no such value or
    // it has length 0.
    std::string QueryText(std::string_view path, const Utf16ToAnsi& conv) const;

    // CompanyName, ProductVersion ...: the string of the table named by the
    // first Translation pair; empty when any step finds nothing.
    std::string ReadString(std::string_view name, const Utf16ToAnsi& conv) const;

private:
    struct Node {
        std::size_t offset = 0;
        std::uint16_t length = 0;
        std::uint16_t valueLength = 0;
        std::uint16_t type = 0;
        std::size_t value = 0; // where the value starts
    };
    bool Word(std::size_t offset, std::uint16_t& v) const;
    bool ReadNode(std::size_t offset, Node& node) const;
    bool FindChild(const Node& parent, std::string_view key, Node& child) const;
    bool Lookup(std::string_view path, Node& node) const;
    std::string TextValue(const Node& node, const Utf16ToAnsi& conv) const;

    std::string buffer_; // the whole GetFileVersionInfo buffer
    std::size_t rootLength_ = 0;
};

// One string of the version resource of a file given as bytes: the whole
// ReadVersionString answer before any cut at a line break.
std::string ReadVersionString(std::string_view fileBytes, std::string_view name,
                              const Utf16ToAnsi& conv);

// The version strings of files on disk. The walk asks for up to four strings
// of one file in a row: the version resource of the last file read is kept,
// and used again while the path, size and modification time stay the same.
class PeVersionStrings final : public VersionStrings {
public:
    explicit PeVersionStrings(const Utf16ToAnsi& conv) : conv_(conv) {}
    std::string Read(const std::string& nativePath, const std::string& name) const override;
    // A file that cannot be opened for its rights is Denied; one that cannot
    // be opened or read for another reason is Failed.
    std::string ReadChecked(const std::string& nativePath, const std::string& name,
                            ReadFault& fault) const override;
    // How many times a file was opened and parsed (for tests and benchmarks).
    std::size_t FilesParsed() const;

private:
    const Utf16ToAnsi& conv_;
    mutable std::mutex mutex_;
    mutable bool cached_ = false;
    mutable std::string cachedPath_;
    mutable std::uint64_t cachedSize_ = 0;
    mutable std::int64_t cachedTime_ = 0;
    mutable VersionBlock cachedBlock_;
    mutable ReadFault cachedFault_ = ReadFault::None;
    mutable std::size_t parsed_ = 0;
};

} // namespace ostravion::pe
