// skyfirewright-devsim: plays the USB firing controller on a pseudo-terminal, for tests and
// rehearsals without hardware. docs/device-contract.md describes what it does.
//
//   skyfirewright-devsim [--log PATH] [--module M=MASK ...] [--modules FILE] [--room N]
//                        [--info A,B,C,D]
//   skyfirewright-devsim check-fws FILE.fws
//
// The first line of standard output is the path of the terminal the program opens as its
// serial port. Operator inputs and faults are read from standard input, one a line.

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "Device.h"
#include "DeviceConfig.h"
#include "ShowFileCheck.h"

namespace {

int64_t nowMicroseconds()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int checkFws(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "check-fws: cannot read " << path << "\n";
        return 1;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    Devsim::ShowFileSummary summary;
    std::string reason;
    if (!Devsim::checkShowFile(bytes.str(), summary, reason)) {
        std::cerr << "check-fws: " << path << ": " << reason << "\n";
        return 1;
    }
    std::cout << "ok: " << summary.records << " records, format " << summary.format << ", exported "
              << summary.exportTime << "\n";
    return 0;
}

// Writes everything or gives up after the PC has not read for a while: a device whose host
// stopped reading loses its output, it does not hang.
bool writeAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            pollfd out{fd, POLLOUT, 0};
            if (::poll(&out, 1, 20) > 0) {
                continue;
            }
        }
        return false;
    }
    return true;
}

struct Terminal {
    int master = -1;
    int slaveKeeper = -1;  // keeps the line up while no PC has the port open
    std::string path;
};

bool openTerminal(Terminal& terminal, std::string& error)
{
    terminal.master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal.master < 0 || ::grantpt(terminal.master) != 0 ||
        ::unlockpt(terminal.master) != 0) {
        error = "cannot open a pseudo-terminal";
        return false;
    }
    const char* name = ::ptsname(terminal.master);
    if (name == nullptr) {
        error = "pseudo-terminal has no name";
        return false;
    }
    terminal.path = name;
    // Holding the other end open stops the line from hanging up between PC sessions, and
    // raw mode keeps the line discipline from echoing or editing the bytes.
    terminal.slaveKeeper = ::open(name, O_RDWR | O_NOCTTY);
    termios settings{};
    if (terminal.slaveKeeper < 0 || ::tcgetattr(terminal.slaveKeeper, &settings) != 0) {
        error = "cannot open the terminal's port end";
        return false;
    }
    ::cfmakeraw(&settings);
    ::tcsetattr(terminal.slaveKeeper, TCSANOW, &settings);
    ::fcntl(terminal.master, F_SETFL, ::fcntl(terminal.master, F_GETFL) | O_NONBLOCK);
    return true;
}

void closeTerminal(Terminal& terminal)
{
    if (terminal.master >= 0) {
        ::close(terminal.master);
        terminal.master = -1;
    }
    if (terminal.slaveKeeper >= 0) {
        ::close(terminal.slaveKeeper);
        terminal.slaveKeeper = -1;
    }
}

int runDevice(const std::vector<std::string>& arguments)
{
    Devsim::DeviceConfig config;
    std::string error;
    if (!Devsim::parseArguments(arguments, config, error)) {
        std::cerr << "skyfirewright-devsim: " << error << "\n";
        return 2;
    }
    std::FILE* logFile = nullptr;
    if (!config.logPath.empty()) {
        logFile = std::fopen(config.logPath.c_str(), "w");
        if (logFile == nullptr) {
            std::cerr << "skyfirewright-devsim: cannot write log " << config.logPath << "\n";
            return 1;
        }
    }
    Terminal terminal;
    if (!openTerminal(terminal, error)) {
        std::cerr << "skyfirewright-devsim: " << error << "\n";
        return 1;
    }
    ::signal(SIGPIPE, SIG_IGN);
    std::cout << terminal.path << std::endl;

    const auto log = [logFile](const std::string& line) {
        if (logFile != nullptr) {
            std::fputs(line.c_str(), logFile);
            std::fputc('\n', logFile);
            std::fflush(logFile);
        }
    };
    const auto output = [&terminal](const std::string& bytes) {
        if (terminal.master >= 0) {
            writeAll(terminal.master, bytes);
        }
    };
    Devsim::Device device(config, output, log, nowMicroseconds());

    std::string pendingInput;
    bool stdinOpen = true;
    bool running = true;
    bool lineHeld = false;
    while (running) {
        // Sleep until input arrives or the next word is due; with nothing due, indefinitely.
        const int64_t now = nowMicroseconds();
        const std::optional<int64_t> deadline = device.nextDeadline(now);
        int timeoutMs = -1;
        if (deadline) {
            timeoutMs = static_cast<int>(std::max<int64_t>(0, (*deadline - now + 999) / 1000));
        }
        pollfd fds[2] = {{terminal.master, POLLIN, 0}, {stdinOpen ? 0 : -1, POLLIN, 0}};
        if (::poll(fds, 2, timeoutMs) < 0 && errno != EINTR) {
            std::cerr << "skyfirewright-devsim: poll failed\n";
            break;
        }
        if (terminal.master >= 0 && (fds[0].revents & POLLIN)) {
            char buffer[4096];
            ssize_t n = 0;
            while ((n = ::read(terminal.master, buffer, sizeof buffer)) > 0) {
                device.receive(std::string_view(buffer, static_cast<size_t>(n)), nowMicroseconds());
            }
        } else if (terminal.master >= 0 && (fds[0].revents & (POLLHUP | POLLERR))) {
            // Cannot happen while the keeper holds the line; if it does, the port is gone.
            std::cerr << "skyfirewright-devsim: the terminal hung up\n";
            closeTerminal(terminal);
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[1024];
            const ssize_t n = ::read(0, buffer, sizeof buffer);
            if (n <= 0) {
                stdinOpen = false;  // end of input: the operator went away
                running = false;
            } else {
                pendingInput.append(buffer, static_cast<size_t>(n));
            }
            size_t end = 0;
            while (running && (end = pendingInput.find('\n')) != std::string::npos) {
                const std::string line = pendingInput.substr(0, end);
                pendingInput.erase(0, end + 1);
                const auto result = device.command(line, nowMicroseconds(), error);
                if (result == Devsim::Device::CommandResult::Quit) {
                    running = false;
                } else if (result == Devsim::Device::CommandResult::Unplug) {
                    closeTerminal(terminal);
                } else if (result == Devsim::Device::CommandResult::Invalid) {
                    std::cerr << "skyfirewright-devsim: " << error << "\n";
                }
                // A held line is output flow control on the PC's end: its writes find no
                // room, as with a device that stopped taking bytes.
                if (device.isStalled() != lineHeld && terminal.slaveKeeper >= 0) {
                    lineHeld = device.isStalled();
                    ::tcflow(terminal.slaveKeeper, lineHeld ? TCOOFF : TCOON);
                }
            }
        }
        device.update(nowMicroseconds());
    }
    closeTerminal(terminal);
    if (logFile != nullptr) {
        std::fclose(logFile);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && arguments[0] == "check-fws") {
        if (arguments.size() != 2) {
            std::cerr << "usage: skyfirewright-devsim check-fws FILE.fws\n";
            return 2;
        }
        return checkFws(arguments[1]);
    }
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "help")) {
        std::cout << "usage: skyfirewright-devsim [--log PATH] [--module M=MASK ...] "
                     "[--modules FILE] [--room N] [--info A,B,C,D] [--armed]\n"
                     "       skyfirewright-devsim check-fws FILE.fws\n";
        return 0;
    }
    return runDevice(arguments);
}
