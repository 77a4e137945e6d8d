#include "util/Csv.h"

#include <algorithm>

namespace ostravion::csv {

bool Parse(std::string_view text, std::vector<Record>& records, std::string& error) {
    records.clear();
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        text.remove_prefix(kUtf8Bom.size());

    int line = 1;
    std::size_t i = 0;
    const std::size_t n = text.size();
    // Steps over one line break at i, if there is one; true when it did.
    const auto lineBreak = [&] {
        if (i < n && text[i] == '\r') {
            ++i;
            if (i < n && text[i] == '\n')
                ++i;
        } else if (i < n && text[i] == '\n') {
            ++i;
        } else {
            return false;
        }
        ++line;
        return true;
    };

    while (i < n) {
        if (lineBreak())
            continue; // an empty line
        Record record;
        record.line = line;
        while (true) {
            std::string field;
            if (text[i] == '"') {
                const int opened = line;
                ++i;
                while (true) {
                    if (i >= n) {
                        // "N번째 줄: 따옴표로 연 칸이 닫히지 않았습니다."
                        error = std::to_string(opened) +
                                "\xB9\xF8\xC2\xB0 \xC1\xD9: \xB5\xFB\xBF\xC8\xC7\xA5\xB7\xCE "
                                "\xBF\xAC \xC4\xAD\xC0\xCC \xB4\xDD\xC8\xF7\xC1\xF6 "
                                "\xBE\xCA\xBE\xD2\xBD\xC0\xB4\xCF\xB4\xD9.";
                        return false;
                    }
                    if (text[i] == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (text[i] == '\n' || (text[i] == '\r' && !(i + 1 < n && text[i + 1] == '\n')))
                        ++line;
                    field += text[i++];
                }
                if (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                    // "N번째 줄: 닫는 따옴표 뒤에 쉼표가 아닌 글이 있습니다."
                    error = std::to_string(line) +
                            "\xB9\xF8\xC2\xB0 \xC1\xD9: \xB4\xDD\xB4\xC2 \xB5\xFB\xBF\xC8\xC7\xA5 "
                            "\xB5\xDA\xBF\xA1 \xBD\xB0\xC7\xA5\xB0\xA1 \xBE\xC6\xB4\xD1 "
                            "\xB1\xDB\xC0\xCC \xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.";
                    return false;
                }
            } else {
                while (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n')
                    field += text[i++];
            }
            record.fields.push_back(std::move(field));
            if (i < n && text[i] == ',') {
                ++i;
                if (i >= n)
                    record.fields.emplace_back();
                else if (text[i] != '\r' && text[i] != '\n')
                    continue;
                else
                    record.fields.emplace_back();
            }
            break;
        }
        records.push_back(std::move(record));
        lineBreak();
    }
    return true;
}

namespace {

// Digits with an optional fraction and an optional "%": "3", "12.50%".
bool IsUnsignedNumber(std::string_view s) {
    if (!s.empty() && s.back() == '%')
        s.remove_suffix(1);
    const std::size_t point = s.find('.');
    const std::string_view whole = s.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : s.substr(point + 1);
    const auto digits = [](std::string_view d) {
        return !d.empty() && d.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return digits(whole) && (point == std::string_view::npos || digits(fraction));
}

// Control characters and blanks: spreadsheet imports drop or trim them
// before they look for a formula.
bool IsSkippedAhead(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u <= 0x20 || u == 0x7F;
}

bool ReadAsFormula(std::string_view value) {
    if (value.empty())
        return false;
    // A TAB or a CR is a formula start of its own; other control
    // characters and blanks in front of one hide it.
    if (value.front() != '\t' && value.front() != '\r') {
        const std::size_t first = static_cast<std::size_t>(
            std::find_if_not(value.begin(), value.end(), IsSkippedAhead) - value.begin());
        if (first > 0 && first < value.size() && ReadAsFormula(value.substr(first)))
            return true;
    }
    switch (value.front()) {
    case '=':
    case '+':
    case '@':
    case '\t':
    case '\r':
        return true;
    case '-':
        return value.size() > 1 && !IsUnsignedNumber(value.substr(1));
    default:
        return false;
    }
}

} // namespace

std::string AsText(std::string_view original) {
    // NUL goes: an import drops it, and what stood behind it would be read
    // as the start of the cell.
    std::string value(original);
    value.erase(std::remove(value.begin(), value.end(), '\0'), value.end());
    return ReadAsFormula(value) ? "'" + value : value;
}

std::string Field(std::string_view original) {
    const std::string text = AsText(original);
    const std::string_view value = text;
    if (value.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(value);
    std::string out = "\"";
    for (char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string Line(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += Field(fields[i]);
    }
    out += "\r\n";
    return out;
}

} // namespace ostravion::csv
