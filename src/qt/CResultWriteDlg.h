// The result-writing dialog: the audit's administrative fields and the list
// of programs with their installed and genuine counts, edited in place; the
// add-program dialog it opens; and the digit field with a spin button both
// use for counts.
#pragma once

#include "desktop/ResourceTable.h"
#include "desktop/ResultWritingUi.h"
#include "doc/ResultWriting.h"
#include "ports/Ports.h"

#include <QAbstractSpinBox>
#include <QDialog>
#include <QValidator>
#include <memory>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace ostravion::gui {

class CEditListCtrl;

// Refuses a text longer than `limit` bytes in CP949.
class ByteLimitValidator : public QValidator {
public:
    ByteLimitValidator(const TextCodec& codec, std::size_t limit, QObject* parent)
        : QValidator(parent), codec_(codec), limit_(limit) {}
    State validate(QString& input, int& pos) const override;

private:
    const TextCodec& codec_;
    std::size_t limit_;
};

// A digits-only field with a spin button: the arrows count within
// [minimum, maximum]; the field may also be empty.
class CCountEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit CCountEdit(QWidget* parent = nullptr);
    void SetRange(int minimum, int maximum);
    QString Text() const;
    void SetText(const QString& text);
    QLineEdit* Edit() const { return lineEdit(); }

    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int Value() const;
    int minimum_ = 0;
    int maximum_ = 99;
};

// "프로그램 목록 추가": a program entered by hand.
class CAddProgramDlg : public QDialog {
    Q_OBJECT
public:
    enum Control {
        IDC_PROGRAM = ostravion::IDC_PROGRAM,
        IDC_INSTALLED = ostravion::IDC_INSTALLED,
        IDC_COMPANY = ostravion::IDC_COMPANY,
        IDC_VERSION = ostravion::IDC_VERSION,
        IDC_INSTALLED_SPIN = ostravion::IDC_INSTALLED_SPIN,
    };
    CAddProgramDlg(const TextCodec& codec, QWidget* parent = nullptr);

    // The four fields as CP949 texts.
    NewProgram Program() const;
    QLineEdit* Field(int control) const;
    CCountEdit* Installed() const { return installed_; }

private:
    const TextCodec& codec_;
    QLineEdit *program_, *company_, *version_;
    CCountEdit* installed_;
};

class CResultWriteDlg : public QDialog, private ResultWriteObserver {
    Q_OBJECT
public:
    enum Control {
        IDC_CHECK_DEPARTMENT = ostravion::IDC_CHECK_DEPARTMENT,
        IDC_CHECKER = ostravion::IDC_CHECKER,
        IDC_CONFIRM_DEPARTMENT = ostravion::IDC_CONFIRM_DEPARTMENT,
        IDC_CONFIRMER = ostravion::IDC_CONFIRMER,
        IDC_PC_COUNT = ostravion::IDC_PC_COUNT,
        IDC_PC_SPIN = ostravion::IDC_PC_SPIN,
        IDC_REMARK = ostravion::IDC_REMARK,
        IDC_LIST = ostravion::IDC_PROGRAM_LIST,
        IDC_ADD = ostravion::IDC_ADD_PROGRAM,
        IDC_DELETE = ostravion::IDC_DELETE_PROGRAMS,
    };

    // Shows the model as it stands (opened by the caller) and follows it.
    CResultWriteDlg(CResultWriting& model, const TextCodec& codec, QWidget* parent = nullptr);
    ~CResultWriteDlg() override;

    CResultWriting& Model() { return model_; }
    CEditListCtrl* List() const { return list_; }
    // The one-line fields by control id (not the PC count).
    QLineEdit* Field(int control) const;
    CCountEdit* PcCount() const { return pcCount_; }
    QPlainTextEdit* Remark() const { return remark_; }

    // The six fields as shown, CP949, in ResultField order.
    TypedFields Typed() const;

public slots:
    void OnAdd();
    void OnDelete();
    // "저장": the fields into the model, then the model's save; closes with
    // OK when it saved (the caller then loads the lists again).
    void OnSave();

protected:
    // Escape, the close box and 취소 lose typed work only on a Yes.
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void ModelReset(const CResultWriting&) override;
    void RowAdded(const CResultWriting&, int row) override;
    void RowRemoved(const CResultWriting&, int row) override;
    void RowsMoved(const CResultWriting&) override;
    void RowChanged(const CResultWriting&, int row) override;
    void CheckChanged(const CResultWriting&, int row) override;

    bool MayClose();
    void ShowRow(int row);
    void ShowAllRows();
    void LimitRemark();
    QString Qs(const std::string& cp949) const;
    std::string Cp(const QString& s) const;

    const TextCodec& codec_;
    CResultWriting& model_;
    QLineEdit *checkDepartment_, *checker_, *confirmDepartment_, *confirmer_;
    CCountEdit* pcCount_;
    QPlainTextEdit* remark_;
    QString remarkText_; // the last remark within its limit
    CEditListCtrl* list_;
    QPushButton *add_, *delete_, *save_, *cancel_;
    bool showing_ = false; // the list is being filled: its changes are not the user's
    std::unique_ptr<ResultWorkSnapshot> opened_; // what the dialog showed when it opened
};

} // namespace ostravion::gui
