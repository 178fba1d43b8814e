#pragma once

// For tests only: a pseudo-terminal pair that stands in for a USB serial device. The test
// plays the device on the master side; the code under test opens the slave's path like a
// serial port. The test keeps a slave descriptor of its own in raw mode, so the line stays
// up (and transparent) while the code under test opens and closes its port.

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace Platform {

class PseudoTerminal {
public:
    PseudoTerminal()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            return;
        }
        char name[128];
        if (::ptsname_r(master_, name, sizeof name) != 0) {
            return;
        }
        slavePath_ = name;
        keeper_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios settings{};
        if (keeper_ >= 0 && ::tcgetattr(keeper_, &settings) == 0) {
            ::cfmakeraw(&settings);
            ::tcsetattr(keeper_, TCSANOW, &settings);
        }
        const int flags = ::fcntl(master_, F_GETFL);
        ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    }
    ~PseudoTerminal() { hangUp(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isOpen() const { return master_ >= 0 && keeper_ >= 0; }
    const std::string& slavePath() const { return slavePath_; }
    int masterFd() const { return master_; }

    // Closes both of the test's ends: the slave side hangs up, as when a device is unplugged.
    void hangUp()
    {
        if (keeper_ >= 0) {
            ::close(keeper_);
            keeper_ = -1;
        }
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

    // What the device side writes; false when not everything went out.
    bool write(const std::vector<std::uint8_t>& bytes)
    {
        std::size_t done = 0;
        while (master_ >= 0 && done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                return false;
            }
            if (n < 0) {
                pollfd p{master_, POLLOUT, 0};
                ::poll(&p, 1, 10);
                continue;
            }
            done += static_cast<std::size_t>(n);
        }
        return done == bytes.size();
    }

    // What has arrived on the device side within `timeoutMs` of the last byte: reads until the
    // line stays quiet for that long.
    std::vector<std::uint8_t> readQuiet(int timeoutMs)
    {
        std::vector<std::uint8_t> bytes;
        while (master_ >= 0) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) != 1 || (p.revents & POLLIN) == 0) {
                break;
            }
            std::uint8_t chunk[256];
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n <= 0) {
                break;
            }
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
        return bytes;
    }

private:
    int master_ = -1;
    int keeper_ = -1;
    std::string slavePath_;
};

}  // namespace Platform
