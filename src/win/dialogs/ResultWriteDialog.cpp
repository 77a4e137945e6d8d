// The result-writing dialog "결과 작성": the audit's administrative fields and
// the programs with their installed and genuine counts, edited in place over
// the cell; and the add-program dialog "프로그램 목록 추가". Every change goes to
// the core's model, and the dialog follows the model's changes.
#include "desktop/ResourceTable.h"
#include "desktop/ResultWritingUi.h"
#include "doc/ResultWriting.h"
#include "win/Door.h"
#include "win/WinMessages.h"
#include "win/WinText.h"
#include "win/dialogs/DialogUtil.h"
#include "win/dialogs/Dialogs.h"
#include "win/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

namespace ostravion::win {

namespace {

// ---- the add-program dialog ---------------------------------------------

INT_PTR CALLBACK AddProgramProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* program = reinterpret_cast<NewProgram*>(GetWindowLongPtrW(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dlg, DWLP_USER, lp);
        program = reinterpret_cast<NewProgram*>(lp);
        SendDlgItemMessageW(dlg, IDC_INSTALLED_SPIN, UDM_SETRANGE32, resultwriting::kPcCountMin,
                            resultwriting::kPcCountMax);
        // The values typed the last time, when the entry was refused.
        SetItemText(dlg, IDC_PROGRAM, program->programName);
        SetItemText(dlg, IDC_INSTALLED, program->installed);
        SetItemText(dlg, IDC_COMPANY, program->company);
        SetItemText(dlg, IDC_VERSION, program->version);
        PlaceDialog(dlg);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            if (!ItemsFit(dlg, {IDC_PROGRAM, IDC_COMPANY, IDC_VERSION}))
                return TRUE;
            *program = {ItemText(dlg, IDC_PROGRAM), ItemText(dlg, IDC_INSTALLED),
                        ItemText(dlg, IDC_COMPANY), ItemText(dlg, IDC_VERSION)};
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// ---- the result-writing dialog ------------------------------------------

// Posted to the list: edit (row wParam, column lParam) next.
constexpr UINT WM_APP_EDIT_NEXT = WM_APP + 40;

struct FieldControl {
    ResultField field;
    int id;
};
constexpr FieldControl kFields[] = {
    {ResultField::CheckDepartment, IDC_CHECK_DEPARTMENT},
    {ResultField::Checker, IDC_CHECKER},
    {ResultField::ConfirmDepartment, IDC_CONFIRM_DEPARTMENT},
    {ResultField::Confirmer, IDC_CONFIRMER},
    {ResultField::PcCount, IDC_PC_COUNT},
    {ResultField::Remark, IDC_REMARK},
};

class ResultWriteDialog final : private ResultWriteObserver {
public:
    explicit ResultWriteDialog(CResultWriting& model) : model_(model) { model_.AddObserver(this); }
    ~ResultWriteDialog() override { model_.RemoveObserver(this); }

    static INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<ResultWriteDialog*>(GetWindowLongPtrW(dlg, DWLP_USER));
        if (msg == WM_INITDIALOG) {
            SetWindowLongPtrW(dlg, DWLP_USER, lp);
            self = reinterpret_cast<ResultWriteDialog*>(lp);
            self->Init(dlg);
            return TRUE;
        }
        return self ? self->Handle(msg, wp, lp) : FALSE;
    }

private:
    void Init(HWND dlg);
    void FitToScreen();
    INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp);
    void OnNotify(const NMHDR& head, LPARAM lp);
    void OnAdd();
    void OnSave();
    TypedFields Typed() const;
    // F2, Enter or a digit on the focused row.
    bool EditFromKeys(wchar_t typed);

    // The list shows the model.
    void InsertRow(int row);
    void ShowRow(int row);
    void ShowAllRows();
    void ShowCheck(int row);
    void ModelReset(const CResultWriting&) override;
    void RowAdded(const CResultWriting&, int row) override;
    void RowRemoved(const CResultWriting&, int row) override;
    void RowsMoved(const CResultWriting&) override { ShowAllRows(); }
    void RowChanged(const CResultWriting&, int row) override { ShowRow(row); }
    void CheckChanged(const CResultWriting&, int row) override { ShowCheck(row); }

