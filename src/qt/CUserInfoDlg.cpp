#include "qt/CUserInfoDlg.h"

#include "qt/report/QtText.h"

#include "desktop/DesktopTexts.h"
#include "doc/Inspection.h"
#include "qt/Dialogs.h"
#include "qt/Pictures.h"
#include "util/AuditUtil.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ostravion::gui {

CUserInfoDlg::CUserInfoDlg(StartDialogModel& model, const TextCodec& codec, QWidget* parent)
    : QDialog(parent), fields_(model), codec_(codec) {
    setWindowTitle(Qs(TXT_USER_CAPTION));
    setFont(pictures::DialogFont());
    setObjectName(QStringLiteral("dialog140"));

    auto makeEdit = [this](int id, bool readOnly) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("edit%1").arg(id));
        e->setReadOnly(readOnly);
        if (readOnly) {
            // Read-only fields look like the system's read-only edits.
            QPalette pal = e->palette();
            pal.setColor(QPalette::Base, pal.color(QPalette::Window));
            e->setPalette(pal);
            e->setFocusPolicy(Qt::ClickFocus);
        }
        e->setMinimumWidth(280);
        return e;
    };
    group_ = makeEdit(IDC_GROUP, false);
    model_ = makeEdit(IDC_MODEL, true);
    computer_ = makeEdit(IDC_COMPUTER, true);
    resultName_ = makeEdit(IDC_RESULT_NAME, false);
    user_ = makeEdit(IDC_USER, true);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    int row = 0;
    auto addRow = [&](const QString& label, QLineEdit* edit, const QString& note = {}) {
        auto* l = new QLabel(label, this);
        l->setBuddy(edit);
        grid->addWidget(l, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(edit, row, 1);
        if (!note.isEmpty())
            grid->addWidget(new QLabel(note, this), row, 2);
        ++row;
    };
    addRow(Qs(TXT_USER_GROUP), group_);
    addRow(Qs(TXT_USER_MODEL), model_);
    addRow(Qs(TXT_USER_COMPUTER), computer_);
    addRow(Qs(TXT_USER_RESULT_NAME), resultName_, Qs(TXT_USER_NO_EXTENSION));
    addRow(Qs(TXT_USER_USER), user_);
    // Where a disk image may be audited: the disk, this PC's or the image's,
    // with the button that chooses an image.
    if (model.chooseDisk) {
        disk_ = makeEdit(0, true);
        disk_->setObjectName(QStringLiteral("editDisk"));
        diskButton_ = new QPushButton(Qs(desktop::kStartDiskButton), this);
        diskButton_->setObjectName(QStringLiteral("buttonDisk"));
        connect(diskButton_, &QPushButton::clicked, this, &CUserInfoDlg::OnChooseDisk);
        addRow(Qs(desktop::kStartDisk), disk_);
        grid->addWidget(diskButton_, row - 1, 2);
    }

    ok_ = new QPushButton(Qs(TXT_OK), this);
    ok_->setObjectName(QStringLiteral("button1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(Qs(TXT_CANCEL), this);
    cancel_->setObjectName(QStringLiteral("button2"));
    connect(ok_, &QPushButton::clicked, this, &CUserInfoDlg::OnOk);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch();

    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(14, 14, 14, 14);
    top->setSpacing(16);
    top->addLayout(grid, 1);
    top->addLayout(buttons);
    setFixedSize(sizeHint());

    group_->setText(Qs(model.group));
    ShowFacts();
    group_->setFocus();
}

void CUserInfoDlg::ShowFacts() {
    model_->setText(Qs(fields_.model));
    computer_->setText(Qs(fields_.computer));
    resultName_->setText(Qs(fields_.resultName));
    user_->setText(Qs(fields_.user));
    if (disk_)
        disk_->setText(
            Qs(fields_.disk.empty() ? std::string(desktop::kStartThisPc) : fields_.disk));
    // Long texts show from their start.
    for (QLineEdit* e : {model_, computer_, resultName_, user_, disk_})
        if (e)
            e->setCursorPosition(0);
}

void CUserInfoDlg::OnChooseDisk() {
    if (fields_.chooseDisk && fields_.chooseDisk(fields_))
        ShowFacts();
}

QString CUserInfoDlg::Qs(const std::string& cp949) const {
    return ToQt(codec_, cp949);
}

std::string CUserInfoDlg::Cp949(const QLineEdit* e) const {
    return FromQt(codec_, e->text());
}

QLineEdit* CUserInfoDlg::Field(int control) const {
    switch (control) {
    case IDC_GROUP:
        return group_;
    case IDC_COMPUTER:
        return computer_;
    case IDC_USER:
        return user_;
    case IDC_MODEL:
        return model_;
    case IDC_RESULT_NAME:
        return resultName_;
    default:
        return nullptr;
    }
}

void CUserInfoDlg::OnOk() {
    if (!Dialogs::TypedTextsFit(this, codec_,
                                {{group_, group_->text()},
                                 {resultName_, resultName_->text()},
                                 {computer_, computer_->text()},
                                 {user_, user_->text()},
                                 {model_, model_->text()}}))
        return;
    fields_.group = Cp949(group_);
    fields_.resultName = Cp949(resultName_);
    switch (fields_.Confirm()) {
    case StartFieldCheck::Ok:
        accept();
        return;
    case StartFieldCheck::GroupMissing:
        group_->setFocus();
        return;
    case StartFieldCheck::BadName:
    case StartFieldCheck::FileExists: {
        // Another text may be typed in the field at fault.
        QLineEdit* field = fields_.GroupAtFault() ? group_ : resultName_;
        field->setFocus();
        field->selectAll();
        return;
    }
    }
}

} // namespace ostravion::gui
