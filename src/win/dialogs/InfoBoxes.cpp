// The organisation information box with its fixed text, and the product
// about box with the picture "vxa.spl", read afresh at every opening.
#include "desktop/ResourceTable.h"
#include "win/Door.h"
#include "win/WinText.h"
#include "win/dialogs/DialogUtil.h"
#include "win/dialogs/Dialogs.h"
#include "win/resource.h"

namespace ostravion::win {

namespace {

INT_PTR CALLBACK OrgInfoProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        SetDlgItemTextW(dlg, IDC_ORG_TEXT, Wide(OrgInfoText()).c_str());
        PlaceDialog(dlg);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
            EndDialog(dlg, LOWORD(wp));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK AboutProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        // Without a readable picture the area stays empty.
        SIZE size{};
        if (HBITMAP picture = LoadPictureFile(kSplashFile, &size)) {
            SetPropW(dlg, L"OstravionPicture", picture);
            SendDlgItemMessageW(dlg, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                                reinterpret_cast<LPARAM>(picture));
        }
        PlaceDialog(dlg);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
            EndDialog(dlg, LOWORD(wp));
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (HANDLE picture = RemovePropW(dlg, L"OstravionPicture"))
            DeleteObject(picture);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void ShowAboutBox(HWND owner) {
    Door::RunDialog(owner, IDD_ABOUTBOX, AboutProc, 0);
}

void ShowOrgInfoBox(HWND owner) {
    Door::RunDialog(owner, IDD_ORG_INFO, OrgInfoProc, 0);
}

} // namespace ostravion::win
