#pragma once

#include <array>
#include <memory>

#include "Project/IOperation.h"

namespace Project {

// A bounded stack of operations kept as a ring: once full, a push destroys the oldest
// operation to make room, so at most kCapacity of the most recent operations are kept. The
// project keeps one for undo and one for redo and owns the operations through them.
class OperationHistory {
public:
    static constexpr int kCapacity = 256;

    OperationHistory() = default;
    OperationHistory(const OperationHistory&) = delete;
    OperationHistory& operator=(const OperationHistory&) = delete;

    // Stores the operation on top; the oldest one is destroyed first when the ring is full.
    void push(std::unique_ptr<IOperation> operation);
    // Takes the top operation out; null when the history is empty.
    std::unique_ptr<IOperation> pop();
    // Destroys every stored operation.
    void clear();

    // The top operation, still owned by the history; null when empty.
    const IOperation* top() const { return count_ > 0 ? slots_[top_].get() : nullptr; }
    int count() const { return count_; }
    bool empty() const { return count_ == 0; }

private:
    std::array<std::unique_ptr<IOperation>, kCapacity> slots_;
    int top_ = 0;
    int count_ = 0;
};

}  // namespace Project
