#include "cli/Command.h"
#include "util/Messages.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace ostravion::cli {

void StderrMessages::Show(const std::string& text) {
    std::cerr << codec_.ToUtf8(msg::WithKoreanLine(text)) << "\n";
}

bool StderrMessages::Ask(const std::string&) {
    return answer_;
}

namespace {
// A UTF-8 path from the command line; on Windows the library opens it through
// the wide calls.
std::filesystem::path Utf8Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
} // namespace

std::string ShownUtf8Path(const std::string& utf8) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(Utf8Path(utf8), error);
    if (error)
        path = Utf8Path(utf8);
    const std::u8string shown = path.lexically_normal().u8string();
    return std::string(shown.begin(), shown.end());
}

std::string ShownPath(const Context& ctx, const std::string& cp949) {
    std::string path = cp949;
    // The system's own paths separate folders with backslashes, which mean
    // the same as "/" where "/" is the separator. (No CP949 trail byte is a
    // backslash.)
    if (ctx.platform.Search().NativeSeparator() == '/')
        std::replace(path.begin(), path.end(), '\\', '/');
    return ShownUtf8Path(ctx.Utf8(path));
}

void ExplainKeyList(const Context& ctx, const std::string& path, const char* option) {
    std::cerr << "ostravion-cli: 키 리스트를 찾아본 곳: " << ShownPath(ctx, path) << "\n";
    if (option)
        std::cerr << "ostravion-cli: 다른 키 리스트를 쓰려면 " << option
                  << " FILE 로 지정하십시오.\n";
}

bool WriteNativeFile(const std::string& path, const std::string& bytes) {
    return ReplaceNativeFile(path, [&](std::unique_ptr<OutFile> out, const std::string&) {
        const bool written = out->Write(bytes);
        return out->Close() && written;
    });
}

void Say(const std::string& utf8) {
    std::cerr << "ostravion-cli: " << utf8 << "\n";
}

void SayCannotRead(const std::string& utf8Path) {
    Say("파일을 읽을 수 없습니다: " + ShownUtf8Path(utf8Path));
}

void SayCannotWrite(const std::string& utf8Path) {
    Say("파일을 쓸 수 없습니다: " + ShownUtf8Path(utf8Path));
}

void SayUnwritable(const std::string& where, const UnwritableCharacter& bad, bool oneLine) {
    std::string at = where + ": ";
    if (!oneLine)
        at += std::to_string(bad.line) + "번째 줄 ";
    at += std::to_string(bad.column) + "번째 글자 \"" + bad.character + "\"(" + bad.codePoint +
          ")는 한국어 코드 페이지(CP949)에 없는 문자라 그대로 쓸 수 없습니다.";
    Say(at);
    Say("아무것도 쓰지 않았습니다. 그 문자를 빼거나 바꾸어 다시 하십시오.");
}

bool GivenValuesFit(const Context& ctx,
                    std::initializer_list<std::pair<const char*, const std::string*>> values) {
    for (const auto& [option, value] : values) {
        if (!value)
            continue;
        std::string cp949;
        UnwritableCharacter bad;
        if (!ValueToCp949(*value, ctx.Codec(), cp949, bad)) {
            SayUnwritable(std::string(option) + " 값", bad, value->find('\n') == std::string::npos);
            return false;
        }
    }
    return true;
}

bool ReadInputFile(const Context& ctx, const std::string& utf8Path, InputText& text) {
    std::string bytes;
    if (!ReadNativeFile(utf8Path, bytes)) {
        SayCannotRead(utf8Path);
        return false;
    }
    UnwritableCharacter bad;
    if (!DecodeInputText(bytes, ctx.Codec(), text, bad)) {
        SayUnwritable(ShownUtf8Path(utf8Path), bad);
        return false;
    }
    return true;
}

const char* EncodingName(InputEncoding encoding) {
    return encoding == InputEncoding::Utf8 ? "UTF-8" : "CP949";
}

} // namespace ostravion::cli
