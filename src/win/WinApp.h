// The Windows program's start: the machine's ports, the shared utility
// object, the document and the main window, then the message loop.
#pragma once

#include <windows.h>

namespace ostravion::win {

int RunApplication(HINSTANCE instance, int show);

} // namespace ostravion::win
