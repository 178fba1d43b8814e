#include <gtest/gtest.h>

#include "GUIMain/SidebarGrids.h"

namespace GUIMain {
namespace {

using Emulator = Controller::Emulator;

// A module of which pins 1 and 2 are used by cues, checked with the given continuity word
// (or not answering), as the emulator records a check.
Emulator::ModuleState checked(bool responsive, int continuity)
{
    Emulator emulator;
    emulator.moduleTested(5, responsive, continuity);
    Emulator::ModuleState state = emulator.getModuleState(5);
    state.pins[1].flags |= Emulator::PIN_ASSIGNED;
    state.pins[2].flags |= Emulator::PIN_ASSIGNED;
    return state;
}

TEST(SidebarModuleGrid, CellMarksFollowTheChecks)
{
    Emulator::ModuleState untested;
    untested.pins[1].flags |= Emulator::PIN_ASSIGNED;
    EXPECT_EQ(moduleMarkOf(untested), ModuleMark::kNotReported);
    EXPECT_EQ(moduleMarkOf(checked(true, 0x0006)), ModuleMark::kGood);
    EXPECT_EQ(moduleMarkOf(checked(false, 0)), ModuleMark::kCross) << "no answer";
    EXPECT_EQ(moduleMarkOf(checked(true, 0x0002)), ModuleMark::kCross) << "pin 2 is open";
    EXPECT_EQ(moduleMarkOf(checked(true, 0x0106)), ModuleMark::kQuestion)
        << "an igniter on pin 8, which no cue fires";

    const GUI::D2DPyroSlave::ModuleState view = slaveStateOf(5, checked(true, 0x0002));
    EXPECT_EQ(view.address, 5);
    EXPECT_EQ(view.channels[1], GUI::D2DPyroSlave::ChannelStatus::kConnected);
    EXPECT_EQ(view.channels[2], GUI::D2DPyroSlave::ChannelStatus::kOpen);
}

TEST(SidebarDmxGrid, TheBarIsElevenPixelsAtFullLevel)
{
    EXPECT_EQ(SidebarDmxGrid::barWidth(0), 0);
    EXPECT_EQ(SidebarDmxGrid::barWidth(23), 0);
    EXPECT_EQ(SidebarDmxGrid::barWidth(24), 1);
    EXPECT_EQ(SidebarDmxGrid::barWidth(255), 11);
}

}  // namespace
}  // namespace GUIMain
