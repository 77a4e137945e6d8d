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

// True when a CP949 text begins or ends with a blank (ASCII or full-width).
bool BlankAround(std::string_view v) {
    if (v.empty())
        return false;
    if (v.front() == ' ' || text::StartsWith(v, "\xA1\xA1"))
        return true;
    std::size_t last = 0;
    for (std::size_t i = 0; i < v.size(); i += text::CharLength(v, i))
        last = i;
    const std::string_view tail = v.substr(last);
    return tail == " " || tail == "\xA1\xA1";
}

// The key-list payload of a TSV's CP949 text: its lines (LF or CR LF) joined
// by CR LF, a final line break kept, so that a payload written out by unpack
// packs into the same container. Every line must be an entry of at least five
// columns (the first is the caption, which the scan never matches), without
// control characters, and no entry's column may begin or end with a blank: a
// blank is part of the text the scan compares, so "WINWORD.EXE " would be
// packed and never match. Such a line is refused rather than mended, since the
// key list is produced outside the system and what it holds is its maker's
// to correct; false after naming the line.
bool TsvToPayload(const std::string& where, std::string_view cp949, std::string& payload) {
    payload.clear();
    std::size_t start = 0;
    int number = 0;
    while (start < cp949.size()) {
        const std::size_t end = cp949.find('\n', start);
        std::string_view line = cp949.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++number;
        const std::string at = where + ": " + std::to_string(number) + "번째 줄";
        for (const char c : line)
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
                Say(at + "에 제어 문자가 있습니다 (TAB 말고는 쓸 수 없습니다). 아무것도 쓰지 "
                         "않았습니다.");
                return false;
            }
        const std::vector<std::string> columns = text::SplitText(line, "\t");
        if (columns.size() < 5) {
            Say(at + "의 열이 " + std::to_string(columns.size()) +
                "개뿐입니다. 키 리스트의 줄에는 적어도 5개 열(0~4)이 있어야 합니다. 아무것도 쓰지 "
                "않았습니다.");
            return false;
        }
        if (number > 1)
            for (std::size_t c = 0; c < columns.size(); ++c) {
                if (BlankAround(columns[c])) {
                    Say(at + " " + std::to_string(c) +
                        "번 열의 앞이나 뒤에 공백이 있습니다. 공백도 비교되는 글자여서 그 항목은 "
                        "맞는 파일을 찾지 못합니다. 아무것도 쓰지 않았습니다.");
                    return false;
                }
            }
        if (number > 1)
            payload += "\r\n";
        payload += line;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
        if (start == cp949.size())
            payload += "\r\n";
    }
    if (number < 2) {
        Say(where + ": 제목 줄 말고는 항목이 없습니다. 아무것도 쓰지 않았습니다.");
        return false;
    }
    return true;
}

class KeylistCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        cmd_ = app.add_subcommand("keylist", "키 리스트 파일을 풀거나, 항목을 보이거나, 만듭니다");
        cmd_->require_subcommand(1);
        unpack_ = cmd_->add_subcommand(
            "unpack", "풀어낸 내용을 그대로(CP949, CR LF) stdout 에 씁니다. --utf8 이면 UTF-8 과 "
                      "LF 줄 끝으로 씁니다");
        unpack_->add_option("FILE", file_, "키 리스트 파일")->capture_default_str();
        list_ =
            cmd_->add_subcommand("list", "읽은 항목을 한 줄에 하나씩 보입니다 (제목 줄은 빼고)");
        list_->add_option("FILE", file_, "키 리스트 파일")->capture_default_str();
        pack_ = cmd_->add_subcommand("pack", "TSV 에서 키 리스트 파일을 만듭니다");
        pack_
            ->add_option("TSV", tsv_,
                         "TSV (UTF-8, 아니면 CP949), 첫 줄은 제목 줄, 그다음 한 줄에 항목 하나")
            ->required();
        pack_->add_option("-o,--output", file_, "쓸 키 리스트 파일")->required();
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
        // Entry 0 is the caption line, which never identifies a program.
        for (std::size_t e = 1; e < keys.Size(); ++e) {
            std::string line = std::to_string(e);
            for (int c = 0; c < KeyList::kColumns; ++c)
                line += "\t" + keys.Column(c, e);
            line += "\t" + keys.DomesticCode(e);
            std::cout << ctx.Utf8(line) << "\n";
        }
        return 0;
    }

    int Pack(Context& ctx) {
        InputText tsv;
        if (!ReadInputFile(ctx, tsv_, tsv))
            return 1;
        const std::string where = ShownUtf8Path(tsv_);
        std::string payload;
        if (!TsvToPayload(where, tsv.cp949, payload))
            return 1;
        std::string container;
        if (!ScrambleText(payload, container)) {
            Say(where + ": 키 리스트 파일에 담을 수 없는 글(NUL 문자, \"@~@\", \"&r&n\" 또는 "
                        "표지 문구)이 있습니다. 아무것도 쓰지 않았습니다.");
            return 1;
        }
        if (!WriteNativeFile(file_, container)) {
            SayCannotWrite(file_);
            return 1;
        }
        KeyList check;
        check.LoadFromContainer(container);
        Say(ShownUtf8Path(file_) + " 을(를) 썼습니다: 항목 " + std::to_string(check.Size() - 1) +
            "개와 제목 줄 (" + where + " 을(를) " + EncodingName(tsv.encoding) + "(으)로 읽음)");
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
