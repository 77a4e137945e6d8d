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
    QTableView::keyPressEvent(event);
}

} // namespace ostravion::gui
