#include "scan/KeyList.h"

#include "files/Container.h"
#include "util/Text.h"

namespace ostravion {

namespace {
// "국내" and "국외" in CP949.
constexpr std::string_view kDomestic = "\xB1\xB9\xB3\xBB";
constexpr std::string_view kForeign = "\xB1\xB9\xBF\xDC";
} // namespace

std::string KeyList::CodeDomestic(std::string_view label) {
    if (label == kDomestic)
        return "1";
    if (label == kForeign)
        return "2";
    return std::string();
}

void KeyList::Clear() {
    for (auto& c : columns_)
        c.clear();
    exeNameUpper_.clear();
    domesticCode_.clear();
    byName_.clear();
    filter_.assign(kFilterBits / 64, 0);
}

std::pair<std::size_t, std::size_t> KeyList::FilterBits(const std::string& upperName) {
    std::uint64_t x = std::hash<std::string>{}(upperName);
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return {static_cast<std::size_t>(x % kFilterBits),
            static_cast<std::size_t>((x >> 32) % kFilterBits)};
}

bool KeyList::CheckRead(bool opened, const std::string& bytes, MessagePort& messages) {
    if (!opened) {
        messages.Show(msg::kKeyFileOpenError);
        return false;
    }
    if (bytes.empty()) {
        messages.Show(msg::kKeyFileReadError);
        return false;
    }
    return true;
}

bool KeyList::Load(const FileSystem& fs, MessagePort& messages, const std::string& path) {
    std::string bytes;
    const bool opened = fs.ReadWhole(path, bytes);
    if (!CheckRead(opened, bytes, messages))
        return false;
    LoadFromContainer(bytes);
    return true;
}

void KeyList::LoadFromContainer(std::string_view bytes) {
    // The text ends at its first NUL byte.
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);
    LoadFromPayload(UnscrambleText(bytes));
}

void KeyList::LoadFromPayload(std::string_view payload) {
    Clear();
    std::vector<std::string_view> lines, fields;
    text::SplitTextViews(payload, "\r\n", lines);
    for (auto& c : columns_)
        c.reserve(lines.size());
    exeNameUpper_.reserve(lines.size());
    domesticCode_.reserve(lines.size());
    byName_.reserve(lines.size());
    for (const std::string_view line : lines) {
        text::SplitTextViews(line, "\t", fields);
        if (fields.size() < 5)
            continue;
        for (int c = 0; c < kColumns; ++c)
            columns_[c].emplace_back(c < static_cast<int>(fields.size()) ? fields[c]
                                                                         : std::string_view());
        std::string upper = fields.size() > 5 ? text::ToUpper(fields[5]) : std::string();
        const auto entry = static_cast<std::uint32_t>(exeNameUpper_.size());
        byName_[upper].push_back(entry);
        const auto [a, b] = FilterBits(upper);
        filter_[a / 64] |= std::uint64_t(1) << (a % 64);
        filter_[b / 64] |= std::uint64_t(1) << (b % 64);
        exeNameUpper_.push_back(std::move(upper));
        domesticCode_.push_back(fields.size() > 9 ? CodeDomestic(fields[9]) : std::string());
    }
}

const std::vector<std::uint32_t>* KeyList::EntriesOf(const std::string& upperName) const {
    if (filter_.empty())
        return nullptr;
    const auto [a, b] = FilterBits(upperName);
    if (!(filter_[a / 64] >> (a % 64) & 1) || !(filter_[b / 64] >> (b % 64) & 1))
        return nullptr;
    const auto it = byName_.find(upperName);
    return it == byName_.end() ? nullptr : &it->second;
}

int KeyList::MatchEntries(const std::vector<std::uint32_t>* entries, const std::string& upperName,
                          const std::string& sizeText,
                          const std::function<std::string()>& readVersion,
                          std::string& version) const {
    if (!entries)
        return text::Contains(upperName, ".EXE") ? kUnlistedExecutable : 0;
    version = readVersion ? readVersion() : std::string();
    for (const std::uint32_t k : *entries) {
        if (columns_[6][k] == sizeText)
            return static_cast<int>(k);
        if (columns_[4][k] == version)
            return static_cast<int>(k);
    }
    return kNameListedNoMatch;
}

} // namespace ostravion
