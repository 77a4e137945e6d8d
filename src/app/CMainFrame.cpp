#include "app/CMainFrame.h"

#include "app/CCommandBar.h"
#include "app/CPrintSelectDlg.h"
#include "app/CProgressBar.h"
#include "app/CResultWriteDlg.h"
#include "app/CSelectFilesDlg.h"
#include "app/CSplashWnd.h"
#include "app/CUserInfoDlg.h"
#include "app/Dialogs.h"
#include "app/Pictures.h"
#include "app/ReportPrinting.h"
#include "scan/Facts.h"
#include "views/PrintSelection.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace ostravion::gui {

namespace {

const QString kTitlePrefix = QStringLiteral("OstravionV3.1-");
const QString kAskSave = QStringLiteral("저장하시겠습니까?");

// The lock-key state as the keyboard's lights show it; false when unknown.
bool LockKeyOn(const QString& led) {
    const QDir leds(QStringLiteral("/sys/class/leds"));
    for (const QString& name : leds.entryList({QStringLiteral("*::") + led}, QDir::Dirs)) {
        QFile f(leds.filePath(name + QStringLiteral("/brightness")));
        if (f.open(QIODevice::ReadOnly) && f.readAll().trimmed() != "0")
            return true;
    }
    return false;
}

FileDialogSpec TotalFileDialog() {
    FileDialogSpec spec;
    spec.defaultSuffix = QStringLiteral("tls");
    spec.fileName = QStringLiteral("*.tls");
    spec.filter = QStringLiteral("Total결과파일(*.tls)");
    spec.folder = QDir::current().filePath(QStringLiteral("CheckOut"));
    return spec;
}

} // namespace

CMainFrame::CMainFrame(Services services, QWidget* parent) : QMainWindow(parent), s_(services) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(pictures::AppIcon());
    // The framework's own title until the first UpdateTitle.
    setWindowTitle(QStringLiteral("Normal.tls - OstravionV3.1"));
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
    return QString::fromStdString(s_.codec.ToUtf8(cp949));
}

std::string CMainFrame::Cp(const QString& s) const {
    return s_.codec.FromUtf8(s.toStdString());
}

bool CMainFrame::Create(AppDocument& doc, QWidget* upperView, QWidget* lowerView) {
    doc_ = &doc;
    // 1. The work folder beside the program.
    const std::string work = ".\\CheckOut";
    if (!s_.files.IsDirectory(work) && !s_.files.MakeDirectory(work)) {
        Dialogs::Show(nullptr, QStringLiteral("폴더 생성 에러"));
        return false;
    }
    if (!upperView || !lowerView)
        return false;

    BuildMenu();

    // 3-4. The command bar in one band of the rebar, with a gripper.
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

    // 5. The status bar.
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

    // 6. "일반" checked.
    bar_->Radio(IDC_NORMAL)->setChecked(true);
    // 8. The splash window over the window being made.
    CSplashWnd::ShowSplashScreen(this);
    // 9. The start-up directory, made current again after every file dialog.
    s_.util.RecordStartDirectory();
    // 10.
    states_.WindowCreated();
    ApplyStates();
    setAcceptDrops(true);
    return true;
}

QAction* CMainFrame::AddItem(QMenu* menu, int id, const QString& caption, const QString& prompt,
                             const QKeySequence& key) {
    auto* a = menu->addAction(caption);
    a->setObjectName(QStringLiteral("menu%1").arg(id));
    a->setProperty("id", id);
    // The prompt is the part before "\n"; the rest would be a tool tip.
    a->setProperty("prompt", prompt.section(QLatin1Char('\n'), 0, 0));
    if (!key.isEmpty())
        a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, [this, a] { OnCommand(a->property("id").toInt()); });
    connect(a, &QAction::hovered, this,
            [this, a] { messagePane_->setText(a->property("prompt").toString()); });
    actions_[id] = a;
    return a;
}

