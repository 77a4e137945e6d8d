// facts: what this PC reports about itself.
#include "cli/Command.h"
#include "scan/Facts.h"

#include <iostream>

namespace ostravion::cli {

namespace {
class FactsCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        cmd_ = app.add_subcommand("facts", "컴퓨터 이름, 사용자, PC 기종, 운영체제를 보입니다");
    }
    bool Chosen() const override { return cmd_->parsed(); }
    int Run(Context& ctx) override {
        SystemInfo& sys = ctx.platform.System();
        std::cout << "computer\t" << ctx.Utf8(sys.ComputerName()) << "\n";
        std::cout << "user\t" << ctx.Utf8(sys.UserName()) << "\n";
        std::cout << "model\t" << ctx.Utf8(CpuDescription(sys.Processor())) << "\n";
        std::cout << "os\t" << ctx.Utf8(OsVersionString(sys.OsVersion(), ctx.messages)) << "\n";
        return 0;
    }

private:
    CLI::App* cmd_ = nullptr;
};
} // namespace

std::unique_ptr<Command> MakeFactsCommand() {
    return std::make_unique<FactsCommand>();
}

} // namespace ostravion::cli
