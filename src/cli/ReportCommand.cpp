// report: one printed report or form, one output page per printed page: a PDF
// where Qt is (Linux), enhanced metafiles or a printer's job on Windows.
// Elsewhere the command is left out and the help says so.
#include "cli/Command.h"

#if OSTRAVION_QT_REPORTS || OSTRAVION_GDI_REPORTS
#include "util/AuditUtil.h"
#include "views/ReportLayout.h"

#include <iostream>
#include <memory>
#endif
#if OSTRAVION_QT_REPORTS
#include "qt/report/QtPageCanvas.h"

#include <QGuiApplication>
#include <QIODevice>
#endif
#if OSTRAVION_GDI_REPORTS
#include "win/report/GdiPageCanvas.h"
#include "win/report/GdiPrinting.h"
#endif

namespace ostravion::cli {

namespace {

#if OSTRAVION_QT_REPORTS || OSTRAVION_GDI_REPORTS

#if OSTRAVION_QT_REPORTS
// Qt's own messages go to stderr, except its notes about the runtime folder,
// which mean nothing to a report run.
void QtMessages(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (message.startsWith(QStringLiteral("QStandardPaths:")))
        return;
    std::cerr << message.toStdString() << "\n";
}
#endif

class ReportCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        cmd_ = app.add_subcommand("report", kDescription);
        cmd_->add_option("--kind", kind_,
                         "1 PC별 결과, 3 프로그램별 결과, 4 점검 확인서, "
                         "5 서약서, 6 S/W 관리대장")
            ->required()
            ->check(CLI::IsMember({1, 3, 4, 5, 6}));
        cmd_->add_option("--name", name_,
                         "총괄 파일의 이름 (\".tls\" 는 빼도 됩니다); 1, 3, 4 에 "
                         "필요합니다");
        RegisterOutputs();
        cmd_->add_option("--view", view_, "인쇄하는 목록 보기: 점검 확인서의 서명 줄이 달라집니다")
            ->check(CLI::IsMember({"normal", "extended"}))
            ->capture_default_str();
        cmd_->footer(kFooter);
    }
    bool Chosen() const override { return cmd_->parsed(); }

    int Run(Context& ctx) override {
        const ReportKind kind = *ReportKindFromNumber(kind_);
        CAuditUtil util(ctx.platform.Files(), ctx.messages);
        const bool needsAudit = kind == ReportKind::ByPc || kind == ReportKind::BySoftware ||
                                kind == ReportKind::ConfirmationSheet;
        if (needsAudit) {
            if (name_.empty()) {
                Say("report --kind " + std::to_string(kind_) + " 에는 --name 이 필요합니다.");
                return 2;
            }
            if (!GivenValuesFit(ctx, {{"--name", &name_}}))
                return 2;
            if (!util.SetResultNames(ctx.Cp949(name_), CAuditUtil::NameForm::Name))
                return 1;
            util.FollowLowerCaseTotal();
        }
        util.SetReportKind(static_cast<unsigned char>(kind));
        if (const int status = StartOutput(ctx))
            return status;

        bool readOk = true;
        const ReportLayout layout =
            PrepareReport(util, kind, TotalFileReaders(util),
                          view_ == "extended" ? SheetView::Extended : SheetView::Normal, &readOk);
        if (!WriteOutput(ctx, layout))
            return 1;
        std::cout << "pages\t" << layout.PageCount() << "\n";
        if (needsAudit)
            std::cout << "entries\t" << layout.EntryCount() << "\n";
        return readOk ? 0 : 1;
    }

private:
#if OSTRAVION_QT_REPORTS
    static constexpr const char* kDescription =
        "총괄 CheckOut/NAME.tls (와 그 결과 파일 NAME.rst)의 보고서나 빈 양식을 "
        "PDF 파일로 씁니다";
    static constexpr const char* kFooter =
        "점검 파일을 읽을 수 없으면 종료 상태 1: PDF 는 인쇄할 때처럼 자료 없는 보고서로 "
        "그래도 씁니다.\n이 빌드는 PDF 파일(--pdf)을 씁니다; Windows 빌드는 EMF 그림 "
        "파일(--emf)도 쓰고 인쇄(--printer)도 합니다.";

    void RegisterOutputs() {
        cmd_->add_option("--pdf", pdf_, "쓸 PDF 파일")->required();
    }

    // 0 when the output can be written; otherwise the exit status.
    int StartOutput(Context&) {
        // Painting needs a Qt application; without a display it runs offscreen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QtMessages);
        static int qtArgc = 1;
        static char qtName[] = "ostravion-cli";
        static char* qtArgv[] = {qtName, nullptr};
        app_ = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
        return 0;
    }

    // The PDF writer's output, going into the file made beside the named one.
    class OutFileDevice final : public QIODevice {
    public:
        explicit OutFileDevice(OutFile& out) : out_(out) { open(QIODevice::WriteOnly); }

    protected:
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char* data, qint64 size) override {
            if (!out_.Write(std::string(data, static_cast<std::size_t>(size))))
                return -1;
            return size;
        }

