// The system's own message texts about files and names, each defined once:
// every reader, writer and face shows these.
#pragma once

#include "ports/Ports.h"

#include <string>

namespace ostravion::msg {

inline constexpr const char* kBadPath = "File is Bad Path...";
inline constexpr const char* kBadNamed = "File is Bad Named...";
inline constexpr const char* kBadPathOrParam = "File is Bad Path or Bad Function paramater...";
inline constexpr const char* kWriteFileOpenError = "Write File Open Error...!!";
inline constexpr const char* kResultFileOpenError = "Result File Open Error...";

// The lines after "File is Bad Path or Bad Function paramater..." that say why
// a typed name cannot make a file on Windows.
// "이름에 쓸 수 없는 문자가 있습니다: ", followed by the character
inline constexpr const char* kNameBadCharacter =
    "\xC0\xCC\xB8\xA7\xBF\xA1 \xBE\xB5 \xBC\xF6 \xBE\xF8\xB4\xC2 \xB9\xAE\xC0\xDA\xB0\xA1 "
    "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9: ";
// "이름에 제어 문자를 쓸 수 없습니다."
inline constexpr const char* kNameControlCharacter =
    "\xC0\xCC\xB8\xA7\xBF\xA1 \xC1\xA6\xBE\xEE \xB9\xAE\xC0\xDA\xB8\xA6 \xBE\xB5 \xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "이름은 마침표(.)나 공백으로 끝날 수 없습니다."
inline constexpr const char* kNameTrailingDot =
    "\xC0\xCC\xB8\xA7\xC0\xBA \xB8\xB6\xC4\xA7\xC7\xA5(.)\xB3\xAA \xB0\xF8\xB9\xE9\xC0\xB8\xB7\xCE "
    "\xB3\xA1\xB3\xAF \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "파일 경로가 259자를 넘습니다. 더 짧은 이름을 쓰십시오."
inline constexpr const char* kPathTooLong =
    "\xC6\xC4\xC0\xCF \xB0\xE6\xB7\xCE\xB0\xA1 259\xC0\xDA\xB8\xA6 "
    "\xB3\xD1\xBD\xC0\xB4\xCF\xB4\xD9. "
    "\xB4\xF5 \xC2\xAA\xC0\xBA \xC0\xCC\xB8\xA7\xC0\xBB \xBE\xB2\xBD\xCA\xBD\xC3\xBF\xC0.";
// "검사 결과는 임시 파일에 남아 있습니다: ", followed by the scan journal's path
inline constexpr const char* kJournalKept =
    "\xB0\xCB\xBB\xE7 \xB0\xE1\xB0\xFA\xB4\xC2 \xC0\xD3\xBD\xC3 \xC6\xC4\xC0\xCF\xBF\xA1 "
    "\xB3\xB2\xBE\xC6 \xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9: ";
// "이전 검사가 남긴 임시 파일이 있어 그대로 둡니다: " (journals follow, one a line)
inline constexpr const char* kJournalFound =
    "\xC0\xCC\xC0\xFC \xB0\xCB\xBB\xE7\xB0\xA1 \xB3\xB2\xB1\xE4 \xC0\xD3\xBD\xC3 "
    "\xC6\xC4\xC0\xCF\xC0\xCC \xC0\xD6\xBE\xEE \xB1\xD7\xB4\xEB\xB7\xCE "
    "\xB5\xD3\xB4\xCF\xB4\xD9:";
// "결과 파일이 이 Total 파일의 것이 아닙니다."
inline constexpr const char* kForeignResult =
    "\xB0\xE1\xB0\xFA \xC6\xC4\xC0\xCF\xC0\xCC \xC0\xCC Total \xC6\xC4\xC0\xCF\xC0\xC7 "
    "\xB0\xCD\xC0\xCC \xBE\xC6\xB4\xD5\xB4\xCF\xB4\xD9.";

// "한국어 코드 페이지(CP949)에 없는 문자는 쓸 수 없습니다: ", followed by the character as typed
// and its code point
inline constexpr const char* kNoCp949Form =
    "\xC7\xD1\xB1\xB9\xBE\xEE \xC4\xDA\xB5\xE5 \xC6\xE4\xC0\xCC\xC1\xF6(CP949)\xBF\xA1 "
    "\xBE\xF8\xB4\xC2 \xB9\xAE\xC0\xDA\xB4\xC2 \xBE\xB5 \xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9: ";

// A message as a face shows it: one of the system's English file messages
// ("Write File Open Error...!!" and the like) keeps its text and gets a
// Korean line right after it, for users who read Korean only; any other text
// is returned as it is. CP949.
std::string WithKoreanLine(const std::string& text);

// Messages kept rather than shown, for a step whose messages are told
// another way or not at all; every question is answered No.
class Collected final : public MessagePort {
public:
    void Show(const std::string& text) override {
        if (!text_.empty())
            text_ += '\n';
        text_ += text;
    }
    bool Ask(const std::string&) override { return false; }
    // Every message shown, one after the other, a line break between them.
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

} // namespace ostravion::msg
