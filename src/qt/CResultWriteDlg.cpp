#include "qt/CResultWriteDlg.h"

#include "qt/report/QtText.h"

#include "qt/CEditListCtrl.h"
#include "qt/Dialogs.h"
#include "qt/GuiMessages.h"
#include "qt/Pictures.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ostravion::gui {

namespace {

constexpr int kNoLimit = 0;

// Bytes a remark takes in the file's form, where a line break is CR LF.
std::size_t RemarkBytes(const TextCodec& codec, const QString& text) {
    const QString crlf = QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQt(codec, crlf).size();
}

} // namespace

// ---- ByteLimitValidator -------------------------------------------------

QValidator::State ByteLimitValidator::validate(QString& input, int&) const {
    return FromQt(codec_, input).size() > limit_ ? Invalid : Acceptable;
}

// ---- CCountEdit ---------------------------------------------------------

CCountEdit::CCountEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
}

void CCountEdit::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

QString CCountEdit::Text() const {
    return lineEdit()->text();
}

void CCountEdit::SetText(const QString& text) {
    lineEdit()->setText(text);
}

int CCountEdit::Value() const {
    bool ok = false;
    const long long v = lineEdit()->text().toLongLong(&ok);
    if (!ok)
        return 0;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

QValidator::State CCountEdit::validate(QString& input, int&) const {
    for (const QChar c : input)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

void CCountEdit::stepBy(int steps) {
    const long long v =
        std::clamp<long long>(static_cast<long long>(Value()) + steps, minimum_, maximum_);
    lineEdit()->setText(QString::number(v));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled CCountEdit::stepEnabled() const {
    StepEnabled e = StepNone;
    if (Value() < maximum_)
        e |= StepUpEnabled;
    if (Value() > minimum_ || lineEdit()->text().isEmpty())
        e |= StepDownEnabled;
    return e;
}

// ---- CAddProgramDlg -----------------------------------------------------

CAddProgramDlg::CAddProgramDlg(const TextCodec& codec, QWidget* parent)
    : QDialog(parent), codec_(codec) {
    setObjectName(QStringLiteral("dialog135"));
    setWindowTitle(ToQt(codec_, TXT_ADD_CAPTION));
    setFont(pictures::DialogFont());

    const auto edit = [this](int id) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("edit%1").arg(id));
        e->setMinimumWidth(220);
        return e;
    };
    program_ = edit(IDC_PROGRAM);
    installed_ = new CCountEdit(this);
    installed_->setObjectName(QStringLiteral("spin%1").arg(IDC_INSTALLED_SPIN));
    installed_->Edit()->setObjectName(QStringLiteral("edit%1").arg(IDC_INSTALLED));
    installed_->SetRange(resultwriting::kPcCountMin, resultwriting::kPcCountMax);
    company_ = edit(IDC_COMPANY);
    version_ = edit(IDC_VERSION);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    const std::pair<QString, QWidget*> rows[] = {
        {ToQt(codec_, TXT_ADD_PROGRAM), program_},
        {ToQt(codec_, TXT_ADD_INSTALLED), installed_},
        {ToQt(codec_, TXT_ADD_COMPANY), company_},
        {ToQt(codec_, TXT_ADD_VERSION), version_},
    };
    int row = 0;
    for (const auto& [label, field] : rows) {
        auto* l = new QLabel(label, this);
        l->setBuddy(field);
        grid->addWidget(l, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(field, row, 1, field == installed_ ? Qt::AlignLeft : Qt::Alignment());
        ++row;
    }
    installed_->setFixedWidth(90);

    auto* ok = new QPushButton(ToQt(codec_, TXT_OK), this);
    ok->setObjectName(QStringLiteral("button1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(ToQt(codec_, TXT_CANCEL), this);
    cancel->setObjectName(QStringLiteral("button2"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(14, 14, 14, 14);
    top->setSpacing(16);
    top->addLayout(grid, 1);
    top->addLayout(buttons);
    setFixedSize(sizeHint());
}

NewProgram CAddProgramDlg::Program() const {
    const auto cp = [this](const QString& s) { return FromQt(codec_, s); };
    return {cp(program_->text()), cp(installed_->Text()), cp(company_->text()),
            cp(version_->text())};
}

QLineEdit* CAddProgramDlg::Field(int control) const {
    switch (control) {
    case IDC_PROGRAM:
        return program_;
    case IDC_INSTALLED:
        return installed_->Edit();
    case IDC_COMPANY:
        return company_;
    case IDC_VERSION:
        return version_;
    default:
        return nullptr;
    }
}

// ---- CResultWriteDlg ----------------------------------------------------

CResultWriteDlg::CResultWriteDlg(CResultWriting& model, const TextCodec& codec, QWidget* parent)
    : QDialog(parent), codec_(codec), model_(model) {
    setObjectName(QStringLiteral("dialog142"));
    setWindowTitle(Qs(TXT_RESULT_CAPTION));
    setFont(pictures::DialogFont());

    const auto edit = [this](int id, ResultField field) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("edit%1").arg(id));
        const std::size_t limit = CResultWriting::FieldLimit(field);
        if (limit != kNoLimit)
            e->setValidator(new ByteLimitValidator(codec_, limit, e));
        return e;
    };
    checkDepartment_ = edit(IDC_CHECK_DEPARTMENT, ResultField::CheckDepartment);
    checker_ = edit(IDC_CHECKER, ResultField::Checker);
    confirmDepartment_ = edit(IDC_CONFIRM_DEPARTMENT, ResultField::ConfirmDepartment);
    confirmer_ = edit(IDC_CONFIRMER, ResultField::Confirmer);
    pcCount_ = new CCountEdit(this);
    pcCount_->setObjectName(QStringLiteral("spin%1").arg(IDC_PC_SPIN));
    pcCount_->Edit()->setObjectName(QStringLiteral("edit%1").arg(IDC_PC_COUNT));
    pcCount_->SetRange(resultwriting::kPcCountMin, resultwriting::kPcCountMax);
    pcCount_->setFixedWidth(90);
    remark_ = new QPlainTextEdit(this);
    remark_->setObjectName(QStringLiteral("edit%1").arg(IDC_REMARK));
    remark_->setTabChangesFocus(true);
    remark_->setFixedHeight(remark_->fontMetrics().lineSpacing() * 3 + 12);
    connect(remark_, &QPlainTextEdit::textChanged, this, &CResultWriteDlg::LimitRemark);

    list_ = new CEditListCtrl(this);
    list_->setObjectName(QStringLiteral("list%1").arg(IDC_LIST));
    list_->setColumnCount(kResultColumnCount);
    int listWidth = 0;
    for (int c = 0; c < kResultColumnCount; ++c) {
        const ListColumn& col = CResultWriting::Columns()[static_cast<std::size_t>(c)];
        auto* head = new QTableWidgetItem(Qs(col.caption));
        head->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        list_->setHorizontalHeaderItem(c, head);
        list_->setColumnWidth(c, col.width);
        listWidth += col.width;
    }
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->setMinimumSize(std::min(listWidth + 4, 880), 260);
    connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { model_.ColumnClicked(column); });
    connect(list_, &CEditListCtrl::endLabelEdit, this,
            [this](int row, int column, bool cancelled, const QString& text) {
                if (cancelled)
                    model_.EndEdit(row, column, std::nullopt);
                else
                    model_.EndEdit(row, column, Cp(text));
            });
    connect(list_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (showing_ || item->column() != kResultNumber)
            return;
        const bool checked = item->checkState() == Qt::Checked;
        if (model_.GetCheck(item->row()) != checked)
            model_.SetCheck(item->row(), checked);
    });

    const auto button = [this](int id, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QStringLiteral("button%1").arg(id));
        return b;
    };
    add_ = button(IDC_ADD, Qs(TXT_RESULT_ADD));
    delete_ = button(IDC_DELETE, Qs(TXT_RESULT_DELETE));
    save_ = button(1, Qs(TXT_RESULT_SAVE));
    save_->setDefault(true);
    cancel_ = button(2, Qs(TXT_CANCEL_KO));
    connect(add_, &QPushButton::clicked, this, &CResultWriteDlg::OnAdd);
    connect(delete_, &QPushButton::clicked, this, &CResultWriteDlg::OnDelete);
    connect(save_, &QPushButton::clicked, this, &CResultWriteDlg::OnSave);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (MayClose())
            reject();
    });

    // Fields: two pairs per row, then the PC count and the remark.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    grid->addWidget(label(Qs(TXT_RESULT_CHECK_DEPARTMENT), checkDepartment_), 0, 0, right);
    grid->addWidget(checkDepartment_, 0, 1);
    grid->addWidget(label(Qs(TXT_RESULT_CHECKER), checker_), 0, 2, right);
    grid->addWidget(checker_, 0, 3);
    grid->addWidget(label(Qs(TXT_RESULT_CONFIRM_DEPARTMENT), confirmDepartment_), 1, 0, right);
    grid->addWidget(confirmDepartment_, 1, 1);
    grid->addWidget(label(Qs(TXT_RESULT_CONFIRMER), confirmer_), 1, 2, right);
    grid->addWidget(confirmer_, 1, 3);
    grid->addWidget(label(Qs(TXT_RESULT_PC_COUNT), pcCount_), 2, 0, right);
    grid->addWidget(pcCount_, 2, 1, Qt::AlignLeft);
    grid->addWidget(label(Qs(TXT_RESULT_REMARK), remark_), 3, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(remark_, 3, 1, 1, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {add_, delete_, save_, cancel_})
        buttons->addWidget(b);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(14, 14, 14, 14);
    top->setSpacing(10);
    top->addLayout(grid);
    top->addWidget(list_, 1);
    top->addLayout(buttons);

    model_.AddObserver(this);
    ModelReset(model_);
    opened_ = std::make_unique<ResultWorkSnapshot>(model_);
}

