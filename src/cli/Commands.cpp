#include "cli/Command.h"

namespace ostravion::cli {

std::unique_ptr<Command> MakeKeylistCommand();
std::unique_ptr<Command> MakeFactsCommand();

std::vector<std::unique_ptr<Command>> MakeCommands() {
    std::vector<std::unique_ptr<Command>> c;
    c.push_back(MakeKeylistCommand());
    c.push_back(MakeFactsCommand());
    return c;
}

} // namespace ostravion::cli
