#include "qt/GuiMessages.h"

#include "qt/report/QtText.h"

#include "qt/Dialogs.h"
#include "util/Messages.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <condition_variable>

namespace ostravion::gui {

namespace {
bool OnUiThread() {
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}
} // namespace

struct GuiMessages::Wait {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    bool yes = false;
};

QString GuiMessages::Qs(const std::string& cp949) const {
    return ToQt(codec_, cp949);
}

void GuiMessages::Show(const std::string& text) {
    const QString t = Qs(msg::WithKoreanLine(text));
    if (OnUiThread()) {
        Dialogs::Show(parent_, t);
        return;
    }
    QPointer<QWidget> parent = parent_;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [parent, t] { Dialogs::Show(parent, t); },
        Qt::QueuedConnection);
}

void GuiMessages::Inform(const std::string& text) {
    const QString t = Qs(text);
    if (OnUiThread()) {
        Dialogs::Inform(parent_, t);
        return;
    }
    QPointer<QWidget> parent = parent_;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [parent, t] { Dialogs::Inform(parent, t); },
        Qt::QueuedConnection);
}

bool GuiMessages::Ask(const std::string& question) {
    const QString q = Qs(question);
    if (OnUiThread())
        return Dialogs::Ask(parent_, q);
    auto wait = std::make_shared<Wait>();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waits_.push_back(wait);
    }
    QPointer<QWidget> parent = parent_;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [parent, q, wait] {
            {
                std::lock_guard<std::mutex> lock(wait->mutex);
                if (wait->done)
                    return; // given up on already
            }
            const bool yes = Dialogs::Ask(parent, q);
            std::lock_guard<std::mutex> lock(wait->mutex);
            wait->yes = yes;
            wait->done = true;
            wait->cv.notify_all();
        },
        Qt::QueuedConnection);
    bool yes = false;
    {
        std::unique_lock<std::mutex> lock(wait->mutex);
        wait->cv.wait(lock, [&] { return wait->done; });
        yes = wait->yes;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    waits_.erase(std::remove(waits_.begin(), waits_.end(), wait), waits_.end());
    return yes;
}

void GuiMessages::CancelWaits() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& wait : waits_) {
        std::lock_guard<std::mutex> l(wait->mutex);
        wait->done = true;
        wait->yes = false;
        wait->cv.notify_all();
    }
}

} // namespace ostravion::gui
