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

// A copy of `picture` (of `from` pixels) stretched to `to` pixels.
HBITMAP StretchedBitmap(HBITMAP picture, SIZE from, SIZE to) {
    HDC screen = GetDC(nullptr);
    HBITMAP fitted = CreateCompatibleBitmap(screen, to.cx, to.cy);
    HDC source = CreateCompatibleDC(screen);
    HDC target = CreateCompatibleDC(screen);
    if (fitted) {
        HGDIOBJ oldSource = SelectObject(source, picture);
        HGDIOBJ oldTarget = SelectObject(target, fitted);
        SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, nullptr);
        StretchBlt(target, 0, 0, to.cx, to.cy, source, 0, 0, from.cx, from.cy, SRCCOPY);
        SelectObject(source, oldSource);
        SelectObject(target, oldTarget);
    }
    DeleteDC(source);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
    return fitted;
}

INT_PTR CALLBACK AboutProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        // Without a readable picture the area stays empty. The picture is
        // drawn at the size of its control, 291 × 263 dialog units, so that no
        // empty band is left under a smaller one.
        SIZE size{};
        RECT area{0, 0, 291, 263};
        MapDialogRect(dlg, &area);
        if (HBITMAP picture = LoadPictureFile(kSplashFile, &size)) {
            HBITMAP fitted = StretchedBitmap(picture, size, {area.right, area.bottom});
            DeleteObject(picture);
            if (fitted) {
                SetPropW(dlg, L"OstravionPicture", fitted);
                SendDlgItemMessageW(dlg, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                                    reinterpret_cast<LPARAM>(fitted));
            }
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
