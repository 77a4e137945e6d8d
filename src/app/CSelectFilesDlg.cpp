#include "app/CSelectFilesDlg.h"

#include "app/Dialogs.h"
#include "app/Pictures.h"
#include "doc/Consolidation.h"
#include "doc/FileSelection.h"
#include "util/Text.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ostravion::gui {

namespace {
constexpr int kNameRole = Qt::UserRole + 1; // the CP949 name of the file
}

CSelectFilesDlg::CSelectFilesDlg(CAuditUtil& util, const TextCodec& codec, const Clock& clock,
                                 QWidget* parent)
    : QDialog(parent), util_(util), codec_(codec) {
    setWindowTitle(QStringLiteral("취합할 파일을 선택하세요."));
    setFont(pictures::DialogFont());
    setObjectName(QStringLiteral("dialog141"));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("fileList"));
    list_->setColumnCount(1);
    list_->setHeaderLabels({QStringLiteral("파일명")});
    list_->setColumnWidth(0, 150);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformRowHeights(true);
    list_->setMinimumSize(240, 220);
    list_->viewport()->installEventFilter(this);
    list_->installEventFilter(this);

    selectAll_ = new QCheckBox(QStringLiteral("전체선택"), this);
    selectAll_->setObjectName(QStringLiteral("selectAll"));
    connect(selectAll_, &QCheckBox::toggled, this, &CSelectFilesDlg::OnSelectAll);

    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("resultName"));
    name_->setText(QString::fromStdString(codec_.ToUtf8(DefaultResultName(clock.Now()))));

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("button1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("button2"));
    connect(ok_, &QPushButton::clicked, this, &CSelectFilesDlg::OnOk);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("결과파일명"), this));
    nameRow->addWidget(name_, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(list_, 1);
    left->addWidget(selectAll_);
    left->addLayout(nameRow);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch();

    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(14, 14, 14, 14);
    top->setSpacing(14);
    top->addLayout(left, 1);
    top->addLayout(buttons);

    FillList();
}

void CSelectFilesDlg::FillList() {
    list_->clear();
    for (const std::string& name : ListPerPcFiles(util_.Files(), codec_)) {
        auto* item = new QTreeWidgetItem(list_, {QString::fromStdString(codec_.ToUtf8(name))});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(0, Qt::Unchecked);
        item->setData(0, kNameRole, QByteArray::fromStdString(name));
    }
}

std::string CSelectFilesDlg::ResultName() const {
    return codec_.FromUtf8(name_->text().toStdString());
}

std::vector<std::string> CSelectFilesDlg::MarkedFiles() const {
    std::vector<std::string> out;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked)
            out.push_back(item->data(0, kNameRole).toByteArray().toStdString());
    }
    return out;
}

void CSelectFilesDlg::SetChecked(int row, bool on) {
    if (QTreeWidgetItem* item = list_->topLevelItem(row))
        item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

void CSelectFilesDlg::Toggle(QTreeWidgetItem* item) {
    if (item)
        item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void CSelectFilesDlg::OnSelectAll(bool on) {
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        SetChecked(i, on);
}

bool CSelectFilesDlg::eventFilter(QObject* watched, QEvent* event) {
    // A click anywhere on a row toggles its mark; so does the space bar.
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton) {
            QTreeWidgetItem* item = list_->itemAt(me->position().toPoint());
            if (item) {
                list_->setCurrentItem(item);
                Toggle(item);
            }
            return true;
        }
    }
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick)
        return true;
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        Toggle(list_->currentItem());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CSelectFilesDlg::OnOk() {
    std::vector<std::string> names;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        names.push_back(list_->topLevelItem(i)->data(0, kNameRole).toByteArray().toStdString());
    FileSelection selection(names);
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->checkState(0) == Qt::Checked)
            selection.Toggle(static_cast<std::size_t>(i));
    // Nothing marked: "선택된 파일이 없습니다." and the dialog ends as if cancelled.
    if (!selection.Accept(util_)) {
        reject();
        return;
    }
    // The total's name: an unusable one is refused with its message, and
    // merging into an existing total needs a Yes; either way the user may
    // type another name.
    if (AcceptResultName(util_, ResultName()) != NameCheck::Accepted) {
        name_->setFocus();
        name_->selectAll();
        return;
    }
    accept();
}

} // namespace ostravion::gui
