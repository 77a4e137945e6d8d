#include "app/CUserInfoDlg.h"

#include "app/Dialogs.h"
#include "app/Pictures.h"
#include "doc/Inspection.h"
#include "util/AuditUtil.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ostravion::gui {

CUserInfoDlg::CUserInfoDlg(FileSystem& files, const TextCodec& codec, QWidget* parent)
    : QDialog(parent), files_(files), codec_(codec) {
    setWindowTitle(QStringLiteral("사용자 정보를 입력하세요."));
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
    addRow(QStringLiteral("회사(그룹)명:"), group_);
    addRow(QStringLiteral("PC 기종:"), model_);
    addRow(QStringLiteral("컴퓨터명:"), computer_);
    addRow(QStringLiteral("결과파일명:"), resultName_, QStringLiteral("(확장자 생략)"));
    addRow(QStringLiteral("사  용  자:"), user_);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("button1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
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
}

void CUserInfoDlg::SetDefaults(const std::string& model, const std::string& computer,
                               const std::string& resultName, const std::string& user) {
    group_->clear();
    model_->setText(Qs(model));
    computer_->setText(Qs(computer));
    resultName_->setText(Qs(resultName));
    user_->setText(Qs(user));
    // Long texts show from their start.
    for (QLineEdit* e : {model_, computer_, resultName_, user_})
        e->setCursorPosition(0);
    group_->setFocus();
}

QString CUserInfoDlg::Qs(const std::string& cp949) const {
    return QString::fromStdString(codec_.ToUtf8(cp949));
}

std::string CUserInfoDlg::Cp949(const QLineEdit* e) const {
    return codec_.FromUtf8(e->text().toStdString());
}

std::string CUserInfoDlg::Group() const {
    return Cp949(group_);
}
std::string CUserInfoDlg::Model() const {
    return Cp949(model_);
}
std::string CUserInfoDlg::Computer() const {
    return Cp949(computer_);
}
std::string CUserInfoDlg::ResultName() const {
    return Cp949(resultName_);
}
std::string CUserInfoDlg::User() const {
    return Cp949(user_);
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

std::string CUserInfoDlg::ResultPath(const std::string& group, const std::string& resultName) {
    return ScanResultPathFor(group, resultName);
}

void CUserInfoDlg::OnOk() {
    const std::string group = Group();
    if (group.empty()) {
        Dialogs::Show(this, QStringLiteral("회사(그룹)명은 필수항목 입니다."));
        group_->setFocus();
        return;
    }
    // The two names make the result file's name in the work folder: one that
    // would lead elsewhere is refused, and another may be typed.
    if (!IsPlainFileName(ScanBaseName(group, ResultName()))) {
        Dialogs::Show(this, QString::fromLatin1(msg::kBadPathOrParam));
        resultName_->setFocus();
        resultName_->selectAll();
        return;
    }
    if (files_.Exists(ResultPath(group, ResultName())) &&
        !Dialogs::Ask(this, QStringLiteral("같은 이름의 파일이 있습니다.\n 덮어쓰시겠습니까..?"))) {
        resultName_->setFocus();
        resultName_->selectAll();
        return;
    }
    accept();
}

} // namespace ostravion::gui
