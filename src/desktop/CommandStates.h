// The enabled and greyed state of every menu item and command-bar button, as
// the command flows set it event by event. The main window holds one of these
// and copies it onto its actions and buttons after every event; nothing else
// enables or greys a command.
#pragma once

#include <array>
#include <map>

namespace ostravion {

// Menu item ids.
enum MenuId : int {
    ID_SCAN_START = 32771,
    ID_SCAN_STOP = 32772,
    ID_CONSOLIDATE = 32773,
    ID_WRITE_RESULT = 32774,
    ID_FILE_OPEN = 32791,
    ID_FILE_SAVE = 32792,
    ID_FILE_SAVE_AS = 32793,
    ID_FILE_PRINT = 32794,
    ID_FILE_PREVIEW = 32795,
    ID_APP_EXIT = 32796,
    ID_ABOUT_PRODUCT = 32797,
    ID_HELP_GUIDE = 32798,
    ID_EXPORT_CANDIDATES = 32799,
    ID_FILE_PRINT_SETUP = 57606,
    ID_ABOUT_ORG = 57664,
};

// Command-bar control ids.
enum ButtonId : int {
    IDC_START = 1031,
    IDC_CONSOLIDATE = 1032,
    IDC_WRITE_RESULT = 1033,
    IDC_PRINT = 1034,
    IDC_NORMAL = 1037,
    IDC_EXTENDED = 1038,
    IDC_STOP = 1048,
};

// The document commands: usable only once a total file is loaded or built.
inline constexpr std::array<int, 5> kDocumentMenuItems = {
    ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_PRINT, ID_FILE_PREVIEW, ID_WRITE_RESULT};
inline constexpr std::array<int, 2> kDocumentButtons = {IDC_WRITE_RESULT, IDC_PRINT};

class CommandStates {
public:
    CommandStates();

    // The events that change command states.
    void WindowCreated();
    void DocumentCommandsDisabled(); // DisableDocumentCommands
    void DocumentConfirmed();        // Open or Consolidate confirmed
    void ScanStarted();
    void ScanCompleted(); // the end of a walk, before the closing question
    void ScanStopped();   // the stop command
    // Whether the total on show has a candidates file beside it: its export
    // is usable only then.
    void CandidatesFound(bool found);

    bool MenuEnabled(int id) const;
    bool ButtonEnabled(int id) const;
    // The id the 검사 menu slot carries: ID_SCAN_START or ID_SCAN_STOP.
    int ScanItemId() const { return scanItem_; }

    const std::map<int, bool>& Menu() const { return menu_; }
    const std::map<int, bool>& Buttons() const { return buttons_; }

private:
    void SwapScanItem(int id);

    std::map<int, bool> menu_; // keyed by the ids above; the 검사 slot under ID_SCAN_START
    std::map<int, bool> buttons_;
    int scanItem_ = ID_SCAN_START;
};

} // namespace ostravion
