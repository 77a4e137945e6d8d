// The names the Windows resources are built from: control and command ids,
// and every caption and label of the dialogs and the command bar (CP949).
// The resource compiler cannot read C++, so the build writes these out as
// #define lines; the Qt front uses the same texts from here.
#pragma once

#include <vector>

namespace ostravion {

struct ResourceId {
    const char* name; // "IDC_START"
    int id;
};

struct ResourceText {
    const char* name; // "TXT_CAPTION"
    const char* text; // CP949
};

const std::vector<ResourceId>& ResourceIds();
const std::vector<ResourceText>& ResourceTexts();

// The application title, string 57344: every message box carries it.
inline constexpr int kAppTitleString = 57344;
inline constexpr const char* kAppTitle = "Ostravion";

// The framework's next-pane and previous-pane commands (F6, Shift+F6).
inline constexpr int ID_NEXT_PANE = 0xE150;
inline constexpr int ID_PREV_PANE = 0xE151;

} // namespace ostravion
