// The program's modal dialogs on Windows, each made from its resource
// template over the core's dialog model, and the two information boxes and
// the splash window. Every dialog runs through the Door, so tests can fill
// and confirm it with window messages.
#pragma once

#include "ports/DesktopUi.h"

#include <windows.h>

namespace ostravion {
class CPrintSelection;
class CResultWriting;
class SelectFilesModel;
} // namespace ostravion

namespace ostravion::win {

// True when closed with OK.
bool RunStartDialog(HWND owner, StartDialogModel& model);
bool RunFileSelectionDialog(HWND owner, SelectFilesModel& model);
bool RunResultWritingDialog(HWND owner, CResultWriting& model);
bool RunPrintSelectionDialog(HWND owner, CPrintSelection& model);

// The product about box and the organisation information box.
void ShowAboutBox(HWND owner);
void ShowOrgInfoBox(HWND owner);

// The splash window: shown over the main window for one second unless the
// command line said not to; at most one at a time.
void EnableSplashScreen(bool enable);
void ShowSplashScreen(HWND owner);
void HideSplashScreen();

} // namespace ostravion::win
