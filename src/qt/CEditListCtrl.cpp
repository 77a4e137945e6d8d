#include "qt/CEditListCtrl.h"

#include "desktop/ResultWritingUi.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

namespace ostravion::gui {

namespace {

// The keys the editor keeps: without them a dialog would take Enter and Esc
// as its default and cancel buttons, and shortcuts would take Ctrl keys.
bool EditorKey(const QKeyEvent* k) {
    switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return true;
    default:
        return (k->modifiers() & Qt::ControlModifier) != 0;
    }
}

} // namespace

// ---- CInPlaceEdit -------------------------------------------------------

CInPlaceEdit::CInPlaceEdit(int row, int column, const QString& text, QWidget* parent)
    : QLineEdit(parent), row_(row), column_(column), initial_(text) {
    setObjectName(QStringLiteral("edit%1").arg(kControlId));
    setFrame(true);
    if (parent)
        setFont(parent->font());
    setText(initial_);
    show();
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

bool CInPlaceEdit::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride && EditorKey(static_cast<QKeyEvent*>(e))) {
        e->accept();
        return true;
    }
    // Tab stores the count and goes on to the row's other count cell,
    // rather than to the dialog's next control.
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            movesOn_ = true;
            e->accept();
            if (QWidget* list = parentWidget() ? parentWidget()->parentWidget() : nullptr)
                list->setFocus(Qt::OtherFocusReason);
            else
                EndEditing();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Escape:
        cancelled_ = true;
        [[fallthrough]];
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Editing ends by the focus going back to the list.
        e->accept();
        if (QWidget* list = parentWidget() ? parentWidget()->parentWidget() : nullptr)
            list->setFocus(Qt::OtherFocusReason);
        else
            EndEditing();
        return;
    default:
        break;
    }
    QLineEdit::keyPressEvent(e);
    e->accept(); // nothing typed here goes on to the dialog
    if (!e->text().isEmpty() && e->text().at(0).isPrint())
        GrowToText();
}

void CInPlaceEdit::GrowToText() {
    const int wanted = fontMetrics().horizontalAdvance(text()) + 16;
    if (width() >= wanted)
        return;
    int w = wanted;
    if (parentWidget())
        w = std::min(w, parentWidget()->width() - x());
    if (w > width())
        resize(w, height());
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // The editor's own context menu takes the focus for a moment only.
    if (e->reason() == Qt::PopupFocusReason)
        return;
    EndEditing();
}

void CInPlaceEdit::EndEditing() {
    if (ended_)
        return;
    ended_ = true;
    emit editEnded(row_, column_, cancelled_, text());
    hide();
    deleteLater();
}

// ---- CEditListCtrl ------------------------------------------------------

CEditListCtrl::CEditListCtrl(QWidget* parent) : QTableWidget(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
}

int CEditListCtrl::HitTestEx(const QPoint& point, int* column) const {
    if (column)
        *column = -1;
    const int top = std::max(0, rowAt(0));
    if (rowCount() == 0 || rowAt(0) < 0)
        return -1;
    // Visible rows: from the top one through one page, not past the last.
    int page = 0;
    for (int r = top; r < rowCount() && rowViewportPosition(r) < viewport()->height(); ++r)
        ++page;
    const int last = std::min(rowCount() - 1, top + page);
    for (int r = top; r <= last; ++r) {
        const int y = rowViewportPosition(r);
        if (point.y() < y || point.y() >= y + rowHeight(r))
            continue;
        // The columns left to right from the row's left edge.
        int x = -horizontalOffset();
        for (int c = 0; c < columnCount(); ++c) {
            const int w = columnWidth(c);
            if (point.x() >= x && point.x() < x + w) {
                if (column)
                    *column = c;
                return r;
            }
            x += w;
        }
        return r;
    }
    return -1;
}

