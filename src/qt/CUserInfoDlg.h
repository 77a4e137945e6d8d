// The user-information dialog of the start-inspection command: the PC's
// group and result file name, with its model, computer name and user shown
// read-only.
#pragma once

#include "desktop/ResourceTable.h"
#include "ports/DesktopUi.h"

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

namespace ostravion::gui {

class CUserInfoDlg : public QDialog {
    Q_OBJECT
public:
    enum Control {
        IDC_GROUP = ostravion::IDC_GROUP,
        IDC_COMPUTER = ostravion::IDC_COMPUTER,
        IDC_USER = ostravion::IDC_USER,
        IDC_MODEL = ostravion::IDC_MODEL,
        IDC_RESULT_NAME = ostravion::IDC_RESULT_NAME,
    };

    // Shows the model's fields; OK hands the typed ones back to it.
    CUserInfoDlg(StartDialogModel& model, const TextCodec& codec, QWidget* parent = nullptr);

    QLineEdit* Field(int control) const;
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    // "디스크 이미지…" and the disk it chose; null where none may be chosen.
    QPushButton* DiskButton() const { return diskButton_; }
    QLineEdit* DiskField() const { return disk_; }

public slots:
    // OK: the model checks the fields; a refused one takes the focus.
    void OnOk();
    // "디스크 이미지…": the model asks for the image and, when it can be
    // read, the fields show the disk's facts.
    void OnChooseDisk();

private:
    std::string Cp949(const QLineEdit* e) const;
    QString Qs(const std::string& cp949) const;

    StartDialogModel& fields_;
    const TextCodec& codec_;
    void ShowFacts();

    QLineEdit *group_, *model_, *computer_, *resultName_, *user_;
    QLineEdit* disk_ = nullptr;
    QPushButton *ok_, *cancel_;
    QPushButton* diskButton_ = nullptr;
};

} // namespace ostravion::gui
