#include "platform/Native.h"
#include "platform/ScanStandIns.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WinApi.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <string>
#include <vector>

namespace ostravion {

namespace {
struct Win32Native final : NativePlatform {
    win32::Win32Codec codec;
    win32::Win32FileSystem files;
    win32::Win32SystemInfo system;
    win32::Win32Clock clock;
    win32::Win32FileSearch search;
    win32::Win32Drives drives;
    win32::Win32AppPaths appPaths;
    ListedAppPaths listedApps{codec};
    win32::Win32VersionStrings versions;
    win32::Win32FileDates dates;
    win32::Win32Threads threads;
    TextCodec& Codec() override { return codec; }
    FileSystem& Files() override { return files; }
    SystemInfo& System() override { return system; }
    Clock& LocalClock() override { return clock; }
    // The system's own version calls (GetFileVersionInfoW), not the portable reader.
    VersionStrings& Versions() override { return versions; }
    FileSearch& Search() override { return search; }
    Drives& DriveList() override { return drives; }
    // A list given by the user stands in for the registry.
    AppPaths& Apps() override {
        return listedApps.InUse() ? static_cast<AppPaths&>(listedApps) : appPaths;
    }
    bool ConfigureScan(const ScanSetup& setup, std::string& error) override {
        // Disk images, BitLocker ones among them, are read by the Linux programs.
        if (!setup.recoveryPassword.empty()) {
            error = "Windows에서는 디스크 이미지를 읽지 않으므로 --recovery-password 를 쓸 수 "
                    "없습니다. Linux판으로 검사하십시오";
            return false;
        }
        return drives.SetMap(setup.driveMap, error) && listedApps.Load(setup.appPathsFile, error);
    }
    const FileDates* Dates() override { return &dates; }
    ThreadControl* Threads() override { return &threads; }
};
} // namespace

std::vector<std::string> ArgumentsAsUtf8(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string a(n > 0 ? static_cast<std::size_t>(n) : 1, '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, a.data(), n, nullptr, nullptr);
        a.resize(std::char_traits<char>::length(a.c_str()));
        args.push_back(std::move(a));
    }
    LocalFree(wide);
    return args;
}

void SetStandardStreamsBinary() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool LockKeyOn(LockKey key) {
    const int vk = key == LockKey::Caps ? VK_CAPITAL : key == LockKey::Num ? VK_NUMLOCK : VK_SCROLL;
    return (GetKeyState(vk) & 1) != 0;
}

bool StderrIsTerminal() {
    // A console answers GetConsoleMode; a pipe or file does not.
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

int StderrColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info))
        return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

std::wstring win32::WideFromUtf8(const std::string& utf8) {
    if (utf8.empty() || utf8.size() > 32767)
        return std::wstring();
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, w.data(), n);
    return w;
}

bool ReadNativeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const std::wstring wide = win32::WideFromUtf8(path);
    return !wide.empty() && win32::ReadWholeFile(wide, bytes);
}

bool RenameNativeFile(const std::string& from, const std::string& to) {
    const std::wstring wideFrom = win32::WideFromUtf8(from);
    const std::wstring wideTo = win32::WideFromUtf8(to);
    if (wideFrom.empty() || wideTo.empty())
        return false;
    // The new file's bytes reach the disk before it takes the old one's place.
    if (!ReadyToMove(wideFrom.c_str()))
        return false;
    return MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::unique_ptr<OutFile> CreateNativeFile(const std::string& path) {
    const std::wstring wide = win32::WideFromUtf8(path);
    if (wide.empty())
        return nullptr;
    return win32::CreateNewFile(wide);
}

std::unique_ptr<NativePlatform> MakeNativePlatform() {
    return std::make_unique<Win32Native>();
}

} // namespace ostravion
