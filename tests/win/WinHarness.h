// The Windows program's window made for a test: a work folder of its own as
// the current directory, the scripted door, and the real main window over
// the machine's ports with a recording document or the real one.
#pragma once

#include "desktop/RecordingDocument.h"
#include "win/Door.h"
#include "win/WinApp.h"
#include "win/WinTest.h"
#include "win/WinText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace ostravion::test {

struct WorkFolder {
    std::filesystem::path path, previous;
    explicit WorkFolder(const std::string& name) {
        previous = std::filesystem::current_path();
        path = std::filesystem::temp_directory_path() /
               ("ostravion-" + name + "-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        std::filesystem::current_path(path);
    }
    ~WorkFolder() {
        std::error_code ec;
        std::filesystem::current_path(previous, ec);
        std::filesystem::remove_all(path, ec);
    }
    void Write(const std::string& relative, const std::string& bytes) const {
        std::filesystem::create_directories((path / relative).parent_path());
        FILE* f = _wfopen((path / relative).wstring().c_str(), L"wb");
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
};

struct Harness {
    std::unique_ptr<WorkFolder> own;
    WorkFolder& dir;
    std::unique_ptr<NativePlatform> platform = MakeNativePlatform();
    std::unique_ptr<win::WinApp> app;
    RecordingDocument* doc = nullptr;

    // `recording`: the flows' calls are recorded instead of reaching a real document.
    explicit Harness(bool recording = true, DesktopCommandLine line = {}, const char* name = "win")
        : own(std::make_unique<WorkFolder>(name)), dir(*own) {
        // A key list for the start command to find; a recording document
        // reads nothing more of it.
        if (recording)
            dir.Write("KEYLIST.DAT", "keys");
        Start(recording, std::move(line));
    }
    // In a work folder the test keeps.
    Harness(WorkFolder& folder, DesktopCommandLine line) : dir(folder) {
        Start(false, std::move(line));
    }
    void Start(bool recording, DesktopCommandLine line) {
        win::Door::SetScripted(true);
        app = std::make_unique<win::WinApp>(*platform);
        if (recording)
            app->documentFactory = [this](CAuditUtil& util) {
                auto d = std::make_unique<RecordingDocument>(util);
                doc = d.get();
                return d;
            };
        line.splash = false;
        created = app->InitInstance(GetModuleHandleW(nullptr), line, SW_SHOW);
        Pump();
    }
    ~Harness() {
        app.reset();
        Pump();
        win::Door::SetScripted(false);
    }
    bool created = false;
    win::MainFrame& Frame() { return *app->Frame(); }
    HWND Window() { return app->Frame()->Handle(); }
    void Command(int id) { SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void Click(int buttonId) { SendMessageW(Frame().Bar().Control(buttonId), BM_CLICK, 0, 0); }
    std::string Title() {
        wchar_t t[512] = {};
        GetWindowTextW(Window(), t, 512);
        return win::Narrow(t);
    }
};

} // namespace ostravion::test
