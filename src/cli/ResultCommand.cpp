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
        cmd_ = app.add_subcommand(
            "result", "write the result of total NAME: CheckOut/NAME.rst, and NAME.tls again");
        cmd_->add_option("--name", name_, "name of the total file (\".tls\" may be left off)")
            ->required();
        // The four names are required, but their absence is told by the
        // system's own messages, so the parser takes them as optional.
        cmd_->add_option("--dept", dept_, "auditing department (required)");
        cmd_->add_option("--checker", checker_, "auditor's name (required)");
        cmd_->add_option("--confirm-dept", confirmDept_, "confirming department (required)");
        cmd_->add_option("--confirmer", confirmer_, "confirmer's name (required)");
        cmd_->add_option("--pcs", pcs_, "number of PCs (default: as the file holds it)");
        cmd_->add_option("--remark", remark_, "other remarks; line breaks are kept");
        cmd_->add_option("--genuine", genuine_,
                         "CSV file (UTF-8): program name, genuine count; one program per line");
    }
    bool Chosen() const override { return cmd_->parsed(); }

    int Run(Context& ctx) override {
        FileSystem& fs = ctx.platform.Files();
        CAuditUtil util(fs, ctx.messages);
        AuditLists lists(util);
        COstravionDoc& doc = lists.doc;
        CResultWriting model(util);

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
            std::cerr << "ostravion-cli: --pcs takes a whole number from 0\n";
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
            std::cerr << "ostravion-cli: there is no total file " << ShownPath(ctx, total)
                      << "; consolidate first\n";
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
                std::cerr << "ostravion-cli: " << ShownPath(ctx, util.ResultPath(".rst"))
                          << " does not hold the rows of " << ShownPath(ctx, total)
                          << "; nothing was written (move it away to write the result anew)\n";
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
                std::cerr << "ostravion-cli: " << option << " takes at most " << limit
                          << " bytes in the Korean code page (a line break counts 2); it has "
                          << size << "\n";
                ok = false;
            }
        }
        return ok;
    }

    bool ReadGenuineCounts(Context& ctx, const std::string& path,
                           std::vector<GenuineCount>& counts) const {
        std::string bytes;
        if (!ReadNativeFile(path, bytes)) {
            std::cerr << "ostravion-cli: cannot read " << ShownUtf8Path(path) << "\n";
            return false;
        }
        std::string error;
        std::vector<int> badLines;
        if (ostravion::ReadGenuineCounts(bytes, ctx.Codec(), counts, error, badLines))
            return true;
        if (!error.empty())
            std::cerr << "ostravion-cli: " << ShownUtf8Path(path) << ": " << error << "\n";
        for (int line : badLines)
            std::cerr << "ostravion-cli: " << ShownUtf8Path(path) << ": line " << line
                      << ": expected a program name and a genuine count (a whole number "
                         "from 0)\n";
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
            std::cerr << "ostravion-cli: " << ShownUtf8Path(*genuine_) << " line " << c.line
                      << ": no program named " << ctx.Utf8(c.program)
                      << " in the result; skipped\n";
        };
        return ostravion::ApplyGenuineCounts(model, counts, events);
    }

    void TellAboveInstalled(Context& ctx, const GenuineCount& c, const std::string& installed,
                            bool systemMessage = false) const {
        if (systemMessage)
            ctx.messages.Show(resultwriting::kGenuineAboveInstalled);
        std::cerr << "ostravion-cli: " << ShownUtf8Path(*genuine_) << " line " << c.line << ": "
                  << ctx.Utf8(c.program) << ", genuine " << c.count
                  << " is above the installed count " << installed << "; nothing was written\n";
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
