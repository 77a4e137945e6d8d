// keylist unpack | list | pack | candidates | merge: reading and making
// key-list containers, and keeping the key list current.
#include "cli/Command.h"
#include "doc/CandidateExport.h"
#include "files/Container.h"
#include "scan/KeyList.h"
#include "util/AuditUtil.h"
#include "util/Text.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <set>

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

// What is wrong with one line of a key-list TSV (`at` names it); empty when
// nothing is. Only TAB may stand among its characters, it needs the five
// columns 0 to 4, and (`entry`: any line but the caption) no column may
// begin or end with a blank.
std::string LineProblem(const std::string& at, std::string_view line, bool entry,
                        std::vector<std::string>& columns) {
    for (const char c : line)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            return at + "에 제어 문자가 있습니다 (TAB 말고는 쓸 수 없습니다).";
    columns = text::SplitText(line, "\t");
    if (columns.size() < 5)
        return at + "의 열이 " + std::to_string(columns.size()) +
               "개뿐입니다. 키 리스트의 줄에는 적어도 5개 열(0~4)이 있어야 합니다.";
    if (entry)
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (BlankAround(columns[c]))
                return at + " " + std::to_string(c) +
                       "번 열의 앞이나 뒤에 공백이 있습니다. 공백도 비교되는 글자여서 그 항목은 "
                       "맞는 파일을 찾지 못합니다.";
    return std::string();
}

// The lines of a TSV's CP949 text (LF or CR LF), and whether it ends with a
// line break.
std::vector<std::string_view> TsvLines(std::string_view cp949, bool& finalBreak) {
    std::vector<std::string_view> lines;
    finalBreak = false;
    std::size_t start = 0;
    while (start < cp949.size()) {
        const std::size_t end = cp949.find('\n', start);
        std::string_view line = cp949.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
        finalBreak = start == cp949.size();
    }
    return lines;
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
    bool finalBreak = false;
    const std::vector<std::string_view> lines = TsvLines(cp949, finalBreak);
    std::vector<std::string> columns;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string at = where + ": " + std::to_string(i + 1) + "번째 줄";
        const std::string problem = LineProblem(at, lines[i], i > 0, columns);
        if (!problem.empty()) {
            Say(problem + " 아무것도 쓰지 않았습니다.");
            return false;
        }
        if (i > 0)
            payload += "\r\n";
        payload += lines[i];
    }
    if (finalBreak)
        payload += "\r\n";
    if (lines.size() < 2) {
        Say(where + ": 제목 줄 말고는 항목이 없습니다. 아무것도 쓰지 않았습니다.");
        return false;
    }
    return true;
}

// Whether two paths name one file (the same path, or one file by two names).
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    const std::filesystem::path pa(std::u8string(a.begin(), a.end()));
    const std::filesystem::path pb(std::u8string(b.begin(), b.end()));
    if (std::filesystem::equivalent(pa, pb, error))
        return true;
    return std::filesystem::weakly_canonical(pa, error) ==
           std::filesystem::weakly_canonical(pb, error);
}

class KeylistCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        cmd_ = app.add_subcommand("keylist", "키 리스트 파일을 풀거나, 항목을 보이거나, 만들고, 키 "
                                             "리스트에 없는 프로그램을 내보내거나 합칩니다");
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

        candidates_ = cmd_->add_subcommand(
            "candidates", "총괄 NAME 의 PC들에서 찾았으나 키 리스트에 없는 프로그램을, pack 과 "
                          "merge 가 받는 TSV 로 씁니다 (CP949 와 CR LF, --utf8 이면 UTF-8 과 LF)");
        candidates_->add_option("--name", name_, "총괄 파일의 이름 (\".tls\" 는 빼도 됩니다)")
            ->required();
        candidates_->add_option("--min-pcs", minPcs_, "이만큼 많은 PC에 있는 프로그램만 씁니다")
            ->check(CLI::PositiveNumber)
            ->capture_default_str();
        candidates_->add_option("--out", out_, "쓸 TSV 파일")->required();
        candidates_
            ->add_option("--keylist", keylist_, "이미 가진 항목은 빼고 쓸 때 볼 키 리스트 파일")
            ->capture_default_str();

        merge_ = cmd_->add_subcommand(
            "merge", "키 리스트 뒤에 검토한 TSV 의 줄(제목 줄 빼고, 0~9번 열)을 붙여 새 키 "
                     "리스트 파일을 만듭니다");
        merge_->add_option("--from", tsv_, "검토한 TSV (UTF-8, 아니면 CP949), 첫 줄은 제목 줄")
            ->required();
        merge_->add_option("-o,--output", out_, "새로 쓸 키 리스트 파일 (원래 파일과 다른 이름)")
            ->required();
        merge_->add_option("--keylist", keylist_, "바탕이 될 키 리스트 파일")
            ->capture_default_str();
    }
    bool Chosen() const override { return cmd_->parsed(); }

    int Run(Context& ctx) override {
        if (unpack_->parsed())
            return Unpack(ctx);
        if (list_->parsed())
            return List(ctx);
        if (candidates_->parsed())
            return Candidates(ctx);
        if (merge_->parsed())
            return Merge(ctx);
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

    // The candidates of a total for review, less what the key list holds.
    int Candidates(Context& ctx) {
        if (!GivenValuesFit(ctx, {{"--name", &name_}}))
            return 1;
        CAuditUtil util(ctx.platform.Files(), ctx.messages);
        if (!util.SetResultNames(ctx.Cp949(name_), CAuditUtil::NameForm::Name))
            return 1;
        util.FollowLowerCaseTotal();
        const std::string candPath = CandidatesPath(util.ResultPath(".tls"));
        std::string bytes;
        if (!util.Files().ReadWhole(candPath, bytes)) {
            Say(ctx.Utf8(candidates::kCannotRead) + ShownPath(ctx, candPath));
            Say("후보 파일은 취합(consolidate)할 때 총괄 파일 옆에 생깁니다. 아무것도 쓰지 "
                "않았습니다.");
            return 1;
        }
        std::string keyBytes;
        if (!ReadKeyFile(ctx, keylist_, keyBytes))
            return 1;
        KeyList keys;
        keys.LoadFromContainer(keyBytes);
        long long bad = 0;
        const std::vector<Candidate> found = ReadCandidates(bytes, &bad);
        std::size_t count = 0;
        std::string review = CandidatesReviewText(found, &keys, minPcs_, count);
        if (ctx.utf8)
            review = ctx.Utf8(text::ReplaceAll(review, "\r\n", "\n"));
        if (!WriteNativeFile(out_, review)) {
            SayCannotWrite(out_);
            return 1;
        }
        if (bad > 0)
            Say(ShownPath(ctx, candPath) + ": " + ctx.Utf8(candidates::BadLinesLine(bad)));
        std::cout << "candidates file\t" << ShownUtf8Path(out_) << "\n";
        std::cout << "candidates\t" << count << "\n";
        return bad > 0 ? 3 : 0;
    }

    // A new key list: the one given, then the reviewed lines. Every line that
    // cannot be taken is named, and then nothing is written.
    int Merge(Context& ctx) {
        if (SameFile(keylist_, out_)) {
            Say("새 키 리스트는 원래 키 리스트(" + ShownUtf8Path(keylist_) +
                ")와 다른 이름으로 쓰십시오. 아무것도 쓰지 않았습니다.");
            return 1;
        }
        std::string keyBytes;
        if (!ReadKeyFile(ctx, keylist_, keyBytes))
            return 1;
        if (const std::size_t nul = keyBytes.find('\0'); nul != std::string::npos)
            keyBytes.resize(nul);
        std::string payload = UnscrambleText(keyBytes);
        KeyList keys;
        keys.LoadFromPayload(payload);

        InputText tsv;
        if (!ReadInputFile(ctx, tsv_, tsv))
            return 1;
        const std::string where = ShownUtf8Path(tsv_);
        bool finalBreak = false;
        const std::vector<std::string_view> lines = TsvLines(tsv.cp949, finalBreak);
        std::vector<std::string> added;
        std::set<std::string> seen;
        std::size_t refused = 0, present = 0;
        std::vector<std::string> columns;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            if (lines[i].find_first_not_of(" \t") == std::string_view::npos)
                continue; // an empty line between or after the entries
            const std::string at = where + ": " + std::to_string(i + 1) + "번째 줄";
            std::string problem = LineProblem(at, lines[i], true, columns);
            if (problem.empty() && (columns.size() < 6 || columns[5] == "-"))
                problem = at + "에 실행 파일 이름(5번 열)이 없습니다.";
            if (!problem.empty()) {
                Say(problem);
                ++refused;
                continue;
            }
            columns.resize(std::min<std::size_t>(columns.size(), 10));
            // A line the key list (or an earlier reviewed line) identifies
            // already would never be reached by the scan.
            const std::string upper = text::ToUpper(columns[5]);
            const std::string size = columns.size() > 6 ? columns[6] : std::string();
            std::string version;
            if (keys.Match(
                    upper, size, [&] { return text::EmptyIfDash(columns[4]); }, version) > 0 ||
                !seen.insert(upper + "\t" + size).second) {
                ++present;
                continue;
            }
            std::string line;
            for (const std::string& c : columns)
                line += (line.empty() ? "" : "\t") + c;
            added.push_back(std::move(line));
        }
        if (refused > 0) {
            Say(where + ": 받을 수 없는 줄이 " + std::to_string(refused) +
                "개 있습니다. 고친 뒤 다시 하십시오. 아무것도 쓰지 않았습니다.");
            return 1;
        }
        // Entry 0 identifies nothing: a key list without entries gets a
        // caption line first.
        if (keys.Size() == 0 && !added.empty())
            payload = CandidatesCaption();
        if (!payload.empty() && payload.back() != '\n')
            payload += "\r\n";
        for (const std::string& line : added)
            payload += line + "\r\n";
        std::string container;
        if (!ScrambleText(payload, container)) {
            Say(where + ": 키 리스트 파일에 담을 수 없는 글(NUL 문자, \"@~@\", \"&r&n\" 또는 "
                        "표지 문구)이 있습니다. 아무것도 쓰지 않았습니다.");
            return 1;
        }
        if (!WriteNativeFile(out_, container)) {
            SayCannotWrite(out_);
            return 1;
        }
        KeyList check;
        check.LoadFromContainer(container);
        Say(ShownUtf8Path(out_) + " 을(를) 썼습니다: 키 리스트의 항목 " +
            std::to_string(keys.Size() > 0 ? keys.Size() - 1 : 0) + "개 뒤에 " +
            std::to_string(added.size()) + "개를 더해 항목 " +
            std::to_string(check.Size() > 0 ? check.Size() - 1 : 0) + "개 (" + where + " 을(를) " +
            EncodingName(tsv.encoding) + "(으)로 읽음)");
        if (present > 0)
            Say("이미 키 리스트에 있는 줄 " + std::to_string(present) + "개는 넣지 않았습니다.");
        return 0;
    }

    CLI::App* cmd_ = nullptr;
    CLI::App* unpack_ = nullptr;
    CLI::App* list_ = nullptr;
    CLI::App* pack_ = nullptr;
    CLI::App* candidates_ = nullptr;
    CLI::App* merge_ = nullptr;
    std::string file_ = kKeyListFile;
    std::string tsv_;
    std::string name_;
    long long minPcs_ = 1;
    std::string out_;
    std::string keylist_ = kKeyListFile;
};

} // namespace

std::unique_ptr<Command> MakeKeylistCommand() {
    return std::make_unique<KeylistCommand>();
}

} // namespace ostravion::cli
