#include "win/WinApp.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    return ostravion::win::RunApplication(instance, show);
}
