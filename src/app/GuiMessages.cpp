#include "app/GuiMessages.h"

#include "app/Dialogs.h"

#include <QCoreApplication>
#include <QThread>

namespace ostravion::gui {

namespace {
bool OnUiThread() {
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}
} // namespace

QString GuiMessages::Qs(const std::string& cp949) const {
    return QString::fromStdString(codec_.ToUtf8(cp949));
}

void GuiMessages::Show(const std::string& text) {
    const QString t = Qs(text);
    if (OnUiThread()) {
        Dialogs::Show(parent_, t);
        return;
    }
    QPointer<QWidget> parent = parent_;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [parent, t] { Dialogs::Show(parent, t); },
        Qt::QueuedConnection);
}

bool GuiMessages::Ask(const std::string& question) {
    const QString q = Qs(question);
    if (OnUiThread())
        return Dialogs::Ask(parent_, q);
    bool yes = false;
    QPointer<QWidget> parent = parent_;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [parent, q, &yes] { yes = Dialogs::Ask(parent, q); },
        Qt::BlockingQueuedConnection);
    return yes;
}

} // namespace ostravion::gui
