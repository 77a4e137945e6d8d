#include "doc/FileSelection.h"

#include "doc/Consolidation.h"
#include "util/AuditUtil.h"
#include "util/Text.h"

#include <algorithm>
#include <cstdio>

namespace ostravion {

std::string DefaultResultName(const LocalTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

namespace {

// The next code point of a UTF-8 text; a broken byte stands for itself.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
    if (n <= 1 || i + n > s.size()) {
        ++i;
        return c;
    }
    char32_t cp = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return c;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += n;
    return cp;
}

// The upper case NTFS gives the letters a CP949 name can hold: Latin, Greek,
// Cyrillic, full-width, small Roman numerals and circled letters.
char32_t UpperCase(char32_t c) {
    if (c >= 'a' && c <= 'z')
        return c - 0x20;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F) || (c >= 0xFF41 && c <= 0xFF5A))
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if (c == 0x3C2)
        return 0x3A3;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    if (c >= 0x2170 && c <= 0x217F)
        return c - 0x10;
    if (c >= 0x24D0 && c <= 0x24E9)
        return c - 0x1A;
    // Latin Extended-A pairs: upper case on even code points, except in the
    // two runs where it sits on the odd ones; the dotless i stays.
    if (c >= 0x100 && c <= 0x17F && c != 0x131 && c != 0x138 && c != 0x149) {
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper ? (c % 2 == 0) : (c % 2 == 1))
            return c - 1;
    }
    return c;
}

// A code point as UTF-16 code units in one comparable number: code points
// above the BMP sort as their high surrogate does, below U+E000.
std::pair<char32_t, char32_t> Utf16Units(char32_t c) {
    if (c < 0x10000)
        return {c, 0};
    c -= 0x10000;
    return {0xD800 + (c >> 10), 0xDC00 + (c & 0x3FF)};
}

bool EndsWithIpt(const std::string& name) {
    return name.size() >= 4 &&
           text::EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".ipt");
}

} // namespace

int CompareFileNames(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto x = Utf16Units(UpperCase(NextCodePoint(a, i)));
        const auto y = Utf16Units(UpperCase(NextCodePoint(b, j)));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

std::vector<std::string> ListPerPcFiles(const FileSystem& fs, const TextCodec& codec) {
    std::vector<std::string> all;
    if (!fs.ListFiles(kWorkFolder, all))
        return {};
    struct Entry {
        std::string name, key;
    };
    std::vector<Entry> entries;
    for (std::string& name : all)
        if (EndsWithIpt(name)) {
            std::string key = codec.ToUtf8(name);
            entries.push_back({std::move(name), std::move(key)});
        }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
        return CompareFileNames(x.key, y.key) < 0;
    });
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (Entry& e : entries)
        names.push_back(std::move(e.name));
    return names;
}

void FileSelection::Toggle(std::size_t row) {
    if (row < checked_.size())
        checked_[row] = !checked_[row];
}

void FileSelection::SetAll(bool checked) {
    std::fill(checked_.begin(), checked_.end(), checked);
}

std::vector<std::string> FileSelection::Checked() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (checked_[i])
            out.push_back(names_[i]);
    return out;
}

bool FileSelection::Accept(CAuditUtil& util) const {
    std::vector<std::string> chosen = Checked();
    if (chosen.empty()) {
        util.Messages().Show(consolidation::kNoFileSelected);
        return false;
    }
    util.SetSelectedFiles(chosen);
    return true;
}

SelectFilesModel::Outcome SelectFilesModel::Confirm() const {
    if (!files.Accept(util_))
        return Outcome::Cancelled;
    // An unusable name is refused with its message, and merging into an
    // existing total needs a Yes; either way another name may be typed.
    if (AcceptResultName(util_, resultName) != NameCheck::Accepted)
        return Outcome::StayOpen;
    return Outcome::Accepted;
}

} // namespace ostravion
