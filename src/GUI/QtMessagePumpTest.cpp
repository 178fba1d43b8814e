#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <thread>
#include <vector>

#include "GUI/QtMessagePump.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/TestComponents.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"

namespace GUI {
namespace {

constexpr std::uint32_t kNote = Platform::kMessageUser + 0x40;
constexpr std::uint32_t kDouble = Platform::kMessageUser + 0x41;

// The main thread's queue with its pump, and one message window on it that records what
// arrives and doubles what it is sent.
class QtMessagePumpTest : public ::testing::Test {
protected:
    Platform::MessageQueue queue_;
    QtMessagePump pump_{queue_};
    std::vector<std::uint64_t> notes_;
    int timerTicks_ = 0;
    Platform::MessageWindow window_{[this](const Platform::Message& m) -> std::int64_t {
        if (m.code == kNote) {
            notes_.push_back(m.wParam);
        } else if (m.code == kDouble) {
            return 2 * m.lParam;
        } else if (m.code == Platform::kMessageTimer && m.wParam == 3) {
            ++timerTicks_;
        }
        return 0;
    }};
};

TEST_F(QtMessagePumpTest, AWorkersPostsAndSendsReachTheMainThreadInsideTheQtLoop)
{
    const Platform::WindowHandle target = window_.handle();
    std::int64_t answer = 0;
    std::thread worker([&] {
        for (std::uint64_t i = 0; i < 50; ++i) {
            Platform::post(target, kNote, i);
        }
        // Answered by the main thread while it runs Qt's loop, after the notes before it.
        answer = Platform::send(target, kDouble, 0, 21).value_or(-1);
        for (std::uint64_t i = 50; i < 100; ++i) {
            Platform::post(target, kNote, i);
        }
        // A quit request on the main thread's queue ends Qt's loop with its code.
        Platform::postQuit(target, 7);
    });
    QTimer guard;  // a hung pump fails here
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    guard.start(5000);
    const int status = QApplication::exec();
    worker.join();

    EXPECT_EQ(status, 7);
    EXPECT_EQ(answer, 42);
    ASSERT_EQ(notes_.size(), 100u);
    for (std::uint64_t i = 0; i < 100; ++i) {
        EXPECT_EQ(notes_[i], i);
    }
}

TEST_F(QtMessagePumpTest, ATimerStartedFromAQtHandlerFiresAndAnIdlePumpStaysQuiet)
{
    // Started from a Qt event, outside the pump: the pump learns the deadline before the
    // loop sleeps.
    QTimer::singleShot(0, &pump_, [this] { window_.setTimer(3, 10); });
    ASSERT_TRUE(Testing::waitFor([this] { return timerTicks_ >= 3; }));

    ASSERT_TRUE(window_.killTimer(3));
    QTest::qWait(20);
    const int ticks = timerTicks_;
    const int rounds = pump_.rounds();
    QTest::qWait(100);
    EXPECT_EQ(timerTicks_, ticks);
    EXPECT_EQ(pump_.rounds(), rounds);

    // Woken again by a post from another thread, while Qt processes its events.
    std::thread([target = window_.handle()] { Platform::post(target, kNote, 9); }).join();
    EXPECT_TRUE(Testing::waitFor([this] { return notes_ == std::vector<std::uint64_t>{9}; }));
}

}  // namespace
}  // namespace GUI
