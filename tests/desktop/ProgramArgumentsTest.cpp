#include "desktop/ProgramArguments.h"

#include <gtest/gtest.h>

#include <set>

namespace ostravion::desktop {
namespace {

struct SameBytes final : TextCodec {
    std::string ToUtf8(const std::string& s) const override { return s; }
    std::string FromUtf8(const std::string& s) const override { return s; }
};

using Kind = ProgramRequest::Kind;

ProgramRequest Check(const std::vector<std::string>& args) {
    return CheckProgramArguments(args, SameBytes{});
}

TEST(ProgramArguments, HelpAndVersionAnswerFirstAndBadOptionsAreNamed) {
    EXPECT_EQ(Kind::Help, Check({"total.tls", "--help"}).kind);
    EXPECT_EQ(Kind::Help, Check({"/?"}).kind);
    EXPECT_EQ(Kind::Version, Check({"--version", "--help"}).kind);
    // --drive takes the next argument as its value, whatever it looks like.
    EXPECT_EQ(Kind::Run, Check({"/Embedding", "-automation", "--drive", "--odd", "a.tls"}).kind);
    EXPECT_EQ(Kind::Run, Check({"--drive=C=/mnt", "--app-paths", "apps.txt"}).kind);

    const ProgramRequest unknown = Check({"a.tls", "--bogus"});
    EXPECT_EQ(Kind::Bad, unknown.kind);
    EXPECT_NE(std::string::npos, unknown.message.find("--bogus"));
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--drive"}, {"--app-paths="}, {"a", "--drive="}}) {
        const ProgramRequest missing = Check(args);
        EXPECT_EQ(Kind::Bad, missing.kind) << args.back();
        EXPECT_EQ(0u, missing.message.find(args.back().substr(0, args.back().find('='))));
    }
}

TEST(ProgramArguments, UsageAlignsOnATerminalAndRunsOnInABox) {
    const std::string terminal = ProgramUsage("prog", UsageLayout::Terminal);
    const std::string box = ProgramUsage("prog", UsageLayout::MessageBox);
    // On a terminal each description starts in one column (a CP949 byte
    // is a column there); in a box an option and its description share a
    // line without padding.
    EXPECT_NE(std::string::npos, terminal.find("\n  --help                    "));
    EXPECT_NE(std::string::npos, terminal.find("\n  --version                 "));
    EXPECT_NE(std::string::npos, box.find("\n--help: "));
    EXPECT_EQ(std::string::npos, box.find("  ")) << box;
    EXPECT_EQ(0u, box.find(terminal.substr(0, terminal.find('\n'))));
}

TEST(ProgramArguments, ScanStandInsNameTheArgumentThatCannotBeUsed) {
    // A setter that takes drives whose folder is "ok", each letter once, and
    // the applications file "apps.txt".
    std::vector<std::string> applied;
    const ScanStandInsSetter apply = [&](const std::vector<std::string>& drives,
                                         const std::string& apps) {
        std::set<char> letters;
        for (const std::string& d : drives)
            if (d.substr(1) != "=ok" || !letters.insert(d[0]).second)
                return false;
        applied = drives;
        return apps.empty() || apps == "apps.txt";
    };
    DesktopCommandLine c;
    c.driveMap = {"C=ok", "D=ok"};
    c.appPathsFile = "apps.txt";
    EXPECT_EQ("", ApplyScanStandIns(c, SameBytes{}, apply));
    EXPECT_EQ(c.driveMap, applied);

    c.driveMap = {"C=ok", "D=gone", "E=ok"};
    std::string message = ApplyScanStandIns(c, SameBytes{}, apply);
    EXPECT_NE(std::string::npos, message.find("--drive D=gone")) << message;

    c.driveMap = {"C=ok", "D=ok", "C=ok"};
    message = ApplyScanStandIns(c, SameBytes{}, apply);
    EXPECT_NE(std::string::npos, message.find("--drive C=ok")) << message;
    EXPECT_EQ(std::string::npos, message.find("C=ok\n")) << "a repeat is not a bad folder";

    c.driveMap = {"C=ok"};
    c.appPathsFile = "missing.txt";
    message = ApplyScanStandIns(c, SameBytes{}, apply);
    EXPECT_NE(std::string::npos, message.find("--app-paths missing.txt")) << message;
}

} // namespace
} // namespace ostravion::desktop
