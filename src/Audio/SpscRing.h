#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <optional>

namespace Audio {

// A fixed ring of values between exactly one producer thread and one consumer thread, without
// locks or allocation, so that the sound device's callback thread can use it.
//
// Memory order: `tail_` is written only by the producer, `head_` only by the consumer. The
// producer writes the slot, then publishes it by storing the new tail with release; the
// consumer loads the tail with acquire before it reads the slot, so it sees the slot's
// contents (and everything the producer wrote before, such as a buffer's samples). In turn
// the consumer frees a slot by storing the new head with release after it read the slot, and
// the producer loads the head with acquire before it writes the slot again, so a slot is
// never overwritten while it is being read. Each side reads its own index relaxed.
//
// While neither thread runs (the device's stream is stopped), one thread may take both roles.
template <typename T, std::size_t Capacity>
class SpscRing {
public:
    // Producer. False when the ring is full.
    bool push(const T& value)
    {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == Capacity) {
            return false;
        }
        slots_[tail % Capacity] = value;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer: the oldest value, left in the ring; nothing when it is empty.
    const T* front() const
    {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) {
            return nullptr;
        }
        return &slots_[head % Capacity];
    }

    // Consumer: removes and returns the oldest value.
    std::optional<T> pop()
    {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) {
            return std::nullopt;
        }
        T value = slots_[head % Capacity];
        head_.store(head + 1, std::memory_order_release);
        return value;
    }

    // Consumer; a snapshot that the producer may make larger.
    bool empty() const
    {
        return head_.load(std::memory_order_relaxed) == tail_.load(std::memory_order_acquire);
    }

private:
    std::array<T, Capacity> slots_{};
    // The indexes count up without wrapping in practice (2^64 values); the slot is index %
    // Capacity. Each on its own cache line, so that the two threads do not share one.
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
};

}  // namespace Audio
