#include "win/WinApp.h"

namespace ostravion::win {

int RunApplication(HINSTANCE, int) {
    return 0;
}

} // namespace ostravion::win
