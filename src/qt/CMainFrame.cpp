#include "qt/CMainFrame.h"

#include "qt/report/QtText.h"

#include "desktop/DesktopTexts.h"
#include "desktop/Menus.h"
#include "desktop/ScreenRules.h"
#include "doc/FileSelection.h"
#include "doc/ResultWriting.h"
#include "platform/Native.h"
#include "qt/CCommandBar.h"
#include "qt/CPrintSelectDlg.h"
#include "qt/CProgressBar.h"
#include "qt/CResultWriteDlg.h"
#include "qt/CSelectFilesDlg.h"
#include "qt/CSplashWnd.h"
#include "qt/CUserInfoDlg.h"
#include "qt/Dialogs.h"
#include "qt/Pictures.h"
#include "qt/ReportPrinting.h"
#include "util/Messages.h"
#include "views/PrintSelection.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

namespace ostravion::gui {

CMainFrame::CMainFrame(Services services, QWidget* parent) : QMainWindow(parent), s_(services) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(pictures::AppIcon());
    // The framework's own title until the flows set the first one.
    setWindowTitle(QString::fromLatin1(desktop::kInitialTitle));
    resize(1000, 700);
}

CMainFrame::~CMainFrame() {
    // The views go with the window: no focus change may reach them then.
    disconnect(focusWatch_);
}

QPrinter& CMainFrame::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageSize(QPageSize(QPageSize::A4));
        printer_->setPageOrientation(QPageLayout::Portrait);
    }
    return *printer_;
}

QString CMainFrame::Qs(const std::string& cp949) const {
    return ToQt(s_.codec, cp949);
}

bool CMainFrame::Create(DesktopDocument& doc, QWidget* upperView, QWidget* lowerView) {
    flows_ = std::make_unique<DesktopFlows>(s_.util, doc, *this,
                                            DesktopFlows::Machine{s_.system, s_.clock, s_.codec});
    // The guide is looked for from the folder of this program's file.
    flows_->SetProgramFolder(
        s_.codec.FromUtf8(
            QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString()),
        QDir::separator().toLatin1());
    if (!upperView || !lowerView)
        return false;

    BuildMenu();

    // The command bar in one band of the rebar, with a gripper.
    bar_ = new CCommandBar(this);
    connect(bar_, &CCommandBar::command, this, &CMainFrame::OnCommand);
    rebar_ = new QToolBar(QStringLiteral("rebar"), this);
    rebar_->setObjectName(QStringLiteral("rebar"));
    rebar_->setMovable(true);
    rebar_->setFloatable(false);
    rebar_->setAllowedAreas(Qt::TopToolBarArea);
    rebar_->setContextMenuPolicy(Qt::PreventContextMenu);
    rebar_->toggleViewAction()->setEnabled(false);
    bar_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    rebar_->addWidget(bar_);
    addToolBar(Qt::TopToolBarArea, rebar_);

    // The status bar.
    BuildStatusBar();

    // The client area: COstravionView above, CExtendView below.
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setChildrenCollapsible(true);
    views_[0] = upperView;
    views_[1] = lowerView;
    for (QWidget* v : views_) {
        splitter_->addWidget(v);
        v->setMinimumHeight(0);
    }
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->installEventFilter(this);
    // The active view: the one that last had the focus.
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (int i = 0; i < 2; ++i)
            if (now && views_[i] && (now == views_[i] || views_[i]->isAncestorOf(now)))
                activeView_ = i;
    });
    connect(splitter_, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = splitter_->sizes();
        rowIdeal_[0] = sizes.value(0);
        rowIdeal_[1] = sizes.value(1);
    });
    setCentralWidget(splitter_);
    rowIdeal_[0] = frameGeometry().height();
    rowIdeal_[1] = 0;
    ApplyRowHeights();

    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(next, &QShortcut::activated, this, [this] { NextPane(1); });
    auto* prev = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
    connect(prev, &QShortcut::activated, this, [this] { NextPane(-1); });

    // "일반" checked; the splash window over the window being made.
    bar_->Radio(IDC_NORMAL)->setChecked(true);
    if (!flows_->WindowCreated())
        return false;
    CSplashWnd::ShowSplashScreen(this);
    setAcceptDrops(true);
    return true;
}

