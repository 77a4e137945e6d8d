// ostravion-cli: the audit driven from the command line.
#include "cli/Command.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#undef SetCurrentDirectory // the port's member, not the "A" function
#endif

int main(int argc, char** argv) {
    using namespace ostravion;
#ifdef _WIN32
    // Bytes go out as they are: a CR LF payload must not become CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The arguments are read as UTF-8, as on Linux: taken from the wide
    // command line, not from the ANSI one, which has lost what CP949 lacks.
    std::vector<std::string> utf8Args;
    std::vector<char*> utf8Argv;
    int wideCount = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &wideCount)) {
        for (int i = 0; i < wideCount; ++i) {
            const int n =
                WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
            std::string a(n > 0 ? static_cast<std::size_t>(n) : 1, '\0');
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, a.data(), n, nullptr, nullptr);
            a.resize(std::char_traits<char>::length(a.c_str()));
            utf8Args.push_back(std::move(a));
        }
        LocalFree(wide);
        for (auto& a : utf8Args)
            utf8Argv.push_back(a.data());
        utf8Argv.push_back(nullptr);
        argc = wideCount;
        argv = utf8Argv.data();
    }
#endif
    CLI::App app{"Ostravion software audit, command-line face"};
    app.require_subcommand(1);
    // Options are "-x" and "--name" everywhere: on Windows too a "/..." word
    // is a path (or a file name), not an option.
    app.allow_windows_style_options(false);
    // -C may also follow the subcommand's own options.
    app.fallthrough();
    std::string dir;
    app.add_option("-C", dir, "run as if started in DIR (KEYLIST.DAT and CheckOut are found there)")
        ->type_name("DIR");

    auto commands = cli::MakeCommands();
    for (auto& c : commands)
        c->Register(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }

    auto platform = MakeNativePlatform();
    cli::StderrMessages messages(platform->Codec());
    cli::Context ctx{*platform, messages};
    const std::string dirText = platform->Codec().FromUtf8(dir);
    if (!dir.empty() && !platform->Files().SetCurrentDirectory(dirText)) {
        std::cerr << "ostravion-cli: cannot change to directory " << dir << "\n";
        return 2;
    }
    for (auto& c : commands)
        if (c->Chosen())
            return c->Run(ctx);
    return 2;
}
