#include "app/COstravionApp.h"

#include "app/CSplashWnd.h"
#include "app/Dialogs.h"
#include "app/GuiDocument.h"
#include "app/InfoBoxes.h"
#include "app/Pictures.h"
#include "views/qt/ResultView.h"

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

// Whether a total named on the command line can be opened: also when only
// the lower-cased file name earlier versions wrote exists (where names differ
// by letter case), which the Open flow then follows.
bool TotalExists(const QString& file) {
    if (QFileInfo::exists(file))
        return true;
    const QFileInfo info(file);
    QString name = info.fileName();
    for (QChar& c : name)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = c.toLower();
    return QFileInfo::exists(info.dir().filePath(name));
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine c;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        // What to walk in place of this machine's drives, as the command line
        // program takes it: "--drive C=/mnt/win", "--app-paths FILE".
        for (const QString& option : {QStringLiteral("--drive"), QStringLiteral("--app-paths")}) {
            QString value;
            if (a == option && i + 1 < arguments.size())
                value = arguments.at(++i);
            else if (a.startsWith(option + QLatin1Char('=')))
                value = a.mid(option.size() + 1);
            else
                continue;
            if (option == QStringLiteral("--drive"))
                c.scan.driveMap.push_back(value.toStdString());
            else
                c.scan.appPathsFile = value.toStdString();
            goto next;
        }
        if (a.startsWith(QLatin1Char('/')) || a.startsWith(QLatin1Char('-'))) {
            const QString flag = a.mid(1);
            if (flag.compare(QStringLiteral("Embedding"), Qt::CaseInsensitive) == 0 ||
                flag.compare(QStringLiteral("Automation"), Qt::CaseInsensitive) == 0)
                c.splash = false;
            // An absolute path on this system starts with '/' too.
            if (!a.startsWith(QLatin1Char('/')) || !QFileInfo::exists(a))
                continue;
        }
        if (c.file.isEmpty())
            c.file = a;
    next:;
    }
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
    CSplashWnd::EnableSplashScreen(commandLine.splash);
    std::string error;
    if (!platform_.ConfigureScan(commandLine.scan, error)) {
        Dialogs::Show(nullptr, QString::fromStdString(error));
        return false;
    }

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
        CMainFrame::Services{util_, platform_.Codec(), platform_.Files(), *system_, *clock_});
    messages_.SetParent(frame_.get());
    if (!frame_->Create(*doc_, upper, lower)) {
        delete upper;
        delete lower;
        frame_.reset();
        return false;
    }
    if (gui) {
        gui->SetFrame(frame_.get());
        for (auto* view : {static_cast<CResultView*>(upper), static_cast<CResultView*>(lower)}) {
            // A check-box change after a total was opened or saved marks it edited.
            view->Model().workEdited = [this] { frame_->UpdateTitle(2); };
            QObject::connect(view, &CResultView::openFolder, frame_.get(),
                             [this](const std::string& folder) { OpenFolder(folder); });
        }
    }
    // The application's own commands: the two information boxes.
    QObject::connect(frame_->Action(ID_ABOUT_PRODUCT), &QAction::triggered, frame_.get(),
                     [this] { OnAppAbout(); });
    QObject::connect(frame_->Action(ID_ABOUT_ORG), &QAction::triggered, frame_.get(),
                     [this] { OnOrgInfo(); });

    if (!commandLine.file.isEmpty() && !TotalExists(commandLine.file)) {
        Dialogs::Show(frame_.get(), QStringLiteral("파일을 열 수 없습니다.\n") + commandLine.file);
        return false;
    }
    frame_->show();
    if (!commandLine.file.isEmpty())
        frame_->OpenPath(QFileInfo(commandLine.file).absoluteFilePath());
    return true;
}

void COstravionApp::OpenFolder(const std::string& folderText) {
    const std::string native =
        NativeFolder(folderText, platform_.DriveList().FixedDrives(),
                     platform_.Search().NativeSeparator(), platform_.Codec());
    Dialogs::Shell(QStringLiteral("explore"), QString::fromStdString(native));
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
