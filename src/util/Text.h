// Double-byte text rules for CP949 byte strings.
//
// Every text inside the core is a CP949 byte string. A byte in 0x81..0xFE
// leads a two-byte character; its trail byte may be any byte (including ASCII
// letters), so searching, upper-casing and comparing must step over whole
// characters rather than single bytes.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ostravion::text {

inline bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// Length in bytes of the character that starts at position i.
inline std::size_t CharLength(std::string_view s, std::size_t i) {
    return (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

// First occurrence of needle in hay at or after `from`, matching only where a
// character starts. Returns npos when absent. `from` must be a character start.
std::size_t Find(std::string_view hay, std::string_view needle, std::size_t from = 0);

// Last occurrence of the single byte c (an ASCII character) at a character start.
std::size_t FindLastChar(std::string_view hay, char c);

inline bool Contains(std::string_view hay, std::string_view needle) {
    return Find(hay, needle) != std::string_view::npos;
}

// True when the text begins with prefix (a character boundary by construction).
inline bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// ASCII letters only; the bytes of double-byte characters are left alone.
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);

// Case-insensitive comparison of two texts (ASCII letters folded, double-byte
// characters compared as they are). Returns <0, 0 or >0 like strcmp.
int CompareNoCase(std::string_view a, std::string_view b);
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

// Case-sensitive comparison character by character in code order: a
// double-byte character counts as lead * 256 + trail, a single byte as
// itself, the end of a text as 0. Returns <0, 0 or >0 like strcmp.
int Compare(std::string_view a, std::string_view b);

// The texts helpers shared by every file of the system.
// SplitText: pieces between separators; an empty piece becomes "-"; a trailing
// separator adds no piece; the empty text gives no piece.
void SplitText(std::string_view text, std::string_view separator, std::vector<std::string>& out);
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);
// The same pieces without copies: views into text, or of the literal "-".
void SplitTextViews(std::string_view text, std::string_view separator,
                    std::vector<std::string_view>& out);

inline std::string DashIfEmpty(std::string_view s) {
    return s.empty() ? "-" : std::string(s);
}
inline std::string EmptyIfDash(std::string_view s) {
    return s == "-" ? std::string() : std::string(s);
}
inline std::string ZeroIfBlank(std::string_view s) {
    return (s.empty() || s == "-") ? "0" : std::string(s);
}

// Replace every occurrence of `from` by `to`, left to right, without overlap,
// matching at character boundaries.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// Line-and-field files cannot hold TAB, CR or LF inside a field: each becomes a blank.
std::string BlankControls(std::string_view s);

// A version-resource string as the scan keeps it: cut before the first CR LF;
// when there is none, before the first CR; when there is none either, before
// the first LF.
std::string CutAtLineBreak(std::string_view s);

// A file name that `taken` does not hold yet: the name itself, else
// "stem~2.ext", "stem~3.ext" and so on (a listing that must show two files
// whose names read alike).
std::string FreeName(const std::string& name, const std::function<bool(const std::string&)>& taken);

} // namespace ostravion::text
