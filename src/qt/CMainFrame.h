// The main window: menu, command bar, the two list views in a two-row
// splitter and the status bar. It draws and forwards: every command runs
// through the desktop flows, which reach the window through DesktopUi.
#pragma once

#include "desktop/DesktopFlows.h"
#include "ports/Ports.h"
#include "util/AuditUtil.h"

#include <QMainWindow>
#include <QUrl>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QActionGroup;
class QLabel;
class QPrinter;
class QSplitter;
class QToolBar;

namespace ostravion::gui {

class CBitmapButton;
class CCommandBar;
class CProgressBar;

class CMainFrame : public QMainWindow, public DesktopUi {
    Q_OBJECT
public:
    struct Services {
        CAuditUtil& util;
        const TextCodec& codec;
        const SystemInfo& system;
        const Clock& clock;
    };

    explicit CMainFrame(Services services, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The window's creation: work folder, command bar, status bar, the
    // splitter with the two views, splash, start-up directory, greyed
    // document commands. False when the work folder cannot be made (the
    // message is shown) or a part cannot be made.
    bool Create(DesktopDocument& doc, QWidget* upperView, QWidget* lowerView);

    DesktopFlows& Flows() { return *flows_; }
    // A command by menu or button id; the 검사 slot by the id it carries.
    void OnCommand(int id) { flows_->OnCommand(id); }
    // Files dropped on the window: the first one, if it is a file here.
    void OpenDropped(const QList<QUrl>& urls);
    void ShowNormalLayout();
    void ShowExtendedLayout();

    // DesktopUi.
    void Show(const std::string& text) override;
    bool Ask(const std::string& question) override;
    void Inform(const std::string& text) override;
    std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;
    bool RunStartDialog(StartDialogModel& model) override;
    bool RunFileSelectionDialog(SelectFilesModel& model) override;
    bool RunResultWritingDialog(CResultWriting& model) override;
    bool RunPrintSelectionDialog(CPrintSelection& model) override;
    bool FindPrinter() override;
    std::optional<std::string> PrintFile() const override;
    void PrintReport(const ReportLayout& layout, bool preview) override;
    void PrintSetup() override;
    void SetTitle(const std::string& title) override;
    void ApplyCommandStates(const CommandStates& states) override;
    void ShowLayout(bool extended) override;
    // The last list view that had the focus: 0 the normal view, 1 the
    // extended one; the normal view at first.
    int ActiveView() const override { return activeView_; }
    void CloseWindow() override;
    bool ExploreFolder(const std::string& path) override;
    bool OpenDocument(const std::string& path) override;

    // Parts, for the views and for tests.
    const CommandStates& States() const { return flows_->States(); }
    QAction* Action(int id) const;
    CBitmapButton* Button(int id) const;
    CCommandBar* CommandBar() const { return bar_; }
    QLabel* MessagePane() const { return messagePane_; }
    QLabel* Indicator(int index) const { return indicators_[index]; }
    QSplitter* Splitter() const { return splitter_; }
    QWidget* View(int row) const { return views_[row]; }
    int RowIdealHeight(int row) const { return rowIdeal_[row]; }
    static constexpr int kRowMinimum = 10;
    // The rows a shown lower list keeps, however low the window.
    static constexpr int kFewRows = 3;
    // The height of a list that shows its header, kFewRows rows and its
    // horizontal scroll bar.
    static int FewRowsHigh(const QWidget* view);
    // The progress bar in the status bar, if one is shown.
    CProgressBar* Progress() const;
    // The printer print jobs go to, as the printer-setup dialog left it.
    QPrinter& Printer();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void BuildMenu();
    void BuildStatusBar();
    void ApplyRowHeights();
    void UpdateIndicators();
    void ShowIdleMessage();
    void NextPane(int delta);

    QString Qs(const std::string& cp949) const;

    Services s_;
    std::unique_ptr<DesktopFlows> flows_;
    std::map<int, QAction*> actions_;
    QAction* scanAction_ = nullptr;
    QActionGroup* layoutGroup_ = nullptr; // 보기's 일반 and 확장
    int scanItemId_ = ID_SCAN_START;
    CCommandBar* bar_ = nullptr;
    QToolBar* rebar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QLabel* indicators_[3] = {nullptr, nullptr, nullptr};
    QSplitter* splitter_ = nullptr;
    QWidget* views_[2] = {nullptr, nullptr};
    int rowIdeal_[2] = {0, 0};
    int activeView_ = 0;
    QMetaObject::Connection focusWatch_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace ostravion::gui
