// The file-selection dialog of the consolidation: the per-PC result files of
// the work folder with a check box each, "전체선택", and the total file's name.
#include "desktop/ResourceTable.h"
#include "doc/FileSelection.h"
#include "win/Door.h"
#include "win/WinText.h"
#include "win/dialogs/DialogUtil.h"
#include "win/dialogs/Dialogs.h"
#include "win/resource.h"

#include <commctrl.h>

namespace ostravion::win {

namespace {

// The file list's column width in pixels at 96 dots per inch.
constexpr int kNameColumnWidth = 150;

void FillList(HWND list, const SelectFilesModel& model) {
    ListView_SetExtendedListViewStyle(list,
                                      LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    std::wstring caption = Wide(TXT_FILES_COLUMN);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = ScalePixels(kNameColumnWidth);
    column.pszText = caption.data();
    ListView_InsertColumn(list, 0, &column);
    for (std::size_t row = 0; row < model.files.Count(); ++row) {
        std::wstring name = Wide(model.files.Name(row));
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = int(row);
        item.pszText = name.data();
        const int at = int(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        ListView_SetCheckState(list, at, model.files.IsChecked(row));
    }
}

// A click on a row toggles its mark; a click on the check box itself is the
// list's own.
void OnListClick(HWND list, const NMITEMACTIVATE& click) {
    LVHITTESTINFO hit{};
    hit.pt = click.ptAction;
    if (ListView_SubItemHitTest(list, &hit) < 0 || (hit.flags & LVHT_ONITEMSTATEICON))
        return;
    ListView_SetCheckState(list, hit.iItem, !ListView_GetCheckState(list, hit.iItem));
}

void OnOk(HWND dlg, SelectFilesModel& model) {
    HWND list = GetDlgItem(dlg, IDC_FILE_LIST);
    model.files.SetAll(false);
    for (std::size_t row = 0; row < model.files.Count(); ++row)
        if (ListView_GetCheckState(list, int(row)))
            model.files.Toggle(row);
    if (!ItemsFit(dlg, {IDC_TOTAL_NAME}))
        return;
    model.resultName = ItemText(dlg, IDC_TOTAL_NAME);
    switch (model.Confirm()) {
    case SelectFilesModel::Outcome::Accepted:
        EndDialog(dlg, IDOK);
        return;
    case SelectFilesModel::Outcome::Cancelled:
        EndDialog(dlg, IDCANCEL);
        return;
    case SelectFilesModel::Outcome::StayOpen:
        SetFocus(GetDlgItem(dlg, IDC_TOTAL_NAME));
        SendDlgItemMessageW(dlg, IDC_TOTAL_NAME, EM_SETSEL, 0, -1);
        return;
    }
}

INT_PTR CALLBACK SelectFilesProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* model = reinterpret_cast<SelectFilesModel*>(GetWindowLongPtrW(dlg, DWLP_USER));
    if (!model && msg != WM_INITDIALOG)
        return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dlg, DWLP_USER, lp);
        model = reinterpret_cast<SelectFilesModel*>(lp);
        FillList(GetDlgItem(dlg, IDC_FILE_LIST), *model);
        // The first row has the focus: Space marks it at once.
        if (ListView_GetItemCount(GetDlgItem(dlg, IDC_FILE_LIST)) > 0)
            ListView_SetItemState(GetDlgItem(dlg, IDC_FILE_LIST), 0, LVIS_FOCUSED | LVIS_SELECTED,
                                  LVIS_FOCUSED | LVIS_SELECTED);
        SetItemText(dlg, IDC_TOTAL_NAME, model->resultName);
        PlaceDialog(dlg);
        return TRUE;
    case WM_NOTIFY: {
        const auto* head = reinterpret_cast<const NMHDR*>(lp);
        if (head->idFrom == IDC_FILE_LIST && head->code == NM_CLICK)
            OnListClick(head->hwndFrom, *reinterpret_cast<const NMITEMACTIVATE*>(lp));
        return FALSE;
    }
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDC_SELECT_ALL:
            if (HIWORD(wp) == BN_CLICKED) {
                const bool on = IsDlgButtonChecked(dlg, IDC_SELECT_ALL) == BST_CHECKED;
                HWND list = GetDlgItem(dlg, IDC_FILE_LIST);
                for (int row = 0; row < ListView_GetItemCount(list); ++row)
                    ListView_SetCheckState(list, row, on);
            }
            return TRUE;
        case IDOK:
            OnOk(dlg, *model);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

bool RunFileSelectionDialog(HWND owner, SelectFilesModel& model) {
    return Door::RunDialog(owner, IDD_SELECT_FILES, SelectFilesProc,
                           reinterpret_cast<LPARAM>(&model)) == IDOK;
}

} // namespace ostravion::win