TypedFields CResultWriteDlg::Typed() const {
    return {Cp(checkDepartment_->text()), Cp(checker_->text()), Cp(confirmDepartment_->text()),
            Cp(confirmer_->text()),       Cp(pcCount_->Text()), Cp(remark_->toPlainText())};
}

bool CResultWriteDlg::MayClose() {
    GuiMessages ask(codec_);
    ask.SetParent(this);
    return opened_->MayClose(model_, Typed(), ask);
}

void CResultWriteDlg::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        if (MayClose())
            reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

void CResultWriteDlg::closeEvent(QCloseEvent* e) {
    if (e->spontaneous() && !MayClose()) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

CResultWriteDlg::~CResultWriteDlg() {
    model_.RemoveObserver(this);
}

QString CResultWriteDlg::Qs(const std::string& cp949) const {
    return ToQt(codec_, cp949);
}

std::string CResultWriteDlg::Cp(const QString& s) const {
    return FromQt(codec_, s);
}

QLineEdit* CResultWriteDlg::Field(int control) const {
    switch (control) {
    case IDC_CHECK_DEPARTMENT:
        return checkDepartment_;
    case IDC_CHECKER:
        return checker_;
    case IDC_CONFIRM_DEPARTMENT:
        return confirmDepartment_;
    case IDC_CONFIRMER:
        return confirmer_;
    case IDC_PC_COUNT:
        return pcCount_->Edit();
    default:
        return nullptr;
    }
}

void CResultWriteDlg::LimitRemark() {
    const QString text = remark_->toPlainText();
    if (RemarkBytes(codec_, text) <= CResultWriting::FieldLimit(ResultField::Remark)) {
        remarkText_ = text;
        return;
    }
    // Too long: the text as it was, the cursor where the typing began.
    const int typed = static_cast<int>(text.size() - remarkText_.size());
    const int at = std::clamp(remark_->textCursor().position() - typed, 0,
                              static_cast<int>(remarkText_.size()));
    const QSignalBlocker block(remark_);
    remark_->setPlainText(remarkText_);
    QTextCursor cursor = remark_->textCursor();
    cursor.setPosition(at);
    remark_->setTextCursor(cursor);
}

// ---- the model's changes on the screen --------------------------------------

void CResultWriteDlg::ShowRow(int row) {
    showing_ = true;
    for (int c = 0; c < kResultColumnCount; ++c) {
        QTableWidgetItem* item = list_->item(row, c);
        if (!item) {
            item = new QTableWidgetItem;
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (c == kResultNumber)
                flags |= Qt::ItemIsUserCheckable;
            item->setFlags(flags);
            list_->setItem(row, c, item);
        }
        item->setText(Qs(model_.ItemText(row, c)));
        if (c == kResultNumber)
            item->setCheckState(model_.GetCheck(row) ? Qt::Checked : Qt::Unchecked);
    }
    showing_ = false;
}

void CResultWriteDlg::ShowAllRows() {
    showing_ = true;
    list_->setRowCount(model_.RowCount());
    showing_ = false;
    for (int r = 0; r < model_.RowCount(); ++r)
        ShowRow(r);
}

void CResultWriteDlg::ModelReset(const CResultWriting& m) {
    checkDepartment_->setText(Qs(m.Field(ResultField::CheckDepartment)));
    checker_->setText(Qs(m.Field(ResultField::Checker)));
    confirmDepartment_->setText(Qs(m.Field(ResultField::ConfirmDepartment)));
    confirmer_->setText(Qs(m.Field(ResultField::Confirmer)));
    pcCount_->SetText(Qs(m.Field(ResultField::PcCount)));
    QString remark = Qs(m.Field(ResultField::Remark));
    remark.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    remarkText_ = remark;
    remark_->setPlainText(remark);
    ShowAllRows();
}

void CResultWriteDlg::RowAdded(const CResultWriting&, int row) {
    showing_ = true;
    list_->insertRow(row);
    showing_ = false;
    ShowRow(row);
}

void CResultWriteDlg::RowRemoved(const CResultWriting&, int row) {
    showing_ = true;
    list_->removeRow(row);
    showing_ = false;
}

void CResultWriteDlg::RowsMoved(const CResultWriting&) {
    ShowAllRows();
}

void CResultWriteDlg::RowChanged(const CResultWriting&, int row) {
    ShowRow(row);
}

void CResultWriteDlg::CheckChanged(const CResultWriting& m, int row) {
    if (QTableWidgetItem* item = list_->item(row, kResultNumber)) {
        const Qt::CheckState state = m.GetCheck(row) ? Qt::Checked : Qt::Unchecked;
        if (item->checkState() != state) {
            showing_ = true;
            item->setCheckState(state);
            showing_ = false;
        }
    }
}

// ---- buttons --------------------------------------------------------------

void CResultWriteDlg::OnAdd() {
    // The dialog comes back after every entry, refused or taken, with what
    // was typed last, until it is cancelled.
    CAddProgramDlg dlg(codec_, this);
    while (Dialogs::Exec(dlg) == QDialog::Accepted) {
        const auto field = [&dlg](int id) {
            QLineEdit* e = dlg.Field(id);
            return std::pair<QWidget*, QString>(e, e->text());
        };
        if (Dialogs::TypedTextsFit(&dlg, codec_,
                                   {field(CAddProgramDlg::IDC_PROGRAM),
                                    field(CAddProgramDlg::IDC_COMPANY),
                                    field(CAddProgramDlg::IDC_VERSION)}))
            model_.AddProgram(dlg.Program());
    }
}

void CResultWriteDlg::OnDelete() {
    model_.DeleteCheckedRows();
}

void CResultWriteDlg::OnSave() {
    if (!Dialogs::TypedTextsFit(this, codec_,
                                {{checkDepartment_, checkDepartment_->text()},
                                 {checker_, checker_->text()},
                                 {confirmDepartment_, confirmDepartment_->text()},
                                 {confirmer_, confirmer_->text()},
                                 {remark_, remark_->toPlainText()}}))
        return;
    model_.SetField(ResultField::CheckDepartment, Cp(checkDepartment_->text()));
    model_.SetField(ResultField::Checker, Cp(checker_->text()));
    model_.SetField(ResultField::ConfirmDepartment, Cp(confirmDepartment_->text()));
    model_.SetField(ResultField::Confirmer, Cp(confirmer_->text()));
    model_.SetField(ResultField::PcCount, Cp(pcCount_->Text()));
    model_.SetField(ResultField::Remark, Cp(remark_->toPlainText()));
    if (model_.Save())
        accept();
}

} // namespace ostravion::gui
