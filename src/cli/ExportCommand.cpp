// export: the counted programs of a result or total file as a spreadsheet.
#include "cli/Command.h"
#include "doc/ResultWriting.h"
#include "files/TotalFile.h"
#include "util/AuditUtil.h"
#include "util/Csv.h"

#include <iostream>

namespace ostravion::cli {

namespace {

class ExportCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        cmd_ = app.add_subcommand("export",
                                  "총괄 NAME 의 집계된 프로그램을 CSV(UTF-8)로 씁니다: "
                                  "프로그램명, 저작사명, 설치수량, 정품수량, 복제수량, 불법복제율, "
                                  "비고");
        cmd_->add_option("--name", name_, "총괄 파일의 이름 (\".tls\" 는 빼도 됩니다)")->required();
        cmd_->add_option("--csv", csv_, "쓸 CSV 파일")->required();
        cmd_->add_option("--from", from_,
                         "읽을 파일: 결과 파일(result, 기본) 또는 총괄 파일(total)")
            ->check(CLI::IsMember({"result", "total"}));
    }
    bool Chosen() const override { return cmd_->parsed(); }

    int Run(Context& ctx) override {
        CAuditUtil util(ctx.platform.Files(), ctx.messages);
        if (!GivenValuesFit(ctx, {{"--name", &name_}}))
            return 1;
        if (!util.SetResultNames(ctx.Cp949(name_), CAuditUtil::NameForm::Name))
            return 1;
        util.FollowLowerCaseTotal();
        const std::string path = util.ResultPath(from_ == "total" ? ".tls" : ".rst");
        std::string bytes;
        if (!util.Files().ReadWhole(path, bytes)) {
            ctx.messages.Show(totalfile::kResultFileOpenError);
            Say("파일을 읽을 수 없습니다: " + ShownPath(ctx, path));
            return 1;
        }
        // The rows as the result-writing dialog lists them, so that copies and
        // rates are the ones it shows and saves.
        std::vector<ResultWriteRow> rows;
        std::vector<FoundProgram> store;
        ReadResultWriteRows(bytes, rows, store);

        std::string out(csv::kUtf8Bom);
        std::vector<std::string> fields;
        for (int c = kResultProgram; c < kResultColumnCount; ++c)
            fields.push_back(ctx.Utf8(CResultWriting::Columns()[c].caption));
        out += csv::Line(fields);
        for (const ResultWriteRow& r : rows) {
            fields.clear();
            for (int c = kResultProgram; c < kResultColumnCount; ++c)
                fields.push_back(ctx.Utf8(r.cells[static_cast<std::size_t>(c)]));
            out += csv::Line(fields);
        }
        if (!WriteNativeFile(csv_, out)) {
            SayCannotWrite(csv_);
            return 1;
        }
        std::cout << "csv file\t" << ShownUtf8Path(csv_) << "\n";
        std::cout << "programs\t" << rows.size() << "\n";
        return 0;
    }

private:
    CLI::App* cmd_ = nullptr;
    std::string name_;
    std::string csv_;
    std::string from_ = "result";
};

} // namespace

std::unique_ptr<Command> MakeExportCommand() {
    return std::make_unique<ExportCommand>();
}

} // namespace ostravion::cli
