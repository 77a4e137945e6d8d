#include "win/ListPane.h"

#include "win/WinText.h"

#include <commctrl.h>

namespace ostravion::win {

namespace {

constexpr UINT_PTR kFlushTimer = 1;
constexpr UINT kFlushDelayMs = 30;

// The two check-box pictures, state images 1 (unticked) and 2 (ticked),
// drawn once per control by the system's own frame control.
HIMAGELIST MakeCheckImages(HWND hwnd) {
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    HIMAGELIST images = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 2, 0);
    HDC screen = GetDC(hwnd);
    for (bool ticked : {false, true}) {
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, cx, cy);
        HGDIOBJ old = SelectObject(dc, bmp);
        RECT all{0, 0, cx, cy};
        FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
        RECT box{1, 1, cx - 2, cy - 2};
        DrawFrameControl(dc, &box, DFC_BUTTON,
                         DFCS_BUTTONCHECK | DFCS_FLAT | (ticked ? DFCS_CHECKED : 0));
        SelectObject(dc, old);
        ImageList_AddMasked(images, bmp, GetSysColor(COLOR_WINDOW) ^ 0x010101);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    ReleaseDC(hwnd, screen);
    return images;
}

} // namespace

ListPane::ListPane(CResultList& list) : list_(list) {
    list_.AddObserver(this);
}

ListPane::~ListPane() {
    list_.RemoveObserver(this);
    if (checks_)
        ImageList_Destroy(checks_);
}

bool ListPane::Create(HWND parent, int id) {
    hwnd_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0,
        0, 0, parent, reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_)
        return false;
    ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    checks_ = MakeCheckImages(hwnd_);
    ListView_SetImageList(hwnd_, checks_, LVSIL_STATE);
    // The boxes' state is the list's: the control asks for it with the cells.
    ListView_SetCallbackMask(hwnd_, LVIS_STATEIMAGEMASK);
    SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    RebuildColumns();
    return true;
}

LRESULT CALLBACK ListPane::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                        DWORD_PTR self) {
    auto* pane = reinterpret_cast<ListPane*>(self);
    switch (msg) {
    case WM_TIMER:
        if (wp == kFlushTimer) {
            pane->Flush();
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (pane->focused)
            pane->focused();
        break;
    case WM_LBUTTONDOWN:
        pane->Flush();
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, SubclassProc, 1);
        pane->hwnd_ = nullptr;
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void ListPane::RebuildColumns() {
    if (!hwnd_)
        return;
    for (int c = columns_ - 1; c >= 0; --c)
        ListView_DeleteColumn(hwnd_, c);
    columns_ = 0;
    if (list_.HasColumns()) {
        for (int c = 0; c < list_.ColumnCount(); ++c) {
            std::wstring caption = Wide(list_.Column(c).caption);
            LVCOLUMNW col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            col.fmt = LVCFMT_LEFT;
            col.cx = ScaledForScreen(list_.Column(c).width);
            col.pszText = caption.data();
            SendMessageW(hwnd_, LVM_INSERTCOLUMNW, WPARAM(c), reinterpret_cast<LPARAM>(&col));
        }
        columns_ = list_.ColumnCount();
    }
    Reset();
}

void ListPane::Reset() {
    rows_ = list_.RowCount();
    flushPending_ = false;
    if (!hwnd_)
        return;
    KillTimer(hwnd_, kFlushTimer);
    ListView_SetItemCountEx(hwnd_, rows_, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListPane::Flush() {
    flushPending_ = false;
    if (!hwnd_)
        return;
    KillTimer(hwnd_, kFlushTimer);
    const int have = list_.RowCount();
    if (have == rows_)
        return;
    rows_ = have;
    ListView_SetItemCountEx(hwnd_, rows_, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void ListPane::ColumnsChanged(const CResultList&) {
    RebuildColumns();
}

void ListPane::RowsCleared(const CResultList&) {
    Reset();
}

void ListPane::RowAdded(const CResultList&, int) {
    if (flushPending_ || !hwnd_)
        return;
    flushPending_ = true;
    SetTimer(hwnd_, kFlushTimer, kFlushDelayMs, nullptr);
}

void ListPane::RowsMoved(const CResultList&) {
    Flush();
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, FALSE);
}

void ListPane::CheckChanged(const CResultList&, int row) {
    if (hwnd_ && row < rows_)
        ListView_RedrawItems(hwnd_, row, row);
}

void ListPane::WorkEdited(const CResultList&) {
    if (workEdited)
        workEdited();
}

void ListPane::ToggleAt(int row) {
    Flush();
    if (row >= 0 && row < rows_ && list_.GetCheck(row) >= 0)
        list_.CheckToggled(row);
}

bool ListPane::OnNotify(const NMHDR& header, LRESULT& result) {
    result = 0;
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item;
        if (item.iItem < 0 || item.iItem >= rows_)
            return true;
        if (item.mask & LVIF_TEXT) {
            cell_ = Wide(list_.ItemText(item.iItem, item.iSubItem));
            lstrcpynW(item.pszText, cell_.c_str(), item.cchTextMax);
        }
        if (item.mask & LVIF_STATE) {
            const int check = list_.GetCheck(item.iItem);
            item.stateMask |= LVIS_STATEIMAGEMASK;
            item.state = (item.state & ~LVIS_STATEIMAGEMASK) |
                         (check < 0 ? 0 : INDEXTOSTATEIMAGEMASK(check ? 2 : 1));
        }
        return true;
    }
    case LVN_COLUMNCLICK:
        Flush();
        list_.ColumnClicked(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        return true;
    case NM_CLICK: {
        const auto& act = reinterpret_cast<const NMITEMACTIVATE&>(header);
        LVHITTESTINFO hit{};
        hit.pt = act.ptAction;
        if (ListView_SubItemHitTest(hwnd_, &hit) >= 0 && (hit.flags & LVHT_ONITEMSTATEICON))
            ToggleAt(hit.iItem);
        return true;
    }
    case NM_DBLCLK: {
        Flush();
        const auto& act = reinterpret_cast<const NMITEMACTIVATE&>(header);
        const std::string folder = list_.DoubleClicked(act.iItem);
        if (!folder.empty() && openFolder)
            openFolder(folder);
        return true;
    }
    case LVN_KEYDOWN: {
        const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
        if (key.wVKey == VK_SPACE) {
            const int row = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
            ToggleAt(row);
        }
        // Enter on a row of the scan layout opens its folder, as a double
        // click does.
        if (key.wVKey == VK_RETURN) {
            const int row = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
            Flush();
            const std::string folder = row >= 0 ? list_.DoubleClicked(row) : std::string();
            if (!folder.empty() && openFolder)
                openFolder(folder);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace ostravion::win
