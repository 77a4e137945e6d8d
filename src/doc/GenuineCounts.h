// Genuine licence counts imported from a spreadsheet: a CSV file in UTF-8,
// one program per line, its name and its number of genuine licences. The
// counts go into the result-writing model as if typed into the genuine cells.
#pragma once

#include "doc/ResultWriting.h"
#include "ports/Ports.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ostravion {

struct GenuineCount {
    std::string program; // CP949
    std::string count;   // as written: a whole number from 0, blanks around it allowed
    int line = 0;        // the line of the CSV text the record starts on, from 1
};

// Reads the counts of a CSV text. False, with the parser's message naming the
// line in `error`, when the text is no CSV (an unclosed quote, text after a
// closing quote): `counts` then holds nothing usable. Records without a name
// and a whole-number count are left out and their lines listed in
// `badLines`; the result is then false as well, with `error` empty.
bool ReadGenuineCounts(std::string_view csvText, const TextCodec& codec,
                       std::vector<GenuineCount>& counts, std::string& error,
                       std::vector<int>& badLines);

// What the import tells about single counts while they are applied.
struct GenuineCountEvents {
    // The count was above the row's installed count: the genuine cell became "0".
    std::function<void(const GenuineCount&, int row)> genuineReset;
    // No row has the program's name.
    std::function<void(const GenuineCount&)> noSuchProgram;
};

// Each count goes to every row of that program name (letter case aside), as
// if typed into its genuine cell. Returns the number of rows changed.
int ApplyGenuineCounts(CResultWriting& model, const std::vector<GenuineCount>& counts,
                       const GenuineCountEvents& events = {});

} // namespace ostravion
