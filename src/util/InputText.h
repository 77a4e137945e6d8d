// Text that a user hands in (a key-list TSV, a genuine-count CSV, a list of
// registered applications, a value typed or given on the command line) as
// the system's CP949 text.
//
// A file is read as UTF-8, a byte-order mark dropped, when its bytes are
// well-formed UTF-8; otherwise it is taken as CP949 as it is (what a Korean
// spreadsheet or editor saves). A UTF-8 text that holds a character without a
// CP949 form is refused: writing "?" in its place would change the evidence
// without a word.
#pragma once

#include "ports/Ports.h"

#include <string>
#include <string_view>

namespace ostravion {

namespace text {
// True when the bytes are well-formed UTF-8: no stray continuation byte, no
// overlong form, no surrogate, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);
// Well-formed UTF-8 with decomposed Hangul (leading consonant, vowel and
// trailing consonant jamo, as macOS stores names) composed into syllables.
std::string ComposeHangul(std::string_view utf8);
// Appends the UTF-8 form of one character.
void PutUtf8(std::string& out, char32_t c);
} // namespace text

enum class InputEncoding { Utf8, Cp949 };

// A character of a UTF-8 text that has no CP949 form, as the user typed it.
struct UnwritableCharacter {
    int line = 0;          // from 1
    int column = 0;        // in characters from the line's start, from 1
    std::string character; // UTF-8
    std::string codePoint; // "U+1F600"
};

struct InputText {
    std::string cp949;
    InputEncoding encoding = InputEncoding::Utf8;
};

// The CP949 text of a file's bytes by the rule above. False when a UTF-8
// text holds a character without a CP949 form: `bad` names the first one and
// `out` is left empty.
bool DecodeInputText(std::string_view bytes, const TextCodec& codec, InputText& out,
                     UnwritableCharacter& bad);

// A value given in UTF-8 (a command-line argument, a field typed in a
// window) as CP949; bytes that are no UTF-8 are taken as CP949. False, with the first character
// that has no CP949 form in `bad`, when there is one; `cp949` is then left empty.
bool ValueToCp949(std::string_view utf8, const TextCodec& codec, std::string& cp949,
                  UnwritableCharacter& bad);

} // namespace ostravion