    // The in-place editor over a count cell.
    void BeginEdit(int row, int column);
    void EndEdit();
    void GrowEditor();
    static LRESULT CALLBACK EditorProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR self);
    static LRESULT CALLBACK ListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                     DWORD_PTR self);

    CResultWriting& model_;
    HWND dlg_ = nullptr;
    HWND list_ = nullptr;
    HWND editor_ = nullptr;
    int editRow_ = -1, editColumn_ = -1;
    bool editCancelled_ = false;
    bool editMovesOn_ = false; // Tab ended the edit: the other count cell is next
    bool showing_ = false;     // the list is being filled: its changes are not the user's
    ByteLimits limits_;
    std::unique_ptr<ResultWorkSnapshot> opened_; // what the dialog showed when it opened
};

void ResultWriteDialog::Init(HWND dlg) {
    dlg_ = dlg;
    list_ = GetDlgItem(dlg, IDC_PROGRAM_LIST);
    SendDlgItemMessageW(dlg, IDC_PC_SPIN, UDM_SETRANGE32, resultwriting::kPcCountMin,
                        resultwriting::kPcCountMax);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES |
                                                 LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    int index = 0;
    for (const ListColumn& c : CResultWriting::Columns()) {
        std::wstring caption = Wide(c.caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = LVCFMT_LEFT;
        column.cx = ScalePixels(c.width);
        column.pszText = caption.data();
        SendMessageW(list_, LVM_INSERTCOLUMNW, index++, reinterpret_cast<LPARAM>(&column));
    }
    SetWindowSubclass(list_, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
    ModelReset(model_);
    opened_ = std::make_unique<ResultWorkSnapshot>(model_);
    for (const FieldControl& f : kFields)
        if (const std::size_t limit = CResultWriting::FieldLimit(f.field))
            limits_.Limit(dlg, f.id, limit);
    FitToScreen();
    PlaceDialog(dlg);
}

namespace {

// Moves a control of the dialog by (dx, dy) and grows it by (dw, dh).
void Shift(HWND dlg, int id, int dx, int dy, int dw, int dh) {
    HWND control = GetDlgItem(dlg, id);
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, r.left + dx, r.top + dy, r.right - r.left + dw,
                 r.bottom - r.top + dh, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

// The list grows until every column shows whole, as far as the screen has
// room; on a screen too low for the dialog the list gives up height.
void ResultWriteDialog::FitToScreen() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HWND owner = GetWindow(dlg_, GW_OWNER);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : dlg_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    RECT box, listBox, client;
    GetWindowRect(dlg_, &box);
    GetWindowRect(list_, &listBox);
    GetClientRect(list_, &client);
    int columns = 0;
    for (int c = 0; c < kResultColumnCount; ++c)
        columns += ListView_GetColumnWidth(list_, c);
    const int listWidth = listBox.right - listBox.left, listHeight = listBox.bottom - listBox.top;
    const int frame = listWidth - client.right;
    const int roomX = std::max<int>(0, (area.right - area.left) - (box.right - box.left));
    const int dx =
        std::clamp(columns + frame + GetSystemMetrics(SM_CXVSCROLL) - listWidth, 0, roomX);
    const int overY = (box.bottom - box.top) - (area.bottom - area.top);
    const int dy = overY > 0 ? -std::min(overY, listHeight / 2) : 0;
    if (dx == 0 && dy == 0)
        return;
    SetWindowPos(dlg_, nullptr, 0, 0, box.right - box.left + dx, box.bottom - box.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Shift(dlg_, IDC_PROGRAM_LIST, 0, 0, dx, dy);
    for (int id : {IDC_CHECKER, IDC_CONFIRMER, IDC_REMARK})
        Shift(dlg_, id, 0, 0, dx, 0);
    for (int id : {IDC_ADD_PROGRAM, IDC_DELETE_PROGRAMS, IDOK, IDCANCEL})
        Shift(dlg_, id, dx, dy, 0, 0);
}

INT_PTR ResultWriteDialog::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NOTIFY:
        OnNotify(*reinterpret_cast<const NMHDR*>(lp), lp);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDC_ADD_PROGRAM:
            OnAdd();
            return TRUE;
        case IDC_DELETE_PROGRAMS:
            model_.DeleteCheckedRows();
            return TRUE;
        case IDOK:
            OnSave();
            return TRUE;
        case IDCANCEL: {
            // Escape, the close box and 취소 (each with the button's
            // handle) lose typed work only on a Yes; a close by the program
            // itself (no handle) asks nothing.
            WinMessages asker;
            asker.SetOwner(dlg_);
            if (lp == 0 || opened_->MayClose(model_, Typed(), asker))
                EndDialog(dlg_, IDCANCEL);
            return TRUE;
        }
        default:
            if (HIWORD(wp) == EN_CHANGE)
                limits_.OnChange(dlg_, LOWORD(wp));
            return FALSE;
        }
    case WM_DESTROY:
        // Closed while editing: the edit goes with the dialog.
        editor_ = nullptr;
        RemoveWindowSubclass(list_, ListProc, 1);
        return FALSE;
    default:
        return FALSE;
    }
}

void ResultWriteDialog::OnNotify(const NMHDR& head, LPARAM lp) {
    if (head.idFrom != IDC_PROGRAM_LIST)
        return;
    switch (head.code) {
    case NM_CLICK: {
        // The list has handled the click (selection, check box); a click on
        // a count cell opens the editor over it.
        LVHITTESTINFO hit{};
        hit.pt = reinterpret_cast<const NMITEMACTIVATE*>(lp)->ptAction;
        if (ListView_SubItemHitTest(list_, &hit) >= 0 &&
            CResultWriting::IsEditableColumn(hit.iSubItem))
            BeginEdit(hit.iItem, hit.iSubItem);
        return;
    }
    case LVN_COLUMNCLICK:
        if (editor_)
            SetFocus(list_);
        model_.ColumnClicked(reinterpret_cast<const NMLISTVIEW*>(lp)->iSubItem);
        return;
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lp);
        if (showing_ || change->iItem < 0 || !(change->uChanged & LVIF_STATE) ||
            !((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK))
            return;
        const bool checked = ListView_GetCheckState(list_, change->iItem) != 0;
        if (model_.GetCheck(change->iItem) != checked)
            model_.SetCheck(change->iItem, checked);
        return;
    }
    default:
        return;
    }
}

