// A report-style list whose count cells are edited in place: a click in an
// editable column, or F2, Enter or a digit typed on a row, opens a one-line
// editor over the cell; when the editor loses the focus the list reports the
// end of the edit (the text, or none when Esc cancelled it) and the editor
// goes. Enter never reaches the dialog from the list.
#pragma once

#include "desktop/ResourceTable.h"
#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>
#include <set>

namespace ostravion::gui {

// The editor over one cell. It takes the list's font, shows the cell's text
// selected and keeps Enter, Esc, Delete and Ctrl keys to itself, so that the
// dialog around the list never sees them while a cell is edited.
class CInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kControlId = ostravion::IDC_IN_PLACE_EDIT;

    CInPlaceEdit(int row, int column, const QString& text, QWidget* parent);

    int Row() const { return row_; }
    int Column() const { return column_; }
    bool Cancelled() const { return cancelled_; }
    // Tab ended the edit: the row's other count cell is edited next.
    bool MovesOn() const { return movesOn_; }

signals:
    // The end of editing: `cancelled` when Esc ended it (the text is then
    // not to be used).
    void editEnded(int row, int column, bool cancelled, const QString& text);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void EndEditing();
    void GrowToText();

    int row_;
    int column_;
    QString initial_;
    bool cancelled_ = false;
    bool movesOn_ = false;
    bool ended_ = false;
};

class CEditListCtrl : public QTableWidget {
    Q_OBJECT
public:
    explicit CEditListCtrl(QWidget* parent = nullptr);

    // The row under a point of the viewport, or -1; `column` receives the
    // column whose span holds the point's x, or -1.
    int HitTestEx(const QPoint& point, int* column) const;

    // Opens the editor over (row, column); null when the column does not
    // exist or is too narrow to edit in, or the row cannot be shown.
    CInPlaceEdit* EditSubLabel(int row, int column);
    // The open editor, if any.
    CInPlaceEdit* Editor() const { return editor_; }

signals:
    // The end of an in-place edit: the text, or `cancelled`.
    void endLabelEdit(int row, int column, bool cancelled, const QString& text);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // The columns a click edits: the installed and genuine counts.
    const std::set<int> editable_{3, 4};
    QPointer<CInPlaceEdit> editor_;
};

} // namespace ostravion::gui
