// ostravion-cli: the audit driven from the command line.
#include "cli/Command.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    using namespace ostravion;
    CLI::App app{"Ostravion software audit, command-line face"};
    app.require_subcommand(1);
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
    if (!dir.empty() && !platform->Files().SetCurrentDirectory(platform->Codec().FromUtf8(dir))) {
        std::cerr << "ostravion-cli: cannot change to directory " << dir << "\n";
        return 2;
    }
    for (auto& c : commands)
        if (c->Chosen())
            return c->Run(ctx);
    return 2;
}
