// Qt's own texts in Korean: the buttons, labels and questions of the file,
// print and preview dialogs and of the standard message-box buttons.
#pragma once

#include <QString>

namespace ostravion::gui {

// Loads Qt's Korean catalogue and makes Korean the default locale. The
// catalogue is looked for in the "translations" folder beside the program
// first (where the build and a package put it), then in Qt's own
// translations folder. False when neither holds it: Qt then speaks English.
// Once loaded, later calls change nothing.
bool InstallQtKorean();

// The folder the catalogue was loaded from, or empty.
QString QtKoreanFolder();

} // namespace ostravion::gui
