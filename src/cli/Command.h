// One subcommand of ostravion-cli: it declares its options on the parser and
// runs once the whole command line has been parsed.
#pragma once

#include "platform/Native.h"
#include "ports/Ports.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

namespace ostravion::cli {

// Messages of the system go to stderr in UTF-8. A question has no one to
// answer it: it is taken as No unless the command says otherwise, and is not
// printed, since nothing waits for an answer; the command says what came of it.
class StderrMessages final : public MessagePort {
public:
    explicit StderrMessages(const TextCodec& codec) : codec_(codec) {}
    void Show(const std::string& text) override;
    bool Ask(const std::string& question) override;
    void SetAnswer(bool yes) { answer_ = yes; }

private:
    const TextCodec& codec_;
    bool answer_ = false;
};

// The exit status of a command that found a file it writes held by another
// writer (its lock file named who): nothing was changed.
inline constexpr int kExitHeldByOther = 4;

struct Context {
    NativePlatform& platform;
    StderrMessages& messages;
    // --utf8: the streams take UTF-8 (and keylist unpack converts its payload).
    bool utf8 = false;
    TextCodec& Codec() const { return platform.Codec(); }
    // A system text (CP949) as UTF-8 for people.
    std::string Utf8(const std::string& cp949) const { return platform.Codec().ToUtf8(cp949); }
    std::string Cp949(const std::string& utf8) const { return platform.Codec().FromUtf8(utf8); }
};

class Command {
public:
    virtual ~Command() = default;
    virtual void Register(CLI::App& app) = 0;
    // True when this command's subcommand was given on the command line.
    virtual bool Chosen() const = 0;
    virtual int Run(Context& ctx) = 0;
};

std::vector<std::unique_ptr<Command>> MakeCommands();

// The options of the program itself, which may stand before or after the
// subcommand.
struct GlobalOptions {
    std::string dir; // -C DIR
    bool utf8 = false;
};

// The whole command line's parser: the program's own options and the
// subcommands' (already made by MakeCommands).
void BuildParser(CLI::App& app, GlobalOptions& global,
                 const std::vector<std::unique_ptr<Command>>& commands);

// A path as the command line prints it: absolute, with the system's own
// separators, in UTF-8. ShownPath takes one of the system's paths (CP949,
// such as ".\\CheckOut\\x.tls"), ShownUtf8Path one the user gave.
std::string ShownPath(const Context& ctx, const std::string& cp949);
std::string ShownUtf8Path(const std::string& utf8);

// After "Key File Open Error..." and the like: where the key list was looked
// for (`path` as given, CP949) and, with `option`, how to name another.
void ExplainKeyList(const Context& ctx, const std::string& path, const char* option);

// Files named on the command line are read with ReadNativeFile
// (platform/Native.h) and written as they are. A file is written beside its
// name first and then moved onto it, so that a failed write leaves an
// earlier file of that name whole.
bool WriteNativeFile(const std::string& path, const std::string& bytes);

} // namespace ostravion::cli
