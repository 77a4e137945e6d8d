// UTF-8 text (a path or a name as the command line gives it) as UTF-16 for
// the wide calls, for every Windows part of the program. A header of its own:
// it can follow <windows.h>, which the ports' declarations cannot.
#pragma once

#include <string>

namespace ostravion::win32 {

// Empty for a text longer than the longest path.
std::wstring WideFromUtf8(const std::string& utf8);

} // namespace ostravion::win32
