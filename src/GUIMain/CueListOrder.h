#pragma once

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace Project {
class Cue;
}

namespace GUIMain {

// The cues in the order the cue list view shows them, with the row of every cue. Rows are
// kept in blocks of a few hundred cues with the first row of each block, so that finding a
// cue's row, the cue of a row, a sorted insertion and a removal each cost a search and a
// short shift, where one flat vector with a row map would shift the whole show per insertion.
//
// The order is the one of a sorted vector filled by bisection: a cue inserted among cues that
// compare equal goes after them, and a cue whose value changed moves only when it is out of
// order with a neighbour.
class CueListOrder {
public:
    // Negative, zero or positive as a sorts before, with or after b (ascending).
    using Comparison = std::function<int(const Project::Cue& a, const Project::Cue& b)>;

    CueListOrder();
    ~CueListOrder();
    CueListOrder(const CueListOrder&) = delete;
    CueListOrder& operator=(const CueListOrder&) = delete;

    // The comparison of later insertions and repositionings; the rows stay as they are.
    void setComparison(Comparison comparison, bool ascending);
    bool isAscending() const { return ascending_; }
    // The comparison in the shown direction.
    int compare(const Project::Cue& a, const Project::Cue& b) const;

    int size() const { return count_; }
    bool contains(const Project::Cue* cue) const { return blockOf_.count(cue) > 0; }
    // The cue of a row; null outside the rows.
    Project::Cue* at(int row) const;
    // The row of a cue; -1 when it is not in the order.
    int rowOf(const Project::Cue* cue) const;

    // Inserts after every cue that does not compare greater; returns the row.
    int insert(Project::Cue* cue);
    // Returns the row the cue had, or -1 when it was not in the order.
    int remove(const Project::Cue* cue);
    // After a value change: when the cue is out of order with the row before or after it, it
    // is taken out and inserted again. Returns its row; `moved` says whether it changed.
    int reposition(Project::Cue* cue, bool* moved = nullptr);
    // Replaces all rows by the cues in the given order.
    void assign(const std::vector<Project::Cue*>& cues);
    void clear();

    // Every cue in row order.
    std::vector<Project::Cue*> toVector() const;
    // Calls `visit(row, cue)` for the rows first .. first + count - 1 that exist.
    void forEach(int first, int count,
                 const std::function<void(int row, Project::Cue* cue)>& visit) const;

    // Whether every row maps back to its cue and every cue to its row.
    bool isConsistent() const;

private:
    struct Block {
        std::vector<Project::Cue*> cues;
        int firstRow = 0;
        int index = 0;  // position in blocks_
    };

    int offsetIn(const Block& block, const Project::Cue* cue) const;
    int blockOfRow(int row) const;
    void shiftRowsAfter(int blockIndex, int delta);
    void renumberBlocksFrom(int blockIndex);
    void splitIfFull(Block& block);
    void dropOrMergeIfSmall(Block& block);

    Comparison comparison_;
    bool ascending_ = true;
    int count_ = 0;
    std::vector<std::unique_ptr<Block>> blocks_;
    std::unordered_map<const Project::Cue*, Block*> blockOf_;
};

}  // namespace GUIMain
