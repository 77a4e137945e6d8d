// result: the result of a total written without the dialog: the
// administrative data, and genuine licence counts from a spreadsheet.
#include "cli/Command.h"
#include "doc/AuditLists.h"
#include "doc/GenuineCounts.h"
#include "doc/OstravionDoc.h"
#include "doc/ResultWriting.h"
#include "doc/SharedWrite.h"
#include "files/TotalFile.h"
#include "util/AuditUtil.h"
#include "util/Text.h"

#include <iostream>
#include <optional>

namespace ostravion::cli {

namespace {

class ResultCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        cmd_ = app.add_subcommand("result",
                                  "총괄 NAME 의 결과를 씁니다: CheckOut/NAME.rst 와 다시 NAME.tls");
        cmd_->add_option("--name", name_, "총괄 파일의 이름 (\".tls\" 는 빼도 됩니다)")->required();
        // The four names are required, but their absence is told by the
        // system's own messages, so the parser takes them as optional.
        cmd_->add_option("--dept", dept_, "점검부서 (필수)");
        cmd_->add_option("--checker", checker_, "점검자 (필수)");
        cmd_->add_option("--confirm-dept", confirmDept_, "확인부서 (필수)");
        cmd_->add_option("--confirmer", confirmer_, "확인자 (필수)");
        cmd_->add_option("--pcs", pcs_, "PC 수량 (없으면 파일에 있는 대로)");
        cmd_->add_option("--remark", remark_, "기타; 줄 바꿈은 그대로 둡니다");
        cmd_->add_option(
            "--genuine", genuine_,
            "CSV 파일 (UTF-8, 아니면 CP949): 프로그램명, 정품수량; 한 줄에 프로그램 하나");
    }
    bool Chosen() const override { return cmd_->parsed(); }

