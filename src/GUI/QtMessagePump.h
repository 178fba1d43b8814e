#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>

namespace Platform {
class MessageQueue;
}

namespace GUI {

// Serves the main thread's message queue from Qt's event loop, so that the messages the
// services' workers post and send, and the timers of the main thread's message windows,
// reach those windows inside a Qt program. The queue's wake descriptor (readable while
// messages wait) wakes the loop through a socket notifier; a single-shot timer waits for
// the queue's next timer, and is set again after every round and whenever a timer of the
// queue is set or killed, also from a Qt event handler outside a round.
//
// A quit request on the queue (Platform::postQuit) ends the event loop with its exit code,
// unless a different answer is given.
class QtMessagePump : public QObject {
public:
    using QuitHandler = std::function<void(int exitCode)>;

    // `queue` belongs to the calling thread, which runs the Qt event loop, and outlives the
    // pump.
    explicit QtMessagePump(Platform::MessageQueue& queue, QuitHandler onQuit = {});
    ~QtMessagePump() override;
    QtMessagePump(const QtMessagePump&) = delete;
    QtMessagePump& operator=(const QtMessagePump&) = delete;

    // How often the pump served the queue, for checks that an idle pump stays quiet.
    int rounds() const { return rounds_; }

private:
    void serve();
    void armTimer();

    Platform::MessageQueue& queue_;
    QuitHandler onQuit_;
    QSocketNotifier notifier_;
    QTimer timer_;
    int rounds_ = 0;
};

}  // namespace GUI