void ResultWriteDialog::OnAdd() {
    // The dialog comes back after every entry, refused or taken, with what
    // was typed last, until it is cancelled.
    NewProgram program;
    while (Door::RunDialog(dlg_, IDD_ADD_PROGRAM, AddProgramProc,
                           reinterpret_cast<LPARAM>(&program)) == IDOK)
        model_.AddProgram(program);
}

TypedFields ResultWriteDialog::Typed() const {
    TypedFields typed;
    for (const FieldControl& f : kFields)
        typed[static_cast<std::size_t>(f.field)] = ItemText(dlg_, f.id);
    return typed;
}

bool ResultWriteDialog::EditFromKeys(wchar_t typed) {
    const int row = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    if (editor_ || row < 0)
        return false;
    BeginEdit(row, kKeyEditColumn);
    if (editor_ && typed) {
        // The digit starts the new count.
        const wchar_t text[2] = {typed, 0};
        SetWindowTextW(editor_, text);
        SendMessageW(editor_, EM_SETSEL, 1, 1);
    }
    return true;
}

void ResultWriteDialog::OnSave() {
    if (editor_)
        SetFocus(list_);
    for (const FieldControl& f : kFields)
        if (!ItemsFit(dlg_, {f.id}))
            return;
    for (const FieldControl& f : kFields)
        model_.SetField(f.field, ItemText(dlg_, f.id));
    if (model_.Save())
        EndDialog(dlg_, IDOK);
}

// ---- the list -----------------------------------------------------------

