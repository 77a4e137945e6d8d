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
