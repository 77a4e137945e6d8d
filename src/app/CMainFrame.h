// The main window: menu, command bar, the two list views in a two-row
// splitter and the status bar; the command flows and the rules that enable
// and grey commands as the audit work goes on.
#pragma once

#include "app/AppDocument.h"
#include "app/CommandStates.h"
#include "platform/Ports.h"
#include "util/AuditUtil.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QLabel;
class QPrinter;
class QSplitter;
class QToolBar;

namespace ostravion::gui {

class CBitmapButton;
class CCommandBar;
class CProgressBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    struct Services {
        CAuditUtil& util;
        const TextCodec& codec;
        FileSystem& files;
        const SystemInfo& system;
        const Clock& clock;
    };

    explicit CMainFrame(Services services, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The window's creation: work folder, command bar, status bar, the
    // splitter with the two views, splash, start-up directory, greyed
    // document commands. False when the work folder cannot be made (the
    // message is shown) or a part cannot be made.
    bool Create(AppDocument& doc, QWidget* upperView, QWidget* lowerView);

    // Operations the document, the views and the scan call.
    void UpdateTitle(int form);
    void DisableDocumentCommands();
    void ShowNormalLayout();
    void ShowExtendedLayout();
    // Checks "확장" (or "일반") and shows that arrangement, as the document
    // does after loading or consolidating.
    void SelectLayout(bool extended);
    // The end of a completed scan, on the user-interface thread, once the
    // document has written the result file: the idle commands and the
    // closing question.
    void OnScanCompleted();

    // The commands by menu or button id; the 검사 slot by the id it carries.
    void OnCommand(int id);
    void StartInspection();
    void StopInspection();
    void OnFileOpen();
    // Opens a total file named on the command line or dropped on the window,
    // as Open does with a chosen file.
    void OpenPath(const QString& path);
    // Files dropped on the window: the first one, if it is a file here.
    void OpenDropped(const QList<QUrl>& urls);
    void OnFileSave();
    void OnFileSaveAs();
    void OnConsolidate();
    void OnWriteResult();
    void OnPrint(bool preview);
    void OnExit();

    // Stand-ins tests may put in place of the result-writing dialog, the
    // print-selection dialog (false on Cancel), the printing itself and the
    // printer-setup dialog; when empty, the program's own run.
    std::function<void()> resultWriting;
    std::function<bool()> printSelection;
    std::function<void(bool preview)> printReport;
    std::function<void()> printSetup;

    // Parts, for the views and for tests.
    const CommandStates& States() const { return states_; }
    QAction* Action(int id) const;
    CBitmapButton* Button(int id) const;
    CCommandBar* CommandBar() const { return bar_; }
    QToolBar* Rebar() const { return rebar_; }
    QLabel* MessagePane() const { return messagePane_; }
    QLabel* Indicator(int index) const { return indicators_[index]; }
    QSplitter* Splitter() const { return splitter_; }
    QWidget* View(int row) const { return views_[row]; }
    int RowIdealHeight(int row) const { return rowIdeal_[row]; }
    static constexpr int kRowMinimum = 10;
    // The progress bar in the status bar, if one is shown.
    CProgressBar* Progress() const;
    // The printer print jobs go to, as the printer-setup dialog left it.
    QPrinter& Printer();
    // The row of the active list view: 0 the normal view, 1 the extended
    // one. The last one that had the focus; the normal view at first.
    int ActiveView() const { return activeView_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void BuildMenu();
    QAction* AddItem(QMenu* menu, int id, const QString& caption, const QString& prompt,
                     const QKeySequence& key = {});
    void BuildStatusBar();
    void ApplyStates();
    void ApplyRowHeights();
    void UpdateIndicators();
    void ShowIdleMessage();
    void NextPane(int delta);
    void Save(); // the Save flow, also run by other flows
    void ExitQuestions();
    void CloseWindow();
    void RunResultWriting();
    bool SelectReport();
    void PrintActiveView(bool preview);
    void PrintSetup();

    // CP949 <-> Qt.
    QString Qs(const std::string& cp949) const;
    std::string Cp(const QString& s) const;
    // ".\\CheckOut\\" + the written-result name exists.
    bool WrittenResultExists() const;

    Services s_;
    AppDocument* doc_ = nullptr;
    CommandStates states_;
    std::map<int, QAction*> actions_;
    QAction* scanAction_ = nullptr;
    CCommandBar* bar_ = nullptr;
    QToolBar* rebar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QLabel* indicators_[3] = {nullptr, nullptr, nullptr};
    QSplitter* splitter_ = nullptr;
    QWidget* views_[2] = {nullptr, nullptr};
    int rowIdeal_[2] = {0, 0};
    bool closing_ = false;
    int activeView_ = 0;
    QMetaObject::Connection focusWatch_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace ostravion::gui
