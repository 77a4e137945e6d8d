#include "cli/Command.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace ostravion::cli {

void StderrMessages::Show(const std::string& text) {
    std::cerr << codec_.ToUtf8(text) << "\n";
}

bool StderrMessages::Ask(const std::string& question) {
    std::cerr << codec_.ToUtf8(question) << (answer_ ? " [yes]" : " [no]") << "\n";
    return answer_;
}

namespace {
// A UTF-8 path from the command line; on Windows the library opens it through
// the wide calls.
std::filesystem::path Utf8Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
} // namespace

bool ReadNativeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!in)
        return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    bytes = ss.str();
    return true;
}

bool WriteNativeFile(const std::string& path, const std::string& bytes) {
    return ReplaceNativeFile(path, [&](std::unique_ptr<OutFile> out, const std::string&) {
        const bool written = out->Write(bytes);
        return out->Close() && written;
    });
}

} // namespace ostravion::cli