CInPlaceEdit* CEditListCtrl::EditSubLabel(int row, int column) {
    if (row < 0 || row >= rowCount())
        return nullptr;
    // The row visible, partly being enough.
    const auto rowShown = [&] {
        const int y = rowViewportPosition(row);
        return y + rowHeight(row) > 0 && y < viewport()->height();
    };
    if (!rowShown()) {
        scrollTo(model()->index(row, 0), QAbstractItemView::EnsureVisible);
        if (!rowShown())
            return nullptr;
    }
    if (column < 0 || column >= columnCount() || columnWidth(column) <= 4)
        return nullptr;

    int offset = 0;
    for (int c = 0; c < column; ++c)
        offset += columnWidth(c);
    int left = -horizontalOffset();
    const QRect client = viewport()->rect();
    // A cell that starts outside the client area is scrolled to its left edge.
    if (offset + left < 0 || offset + left > client.right()) {
        QScrollBar* bar = horizontalScrollBar();
        const int before = bar->value();
        bar->setValue(before + offset + left);
        left -= bar->value() - before;
    }
    QRect r(QPoint(left + offset + 4, rowViewportPosition(row)),
            QPoint(left + offset + 4 + columnWidth(column) - 3 - 1,
                   rowViewportPosition(row) + rowHeight(row) - 1));
    if (r.right() > client.right())
        r.setRight(client.right());

    const QTableWidgetItem* cell = item(row, column);
    const QString text = cell ? cell->text() : QString();
    Qt::Alignment align = Qt::AlignLeft;
    if (const QTableWidgetItem* head = horizontalHeaderItem(column)) {
        const auto a = Qt::Alignment(head->textAlignment()) & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignRight)
            align = Qt::AlignRight;
        else if (a & Qt::AlignHCenter)
            align = Qt::AlignHCenter;
    }
    // Wide enough for the text in the dialog's font.
    const int textWidth = QFontMetrics(window()->font()).horizontalAdvance(text) + 8;
    if (textWidth > r.width())
        r.setWidth(textWidth);

    auto* editor = new CInPlaceEdit(row, column, text, viewport());
    editor->setAlignment(align | Qt::AlignVCenter);
    editor->setGeometry(r);
    connect(editor, &CInPlaceEdit::editEnded, this,
            [this, editor](int r, int c, bool cancelled, const QString& t) {
                emit endLabelEdit(r, c, cancelled, t);
                if (!editor->MovesOn())
                    return;
                const int other = OtherCountColumn(c);
                QTimer::singleShot(0, this, [this, r, other] {
                    if (!editor_ && editable_.count(other) != 0)
                        EditSubLabel(r, other);
                });
            });
    editor_ = editor;
    return editor;
}

void CEditListCtrl::mousePressEvent(QMouseEvent* e) {
    // The list handles the click first (selection, check box).
    QTableWidget::mousePressEvent(e);
    if (e->button() != Qt::LeftButton)
        return;
    int column = -1;
    const int row = HitTestEx(e->position().toPoint(), &column);
    if (row >= 0 && editable_.count(column) != 0)
        EditSubLabel(row, column);
}

void CEditListCtrl::keyPressEvent(QKeyEvent* e) {
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const QString typed = e->text();
    const bool digit = !typed.isEmpty() && OpensEditorWithText(typed.at(0).unicode()) &&
                       !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const int row = currentRow();
    if (!editor_ && row >= 0 && (enter || digit || e->key() == Qt::Key_F2)) {
        if (CInPlaceEdit* editor = EditSubLabel(row, kKeyEditColumn); editor && digit) {
            // The digit starts the new count.
            editor->setText(typed);
            editor->setCursorPosition(static_cast<int>(typed.size()));
        }
        e->accept();
        return;
    }
    // Enter in the list is never the dialog's save.
    if (enter) {
        e->accept();
        return;
    }
    QTableWidget::keyPressEvent(e);
}

void CEditListCtrl::scrollContentsBy(int dx, int dy) {
    // Scrolling ends an edit: the focus comes back to the list first.
    if (editor_ && !hasFocus())
        setFocus(Qt::OtherFocusReason);
    QTableWidget::scrollContentsBy(dx, dy);
}

} // namespace ostravion::gui
