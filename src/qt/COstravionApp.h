// The application: start-up in its order, the one shared utility object, the
// document with its two views, and the main window.
#pragma once

#include "desktop/DesktopDocument.h"
#include "platform/Native.h"
#include "qt/CMainFrame.h"
#include "qt/CProgressBar.h"
#include "qt/GuiMessages.h"
#include "util/AuditUtil.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace ostravion::gui {

struct CommandLine {
    bool splash = true; // false with the embedding or automation switches
    QString file;       // a total file to open
    ScanSetup scan;     // drives and registered applications to scan instead
};

// "/Embedding", "-Embedding", "/Automation" and "-Automation" ask for no
// splash window; the first argument that is no switch names a file.
CommandLine ParseCommandLine(const QStringList& arguments);

class COstravionApp {
public:
    explicit COstravionApp(NativePlatform& platform);
    ~COstravionApp();

    // Start-up after the command line is parsed: splash setting, document,
    // views and main window; shows the window and opens a named file. False
    // when the program must end.
    bool InitInstance(const CommandLine& commandLine);

    // Puts a fixed machine in place of this one's facts and clock (tests).
    void SetMachine(const SystemInfo& system, const Clock& clock) {
        system_ = &system;
        clock_ = &clock;
    }
    // Puts another document in place of the program's own (tests).
    using DocumentFactory = std::function<std::unique_ptr<DesktopDocument>(CAuditUtil&)>;
    void SetDocumentFactory(DocumentFactory factory) { documentFactory_ = std::move(factory); }

    CMainFrame* MainFrame() const { return frame_.get(); }
    CAuditUtil& Util() { return util_; }
    DesktopDocument& Document() { return *doc_; }

    // A double click on a list row asked for its folder (its text): the
    // flows open it in the file manager when it is an existing folder.
    void OpenFolder(const std::string& folderText);
    // The two about boxes.
    void OnAppAbout();
    void OnOrgInfo();

private:
    NativePlatform& platform_;
    const SystemInfo* system_;
    const Clock* clock_;
    GuiMessages messages_;
    StatusProgressFactory progress_;
    CAuditUtil util_;
    DocumentFactory documentFactory_;
    std::unique_ptr<DesktopDocument> doc_;
    std::unique_ptr<CMainFrame> frame_;
};

// The program's main: sets up Qt and runs the message loop.
int RunApplication(int argc, char** argv);

} // namespace ostravion::gui
