// keylist unpack | list | pack: reading and making key-list containers.
#include "cli/Command.h"
#include "files/Container.h"
#include "scan/KeyList.h"
#include "util/Text.h"

#include <iostream>

namespace ostravion::cli {

namespace {

// The key list named on the command line, its container bytes checked as the
// scan checks them.
bool ReadKeyFile(Context& ctx, const std::string& path, std::string& bytes) {
    const bool opened = ReadNativeFile(path, bytes);
    if (KeyList::CheckRead(opened, bytes, ctx.messages))
        return true;
    ExplainKeyList(ctx, ctx.Cp949(path), nullptr);
    return false;
}

// UTF-8 lines (LF or CR LF, an optional byte-order mark) as one CP949 text
// with CR LF between lines.
std::string Utf8LinesToPayload(Context& ctx, std::string utf8) {
    if (utf8.rfind("\xEF\xBB\xBF", 0) == 0)
        utf8.erase(0, 3);
    std::string joined;
    std::size_t start = 0;
    bool first = true;
    while (start < utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        std::string line =
            utf8.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!first)
            joined += "\r\n";
        joined += line;
        first = false;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return ctx.Cp949(joined);
}

class KeylistCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        cmd_ = app.add_subcommand("keylist", "read, list or make a key-list container");
        cmd_->require_subcommand(1);
        unpack_ = cmd_->add_subcommand(
            "unpack", "write the decoded payload to stdout as it is (CP949, CR LF), or with "
                      "--utf8 in UTF-8 with LF line ends");
        unpack_->add_option("FILE", file_, "key-list container")->capture_default_str();
        list_ = cmd_->add_subcommand("list", "print the loaded entries, one a line");
        list_->add_option("FILE", file_, "key-list container")->capture_default_str();
        pack_ = cmd_->add_subcommand("pack", "make a container from a UTF-8 TSV");
        pack_->add_option("TSV", tsv_, "UTF-8 TSV, one entry a line")->required();
        pack_->add_option("-o,--output", file_, "container to write")->required();
    }
    bool Chosen() const override { return cmd_->parsed(); }

    int Run(Context& ctx) override {
        if (unpack_->parsed())
            return Unpack(ctx);
        if (list_->parsed())
            return List(ctx);
        return Pack(ctx);
    }

private:
    int Unpack(Context& ctx) {
        std::string bytes;
        if (!ReadKeyFile(ctx, file_, bytes))
            return 1;
        if (const std::size_t nul = bytes.find('\0'); nul != std::string::npos)
            bytes.resize(nul);
        const std::string payload = UnscrambleText(bytes);
        if (!ctx.utf8)
            return WriteStandardOutputBytes(payload) ? 0 : 1;
        std::cout << ctx.Utf8(text::ReplaceAll(payload, "\r\n", "\n"));
        std::cout.flush();
        return std::cout ? 0 : 1;
    }

    int List(Context& ctx) {
        std::string bytes;
        if (!ReadKeyFile(ctx, file_, bytes))
            return 1;
        KeyList keys;
        keys.LoadFromContainer(bytes);
        for (std::size_t e = 0; e < keys.Size(); ++e) {
            std::string line = std::to_string(e);
            for (int c = 0; c < KeyList::kColumns; ++c)
                line += "\t" + keys.Column(c, e);
            line += "\t" + keys.DomesticCode(e);
            std::cout << ctx.Utf8(line) << "\n";
        }
        return 0;
    }

    int Pack(Context& ctx) {
        std::string tsv;
        if (!ReadNativeFile(tsv_, tsv)) {
            std::cerr << "ostravion-cli: cannot read " << ShownUtf8Path(tsv_) << "\n";
            return 1;
        }
        const std::string payload = Utf8LinesToPayload(ctx, tsv);
        std::string container;
        if (!ScrambleText(payload, container)) {
            std::cerr << "ostravion-cli: " << ShownUtf8Path(tsv_)
                      << " holds a text that a container cannot carry (NUL, \"@~@\", \"&r&n\" or a "
                         "marker)\n";
            return 1;
        }
        if (!WriteNativeFile(file_, container)) {
            std::cerr << "ostravion-cli: cannot write " << ShownUtf8Path(file_) << "\n";
            return 1;
        }
        KeyList check;
        check.LoadFromContainer(container);
        std::cerr << "wrote " << ShownUtf8Path(file_) << ": " << check.Size() << " entries\n";
        return 0;
    }

    CLI::App* cmd_ = nullptr;
    CLI::App* unpack_ = nullptr;
    CLI::App* list_ = nullptr;
    CLI::App* pack_ = nullptr;
    std::string file_ = kKeyListFile;
    std::string tsv_;
};

} // namespace

std::unique_ptr<Command> MakeKeylistCommand() {
    return std::make_unique<KeylistCommand>();
}

} // namespace ostravion::cli
