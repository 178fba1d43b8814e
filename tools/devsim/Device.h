#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "DeviceConfig.h"
#include "DeviceFrames.h"

namespace Devsim {

// The firing controller as seen from its serial port: it answers the PC's requests, keeps a
// queue of command words and executes them against its own clock, and takes its physical
// inputs (key switch, dead-man switch, step button, faults) as text commands. docs/
// device-contract.md is the contract it keeps.
//
// Time is passed in by the caller (microseconds on a monotonic clock), so the same object runs
// under the real event loop and under a test's hand-moved clock. Single-threaded.
class Device {
public:
    // Bytes for the PC, after the output faults (silence, garbling, dropping) were applied.
    using Output = std::function<void(const std::string& bytes)>;
    // One JSON object per call, without the line break.
    using LogSink = std::function<void(const std::string& line)>;

    enum class CommandResult { Done, Quit, Unplug, Invalid };

    Device(DeviceConfig config, Output output, LogSink logSink, int64_t nowUs);

    // Bytes written by the PC. Executes what became due and reports it.
    void receive(std::string_view bytes, int64_t nowUs);
    // One line of the operator's input; `error` says why an Invalid line was refused.
    CommandResult command(std::string_view line, int64_t nowUs, std::string& error);
    // Executes the words that are due by now and sends the timecode when it is time.
    void update(int64_t nowUs);
    // When update() next has something to do without new input; none while idle.
    std::optional<int64_t> nextDeadline(int64_t nowUs) const;
    // The operator holds the line ("stall on"): the device takes no bytes, so the PC's writes
    // wait and time out. The owner of the terminal applies it (flow control on the line).
    bool isStalled() const { return stalled_; }

private:
    // Master: the device runs its own timecode (play, pause, stop, locate from the PC).
    // Slave: the timecode comes from outside (the operator's "timecode" input).
    enum class ClockMode { None, Master, Slave };

    void handleFrame(const FrameReader::Received& frame, int64_t nowUs);
    void handleShowControl(std::string_view payload, int64_t nowUs);
    void handleModuleCheck(std::string_view payload);

    // Runs the queue; true when at least one word was executed.
    bool runQueue(int64_t nowUs);
    // Executes one word taken off the queue (or given for immediate execution); the result
    // text goes to the log.
    void execute(uint32_t word, int64_t index, const char* source, int64_t nowUs);
    void sendProgress();
    void sendRoom(uint8_t code);
    void sendStatusIfChanged(bool always);
    void sendTimecode(int64_t nowUs);
    void send(uint8_t code, std::string_view payload);
    // Puts bytes on the line after the output faults; `fields` describe them in the log.
    void transmit(std::string bytes, const std::string& fields);

    // Status byte: 0x01 pyro armed (armed by the PC, key on, pyro output enabled), 0x02
    // dead-man switch held, 0x08 dead-man switch overridden, 0x10 DMX output enabled.
    int statusFlags() const;
    bool pyroOutputDisabled() const;
    int freeRoom() const;
    int64_t timecodeFrames(int64_t nowUs) const;
    void setTimecode(int64_t frames, int64_t nowUs);
    double framesPerSecond() const;

    void log(std::string_view event, const std::string& fields);
    std::string timeField() const;

    DeviceConfig config_;
    Output output_;
    LogSink log_;
    FrameReader reader_;
    int64_t startUs_;
    int64_t lastNowUs_;

    // Queue: queue_.front() has the index executed_ in the PC's current group.
    std::deque<uint32_t> queue_;
    int64_t executed_ = 0;
    int64_t stepStartUs_ = -1;   // release of the last step wait; delays count from it
    int64_t delayStartUs_ = -1;  // start of the delay at the front when no step came before
    int64_t dmxDuration_ = 0;

    // Inputs and arming.
    bool armed_ = false;  // by the PC
    int armChannel_ = 128;
    bool keySwitch_ = true;
    bool deadMan_ = false;
    bool deadManOverride_ = false;
    bool pyroDisabled_ = false;
    bool dmxDisabled_ = false;
    int lastStatus_ = -1;
    int pyroLink_ = -1;

    // Timecode.
    ClockMode clockMode_ = ClockMode::None;
    int format_ = 1;
    bool timecodeKnown_ = false;
    bool timecodeRunning_ = false;
    int64_t timecodeBaseFrames_ = 0;
    int64_t timecodeBaseUs_ = 0;
    int64_t lastTimecodeReportUs_ = 0;

    // Output faults.
    bool silent_ = false;
    int garbleBytes_ = 0;
    int dropBytes_ = 0;
    bool stalled_ = false;
    // A faulty device: it keeps its arming when the PC disarms ("disarm-ignored"), and it
    // reports free room only in its replies to 10 and 14, never after a block ("room-reports").
    bool disarmIgnored_ = false;
    bool roomReports_ = true;
    // The next frame with this code goes out with another payload, or as these raw bytes in
    // place of the whole frame ("reply", "reply-raw").
    struct Replacement {
        bool raw = false;
        std::string bytes;
    };
    std::map<uint8_t, Replacement> replacements_;
};

}  // namespace Devsim
