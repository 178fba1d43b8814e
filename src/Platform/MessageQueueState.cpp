#include "Platform/MessageQueueState.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

#include "Platform/Assert.h"

namespace Platform {

namespace {

constexpr const char* kUnit = "MessageQueue";

thread_local MessageQueueState* currentState = nullptr;
thread_local std::shared_ptr<MessageQueueState> privateWaiter;

}  // namespace

MessageQueueState::MessageQueueState(const Clock& clock) : clock_(clock)
{
    eventFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    SKY_ASSERT(eventFd_ >= 0, kUnit);
}

MessageQueueState::~MessageQueueState()
{
    ::close(eventFd_);
}

MessageQueueState* MessageQueueState::current()
{
    return currentState;
}

void MessageQueueState::setCurrent(MessageQueueState* state)
{
    currentState = state;
}

std::shared_ptr<MessageQueueState> MessageQueueState::waiterForThisThread()
{
    if (currentState) {
        return currentState->shared_from_this();
    }
    if (!privateWaiter) {
        privateWaiter = std::make_shared<MessageQueueState>(Clock::steady());
    }
    return privateWaiter;
}

void MessageQueueState::signalLocked()
{
    if (!signaled_) {
        signaled_ = true;
        const std::uint64_t one = 1;
        ssize_t written;
        do {
            written = ::write(eventFd_, &one, sizeof one);
        } while (written < 0 && errno == EINTR);
    }
}

void MessageQueueState::consumeSignal()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (signaled_) {
        std::uint64_t count;
        ssize_t got;
        do {
            got = ::read(eventFd_, &count, sizeof count);
        } while (got < 0 && errno == EINTR);
        signaled_ = false;
    }
}

bool MessageQueueState::post(const std::shared_ptr<WindowRecord>& window, const Message& message)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_ || !window->alive) {
        return false;
    }
    posted_.push_back({window, message, 0});
    signalLocked();
    return true;
}

bool MessageQueueState::postQuit(int exitCode)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_) {
        return false;
    }
    posted_.push_back({nullptr, Message{}, exitCode});
    signalLocked();
    return true;
}

bool MessageQueueState::pushSend(const std::shared_ptr<PendingSend>& send)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closed_ || !send->window->alive) {
            return false;
        }
        sends_.push_back(send);
        signalLocked();
    }
    wake_.notify_all();
    return true;
}

bool MessageQueueState::isAlive(const WindowRecord& window) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return window.alive && !closed_;
}

void MessageQueueState::finish(PendingSend& send, PendingSend::Outcome outcome, std::int64_t result)
{
    MessageQueueState& sender = *send.replyTo;
    {
        std::lock_guard<std::mutex> lock(sender.mutex_);
        send.outcome = outcome;
        send.result = result;
    }
    sender.wake_.notify_all();
}

bool MessageQueueState::serveOneSend()
{
    std::shared_ptr<PendingSend> send;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (sends_.empty()) {
            return false;
        }
        send = std::move(sends_.front());
        sends_.pop_front();
    }
    // `alive` changes only on this thread, so it cannot change under the handler's feet.
    if (!send->window->alive) {
        finish(*send, PendingSend::Outcome::Failed, 0);
        return true;
    }
    std::int64_t result = 0;
    try {
        result = send->window->handler(send->message);
    } catch (...) {
        // A failed invariant in a handler: release the sender before it goes on.
        finish(*send, PendingSend::Outcome::Failed, 0);
        throw;
    }
    finish(*send, PendingSend::Outcome::Answered, result);
    return true;
}

std::optional<std::int64_t> MessageQueueState::waitForAnswer(
    const std::shared_ptr<PendingSend>& send)
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (send->outcome == PendingSend::Outcome::Waiting) {
        if (!sends_.empty()) {
            lock.unlock();
            serveOneSend();
            lock.lock();
            continue;
        }
        wake_.wait(lock);
    }
    if (send->outcome == PendingSend::Outcome::Failed) {
        return std::nullopt;
    }
    return send->result;
}

void MessageQueueState::addWindow(WindowRecord* window)
{
    std::lock_guard<std::mutex> lock(mutex_);
    SKY_ASSERT(!closed_, kUnit);
    windows_.push_back(window);
}

