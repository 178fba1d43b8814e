#include "GUI/QtMessagePump.h"

#include <QCoreApplication>

#include "Platform/Assert.h"
#include "Platform/MessageQueue.h"

namespace GUI {

QtMessagePump::QtMessagePump(Platform::MessageQueue& queue, QuitHandler onQuit)
    : queue_(queue),
      onQuit_(onQuit ? std::move(onQuit) : [](int exitCode) { QCoreApplication::exit(exitCode); }),
      notifier_(queue.wakeFd(), QSocketNotifier::Read)
{
    SKY_ASSERT_TEXT(Platform::MessageQueue::current() == &queue, "the queue of this thread",
                    "QtMessagePump");
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&notifier_, &QSocketNotifier::activated, this, [this] { serve(); });
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { serve(); });
    queue_.setTimersChangedCallback([this] { armTimer(); });
    // Whatever waits already is served at the first turn of the loop.
    if (queue_.hasPending()) {
        QTimer::singleShot(0, this, [this] { serve(); });
    }
    armTimer();
}

QtMessagePump::~QtMessagePump()
{
    queue_.setTimersChangedCallback({});
}

void QtMessagePump::serve()
{
    ++rounds_;
    // The descriptor stays readable while anything waits (messages posted while these were
    // handled, too), so the notifier brings the loop back for them.
    const bool goOn = queue_.processPending();
    armTimer();
    if (!goOn) {
        onQuit_(queue_.exitCode());
    }
}

void QtMessagePump::armTimer()
{
    const int delay = queue_.timerDelayMs();
    if (delay < 0) {
        timer_.stop();
        return;
    }
    timer_.start(delay);
}

}  // namespace GUI
