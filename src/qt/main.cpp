// ostravion: the desktop program.
#include "Version.h"
#include "desktop/ProgramArguments.h"
#include "platform/Native.h"
#include "qt/COstravionApp.h"
#include "qt/Dialogs.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace ostravion;

// A window can be opened: a display, or a Qt platform chosen by the user
// (offscreen, for one).
bool CanShowWindows() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

// A message said before the window: on the terminal when the program was
// started from one (or cannot show a window), else in a message box.
void Say(int argc, char** argv, const std::string& utf8) {
    if (StderrIsTerminal() || !CanShowWindows()) {
        std::fprintf(stderr, "ostravion: %s\n", utf8.c_str());
        return;
    }
    QApplication qt(argc, argv);
    gui::Dialogs::Show(nullptr, QString::fromStdString(utf8));
}

} // namespace

int main(int argc, char** argv) {
    // Asked for the usage or the version, or given an argument it cannot
    // use, the program answers before any window or folder is made.
    auto platform = MakeNativePlatform();
    const TextCodec& codec = platform->Codec();
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const desktop::ProgramRequest request = desktop::CheckProgramArguments(args, codec);
    switch (request.kind) {
    case desktop::ProgramRequest::Kind::Help:
        std::fputs(codec.ToUtf8(desktop::ProgramUsage("ostravion", desktop::UsageLayout::Terminal))
                       .c_str(),
                   stdout);
        return 0;
    case desktop::ProgramRequest::Kind::Version:
        std::printf("ostravion %s\n", OSTRAVION_VERSION);
        return 0;
    case desktop::ProgramRequest::Kind::Bad:
        Say(argc, argv, codec.ToUtf8(request.message));
        return 2;
    case desktop::ProgramRequest::Kind::Run:
        break;
    }
    const DesktopCommandLine commandLine = ParseDesktopCommandLine(
        args, [](const std::string& a) { return QFileInfo::exists(QString::fromStdString(a)); });
    const std::string unusable = desktop::ApplyScanStandIns(
        commandLine, codec, [&](const std::vector<std::string>& drives, const std::string& apps) {
            std::string error;
            return platform->ConfigureScan(ScanSetup{drives, apps, commandLine.recoveryPassword},
                                           error);
        });
    if (!unusable.empty()) {
        Say(argc, argv, codec.ToUtf8(unusable));
        return 2;
    }
    if (!CanShowWindows()) {
        Say(argc, argv, codec.ToUtf8(desktop::NoDisplayMessage()));
        return 1;
    }
    platform.reset();
    return gui::RunApplication(argc, argv);
}
