// Texts between the core (CP949 bytes) and the wide Windows calls. The front
// uses the wide calls with the Korean code page named, so that it speaks
// Korean whatever code page the system runs with.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ostravion::win {

inline constexpr unsigned kKoreanCodePage = 949;

std::wstring Wide(std::string_view cp949);
std::string Narrow(std::wstring_view text);

// The width in pixels of a text in the font of the window `fontOwner`.
int TextWidth(HWND fontOwner, std::wstring_view text);

// A length given in pixels of a 96-dots-per-inch screen, for this screen
// (the program is aware of the system's resolution).
int ScaledForScreen(int pixels);

} // namespace ostravion::win