    private:
        OutFile& out_;
    };

    bool WriteOutput(Context& ctx, const ReportLayout& layout) {
        // The named path gets a new file, as every output the user names: a
        // link there is replaced, never written through.
        QString error = QStringLiteral("파일을 만들 수 없습니다");
        const bool written =
            ReplaceNativeFile(pdf_, [&](std::unique_ptr<OutFile> out, const std::string&) {
                OutFileDevice device(*out);
                const bool painted = qtreport::WriteReportPdf(layout, ctx.Codec(), device, &error);
                if (painted && !out->Close()) {
                    error = QStringLiteral("파일을 다 쓰지 못했습니다");
                    return false;
                }
                return painted;
            });
        if (!written) {
            Say("파일을 쓸 수 없습니다: " + ShownUtf8Path(pdf_) + ": " + error.toStdString());
            return false;
        }
        std::cout << "pdf\t" << ShownUtf8Path(pdf_) << "\n";
        return true;
    }

    std::string pdf_;
    std::unique_ptr<QGuiApplication> app_;
#else
    static constexpr const char* kDescription =
        "총괄 CheckOut/NAME.tls (와 그 결과 파일 NAME.rst)의 보고서나 빈 양식을 "
        "PDF 파일이나 EMF 그림 파일로 쓰거나 프린터로 인쇄합니다";
    static constexpr const char* kFooter =
        "점검 파일을 읽을 수 없으면 종료 상태 1: 쪽은 인쇄할 때처럼 자료 없는 보고서로 "
        "그래도 씁니다.\n이 빌드는 시스템의 PDF 프린터(\"Microsoft Print to PDF\")로 PDF "
        "파일(--pdf)을 쓰거나, EMF 그림 파일(--emf)을 쓰거나, 인쇄(--printer, --output)합니다.";
    // The PDF printer of Windows 10 and 11.
    static constexpr const char* kPdfPrinter = "Microsoft Print to PDF";

    void RegisterOutputs() {
        CLI::Option* pdf = cmd_->add_option(
            "--pdf", pdf_, "쓸 PDF 파일, \"Microsoft Print to PDF\" 로 인쇄합니다");
        CLI::Option* emf = cmd_->add_option(
            "--emf", emf_, "쪽마다 EMF 그림 파일 하나씩(page-001.emf, ...) 쓸 폴더");
        CLI::Option* printer = cmd_->add_option("--printer", printer_, "인쇄할 프린터의 이름");
        CLI::Option* output =
            cmd_->add_option("--output", output_, "프린터가 출력을 쓸 파일 (PDF 프린터의 PDF)");
        emf->excludes(printer);
        pdf->excludes(emf);
        pdf->excludes(printer);
        output->needs(printer);
    }

    // 0 when the output can be written; otherwise the exit status.
    int StartOutput(Context& ctx) {
        if (pdf_.empty() && emf_.empty() && printer_.empty()) {
            Say("report 에는 --pdf FILE, --emf FOLDER, --printer NAME 중 하나가 필요합니다.");
            return 2;
        }
        if (!pdf_.empty() && !device_.Choose(kPdfPrinter)) {
            std::cerr << "ostravion-cli: 이 PC에는 PDF 프린터(\"" << kPdfPrinter
                      << "\")가 없어 PDF 파일을 만들 수 없습니다.\n"
                      << "ostravion-cli: 쪽마다 그림 파일(EMF)로 쓰려면 --emf FOLDER 를, 다른 "
                         "프린터로 인쇄하거나 그 출력을 파일로 보내려면 --printer NAME --output "
                         "FILE 을 쓰십시오.\n";
            return 1;
        }
        if (!printer_.empty() && !device_.Choose(ctx.Cp949(printer_))) {
            Say("이런 이름의 프린터가 없습니다: " + printer_);
            return 1;
        }
        return 0;
    }

    bool WriteOutput(Context& ctx, const ReportLayout& layout) {
        if (!emf_.empty()) {
            std::vector<std::string> written;
            std::string error;
            if (!gdireport::WriteMetafiles(layout, emf_, &written, &error)) {
                std::cerr << "ostravion-cli: " << error << "\n";
                return false;
            }
            std::cout << "emf\t" << ShownUtf8Path(emf_) << "\n";
            return true;
        }
        // The printer's output is written by the spooler, which starts
        // elsewhere: it gets the file's whole path.
        const std::string output = pdf_.empty() ? output_ : pdf_;
        const std::string file = output.empty() ? std::string() : ShownUtf8Path(output);
        const gdireport::PrintOutcome done = device_.Print(layout, file);
        if (const char* text = gdireport::PrintOutcomeText(done)) {
            std::cerr << ctx.Utf8(text) << "\n";
            return false;
        }
        if (!pdf_.empty()) {
            std::cout << "pdf\t" << file << "\n";
            return true;
        }
        std::cout << "printer\t" << printer_ << "\n";
        if (!file.empty())
            std::cout << "output\t" << file << "\n";
        return true;
    }

    std::string pdf_;
    std::string emf_;
    std::string printer_;
    std::string output_;
    gdireport::GdiPrinter device_;
#endif

    CLI::App* cmd_ = nullptr;
    int kind_ = 0;
    std::string name_;
    std::string view_ = "normal";
};

#else

// This build has nothing to draw pages with: the help says where the command went.
class ReportCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        app.footer("report (보고서를 PDF 나 EMF 그림 파일로)는 이 빌드에 없습니다: "
                   "Qt 6 이나 Windows 가 필요합니다.");
    }
    bool Chosen() const override { return false; }
    int Run(Context&) override { return 2; }
};

#endif

} // namespace

std::unique_ptr<Command> MakeReportCommand() {
    return std::make_unique<ReportCommand>();
}

} // namespace ostravion::cli
