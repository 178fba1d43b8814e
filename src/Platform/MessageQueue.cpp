#include "Platform/MessageQueue.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <utility>

#include "Platform/Assert.h"
#include "Platform/MessageQueueState.h"

namespace Platform {

namespace {

constexpr const char* kUnit = "MessageQueue";

thread_local MessageQueue* currentQueue = nullptr;

}  // namespace

MessageQueue::MessageQueue(const Clock& clock)
    : clock_(clock), state_(std::make_shared<MessageQueueState>(clock))
{
    SKY_ASSERT_TEXT(currentQueue == nullptr, "one queue per thread", kUnit);
    currentQueue = this;
    MessageQueueState::setCurrent(state_.get());
}

MessageQueue::~MessageQueue()
{
    SKY_ASSERT_TEXT(currentQueue == this, "queue used by its own thread", kUnit);
    state_->close();
    currentQueue = nullptr;
    MessageQueueState::setCurrent(nullptr);
}

MessageQueue* MessageQueue::current()
{
    return currentQueue;
}

int MessageQueue::run()
{
    SKY_ASSERT_TEXT(currentQueue == this, "queue used by its own thread", kUnit);
    while (true) {
        if (std::optional<int> quit = state_->dispatch()) {
            exitCode_ = *quit;
            return exitCode_;
        }
        const int timeout = state_->hasPending() ? 0 : state_->timerDelayMs();
        pollAndServe(timeout);
        if (timeout != 0) {
            wakeCount_.fetch_add(1);
        }
    }
}

bool MessageQueue::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                            std::chrono::milliseconds recheck)
{
    SKY_ASSERT_TEXT(currentQueue == this, "queue used by its own thread", kUnit);
    // Real time, not the queue's clock: a test's manual clock must not make it wait forever.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (std::optional<int> quit = state_->dispatch()) {
            exitCode_ = *quit;
            return done();
        }
        if (done()) {
            return true;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return false;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        int wait = static_cast<int>(std::min(left, recheck).count());
        if (state_->hasPending()) {
            wait = 0;
        } else if (const int timer = state_->timerDelayMs(); timer >= 0) {
            wait = std::min(wait, timer);
        }
        pollAndServe(wait);
    }
}

bool MessageQueue::processPending()
{
    SKY_ASSERT_TEXT(currentQueue == this, "queue used by its own thread", kUnit);
    if (std::optional<int> quit = state_->dispatch()) {
        exitCode_ = *quit;
        return false;
    }
    if (!watches_.empty()) {
        pollAndServe(0);
    }
    return true;
}

void MessageQueue::pollAndServe(int timeoutMs)
{
    std::vector<pollfd> fds;
    fds.reserve(watches_.size() + 1);
    fds.push_back({state_->wakeFd(), POLLIN, 0});
    for (const Watch& watch : watches_) {
        fds.push_back({watch.fd, watch.events, 0});
    }
    int ready;
    do {
        ready = ::poll(fds.data(), fds.size(), timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) {
        return;
    }
    // Callbacks may watch and unwatch; each ready descriptor is looked up again before its
    // callback runs, and the callback is kept alive while it runs.
    for (std::size_t i = 1; i < fds.size(); ++i) {
        if (fds[i].revents == 0) {
            continue;
        }
        auto it = std::find_if(watches_.begin(), watches_.end(),
                               [&](const Watch& w) { return w.fd == fds[i].fd; });
        if (it == watches_.end()) {
            continue;
        }
        const std::shared_ptr<FdCallback> callback = it->callback;
        (*callback)(fds[i].revents);
    }
}

bool MessageQueue::hasPending() const
{
    return state_->hasPending();
}

int MessageQueue::wakeFd() const
{
    return state_->wakeFd();
}

int MessageQueue::timerDelayMs() const
{
    SKY_ASSERT_TEXT(currentQueue == this, "queue used by its own thread", kUnit);
    return state_->timerDelayMs();
}

void MessageQueue::setTimersChangedCallback(std::function<void()> callback)
{
    SKY_ASSERT_TEXT(currentQueue == this, "queue used by its own thread", kUnit);
    state_->setTimersChanged(std::move(callback));
}

void MessageQueue::watchFd(int fd, short events, FdCallback callback)
{
    SKY_ASSERT_TEXT(currentQueue == this, "queue used by its own thread", kUnit);
    SKY_ASSERT(fd >= 0 && callback, kUnit);
    auto shared = std::make_shared<FdCallback>(std::move(callback));
    for (Watch& watch : watches_) {
        if (watch.fd == fd) {
            watch.events = events;
            watch.callback = std::move(shared);
            return;
        }
    }
    watches_.push_back({fd, events, std::move(shared)});
}

bool MessageQueue::unwatchFd(int fd)
{
    SKY_ASSERT_TEXT(currentQueue == this, "queue used by its own thread", kUnit);
    auto it =
        std::find_if(watches_.begin(), watches_.end(), [&](const Watch& w) { return w.fd == fd; });
    if (it == watches_.end()) {
        return false;
    }
    watches_.erase(it);
    return true;
}

void postQuit(int exitCode)
{
    MessageQueueState* state = MessageQueueState::current();
    SKY_ASSERT_TEXT(state != nullptr, "thread has a queue", "MessageQueue");
    state->postQuit(exitCode);
}

}  // namespace Platform
