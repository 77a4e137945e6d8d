// The file-selection dialog of the consolidation: the per-PC result files of
// the work folder with check boxes, "전체선택", and the total file's name.
#pragma once

#include "platform/Ports.h"
#include "util/AuditUtil.h"

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace ostravion::gui {

class CSelectFilesDlg : public QDialog {
    Q_OBJECT
public:
    // The result name is preset to the local date and time of `clock` as
    // fourteen digits.
    CSelectFilesDlg(CAuditUtil& util, const TextCodec& codec, const Clock& clock,
                    QWidget* parent = nullptr);

    // Lists the ".ipt" files of the work folder below the current directory,
    // in the name order of the system the files come from.
    void FillList();

    QTreeWidget* List() const { return list_; }
    QCheckBox* SelectAll() const { return selectAll_; }
    QLineEdit* ResultNameEdit() const { return name_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    // The typed total-file name, CP949.
    std::string ResultName() const;
    // The marked file names, top to bottom, CP949.
    std::vector<std::string> MarkedFiles() const;
    void SetChecked(int row, bool on);

public slots:
    void OnOk();

private:
    void Toggle(QTreeWidgetItem* item);
    void OnSelectAll(bool on);
    bool eventFilter(QObject* watched, QEvent* event) override;

    CAuditUtil& util_;
    const TextCodec& codec_;
    QTreeWidget* list_;
    QCheckBox* selectAll_;
    QLineEdit* name_;
    QPushButton *ok_, *cancel_;
};

} // namespace ostravion::gui
