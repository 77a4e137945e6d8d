// The core's messages in the desktop program: code page, threads.
#include "qt/GuiMessages.h"
#include "qt/AppFixture.h"

#include <QTest>
#include <atomic>
#include <thread>

using namespace ostravion;
using namespace ostravion::gui;

class GuiMessagesTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        Dialogs::SetScripted(true);
        Dialogs::Reset();
    }

    void textsComeFromTheSystemCodePage() {
        test::TestPlatform platform;
        GuiMessages m(platform.Codec());
        m.Show("Write File Open Error...!!");
        m.Inform("\xC0\xFA\xC0\xE5\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9."); // 저장되었습니다.
        Dialogs::SetNextAnswer(true);
        QVERIFY(m.Ask("Q?"));
        QVERIFY(!m.Ask("Q?"));
        QCOMPARE(
            Dialogs::Log(),
            QStringList({QStringLiteral("show: Write File Open Error...!!\n파일을 쓸 수 없습니다."),
                         QStringLiteral("inform: 저장되었습니다."), QStringLiteral("ask: Q? = yes"),
                         QStringLiteral("ask: Q? = no")}));
    }

    void otherThreadsAreServedOnThisOne() {
        test::TestPlatform platform;
        GuiMessages m(platform.Codec());
        Dialogs::SetNextAnswer(true);
        std::atomic<int> answer{-1};
        std::thread worker([&] {
            m.Show("from the scan");
            answer = m.Ask("go on?") ? 1 : 0;
        });
        QTRY_COMPARE(answer.load(), 1);
        worker.join();
        QCOMPARE(Dialogs::Log(), QStringList({QStringLiteral("show: from the scan"),
                                              QStringLiteral("ask: go on? = yes")}));
    }

    void aWaitingThreadCanBeReleased() {
        test::TestPlatform platform;
        GuiMessages m(platform.Codec());
        std::atomic<int> answer{-1};
        std::thread worker([&] { answer = m.Ask("stuck?") ? 1 : 0; });
        // This thread does not run its event loop, as when it waits for the
        // scan thread to end; releasing the wait lets the worker go on.
        while (answer == -1) {
            m.CancelWaits();
            std::this_thread::yield();
        }
        worker.join();
        QCOMPARE(answer.load(), 0);
        QCoreApplication::processEvents();
        QVERIFY(Dialogs::Log().isEmpty()); // the question was never put
    }
};

OSTRAVION_APP_TEST(GuiMessagesTest);
#include "GuiMessagesTest.moc"
