// A result list on screen: a report-style table over a ResultListModel with
// grid lines and whole-row selection. Header clicks sort with the list's own
// sort; clicks and double clicks go to the list's rules.
#pragma once

#include "qt/ResultListModel.h"

#include <QTableView>
#include <string>

namespace ostravion::gui {

class CResultView : public QTableView {
    Q_OBJECT
public:
    CResultView(CResultList& list, const TextCodec& codec, QWidget* parent = nullptr);

    ResultListModel& Model() { return model_; }
    CResultList& List() { return model_.List(); }

    // The row a point of the viewport lies on, or -1.
    int RowAt(QPoint viewportPos) const;

signals:
    // A double click or Enter in the scan layout asks for this folder (its
    // text as the list shows it, CP949) to be opened in the file manager.
    void openFolder(const std::string& folder);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void initViewItemOption(QStyleOptionViewItem* option) const override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ApplyColumnWidths();

    ResultListModel model_;
};

} // namespace ostravion::gui