void ResultWriteDialog::InsertRow(int row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void ResultWriteDialog::ShowRow(int row) {
    showing_ = true;
    for (int c = 0; c < kResultColumnCount; ++c) {
        std::wstring text = Wide(model_.ItemText(row, c));
        LVITEMW item{};
        item.iSubItem = c;
        item.pszText = text.data();
        SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    }
    ListView_SetCheckState(list_, row, model_.GetCheck(row));
    showing_ = false;
}

void ResultWriteDialog::ShowAllRows() {
    showing_ = true;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list_);
    for (int r = 0; r < model_.RowCount(); ++r) {
        InsertRow(r);
        ShowRow(r);
        showing_ = true;
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    showing_ = false;
}

void ResultWriteDialog::ShowCheck(int row) {
    showing_ = true;
    ListView_SetCheckState(list_, row, model_.GetCheck(row));
    showing_ = false;
}

void ResultWriteDialog::ModelReset(const CResultWriting& m) {
    if (!dlg_)
        return;
    for (const FieldControl& f : kFields)
        SetItemText(dlg_, f.id, m.Field(f.field));
    ShowAllRows();
}

void ResultWriteDialog::RowAdded(const CResultWriting&, int row) {
    showing_ = true;
    InsertRow(row);
    showing_ = false;
    ShowRow(row);
    ListView_EnsureVisible(list_, row, FALSE);
}

void ResultWriteDialog::RowRemoved(const CResultWriting&, int row) {
    showing_ = true;
    ListView_DeleteItem(list_, row);
    showing_ = false;
}

// ---- the in-place editor ------------------------------------------------

void ResultWriteDialog::BeginEdit(int row, int column) {
    if (editor_ || row < 0 || row >= model_.RowCount())
        return;
    if (!ListView_EnsureVisible(list_, row, TRUE))
        return;
    const int width = ListView_GetColumnWidth(list_, column);
    if (column < 0 || column >= kResultColumnCount || width <= 4)
        return;
    int offset = 0;
    for (int c = 0; c < column; ++c)
        offset += ListView_GetColumnWidth(list_, c);
    RECT rowRect, client;
    ListView_GetItemRect(list_, row, &rowRect, LVIR_BOUNDS);
    GetClientRect(list_, &client);
    // A cell that starts outside the client area is scrolled to its left edge.
    if (offset + rowRect.left < 0 || offset + rowRect.left > client.right) {
        const int by = offset + rowRect.left;
        ListView_Scroll(list_, by, 0);
        ListView_GetItemRect(list_, row, &rowRect, LVIR_BOUNDS);
    }
    int left = rowRect.left + offset + 4;
    int right = std::min<int>(left + width - 3, client.right);

    LVCOLUMNW format{};
    format.mask = LVCF_FMT;
    SendMessageW(list_, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&format));
    DWORD align = ES_LEFT;
    if ((format.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT)
        align = ES_RIGHT;
    else if ((format.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER)
        align = ES_CENTER;

    const std::wstring text = Wide(model_.ItemText(row, column));
    // Wide enough for the text in the dialog's font.
    const int textWidth = TextWidth(dlg_, text);
    if (textWidth + 8 > right - left)
        right = left + textWidth + 8;

    editRow_ = row;
    editColumn_ = column;
    editCancelled_ = false;
    editMovesOn_ = false;
    editor_ = CreateWindowExW(
        0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | align, left,
        rowRect.top, right - left, rowRect.bottom - rowRect.top, list_,
        reinterpret_cast<HMENU>(INT_PTR(IDC_IN_PLACE_EDIT)), GetModuleHandleW(nullptr), nullptr);
    if (!editor_)
        return;
    SendMessageW(editor_, WM_SETFONT, SendMessageW(list_, WM_GETFONT, 0, 0), TRUE);
    SetWindowSubclass(editor_, EditorProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SetFocus(editor_);
    SendMessageW(editor_, EM_SETSEL, 0, -1);
}

void ResultWriteDialog::EndEdit() {
    if (!editor_)
        return;
    HWND editor = std::exchange(editor_, nullptr);
    std::optional<std::string> text;
    if (!editCancelled_) {
        std::wstring wide(std::size_t(GetWindowTextLengthW(editor)) + 1, L'\0');
        wide.resize(std::size_t(GetWindowTextW(editor, wide.data(), int(wide.size()))));
        text = Narrow(wide);
    }
    DestroyWindow(editor);
    model_.EndEdit(editRow_, editColumn_, text);
    if (editMovesOn_ && !editCancelled_) {
        editMovesOn_ = false;
        const int row = editRow_, column = OtherCountColumn(editColumn_);
        // After the focus change that ended this edit has run its course.
        PostMessageW(list_, WM_APP_EDIT_NEXT, WPARAM(row), LPARAM(column));
    }
}

void ResultWriteDialog::GrowEditor() {
    const int length = GetWindowTextLengthW(editor_);
    std::wstring text(std::size_t(length) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(editor_, text.data(), length + 1)));
    HDC dc = GetDC(editor_);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(editor_, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(editor_, dc);
    RECT box, client;
    GetWindowRect(editor_, &box);
    MapWindowPoints(nullptr, list_, reinterpret_cast<POINT*>(&box), 2);
    GetClientRect(list_, &client);
    const int wanted = std::min<int>(extent.cx + 16, client.right - box.left);
    if (wanted > box.right - box.left)
        SetWindowPos(editor_, nullptr, 0, 0, wanted, box.bottom - box.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK ResultWriteDialog::EditorProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                               DWORD_PTR data) {
    auto* self = reinterpret_cast<ResultWriteDialog*>(data);
    switch (msg) {
    case WM_GETDLGCODE:
        // Enter and Esc belong to the editor, never to the dialog's buttons.
        return DLGC_WANTALLKEYS | DefSubclassProc(w, msg, wp, lp);
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE || wp == VK_RETURN || wp == VK_TAB) {
            // Editing ends by the focus going back to the list; Tab goes
            // on to the row's other count cell.
            if (wp == VK_ESCAPE)
                self->editCancelled_ = true;
            if (wp == VK_TAB)
                self->editMovesOn_ = true;
            SetFocus(self->list_);
            return 0;
        }
        break;
    case WM_CHAR: {
        if (wp == VK_RETURN || wp == VK_ESCAPE || wp == VK_TAB)
            return 0;
        const LRESULT r = DefSubclassProc(w, msg, wp, lp);
        if (self->editor_ == w && wp >= L' ')
            self->GrowEditor();
        return r;
    }
    case WM_KILLFOCUS: {
        const LRESULT r = DefSubclassProc(w, msg, wp, lp);
        if (self->editor_ == w)
            self->EndEdit();
        return r;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(w, EditorProc, 1);
        break;
    }
    return DefSubclassProc(w, msg, wp, lp);
}

LRESULT CALLBACK ResultWriteDialog::ListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                             DWORD_PTR data) {
    auto* self = reinterpret_cast<ResultWriteDialog*>(data);
    switch (msg) {
    case WM_GETDLGCODE:
        // Enter on a row edits its count: it never reaches the dialog's
        // default button (저장) from the list.
        if (lp) {
            const MSG* m = reinterpret_cast<const MSG*>(lp);
            if (m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
                return DLGC_WANTMESSAGE | DefSubclassProc(w, msg, wp, lp);
        }
        break;
    case WM_KEYDOWN:
        if ((wp == VK_F2 || wp == VK_RETURN) && self->EditFromKeys(0))
            return 0;
        if (wp == VK_RETURN)
            return 0;
        break;
    case WM_CHAR:
        if (wp == VK_RETURN)
            return 0;
        if (wp < 0x10000 && OpensEditorWithText(char32_t(wp)) && self->EditFromKeys(wchar_t(wp)))
            return 0;
        break;
    case WM_APP_EDIT_NEXT:
        if (!self->editor_)
            self->BeginEdit(int(wp), int(lp));
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        // Scrolling ends an edit: the focus comes back to the list first.
        if (self->editor_ && GetFocus() != w)
            SetFocus(w);
        break;
    }
    return DefSubclassProc(w, msg, wp, lp);
}

} // namespace

bool RunResultWritingDialog(HWND owner, CResultWriting& model) {
    ResultWriteDialog dialog(model);
    return Door::RunDialog(owner, IDD_RESULT_WRITE, ResultWriteDialog::Proc,
                           reinterpret_cast<LPARAM>(&dialog)) == IDOK;
}

} // namespace ostravion::win