void CMainFrame::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menu128"));
    QMenu* file = bar->addMenu(QStringLiteral("파일(&F)"));
    AddItem(file, ID_FILE_OPEN, QStringLiteral("열기(&O)...\tCtrl+O"),
            QStringLiteral("기존 문서를 엽니다\n열기"), QKeySequence(Qt::CTRL | Qt::Key_O));
    AddItem(file, ID_FILE_SAVE, QStringLiteral("저장(&S)...\tCtrl+S"),
            QStringLiteral("현재 열린 문서를 저장합니다\n저장"),
            QKeySequence(Qt::CTRL | Qt::Key_S));
    AddItem(file, ID_FILE_SAVE_AS, QStringLiteral("다른 이름으로 저장(&A)....\tCtrl+A"),
            QStringLiteral("현재 열린 문서를 다른 이름으로 저장합니다\n다른 이름으로 저장"),
            QKeySequence(Qt::CTRL | Qt::Key_A));
    file->addSeparator();
    AddItem(file, ID_FILE_PRINT, QStringLiteral("인쇄(&P)...\tCtrl+P"),
            QStringLiteral("현재 열린 문서를 인쇄합니다\n인쇄"),
            QKeySequence(Qt::CTRL | Qt::Key_P));
    AddItem(file, ID_FILE_PREVIEW, QStringLiteral("인쇄 미리 보기(&V)"),
            QStringLiteral("쪽 전체를 표시합니다\n인쇄 미리 보기"));
    AddItem(file, ID_FILE_PRINT_SETUP, QStringLiteral("인쇄 설정(&R)..."),
            QStringLiteral("프린터와 인쇄 옵션을 변경합니다\n인쇄 설정"));
    file->addSeparator();
    AddItem(file, ID_APP_EXIT, QStringLiteral("종료(&X)"),
            QStringLiteral("응용 프로그램을 종료하기 위해 문서를 저장할 것인지 묻습니다\n종료"));

    QMenu* scan = bar->addMenu(QStringLiteral("검사(&S)"));
    scanAction_ = AddItem(scan, ID_SCAN_START, QStringLiteral("검사 시작"), QString());
    // One slot that carries 32771 or 32772: the handler asks which.
    disconnect(scanAction_, &QAction::triggered, this, nullptr);
    connect(scanAction_, &QAction::triggered, this, [this] { OnCommand(states_.ScanItemId()); });

    QMenu* total = bar->addMenu(QStringLiteral("취합(&U)"));
    AddItem(total, ID_CONSOLIDATE, QStringLiteral("검사 취합"), QString());
    AddItem(total, ID_WRITE_RESULT, QStringLiteral("결과 작성"), QString());

    QMenu* help = bar->addMenu(QStringLiteral("도움말(&H)"));
    AddItem(help, ID_ABOUT_ORG, QStringLiteral("Velmora 정보"),
            QStringLiteral("프로그램 정보와 버전 정보, 저작권 정보를 표시합니다\n정보"));
    AddItem(help, ID_ABOUT_PRODUCT, QStringLiteral("Ostravion 정보"), QString());

    for (QMenu* m : {file, scan, total, help})
        connect(m, &QMenu::aboutToHide, this, &CMainFrame::ShowIdleMessage);
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
    const QString leds[3] = {QStringLiteral("capslock"), QStringLiteral("numlock"),
                             QStringLiteral("scrolllock")};
    for (int i = 0; i < 3; ++i)
        if (indicators_[i])
            indicators_[i]->setEnabled(LockKeyOn(leds[i]));
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

void CMainFrame::ApplyStates() {
    for (const auto& [id, enabled] : states_.Menu())
        if (QAction* a = Action(id))
            a->setEnabled(enabled);
    const bool scanning = states_.ScanItemId() == ID_SCAN_STOP;
    scanAction_->setText(scanning ? QStringLiteral("검사 종료") : QStringLiteral("검사 시작"));
    scanAction_->setProperty("id", states_.ScanItemId());
    scanAction_->setObjectName(QStringLiteral("menu%1").arg(states_.ScanItemId()));
    for (const auto& [id, enabled] : states_.Buttons())
        if (CBitmapButton* b = Button(id))
            b->setEnabled(enabled);
}

void CMainFrame::DisableDocumentCommands() {
    states_.DocumentCommandsDisabled();
    ApplyStates();
}

void CMainFrame::UpdateTitle(int form) {
    QString name;
    if (form == 1) {
        name = Qs(s_.util.TotalFileName());
    } else if (form == 2) {
        name = Qs(s_.util.TotalFileName()) + QLatin1Char('*');
    } else {
        const std::string& path = s_.util.ScanResultPath();
        const std::size_t at = text::FindLastChar(path, '\\');
        name = Qs(at == std::string::npos ? path : path.substr(at + 1));
    }
    setWindowTitle(kTitlePrefix + name);
}

