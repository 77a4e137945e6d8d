// The splash window: the picture "vxa.spl" of the start-up folder, shown for
// one second while the main window is being made, centred, at most once.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace ostravion::gui {

inline const QString kSplashFile = QStringLiteral("vxa.spl");

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    // Stores whether a splash window may be shown at all.
    static void EnableSplashScreen(bool enable);
    static bool Enabled();
    // Shows the splash window for `owner` unless it is disabled, one exists
    // already or the picture cannot be read.
    static void ShowSplashScreen(QWidget* owner);
    // The current splash window, if any.
    static CSplashWnd* Current();
    // Hides the current splash window at once.
    static void HideSplashScreen();

    const QImage& Picture() const { return picture_; }
    QTimer& Timer() { return timer_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    CSplashWnd(QImage picture, QWidget* owner);
    ~CSplashWnd() override;
    void Hide();

    QImage picture_;
    QTimer timer_;
};

// Reads a picture file of the start-up folder; null when missing or unreadable.
QImage LoadPictureFile(const QString& path);

} // namespace ostravion::gui
