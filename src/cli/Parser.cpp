// The command line's parser, shared by the program and its tests.
#include "cli/Command.h"

#include "Version.h"

namespace ostravion::cli {

void BuildParser(CLI::App& app, GlobalOptions& global,
                 const std::vector<std::unique_ptr<Command>>& commands) {
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("ostravion-cli " OSTRAVION_VERSION),
                         "print the version and exit");
    // Options are "-x" and "--name" everywhere: on Windows too a "/..." word
    // is a path (or a file name), not an option.
    app.allow_windows_style_options(false);
    // The program's own options may also follow the subcommand's.
    app.fallthrough();
    app.add_option("-C", global.dir,
                   "run as if started in DIR (KEYLIST.DAT and CheckOut are found there)")
        ->type_name("DIR");
    app.add_flag("--utf8", global.utf8,
                 "write UTF-8 (on Windows, into a file or pipe in place of the console's code "
                 "page and its CR LF line ends; a console shows the text as it always does); "
                 "keylist unpack converts the key list to UTF-8 with LF line ends");
    for (const auto& c : commands)
        c->Register(app);
}

} // namespace ostravion::cli
