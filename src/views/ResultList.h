// The two result lists the main window shows, as models without a window:
// columns of the scan or total layout, rows of cell texts with their check
// states, the row store behind them, the column sort and the click rules.
// A desktop view draws a model and forwards the user's clicks to it; the
// writers of the result files read rows through it.
#pragma once

#include "ports/Ports.h"
#include "util/AuditUtil.h"
#include "util/Types.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace ostravion {

struct ListColumn {
    std::string caption; // CP949
    int width = 0;       // pixels
};

// The columns of a layout, in order.
const std::vector<ListColumn>& LayoutColumns(unsigned char layout);

// The date shown for a file in the scan layout's 만든날짜 column: "%Y-%m-%d".
std::string CreationDateText(const LocalTime& t);

class CResultList;

// Follows a list's changes. Every call comes on the thread that changed the
// list, after the change.
class ListObserver {
public:
    virtual ~ListObserver() = default;
    // Columns were built or removed; the rows are gone as well.
    virtual void ColumnsChanged(const CResultList&) {}
    // Every row was removed; the columns stay.
    virtual void RowsCleared(const CResultList&) {}
    // A row was appended at `row`.
    virtual void RowAdded(const CResultList&, int /*row*/) {}
    // Rows changed places (a sort).
    virtual void RowsMoved(const CResultList&) {}
    virtual void CheckChanged(const CResultList&, int /*row*/) {}
    // A check box change marked the work edited: the window title should show
    // the total name followed by "*".
    virtual void WorkEdited(const CResultList&) {}
};

// One list: the behaviour shared by the normal and the extended list.
class CResultList {
public:
    static constexpr int kNoColumns = -1;
    static constexpr int kNoCheckBox = -1;

    // `dates` gives the creation dates of the scan layout; without it the
    // 만든날짜 cells stay empty.
    CResultList(CAuditUtil& util, const FileDates* dates);
    virtual ~CResultList() = default;
    CResultList(const CResultList&) = delete;
    CResultList& operator=(const CResultList&) = delete;

    void AddObserver(ListObserver* o);
    void RemoveObserver(ListObserver* o);

    // Builds the columns of the layout the utility object's flag selects,
    // unless columns are already there. Starts a fresh row store.
    void BuildColumns();
    // Deletes every row and every column.
    void RemoveColumns();
    // Deletes every row and starts a fresh row store; the columns stay.
    void Clear();
    // Appends the program to the row store and a row for it at the end of the list.
    void AddFoundProgram(const FoundProgram& p);

    // Sorts the rows by the texts of one column; nothing when the column does
    // not exist. Rows with equal texts are never swapped with each other.
    void SortByColumn(int column, bool ascending);

    // Layout and size.
    bool HasColumns() const { return counter_ != kNoColumns; }
    unsigned char Layout() const { return layout_; }
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const ListColumn& Column(int column) const { return columns_.at(column); }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    bool HasCheckBoxes() const { return HasColumns() && layout_ == kTotalLayout; }

    // A cell's text; empty for a cell outside the list.
    std::string ItemText(int row, int column) const;
    // 1 ticked, 0 unticked, -1 no check box (or no such row).
    int GetCheck(int row) const;
    // Ticks or clears a row's box (total layout only), then runs the
    // item-changed rule. False when the row has no box.
    bool SetCheck(int row, bool ticked);

    // The row store: every program added since the last clearing, in the
    // order added, each slot "-" when it was empty. FileName and FileSize are
    // not kept (they stay empty).
    std::size_t StoredCount() const { return store_.size(); }
    const FoundProgram& Stored(std::size_t index) const { return *store_.at(index); }
    // The stored program behind a displayed row, found through the row number
    // in its first column; null when that number names no stored program.
    const FoundProgram* StoredForRow(int row) const;
    // The same, shared: it stays valid after the list is cleared, for a
    // writer that works on another thread.
    std::shared_ptr<const FoundProgram> SharedForRow(int row) const;
    // True when a stored program has the name (letter case aside) and a class
    // that is not greater than `cls`.
    bool HasNameWithClassAtMost(const std::string& name, const std::string& cls) const;

    // What the user does with the list.
    // A click on a column header: flips the direction flag and sorts, ascending
    // when the flag became 1.
    void ColumnClicked(int column);
    // A double click: in the scan layout returns the folder to open in the file manager (the row's
    // 파일경로); empty otherwise.
    std::string DoubleClicked(int row);
    // The user toggled a row's box.
    void CheckToggled(int row);
    int SortFlag() const { return sortFlag_; }

protected:
    struct Row {
        std::vector<std::string> cells;
        int check = kNoCheckBox;
    };

private:
    Row MakeRow(const FoundProgram& p, int number) const;
    void ItemChanged();
    void FreshStore();
    template <typename F> void Notify(F f) {
        for (ListObserver* o : observers_)
            f(*o);
    }

    CAuditUtil& util_;
    const FileDates* dates_;
    std::vector<ListObserver*> observers_;

    std::vector<ListColumn> columns_;
    unsigned char layout_ = kScanLayout;
    int counter_ = kNoColumns;
    int sortFlag_ = 0;
    std::vector<Row> rows_;
    // Shared so that a copy of the rows costs no copy of the programs.
    std::vector<std::shared_ptr<const FoundProgram>> store_;
    // Upper-case program name -> the least class stored under it.
    std::unordered_map<std::string, std::string> leastClassByName_;
};

// The upper list: programs of classes "1" and "2" (and every program of a total).
class COstravionView final : public CResultList {
public:
    using CResultList::CResultList;
};

// The lower list: programs of classes "3" and "4".
class CExtendView final : public CResultList {
public:
    using CResultList::CResultList;
};

} // namespace ostravion
