// ostravion-cli: the audit driven from the command line.
#include "cli/Command.h"

#include "platform/Native.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <new>
#include <string>
#include <vector>

namespace {

// The command's status, unless what it printed did not all reach standard
// output or standard error (a full disk, a closed pipe): then 1, since a
// result that was not delivered is no result.
int CheckedOutput(int status) {
    std::cout.flush();
    std::cerr.flush();
    bool lost = !std::cout.good() || !std::cerr.good();
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        lost = true;
    const bool errLost = std::fflush(stderr) != 0 || std::ferror(stderr) || !std::cerr.good();
    if (!lost)
        return status;
    if (!errLost) {
        std::cerr.clear();
        std::cerr << "ostravion-cli: 출력을 끝까지 쓰지 못했습니다.\n" << std::flush;
    }
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    using namespace ostravion;
    // The arguments as UTF-8 on every system (on Windows from the wide
    // command line, not the ANSI one, which has lost what CP949 lacks).
    std::vector<std::string> args = ArgumentsAsUtf8(argc, argv);
    // Everything printed, the parser's own messages too, goes out as the
    // reader of each stream reads it: --utf8 is looked for before parsing.
    const bool utf8 = std::find(args.begin() + (args.empty() ? 0 : 1), args.end(),
                                std::string("--utf8")) != args.end();
    const std::unique_ptr<StandardText> streams = TakeStandardStreams(utf8);
    std::vector<char*> argvUtf8;
    for (std::string& a : args)
        argvUtf8.push_back(a.data());
    argvUtf8.push_back(nullptr);
    argc = static_cast<int>(args.size());
    argv = argvUtf8.data();

    CLI::App app{"Ostravion 소프트웨어 점검, 명령줄 판"};
    cli::GlobalOptions global;
    auto commands = cli::MakeCommands();
    cli::BuildParser(app, global, commands);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return CheckedOutput(cli::ExitOnParseError(app, e));
    }

    auto platform = MakeNativePlatform();
    cli::StderrMessages messages(platform->Codec());
    cli::Context ctx{*platform, messages, global.utf8};
    if (!cli::GivenValuesFit(ctx, {{"-C", &global.dir}}))
        return 2;
    const std::string dirText = platform->Codec().FromUtf8(global.dir);
    if (!global.dir.empty() && !platform->Files().SetCurrentDirectory(dirText)) {
        cli::Say("폴더로 옮겨 갈 수 없습니다: " + cli::ShownUtf8Path(global.dir));
        return 2;
    }
    for (auto& c : commands)
        if (c->Chosen()) {
            try {
                return CheckedOutput(c->Run(ctx));
            } catch (const std::bad_alloc&) {
                // Files too large to read are refused before this; whatever
                // still runs out of memory ends with a word, not an abort.
                cli::Say("메모리가 모자랍니다.");
                return CheckedOutput(1);
            }
        }
    return 2;
}
