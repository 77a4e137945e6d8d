// The kit's read-me gives the auditor command lines to type: each one must be
// taken by the Windows build's parser as it stands, split into words as the
// system splits a command line.
#include "cli/Command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

#include <shellapi.h>

namespace ostravion::cli {
namespace {

std::string Trimmed(const std::string& line) {
    const std::size_t start = line.find_first_not_of(" \t");
    const std::size_t end = line.find_last_not_of(" \t\r");
    return start == std::string::npos ? std::string() : line.substr(start, end - start + 1);
}

// The read-me is CP949, as the kit ships it; the words come out of the
// system's own splitting of a command line.
std::string AsUtf8(const std::wstring& wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                        nullptr, nullptr);
    return utf8;
}

std::string ReadmeText(const std::string& bytes) {
    const int n =
        MultiByteToWideChar(949, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    MultiByteToWideChar(949, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
    return AsUtf8(wide);
}

std::vector<std::string> Words(const std::string& line) {
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(), n);
    int count = 0;
    LPWSTR* split = CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> words;
    for (int i = 0; split && i < count; ++i)
        words.push_back(AsUtf8(split[i]));
    LocalFree(split);
    return words;
}
// Every line of the read-me that speaks of the command line program as a
// command ("ostravion-cli " and not its file name "ostravion-cli.exe").
std::vector<std::string> CommandLines(std::vector<std::string>* inProse) {
    std::ifstream in(OSTRAVION_KIT_README, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::istringstream text(ReadmeText(bytes.str()));
    std::vector<std::string> commands;
    for (std::string line; std::getline(text, line);) {
        const std::string t = Trimmed(line);
        if (t.rfind("ostravion-cli ", 0) == 0)
            commands.push_back(t);
        else if (t.find("ostravion-cli ") != std::string::npos)
            inProse->push_back(t);
    }
    return commands;
}

TEST(KitReadme, EveryCommandLineIsTakenByTheParser) {
    std::vector<std::string> inProse;
    const std::vector<std::string> commands = CommandLines(&inProse);
    // A command in a sentence could not be typed as it stands.
    EXPECT_TRUE(inProse.empty()) << inProse.front();
    ASSERT_GE(commands.size(), 6u) << "the read-me at " << OSTRAVION_KIT_README;
    bool pdf = false;
    for (const std::string& line : commands) {
        std::vector<std::string> words = Words(line);
        ASSERT_FALSE(words.empty());
        std::vector<char*> argv;
        for (std::string& w : words)
            argv.push_back(w.data());
        CLI::App app;
        GlobalOptions global;
        const auto commandsOfBuild = MakeCommands();
        BuildParser(app, global, commandsOfBuild);
        try {
            app.parse(static_cast<int>(argv.size()), argv.data());
        } catch (const CLI::Success&) {
            // --version and --help end the parse as they should.
        } catch (const CLI::ParseError& e) {
            ADD_FAILURE() << line << "\n  " << e.what();
        }
        pdf = pdf || (line.find(" report ") != std::string::npos &&
                      line.find(" --pdf ") != std::string::npos);
    }
    EXPECT_TRUE(pdf) << "the read-me shows how to make a PDF report";
}

} // namespace
} // namespace ostravion::cli
