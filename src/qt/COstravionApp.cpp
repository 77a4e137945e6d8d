#include "qt/COstravionApp.h"

#include "qt/CSplashWnd.h"
#include "qt/Dialogs.h"
#include "qt/GuiDocument.h"
#include "qt/InfoBoxes.h"
#include "qt/Pictures.h"
#include "qt/QtKorean.h"
#include "qt/ResultView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStatusBar>
#include <QTableView>

namespace ostravion::gui {

namespace {

// An empty view beside a document that has no lists of its own (tests).
QTableView* PlaceholderView(const QString& name) {
    auto* v = new QTableView;
    v->setObjectName(name);
    return v;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    std::vector<std::string> args;
    for (int i = 1; i < arguments.size(); ++i)
        args.push_back(arguments.at(i).toStdString());
    const DesktopCommandLine parsed = ParseDesktopCommandLine(
        args, [](const std::string& a) { return QFileInfo::exists(QString::fromStdString(a)); });
    CommandLine c;
    c.splash = parsed.splash;
    c.file = QString::fromStdString(parsed.file);
    c.scan.driveMap = parsed.driveMap;
    c.scan.appPathsFile = parsed.appPathsFile;
    c.scan.recoveryPassword = parsed.recoveryPassword;
    return c;
}

COstravionApp::COstravionApp(NativePlatform& platform)
    : platform_(platform), system_(&platform.System()), clock_(&platform.LocalClock()),
      messages_(platform.Codec()), progress_(platform.Codec(),
                                             [this](QStatusBar*& status, QLabel*& pane) {
                                                 if (!frame_ || !frame_->MessagePane())
                                                     return false;
                                                 status = frame_->statusBar();
                                                 pane = frame_->MessagePane();
                                                 return true;
                                             }),
      util_(platform.Files(), messages_, &progress_) {}

COstravionApp::~COstravionApp() {
    util_.DestroyProgress();
    frame_.reset();
}

bool COstravionApp::InitInstance(const CommandLine& commandLine) {
    // Qt's own dialogs speak the program's language.
    InstallQtKorean();
    CSplashWnd::EnableSplashScreen(commandLine.splash);
    std::string error;
    if (!platform_.ConfigureScan(commandLine.scan, error)) {
        Dialogs::Show(nullptr, QString::fromStdString(error));
        return false;
    }
    // A disk read with a warning (a hive whose logs were not applied) says so once.
    for (const std::string& warning : platform_.ScanWarnings())
        Dialogs::Show(nullptr, QString::fromStdString(warning));

    QWidget* upper = nullptr;
    QWidget* lower = nullptr;
    GuiDocument* gui = nullptr;
    if (documentFactory_) {
        doc_ = documentFactory_(util_);
        upper = PlaceholderView(QStringLiteral("normalView"));
        lower = PlaceholderView(QStringLiteral("extendView"));
    } else {
        auto d = std::make_unique<GuiDocument>(util_, platform_, *system_, &messages_);
        gui = d.get();
        doc_ = std::move(d);
        auto* normal = new CResultView(gui->NormalList(), platform_.Codec());
        normal->setObjectName(QStringLiteral("normalView"));
        auto* extended = new CResultView(gui->ExtendedList(), platform_.Codec());
        extended->setObjectName(QStringLiteral("extendView"));
        upper = normal;
        lower = extended;
    }
    frame_ = std::make_unique<CMainFrame>(
        CMainFrame::Services{util_, platform_.Codec(), *system_, *clock_});
    messages_.SetParent(frame_.get());
    if (!frame_->Create(*doc_, upper, lower)) {
        delete upper;
        delete lower;
        frame_.reset();
        return false;
    }
    if (gui) {
        gui->SetFlows(&frame_->Flows());
        // A disk image chosen in the start dialog is read as drive C:, with
        // the registered applications the program was given; an empty path
        // puts back the drives it started with.
        const ScanSetup started = commandLine.scan;
        frame_->Flows().SetDiskImageOpener(
            [this, started](const std::string& path, std::string& error) {
                ScanSetup setup = started;
                if (!path.empty())
                    setup.driveMap = {"C=" + platform_.Codec().ToUtf8(path)};
                if (!platform_.ConfigureScan(setup, error))
                    return false;
                for (const std::string& warning : platform_.ScanWarnings())
                    Dialogs::Show(frame_.get(), QString::fromStdString(warning));
                return true;
            });
        for (auto* view : {static_cast<CResultView*>(upper), static_cast<CResultView*>(lower)}) {
            // A check-box change after a total was opened or saved marks it edited.
            view->Model().workEdited = [this] { frame_->Flows().WorkEdited(); };
            QObject::connect(view, &CResultView::openFolder, frame_.get(),
                             [this](const std::string& folder) { OpenFolder(folder); });
        }
    }
    // The application's own commands: the two information boxes.
    QObject::connect(frame_->Action(ID_ABOUT_PRODUCT), &QAction::triggered, frame_.get(),
                     [this] { OnAppAbout(); });
    QObject::connect(frame_->Action(ID_ABOUT_ORG), &QAction::triggered, frame_.get(),
                     [this] { OnOrgInfo(); });

    // A named file that is not there ends the program after its message.
    const std::string file = platform_.Codec().FromUtf8(
        QDir::toNativeSeparators(QFileInfo(commandLine.file).absoluteFilePath()).toStdString());
    if (!commandLine.file.isEmpty() && !frame_->Flows().GivenFileExists(file))
        return frame_->Flows().OpenGivenFile(file);
    frame_->show();
    if (!commandLine.file.isEmpty())
        frame_->Flows().OpenGivenFile(file);
    return true;
}

void COstravionApp::OpenFolder(const std::string& folderText) {
    frame_->Flows().OpenRowFolder(folderText, platform_.DriveList().FixedDrives(),
                                  platform_.Search().NativeSeparator());
}

void COstravionApp::OnAppAbout() {
    CAboutDlg dlg(frame_.get());
    Dialogs::Exec(dlg);
}

void COstravionApp::OnOrgInfo() {
    COrgInfoDlg dlg(frame_.get());
    Dialogs::Exec(dlg);
}

int RunApplication(int argc, char** argv) {
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostravion"));
    QApplication::setFont(pictures::DialogFont());
    QApplication::setWindowIcon(pictures::AppIcon());
    const CommandLine commandLine = ParseCommandLine(QApplication::arguments());
    auto platform = MakeNativePlatform();
    COstravionApp app(*platform);
    if (!app.InitInstance(commandLine))
        return 1;
    return QApplication::exec();
}

} // namespace ostravion::gui
