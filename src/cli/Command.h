// One subcommand of ostravion-cli: it declares its options on the parser and
// runs once the whole command line has been parsed.
#pragma once

#include "platform/Native.h"
#include "ports/Ports.h"
#include "util/InputText.h"

#include <CLI/CLI.hpp>
#include <initializer_list>
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

// A refused command line in one Korean line (the parser's own texts are English).
std::string ParseErrorText(const CLI::ParseError& e);
// What the program does with a parse error: help and version as asked
// (status 0); anything else a Korean line and status 2.
int ExitOnParseError(const CLI::App& app, const CLI::ParseError& e);

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

// The command line's own lines on stderr, each after "ostravion-cli: ".
void Say(const std::string& utf8);
// "파일을 읽을 수 없습니다: PATH" and "파일을 쓸 수 없습니다: PATH" (a path the user gave, UTF-8).
void SayCannotRead(const std::string& utf8Path);
void SayCannotWrite(const std::string& utf8Path);

// A character without a CP949 form in a file the user handed in (`where`
// names it) or in an option's value: the line, the column and the character
// as typed, and that nothing was written.
void SayUnwritable(const std::string& where, const UnwritableCharacter& bad, bool oneLine = false);

// Checks values given on the command line (option name, value in UTF-8)
// before anything is done: false, after saying which character of which
// option has no CP949 form, when one cannot be kept as given.
bool GivenValuesFit(const Context& ctx,
                    std::initializer_list<std::pair<const char*, const std::string*>> values);

// Reads a text file the user named by the input rule (UTF-8 when it is
// well-formed UTF-8, else CP949): false after a Korean line when it cannot
// be read or holds a character without a CP949 form.
bool ReadInputFile(const Context& ctx, const std::string& utf8Path, InputText& text);

// How the input rule read a file, for the lines that report it.
const char* EncodingName(InputEncoding encoding);

} // namespace ostravion::cli