void MessageQueueState::destroyWindow(WindowRecord& window)
{
    std::vector<std::shared_ptr<PendingSend>> failed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!window.alive) {
            return;
        }
        window.alive = false;
        windows_.erase(std::remove(windows_.begin(), windows_.end(), &window), windows_.end());
        for (auto it = sends_.begin(); it != sends_.end();) {
            if ((*it)->window.get() == &window) {
                failed.push_back(std::move(*it));
                it = sends_.erase(it);
            } else {
                ++it;
            }
        }
        posted_.erase(std::remove_if(posted_.begin(), posted_.end(),
                                     [&](const Posted& p) { return p.window.get() == &window; }),
                      posted_.end());
    }
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [&](const Timer& t) { return t.window.get() == &window; }),
                  timers_.end());
    for (const auto& send : failed) {
        finish(*send, PendingSend::Outcome::Failed, 0);
    }
}

void MessageQueueState::close()
{
    std::deque<std::shared_ptr<PendingSend>> failed;
    std::deque<Posted> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        for (WindowRecord* window : windows_) {
            window->alive = false;
        }
        windows_.clear();
        failed.swap(sends_);
        dropped.swap(posted_);
    }
    timers_.clear();
    for (const auto& send : failed) {
        finish(*send, PendingSend::Outcome::Failed, 0);
    }
}

bool MessageQueueState::hasPending() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return !posted_.empty() || !sends_.empty();
}

std::optional<int> MessageQueueState::dispatch()
{
    consumeSignal();
    std::size_t budget;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        budget = posted_.size();
    }
    std::optional<int> quit;
    // Sends go before every posted message: their senders are blocked.
    while (true) {
        while (serveOneSend()) {
        }
        if (budget == 0) {
            break;
        }
        Posted next;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (posted_.empty()) {
                break;
            }
            next = std::move(posted_.front());
            posted_.pop_front();
        }
        --budget;
        if (!next.window) {
            quit = next.exitCode;
            break;
        }
        if (next.window->alive) {
            next.window->handler(next.message);
        }
    }
    if (!quit) {
        fireDueTimers();
    }
    // Whatever is left (posted meanwhile, or behind a quit) keeps the wake descriptor
    // readable, so a host loop comes back for it.
    std::lock_guard<std::mutex> lock(mutex_);
    if (!posted_.empty() || !sends_.empty()) {
        signalLocked();
    }
    return quit;
}

void MessageQueueState::fireDueTimers()
{
    const std::int64_t now = clock_.now();
    while (true) {
        {
            // Timers come after posted messages, also those a timer handler posts.
            std::lock_guard<std::mutex> lock(mutex_);
            if (!posted_.empty()) {
                return;
            }
        }
        auto due = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->due <= now && (due == timers_.end() || it->due < due->due)) {
                due = it;
            }
        }
        if (due == timers_.end()) {
            return;
        }
        // A late timer fires once: its next deadline is the first one after now, on its
        // original beat.
        due->due += (now - due->due) / due->period * due->period + due->period;
        const std::shared_ptr<WindowRecord> window = due->window;
        const std::uint32_t id = due->id;
        if (window->alive) {
            window->handler(Message{WindowHandle(window->id), kMessageTimer, id, 0});
        }
        while (serveOneSend()) {
        }
    }
}

bool MessageQueueState::setTimer(const std::shared_ptr<WindowRecord>& window, std::uint32_t id,
                                 std::uint32_t periodMs)
{
    if (!window->alive) {
        return false;
    }
    const std::int64_t period =
        std::max<std::int64_t>(1, clock_.fromMilliseconds(std::max<std::uint32_t>(periodMs, 1)));
    const std::int64_t due = clock_.now() + period;
    for (Timer& timer : timers_) {
        if (timer.window == window && timer.id == id) {
            timer.period = period;
            timer.due = due;
            notifyTimersChanged();
            return true;
        }
    }
    timers_.push_back({window, id, period, due});
    notifyTimersChanged();
    return true;
}

bool MessageQueueState::killTimer(const WindowRecord& window, std::uint32_t id)
{
    auto it = std::find_if(timers_.begin(), timers_.end(),
                           [&](const Timer& t) { return t.window.get() == &window && t.id == id; });
    if (it == timers_.end()) {
        return false;
    }
    timers_.erase(it);
    notifyTimersChanged();
    return true;
}

void MessageQueueState::notifyTimersChanged()
{
    if (timersChanged_) {
        timersChanged_();
    }
}

int MessageQueueState::timerDelayMs() const
{
    if (timers_.empty()) {
        return -1;
    }
    std::int64_t earliest = std::numeric_limits<std::int64_t>::max();
    for (const Timer& timer : timers_) {
        earliest = std::min(earliest, timer.due);
    }
    return static_cast<int>(std::min<std::int64_t>(clock_.millisecondsUntil(earliest),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace Platform
