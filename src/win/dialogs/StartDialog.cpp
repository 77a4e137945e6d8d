// The start dialog "사용자 정보를 입력하세요.": the group and the result file
// name typed, the PC's model, computer name and user shown read-only.
#include "desktop/ResourceTable.h"
#include "win/Door.h"
#include "win/dialogs/DialogUtil.h"
#include "win/dialogs/Dialogs.h"
#include "win/resource.h"

namespace ostravion::win {

namespace {

INT_PTR CALLBACK StartProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* model = reinterpret_cast<StartDialogModel*>(GetWindowLongPtrW(dlg, DWLP_USER));
    if (!model && msg != WM_INITDIALOG)
        return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dlg, DWLP_USER, lp);
        model = reinterpret_cast<StartDialogModel*>(lp);
        SetItemText(dlg, IDC_GROUP, model->group);
        SetItemText(dlg, IDC_MODEL, model->model);
        SetItemText(dlg, IDC_COMPUTER, model->computer);
        SetItemText(dlg, IDC_RESULT_NAME, model->resultName);
        SetItemText(dlg, IDC_USER, model->user);
        PlaceDialog(dlg);
        SetFocus(GetDlgItem(dlg, IDC_GROUP));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        if (LOWORD(wp) != IDOK)
            return FALSE;
        if (!ItemsFit(dlg, {IDC_GROUP, IDC_RESULT_NAME, IDC_COMPUTER, IDC_USER, IDC_MODEL}))
            return TRUE;
        model->group = ItemText(dlg, IDC_GROUP);
        model->resultName = ItemText(dlg, IDC_RESULT_NAME);
        switch (model->Confirm()) {
        case StartFieldCheck::Ok:
            EndDialog(dlg, IDOK);
            break;
        case StartFieldCheck::GroupMissing:
            SetFocus(GetDlgItem(dlg, IDC_GROUP));
            break;
        case StartFieldCheck::BadName:
        case StartFieldCheck::FileExists: {
            // Another text may be typed in the field at fault.
            const int field = model->GroupAtFault() ? IDC_GROUP : IDC_RESULT_NAME;
            SendMessageW(dlg, WM_NEXTDLGCTL, WPARAM(GetDlgItem(dlg, field)), TRUE);
            SendDlgItemMessageW(dlg, field, EM_SETSEL, 0, -1);
            break;
        }
        }
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

bool RunStartDialog(HWND owner, StartDialogModel& model) {
    return Door::RunDialog(owner, IDD_USER_INFO, StartProc, reinterpret_cast<LPARAM>(&model)) ==
           IDOK;
}

} // namespace ostravion::win
