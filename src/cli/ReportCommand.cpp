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
                         "1 results by PC, 3 results by program, 4 confirmation sheet, "
                         "5 pledge form, 6 S/W management ledger")
            ->required()
            ->check(CLI::IsMember({1, 3, 4, 5, 6}));
        cmd_->add_option("--name", name_,
                         "name of the total file (\".tls\" may be left off); needed by kinds "
                         "1, 3 and 4");
        RegisterOutputs();
        cmd_->add_option("--view", view_,
                         "the list view that prints: its confirmation sheet's signature line")
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
                std::cerr << "ostravion-cli: report --kind " << kind_ << " needs --name\n";
                return 2;
            }
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
        "write a printed report of the total CheckOut/NAME.tls (and its written result "
        "NAME.rst), or a blank form, to a PDF file";
    static constexpr const char* kFooter =
        "Exit status 1 when the audit's file cannot be read: the PDF is still written, with "
        "the report's no-data form, as printing does.\nThis build writes PDF files (--pdf); "
        "the Windows build also writes enhanced metafiles (--emf) and prints (--printer).";

    void RegisterOutputs() {
        cmd_->add_option("--pdf", pdf_, "PDF file to write")->required();
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
        QString error = QStringLiteral("cannot make the file");
        const bool written =
            ReplaceNativeFile(pdf_, [&](std::unique_ptr<OutFile> out, const std::string&) {
                OutFileDevice device(*out);
                const bool painted = qtreport::WriteReportPdf(layout, ctx.Codec(), device, &error);
                if (painted && !out->Close()) {
                    error = QStringLiteral("the file was not written whole");
                    return false;
                }
                return painted;
            });
        if (!written) {
            std::cerr << "ostravion-cli: cannot write " << ShownUtf8Path(pdf_) << ": "
                      << error.toStdString() << "\n";
            return false;
        }
        std::cout << "pdf\t" << ShownUtf8Path(pdf_) << "\n";
        return true;
    }

    std::string pdf_;
    std::unique_ptr<QGuiApplication> app_;
#else
    static constexpr const char* kDescription =
        "write a printed report of the total CheckOut/NAME.tls (and its written result "
        "NAME.rst), or a blank form, to a PDF file, as enhanced metafiles or to a printer";
    static constexpr const char* kFooter =
        "Exit status 1 when the audit's file cannot be read: the pages are still written, "
        "with the report's no-data form, as printing does.\nThis build writes PDF files "
        "(--pdf) through the system's PDF printer (\"Microsoft Print to PDF\"), enhanced "
        "metafiles (--emf), or prints (--printer, --output).";
    // The PDF printer of Windows 10 and 11.
    static constexpr const char* kPdfPrinter = "Microsoft Print to PDF";

    void RegisterOutputs() {
        CLI::Option* pdf = cmd_->add_option(
            "--pdf", pdf_, "PDF file to write, printed by \"Microsoft Print to PDF\"");
        CLI::Option* emf = cmd_->add_option(
            "--emf", emf_,
            "folder to write the pages into, one enhanced metafile each (page-001.emf, ...)");
        CLI::Option* printer =
            cmd_->add_option("--printer", printer_, "printer to print on, by its name");
        CLI::Option* output = cmd_->add_option(
            "--output", output_, "file the printer writes its output to (a PDF printer's PDF)");
        emf->excludes(printer);
        pdf->excludes(emf);
        pdf->excludes(printer);
        output->needs(printer);
    }

    // 0 when the output can be written; otherwise the exit status.
    int StartOutput(Context& ctx) {
        if (pdf_.empty() && emf_.empty() && printer_.empty()) {
            std::cerr << "ostravion-cli: report needs --pdf FILE, --emf FOLDER or --printer NAME\n";
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
            std::cerr << "ostravion-cli: there is no printer named " << printer_ << "\n";
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
        app.footer("report (the printed reports as PDF or enhanced metafiles) is not part of "
                   "this build: it needs Qt 6, or Windows.");
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