    int Run(Context& ctx) override {
        FileSystem& fs = ctx.platform.Files();
        CAuditUtil util(fs, ctx.messages);
        AuditLists lists(util);
        COstravionDoc& doc = lists.doc;
        CResultWriting model(util);

        if (!GivenValuesFit(ctx, {{"--name", &name_},
                                  {"--dept", &dept_},
                                  {"--checker", &checker_},
                                  {"--confirm-dept", &confirmDept_},
                                  {"--confirmer", &confirmer_},
                                  {"--remark", remark_ ? &*remark_ : nullptr}}))
            return 1;
        if (!util.SetResultNames(ctx.Cp949(name_), CAuditUtil::NameForm::Name))
            return 1;

        // Everything given is checked before anything is written.
        const std::pair<ResultField, const std::string*> names[] = {
            {ResultField::CheckDepartment, &dept_},
            {ResultField::Checker, &checker_},
            {ResultField::ConfirmDepartment, &confirmDept_},
            {ResultField::Confirmer, &confirmer_},
        };
        for (const auto& [field, value] : names)
            model.SetField(field, ctx.Cp949(*value));
        if (!model.CheckRequiredFields())
            return 1;
        if (remark_)
            model.SetField(ResultField::Remark, ctx.Cp949(*remark_));
        if (!WithinLimits(model))
            return 1;
        int pcs = 0;
        if (pcs_ && !ParseCount(*pcs_, pcs)) {
            Say("--pcs 에는 0 이상의 정수를 주십시오: " + *pcs_);
            return 1;
        }
        std::vector<GenuineCount> counts;
        if (genuine_ && !ReadGenuineCounts(ctx, *genuine_, counts))
            return 1;
        // The total is read and written under one lock, so what is read is
        // what the result is written over (the lock is the same for every
        // spelling of the name, which is settled under it).
        // A total that is not there at all is told as such, before a lock
        // file is looked for beside it.
        const auto noTotal = [&](const std::string& total) {
            ctx.messages.Show(totalfile::kResultFileOpenError);
            Say("총괄 파일이 없습니다: " + ShownPath(ctx, total) +
                ". 먼저 consolidate 로 취합하십시오.");
            return 1;
        };
        if (!fs.IsDirectory(util.ResultFolder()))
            return noTotal(util.ResultPath(".tls"));
        WriteLock lock(fs, util.ResultPath(".tls"));
        if (!TakeLock(util, lock))
            return util.HeldByOther() ? kExitHeldByOther : 1;
        util.FollowLowerCaseTotal();
        const std::string total = util.ResultPath(".tls");
        if (!fs.Exists(total))
            return noTotal(total);

        // A count above a program's installed count is refused before
        // anything is written, as the dialog would refuse it: the rows to
        // check are those the written result holds, or, before there is one,
        // the counted rows of the total it will be made from.
        const bool firstResult = !fs.Exists(kWorkFolder + util.ResultFileName());
        if (!counts.empty() && firstResult && !CountsWithinInstalled(ctx, total, counts))
            return 1;

        // No written result yet: the total is saved first, with the rows
        // ticked as they load, so that the rows to count exist.
        util.SetWorkState(kWritingResult);
        if (firstResult) {
            doc.SetLayoutMode(kTotalLayout);
            if (!doc.LoadTotal() || !doc.SaveTotal())
                return util.HeldByOther() ? kExitHeldByOther : 1;
            util.SetWorkState(kSaved);
        }

        if (!model.Open()) {
            if (model.Refused())
                Say(ShownPath(ctx, util.ResultPath(".rst")) + " 에는 " + ShownPath(ctx, total) +
                    " 의 줄이 없습니다. 아무것도 쓰지 않았습니다 (결과를 총괄 파일에서 새로 "
                    "쓰려면 그 파일을 다른 곳으로 옮기십시오).");
            return 1;
        }
        for (const auto& [field, value] : names)
            model.SetField(field, ctx.Cp949(*value));
        if (pcs_)
            model.SetField(ResultField::PcCount, std::to_string(pcs));
        if (remark_)
            model.SetField(ResultField::Remark, ctx.Cp949(*remark_));
        bool refused = false;
        const int applied = ApplyGenuineCounts(ctx, model, counts, refused);
        if (refused)
            return 1;

        if (!model.Save(&doc))
            return util.HeldByOther() ? kExitHeldByOther : 1;
        std::cout << "result file\t" << ShownPath(ctx, util.ResultPath(".rst")) << "\n";
        std::cout << "total file\t" << ShownPath(ctx, util.ResultPath(".tls")) << "\n";
        std::cout << "programs\t" << model.RowCount() << "\n";
        if (genuine_)
            std::cout << "genuine counts applied\t" << applied << "\n";
        return 0;
    }

private:
    // The lengths the dialog's fields take.
    static bool WithinLimits(const CResultWriting& model) {
        const std::pair<ResultField, const char*> fields[] = {
            {ResultField::CheckDepartment, "--dept"},
            {ResultField::Checker, "--checker"},
            {ResultField::ConfirmDepartment, "--confirm-dept"},
            {ResultField::Confirmer, "--confirmer"},
            {ResultField::Remark, "--remark"},
        };
        bool ok = true;
        for (const auto& [field, option] : fields) {
            const std::size_t limit = CResultWriting::FieldLimit(field);
            const std::size_t size = model.Field(field).size();
            if (size > limit) {
                Say(std::string(option) + " 에는 한국어 코드 페이지로 " + std::to_string(limit) +
                    "바이트까지 쓸 수 있습니다 (줄 바꿈은 2바이트). 준 값은 " +
                    std::to_string(size) + "바이트입니다.");
                ok = false;
            }
        }
        return ok;
    }

