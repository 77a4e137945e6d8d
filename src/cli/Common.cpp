#include "cli/Command.h"

#include <iostream>

namespace ostravion::cli {

void StderrMessages::Show(const std::string& text) {
    std::cerr << codec_.ToUtf8(text) << "\n";
}

bool StderrMessages::Ask(const std::string& question) {
    std::cerr << codec_.ToUtf8(question) << (answer_ ? " [yes]" : " [no]") << "\n";
    return answer_;
}

bool WriteNativeFile(const std::string& path, const std::string& bytes) {
    return ReplaceNativeFile(path, [&](std::unique_ptr<OutFile> out, const std::string&) {
        const bool written = out->Write(bytes);
        return out->Close() && written;
    });
}

} // namespace ostravion::cli
