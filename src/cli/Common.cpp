#include "cli/Command.h"

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

bool ReadNativeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    bytes = ss.str();
    return true;
}

bool WriteNativeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

} // namespace ostravion::cli
