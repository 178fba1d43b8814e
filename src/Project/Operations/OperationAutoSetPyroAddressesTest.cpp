#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Project/Operations/OperationAutoSetPyroAddresses.h"
#include "Project/Operations/OperationTestSupport.h"

namespace Project {
namespace {

class AutoAddresses : public OperationTest {
protected:
    // A selected pyro cue without address at `frame` with the grouping metadata.
    Cue* cueAt(int frame, const std::wstring& position = L"front", int prefire = 0)
    {
        Cue* cue = cues().add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, frame),
                              CueCommand::pyro(CueCommand::kNoAddress), prefire, 0, 1, -1, "");
        cue->getMetadata().insert(-1, L"~POS", position);
        cue->getMetadata().insert(-1, L"~TYPE", L"comet");
        cue->setSelected(true);
        order.push_back(cue->getId());
        return cue;
    }

    bool run() { return project.submit(std::make_unique<OperationAutoSetPyroAddresses>(order)); }

    std::vector<int> addresses(const std::vector<Cue*>& chosen)
    {
        std::vector<int> result;
        for (const Cue* cue : chosen) {
            result.push_back(cue->getCommand().getAddress());
        }
        return result;
    }

    std::vector<int> order;  // the view order
};

using Addresses = std::vector<int>;

TEST_F(AutoAddresses, CuesOfOneGroupShareAModuleInViewOrder)
{
    Cue* a = cueAt(10);
    Cue* b = cueAt(20);
    Cue* c = cueAt(30);
    order = {c->getId(), a->getId(), b->getId()};
    ASSERT_TRUE(run());
    EXPECT_EQ(addresses({c, a, b}), (Addresses{0x010, 0x011, 0x012}));
    project.undo();
    EXPECT_EQ(addresses({a, b, c}), (Addresses{-1, -1, -1}));
    EXPECT_EQ(project.getUndoText(), L"UNDO.NOTHING");
    EXPECT_EQ(project.getRedoText(), L"UNDO.AUTO_SET_ADDR");
}

TEST_F(AutoAddresses, ASecondCueAtTheSameMomentOpensAnotherModule)
{
    Cue* a = cueAt(10);
    Cue* b = cueAt(15, L"front", 5);  // fires at frame 10 as well
    Cue* c = cueAt(30);
    ASSERT_TRUE(run());
    EXPECT_EQ(addresses({a, b, c}), (Addresses{0x010, 0x020, 0x011}));
}

// Every cue placed on a module counts for its moments, not only the first.
TEST_F(AutoAddresses, NoModuleFiresTwoCuesAtOneMoment)
{
    Cue* a = cueAt(10);
    Cue* b = cueAt(20);
    Cue* c = cueAt(20);
    ASSERT_TRUE(run());
    EXPECT_EQ(addresses({a, b, c}), (Addresses{0x010, 0x011, 0x020}));
}

TEST_F(AutoAddresses, UnselectedAddressesStayTakenAndModulesSkipTheirTail)
{
    // Ten groups open modules 0x010..0x090 and 0x100; an unselected cue holds 0x010.
    Cue* holder = cueAt(1, L"g0");
    holder->setCommand(CueCommand::pyro(0x010));
    holder->setSelected(false);
    std::vector<Cue*> groups;
    for (int g = 0; g < 10; ++g) {
        groups.push_back(cueAt(100 + g, L"g" + std::to_wstring(g)));
    }
    ASSERT_TRUE(run());
    EXPECT_EQ(addresses(groups),
              (Addresses{0x011, 0x020, 0x030, 0x040, 0x050, 0x060, 0x070, 0x080, 0x090, 0x100}));
}

TEST_F(AutoAddresses, RunningOutOfModulesFailsAndChangesNothing)
{
    // 10 modules per 0x100 block (0x000 never given): 159 groups fit, the 160th does not.
    for (int g = 0; g < 160; ++g) {
        cueAt(g, L"g" + std::to_wstring(g));
    }
    const std::vector<std::string> before = state();
    EXPECT_FALSE(run());
    EXPECT_EQ(project.getLastError(), L"ERROR.NO_FREE_PYRO_ADDRESS");
    EXPECT_EQ(state(), before);
    cues().remove(cues().last());
    order.pop_back();
    ASSERT_TRUE(run());
    EXPECT_EQ(cues().last()->getCommand().getAddress(), 0xF90);
}

}  // namespace
}  // namespace Project
