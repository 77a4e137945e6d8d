#include "qt/CSplashWnd.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QScreen>

namespace ostravion::gui {

namespace {
bool g_enabled = false;
QPointer<CSplashWnd> g_current;
} // namespace

QImage LoadPictureFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The content decides the format; the name has no picture extension.
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

void CSplashWnd::EnableSplashScreen(bool enable) {
    g_enabled = enable;
}

bool CSplashWnd::Enabled() {
    return g_enabled;
}

CSplashWnd* CSplashWnd::Current() {
    return g_current.data();
}

void CSplashWnd::ShowSplashScreen(QWidget* owner) {
    if (!g_enabled || g_current)
        return;
    QImage picture = LoadPictureFile(kSplashFile);
    if (picture.isNull())
        return;
    auto* splash = new CSplashWnd(std::move(picture), owner);
    g_current = splash;
    splash->show();
    splash->repaint();
}

void CSplashWnd::HideSplashScreen() {
    if (g_current)
        g_current->Hide();
}

CSplashWnd::CSplashWnd(QImage picture, QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(std::move(picture)) {
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(picture_.size());
    // Centred over the owner when it is shown, else on the screen.
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (QScreen* screen =
                 owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen())
        area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    timer_.setSingleShot(true);
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &CSplashWnd::Hide);
    timer_.start();
}

CSplashWnd::~CSplashWnd() = default;

void CSplashWnd::Hide() {
    timer_.stop();
    QWidget* owner = parentWidget();
    close(); // deletes the window; the current splash window is gone with it
    g_current = nullptr;
    if (owner)
        owner->repaint();
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(QPoint(0, 0), picture_);
}

} // namespace ostravion::gui
