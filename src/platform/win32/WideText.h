// UTF-8 text (a path or a name as the command line gives it) as UTF-16 for
// the wide calls, for every Windows part of the program. A header of its own:
// it can follow <windows.h>, which the ports' declarations cannot.
#pragma once

#include <string>

namespace ostravion::win32 {

// Empty for a text longer than the longest path.
std::wstring WideFromUtf8(const std::string& utf8);

// A text in the code page (CP949, CP_UTF8 = 65001) as UTF-16, and back;
// going back, a character the code page lacks becomes "?" (not for UTF-8),
// and `flags` are WideCharToMultiByte's (WC_NO_BEST_FIT_CHARS: no look-alike).
std::wstring Widen(unsigned codePage, const std::string& s);
std::string Narrow(unsigned codePage, const std::wstring& w, unsigned long flags = 0);

} // namespace ostravion::win32
