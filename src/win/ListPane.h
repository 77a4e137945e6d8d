// A result list on screen: a report-mode list view in virtual mode over a
// CResultList (the list view asks for the cells it shows, so 100,000 rows
// show at once). Rows added in a burst are announced to the control together.
// The check boxes of the total layout are drawn from the list's own state;
// a click on a box or Space toggles it through the list's rules, header
// clicks sort with the list's sort, and a double click in the scan layout
// asks for the row's folder.
#pragma once

#include "views/ResultList.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

namespace ostravion::win {

class ListPane final : public ListObserver {
public:
    explicit ListPane(CResultList& list);
    ~ListPane() override;

    bool Create(HWND parent, int id);
    HWND Handle() const { return hwnd_; }
    CResultList& List() { return list_; }

    // The parent forwards the control's notifications; true when handled,
    // with the result in `result`.
    bool OnNotify(const NMHDR& header, LRESULT& result);
    // Tells the control of rows the list gained since the last time.
    void Flush();
    // The rows the control knows of.
    int ShownRows() const { return rows_; }

    // A check-box change marked the work edited.
    std::function<void()> workEdited;
    // A double click in the scan layout asks for this folder (CP949).
    std::function<void(const std::string&)> openFolder;
    // The control got the focus.
    std::function<void()> focused;

private:
    void ColumnsChanged(const CResultList&) override;
    void RowsCleared(const CResultList&) override;
    void RowAdded(const CResultList&, int row) override;
    void RowsMoved(const CResultList&) override;
    void CheckChanged(const CResultList&, int row) override;
    void WorkEdited(const CResultList&) override;

    void RebuildColumns();
    void Reset();
    void ToggleAt(int row);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR self);

    CResultList& list_;
    HWND hwnd_ = nullptr;
    HIMAGELIST checks_ = nullptr;
    int rows_ = 0;
    int columns_ = 0;
    bool flushPending_ = false;
    std::wstring cell_; // the text handed to the control last
};

} // namespace ostravion::win