void CMainFrame::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menu128"));
    for (const MenuSpec& spec : MainMenu()) {
        QMenu* menu = bar->addMenu(Qs(spec.caption));
        connect(menu, &QMenu::aboutToHide, this, &CMainFrame::ShowIdleMessage);
        for (const MenuItemSpec& item : spec.items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            auto* a = menu->addAction(Qs(item.caption));
            a->setObjectName(QStringLiteral("menu%1").arg(item.id));
            a->setProperty("id", item.id);
            // The prompt is the part before "\n"; the rest would be a tool tip.
            a->setProperty("prompt", Qs(item.prompt ? item.prompt : "").section('\n', 0, 0));
            if (item.key)
                a->setShortcut(QKeySequence(QString::fromLatin1(item.key)));
            a->setShortcutContext(Qt::WindowShortcut);
            // The 검사 slot carries 32771 or 32772: the handler asks which.
            connect(a, &QAction::triggered, this, [this, a] {
                OnCommand(a == scanAction_ ? scanItemId_ : a->property("id").toInt());
            });
            connect(a, &QAction::hovered, this,
                    [this, a] { messagePane_->setText(a->property("prompt").toString()); });
            actions_[item.id] = a;
            if (item.id == ID_SCAN_START)
                scanAction_ = a;
            // 보기's two items are one choice, checked as the radios are.
            if (item.id == IDC_NORMAL || item.id == IDC_EXTENDED) {
                if (!layoutGroup_)
                    layoutGroup_ = new QActionGroup(this);
                a->setCheckable(true);
                a->setChecked(item.id == IDC_NORMAL);
                layoutGroup_->addAction(a);
            }
        }
    }
}

void CMainFrame::BuildStatusBar() {
    QStatusBar* status = statusBar();
    status->setObjectName(QStringLiteral("statusBar"));
    messagePane_ = new QLabel(kIdleMessage, status);
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    messagePane_->setMinimumWidth(1);
    status->addWidget(messagePane_, 1);
    const QString texts[3] = {QStringLiteral("CAP"), QStringLiteral("NUM"), QStringLiteral("SCRL")};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(texts[i], status);
        l->setObjectName(QStringLiteral("indicator") + texts[i]);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(texts[i]) + 12);
        status->addPermanentWidget(l);
        indicators_[i] = l;
    }
    UpdateIndicators();
    auto* timer = new QTimer(this);
    timer->setInterval(500);
    connect(timer, &QTimer::timeout, this, &CMainFrame::UpdateIndicators);
    timer->start();
}

void CMainFrame::UpdateIndicators() {
    // A lock that is off shows its name greyed.
    const LockKey keys[3] = {LockKey::Caps, LockKey::Num, LockKey::Scroll};
    for (int i = 0; i < 3; ++i)
        if (indicators_[i])
            indicators_[i]->setEnabled(LockKeyOn(keys[i]));
}

CProgressBar* CMainFrame::Progress() const {
    return statusBar()->findChild<CProgressBar*>(QString(), Qt::FindDirectChildrenOnly);
}

void CMainFrame::ShowIdleMessage() {
    if (CProgressBar* bar = Progress(); bar && bar->isVisible())
        messagePane_->setText(bar->Message());
    else
        messagePane_->setText(kIdleMessage);
}

