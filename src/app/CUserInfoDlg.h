// The user-information dialog of the start-inspection command: the PC's
// group and result file name, with its model, computer name and user shown
// read-only.
#pragma once

#include "platform/Ports.h"

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

namespace ostravion::gui {

class CUserInfoDlg : public QDialog {
    Q_OBJECT
public:
    enum Control {
        IDC_GROUP = 1038,
        IDC_COMPUTER = 1040,
        IDC_USER = 1041,
        IDC_MODEL = 1042,
        IDC_RESULT_NAME = 1043,
    };

    CUserInfoDlg(FileSystem& files, const TextCodec& codec, QWidget* parent = nullptr);

    // Defaults, as CP949 texts.
    void SetDefaults(const std::string& model, const std::string& computer,
                     const std::string& resultName, const std::string& user);

    // The five fields as CP949 texts.
    std::string Group() const;
    std::string Model() const;
    std::string Computer() const;
    std::string ResultName() const;
    std::string User() const;

    QLineEdit* Field(int control) const;
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    // The per-PC result path the answers name.
    static std::string ResultPath(const std::string& group, const std::string& resultName);

public slots:
    // OK: the group name is required; an existing result file of the same
    // name is overwritten only when the user says so.
    void OnOk();

private:
    std::string Cp949(const QLineEdit* e) const;
    QString Qs(const std::string& cp949) const;

    FileSystem& files_;
    const TextCodec& codec_;
    QLineEdit *group_, *model_, *computer_, *resultName_, *user_;
    QPushButton *ok_, *cancel_;
};

} // namespace ostravion::gui
