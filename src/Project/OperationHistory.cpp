#include "Project/OperationHistory.h"

#include <utility>

namespace Project {

void OperationHistory::push(std::unique_ptr<IOperation> operation)
{
    top_ = (top_ + 1) % kCapacity;
    // When full, the new top is the slot of the oldest operation: it makes room.
    slots_[top_] = std::move(operation);
    if (count_ < kCapacity) {
        ++count_;
    }
}

std::unique_ptr<IOperation> OperationHistory::pop()
{
    if (count_ == 0) {
        return nullptr;
    }
    std::unique_ptr<IOperation> operation = std::move(slots_[top_]);
    top_ = (top_ + kCapacity - 1) % kCapacity;
    --count_;
    return operation;
}

void OperationHistory::clear()
{
    for (std::unique_ptr<IOperation>& slot : slots_) {
        slot.reset();
    }
    top_ = 0;
    count_ = 0;
}

}  // namespace Project