bool CMainFrame::event(QEvent* event) {
    // The message pane shows the menu prompts itself.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

QAction* CMainFrame::Action(int id) const {
    if (id == ID_SCAN_STOP)
        id = ID_SCAN_START;
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

CBitmapButton* CMainFrame::Button(int id) const {
    return bar_ ? bar_->Button(id) : nullptr;
}

void CMainFrame::ApplyCommandStates(const CommandStates& states) {
    for (const auto& [id, enabled] : states.Menu())
        if (QAction* a = Action(id))
            a->setEnabled(enabled);
    scanItemId_ = states.ScanItemId();
    const bool scanning = scanItemId_ == ID_SCAN_STOP;
    scanAction_->setText(Qs(scanning ? kScanStopCaption : MainMenu()[1].items.front().caption));
    scanAction_->setProperty("id", scanItemId_);
    scanAction_->setObjectName(QStringLiteral("menu%1").arg(scanItemId_));
    for (const auto& [id, enabled] : states.Buttons())
        if (CBitmapButton* b = Button(id))
            b->setEnabled(enabled);
}

void CMainFrame::SetTitle(const std::string& title) {
    setWindowTitle(Qs(title));
}

// ---- layouts ----------------------------------------------------------

void CMainFrame::ApplyRowHeights() {
    if (!splitter_)
        return;
    // Row 0 gets its ideal height as far as it fits, row 1 the rest; a row
    // left with less than its minimum is hidden, unless "확장" is chosen.
    const QRadioButton* extended = bar_ ? bar_->Radio(IDC_EXTENDED) : nullptr;
    const bool keepLower = extended && extended->isChecked() && rowIdeal_[1] >= kRowMinimum;
    // A shown lower list keeps a few rows above its scroll bar, however low
    // the window: never a strip of scroll bars.
    const int lowest = std::max(kRowMinimum, FewRowsHigh(views_[1]));
    const desktop::RowHeights rows = desktop::SplitRows(
        splitter_->height(), splitter_->handleWidth(), rowIdeal_[0], keepLower, lowest);
    splitter_->blockSignals(true);
    // A shown lower row may be as low as its minimum rather than the list's
    // own size hint; a hidden one collapses.
    views_[1]->setMinimumHeight(rows.lower > 0 ? std::min(lowest, rows.lower) : 0);
    splitter_->setSizes({rows.upper, rows.lower});
    splitter_->blockSignals(false);
}

int CMainFrame::FewRowsHigh(const QWidget* view) {
    const auto* table = qobject_cast<const QTableView*>(view);
    if (!table)
        return 0;
    return table->horizontalHeader()->sizeHint().height() +
           kFewRows * table->verticalHeader()->defaultSectionSize() +
           table->horizontalScrollBar()->sizeHint().height() + 2 * table->frameWidth();
}

void CMainFrame::ShowNormalLayout() {
    const int h = frameGeometry().height();
    rowIdeal_[0] = h;
    rowIdeal_[1] = 0;
    ApplyRowHeights();
}

void CMainFrame::ShowExtendedLayout() {
    const int h = frameGeometry().height();
    rowIdeal_[0] = h / 2;
    rowIdeal_[1] = h / 2;
    ApplyRowHeights();
}

void CMainFrame::ShowLayout(bool extended) {
    bar_->Radio(IDC_EXTENDED)->setChecked(extended);
    bar_->Radio(IDC_NORMAL)->setChecked(!extended);
    if (QAction* a = Action(extended ? IDC_EXTENDED : IDC_NORMAL))
        a->setChecked(true);
    if (extended)
        ShowExtendedLayout();
    else
        ShowNormalLayout();
}

void CMainFrame::NextPane(int delta) {
    int current = -1;
    for (int i = 0; i < 2; ++i)
        if (views_[i] && (views_[i]->hasFocus() || views_[i]->isAncestorOf(focusWidget())))
            current = i;
    const int target = current < 0 ? 0 : (current + delta + 2) % 2;
    if (views_[target] && views_[target]->height() > 0)
        views_[target]->setFocus(Qt::ShortcutFocusReason);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == splitter_ && event->type() == QEvent::Resize)
        ApplyRowHeights();
    return QMainWindow::eventFilter(watched, event);
}

// ---- DesktopUi --------------------------------------------------------

void CMainFrame::Show(const std::string& text) {
    Dialogs::Show(this, Qs(msg::WithKoreanLine(text)));
}

void CMainFrame::Inform(const std::string& text) {
    Dialogs::Inform(this, Qs(text));
}

bool CMainFrame::Ask(const std::string& question) {
    return Dialogs::Ask(this, Qs(question));
}

std::optional<std::string> CMainFrame::ChooseOpenFile(const FileDialogRequest& request) {
    return Dialogs::OpenFile(this, request, s_.codec);
}

std::optional<std::string> CMainFrame::ChooseSaveFile(const FileDialogRequest& request) {
    return Dialogs::SaveFile(this, request, s_.codec);
}

bool CMainFrame::RunStartDialog(StartDialogModel& model) {
    CUserInfoDlg dlg(model, s_.codec, this);
    return Dialogs::Exec(dlg) == QDialog::Accepted;
}

bool CMainFrame::RunFileSelectionDialog(SelectFilesModel& model) {
    CSelectFilesDlg dlg(model, s_.codec, this);
    return Dialogs::Exec(dlg) == QDialog::Accepted;
}

bool CMainFrame::RunResultWritingDialog(CResultWriting& model) {
    CResultWriteDlg dlg(model, s_.codec, this);
    return Dialogs::Exec(dlg) == QDialog::Accepted;
}

bool CMainFrame::RunPrintSelectionDialog(CPrintSelection& model) {
    CPrintSelectDlg dlg(model, s_.codec, this);
    return Dialogs::Exec(dlg) == QDialog::Accepted;
}

bool CMainFrame::FindPrinter() {
    return Dialogs::FindPrinter(Printer());
}

void CMainFrame::PrintReport(const ReportLayout& layout, bool preview) {
    if (preview)
        PreviewReport(layout, Printer(), s_.codec, this);
    else
        gui::PrintReport(layout, Printer(), s_.codec, this);
}

std::optional<std::string> CMainFrame::PrintFile() const {
    QPrinter& printer = const_cast<CMainFrame*>(this)->Printer();
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return std::nullopt;
    return s_.codec.FromUtf8(printer.outputFileName().toStdString());
}

void CMainFrame::PrintSetup() {
    RunPrintSetup(Printer(), this);
}

void CMainFrame::CloseWindow() {
    close();
}

bool CMainFrame::ExploreFolder(const std::string& path) {
    return Dialogs::Shell(QStringLiteral("explore"), Qs(path));
}

bool CMainFrame::OpenDocument(const std::string& path) {
    return Dialogs::Shell(QStringLiteral("open"), Qs(path));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The close box and Alt+F4 run the Exit flow; a save the user asked for
    // that failed keeps the window open.
    if (flows_ && !flows_->CloseRequested()) {
        event->ignore();
        return;
    }
    CSplashWnd::HideSplashScreen();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    activateWindow();
    OpenDropped(event->mimeData()->urls());
}

void CMainFrame::OpenDropped(const QList<QUrl>& urls) {
    if (!urls.isEmpty() && urls.first().isLocalFile())
        flows_->OpenGivenFile(
            FromQt(s_.codec, QDir::toNativeSeparators(urls.first().toLocalFile())));
}

} // namespace ostravion::gui
