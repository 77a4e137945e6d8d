// Shared pieces of the fuzz targets: the split of one input into several
// files, and an in-memory file system in which the readers find them.
#pragma once

#include "Fakes.h"
#include "util/Text.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace ostravion::fuzz {

// The line that separates the files of one input ("\n#part#\n"). An input
// with fewer parts leaves the later files missing, so that the readers' open
// failures are reached too.
inline constexpr std::string_view kPartSeparator = "\n#part#\n";

// At most `count` parts; the last part keeps any further separators.
inline std::vector<std::string> SplitParts(const std::uint8_t* data, std::size_t size,
                                           std::size_t count) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    while (parts.size() + 1 < count) {
        const std::size_t at = rest.find(kPartSeparator);
        if (at == std::string_view::npos)
            break;
        parts.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at + kPartSeparator.size());
    }
    parts.emplace_back(rest);
    return parts;
}

// Messages are counted, not kept; every question is answered Yes, so that the
// flows behind a question run too.
class QuietMessages final : public MessagePort {
public:
    void Show(const std::string&) override { ++shown; }
    bool Ask(const std::string&) override {
        ++asked;
        return true;
    }
    int shown = 0;
    int asked = 0;
};

// Aborts with a message when a property of the readers does not hold, so that
// libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "fuzz property failed: %s\n", what);
    std::abort();
}
inline void Check(bool condition, const char* what) {
    if (!condition)
        Fail(what);
}

// False when the text ends in the first byte of a double-byte character with
// nothing after it. Such a value (never typed; only in a file made elsewhere)
// takes the line break written after it as its second byte.
inline bool EndsInWholeCharacter(std::string_view s) {
    if (s.empty())
        return true;
    std::size_t last = 0; // where the last character starts
    while (last + text::CharLength(s, last) < s.size())
        last += text::CharLength(s, last);
    return last + 1 < s.size() || !text::IsLeadByte(static_cast<unsigned char>(s.back()));
}

} // namespace ostravion::fuzz
