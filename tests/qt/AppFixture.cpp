#include "qt/AppFixture.h"

#include "doc/Inspection.h"
#include "qt/CMainFrame.h"
#include "qt/Pictures.h"
#include "qt/ResultView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <map>

namespace ostravion::test {

namespace {
std::map<std::string, TestFactory>& Registry() {
    static std::map<std::string, TestFactory> r;
    return r;
}
} // namespace

void RegisterAppTest(const char* name, TestFactory factory) {
    Registry()[name] = std::move(factory);
}

WorkDir::WorkDir() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

WorkDir::~WorkDir() {
    QDir::setCurrent(previous_);
}

QString WorkDir::Path(const QString& relative) const {
    return relative.isEmpty() ? dir_.path() : dir_.filePath(relative);
}

void WorkDir::Write(const QString& relative, const QByteArray& bytes) const {
    const QString path = Path(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray WorkDir::Read(const QString& relative) const {
    QFile f(Path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WorkDir::Exists(const QString& relative) const {
    return QFileInfo::exists(Path(relative));
}

void RecordingDocument::SetLayoutMode(unsigned char mode) {
    util.SetLayoutFlag(mode);
    Record(QStringLiteral("SetLayoutMode %1").arg(mode));
}

void RecordingDocument::LoadTotal() {
    Record(QStringLiteral("LoadTotal"));
    if (frame && (util.GetWorkState() == kTotalOpened || util.GetWorkState() == kConsolidated))
        frame->ShowLayout(extendedRows);
}

bool RecordingDocument::Consolidate() {
    Record(QStringLiteral("Consolidate"));
    return true;
}

void RecordingDocument::BeginInspection(const PcFacts& facts) {
    util.SetScanBaseName(ScanBaseName(facts.Group, facts.ComputerName));
    util.SetPcFacts(facts);
    if (util.GetLayoutFlag() == kTotalLayout)
        SetLayoutMode(kScanLayout);
    util.SetWorkState(kScanning);
    running = true;
    Record(QStringLiteral("BeginInspection"));
}

Harness::Harness() {
    // A key list for the start command to find; the recording document
    // reads nothing more of it.
    dir.Write(QStringLiteral("KEYLIST.DAT"), "keys");
    gui::Dialogs::SetScripted(true);
    gui::Dialogs::Reset();
    app = platform.MakeApp();
    app->SetDocumentFactory([this](CAuditUtil& util) {
        auto d = std::make_unique<RecordingDocument>(util);
        doc = d.get();
        return d;
    });
    gui::CommandLine commandLine;
    commandLine.splash = false;
    if (!app->InitInstance(commandLine))
        qFatal("the application did not start");
    doc->frame = app->MainFrame();
    if (!QTest::qWaitForWindowExposed(app->MainFrame()))
        qWarning("the main window was not exposed");
}

Harness::~Harness() {
    app.reset();
    gui::Dialogs::Reset();
}

bool RealApp::Start(const QString& file) {
    gui::Dialogs::SetScripted(true);
    gui::Dialogs::Reset();
    app = platform.MakeApp();
    gui::CommandLine c;
    c.splash = false;
    c.file = file;
    return app->InitInstance(c);
}

int RealApp::Rows() const {
    return static_cast<gui::CResultView*>(Frame().View(0))->Model().rowCount();
}

void RealApp::CopyFixture(const char* name) const {
    QFile::copy(QStringLiteral(OSTRAVION_SOURCE_DIR "/tests/cli/report/CheckOut/") +
                    QLatin1String(name),
                dir.Path(QStringLiteral("CheckOut/") + QLatin1String(name)));
}

DialogAction StartDialogOk(const QString& group, const QString& resultName, bool setResultName) {
    return [group, resultName, setResultName](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("edit1038"))->setText(group);
        if (setResultName)
            d.findChild<QLineEdit*>(QStringLiteral("edit1043"))->setText(resultName);
        Press(d, QStringLiteral("button1"));
    };
}

void Press(QDialog& dialog, const QString& button) {
    auto* b = dialog.findChild<QPushButton*>(button);
    if (!b)
        qFatal("no button %s", qPrintable(button));
    QTest::mouseClick(b, Qt::LeftButton);
}

void OpenFixtureAudit(Harness& h, bool written) {
    const auto fixture = [](const char* name) {
        QFile f(QStringLiteral(OSTRAVION_SOURCE_DIR "/tests/cli/report/CheckOut/") +
                QLatin1String(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    h.dir.Write(QStringLiteral("CheckOut/audit.tls"), fixture("audit.tls"));
    if (written)
        h.dir.Write(QStringLiteral("CheckOut/audit.rst"), fixture("audit.rst"));
    gui::Dialogs::SetNextFileName(h.dir.Path(QStringLiteral("CheckOut/audit.tls")));
    h.Frame().OnCommand(ID_FILE_OPEN);
    gui::Dialogs::ClearLog();
}

QStringList Messages() {
    QStringList out;
    for (const QString& l : gui::Dialogs::Log())
        if (l.startsWith(QStringLiteral("ask: ")) || l.startsWith(QStringLiteral("show: ")) ||
            l.startsWith(QStringLiteral("inform: ")))
            out << l;
    return out;
}

QString ScreenshotFolder() {
    return qEnvironmentVariable("OSTRAVION_SCREENSHOTS");
}

void SaveScreenshot(QWidget* widget, const QString& name) {
    const QString folder = ScreenshotFolder();
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    widget->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace ostravion::test

namespace {
// The offscreen platform warns about every top-level window it cannot size
// from hints; the warning says nothing about the program.
QtMessageHandler g_defaultHandler = nullptr;
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("propagateSizeHints")))
        return;
    g_defaultHandler(type, context, text);
}
} // namespace

int main(int argc, char** argv) {
    g_defaultHandler = qInstallMessageHandler(FilterMessages);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(ostravion::gui::pictures::DialogFont());
    auto& registry = ostravion::test::Registry();
    // "app_tests NAME [QtTest options]" runs one class; without a name, all.
    std::vector<std::string> names;
    QStringList rest;
    rest << QString::fromLocal8Bit(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (registry.count(a))
            names.push_back(a);
        else
            rest << QString::fromLocal8Bit(argv[i]);
    }
    if (names.empty())
        for (const auto& [name, factory] : registry)
            names.push_back(name);
    int failures = 0;
    for (const std::string& name : names) {
        std::unique_ptr<QObject> test(registry[name]());
        failures += QTest::qExec(test.get(), rest);
    }
    return failures == 0 ? 0 : 1;
}
