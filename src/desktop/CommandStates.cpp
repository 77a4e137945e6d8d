#include "desktop/CommandStates.h"

namespace ostravion {

CommandStates::CommandStates() {
    // As the menu resource and the command-bar template make them: every menu
    // item enabled; 검사중지, 결과작성 and 인쇄 disabled.
    for (int id : {ID_SCAN_START, ID_CONSOLIDATE, ID_WRITE_RESULT, ID_FILE_OPEN, ID_FILE_SAVE,
                   ID_FILE_SAVE_AS, ID_FILE_PRINT, ID_FILE_PREVIEW, ID_APP_EXIT, ID_ABOUT_PRODUCT,
                   ID_FILE_PRINT_SETUP, ID_ABOUT_ORG, ID_HELP_GUIDE, ID_EXPORT_CANDIDATES})
        menu_[id] = true;
    buttons_ = {{IDC_START, true},
                {IDC_STOP, false},
                {IDC_CONSOLIDATE, true},
                {IDC_WRITE_RESULT, false},
                {IDC_PRINT, false}};
}

void CommandStates::WindowCreated() {
    DocumentCommandsDisabled();
}

void CommandStates::DocumentCommandsDisabled() {
    for (int id : kDocumentMenuItems)
        menu_[id] = false;
    for (int id : kDocumentButtons)
        buttons_[id] = false;
    menu_[ID_EXPORT_CANDIDATES] = false;
}

void CommandStates::CandidatesFound(bool found) {
    menu_[ID_EXPORT_CANDIDATES] = found;
}

void CommandStates::DocumentConfirmed() {
    for (int id : kDocumentMenuItems)
        menu_[id] = true;
    for (int id : kDocumentButtons)
        buttons_[id] = true;
}

void CommandStates::SwapScanItem(int id) {
    // Replacing the item gives it the new id and text, enabled.
    scanItem_ = id;
    menu_[ID_SCAN_START] = true;
}

void CommandStates::ScanStarted() {
    SwapScanItem(ID_SCAN_STOP);
    menu_[ID_FILE_OPEN] = false;
    menu_[ID_CONSOLIDATE] = false;
    buttons_[IDC_CONSOLIDATE] = false;
    buttons_[IDC_START] = false;
    buttons_[IDC_STOP] = true;
    DocumentCommandsDisabled();
}

void CommandStates::ScanCompleted() {
    // 검사시작 and 검사중지 keep their scanning states until the closing
    // question is answered.
    SwapScanItem(ID_SCAN_START);
    menu_[ID_FILE_OPEN] = true;
    menu_[ID_CONSOLIDATE] = true;
    buttons_[IDC_CONSOLIDATE] = true;
}

void CommandStates::ScanStopped() {
    SwapScanItem(ID_SCAN_START);
    buttons_[IDC_START] = true;
    buttons_[IDC_STOP] = false;
    menu_[ID_FILE_OPEN] = true;
    menu_[ID_CONSOLIDATE] = true;
    buttons_[IDC_CONSOLIDATE] = true;
}

bool CommandStates::MenuEnabled(int id) const {
    if (id == ID_SCAN_STOP || id == ID_SCAN_START) {
        if (id != scanItem_)
            return false; // the slot does not carry this id now
        id = ID_SCAN_START;
    }
    const auto it = menu_.find(id);
    return it != menu_.end() && it->second;
}

bool CommandStates::ButtonEnabled(int id) const {
    const auto it = buttons_.find(id);
    return it != buttons_.end() && it->second;
}

} // namespace ostravion
