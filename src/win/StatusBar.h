// The status bar: the message pane (menu prompts, "준비", the message of a
// flow's progress) and the CAP, NUM and SCRL indicators; and the progress bar
// a flow shows right of its message in the message pane. The scan thread
// steps the bar through the core's port; the control itself is only touched
// on the user-interface thread.
#pragma once

#include "ports/Ports.h"
#include "ports/SharedProgress.h"

#include <windows.h>

#include <memory>
#include <string>

namespace ostravion::win {

class StatusBar {
public:
    bool Create(HWND parent, HINSTANCE instance);
    HWND Handle() const { return hwnd_; }
    // Lays the panes out over the parent's width.
    void Resize();
    // The message pane's text (CP949).
    void SetMessage(const std::string& cp949);
    std::string Message() const;
    // The message of the flow under way, or "준비".
    void ShowIdle();
    // The progress bar shown now, if any; it keeps its place as the bar's
    // size changes.
    void SetProgress(class StatusProgress* progress, const std::string& message);
    class StatusProgress* Progress() const {
        return progress_;
    }
    // Shows the indicators of the lock keys that are on.
    void UpdateIndicators();
    // The rectangle of the message pane, in the bar's client coordinates.
    RECT MessagePane() const;

private:
    HWND hwnd_ = nullptr;
    class StatusProgress* progress_ = nullptr;
    std::string flowMessage_;
};

// The progress bar of a flow: control id 1, a child of the status bar.
class StatusProgress final : public SharedProgress {
public:
    StatusProgress(StatusBar& status, const std::string& message, int size = 100);
    ~StatusProgress() override;

    HWND Handle() const { return control_; }
    // Places the bar right of its message: its left edge at the message's
    // width plus four blanks, `size` percent of the rest of the pane, a tenth
    // of the pane's height off at top and bottom.
    void Place();

private:
    static void Show(HWND control, const Values& values);
    void Refresh() override;

    StatusBar& status_;
    std::string message_;
    int size_;
    HWND control_ = nullptr;
};

// Makes the status-bar progress bars for the core; none before the main
// window has its status bar.
class StatusProgressFactory final : public ProgressFactory {
public:
    void SetStatusBar(StatusBar* status) { status_ = status; }
    std::unique_ptr<ProgressBar> Create(const std::string& text) override;

private:
    StatusBar* status_ = nullptr;
};

} // namespace ostravion::win
