#include "DeviceSimulator.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace Testing {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

DeviceSimulator::DeviceSimulator() = default;

DeviceSimulator::~DeviceSimulator()
{
    stop();
    if (!directory_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
}

std::string DeviceSimulator::defaultExecutable()
{
    if (const char* fromEnvironment = std::getenv("SKYFIREWRIGHT_DEVSIM")) {
        return fromEnvironment;
    }
#ifdef SKY_DEVSIM_EXECUTABLE
    return SKY_DEVSIM_EXECUTABLE;
#else
    return "skyfirewright-devsim";
#endif
}

bool DeviceSimulator::start(const std::vector<std::string>& arguments,
                            const std::string& executable)
{
    stop();
    // A simulator that died must not take the test with it when a line is written to it.
    ::signal(SIGPIPE, SIG_IGN);
    if (directory_.empty()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "sky-devsim-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            error_ = "cannot make a temporary folder";
            return false;
        }
        directory_ = pattern;
    }
    logPath_ = directory_ + "/device.log";
    std::filesystem::remove(logPath_);

    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0) {
        error_ = "cannot make pipes";
        return false;
    }
    std::vector<std::string> all = {executable};
    all.insert(all.end(), arguments.begin(), arguments.end());
    all.push_back("--log");
    all.push_back(logPath_);
    std::vector<char*> argv;
    for (std::string& a : all) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ == 0) {
        // dup2 clears close-on-exec on the two ends the simulator keeps.
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    if (pid_ < 0) {
        ::close(toChild[1]);
        ::close(fromChild[0]);
        error_ = "cannot fork";
        return false;
    }
    stdinFd_ = toChild[1];

    // The first line of its output is the terminal's path.
    portPath_.clear();
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    bool gotLine = false;
    while (!gotLine) {
        pollfd in{fromChild[0], POLLIN, 0};
        if (::poll(&in, 1, remainingMs(deadline)) <= 0) {
            break;
        }
        char c = 0;
        if (::read(fromChild[0], &c, 1) != 1) {
            break;
        }
        if (c == '\n') {
            gotLine = true;
        } else {
            portPath_.push_back(c);
        }
    }
    ::close(fromChild[0]);
    if (!gotLine || portPath_.empty()) {
        error_ = "the simulator " + executable + " did not print its terminal";
        stop(0);
        return false;
    }
    return true;
}

bool DeviceSimulator::isRunning()
{
    if (pid_ <= 0) {
        return false;
    }
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

bool DeviceSimulator::command(const std::string& line)
{
    if (stdinFd_ < 0) {
        return false;
    }
    const size_t linesBefore = logLines().size();
    const std::string text = line + "\n";
    if (::write(stdinFd_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        return false;
    }
    // The simulator reads its input beside the line to the PC: a test that goes on before the
    // input is taken races with it (a "silent on" may come after the frames it should hush).
    return waitForLog({"\"event\":\"input\"", "\"line\":\"" + line + "\""}, 3000, linesBefore)
        .has_value();
}

std::vector<std::string> DeviceSimulator::logLines() const
{
    std::vector<std::string> lines;
    std::ifstream in(logPath_);
    std::string line;
    while (std::getline(in, line)) {
        if (in.eof()) {
            break;  // a line still being written
        }
        lines.push_back(line);
    }
    return lines;
}

std::optional<std::string> DeviceSimulator::waitForLog(const std::vector<std::string>& fragments,
                                                       int timeoutMs, size_t fromLine) const
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        const std::vector<std::string> lines = logLines();
        for (size_t i = fromLine; i < lines.size(); ++i) {
            bool all = true;
            for (const std::string& fragment : fragments) {
                all = all && lines[i].find(fragment) != std::string::npos;
            }
            if (all) {
                return lines[i];
            }
        }
        if (Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int DeviceSimulator::openPort() const
{
    const int fd = ::open(portPath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    termios settings{};
    if (::tcgetattr(fd, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(fd, TCSANOW, &settings);
    }
    return fd;
}

int DeviceSimulator::stop(int timeoutMs)
{
    if (stdinFd_ >= 0) {
        command("quit");
        ::close(stdinFd_);
        stdinFd_ = -1;
    }
    if (pid_ <= 0) {
        return -1;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    while (true) {
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (done < 0 || Clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return -1;
}

}  // namespace Testing
