// ostravion-cli: the audit driven from the command line.
#include "cli/Command.h"

#include <cstdio>
#include <iostream>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
    using namespace ostravion;
#ifdef _WIN32
    // Bytes go out as they are: a CR LF payload must not become CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
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
#ifdef _WIN32
    // The command line arrives in the ANSI code page: the system's own text.
    const std::string dirText = dir;
#else
    const std::string dirText = platform->Codec().FromUtf8(dir);
#endif
    if (!dir.empty() && !platform->Files().SetCurrentDirectory(dirText)) {
        std::cerr << "ostravion-cli: cannot change to directory " << dir << "\n";
        return 2;
    }
    for (auto& c : commands)
        if (c->Chosen())
            return c->Run(ctx);
    return 2;
}
