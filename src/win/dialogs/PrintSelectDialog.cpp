// The print-selection dialog "결과별 인쇄": five radio buttons of one group in
// two boxes; "선택" only once a report is chosen.
#include "views/PrintSelection.h"
#include "win/Door.h"
#include "win/dialogs/DialogUtil.h"
#include "win/dialogs/Dialogs.h"
#include "win/resource.h"

namespace ostravion::win {

namespace {

INT_PTR CALLBACK PrintSelectProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* model = reinterpret_cast<CPrintSelection*>(GetWindowLongPtrW(dlg, DWLP_USER));
    if (!model && msg != WM_INITDIALOG)
        return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dlg, DWLP_USER, lp);
        model = reinterpret_cast<CPrintSelection*>(lp);
        EnableWindow(GetDlgItem(dlg, IDOK), model->CanConfirm());
        PlaceDialog(dlg);
        // Nothing is chosen yet and 선택 is grey: the focus waits on 취소, so
        // that the first Tab lands on the first report, where the arrow keys
        // move through the five and choose.
        SetFocus(GetDlgItem(dlg, IDCANCEL));
        return FALSE;
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        if (id == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        if (id == IDOK) {
            // Without a choice there is nothing to print: the dialog stays.
            if (model->CanConfirm())
                EndDialog(dlg, IDOK);
            return TRUE;
        }
        for (const PrintChoice& choice : PrintChoices())
            if (choice.buttonId == id && HIWORD(wp) == BN_CLICKED) {
                model->Click(id);
                EnableWindow(GetDlgItem(dlg, IDOK), model->CanConfirm());
                return TRUE;
            }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

} // namespace

bool RunPrintSelectionDialog(HWND owner, CPrintSelection& model) {
    return Door::RunDialog(owner, IDD_PRINT_SELECT, PrintSelectProc,
                           reinterpret_cast<LPARAM>(&model)) == IDOK;
}

} // namespace ostravion::win
