#include "qt/ResultListModel.h"

#include "qt/report/QtText.h"

#include <QTimer>

namespace ostravion::gui {

ResultListModel::ResultListModel(CResultList& list, const TextCodec& codec, QObject* parent)
    : QAbstractTableModel(parent), list_(list), codec_(codec), rows_(list.RowCount()),
      columns_(list.HasColumns() ? list.ColumnCount() : 0) {
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(50);
    connect(&flushTimer_, &QTimer::timeout, this, [this] {
        if (flushPending_)
            Flush();
    });
    list_.AddObserver(this);
}

ResultListModel::~ResultListModel() {
    list_.RemoveObserver(this);
}

QString ResultListModel::Qs(const std::string& cp949) const {
    return ToQt(codec_, cp949);
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Qs(list_.ItemText(index.row(), index.column()));
    case Qt::CheckStateRole:
        if (index.column() == 0 && list_.HasCheckBoxes()) {
            const int check = list_.GetCheck(index.row());
            if (check >= 0)
                return check == 1 ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_)
        return {};
    if (role == Qt::DisplayRole)
        return Qs(list_.Column(section).caption);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && list_.HasCheckBoxes())
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool ResultListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 ||
        index.row() >= rows_)
        return false;
    const int wanted = value.toInt() == Qt::Checked ? 1 : 0;
    const int now = list_.GetCheck(index.row());
    if (now < 0)
        return false;
    if (now != wanted)
        list_.CheckToggled(index.row());
    return true;
}

void ResultListModel::Flush() {
    flushPending_ = false;
    flushTimer_.stop();
    const int have = list_.RowCount();
    if (have <= rows_)
        return;
    beginInsertRows(QModelIndex(), rows_, have - 1);
    rows_ = have;
    endInsertRows();
}

void ResultListModel::Reset() {
    beginResetModel();
    rows_ = list_.RowCount();
    columns_ = list_.HasColumns() ? list_.ColumnCount() : 0;
    flushPending_ = false;
    flushTimer_.stop();
    endResetModel();
}

void ResultListModel::ColumnsChanged(const CResultList&) {
    Reset();
    emit columnsRebuilt();
}

void ResultListModel::RowsCleared(const CResultList&) {
    Reset();
}

void ResultListModel::RowAdded(const CResultList&, int) {
    // Announced together: a loaded total or a consolidation adds all its rows
    // before the event loop runs again, and during a scan the view is told at
    // most every 50 ms, which spares it a layout and a paint per program.
    if (flushPending_)
        return;
    flushPending_ = true;
    flushTimer_.start();
}

void ResultListModel::RowsMoved(const CResultList&) {
    Flush();
    if (rows_ > 0 && columns_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
}

void ResultListModel::CheckChanged(const CResultList&, int row) {
    Flush();
    if (row >= 0 && row < rows_)
        emit dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
}

void ResultListModel::WorkEdited(const CResultList&) {
    if (workEdited)
        workEdited();
}

} // namespace ostravion::gui
