#include "GUIMain/CueListOrder.h"

#include <algorithm>

#include "Platform/Assert.h"

namespace GUIMain {

namespace {

// Blocks split when they pass kMaxBlock cues and are merged into a neighbour when they fall
// under kMinBlock: a search reads one block, a shift moves at most kMaxBlock pointers.
constexpr std::size_t kMaxBlock = 512;
constexpr std::size_t kMinBlock = 64;

}  // namespace

CueListOrder::CueListOrder() = default;
CueListOrder::~CueListOrder() = default;

void CueListOrder::setComparison(Comparison comparison, bool ascending)
{
    comparison_ = std::move(comparison);
    ascending_ = ascending;
}

int CueListOrder::compare(const Project::Cue& a, const Project::Cue& b) const
{
    if (!comparison_) {
        return 0;
    }
    return ascending_ ? comparison_(a, b) : comparison_(b, a);
}

Project::Cue* CueListOrder::at(int row) const
{
    if (row < 0 || row >= count_) {
        return nullptr;
    }
    const Block& block = *blocks_[static_cast<std::size_t>(blockOfRow(row))];
    return block.cues[static_cast<std::size_t>(row - block.firstRow)];
}

int CueListOrder::rowOf(const Project::Cue* cue) const
{
    const auto it = blockOf_.find(cue);
    if (it == blockOf_.end()) {
        return -1;
    }
    return it->second->firstRow + offsetIn(*it->second, cue);
}

int CueListOrder::offsetIn(const Block& block, const Project::Cue* cue) const
{
    const auto it = std::find(block.cues.begin(), block.cues.end(), cue);
    SKY_ASSERT(it != block.cues.end(), "CueListOrder");
    return static_cast<int>(it - block.cues.begin());
}

int CueListOrder::blockOfRow(int row) const
{
    // The last block whose first row is not after the row.
    const auto it = std::upper_bound(
        blocks_.begin(), blocks_.end(), row,
        [](int value, const std::unique_ptr<Block>& block) { return value < block->firstRow; });
    return static_cast<int>(it - blocks_.begin()) - 1;
}

void CueListOrder::shiftRowsAfter(int blockIndex, int delta)
{
    for (std::size_t i = static_cast<std::size_t>(blockIndex) + 1; i < blocks_.size(); ++i) {
        blocks_[i]->firstRow += delta;
    }
}

void CueListOrder::renumberBlocksFrom(int blockIndex)
{
    for (std::size_t i = static_cast<std::size_t>(std::max(0, blockIndex)); i < blocks_.size();
         ++i) {
        blocks_[i]->index = static_cast<int>(i);
    }
}

int CueListOrder::insert(Project::Cue* cue)
{
    SKY_ASSERT(cue != nullptr && !contains(cue), "CueListOrder");
    if (blocks_.empty()) {
        blocks_.push_back(std::make_unique<Block>());
        blocks_.back()->cues.push_back(cue);
        blockOf_.emplace(cue, blocks_.back().get());
        count_ = 1;
        return 0;
    }
    // The first block whose last cue compares greater than the new one takes it; after all
    // of them, the last block does.
    const auto greater = [this, cue](const Project::Cue* other) {
        return compare(*cue, *other) < 0;
    };
    auto blockIt = std::partition_point(
        blocks_.begin(), blocks_.end(),
        [&](const std::unique_ptr<Block>& block) { return !greater(block->cues.back()); });
    if (blockIt == blocks_.end()) {
        --blockIt;
    }
    Block& block = **blockIt;
    const auto at =
        std::partition_point(block.cues.begin(), block.cues.end(),
                             [&](const Project::Cue* other) { return !greater(other); });
    const int offset = static_cast<int>(at - block.cues.begin());
    block.cues.insert(at, cue);
    blockOf_.emplace(cue, &block);
    ++count_;
    shiftRowsAfter(block.index, 1);
    const int row = block.firstRow + offset;
    splitIfFull(block);
    return row;
}

int CueListOrder::remove(const Project::Cue* cue)
{
    const auto it = blockOf_.find(cue);
    if (it == blockOf_.end()) {
        return -1;
    }
    Block& block = *it->second;
    const int offset = offsetIn(block, cue);
    const int row = block.firstRow + offset;
    block.cues.erase(block.cues.begin() + offset);
    blockOf_.erase(it);
    --count_;
    shiftRowsAfter(block.index, -1);
    dropOrMergeIfSmall(block);
    return row;
}

int CueListOrder::reposition(Project::Cue* cue, bool* moved)
{
    if (moved != nullptr) {
        *moved = false;
    }
    const int row = rowOf(cue);
    if (row < 0) {
        return -1;
    }
    const Project::Cue* before = at(row - 1);
    const Project::Cue* after = at(row + 1);
    const bool outOfOrder = (before != nullptr && compare(*before, *cue) > 0) ||
                            (after != nullptr && compare(*cue, *after) > 0);
    if (!outOfOrder) {
        return row;
    }
    remove(cue);
    const int newRow = insert(cue);
    if (moved != nullptr) {
        *moved = newRow != row;
    }
    return newRow;
}

void CueListOrder::splitIfFull(Block& block)
{
    if (block.cues.size() <= kMaxBlock) {
        return;
    }
    auto second = std::make_unique<Block>();
    const std::size_t half = block.cues.size() / 2;
    second->cues.assign(block.cues.begin() + static_cast<std::ptrdiff_t>(half), block.cues.end());
    block.cues.resize(half);
    second->firstRow = block.firstRow + static_cast<int>(half);
    for (const Project::Cue* moved : second->cues) {
        blockOf_[moved] = second.get();
    }
    const int index = block.index;
    blocks_.insert(blocks_.begin() + index + 1, std::move(second));
    renumberBlocksFrom(index + 1);
}

void CueListOrder::dropOrMergeIfSmall(Block& block)
{
    const int index = block.index;
    if (block.cues.empty()) {
        blocks_.erase(blocks_.begin() + index);
        renumberBlocksFrom(index);
        return;
    }
    if (block.cues.size() >= kMinBlock || blocks_.size() < 2) {
        return;
    }
    // Into the block before it (or the one after the first block), when both fit in one.
    const int into = index > 0 ? index - 1 : index + 1;
    Block& first = *blocks_[static_cast<std::size_t>(std::min(index, into))];
    Block& second = *blocks_[static_cast<std::size_t>(std::max(index, into))];
    if (first.cues.size() + second.cues.size() > kMaxBlock) {
        return;
    }
    for (const Project::Cue* moved : second.cues) {
        blockOf_[moved] = &first;
    }
    first.cues.insert(first.cues.end(), second.cues.begin(), second.cues.end());
    const int gone = second.index;
    blocks_.erase(blocks_.begin() + gone);
    renumberBlocksFrom(gone);
}

void CueListOrder::assign(const std::vector<Project::Cue*>& cues)
{
    clear();
    blockOf_.reserve(cues.size());
    constexpr std::size_t kFill = kMaxBlock / 2;
    for (std::size_t start = 0; start < cues.size(); start += kFill) {
        auto block = std::make_unique<Block>();
        const std::size_t end = std::min(cues.size(), start + kFill);
        block->cues.assign(cues.begin() + static_cast<std::ptrdiff_t>(start),
                           cues.begin() + static_cast<std::ptrdiff_t>(end));
        block->firstRow = static_cast<int>(start);
        block->index = static_cast<int>(blocks_.size());
        for (const Project::Cue* cue : block->cues) {
            const bool added = blockOf_.emplace(cue, block.get()).second;
            SKY_ASSERT(added, "CueListOrder");
        }
        blocks_.push_back(std::move(block));
    }
    count_ = static_cast<int>(cues.size());
}

void CueListOrder::clear()
{
    blocks_.clear();
    blockOf_.clear();
    count_ = 0;
}

std::vector<Project::Cue*> CueListOrder::toVector() const
{
    std::vector<Project::Cue*> cues;
    cues.reserve(static_cast<std::size_t>(count_));
    for (const auto& block : blocks_) {
        cues.insert(cues.end(), block->cues.begin(), block->cues.end());
    }
    return cues;
}

void CueListOrder::forEach(int first, int count,
                           const std::function<void(int row, Project::Cue* cue)>& visit) const
{
    first = std::max(0, first);
    const int end = count < 0 ? count_ : std::min(count_, first + count);
    if (first >= end) {
        return;
    }
    std::size_t blockIndex = static_cast<std::size_t>(blockOfRow(first));
    int row = first;
    while (row < end && blockIndex < blocks_.size()) {
        const Block& block = *blocks_[blockIndex];
        for (std::size_t i = static_cast<std::size_t>(row - block.firstRow);
             i < block.cues.size() && row < end; ++i, ++row) {
            visit(row, block.cues[i]);
        }
        ++blockIndex;
    }
}

bool CueListOrder::isConsistent() const
{
    int row = 0;
    std::size_t mapped = 0;
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        const Block& block = *blocks_[i];
        if (block.index != static_cast<int>(i) || block.firstRow != row || block.cues.empty()) {
            return false;
        }
        for (const Project::Cue* cue : block.cues) {
            const auto it = blockOf_.find(cue);
            if (it == blockOf_.end() || it->second != &block || rowOf(cue) != row ||
                at(row) != cue) {
                return false;
            }
            ++row;
            ++mapped;
        }
    }
    return row == count_ && mapped == blockOf_.size();
}

}  // namespace GUIMain
