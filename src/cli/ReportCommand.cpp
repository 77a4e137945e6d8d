// report: one printed report or form as a PDF, one PDF page per printed page.
// Built where Qt is; elsewhere the command is left out and the help says so.
#include "cli/Command.h"

#if OSTRAVION_QT_REPORTS
#include "qt/report/QtPageCanvas.h"
#include "util/AuditUtil.h"
#include "views/ReportLayout.h"

#include <QGuiApplication>
#include <iostream>
#endif

namespace ostravion::cli {

namespace {

#if OSTRAVION_QT_REPORTS

// Qt's own messages go to stderr, except its notes about the runtime folder,
// which mean nothing to a report run.
void QtMessages(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (message.startsWith(QStringLiteral("QStandardPaths:")))
        return;
    std::cerr << message.toStdString() << "\n";
}

class ReportCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        cmd_ = app.add_subcommand(
            "report", "write a printed report of the total CheckOut/NAME.tls (and its written "
                      "result NAME.rst), or a blank form, to a PDF file");
        cmd_->add_option("--kind", kind_,
                         "1 results by PC, 3 results by program, 4 confirmation sheet, "
                         "5 pledge form, 6 S/W management ledger")
            ->required()
            ->check(CLI::IsMember({1, 3, 4, 5, 6}));
        cmd_->add_option("--name", name_,
                         "name of the total file (\".tls\" may be left off); needed by kinds "
                         "1, 3 and 4");
        cmd_->add_option("--pdf", pdf_, "PDF file to write")->required();
        cmd_->add_option("--view", view_,
                         "the list view that prints: its confirmation sheet's signature line")
            ->check(CLI::IsMember({"normal", "extended"}))
            ->capture_default_str();
        cmd_->footer("Exit status 1 when the audit's file cannot be read: the PDF is still "
                     "written, with the report's no-data form, as printing does.");
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

        // Painting needs a Qt application; without a display it runs offscreen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QtMessages);
        static int qtArgc = 1;
        static char qtName[] = "ostravion-cli";
        static char* qtArgv[] = {qtName, nullptr};
        QGuiApplication app(qtArgc, qtArgv);

        bool readOk = true;
        const ReportLayout layout =
            PrepareReport(util, kind, TotalFileReaders(util),
                          view_ == "extended" ? SheetView::Extended : SheetView::Normal, &readOk);

        QString error;
        if (!qtreport::WriteReportPdf(layout, ctx.Codec(), QString::fromStdString(pdf_), &error)) {
            std::cerr << "ostravion-cli: cannot write " << pdf_ << ": " << error.toStdString()
                      << "\n";
            return 1;
        }
        std::cout << "pdf\t" << pdf_ << "\n";
        std::cout << "pages\t" << layout.PageCount() << "\n";
        if (needsAudit)
            std::cout << "entries\t" << layout.EntryCount() << "\n";
        return readOk ? 0 : 1;
    }

private:
    CLI::App* cmd_ = nullptr;
    int kind_ = 0;
    std::string name_;
    std::string pdf_;
    std::string view_ = "normal";
};

#else

// This build has no Qt to paint with: the help says where the command went.
class ReportCommand final : public Command {
public:
    void Register(CLI::App& app) override {
        app.footer("report (PDF export of the printed reports) is not part of this build: it "
                   "needs Qt 6.");
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