// ---- layouts ----------------------------------------------------------

void CMainFrame::ApplyRowHeights() {
    if (!splitter_)
        return;
    // Row 0 gets its ideal height as far as it fits, row 1 the rest; a row
    // left with less than its minimum is hidden.
    const int avail = std::max(0, splitter_->height() - splitter_->handleWidth());
    int h0 = std::min(rowIdeal_[0], avail);
    int h1 = avail - h0;
    if (h1 < kRowMinimum) {
        h0 = avail + splitter_->handleWidth();
        h1 = 0;
    }
    splitter_->blockSignals(true);
    splitter_->setSizes({h0, h1});
    splitter_->blockSignals(false);
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

void CMainFrame::SelectLayout(bool extended) {
    bar_->Radio(IDC_EXTENDED)->setChecked(extended);
    bar_->Radio(IDC_NORMAL)->setChecked(!extended);
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

// ---- commands ---------------------------------------------------------

void CMainFrame::OnCommand(int id) {
    // A command whose item or button is greyed does nothing, whichever way it came.
    const bool isButton = states_.Buttons().count(id) != 0;
    if (isButton ? !states_.ButtonEnabled(id) : (Action(id) && !states_.MenuEnabled(id)))
        return;
    switch (id) {
    case ID_SCAN_START:
    case IDC_START:
        StartInspection();
        break;
    case ID_SCAN_STOP:
    case IDC_STOP:
        StopInspection();
        break;
    case ID_CONSOLIDATE:
    case IDC_CONSOLIDATE:
        OnConsolidate();
        break;
    case ID_WRITE_RESULT:
    case IDC_WRITE_RESULT:
        OnWriteResult();
        break;
    case ID_FILE_OPEN:
        OnFileOpen();
        break;
    case ID_FILE_SAVE:
        OnFileSave();
        break;
    case ID_FILE_SAVE_AS:
        OnFileSaveAs();
        break;
    case ID_FILE_PRINT:
    case IDC_PRINT:
        OnPrint(false);
        break;
    case ID_FILE_PREVIEW:
        OnPrint(true);
        break;
    case ID_FILE_PRINT_SETUP:
        PrintSetup();
        break;
    case ID_APP_EXIT:
        OnExit();
        break;
    case IDC_NORMAL:
        ShowNormalLayout();
        break;
    case IDC_EXTENDED:
        ShowExtendedLayout();
        break;
    default:
        break;
    }
}

void CMainFrame::StartInspection() {
    CAuditUtil& u = s_.util;
    if (u.GetWorkState() == kScanning) {
        StopInspection();
        return;
    }
    if (u.GetWorkState() == kEdited && Dialogs::Ask(this, kAskSave))
        Save();
    u.SetWorkState(kStartDialogOpen);
    doc_->PrepareScanProgress(Cp(QStringLiteral("검색중")));

    const std::string computer = s_.system.ComputerName();
    CUserInfoDlg dlg(s_.files, s_.codec, this);
    dlg.SetDefaults(CpuDescription(s_.system.Processor()), computer, computer,
                    s_.system.UserName());
    if (Dialogs::Exec(dlg) != QDialog::Accepted)
        return; // the state stays 9 and the bar stays until the next start or stop

    PcFacts facts;
    facts.Group = dlg.Group();
    facts.ComputerName = dlg.ResultName();
    facts.User = dlg.User();
    facts.PcModel = dlg.Model();
    facts.ScanTime = ScanTimeText(s_.clock.Now());
    u.SetScanBaseName(facts.Group + "_" + facts.ComputerName);
    u.SetPcFacts(facts);
    UpdateTitle(3);
    if (u.GetLayoutFlag() == kTotalLayout)
        doc_->SetLayoutMode(kScanLayout);
    u.SetWorkState(kScanning);
    states_.ScanStarted();
    ApplyStates();
    doc_->StartScan();
}

void CMainFrame::StopInspection() {
    doc_->StopScan();
    states_.ScanStopped();
    s_.util.SetWorkState(kIdle);
    ApplyStates();
    s_.util.DestroyProgress();
}

void CMainFrame::OnScanCompleted() {
    CAuditUtil& u = s_.util;
    states_.ScanCompleted();
    u.SetWorkState(kIdle);
    ApplyStates();
    if (CBitmapButton* b = Button(IDC_START))
        b->setText(QStringLiteral("검사시작"));
    if (Dialogs::Ask(this, QStringLiteral("검색을 완료하였습니다.\n 프로그램을 닫으시겠습니까?")))
        CloseWindow();
    else
        StopInspection();
}

void CMainFrame::OnFileOpen() {
    const QString path = Dialogs::OpenFileName(this, TotalFileDialog());
    if (path.isEmpty()) {
        s_.util.RestoreStartDirectory();
        return;
    }
    OpenPath(path);
}

void CMainFrame::OpenPath(const QString& path) {
    CAuditUtil& u = s_.util;
    u.SetResultNames(Cp(QDir::toNativeSeparators(path)), CAuditUtil::NameForm::Path);
    u.FollowLowerCaseTotal();
    u.SetWorkState(kTotalOpened);
    u.ShowProgress(Cp(QStringLiteral("결과 파일 읽는 중...")));
    u.StepProgress(1);
    if (u.GetLayoutFlag() == kScanLayout)
        doc_->SetLayoutMode(kTotalLayout);
    else
        doc_->ClearViews();
    u.StepProgress(1);
    u.RestoreStartDirectory();
    doc_->LoadTotal();
    UpdateTitle(1);
    u.StepProgress(1);
    u.DestroyProgress();
    states_.DocumentConfirmed();
    ApplyStates();
}

bool CMainFrame::WrittenResultExists() const {
    return s_.util.FileExists(std::string(kWorkFolder) + s_.util.ResultFileName());
}

void CMainFrame::Save() {
    CAuditUtil& u = s_.util;
    u.ShowProgress(Cp(QStringLiteral("결과 파일 저장중...")));
    u.StepProgress(1);
    const bool written = WrittenResultExists();
    const int before = u.GetWorkState();
    doc_->SaveTotal();
    u.SetWorkState(kSaved);
    u.RestoreStartDirectory();
    UpdateTitle(1);
    u.StepProgress(1);
    u.DestroyProgress();
    // The first save of a total leads straight on to writing the result.
    if (!written && before != kWritingResult)
        RunResultWriting();
}

void CMainFrame::OnFileSave() {
    Save();
}

void CMainFrame::OnFileSaveAs() {
    CAuditUtil& u = s_.util;
    const QString path = Dialogs::SaveFileName(this, TotalFileDialog());
    if (path.isEmpty()) {
        u.RestoreStartDirectory();
        return;
    }
    u.SetWorkState(kSavedAs);
    u.SetPreviousTotalPath(u.ResultPath(".tls"));
    u.SetResultNames(Cp(QDir::toNativeSeparators(path)), CAuditUtil::NameForm::Path);
    u.ShowProgress(Cp(QStringLiteral("결과 파일 저장중...")));
    u.StepProgress(1);
    // The work folder is looked up below the start-up directory, whatever
    // folder the dialog was left in.
    u.RestoreStartDirectory();
    const bool written = WrittenResultExists();
    doc_->SaveTotal();
    UpdateTitle(1);
    u.StepProgress(1);
    u.DestroyProgress();
    if (!written)
        RunResultWriting();
}

void CMainFrame::OnConsolidate() {
    CAuditUtil& u = s_.util;
    CSelectFilesDlg dlg(u, s_.codec, s_.clock, this);
    if (Dialogs::Exec(dlg) != QDialog::Accepted) {
        u.RestoreStartDirectory();
        return;
    }
    u.SetResultNames(dlg.ResultName(), CAuditUtil::NameForm::Name);
    UpdateTitle(2);
    u.SetWorkState(kConsolidated);
    u.ShowProgress(Cp(QStringLiteral("검사 결과 취합중...")));
    u.StepProgress(1);
    if (u.GetLayoutFlag() == kScanLayout) {
        doc_->SetLayoutMode(kTotalLayout);
        u.StepProgress(1);
    }
    doc_->Consolidate();
    u.RestoreStartDirectory();
    u.DestroyProgress();
    states_.DocumentConfirmed();
    ApplyStates();
}

void CMainFrame::RunResultWriting() {
    if (resultWriting) {
        resultWriting();
        return;
    }
    CResultWriteDlg dlg(s_.util, s_.codec, doc_, this);
    Dialogs::Exec(dlg);
}

void CMainFrame::OnWriteResult() {
    CAuditUtil& u = s_.util;
    const bool exists = WrittenResultExists();
    if (exists && u.GetWorkState() == kEdited) {
        if (Dialogs::Ask(
                this,
                QStringLiteral("이미 작성된 파일이 있습니다.\n 저장후 계속 작성하시겠습니까?"))) {
            u.SetWorkState(kWritingResult);
            Save();
            RunResultWriting();
        }
    } else if (exists) {
        if (Dialogs::Ask(
                this, QStringLiteral("이미 작성된 파일이 있습니다.\n  계속 작성하시겠습니까?"))) {
            u.SetWorkState(kWritingResult);
            RunResultWriting();
        }
    } else if (Dialogs::Ask(this, kAskSave)) {
        u.SetWorkState(kWritingResult);
        Save();
        RunResultWriting();
    }
}

bool CMainFrame::SelectReport() {
    if (printSelection)
        return printSelection();
    CPrintSelectDlg dlg(s_.util, s_.codec, this);
    return Dialogs::Exec(dlg) == QDialog::Accepted;
}

void CMainFrame::OnPrint(bool preview) {
    CAuditUtil& u = s_.util;
    if (!SelectReport())
        return;
    // Printing goes to the chosen or the default printer without a print
    // dialog; with none to print on, nothing happens but the message.
    if (!preview && !Dialogs::FindPrinter(Printer())) {
        Dialogs::Show(this, QStringLiteral("인쇄할 프린터가 없습니다.\n프린터를 설치하거나 "
                                           "[인쇄 설정]에서 프린터를 선택하십시오."));
        return;
    }
    // The confirmation sheet without a readable written result: the Write
    // result command first, whatever comes of it; then state 8.
    if (const std::optional<ReportKind> kind = ReportKindFromNumber(u.GetReportKind()))
        BeforePrinting(u, *kind, [this] { OnWriteResult(); });
    else
        u.SetWorkState(kPrinted);
    if (printReport)
        printReport(preview);
    else
        PrintActiveView(preview);
}

void CMainFrame::PrintActiveView(bool preview) {
    // The two views print alike but for the confirmation sheet's signature line.
    const SheetView view = activeView_ == 1 ? SheetView::Extended : SheetView::Normal;
    const std::optional<ReportLayout> layout = PrepareStoredReport(s_.util, view);
    if (!layout)
        return;
    if (preview)
        PreviewReport(*layout, Printer(), s_.codec, this);
    else
        PrintReport(*layout, Printer(), s_.codec, this);
}

void CMainFrame::PrintSetup() {
    if (printSetup) {
        printSetup();
        return;
    }
    QPrintDialog dlg(&Printer(), this);
    dlg.setObjectName(QStringLiteral("printSetup"));
    dlg.setWindowTitle(QStringLiteral("인쇄 설정"));
    dlg.setOptions(QAbstractPrintDialog::PrintToFile);
    Dialogs::Exec(dlg);
    s_.util.RestoreStartDirectory();
}

void CMainFrame::ExitQuestions() {
    CAuditUtil& u = s_.util;
    if (u.GetWorkState() == kScanning) {
        // The per-PC result from the two views. The scan's thread ends first,
        // so that the file written now is the last one of this scan and no
        // program reaches a view that is about to go.
        doc_->StopScan();
    }
    if ((u.GetWorkState() == kConsolidated || u.GetWorkState() == kEdited) &&
        Dialogs::Ask(this, kAskSave))
        Save();
}

void CMainFrame::OnExit() {
    ExitQuestions();
    CloseWindow();
}

void CMainFrame::CloseWindow() {
    closing_ = true;
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The close box and Alt+F4 run the Exit flow; the program's own closes
    // (Exit, the end-of-scan question) have run what they need already.
    if (!closing_)
        ExitQuestions();
    closing_ = true;
    // No program of a scan may reach the views once they are gone (Exit has
    // ended a scan under way already).
    if (doc_ && doc_->ScanRunning())
        doc_->StopScan();
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
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    const QString path = urls.first().toLocalFile();
    // Nothing is opened while a scan runs or its dialog is open.
    if (!states_.MenuEnabled(ID_FILE_OPEN))
        return;
    if (!QFile::exists(path)) {
        Dialogs::Show(this, QStringLiteral("파일을 열 수 없습니다.\n") + path);
        return;
    }
    OpenPath(path);
}

} // namespace ostravion::gui
