// Genuine licence counts imported from a spreadsheet: a CSV file in UTF-8
// or, as a Korean spreadsheet saves it, in CP949; one program per line, its name and its number of
// genuine licences. The counts go into the result-writing model as if typed into the genuine cells.
#pragma once

#include "doc/ResultWriting.h"
#include "ports/Ports.h"
#include "util/InputText.h"

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

// What keeps a CSV text's counts from being used whole.
struct GenuineCountProblems {
    // How the text was read (UTF-8 when its bytes are well-formed UTF-8, else CP949).
    InputEncoding encoding = InputEncoding::Utf8;
    // A character of a UTF-8 text without a CP949 form: nothing is read.
    bool unwritable = false;
    UnwritableCharacter character;
    // The parser's message naming the line (CP949) when the text is no CSV
    // (an unclosed quote, text after a closing quote): nothing usable is read.
    std::string error;
    // Records without a name and a whole-number count.
    std::vector<int> badLines;
    // The same program (letter case aside) given again with another count:
    // the line of its first count and the line of the other.
    std::vector<std::pair<int, int>> conflicts;
};

// Reads the counts of a CSV file's bytes. A program given twice with the same
// count is read once, at its first line. False when anything in `problems` is
// set: `counts` then holds what was readable, which is not to be applied.
bool ReadGenuineCounts(std::string_view csvBytes, const TextCodec& codec,
                       std::vector<GenuineCount>& counts, GenuineCountProblems& problems);

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
