#include "app/COstravionApp.h"

#include "app/CSplashWnd.h"
#include "app/Dialogs.h"
#include "app/InfoBoxes.h"
#include "app/Pictures.h"

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QStatusBar>
#include <QTableView>

namespace ostravion::gui {

namespace {

// Stands in for the document until the core's document is wired in.
class PlaceholderDocument final : public AppDocument {
public:
    explicit PlaceholderDocument(CAuditUtil& util) : util_(util) {}
    void SetLayoutMode(unsigned char mode) override { util_.SetLayoutFlag(mode); }
    void ClearViews() override {}
    void LoadTotal() override {}
    void SaveTotal() override {}
    void Consolidate() override {}
    void PrepareScanProgress(const std::string& text) override { util_.ShowProgress(text); }
    void StartScan() override {}
    void StopScan() override {}
    void WriteScanResults() override {}
    bool ScanRunning() const override { return false; }

private:
    CAuditUtil& util_;
};

QTableView* PlaceholderView(const QString& name) {
    auto* v = new QTableView;
    v->setObjectName(name);
    return v;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine c;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
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
    doc_ =
        documentFactory_ ? documentFactory_(util_) : std::make_unique<PlaceholderDocument>(util_);
    frame_ = std::make_unique<CMainFrame>(
        CMainFrame::Services{util_, platform_.Codec(), platform_.Files(), *system_, *clock_});
    messages_.SetParent(frame_.get());
    if (!frame_->Create(*doc_, PlaceholderView(QStringLiteral("normalView")),
                        PlaceholderView(QStringLiteral("extendView")))) {
        frame_.reset();
        return false;
    }
    // The application's own commands: the two information boxes.
    QObject::connect(frame_->Action(ID_ABOUT_PRODUCT), &QAction::triggered, frame_.get(),
                     [this] { OnAppAbout(); });
    QObject::connect(frame_->Action(ID_ABOUT_ORG), &QAction::triggered, frame_.get(),
                     [this] { OnOrgInfo(); });

    if (!commandLine.file.isEmpty() && !QFileInfo::exists(commandLine.file)) {
        Dialogs::Show(frame_.get(), QStringLiteral("파일을 열 수 없습니다.\n") + commandLine.file);
        return false;
    }
    frame_->show();
    if (!commandLine.file.isEmpty())
        frame_->OpenPath(QFileInfo(commandLine.file).absoluteFilePath());
    return true;
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
