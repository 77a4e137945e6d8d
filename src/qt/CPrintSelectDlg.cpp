#include "qt/CPrintSelectDlg.h"

#include "qt/report/QtText.h"

#include "qt/CCommandBar.h"
#include "qt/Pictures.h"
#include "views/ReportTexts.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace ostravion::gui {

namespace {

// A control of the template, placed in dialog units.
void Place(QWidget* w, int x, int y, int cx, int cy) {
    w->setGeometry(DluX(x), DluY(y), DluX(cx), DluY(cy));
}

struct RadioPlace {
    int id;
    int x, y, cx, cy;
};

// Positions in the dialog's units; the buttons sit in their boxes.
constexpr RadioPlace kRadios[] = {
    {kIdPrintByPc, 26, 23, 52, 8},    {kIdPrintBySoftware, 27, 37, 52, 8},
    {kIdPrintSheet, 27, 50, 52, 8},   {kIdPrintPledge, 26, 78, 52, 8},
    {kIdPrintLedger, 26, 91, 59, 10},
};

} // namespace

CPrintSelectDlg::CPrintSelectDlg(CPrintSelection& selection, const TextCodec& codec,
                                 QWidget* parent)
    : QDialog(parent), selection_(selection) {
    namespace rt = report_text;
    const auto qs = [&codec](const char* cp949) { return ToQt(codec, cp949); };
    setObjectName(QStringLiteral("dialog145"));
    setWindowTitle(qs(rt::kSelectCaption));
    setFont(pictures::DialogFont());
    setFixedSize(DluX(166), DluY(116));

    auto* results = new QGroupBox(qs(rt::kSelectResults), this);
    results->setObjectName(QStringLiteral("groupResults"));
    Place(results, 17, 11, 82, 54);
    auto* forms = new QGroupBox(qs(rt::kSelectForms), this);
    forms->setObjectName(QStringLiteral("groupForms"));
    Place(forms, 17, 67, 82, 40);

    // One group across both boxes: a choice in one box clears the other.
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (const PrintChoice& choice : PrintChoices()) {
        const RadioPlace* at = nullptr;
        for (const RadioPlace& r : kRadios)
            if (r.id == choice.buttonId)
                at = &r;
        const bool isResult = choice.kind == ReportKind::ByPc ||
                              choice.kind == ReportKind::BySoftware ||
                              choice.kind == ReportKind::ConfirmationSheet;
        QGroupBox* box = isResult ? results : forms;
        auto* radio = new QRadioButton(qs(choice.caption), box);
        radio->setObjectName(QStringLiteral("radio%1").arg(choice.buttonId));
        // The box's own origin is taken off the template position.
        radio->setGeometry(DluX(at->x) - box->x(), DluY(at->y) - box->y(),
                           std::max(DluX(at->cx), radio->sizeHint().width()),
                           std::max(DluY(at->cy), radio->sizeHint().height()));
        group_->addButton(radio, choice.buttonId);
        radio->installEventFilter(this);
    }
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
        selection_.Click(id);
        ok_->setEnabled(selection_.CanConfirm());
        UpdateTabStop();
    });

    ok_ = new QPushButton(qs(rt::kSelectOk), this);
    ok_->setObjectName(QStringLiteral("button1"));
    ok_->setDefault(true);
    ok_->setEnabled(false);
    Place(ok_, 107, 17, 50, 14);
    cancel_ = new QPushButton(qs(rt::kSelectCancel), this);
    cancel_->setObjectName(QStringLiteral("button2"));
    Place(cancel_, 106, 37, 50, 14);
    connect(ok_, &QPushButton::clicked, this, &CPrintSelectDlg::OnOk);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    // The reports first, then 선택 and 취소, as the keyboard goes.
    setTabOrder(Radio(PrintChoices().back().buttonId), ok_);
    setTabOrder(ok_, cancel_);
    UpdateTabStop();
    // Nothing is chosen yet and 선택 is grey: the focus waits on 취소, so that
    // the first Tab lands on the first report. Enter there does not cancel:
    // 선택 stays the default button.
    cancel_->setAutoDefault(false);
    cancel_->setFocus();
}

void CPrintSelectDlg::UpdateTabStop() {
    QAbstractButton* stop = group_->checkedButton();
    if (!stop)
        stop = Radio(PrintChoices().front().buttonId);
    for (QAbstractButton* b : group_->buttons())
        b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool CPrintSelectDlg::eventFilter(QObject* watched, QEvent* event) {
    // The arrow keys move through the reports in order, round the end, and
    // choose the one they reach, as in a radio group of Windows.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool back = key == Qt::Key_Up || key == Qt::Key_Left;
        const bool ahead = key == Qt::Key_Down || key == Qt::Key_Right;
        const auto& choices = PrintChoices();
        const int count = static_cast<int>(choices.size());
        for (int i = 0; (back || ahead) && i < count; ++i) {
            if (Radio(choices[static_cast<std::size_t>(i)].buttonId) != watched)
                continue;
            const int next = (i + (back ? count - 1 : 1)) % count;
            QRadioButton* target = Radio(choices[static_cast<std::size_t>(next)].buttonId);
            target->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            target->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QRadioButton* CPrintSelectDlg::Radio(int id) const {
    return qobject_cast<QRadioButton*>(group_->button(id));
}

void CPrintSelectDlg::OnOk() {
    // Without a choice there is nothing to print: the dialog stays.
    if (!selection_.CanConfirm())
        return;
    accept();
}

} // namespace ostravion::gui
