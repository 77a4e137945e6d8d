// The command line's parser, shared by the program and its tests: its help
// and its refusals in Korean.
#include "cli/Command.h"

#include "Version.h"

#include <iostream>

namespace ostravion::cli {

namespace {

// Every (sub)command's options and subcommands under Korean headings.
void KoreanGroups(CLI::App& app) {
    for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) {
        sub->group("하위 명령");
        if (CLI::Option* help = sub->get_help_ptr())
            help->group("옵션");
        KoreanGroups(*sub);
    }
}

std::string After(const std::string& s, const std::string& marker) {
    const std::size_t at = s.find(marker);
    return at == std::string::npos ? std::string() : s.substr(at + marker.size());
}

std::string Before(const std::string& s, const std::string& marker) {
    const std::size_t at = s.find(marker);
    return at == std::string::npos ? std::string() : s.substr(0, at);
}

// The parser's help with its columns kept for Korean texts: the name column
// is padded by the columns a terminal gives the text (two for a Hangul
// syllable), not by its bytes.
class KoreanFormatter final : public CLI::Formatter {
public:
    std::string make_option(const CLI::Option* opt, bool positional) const override {
        const std::string name = "  " + make_option_name(opt, positional) + make_option_opts(opt);
        const std::string desc = make_option_desc(opt);
        const std::size_t width = get_column_width();
        const std::size_t used = Columns(name);
        std::string out = name;
        if (!desc.empty()) {
            if (used >= width)
                out += "\n" + std::string(width, ' ');
            else
                out += std::string(width - used, ' ');
            for (const char c : desc) {
                out += c;
                if (c == '\n')
                    out += std::string(width, ' ');
            }
        }
        return out + "\n";
    }

private:
    // A UTF-8 text's columns: a character beyond U+1100 (Hangul and the
    // like) takes two, any other one.
    static std::size_t Columns(const std::string& utf8) {
        std::size_t columns = 0;
        for (const char c : utf8) {
            const unsigned char b = static_cast<unsigned char>(c);
            columns += b < 0x80 ? 1 : b >= 0xE1 ? 2 : (b & 0xC0) == 0xC0 ? 1 : 0;
        }
        return columns;
    }
};

template <typename Kind> bool Is(const CLI::ParseError& e) {
    return dynamic_cast<const Kind*>(&e) != nullptr;
}

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

} // namespace

void BuildParser(CLI::App& app, GlobalOptions& global,
                 const std::vector<std::unique_ptr<Command>>& commands) {
    // Subcommands take these over when they are made, so they come first.
    app.set_help_flag("-h,--help", "이 도움말을 보이고 끝냅니다");
    app.option_defaults()->group("옵션");
    app.get_help_ptr()->group("옵션");
    const auto formatter = std::make_shared<KoreanFormatter>();
    app.formatter(formatter);
    formatter->label("Usage", "사용법");
    formatter->label("OPTIONS", "옵션");
    formatter->label("SUBCOMMAND", "하위 명령");
    formatter->label("SUBCOMMANDS", "하위 명령");
    formatter->label("Positionals", "인자");
    formatter->label("REQUIRED", "(필수)");
    formatter->label("Needs", "함께 필요:");
    formatter->label("Excludes", "함께 쓸 수 없음:");
    formatter->label("TEXT", "텍스트");
    formatter->label("INT", "정수");

    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("ostravion-cli " OSTRAVION_VERSION),
                         "버전을 보이고 끝냅니다");
    // Options are "-x" and "--name" everywhere: on Windows too a "/..." word
    // is a path (or a file name), not an option.
    app.allow_windows_style_options(false);
    // The program's own options may also follow the subcommand's.
    app.fallthrough();
    app.add_option("-C", global.dir,
                   "DIR 에서 시작한 것처럼 실행합니다 (KEYLIST.DAT 와 CheckOut 을 거기서 찾습니다)")
        ->type_name("DIR");
    app.add_flag(
        "--utf8", global.utf8,
        "UTF-8 로 씁니다 (Windows 에서는 파일이나 파이프에 콘솔의 코드 페이지와 CR LF 대신; "
        "콘솔에는 늘 그렇듯 그대로 보입니다); keylist unpack 은 키 리스트를 UTF-8 과 LF 줄 "
        "끝으로 바꿉니다");
    for (const auto& c : commands)
        c->Register(app);
    KoreanGroups(app);
}

std::string ParseErrorText(const CLI::ParseError& e) {
    const std::string what = e.what();
    if (Is<CLI::ExtrasError>(e))
        return "알 수 없는 인자입니다: " + After(what, ": ");
    if (Is<CLI::RequiredError>(e)) {
        if (what.rfind("A subcommand", 0) == 0 || what.find("subcommand") != std::string::npos)
            return "하위 명령을 주어야 합니다.";
        if (EndsWith(what, " is required"))
            return Before(what, " is required") + " 을(를) 주어야 합니다.";
        return "꼭 주어야 하는 옵션이 빠졌습니다.";
    }
    if (Is<CLI::ConversionError>(e)) {
        if (what.rfind("Could not convert: ", 0) == 0)
            return After(what, "Could not convert: ") + ": 값을 읽을 수 없습니다.";
        if (what.rfind("The value ", 0) == 0)
            return After(what, " is not an allowed value for ") + " 에 쓸 수 없는 값입니다: " +
                   Before(After(what, "The value "), " is not an allowed value for ");
        return "옵션의 값을 읽을 수 없습니다.";
    }
    if (Is<CLI::ValidationError>(e)) {
        std::string option = Before(what, ": ");
        std::string text = option + " 에 쓸 수 없는 값입니다";
        const std::string detail = After(what, ": ");
        if (const std::string set = After(detail, " not in "); !set.empty())
            text += ": " + Before(detail, " not in ") + " (쓸 수 있는 값: " + set + ")";
        return text + ".";
    }
    if (Is<CLI::ArgumentMismatch>(e)) {
        std::string option = Before(After(what, " arguments to "), ",");
        if (option.empty())
            option = Before(what, ":");
        return option + " 에 준 값의 수가 맞지 않습니다.";
    }
    if (Is<CLI::RequiresError>(e))
        return Before(what, " requires ") + " 은(는) " + After(what, " requires ") +
               " 와(과) 함께만 쓸 수 있습니다.";
    if (Is<CLI::ExcludesError>(e))
        return Before(what, " excludes ") + " 와(과) " + After(what, " excludes ") +
               " 은(는) 함께 쓸 수 없습니다.";
    return "명령줄을 읽을 수 없습니다.";
}

int ExitOnParseError(const CLI::App& app, const CLI::ParseError& e) {
    if (Is<CLI::Success>(e))
        return app.exit(e);
    std::cerr << "ostravion-cli: " << ParseErrorText(e) << "\n"
              << "ostravion-cli: 쓰는 법은 ostravion-cli --help (하위 명령마다 "
                 "ostravion-cli 하위명령 --help)로 보십시오.\n";
    return 2;
}

} // namespace ostravion::cli
