#include "Platform/MessageWindow.h"

#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>

#include "Platform/Assert.h"
#include "Platform/MessageQueueState.h"

namespace Platform {

namespace {

constexpr const char* kUnit = "MessageWindow";

// Every window of the process by number, so that a handle found in a message parameter
// leads to its window. Any thread looks up; windows add and remove themselves.
class Registry {
public:
    std::shared_ptr<WindowRecord> add(std::shared_ptr<MessageQueueState> queue,
                                      MessageHandler handler)
    {
        auto record = std::make_shared<WindowRecord>();
        record->queue = std::move(queue);
        record->handler = std::move(handler);
        std::lock_guard<std::mutex> lock(mutex_);
        record->id = nextId_++;
        windows_.emplace(record->id, record);
        return record;
    }

    void remove(std::uint64_t id)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        windows_.erase(id);
    }

    std::shared_ptr<WindowRecord> find(WindowHandle handle)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = windows_.find(handle.value());
        return it == windows_.end() ? nullptr : it->second;
    }

private:
    std::mutex mutex_;
    std::unordered_map<std::uint64_t, std::shared_ptr<WindowRecord>> windows_;
    std::uint64_t nextId_ = 1;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

}  // namespace

MessageWindow::MessageWindow(MessageHandler handler)
{
    MessageQueueState* queue = MessageQueueState::current();
    SKY_ASSERT_TEXT(queue != nullptr, "thread has a queue", kUnit);
    SKY_ASSERT(handler, kUnit);
    record_ = registry().add(queue->shared_from_this(), std::move(handler));
    handle_ = WindowHandle(record_->id);
    queue->addWindow(record_.get());
}

MessageWindow::~MessageWindow()
{
    destroy();
}

void MessageWindow::destroy()
{
    if (!record_) {
        return;
    }
    SKY_ASSERT_TEXT(MessageQueueState::current() == record_->queue.get() || !isWindow(handle_),
                    "window destroyed by its own thread", kUnit);
    record_->queue->destroyWindow(*record_);
    registry().remove(record_->id);
    record_.reset();
}

bool MessageWindow::setTimer(std::uint32_t id, std::uint32_t periodMs)
{
    if (!record_) {
        return false;
    }
    SKY_ASSERT_TEXT(MessageQueueState::current() == record_->queue.get(),
                    "timer set by the window's own thread", kUnit);
    return record_->queue->setTimer(record_, id, periodMs);
}

bool MessageWindow::killTimer(std::uint32_t id)
{
    if (!record_) {
        return false;
    }
    SKY_ASSERT_TEXT(MessageQueueState::current() == record_->queue.get(),
                    "timer killed by the window's own thread", kUnit);
    return record_->queue->killTimer(*record_, id);
}

bool post(WindowHandle window, std::uint32_t code, std::uint64_t wParam, std::int64_t lParam)
{
    std::shared_ptr<WindowRecord> record = registry().find(window);
    if (!record) {
        return false;
    }
    return record->queue->post(record, Message{window, code, wParam, lParam});
}

std::optional<std::int64_t> send(WindowHandle window, std::uint32_t code, std::uint64_t wParam,
                                 std::int64_t lParam)
{
    std::shared_ptr<WindowRecord> record = registry().find(window);
    if (!record) {
        return std::nullopt;
    }
    const Message message{window, code, wParam, lParam};
    if (record->queue.get() == MessageQueueState::current()) {
        // `alive` changes only on this thread.
        if (!record->alive) {
            return std::nullopt;
        }
        return record->handler(message);
    }
    auto pending = std::make_shared<PendingSend>();
    pending->window = record;
    pending->message = message;
    pending->replyTo = MessageQueueState::waiterForThisThread();
    if (!record->queue->pushSend(pending)) {
        return std::nullopt;
    }
    return pending->replyTo->waitForAnswer(pending);
}

bool postQuit(WindowHandle window, int exitCode)
{
    std::shared_ptr<WindowRecord> record = registry().find(window);
    if (!record || !isWindow(window)) {
        return false;
    }
    return record->queue->postQuit(exitCode);
}

bool isWindow(WindowHandle window)
{
    std::shared_ptr<WindowRecord> record = registry().find(window);
    if (!record) {
        return false;
    }
    return record->queue->isAlive(*record);
}

}  // namespace Platform
