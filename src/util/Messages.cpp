#include "util/Messages.h"

#include <string_view>

namespace ostravion::msg {

namespace {
// The system's English file messages and the Korean line each gets.
struct KoreanLine {
    std::string_view english;
    const char* korean;
};
constexpr KoreanLine kKoreanLines[] = {
    // "키 리스트 파일을 열 수 없습니다."
    {"Key File Open Error...", "\xC5\xB0 \xB8\xAE\xBD\xBA\xC6\xAE \xC6\xC4\xC0\xCF\xC0\xBB "
                               "\xBF\xAD \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9."},
    // "키 리스트 파일을 읽을 수 없습니다."
    {"Key File Read Error...", "\xC5\xB0 \xB8\xAE\xBD\xBA\xC6\xAE \xC6\xC4\xC0\xCF\xC0\xBB "
                               "\xC0\xD0\xC0\xBB \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9."},
    // "파일을 쓸 수 없습니다."
    {"Write File Open Error...!!",
     "\xC6\xC4\xC0\xCF\xC0\xBB \xBE\xB5 \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9."},
    // "결과 파일을 열 수 없습니다."
    {"Result File Open Error...", "\xB0\xE1\xB0\xFA \xC6\xC4\xC0\xCF\xC0\xBB \xBF\xAD \xBC\xF6 "
                                  "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9."},
    // "파일을 열 수 없습니다."
    {"file open error..!",
     "\xC6\xC4\xC0\xCF\xC0\xBB \xBF\xAD \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9."},
    // "경로가 올바르지 않습니다."
    {"File is Bad Path...",
     "\xB0\xE6\xB7\xCE\xB0\xA1 \xBF\xC3\xB9\xD9\xB8\xA3\xC1\xF6 \xBE\xCA\xBD\xC0\xB4\xCF\xB4\xD9."},
    // "파일 이름이 올바르지 않습니다 (.tls 파일이어야 합니다)."
    {"File is Bad Named...",
     "\xC6\xC4\xC0\xCF \xC0\xCC\xB8\xA7\xC0\xCC \xBF\xC3\xB9\xD9\xB8\xA3\xC1\xF6 "
     "\xBE\xCA\xBD\xC0\xB4\xCF\xB4\xD9 (.tls \xC6\xC4\xC0\xCF\xC0\xCC\xBE\xEE\xBE\xDF "
     "\xC7\xD5\xB4\xCF\xB4\xD9)."},
    // "파일 이름으로 쓸 수 없는 이름입니다."
    {"File is Bad Path or Bad Function paramater...",
     "\xC6\xC4\xC0\xCF \xC0\xCC\xB8\xA7\xC0\xB8\xB7\xCE \xBE\xB5 \xBC\xF6 \xBE\xF8\xB4\xC2 "
     "\xC0\xCC\xB8\xA7\xC0\xD4\xB4\xCF\xB4\xD9."},
};
} // namespace

std::string WithKoreanLine(const std::string& text) {
    const std::size_t end = text.find('\n');
    const std::string_view first = std::string_view(text).substr(0, end);
    for (const KoreanLine& line : kKoreanLines)
        if (first == line.english) {
            std::string out(first);
            out += '\n';
            out += line.korean;
            if (end != std::string::npos)
                out += text.substr(end);
            return out;
        }
    return text;
}

} // namespace ostravion::msg
