#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace Testing {

// Runs the device simulator (skyfirewright-devsim) as a child process for end-to-end tests:
// it plays the firing controller on a pseudo-terminal whose path it prints first, takes
// operator inputs and faults on its standard input and logs every frame and executed word as
// JSON lines. docs/device-contract.md lists the inputs and the log events.
//
//     Testing::DeviceSimulator device;
//     ASSERT_TRUE(device.start({"--module", "3=0x00FF"})) << device.error();
//     int port = device.openPort();            // or hand device.portPath() to the program
//     ...
//     device.command("key off");
//     EXPECT_TRUE(device.waitForLog({"\"event\":\"exec\"", "\"result\":\"fired\""}));
//     EXPECT_EQ(device.stop(), 0);
class DeviceSimulator {
public:
    DeviceSimulator();
    ~DeviceSimulator();
    DeviceSimulator(const DeviceSimulator&) = delete;
    DeviceSimulator& operator=(const DeviceSimulator&) = delete;

    // $SKYFIREWRIGHT_DEVSIM when set, otherwise the simulator this build made.
    static std::string defaultExecutable();

    // Starts the simulator with these arguments plus "--log" to a fresh file, and reads the
    // terminal's path. False with error() when it does not come up within five seconds.
    bool start(const std::vector<std::string>& arguments = {},
               const std::string& executable = defaultExecutable());

    const std::string& portPath() const { return portPath_; }
    const std::string& logPath() const { return logPath_; }
    const std::string& error() const { return error_; }
    pid_t pid() const { return pid_; }
    bool isRunning();

    // One operator input line, e.g. "step", "key off", "garble 3" (the line break is added).
    // Returns once the simulator has taken it (logged it as input); false when it could not
    // be written or was not taken within three seconds. Lines with quotes or backslashes are
    // not expected.
    bool command(const std::string& line);

    // Every log line written so far.
    std::vector<std::string> logLines() const;
    // Waits until a log line at or after line `fromLine` contains every fragment; that line,
    // or nothing after `timeoutMs`.
    std::optional<std::string> waitForLog(const std::vector<std::string>& fragments,
                                          int timeoutMs = 3000, size_t fromLine = 0) const;

    // The terminal opened as a PC opens its serial port: read and write, raw, non-blocking.
    // -1 on failure; the caller closes it.
    int openPort() const;

    // Sends "quit" and waits up to `timeoutMs` for the exit status; a simulator that does not
    // end is killed and -1 returned. Harmless when not running.
    int stop(int timeoutMs = 3000);

private:
    pid_t pid_ = -1;
    int stdinFd_ = -1;
    std::string directory_;
    std::string portPath_;
    std::string logPath_;
    std::string error_;
};

}  // namespace Testing
