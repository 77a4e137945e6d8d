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
    // The bytes go to a new file beside the named one, which they replace
    // only once written whole: a failed write leaves an earlier file as it was.
    // That file is made anew, never through a link left in its place.
    const std::string fresh = path + ".new";
    auto out = CreateNativeFile(fresh);
    if (!out)
        return false;
    bool ok = out->Write(bytes);
    ok = out->Close() && ok;
    out.reset();
    if (ok && RenameNativeFile(fresh, path))
        return true;
    std::error_code ignored;
    std::filesystem::remove(Utf8Path(fresh), ignored);
    return false;
}

} // namespace ostravion::cli
