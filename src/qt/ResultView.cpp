#include "qt/ResultView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ostravion::gui {

CResultView::CResultView(CResultList& list, const TextCodec& codec, QWidget* parent)
    : QTableView(parent), model_(list, codec) {
    setModel(&model_);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSortingEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Rows of one height: the view then places 100,000 rows without
    // measuring any of them.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* header = horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int column) { List().ColumnClicked(column); });
    connect(&model_, &ResultListModel::columnsRebuilt, this, &CResultView::ApplyColumnWidths);
    ApplyColumnWidths();
    // The list with the focus shows its selection in the highlight colour,
    // the other one in grey: the user sees where the keys go.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Mid));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::Text));
    setPalette(p);
}

void CResultView::initViewItemOption(QStyleOptionViewItem* option) const {
    QTableView::initViewItemOption(option);
    if (hasFocus())
        option->state |= QStyle::State_Active;
    else
        option->state &= ~QStyle::State_Active;
}

void CResultView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void CResultView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void CResultView::ApplyColumnWidths() {
    const CResultList& list = List();
    if (!list.HasColumns())
        return;
    for (int c = 0; c < list.ColumnCount(); ++c)
        setColumnWidth(c, list.Column(c).width);
}

int CResultView::RowAt(QPoint viewportPos) const {
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? index.row() : -1;
}

void CResultView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        model_.Flush();
    QTableView::mousePressEvent(event);
}

void CResultView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    model_.Flush();
    const std::string folder = List().DoubleClicked(RowAt(event->position().toPoint()));
    if (!folder.empty())
        emit openFolder(folder);
}

void CResultView::keyPressEvent(QKeyEvent* event) {
    // The window's keys are no list keys: Ctrl+A stays with 다른 이름으로
    // 저장 even while that command is greyed.
    if (event->modifiers() == Qt::ControlModifier &&
        (event->key() == Qt::Key_A || event->key() == Qt::Key_S || event->key() == Qt::Key_O ||
         event->key() == Qt::Key_P)) {
        event->ignore();
        return;
    }
    // Enter on a row of the scan layout opens its folder, as a double click does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier && currentIndex().isValid()) {
        model_.Flush();
        const std::string folder = List().DoubleClicked(currentIndex().row());
        if (!folder.empty()) {
            emit openFolder(folder);
            event->accept();
            return;
        }
    }
    // Space ticks the current row's box whichever of its cells is current.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        List().HasCheckBoxes() && currentIndex().isValid()) {
        model_.Flush();
        const QModelIndex box = model_.index(currentIndex().row(), 0);
        const bool ticked = box.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        model_.setData(box, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace ostravion::gui
