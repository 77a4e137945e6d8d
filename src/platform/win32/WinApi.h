// <windows.h> for the Windows platform layer and its tests. The header maps
// names to their "A" or "W" forms with macros; those that match members of
// the ports are undone here, and the "A" functions are called by full name.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#undef SetCurrentDirectory

// The path the system resolves an open handle to ("\\?\C:\..."); false
// when it cannot tell.
inline bool FinalPathOf(HANDLE h, std::wstring& out) {
    constexpr DWORD kFlags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    const DWORD need = GetFinalPathNameByHandleW(h, nullptr, 0, kFlags);
    if (need == 0)
        return false;
    out.assign(need, L'\0');
    const DWORD got = GetFinalPathNameByHandleW(h, out.data(), need, kFlags);
    if (got == 0 || got >= need)
        return false;
    out.resize(got);
    return true;
}

// True when the open handle `h` is what the name `path` itself holds, not
// what a link there leads to: the handle resolves to the name's folder
// (resolved the same way) and the name's own last part. Windows opens a link
// itself with FILE_FLAG_OPEN_REPARSE_POINT, but Wine shows a host symbolic
// link to a file as the plain file it leads to, and resolves it on opening.
inline bool HandleIsTheName(HANDLE h, const wchar_t* path) {
    const DWORD need = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (need == 0)
        return false;
    std::wstring full(need, L'\0');
    const DWORD got = GetFullPathNameW(path, need, full.data(), nullptr);
    if (got == 0 || got >= need)
        return false;
    full.resize(got);
    const std::size_t sep = full.find_last_of(L"\\/");
    if (sep == std::wstring::npos || sep + 1 >= full.size())
        return false;
    const std::wstring folderPath = full.substr(0, sep + 1);
    const HANDLE folder =
        CreateFileW(folderPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    std::wstring expected, actual;
    const bool resolved = FinalPathOf(folder, expected);
    CloseHandle(folder);
    if (!resolved || !FinalPathOf(h, actual))
        return false;
    if (expected.empty() || expected.back() != L'\\')
        expected += L'\\';
    expected += full.substr(sep + 1);
    return CompareStringOrdinal(expected.data(), static_cast<int>(expected.size()), actual.data(),
                                static_cast<int>(actual.size()), TRUE) == CSTR_EQUAL;
}

// Removes what the name `path` itself holds: a file, or a link itself (a
// reparse point, to a file or a folder), never what a link leads to, nor a
// folder. The name is opened as it stands and removed through that handle,
// so that no link put there in between is followed. False when nothing was
// removed, as for a host symbolic link under Wine, which cannot be removed
// without reaching its target.
inline bool RemoveOwnName(const wchar_t* path) {
    const HANDLE h = CreateFileW(
        path, DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_DISPOSITION_INFO dispose{};
    dispose.DeleteFile = TRUE;
    const bool removed =
        GetFileInformationByHandle(h, &info) != 0 &&
        ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
         (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) &&
        HandleIsTheName(h, path) &&
        SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose) != 0;
    CloseHandle(h);
    return removed;
}

// For a file about to be moved onto another: a name that is a link (a
// reparse point, or a host symbolic link under Wine) or a folder never takes
// a file's place (false). A plain
// file's bytes reach the disk first, so that a power cut never leaves an
// empty file under the name; one that cannot be opened is moved unflushed.
// False when the flush fails.
inline bool ReadyToMove(const wchar_t* path) {
    const DWORD a = GetFileAttributesW(path);
    if (a != INVALID_FILE_ATTRIBUTES &&
        (a & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;
    const HANDLE h =
        CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return true;
    // A link Wine does not show as one is no file of the program's either.
    const bool flushed = HandleIsTheName(h, path) && FlushFileBuffers(h) != 0;
    CloseHandle(h);
    return flushed;
}
