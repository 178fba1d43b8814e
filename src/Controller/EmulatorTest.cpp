#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AssertionCapture.h"
#include "Controller/Emulator.h"
#include "Platform/ManualClock.h"
#include "Project/CueList.h"

namespace Controller {
namespace {

using Log = std::vector<std::string>;

class Recorder : public Emulator::Listener {
public:
    void onEmulatorReset() override { log.push_back("reset"); }
    void onModuleChanged(int module, const Emulator::ModuleState*) override
    {
        log.push_back("module " + std::to_string(module));
    }
    void onDmxCleared() override { log.push_back("cleared"); }
    void onDmxChannelChanged(int channel, int value, bool timed) override
    {
        log.push_back("channel " + std::to_string(channel) + "=" + std::to_string(value) +
                      (timed ? " timed" : ""));
    }
    Log log;
};

class EmulatorTest : public ::testing::Test {
protected:
    EmulatorTest()
    {
        const SMPTE t = SMPTE::fromFrameNo(SMPTE::SMPTE_25, 10);
        cues.add(t, Project::CueCommand::pyro(35), 0, 0, 0, -1, "");    // module 2, pin 3
        cues.add(t, Project::CueCommand::pyro(2048), 0, 0, 0, -1, "");  // beyond module 127
        cues.add(t, Project::CueCommand::dmx(0, 4, 1), 0, 0, 0, -1, "");
        emulator.addListener(&recorder);
        emulator.reset(&cues);
        recorder.log.clear();
    }
    uint8_t flags(int module, int pin) const
    {
        return emulator.getModuleState(module).pins[static_cast<std::size_t>(pin)].flags;
    }

    // 1000 counts a second: half a second is 500.
    Platform::ManualClock clock{0, 1000};
    Project::CueList cues;
    Emulator emulator{&clock};
    Recorder recorder;
};

TEST_F(EmulatorTest, ResetMarksAssignedPinsAndContinuityBeforeFiring)
{
    EXPECT_EQ(flags(2, 3), Emulator::PIN_ASSIGNED | Emulator::PIN_CONTINUITY_BEFORE);
    EXPECT_EQ(flags(2, 4), Emulator::PIN_CONTINUITY_BEFORE);
    EXPECT_EQ(flags(0, 4), Emulator::PIN_CONTINUITY_BEFORE);  // the DMX cue's channel is no pin
    EXPECT_TRUE(emulator.getModuleState(2).responsive);
}

TEST_F(EmulatorTest, FiringMarksRunOutAfterHalfASecond)
{
    clock.set(100);
    emulator.execute(0x80000203);  // module 2, pin 3
    clock.set(300);
    emulator.execute(0x80000205);  // module 2, pin 5: pin 3 stops firing, stays fired
    EXPECT_EQ(flags(2, 3) & (Emulator::PIN_FIRED | Emulator::PIN_FIRING), Emulator::PIN_FIRED);
    EXPECT_EQ(flags(2, 5) & (Emulator::PIN_FIRED | Emulator::PIN_FIRING),
              Emulator::PIN_FIRED | Emulator::PIN_FIRING);
    EXPECT_EQ(emulator.getModuleState(2).pins[5].fireMoment, 300);
    emulator.execute(0x80008000);  // module 128: ignored
    emulator.execute(0x80000010);  // pin 16: ignored
    clock.set(800);
    emulator.tick();  // exactly half a second: still firing
    EXPECT_TRUE(emulator.hasRunningTimers());
    clock.set(801);
    emulator.tick();
    EXPECT_FALSE(emulator.hasRunningTimers());  // the tick timer may stop now
    emulator.tick();                            // nothing left to change
    EXPECT_EQ(flags(2, 5) & (Emulator::PIN_FIRED | Emulator::PIN_FIRING), Emulator::PIN_FIRED);
    EXPECT_EQ(recorder.log, (Log{"module 2", "module 2", "module 2"}));
}

TEST_F(EmulatorTest, ChecksBeforeAndAfterFiring)
{
    emulator.moduleTested(2, true, 0x0008);  // pin 3 connected
    EXPECT_EQ(flags(2, 3), Emulator::PIN_ASSIGNED | Emulator::PIN_CONTINUITY |
                               Emulator::PIN_TESTED | Emulator::PIN_CONTINUITY_BEFORE |
                               Emulator::PIN_TESTED_BEFORE);
    EXPECT_EQ(flags(2, 4), Emulator::PIN_TESTED | Emulator::PIN_TESTED_BEFORE);
    emulator.execute(0x80000203);
    // After firing only the current continuity and the tested mark follow the checks.
    emulator.moduleTested(2, true, 0x0010);
    EXPECT_EQ(flags(2, 3), Emulator::PIN_ASSIGNED | Emulator::PIN_FIRED | Emulator::PIN_FIRING |
                               Emulator::PIN_TESTED | Emulator::PIN_CONTINUITY_BEFORE |
                               Emulator::PIN_TESTED_BEFORE);
    EXPECT_EQ(flags(2, 4), Emulator::PIN_CONTINUITY | Emulator::PIN_TESTED |
                               Emulator::PIN_CONTINUITY_BEFORE | Emulator::PIN_TESTED_BEFORE);
    // A module that does not answer is tested and unresponsive; its pins keep their flags.
    clock.set(42);
    const uint8_t before = flags(2, 4);
    emulator.moduleTested(2, false, 0);
    EXPECT_EQ(flags(2, 4), before);
    EXPECT_TRUE(emulator.getModuleState(2).tested);
    EXPECT_EQ(emulator.getModuleState(2).testMoment, 42);
    EXPECT_FALSE(emulator.getModuleState(2).responsive);
    // Module numbers from the device beyond the table are ignored.
    EXPECT_FALSE(emulator.moduleTested(200, true, 0xFFFF));
    EXPECT_EQ(recorder.log, (Log{"module 2", "module 2", "module 2", "module 2"}));
}

TEST_F(EmulatorTest, DmxValuesSteadyAndTimed)
{
    emulator.execute(0x91000480);  // channel 4 = 128
    emulator.execute(0x91000480);  // unchanged: nothing
    emulator.execute(0x91020480);  // universe 1: ignored
    emulator.execute(0x90000008);  // 8/40 s = 200 counts
    EXPECT_FALSE(emulator.hasRunningTimers());
    clock.set(1000);
    emulator.execute(0x91000480);  // timed: notifies even when equal
    EXPECT_EQ(emulator.getChannelState(4).timedUntil, 1200);
    EXPECT_TRUE(emulator.hasRunningTimers());
    clock.set(1200);
    emulator.tick();
    clock.set(1201);
    emulator.tick();  // the timed value ends: the steady value again
    EXPECT_EQ(emulator.getChannelState(4).timedUntil, Emulator::kNoTime);
    emulator.execute(0x92000000);
    EXPECT_EQ(emulator.getChannelState(4).value, 0);
    EXPECT_EQ(recorder.log,
              (Log{"channel 4=128", "channel 4=128 timed", "channel 4=128", "cleared"}));
}

TEST_F(EmulatorTest, ReadsOutsideTheTablesAreInternalErrors)
{
    EXPECT_INVARIANT(emulator.getModuleState(128), "address < 128", "Emulator");
    EXPECT_INVARIANT(emulator.getModuleState(-1), "address >= 0", "Emulator");
    EXPECT_INVARIANT(emulator.getChannelState(512), "channel < 512", "Emulator");
}

}  // namespace
}  // namespace Controller
