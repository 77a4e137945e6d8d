// A result list as a Qt table model: the list's cells, check boxes and
// columns, converted from the system code page for the screen. Rows added in
// a burst are announced to the view together.
#pragma once

#include "ports/Ports.h"
#include "views/ResultList.h"

#include <QAbstractTableModel>
#include <QTimer>
#include <functional>

namespace ostravion::gui {

class ResultListModel final : public QAbstractTableModel, public ListObserver {
    Q_OBJECT
public:
    ResultListModel(CResultList& list, const TextCodec& codec, QObject* parent = nullptr);
    ~ResultListModel() override;

    CResultList& List() const { return list_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A check-box change from the user: the list's click and item-changed rules.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Announces rows the list gained since the last announcement.
    void Flush();

    // The work was marked edited by a check-box change.
    std::function<void()> workEdited;

signals:
    // The columns were rebuilt: the view sets their widths.
    void columnsRebuilt();

private:
    // ListObserver, on the user-interface thread.
    void ColumnsChanged(const CResultList&) override;
    void RowsCleared(const CResultList&) override;
    void RowAdded(const CResultList&, int row) override;
    void RowsMoved(const CResultList&) override;
    void CheckChanged(const CResultList&, int row) override;
    void WorkEdited(const CResultList&) override;

    void Reset();
    QString Qs(const std::string& cp949) const;

    CResultList& list_;
    const TextCodec& codec_;
    int rows_ = 0;    // rows the view knows of
    int columns_ = 0; // columns the view knows of
    bool flushPending_ = false;
    QTimer flushTimer_;
};

} // namespace ostravion::gui
