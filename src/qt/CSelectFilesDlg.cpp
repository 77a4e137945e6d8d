#include "qt/CSelectFilesDlg.h"

#include "qt/report/QtText.h"

#include "desktop/ResourceTable.h"
#include "doc/Consolidation.h"
#include "doc/FileSelection.h"
#include "qt/Dialogs.h"
#include "qt/Pictures.h"
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

CSelectFilesDlg::CSelectFilesDlg(SelectFilesModel& model, const TextCodec& codec, QWidget* parent)
    : QDialog(parent), model_(model), codec_(codec) {
    setWindowTitle(ToQt(codec_, TXT_FILES_CAPTION));
    setFont(pictures::DialogFont());
    setObjectName(QStringLiteral("dialog141"));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("fileList"));
    list_->setColumnCount(1);
    list_->setHeaderLabels({ToQt(codec_, TXT_FILES_COLUMN)});
    list_->setColumnWidth(0, 150);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformRowHeights(true);
    list_->setMinimumSize(240, 220);
    list_->viewport()->installEventFilter(this);
    list_->installEventFilter(this);

    selectAll_ = new QCheckBox(ToQt(codec_, TXT_FILES_SELECT_ALL), this);
    selectAll_->setObjectName(QStringLiteral("selectAll"));
    connect(selectAll_, &QCheckBox::toggled, this, &CSelectFilesDlg::OnSelectAll);

    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("resultName"));
    name_->setText(ToQt(codec_, model_.resultName));

    ok_ = new QPushButton(ToQt(codec_, TXT_OK), this);
    ok_->setObjectName(QStringLiteral("button1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(ToQt(codec_, TXT_CANCEL), this);
    cancel_->setObjectName(QStringLiteral("button2"));
    connect(ok_, &QPushButton::clicked, this, &CSelectFilesDlg::OnOk);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(ToQt(codec_, TXT_FILES_RESULT_NAME), this));
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
    for (std::size_t row = 0; row < model_.files.Count(); ++row) {
        const std::string& name = model_.files.Name(row);
        auto* item = new QTreeWidgetItem(list_, {ToQt(codec_, name)});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(0, model_.files.IsChecked(row) ? Qt::Checked : Qt::Unchecked);
        item->setData(0, kNameRole, QByteArray::fromStdString(name));
    }
    // The first row is current: Space marks it at once.
    if (QTreeWidgetItem* first = list_->topLevelItem(0))
        list_->setCurrentItem(first);
}

std::string CSelectFilesDlg::ResultName() const {
    return FromQt(codec_, name_->text());
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
    model_.files.SetAll(false);
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->checkState(0) == Qt::Checked)
            model_.files.Toggle(static_cast<std::size_t>(i));
    if (!Dialogs::TypedTextsFit(this, codec_, {{name_, name_->text()}}))
        return;
    model_.resultName = ResultName();
    switch (model_.Confirm()) {
    case SelectFilesModel::Outcome::Accepted:
        accept();
        return;
    case SelectFilesModel::Outcome::Cancelled:
        reject();
        return;
    case SelectFilesModel::Outcome::StayOpen:
        name_->setFocus();
        name_->selectAll();
        return;
    }
}

} // namespace ostravion::gui
