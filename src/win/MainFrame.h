// The main window on Windows: menu 128 with its accelerators, the command
// bar in a rebar band, the two list views one above the other with a
// splitter bar between them, and the status bar. It draws and forwards:
// every command runs through the desktop flows, which reach the window
// through DesktopUi.
#pragma once

#include "desktop/DesktopFlows.h"
#include "win/CommandBar.h"
#include "win/ListPane.h"
#include "win/StatusBar.h"

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <memory>

namespace ostravion::win {

class MainFrame final : public DesktopUi {
public:
    struct Services {
        CAuditUtil& util;
        const TextCodec& codec;
        const SystemInfo& system;
        const Clock& clock;
        StatusProgressFactory& progress;
    };
    static constexpr int kRowMinimum = 10;
    static constexpr int kSplitterBar = 5;
    // The list views' control ids: the first pane and the one below it.
    static constexpr int kUpperPaneId = 0xE900, kLowerPaneId = 0xE910;

    explicit MainFrame(Services services);
    ~MainFrame() override;

    // Makes the window with its parts: work folder, command bar, status
    // bar, the two views, splash, start-up directory, greyed document
    // commands. False when the work folder cannot be made (the message is
    // shown) or a part cannot be made.
    bool Create(HINSTANCE instance, DesktopDocument& doc, CResultList& upper, CResultList& lower);
    HWND Handle() const { return hwnd_; }
    HACCEL Accelerators() const { return accelerators_; }
    // Lets the message loop hand the command bar its keyboard messages.
    bool PreTranslate(MSG& msg);

    DesktopFlows& Flows() { return *flows_; }
    const CommandStates& States() const { return flows_->States(); }
    CommandBar& Bar() { return bar_; }
    StatusBar& Status() { return status_; }
    ListPane& Pane(int row) { return *panes_[row]; }
    HWND Rebar() const { return rebar_; }
    int RowIdealHeight(int row) const { return rowIdeal_[row]; }

    // Whether the process runs with raised rights, and how a window lets one
    // message through the filter that keeps a normal-rights process from
    // sending it to such a window (tests stand in for both).
    static std::function<bool()> processElevated;
    static std::function<bool(HWND, UINT)> allowMessage;
    // The messages a drop from Explorer is made of, let through to `window`
    // when the process runs elevated.
    static void AllowDropsFromExplorer(HWND window);

    // The window runs the scan's handed work when the host posts for it.
    std::function<void()> runPending;
    // The application's own commands: the two information boxes.
    std::function<void(int id)> appCommand;

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
    void PrintReport(const ReportLayout& layout, bool preview) override;
    void PrintSetup() override;
    void SetTitle(const std::string& title) override;
    void ApplyCommandStates(const CommandStates& states) override;
    void ShowLayout(bool extended) override;
    int ActiveView() const override { return activeView_; }
    void CloseWindow() override;
    bool ExploreFolder(const std::string& path) override;
    bool OpenDocument(const std::string& path) override;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    bool CreateParts();
    void OnCommand(int id);
    void Layout();
    void ApplyRowHeights();
    RECT ClientArea() const;
    bool InSplitterBar(POINT p) const;
    void NextPane(int delta);
    void FocusActiveList();
    void MenuPrompt(int id);
    void OpenDropped(HDROP drop);

    Services s_;
    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    HWND rebar_ = nullptr;
    HMENU menu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    DesktopDocument* doc_ = nullptr;
    CResultList* lists_[2] = {nullptr, nullptr};
    std::unique_ptr<DesktopFlows> flows_;
    CommandBar bar_;
    StatusBar status_;
    std::unique_ptr<ListPane> panes_[2];
    int rowIdeal_[2] = {0, 0};
    int rowShown_[2] = {0, 0};
    int activeView_ = 0;
    bool dragging_ = false;
    bool created_ = false;
};

} // namespace ostravion::win
