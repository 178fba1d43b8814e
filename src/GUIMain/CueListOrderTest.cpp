#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <random>
#include <unordered_map>
#include <vector>

#include "GUIMain/CueListOrder.h"
#include "GUIMain/CueListSorting.h"
#include "Project/CueList.h"

namespace GUIMain {
namespace {

// The sorted list and the row map done the plain way: a vector filled by bisection, a map
// shifted at every insertion and removal. The order must show exactly what it shows.
class PlainOrder {
public:
    void setComparison(const CueComparison& comparison, bool ascending)
    {
        comparison_ = comparison;
        ascending_ = ascending;
    }
    int compare(const Project::Cue& a, const Project::Cue& b) const
    {
        return ascending_ ? comparison_(a, b) : comparison_(b, a);
    }
    void insert(Project::Cue* cue)
    {
        int low = 0;
        int high = static_cast<int>(list_.size());
        while (low < high) {
            const int middle = (low + high) / 2;
            if (compare(*cue, *list_[static_cast<std::size_t>(middle)]) < 0) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        list_.insert(list_.begin() + low, cue);
        renumberFrom(low);
    }
    void remove(Project::Cue* cue)
    {
        const int row = rows_.at(cue);
        list_.erase(list_.begin() + row);
        rows_.erase(cue);
        renumberFrom(row);
    }
    void changed(Project::Cue* cue)
    {
        const std::size_t row = static_cast<std::size_t>(rows_.at(cue));
        const bool outOfOrder = (row > 0 && compare(*list_[row - 1], *cue) > 0) ||
                                (row + 1 < list_.size() && compare(*cue, *list_[row + 1]) > 0);
        if (outOfOrder) {
            remove(cue);
            insert(cue);
        }
    }
    void sort()
    {
        std::stable_sort(
            list_.begin(), list_.end(),
            [this](const Project::Cue* a, const Project::Cue* b) { return compare(*a, *b) < 0; });
        renumberFrom(0);
    }
    const std::vector<Project::Cue*>& list() const { return list_; }

private:
    void renumberFrom(int row)
    {
        for (std::size_t i = static_cast<std::size_t>(row); i < list_.size(); ++i) {
            rows_[list_[i]] = static_cast<int>(i);
        }
    }

    CueComparison comparison_;
    bool ascending_ = true;
    std::vector<Project::Cue*> list_;
    std::unordered_map<const Project::Cue*, int> rows_;
};

TEST(CueListOrderTest, AgreesWithThePlainListUnderRandomChanges)
{
    const unsigned seed = std::random_device{}();
    std::cout << "CueListOrderTest seed " << seed << std::endl;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };

    Project::CueList cues;
    CueListOrder order;
    PlainOrder plain;
    CueComparison comparison{kColumnTimecode, {}};
    order.setComparison(comparison, true);
    plain.setComparison(comparison, true);
    std::vector<Project::Cue*> members;
    const wchar_t* racks[] = {L"A1", L"A10", L"A2", L"B01", L"a1"};
    const int columns[] = {kColumnNumber,  kColumnStatus,   kColumnTimecode,
                           kColumnPrefire, kColumnDuration, kColumnCommand,
                           kColumnGroup,   kColumnQuantity, kFirstMetadataColumn};

