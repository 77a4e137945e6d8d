// What several writers of one shared work folder need from Windows:
// CreateFileW with CREATE_NEW, a move that never replaces, who this writer
// is, and whether a process that left a lock file is still running.
#include "platform/win32/Win32Platform.h"

#include <chrono>
#include <random>

#include "platform/win32/WideText.h"
#include "platform/win32/WinApi.h"

namespace ostravion::win32 {

std::unique_ptr<OutFile> Win32FileSystem::CreateExclusive(const std::string& path) {
    const std::wstring wide = Widen(kCodePage, path);
    if (wide.empty())
        return nullptr;
    // CREATE_NEW fails on any name that is there, a link included, and with
    // FILE_FLAG_OPEN_REPARSE_POINT nothing is resolved to make its target.
    const HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return nullptr;
    return OutFileOnHandle(h);
}

bool Win32FileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
    return MoveFileExW(Widen(kCodePage, from).c_str(), Widen(kCodePage, to).c_str(),
                       MOVEFILE_WRITE_THROUGH) != 0;
}

WriterFacts Win32FileSystem::Writer() const {
    const Win32SystemInfo system;
    WriterFacts w;
    w.computer = system.ComputerName();
    w.user = system.UserName();
    std::wstring module(MAX_PATH, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    module.resize(n < module.size() ? n : 0);
    const std::size_t sep = module.find_last_of(L"\\/");
    w.program = Narrow(kCodePage, sep == std::wstring::npos ? module : module.substr(sep + 1));
    if (w.program.empty())
        w.program = "ostravion.exe";
    w.system = "Windows";
    w.process = GetCurrentProcessId();
    return w;
}

bool Win32FileSystem::ProcessRunning(std::uint64_t process) const {
    if (process == 0 || process > 0xFFFFFFFFull)
        return false;
    const HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                 static_cast<DWORD>(process));
    if (!h)
        // No such process; any other refusal (access denied) means it runs.
        return GetLastError() != ERROR_INVALID_PARAMETER;
    const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return running;
}

std::uint32_t Win32FileSystem::RandomNumber() {
    thread_local std::mt19937 engine{
        std::random_device{}() ^ static_cast<std::uint32_t>(GetCurrentProcessId()) ^
        static_cast<std::uint32_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count())};
    return static_cast<std::uint32_t>(engine());
}

void Win32FileSystem::Pause(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds));
}

LocalTime Win32FileSystem::LockTime() const {
    return Win32Clock().Now();
}

FileStamp Win32FileSystem::Stamp(const std::string& path) const {
    FileStamp s;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(kCodePage, path).c_str(), GetFileExInfoStandard, &data))
        return s;
    s.exists = true;
    s.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    s.modified = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime);
    return s;
}

} // namespace ostravion::win32
