// The window's printing: the printer jobs go to, the printer-setup dialog
// and a report printed or previewed.
#pragma once

#include <windows.h>

namespace ostravion {
class ReportLayout;
}

namespace ostravion::win::Printing {

// False when there is no printer to print on.
bool Find();
void Setup(HWND owner);
void Print(HWND owner, const ReportLayout& layout, bool preview);

} // namespace ostravion::win::Printing
