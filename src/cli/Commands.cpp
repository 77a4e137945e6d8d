#include "cli/Command.h"

namespace ostravion::cli {

std::unique_ptr<Command> MakeKeylistCommand();
std::unique_ptr<Command> MakeFactsCommand();
std::unique_ptr<Command> MakeConsolidateCommand();
std::unique_ptr<Command> MakeScanCommand();
std::unique_ptr<Command> MakeResultCommand();
std::unique_ptr<Command> MakeExportCommand();
std::unique_ptr<Command> MakeVersionInfoCommand();
std::unique_ptr<Command> MakeReportCommand();

std::vector<std::unique_ptr<Command>> MakeCommands() {
    std::vector<std::unique_ptr<Command>> c;
    c.push_back(MakeKeylistCommand());
    c.push_back(MakeFactsCommand());
    c.push_back(MakeConsolidateCommand());
    c.push_back(MakeScanCommand());
    c.push_back(MakeResultCommand());
    c.push_back(MakeExportCommand());
    c.push_back(MakeVersionInfoCommand());
    c.push_back(MakeReportCommand());
    return c;
}

} // namespace ostravion::cli
