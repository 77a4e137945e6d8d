#include "cli/Command.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace ostravion::cli {

void StderrMessages::Show(const std::string& text) {
    std::cerr << codec_.ToUtf8(text) << "\n";
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

} // namespace ostravion::cli
