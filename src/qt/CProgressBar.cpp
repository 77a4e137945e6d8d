#include "qt/CProgressBar.h"

#include "qt/report/QtText.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QThread>

namespace ostravion::gui {

namespace {
bool OnUiThread() {
    return QCoreApplication::instance() &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}
} // namespace

CProgressBar::CProgressBar(QStatusBar* status, QLabel* pane, const QString& message, int size)
    : QProgressBar(status), status_(status), pane_(pane), message_(message), size_(size) {
    setObjectName(QStringLiteral("progress1"));
    setTextVisible(false);
    setRange(0, 100);
    setValue(0);
    setGeometry(QRect());
    show();
    status->installEventFilter(this);
    if (pane)
        pane->installEventFilter(this);
    Place();
}

CProgressBar::~CProgressBar() = default;

QRect CProgressBar::PlacementRect(const QFontMetrics& metrics, const QString& message, QRect pane,
                                  int size) {
    const int m = metrics.horizontalAdvance(message);
    const int b = metrics.horizontalAdvance(QLatin1Char(' '));
    // Edges as in the pane rectangle: right and bottom exclusive.
    const int paneRight = pane.x() + pane.width();
    const int left = m + 4 * b;
    int right = left + (paneRight - left) * size / 100;
    if (right < left)
        right = left;
    const int d = pane.height() / 10;
    const int top = pane.y() + d;
    const int bottom = pane.y() + pane.height() - d;
    return QRect(left, top, right - left, bottom - top);
}

void CProgressBar::Place() {
    if (!status_)
        return;
    if (pane_ && isVisible()) {
        pane_->setText(message_);
        status_->repaint();
    }
    const QRect pane = pane_ ? pane_->geometry() : QRect();
    const QRect r = PlacementRect(QFontMetrics(status_->font()), message_, pane, size_);
    if (r != last_) {
        setGeometry(r);
        update();
    }
    last_ = r;
}

void CProgressBar::Destroy() {
    hide();
    if (status_) {
        status_->removeEventFilter(this);
        if (pane_) {
            pane_->removeEventFilter(this);
            pane_->setText(kIdleMessage);
        }
    }
}

bool CProgressBar::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == status_ || watched == pane_) &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move ||
         event->type() == QEvent::Show))
        Place();
    return QProgressBar::eventFilter(watched, event);
}

ProgressPort::ProgressPort(CProgressBar* bar) : bar_(bar) {}

ProgressPort::~ProgressPort() {
    QPointer<CProgressBar> bar = bar_;
    auto destroy = [bar] {
        if (bar) {
            bar->Destroy();
            delete bar.data();
        }
    };
    if (OnUiThread())
        destroy();
    else if (bar)
        QMetaObject::invokeMethod(bar.data(), destroy, Qt::QueuedConnection);
}

void ProgressPort::Show(CProgressBar* bar, const Values& values) {
    bar->setRange(values.lower, values.upper);
    bar->setValue(static_cast<int>(values.pos.load()));
}

void ProgressPort::Refresh() {
    if (!bar_)
        return;
    if (OnUiThread()) {
        Show(bar_, *values_);
        return;
    }
    // From the scan thread: one queued update at a time carries the latest values.
    if (values_->pending.exchange(true))
        return;
    QPointer<CProgressBar> bar = bar_;
    std::shared_ptr<Values> state = values_;
    QMetaObject::invokeMethod(
        bar.data(),
        [bar, state] {
            state->pending = false;
            if (bar)
                Show(bar, *state);
        },
        Qt::QueuedConnection);
}

StatusProgressFactory::StatusProgressFactory(const TextCodec& codec, Finder find)
    : codec_(codec), find_(std::move(find)) {}

std::unique_ptr<ProgressBar> StatusProgressFactory::Create(const std::string& text) {
    QStatusBar* status = nullptr;
    QLabel* pane = nullptr;
    if (!find_ || !find_(status, pane) || !status)
        return nullptr;
    auto* bar = new CProgressBar(status, pane, ToQt(codec_, text));
    return std::make_unique<ProgressPort>(bar);
}

} // namespace ostravion::gui
