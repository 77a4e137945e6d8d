// Qt's own dialogs as the program shows them, unscripted: the file dialogs
// with their captions, initial name and overwrite question, in Korean.
#include "qt/AppFixture.h"
#include "qt/CMainFrame.h"
#include "qt/QtKorean.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace ostravion;
using namespace ostravion::gui;
using test::Harness;

namespace {

bool HasHangul(const QString& s) {
    for (QChar c : s)
        if (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3)
            return true;
    return false;
}

// Runs `act` on the next modal window of type T once it is up. `act` must
// close it, or the test waits for ever.
template <typename T> void WhenModal(std::function<void(T&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(*w);
    });
    timer->start();
}

// What a file dialog shows: caption, name field, folder, and whether each
// label and button speaks Korean.
struct FileDialogView {
    QString caption;
    QString name;
    QString folder;
    QStringList english;
};

FileDialogView Look(QFileDialog& d) {
    FileDialogView v;
    v.caption = d.windowTitle();
    v.name = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
    v.folder = QDir(d.directory()).dirName();
    for (QLabel* l : d.findChildren<QLabel*>())
        if (!l->text().isEmpty() && !HasHangul(l->text()))
            v.english << l->text();
    for (QPushButton* b : d.findChildren<QPushButton*>())
        if (!b->text().isEmpty() && !HasHangul(b->text()))
            v.english << b->text();
    return v;
}

void Enter(QFileDialog& d) {
    QTest::keyClick(d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), Qt::Key_Return);
}

// Scripted dialogs stay off while a test talks to the real ones.
struct Unscripted {
    Unscripted() { Dialogs::SetScripted(false); }
    ~Unscripted() { Dialogs::SetScripted(true); }
};

} // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { Dialogs::Reset(); }

    // A Yes/No question has no escape answer: Escape leaves it up, and only
    // a button answers it.
    void escapeDoesNotAnswerAQuestion() {
        Harness h;
        bool upAfterEscape = false;
        WhenModal<QMessageBox>([&](QMessageBox& box) {
            QTest::keyClick(&box, Qt::Key_Escape);
            upAfterEscape = box.isVisible();
            box.button(QMessageBox::Yes)->click();
        });
        bool yes = false;
        {
            Unscripted real;
            yes = Dialogs::Ask(&h.Frame(), QStringLiteral("저장하시겠습니까?"));
        }
        QVERIFY(upAfterEscape);
        QVERIFY(yes);
    }

    void openDialogIsKoreanWithThePatternAsName() {
        Harness h;
        QVERIFY2(!QtKoreanFolder().isEmpty(), "Qt's Korean catalogue (qtbase_ko.qm) is missing");
        FileDialogView view;
        bool openAfterPattern = false;
        WhenModal<QFileDialog>([&](QFileDialog& d) {
            view = Look(d);
            test::SaveScreenshot(&d, QStringLiteral("13-open"));
            // The pattern filters the list; it is no file to open.
            Enter(d);
            openAfterPattern = d.isVisible();
            d.reject();
        });
        {
            Unscripted real;
            h.Frame().OnCommand(ID_FILE_OPEN);
        }
        QCOMPARE(view.caption, QStringLiteral("열기"));
        QCOMPARE(view.name, QStringLiteral("*.tls"));
        QCOMPARE(view.folder, QStringLiteral("CheckOut"));
        QCOMPARE(view.english, QStringList());
        QVERIFY(openAfterPattern);
        QVERIFY(!h.Doc().calls.contains(QStringLiteral("LoadTotal")));
    }

    void saveAsTakesNoPatternAndAsksInKoreanBeforeReplacing() {
        Harness h;
        test::OpenFixtureAudit(h);
        FileDialogView view;
        bool openAfterPattern = false;
        QString question;
        QStringList answers;
        bool openAfterNo = false;
        WhenModal<QFileDialog>([&](QFileDialog& d) {
            view = Look(d);
            Enter(d);
            openAfterPattern = d.isVisible();
            d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QStringLiteral("audit.tls"));
            WhenModal<QMessageBox>([&](QMessageBox& box) {
                test::SaveScreenshot(&box, QStringLiteral("14-replace-question"));
                question = box.text();
                for (QAbstractButton* b : box.buttons())
                    answers << b->text();
                box.button(QMessageBox::No)->click();
            });
            Enter(d);
            openAfterNo = d.isVisible();
            d.reject();
        });
        {
            Unscripted real;
            h.Frame().OnCommand(ID_FILE_SAVE_AS);
        }
        QCOMPARE(view.caption, QStringLiteral("다른 이름으로 저장"));
        QCOMPARE(view.name, QStringLiteral("*.tls"));
        QCOMPARE(view.english, QStringList());
        QVERIFY(openAfterPattern);
        QVERIFY2(question.contains(QStringLiteral("audit.tls")) && HasHangul(question),
                 qPrintable(question));
        QCOMPARE(answers.size(), 2);
        QVERIFY2(HasHangul(answers.join(QString())), qPrintable(answers.join(QLatin1Char(' '))));
        QVERIFY(openAfterNo);
        QVERIFY(!h.Doc().calls.contains(QStringLiteral("SaveTotal")));
        QCOMPARE(h.Util().GetWorkState(), int(kTotalOpened));
    }
};

OSTRAVION_APP_TEST(QtDialogsTest);
#include "QtDialogsTest.moc"