    for (int step = 0; step < 6000; ++step) {
        const int action = members.size() < 20 ? 0 : pick(0, 99);
        if (action < 45) {
            // Few timecodes and small values, so that many cues compare equal.
            Project::Cue* cue = cues.add(SMPTE(SMPTE::SMPTE_25, 0, 0, pick(0, 9), 0),
                                         Project::CueCommand::pyro(pick(-1, 3)), pick(0, 2),
                                         pick(0, 2), pick(0, 3), -1, "");
            cue->setQuantity(pick(1, 3));
            if (pick(0, 2) > 0) {
                cue->getMetadata().insert(0, L"Rack", racks[pick(0, 4)]);
            }
            members.push_back(cue);
            order.insert(cue);
            plain.insert(cue);
        } else if (action < 60) {
            const std::size_t index = static_cast<std::size_t>(pick(0, int(members.size()) - 1));
            Project::Cue* cue = members[index];
            members.erase(members.begin() + static_cast<std::ptrdiff_t>(index));
            const auto position = std::find(plain.list().begin(), plain.list().end(), cue);
            EXPECT_EQ(order.remove(cue), static_cast<int>(position - plain.list().begin()));
            plain.remove(cue);
            cues.remove(cue);
        } else if (action < 97) {
            Project::Cue* cue = members[static_cast<std::size_t>(pick(0, int(members.size()) - 1))];
            switch (pick(0, 6)) {
                case 0: cue->setTimecode(SMPTE(SMPTE::SMPTE_25, 0, 0, pick(0, 9), 0)); break;
                case 1: cue->setQuantity(pick(1, 3)); break;
                case 2: cue->setGroup(pick(0, 3)); break;
                case 3: cue->setState(pick(0, 7), 0, 0); break;
                case 4: cue->setNumber(pick(1, 50)); break;
                case 5: cue->setCommand(Project::CueCommand::pyro(pick(-1, 3))); break;
                default:
                    if (cue->getMetadata().indexOf(L"Rack") >= 0) {
                        cue->getMetadata().remove(cue->getMetadata().indexOf(L"Rack"));
                    } else {
                        cue->getMetadata().insert(0, L"Rack", racks[pick(0, 4)]);
                    }
                    break;
            }
            bool moved = false;
            order.reposition(cue, &moved);
            plain.changed(cue);
        } else {
            const int column = columns[pick(0, 8)];
            const bool ascending = pick(0, 1) == 0;
            comparison = CueComparison{column, column == kFirstMetadataColumn ? L"Rack" : L""};
            std::vector<Project::Cue*> sorted = order.toVector();
            sortCues(sorted, comparison, ascending);
            order.setComparison(comparison, ascending);
            order.assign(sorted);
            plain.setComparison(comparison, ascending);
            plain.sort();
        }
        ASSERT_EQ(order.toVector(), plain.list()) << "after step " << step;
        ASSERT_EQ(order.size(), static_cast<int>(members.size()));
        if (step % 50 == 0 || order.size() < 40) {
            ASSERT_TRUE(order.isConsistent()) << "after step " << step;
        }
    }
    EXPECT_TRUE(order.isConsistent());
}

TEST(CueListOrderTest, KeepsRowsAcrossManyBlocks)
{
    // Enough cues for many blocks; insertions at the front, the back and the middle, then
    // removals that empty and merge blocks.
    Project::CueList cues;
    CueListOrder order;
    order.setComparison(CueComparison{kColumnTimecode, {}}, true);
    std::vector<Project::Cue*> added;
    for (int i = 0; i < 3000; ++i) {
        const int frame = (i * 7919) % 3000;
        Project::Cue* cue = cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, frame),
                                     Project::CueCommand::pyro(1), 0, 0, 1, -1, "");
        added.push_back(cue);
        order.insert(cue);
    }
    ASSERT_TRUE(order.isConsistent());
    for (int row = 0; row < order.size(); ++row) {
        ASSERT_EQ(order.at(row)->getTimecode().getFrameNo(), row);
    }
    for (std::size_t i = 0; i < added.size(); i += 3) {
        order.remove(added[i]);
    }
    for (std::size_t i = 1; i < added.size(); i += 3) {
        order.remove(added[i]);
    }
    ASSERT_TRUE(order.isConsistent());
    EXPECT_EQ(order.size(), 1000);
    EXPECT_EQ(order.at(-1), nullptr);
    EXPECT_EQ(order.at(1000), nullptr);
    EXPECT_EQ(order.rowOf(added[0]), -1);
    int previous = -1;
    order.forEach(0, -1, [&](int, Project::Cue* cue) {
        EXPECT_GT(cue->getTimecode().getFrameNo(), previous);
        previous = cue->getTimecode().getFrameNo();
    });
}

}  // namespace
}  // namespace GUIMain
