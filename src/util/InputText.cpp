#include "util/InputText.h"

#include "util/Csv.h"

#include <cstdio>
#include <vector>

namespace ostravion {

namespace {

// The length of the well-formed UTF-8 character at i, or 0 when there is none.
std::size_t Utf8CharAt(std::string_view s, std::size_t i, char32_t* value = nullptr) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    char32_t v = 0;
    if (b < 0x80) {
        n = 1;
        v = b;
    } else if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
        v = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        v = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        v = b & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        v = (v << 6) | (c & 0x3F);
    }
    if ((n == 3 && v < 0x800) || (n == 4 && (v < 0x10000 || v > 0x10FFFF)) ||
        (v >= 0xD800 && v <= 0xDFFF))
        return 0;
    if (value)
        *value = v;
    return n;
}

// The first character of a well-formed UTF-8 text without a CP949 form.
// Characters are tried one by one only when the whole text does not come
// back the same, which is the rare case.
bool FindUnwritable(std::string_view utf8, const TextCodec& codec, UnwritableCharacter& bad) {
    int line = 1, column = 1;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t v = 0;
        const std::size_t n = Utf8CharAt(utf8, i, &v);
        const std::string ch(utf8.substr(i, n));
        if (n > 1 && codec.ToUtf8(codec.FromUtf8(ch)) != ch) {
            bad.line = line;
            bad.column = column;
            bad.character = ch;
            char buf[16];
            std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(v));
            bad.codePoint = buf;
            return true;
        }
        if (ch == "\n") {
            ++line;
            column = 1;
        } else {
            ++column;
        }
        i += n;
    }
    return false;
}

// `utf8` must be well-formed.
bool Convert(std::string_view utf8, const TextCodec& codec, std::string& cp949,
             UnwritableCharacter& bad) {
    const std::string given(utf8);
    cp949 = codec.FromUtf8(given);
    if (codec.ToUtf8(cp949) == given)
        return true;
    if (FindUnwritable(utf8, codec, bad)) {
        cp949.clear();
        return false;
    }
    return true;
}

} // namespace

namespace text {
void PutUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}
} // namespace text

bool text::IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = Utf8CharAt(bytes, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string text::ComposeHangul(std::string_view utf8) {
    std::vector<char32_t> cps;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t n = Utf8CharAt(utf8, i, &c);
        if (n == 0)
            return std::string(utf8); // not well-formed: left as it is
        cps.push_back(c);
        i += n;
    }
    std::string out;
    for (std::size_t i = 0; i < cps.size(); ++i) {
        char32_t c = cps[i];
        if (c >= 0x1100 && c <= 0x1112 && i + 1 < cps.size() && cps[i + 1] >= 0x1161 &&
            cps[i + 1] <= 0x1175) {
            c = 0xAC00 + ((c - 0x1100) * 21 + (cps[i + 1] - 0x1161)) * 28;
            ++i;
            if (i + 1 < cps.size() && cps[i + 1] >= 0x11A8 && cps[i + 1] <= 0x11C2) {
                c += cps[i + 1] - 0x11A7;
                ++i;
            }
        }
        text::PutUtf8(out, c);
    }
    return out;
}

bool DecodeInputText(std::string_view bytes, const TextCodec& codec, InputText& out,
                     UnwritableCharacter& bad) {
    out = InputText();
    if (!text::IsValidUtf8(bytes)) {
        out.encoding = InputEncoding::Cp949;
        out.cp949 = std::string(bytes);
        return true;
    }
    if (bytes.substr(0, csv::kUtf8Bom.size()) == csv::kUtf8Bom)
        bytes.remove_prefix(csv::kUtf8Bom.size());
    return Convert(bytes, codec, out.cp949, bad);
}

bool ValueToCp949(std::string_view utf8, const TextCodec& codec, std::string& cp949,
                  UnwritableCharacter& bad) {
    if (!text::IsValidUtf8(utf8)) {
        cp949 = std::string(utf8);
        return true;
    }
    return Convert(utf8, codec, cp949, bad);
}

} // namespace ostravion
