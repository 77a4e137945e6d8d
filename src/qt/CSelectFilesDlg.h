// The file-selection dialog of the consolidation: the per-PC result files of
// the work folder with check boxes, "전체선택", and the total file's name.
#pragma once

#include "doc/FileSelection.h"
#include "ports/Ports.h"

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
    // Lists the model's files with their marks and its preset name; OK
    // hands the marks and the typed name back to it.
    CSelectFilesDlg(SelectFilesModel& model, const TextCodec& codec, QWidget* parent = nullptr);

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

    SelectFilesModel& model_;
    const TextCodec& codec_;
    QTreeWidget* list_;
    QCheckBox* selectAll_;
    QLineEdit* name_;
    QPushButton *ok_, *cancel_;
};

} // namespace ostravion::gui