    bool ReadGenuineCounts(Context& ctx, const std::string& path,
                           std::vector<GenuineCount>& counts) const {
        std::string bytes;
        if (!ReadNativeFile(path, bytes)) {
            SayCannotRead(path);
            return false;
        }
        const std::string shown = ShownUtf8Path(path);
        GenuineCountProblems problems;
        if (ostravion::ReadGenuineCounts(bytes, ctx.Codec(), counts, problems))
            return true;
        if (problems.unwritable) {
            SayUnwritable(shown, problems.character);
            return false;
        }
        if (!problems.error.empty())
            Say(shown + ": " + ctx.Utf8(problems.error));
        for (int line : problems.badLines)
            Say(shown + ": " + std::to_string(line) +
                "번째 줄: 프로그램명과 정품 수량(0 이상의 정수)이 있어야 합니다.");
        for (const auto& [first, other] : problems.conflicts)
            Say(shown + ": " + std::to_string(first) + "번째 줄과 " + std::to_string(other) +
                "번째 줄이 같은 프로그램에 다른 정품 수량을 줍니다.");
        Say("아무것도 쓰지 않았습니다.");
        return false;
    }

    // Each count goes to every row of that program name (letter case aside)
    // as if typed into its genuine cell. Returns the rows changed.
    // A count the dialog would refuse (above the installed count) sets
    // `refused`: the caller then writes nothing.
    int ApplyGenuineCounts(Context& ctx, CResultWriting& model,
                           const std::vector<GenuineCount>& counts, bool& refused) const {
        GenuineCountEvents events;
        events.genuineReset = [&](const GenuineCount& c, int row) {
            refused = true;
            TellAboveInstalled(ctx, c, model.ItemText(row, kResultInstalled));
        };
        events.noSuchProgram = [&](const GenuineCount& c) {
            Say(ShownUtf8Path(*genuine_) + ": " + std::to_string(c.line) + "번째 줄: 결과에 \"" +
                ctx.Utf8(c.program) + "\" 프로그램이 없어 건너뛰었습니다.");
        };
        return ostravion::ApplyGenuineCounts(model, counts, events);
    }

    void TellAboveInstalled(Context& ctx, const GenuineCount& c, const std::string& installed,
                            bool systemMessage = false) const {
        if (systemMessage)
            ctx.messages.Show(resultwriting::kGenuineAboveInstalled);
        Say(ShownUtf8Path(*genuine_) + ": " + std::to_string(c.line) + "번째 줄: \"" +
            ctx.Utf8(c.program) + "\"의 정품 수량 " + c.count + "이(가) 설치 수량 " + installed +
            "보다 많습니다. 아무것도 쓰지 않았습니다.");
    }

    // The counts against the counted rows of the total file at `total`.
    bool CountsWithinInstalled(Context& ctx, const std::string& total,
                               const std::vector<GenuineCount>& counts) const {
        std::string bytes;
        if (!ctx.platform.Files().ReadWhole(total, bytes))
            return true; // told when the total is loaded
        std::vector<ResultWriteRow> rows;
        std::vector<FoundProgram> store;
        ReadResultWriteRows(bytes, rows, store);
        bool ok = true;
        for (const GenuineCount& c : counts) {
            int genuine = 0;
            if (!ParseCount(c.count, genuine))
                continue;
            for (const ResultWriteRow& r : rows) {
                int installed = 0;
                if (text::EqualsNoCase(r.cells[kResultProgram], c.program) &&
                    ParseCount(r.cells[kResultInstalled], installed) && genuine > installed) {
                    TellAboveInstalled(ctx, c, r.cells[kResultInstalled], true);
                    ok = false;
                }
            }
        }
        return ok;
    }

    CLI::App* cmd_ = nullptr;
    std::string name_;
    std::string dept_, checker_, confirmDept_, confirmer_;
    std::optional<std::string> pcs_;
    std::optional<std::string> remark_;
    std::optional<std::string> genuine_;
};

} // namespace

std::unique_ptr<Command> MakeResultCommand() {
    return std::make_unique<ResultCommand>();
}

} // namespace ostravion::cli
