#include "util/Text.h"

#include <cstring>

namespace ostravion::text {

std::size_t Find(std::string_view hay, std::string_view needle, std::size_t from) {
    if (needle.empty())
        return from <= hay.size() ? from : std::string_view::npos;
    // Candidates come from memchr; a candidate is a character start when the
    // run of lead-range bytes right before it (back to a known start) is even,
    // since the byte before such a run always ends a character.
    const char first = needle[0];
    std::size_t start = from; // a character start
    while (start < hay.size()) {
        const void* hit = std::memchr(hay.data() + start, first, hay.size() - start);
        if (!hit)
            break;
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - hay.data());
        std::size_t run = at;
        while (run > start && IsLeadByte(static_cast<unsigned char>(hay[run - 1])))
            --run;
        if ((at - run) % 2 != 0) {
            start = at + 1; // a trail byte: the next character starts after it
            continue;
        }
        if (hay.size() - at >= needle.size() && hay.compare(at, needle.size(), needle) == 0)
            return at;
        start = at + CharLength(hay, at);
    }
    return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view hay, char c) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < hay.size(); i += CharLength(hay, i))
        if (hay[i] == c)
            found = i;
    return found;
}

namespace {
template <typename F> std::string MapAscii(std::string_view s, F f) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t n = CharLength(out, i);
        if (n == 1)
            out[i] = f(out[i]);
        i += n;
    }
    return out;
}
char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

std::string ToUpper(std::string_view s) {
    return MapAscii(s, Upper);
}
std::string ToLower(std::string_view s) {
    return MapAscii(s, Lower);
}

int CompareNoCase(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t na = CharLength(a, i), nb = CharLength(b, j);
        unsigned char ca = static_cast<unsigned char>(na == 1 ? Lower(a[i]) : a[i]);
        unsigned char cb = static_cast<unsigned char>(nb == 1 ? Lower(b[j]) : b[j]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (na == 2 && nb == 2) {
            ca = static_cast<unsigned char>(a[i + 1]);
            cb = static_cast<unsigned char>(b[j + 1]);
            if (ca != cb)
                return ca < cb ? -1 : 1;
        } else if (na != nb) {
            return na < nb ? -1 : 1;
        }
        i += na;
        j += nb;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

int Compare(std::string_view a, std::string_view b) {
    // Equal texts are the common case when a list is sorted by a column that
    // repeats (the maker): they need no walk character by character.
    if (a == b)
        return 0;
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        unsigned ca = 0, cb = 0;
        std::size_t na = 0, nb = 0;
        if (i < a.size()) {
            na = CharLength(a, i);
            ca = static_cast<unsigned char>(a[i]);
            if (na == 2)
                ca = (ca << 8) | static_cast<unsigned char>(a[i + 1]);
        }
        if (j < b.size()) {
            nb = CharLength(b, j);
            cb = static_cast<unsigned char>(b[j]);
            if (nb == 2)
                cb = (cb << 8) | static_cast<unsigned char>(b[j + 1]);
        }
        if (ca != cb)
            return ca < cb ? -1 : 1;
        i += na;
        j += nb;
    }
    return 0;
}

namespace {
template <typename Piece>
void SplitInto(std::string_view text, std::string_view separator, std::vector<Piece>& out) {
    out.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t at = Find(text, separator, start);
        if (at == std::string_view::npos)
            break;
        const std::string_view piece = text.substr(start, at - start);
        out.emplace_back(piece.empty() ? std::string_view("-") : piece);
        start = at + separator.size();
    }
    if (start < text.size())
        out.emplace_back(text.substr(start));
}
} // namespace

void SplitText(std::string_view text, std::string_view separator, std::vector<std::string>& out) {
    SplitInto(text, separator, out);
}

void SplitTextViews(std::string_view text, std::string_view separator,
                    std::vector<std::string_view>& out) {
    SplitInto(text, separator, out);
}

std::vector<std::string> SplitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> out;
    SplitText(text, separator, out);
    return out;
}

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(s);
    std::string out;
    out.reserve(s.size());
    std::size_t start = 0;
    while (true) {
        const std::size_t at = Find(s, from, start);
        if (at == std::string_view::npos)
            break;
        out.append(s.substr(start, at - start));
        out.append(to);
        start = at + from.size();
    }
    out.append(s.substr(start));
    return out;
}

std::string BlankControls(std::string_view s) {
    std::string out(s);
    if (out.find_first_of("\t\r\n") == std::string::npos)
        return out;
    for (std::size_t i = 0; i < out.size(); i += CharLength(out, i))
        if (out[i] == '\t' || out[i] == '\r' || out[i] == '\n')
            out[i] = ' ';
    return out;
}

std::string FreeName(const std::string& name,
                     const std::function<bool(const std::string&)>& taken) {
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    std::string free = name;
    for (int n = 2; taken(free); ++n)
        free = stem + "~" + std::to_string(n) + ext;
    return free;
}

std::string CutAtLineBreak(std::string_view s) {
    for (const std::string_view brk : {"\r\n", "\r", "\n"}) {
        const std::size_t at = Find(s, brk);
        if (at != std::string_view::npos)
            return std::string(s.substr(0, at));
    }
    return std::string(s);
}

} // namespace ostravion::text
