// Comma-separated text as spreadsheet programs read and write it: fields
// separated by commas, records by line breaks; a field in double quotes may
// hold commas, line breaks and quotes (written twice).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ostravion::csv {

// The UTF-8 byte-order mark that tells spreadsheet programs the encoding.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct Record {
    std::vector<std::string> fields;
    int line = 0; // the line the record starts on, from 1
};

// Splits the text into records. A byte-order mark at the start is skipped;
// records end at LF, CR LF or CR; a line with nothing on it is no record.
// False, with a message naming the line in `error` (Korean, CP949), when a quoted field is
// never closed or a closing quote is followed by anything but a comma or the
// end of the record; `records` then holds the records before it.
bool Parse(std::string_view text, std::vector<Record>& records, std::string& error);

// A text as a spreadsheet is to show it, without its NUL bytes (which an
// import drops): one it would take for a formula (one that begins with "=",
// "+", "@", a TAB or a CR, or with "-" and more that is no number, also
// behind other control characters and blanks) behind a leading apostrophe;
// any other as it is.
std::string AsText(std::string_view value);

// A field as written: in double quotes, with its quotes doubled, when it holds
// a comma, a quote or a line break; as it is otherwise. A text a spreadsheet
// would take for a formula gets a leading apostrophe first (AsText), so that
// it shows as the text it is; numbers, counts and rates such as "-3" or
// "-12.50%", and a lone "-", stay as they are.
std::string Field(std::string_view value);

// The fields joined by commas, ended by CR LF.
std::string Line(const std::vector<std::string>& fields);

} // namespace ostravion::csv
