// What the dialog tests share: scripted Door, reading controls, clicking
// list cells with the mouse messages a person's click makes, and pictures
// of the dialogs for a person to look at (OSTRAVION_DIALOG_PICTURES=FOLDER).
#pragma once

#include "win/Door.h"
#include "win/WinTest.h"
#include "win/WinText.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace ostravion::test {

struct ScriptedDoor : ::testing::Test {
    void SetUp() override { win::Door::SetScripted(true); }
    void TearDown() override { win::Door::SetScripted(false); }
};

inline std::string Text(HWND w) {
    wchar_t buffer[4096] = {};
    GetWindowTextW(w, buffer, 4096);
    return win::Narrow(buffer);
}

inline std::string Text(HWND dialog, int id) {
    return Text(GetDlgItem(dialog, id));
}

inline void SetText(HWND dialog, int id, const std::string& cp949) {
    SetDlgItemTextW(dialog, id, win::Wide(cp949).c_str());
}

inline void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

inline std::string CellText(HWND list, int row, int column) {
    wchar_t buffer[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return win::Narrow(buffer);
}

// A left click in the middle of a cell (column 0: its label, beside the
// check box).
inline void ClickCell(HWND list, int row, int column) {
    RECT r{};
    ListView_GetSubItemRect(list, row, column, column == 0 ? LVIR_LABEL : LVIR_BOUNDS, &r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}

// A key pressed in a control of a dialog, through the dialog manager as the
// dialog's message loop hands it on.
inline void Key(HWND w, WPARAM key) {
    HWND dialog = GetAncestor(w, GA_ROOT);
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        MSG m{w, message, key, 0, GetTickCount(), {}};
        if (!IsDialogMessageW(dialog, &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    Pump();
}

// Writes a BMP of the window as it shows on the screen into the folder
// OSTRAVION_DIALOG_PICTURES names; nothing without it.
inline void Picture(HWND w, const char* name) {
    const char* folder = std::getenv("OSTRAVION_DIALOG_PICTURES");
    if (!folder)
        return;
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpUntil([] { return false; }, 300);
    RECT r;
    GetWindowRect(w, &r);
    win::SaveScreenPicture(r, win::Wide(std::string(folder) + "/" + name + ".bmp"));
}

} // namespace ostravion::test
