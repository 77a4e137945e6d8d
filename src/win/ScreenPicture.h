// What the screen shows, kept as a picture file, and the message pump that
// lets windows paint before they are taken: used by the tool that draws the
// user guide's pictures and by the window tests that save screenshots.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace ostravion::win {

// Runs the thread's messages until `done` holds or `ms` milliseconds passed;
// the final value of `done`.
bool PumpMessagesUntil(const std::function<bool()>& done, int ms);

// A rectangle of the screen as a 24-bit BMP file; false when it is empty or
// the file could not be written whole.
bool SaveScreenPicture(const RECT& area, const std::wstring& path);

} // namespace ostravion::win
