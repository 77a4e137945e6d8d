#include "win/Printing.h"

namespace ostravion::win::Printing {

bool Find() {
    return false;
}

void Setup(HWND) {}

void Print(HWND, const ReportLayout&, bool) {}

} // namespace ostravion::win::Printing
