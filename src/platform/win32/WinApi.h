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

#undef SetCurrentDirectory

// For a file about to be moved onto another: a name that is a link (a
// reparse point) or a folder never takes a file's place (false). A plain
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
    const bool flushed = FlushFileBuffers(h) != 0;
    CloseHandle(h);
    return flushed;
}
