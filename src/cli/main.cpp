// ostravion-cli: the audit driven from the command line.
#include "cli/Command.h"

#include "Version.h"
#include "platform/Native.h"

#include <iostream>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace ostravion;
    // The arguments as UTF-8 on every system (on Windows from the wide
    // command line, not the ANSI one, which has lost what CP949 lacks), and
    // the standard streams in binary: a CR LF payload must not become CR CR LF.
    std::vector<std::string> args = ArgumentsAsUtf8(argc, argv);
    std::vector<char*> argvUtf8;
    for (std::string& a : args)
        argvUtf8.push_back(a.data());
    argvUtf8.push_back(nullptr);
    argc = static_cast<int>(args.size());
    argv = argvUtf8.data();
    SetStandardStreamsBinary();

    CLI::App app{"Ostravion software audit, command-line face"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("ostravion-cli " OSTRAVION_VERSION),
                         "print the version and exit");
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
        if (c->Chosen()) {
            try {
                return c->Run(ctx);
            } catch (const std::bad_alloc&) {
                // Files too large to read are refused before this; whatever
                // still runs out of memory ends with a word, not an abort.
                std::cerr << "ostravion-cli: out of memory\n";
                return 1;
            }
        }
    return 2;
}
