// Shared pieces of the desktop program's tests: the registry of test classes,
// a temporary work folder, a platform with a fixed PC and clock, a recording
// document, and a harness that starts the real application around them.
#pragma once

#include "desktop/DesktopDocument.h"
#include "platform/Native.h"
#include "qt/COstravionApp.h"
#include "qt/Dialogs.h"

#include <QDialog>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ostravion::test {

// Test classes register themselves under their class name.
using TestFactory = std::function<QObject*()>;
void RegisterAppTest(const char* name, TestFactory factory);

template <typename T> struct AppTestRegistrar {
    explicit AppTestRegistrar(const char* name) {
        RegisterAppTest(name, [] { return new T; });
    }
};
#define OSTRAVION_APP_TEST(Class)                                                                  \
    static ::ostravion::test::AppTestRegistrar<Class> g_##Class(#Class)

// A temporary folder made the current directory for the test's life.
class WorkDir {
public:
    WorkDir();
    ~WorkDir();
    QString Path(const QString& relative = {}) const;
    // Writes a file below the folder (bytes as given).
    void Write(const QString& relative, const QByteArray& bytes) const;
    QByteArray Read(const QString& relative) const;
    bool Exists(const QString& relative) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

class FixedSystem final : public SystemInfo {
public:
    std::string computer = "PC01";
    std::string user = "kim";
    std::string ComputerName() const override { return computer; }
    std::string UserName() const override { return user; }
    ProcessorFacts Processor() const override { return {0, 6, 0x0806}; }
    OsVersionFacts OsVersion() const override { return {}; }
};

class FixedClock final : public Clock {
public:
    LocalTime now{2024, 3, 5, 9, 7, 0};
    LocalTime Now() const override { return now; }
};

// The machine's own ports, with a fixed PC and clock for the facts.
class TestPlatform {
public:
    TestPlatform() : native(MakeNativePlatform()) {}
    // An application on this platform.
    std::unique_ptr<gui::COstravionApp> MakeApp() {
        auto app = std::make_unique<gui::COstravionApp>(*native);
        app->SetMachine(system, clock);
        return app;
    }
    TextCodec& Codec() const { return native->Codec(); }

    std::unique_ptr<NativePlatform> native;
    FixedSystem system;
    FixedClock clock;
};

// Records what the main window asks of the document.
class RecordingDocument final : public DesktopDocument {
public:
    explicit RecordingDocument(CAuditUtil& util) : util(util) {}
    void SetLayoutMode(unsigned char mode) override;
    void ClearViews() override { Record(QStringLiteral("ClearViews")); }
    void LoadTotal() override;
    bool SaveTotal() override {
        Record(QStringLiteral("SaveTotal"));
        return saves;
    }
    bool Consolidate() override;
    void PrepareScanProgress(const std::string& text) override {
        util.PrepareProgressRange(text, topFolders);
    }
    void BeginInspection(const PcFacts& facts) override;
    void StopScan() override {
        running = false;
        Record(QStringLiteral("StopScan"));
    }
    bool ScanRunning() const override { return running; }
    bool running = false;

    CAuditUtil& util;
    QStringList calls;
    long long topFolders = 3;
    // What Load and Consolidate leave in the extended view: it picks the layout.
    bool extendedRows = false;
    // What SaveTotal answers.
    bool saves = true;
    gui::CMainFrame* frame = nullptr;
    // Runs at every call, after it is recorded: a test looks at the window
    // in the middle of a flow.
    std::function<void(const QString&)> onCall;

private:
    void Record(const QString& call) {
        calls << call;
        if (onCall)
            onCall(call);
    }
};

// The real application on a temporary work folder, with the dialog door
// scripted and a recording document.
class Harness {
public:
    Harness();
    ~Harness();
    gui::CMainFrame& Frame() const { return *app->MainFrame(); }
    CAuditUtil& Util() const { return app->Util(); }
    RecordingDocument& Doc() const { return *doc; }
    // CP949 text of a UTF-8 literal and back.
    std::string Cp(const QString& s) const { return platform.Codec().FromUtf8(s.toStdString()); }

    WorkDir dir;
    TestPlatform platform;
    std::unique_ptr<gui::COstravionApp> app;
    RecordingDocument* doc = nullptr;
};

// The program's own application, document and views on a work folder, with
// the dialog door scripted, started with the command line given.
struct RealApp {
    WorkDir dir;
    TestPlatform platform;
    std::unique_ptr<gui::COstravionApp> app;

    bool Start(const QString& file = {});
    gui::CMainFrame& Frame() const { return *app->MainFrame(); }
    // The rows the upper list view shows.
    int Rows() const;
    // Copies the report fixture `name` (audit.tls, audit.rst) into CheckOut.
    void CopyFixture(const char* name) const;
};

// Dialog actions for the scripted door.
using DialogAction = std::function<void(QDialog&)>;
// Types the group (and, when given, the result file name) into the start
// dialog and presses OK.
DialogAction StartDialogOk(const QString& group, const QString& resultName = QString(),
                           bool setResultName = false);
// Presses a button of a dialog by its object name ("button1" OK, "button2" Cancel).
void Press(QDialog& dialog, const QString& button);

// The audit of the report fixtures (CheckOut/audit.tls and, when `written`,
// audit.rst) opened through the Open flow; the dialog log is then cleared.
void OpenFixtureAudit(Harness& h, bool written = true);
// The questions and messages of the dialog log, in order.
QStringList Messages();

// The screenshot folder given by the build, or empty.
QString ScreenshotFolder();
void SaveScreenshot(QWidget* widget, const QString& name);

} // namespace ostravion::test
