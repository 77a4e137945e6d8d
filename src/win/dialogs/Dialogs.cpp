#include "win/dialogs/Dialogs.h"

// Placeholders until the dialogs are built: each dialog is cancelled.
namespace ostravion::win {

bool RunStartDialog(HWND, StartDialogModel&) {
    return false;
}
bool RunFileSelectionDialog(HWND, SelectFilesModel&) {
    return false;
}
bool RunResultWritingDialog(HWND, CResultWriting&) {
    return false;
}
bool RunPrintSelectionDialog(HWND, CPrintSelection&) {
    return false;
}
void ShowAboutBox(HWND) {}
void ShowOrgInfoBox(HWND) {}
void EnableSplashScreen(bool) {}
void ShowSplashScreen(HWND) {}
void HideSplashScreen() {}

} // namespace ostravion::win
