// The progress bar of the status bar: a message in the message pane and,
// right of it, a bar over the rest of that pane. The scan thread drives it
// through the core's ProgressBar port; the widget itself is only touched on
// the user-interface thread.
#pragma once

#include "ports/Ports.h"
#include "ports/SharedProgress.h"

#include <QFontMetrics>
#include <QPointer>
#include <QProgressBar>
#include <QRect>
#include <atomic>
#include <functional>
#include <memory>

class QLabel;
class QStatusBar;

namespace ostravion::gui {

// The text of the message pane when no flow is under way.
inline const QString kIdleMessage = QStringLiteral("준비");

class CProgressBar : public QProgressBar {
    Q_OBJECT
public:
    // A child of the status bar with control id 1, placed at once.
    CProgressBar(QStatusBar* status, QLabel* pane, const QString& message, int size = 100);
    ~CProgressBar() override;

    // Places the bar right of its message in the message pane.
    void Place();
    const QString& Message() const { return message_; }

    // The placement rule: left edge at the message width plus four blanks,
    // `size` percent of the rest of the pane, a tenth of the pane height off
    // at top and bottom, never of negative width.
    static QRect PlacementRect(const QFontMetrics& metrics, const QString& message, QRect pane,
                               int size);

    // Hides the bar and puts the idle text back into the message pane.
    void Destroy();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QStatusBar> status_;
    QPointer<QLabel> pane_;
    QString message_;
    int size_;
    QRect last_;
};

// The core's progress port over one CProgressBar: the values are kept
// apart, the widget follows them on the user-interface thread.
class ProgressPort final : public SharedProgress {
public:
    explicit ProgressPort(CProgressBar* bar);
    ~ProgressPort() override; // destroys the widget

private:
    static void Show(CProgressBar* bar, const Values& values);
    void Refresh() override;

    QPointer<CProgressBar> bar_;
};

// Makes the status-bar progress bars for the core. `find` gives the status
// bar and its message pane, or nulls when there is no main window yet.
class StatusProgressFactory final : public ProgressFactory {
public:
    using Finder = std::function<bool(QStatusBar*&, QLabel*&)>;
    StatusProgressFactory(const TextCodec& codec, Finder find);
    std::unique_ptr<ProgressBar> Create(const std::string& text) override;

private:
    const TextCodec& codec_;
    Finder find_;
};

} // namespace ostravion::gui
