// Version resources and PE files made byte by byte, for tests that need
// shapes no resource compiler writes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ostravion::test {

inline void Put16(std::string& b, std::uint16_t v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>(v >> 8);
}

inline void Put32(std::string& b, std::uint32_t v) {
    Put16(b, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(b, static_cast<std::uint16_t>(v >> 16));
}

inline void Set16(std::string& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

inline void Set32(std::string& b, std::size_t at, std::uint32_t v) {
    Set16(b, at, static_cast<std::uint16_t>(v & 0xFFFF));
    Set16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

inline std::string Utf16Bytes(std::u16string_view s) {
    std::string b;
    for (char16_t c : s)
        Put16(b, static_cast<std::uint16_t>(c));
    return b;
}

inline void PadTo4(std::string& b) {
    while (b.size() % 4 != 0)
        b += '\0';
}

// One node of a version resource: header, key, value, children.
struct VersionNode {
    std::u16string key;
    std::uint16_t type = 1;
    std::string value;             // the value's bytes as written
    std::uint16_t valueLength = 0; // as written in the header
    std::vector<VersionNode> children;
};

// A text value with its terminator; the length counts characters.
inline VersionNode Text(std::u16string key, std::u16string value) {
    VersionNode n{std::move(key),
                  1,
                  Utf16Bytes(value) + std::string(2, '\0'),
                  static_cast<std::uint16_t>(value.size() + 1),
                  {}};
    return n;
}

inline VersionNode Binary(std::u16string key, std::string bytes) {
    const auto length = static_cast<std::uint16_t>(bytes.size());
    return VersionNode{std::move(key), 0, std::move(bytes), length, {}};
}

inline VersionNode Block(std::u16string key, std::vector<VersionNode> children) {
    return VersionNode{std::move(key), 1, {}, 0, std::move(children)};
}

// The node as a resource compiler lays it out: the value and every child on
// a 32-bit boundary, the length covering everything but the last padding.
inline std::string Encode(const VersionNode& n) {
    std::string b;
    Put16(b, 0);
    Put16(b, n.valueLength);
    Put16(b, n.type);
    b += Utf16Bytes(n.key);
    Put16(b, 0);
    PadTo4(b);
    b += n.value;
    for (const VersionNode& c : n.children) {
        PadTo4(b);
        b += Encode(c);
    }
    Set16(b, 0, static_cast<std::uint16_t>(b.size()));
    return b;
}

// The root with a fixed-information value of the usual 52 bytes.
inline VersionNode Root(std::vector<VersionNode> children) {
    std::string fixed;
    Put32(fixed, 0xFEEF04BD);
    Put32(fixed, 0x00010000);
    fixed.resize(52, '\0');
    VersionNode n{u"VS_VERSION_INFO", 0, fixed, 52, std::move(children)};
    return n;
}

inline std::string TranslationBytes(std::vector<std::pair<std::uint16_t, std::uint16_t>> pairs) {
    std::string b;
    for (auto [lang, cp] : pairs) {
        Put16(b, lang);
        Put16(b, cp);
    }
    return b;
}

// The usual resource: a Korean Unicode string table named by the Translation.
inline VersionNode KoreanTree() {
    return Root({
        Block(u"StringFileInfo", {Block(u"041204b0",
                                        {
                                            Text(u"CompanyName", u"\uAD6D\uB0B4"),
                                            Text(u"FileDescription", u"Tool"),
                                            Text(u"ProductName", u"Product"),
                                            Text(u"ProductVersion", u"1.0"),
                                        })}),
        Block(u"VarFileInfo", {Binary(u"Translation", TranslationBytes({{0x0412, 1200}}))}),
    });
}

// A PE file with one resource section holding the version resource in one
// or more languages, and where its parts lie.
struct PeImage {
    std::string bytes;
    std::size_t pe = 0;          // "PE\0\0"
    std::size_t optional = 0;    // the optional header
    std::size_t rvaCount = 0;    // NumberOfRvaAndSizes
    std::size_t sections = 0;    // the section table
    std::size_t root = 0;        // the resource directory
    std::size_t nameDir = 0;     // the directory of ids under type 16
    std::size_t languageDir = 0; // the directory of languages
    std::size_t dataEntry = 0;   // the first data entry
    std::size_t data = 0;        // the first resource's bytes
};

constexpr std::uint32_t kRsrcRva = 0x1000;
constexpr std::size_t kRsrcFile = 0x200;

inline PeImage MakePe(const std::vector<std::pair<std::uint16_t, std::string>>& languages,
                      bool pe32plus = true, std::uint16_t typeId = 16, std::uint16_t nameId = 1) {
    PeImage img;
    std::string& b = img.bytes;
    b.assign(0x80, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    Set32(b, 0x3C, 0x80);
    img.pe = b.size();
    b += std::string("PE\0\0", 4);
    const std::uint16_t optionalSize = pe32plus ? 240 : 224;
    Put16(b, pe32plus ? 0x8664 : 0x14C);
    Put16(b, 1); // sections
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Put16(b, optionalSize);
    Put16(b, 0x2022);
    img.optional = b.size();
    b.resize(b.size() + optionalSize, '\0');
    Set16(b, img.optional, pe32plus ? 0x20B : 0x10B);
    Set32(b, img.optional + 60, static_cast<std::uint32_t>(kRsrcFile)); // SizeOfHeaders
    img.rvaCount = img.optional + (pe32plus ? 108 : 92);
    Set32(b, img.rvaCount, 16);
    const std::size_t resourceDir = img.rvaCount + 4 + 2 * 8;

    // The resource section.
    std::string r;
    img.root = kRsrcFile;
    r.resize(16, '\0');
    Set16(r, 14, 1);
    Put32(r, typeId);
    Put32(r, 0x80000000u | 0x18);
    img.nameDir = kRsrcFile + r.size();
    r.resize(r.size() + 16, '\0');
    Set16(r, 0x18 + 14, 1);
    Put32(r, nameId);
    Put32(r, 0x80000000u | 0x30);
    img.languageDir = kRsrcFile + r.size();
    r.resize(r.size() + 16, '\0');
    Set16(r, 0x30 + 14, static_cast<std::uint16_t>(languages.size()));
    const std::size_t entries = 0x40 + 8 * languages.size();
    for (std::size_t i = 0; i < languages.size(); ++i) {
        Put32(r, languages[i].first);
        Put32(r, static_cast<std::uint32_t>(entries + 16 * i));
    }
    img.dataEntry = kRsrcFile + entries;
    std::size_t dataAt = entries + 16 * languages.size();
    std::string data;
    for (std::size_t i = 0; i < languages.size(); ++i) {
        Put32(r, static_cast<std::uint32_t>(kRsrcRva + dataAt + data.size()));
        Put32(r, static_cast<std::uint32_t>(languages[i].second.size()));
        Put32(r, 0);
        Put32(r, 0);
        data += languages[i].second;
        PadTo4(data);
    }
    img.data = kRsrcFile + r.size();
    r += data;
    const auto rsrcSize = static_cast<std::uint32_t>(r.size());
    const std::uint32_t rawSize = (rsrcSize + 0x1FF) & ~0x1FFu;
    r.resize(rawSize, '\0');
    Set32(b, resourceDir, kRsrcRva);
    Set32(b, resourceDir + 4, rsrcSize);

    img.sections = b.size();
    b += std::string(".rsrc\0\0\0", 8);
    Put32(b, rsrcSize);
    Put32(b, kRsrcRva);
    Put32(b, rawSize);
    Put32(b, static_cast<std::uint32_t>(kRsrcFile));
    b.resize(b.size() + 12, '\0');
    Put32(b, 0x40000040);
    b.resize(kRsrcFile, '\0');
    b += r;
    return img;
}

} // namespace ostravion::test
