// The kit's read-me (CP949) gives the auditor command lines to type: each one
// must be taken by the Windows build's parser as it stands, split into words
// by the system's own CommandLineToArgvW.
#include "cli/Command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <windows.h>

#include <shellapi.h>

namespace ostravion::cli {
namespace {

std::wstring Wide(const std::string& bytes, UINT codePage) {
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), size)));
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    const int size = static_cast<int>(wide.size());
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(
        CP_UTF8, 0, wide.data(), size, utf8.data(), size * 3, nullptr, nullptr)));
    return utf8;
}

TEST(KitReadme, EveryCommandLineIsTakenByTheParser) {
    std::ifstream in(OSTRAVION_KIT_README, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::wistringstream text(Wide(bytes.str(), 949));
    int commands = 0;
    bool pdf = false;
    for (std::wstring line; std::getline(text, line);) {
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        const std::size_t at = line.find(L"ostravion-cli ");
        if (at == std::wstring::npos)
            continue;
        // A command inside a sentence could not be typed as it stands.
        EXPECT_EQ(line.find_first_not_of(L' '), at) << Utf8(line);
        ++commands;
        int argc = 0;
        LPWSTR* wide = CommandLineToArgvW(line.substr(at).c_str(), &argc);
        std::vector<std::string> words;
        for (int i = 0; i < argc; ++i)
            words.push_back(Utf8(wide[i]));
        LocalFree(wide);
        std::vector<char*> argv;
        for (std::string& w : words)
            argv.push_back(w.data());
        CLI::App app;
        GlobalOptions global;
        const auto all = MakeCommands();
        BuildParser(app, global, all);
        try {
            app.parse(argc, argv.data());
        } catch (const CLI::Success&) {
            // --version ends the parse as it should.
        } catch (const CLI::ParseError& e) {
            ADD_FAILURE() << Utf8(line) << "\n  " << e.what();
        }
        pdf = pdf || (line.find(L" report ") != std::wstring::npos &&
                      line.find(L" --pdf ") != std::wstring::npos);
    }
    EXPECT_GE(commands, 6) << OSTRAVION_KIT_README;
    EXPECT_TRUE(pdf) << "the read-me shows how to make a PDF report";
}

} // namespace
} // namespace ostravion::cli
