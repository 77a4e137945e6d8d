// The Windows program's start: the machine's ports, the shared utility
// object, the document and the main window, then the message loop.
#pragma once

#include "desktop/DesktopFlows.h"
#include "platform/Native.h"
#include "win/MainFrame.h"
#include "win/StatusBar.h"
#include "win/WinMessages.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace ostravion::win {

// The command line of the program, UTF-8 arguments after its name.
DesktopCommandLine ParseWindowsCommandLine(const std::vector<std::string>& arguments);

class WinApp {
public:
    explicit WinApp(NativePlatform& platform);
    ~WinApp();

    // Tests put a document of their own in place of the machine's.
    std::function<std::unique_ptr<DesktopDocument>(CAuditUtil&)> documentFactory;

    // Makes the document and the main window and shows it; opens a total
    // file named on the command line. False when the program should end.
    bool InitInstance(HINSTANCE instance, const DesktopCommandLine& commandLine, int show);
    // Runs messages until the main window is gone; the exit code.
    int Run();

    MainFrame* Frame() { return frame_.get(); }
    CAuditUtil& Util() { return util_; }
    DesktopDocument& Document() { return *doc_; }
    NativePlatform& Platform() { return platform_; }

private:
    void OnAppCommand(int id);
    void OpenFolder(const std::string& folderText);

    NativePlatform& platform_;
    WinMessages messages_;
    StatusProgressFactory progress_;
    CAuditUtil util_;
    std::unique_ptr<DesktopDocument> doc_;
    // Lists for a document that has none of its own (tests).
    std::unique_ptr<CResultList> spare_[2];
    std::unique_ptr<MainFrame> frame_;
};

int RunApplication(HINSTANCE instance, int show);

} // namespace ostravion::win
