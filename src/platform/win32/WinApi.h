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

// For a file about to be moved onto another: its bytes reach the disk first,
// so that a power cut never leaves an empty file under the name. A file that
// could not be opened (INVALID_HANDLE_VALUE) is moved unflushed. Closes the
// handle; false when the flush fails.
inline bool FlushAndClose(HANDLE h) {
    if (h == INVALID_HANDLE_VALUE)
        return true;
    const bool flushed = FlushFileBuffers(h) != 0;
    CloseHandle(h);
    return flushed;
}
