#include "win/WinApp.h"

#include "Version.h"
#include "desktop/ProgramArguments.h"
#include "desktop/ResourceTable.h"

#include "platform/win32/WideText.h"
#include "win/Door.h"
#include "win/WinDocument.h"
#include "win/WinText.h"
#include "win/dialogs/Dialogs.h"

#include <commctrl.h>

namespace ostravion::win {

namespace {

bool IsFile(const std::string& utf8) {
    const DWORD a = GetFileAttributesW(win32::WideFromUtf8(utf8).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

DesktopCommandLine ParseWindowsCommandLine(const std::vector<std::string>& arguments) {
    return ParseDesktopCommandLine(arguments, IsFile);
}

WinApp::WinApp(NativePlatform& platform)
    : platform_(platform), util_(platform.Files(), messages_, &progress_) {}

WinApp::~WinApp() {
    util_.DestroyProgress();
    frame_.reset();
    doc_.reset();
}

bool WinApp::InitInstance(HINSTANCE instance, const DesktopCommandLine& commandLine, int show) {
    EnableSplashScreen(commandLine.splash);
    std::string error;
    if (!platform_.ConfigureScan(
            ScanSetup{commandLine.driveMap, commandLine.appPathsFile, commandLine.recoveryPassword},
            error)) {
        Door::Show(nullptr, platform_.Codec().FromUtf8(error));
        return false;
    }

    CResultList* lists[2] = {nullptr, nullptr};
    WinDocument* native = nullptr;
    if (documentFactory) {
        doc_ = documentFactory(util_);
        for (int i = 0; i < 2; ++i) {
            spare_[i] = std::make_unique<CResultList>(util_, nullptr);
            lists[i] = spare_[i].get();
        }
    } else {
        auto d = std::make_unique<WinDocument>(util_, platform_, platform_.System(), &messages_);
        native = d.get();
        lists[0] = &d->NormalList();
        lists[1] = &d->ExtendedList();
        doc_ = std::move(d);
    }
    frame_ = std::make_unique<MainFrame>(MainFrame::Services{
        util_, platform_.Codec(), platform_.System(), platform_.LocalClock(), progress_});
    if (!frame_->Create(instance, *doc_, *lists[0], *lists[1])) {
        frame_.reset();
        return false;
    }
    messages_.SetOwner(frame_->Handle());
    frame_->appCommand = [this](int id) { OnAppCommand(id); };
    if (native) {
        native->SetFlows(&frame_->Flows());
        native->Host().SetWindow(frame_->Handle());
        frame_->runPending = [native] { native->Host().RunPending(); };
        for (int i = 0; i < 2; ++i)
            frame_->Pane(i).openFolder = [this](const std::string& f) { OpenFolder(f); };
    }

    // A named file that is not there ends the program after its message.
    std::string file;
    if (!commandLine.file.empty()) {
        wchar_t full[32768];
        const std::wstring given = win32::WideFromUtf8(commandLine.file);
        file = GetFullPathNameW(given.c_str(), 32768, full, nullptr) ? Narrow(full) : Narrow(given);
        if (!frame_->Flows().GivenFileExists(file))
            return frame_->Flows().OpenGivenFile(file);
    }
    ShowWindow(frame_->Handle(), show);
    UpdateWindow(frame_->Handle());
    if (!file.empty())
        frame_->Flows().OpenGivenFile(file);
    return true;
}

int WinApp::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (frame_ && frame_->PreTranslate(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return int(msg.wParam);
}

void WinApp::OnAppCommand(int id) {
    if (id == ID_ABOUT_PRODUCT)
        ShowAboutBox(frame_->Handle());
    else if (id == ID_ABOUT_ORG)
        ShowOrgInfoBox(frame_->Handle());
}

void WinApp::OpenFolder(const std::string& folderText) {
    frame_->Flows().OpenRowFolder(folderText, platform_.DriveList().FixedDrives(),
                                  platform_.Search().NativeSeparator());
}

int RunApplication(HINSTANCE instance, int show) {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX),
                             ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES |
                                 ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    std::vector<std::string> args = ArgumentsAsUtf8(0, nullptr);
    if (!args.empty())
        args.erase(args.begin());
    auto platform = MakeNativePlatform();
    // The program has no console: the usage, its version and an argument it
    // cannot use show in a message box, before any window or folder is made.
    const auto say = [](const std::string& cp949, UINT icon) {
        MessageBoxW(nullptr, Wide(cp949).c_str(), Wide(kAppTitle).c_str(), MB_OK | icon);
    };
    const desktop::ProgramRequest request = desktop::CheckProgramArguments(args, platform->Codec());
    switch (request.kind) {
    case desktop::ProgramRequest::Kind::Help:
        say(desktop::ProgramUsage("ostravion.exe", desktop::UsageLayout::MessageBox),
            MB_ICONINFORMATION);
        return 0;
    case desktop::ProgramRequest::Kind::Version:
        say(std::string(kAppTitle) + " " + OSTRAVION_VERSION, MB_ICONINFORMATION);
        return 0;
    case desktop::ProgramRequest::Kind::Bad:
        say(request.message, MB_ICONWARNING);
        return 2;
    case desktop::ProgramRequest::Kind::Run:
        break;
    }
    const DesktopCommandLine commandLine = ParseWindowsCommandLine(args);
    const std::string unusable = desktop::ApplyScanStandIns(
        commandLine, platform->Codec(),
        [&](const std::vector<std::string>& drives, const std::string& apps) {
            std::string error;
            // The recovery password is refused, with its own message, when the
            // window starts.
            return platform->ConfigureScan(ScanSetup{drives, apps}, error);
        });
    if (!unusable.empty()) {
        say(unusable, MB_ICONWARNING);
        return 2;
    }
    WinApp app(*platform);
    if (!app.InitInstance(instance, commandLine, show))
        return 1;
    return app.Run();
}

} // namespace ostravion::win
