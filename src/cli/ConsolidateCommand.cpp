// consolidate: per-PC result files merged into a total file.
#include "cli/Command.h"
#include "doc/AuditLists.h"
#include "doc/ConsolidateRun.h"
#include "doc/FileSelection.h"
#include "util/AuditUtil.h"

#include <iostream>
#include <map>

namespace ostravion::cli {

namespace {

class ConsolidateCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        cmd_ = app.add_subcommand("consolidate",
                                  "CheckOut 의 PC별 결과 파일을 CheckOut/NAME.tls 로 취합합니다");
        cmd_->add_option("--name", name_, "총괄 파일의 이름 (\".tls\" 는 빼도 됩니다)")->required();
        cmd_->add_flag("--overwrite", overwrite_, "같은 이름의 총괄 파일을 바꿉니다");
        cmd_->add_option("FILE", files_,
                         "CheckOut 의 PC별 결과 파일, 준 차례대로 취합합니다 "
                         "(없으면 그곳의 .ipt 모두를 이름 차례로)");
    }
    bool Chosen() const override { return cmd_->parsed(); }

    int Run(Context& ctx) override {
        FileSystem& fs = ctx.platform.Files();
        CAuditUtil util(fs, ctx.messages);
        AuditLists lists(util);
        COstravionDoc& doc = lists.doc;

        if (!GivenValuesFit(ctx, {{"--name", &name_}}))
            return 1;
        // A named file is taken as the work folder lists it, so that a name
        // without a CP949 form is still opened by its own name.
        std::vector<std::string> chosen;
        for (const std::string& f : files_) {
            std::string listed = ctx.platform.ListedFileText(kWorkFolder, f);
            if (listed.empty() && !GivenValuesFit(ctx, {{"FILE", &f}}))
                return 1;
            chosen.push_back(listed.empty() ? ctx.Cp949(f) : std::move(listed));
        }
        if (files_.empty())
            chosen = ListPerPcFiles(fs, ctx.Codec());
        if (chosen.empty()) {
            ctx.messages.Show(consolidation::kNoFileSelected);
            return 1;
        }
        util.SetSelectedFiles(chosen);

        ctx.messages.SetAnswer(overwrite_);
        const ConsolidateOutcome outcome = RunConsolidateCommand(doc, ctx.Cp949(name_));
        if (outcome.name == NameCheck::KeptExisting) {
            // The names were refused, so the kept file is named as the merge would have.
            CAuditUtil kept(fs, ctx.messages);
            kept.SetResultNames(ctx.Cp949(name_), CAuditUtil::NameForm::Name);
            std::cerr << "ostravion-cli: 같은 이름의 총괄 파일이 있어 취합하지 않았습니다: "
                      << ShownPath(ctx, kept.ResultPath(".tls")) << "\n"
                      << "ostravion-cli: 그 파일은 그대로 있습니다. 새로 취합한 결과로 바꾸려면 "
                         "--overwrite 를 붙이십시오.\n";
        }
        if (util.HeldByOther())
            return kExitHeldByOther;
        if (outcome.name != NameCheck::Accepted)
            return 1;
        const ConsolidationSummary& s = outcome.summary;

        WarnSameComputer(ctx, chosen, s.computerNames);
        std::cout << "total file\t" << ShownPath(ctx, util.ResultPath(".tls")) << "\n";
        std::cout << "PCs\t" << s.pcCount << "\n";
        std::cout << "unreadable files\t" << s.unreadable.size() << "\n";
        std::cout << "distinct programs\t" << s.programs << "\n";
        std::cout << "installations\t" << s.installations << "\n";
        std::cout << "key-list candidates\t" << s.candidates << "\n";
        if (!s.totalWritten)
            return 1;
        // The total is written, but a PC it counts was never read, or the
        // candidates of one could not be gathered.
        return s.pcRead < s.pcCount || !s.candidatesUnread.empty() ? 3 : 0;
    }

private:
    // Two files naming the same computer may be one PC merged twice; it is
    // still counted as the files say.
    static void WarnSameComputer(Context& ctx, const std::vector<std::string>& files,
                                 const std::vector<std::string>& computers) {
        std::map<std::string, std::size_t> first;
        for (std::size_t i = 0; i < files.size() && i < computers.size(); ++i) {
            if (computers[i].empty() || computers[i] == "-")
                continue;
            const auto [it, added] = first.try_emplace(computers[i], i);
            if (!added)
                Say("주의: " + ctx.Utf8(files[it->second]) + " 와(과) " + ctx.Utf8(files[i]) +
                    " 이(가) 모두 컴퓨터 " + ctx.Utf8(computers[i]) +
                    " 의 것입니다. 그 PC가 두 번 세어졌을 수 있습니다.");
        }
    }

    CLI::App* cmd_ = nullptr;
    std::string name_;
    bool overwrite_ = false;
    std::vector<std::string> files_;
};

} // namespace

std::unique_ptr<Command> MakeConsolidateCommand() {
    return std::make_unique<ConsolidateCommand>();
}

} // namespace ostravion::cli
