#include "Platform/SerialPort.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace Platform {

namespace {

constexpr int kMaxWriteCalls = 5;
// How far above a tty's device node the USB device may lie: interface, device.
constexpr int kMaxUsbDepth = 4;

bool hungUp(short revents)
{
    return (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

std::string readIdFile(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::string text;
    in >> text;
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

SerialPort::~SerialPort()
{
    close();
}

bool SerialPort::open(const std::string& path)
{
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    termios settings{};
    if (!::isatty(fd) || ::tcgetattr(fd, &settings) != 0) {
        ::close(fd);
        return false;
    }
    // Nobody else may open the port while we hold it.
    ::ioctl(fd, TIOCEXCL);
    // Raw bytes both ways; reads return at once with what has arrived. cfmakeraw keeps the
    // speed (a CDC device ignores it anyway).
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return false;
    }
    ::tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    path_ = path;
    return true;
}

void SerialPort::close()
{
    if (fd_ < 0) {
        return;
    }
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    path_.clear();
}

long SerialPort::read(std::uint8_t* buffer, std::size_t size)
{
    if (fd_ < 0) {
        return -1;
    }
    ssize_t got;
    do {
        got = ::read(fd_, buffer, size);
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        return static_cast<long>(got);
    }
    if (got < 0 && errno == EAGAIN) {
        return 0;
    }
    if (got == 0) {
        // In raw mode with no minimum a read returns 0 both when nothing waits and when the
        // line hung up; poll() tells them apart.
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0 || !hungUp(p.revents)) {
            return 0;
        }
    }
    close();
    return -1;
}

bool SerialPort::write(const std::uint8_t* data, std::size_t size, int callTimeoutMs,
                       const std::vector<std::uint8_t>* lastWords)
{
    if (fd_ < 0) {
        return false;
    }
    std::size_t written = 0;
    for (int call = 0; call < kMaxWriteCalls && written < size; ++call) {
        pollfd p{fd_, POLLOUT, 0};
        int ready;
        do {
            ready = ::poll(&p, 1, callTimeoutMs);
        } while (ready < 0 && errno == EINTR);
        if (ready > 0 && hungUp(p.revents)) {
            break;
        }
        const ssize_t n = ::write(fd_, data + written, size - written);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                continue;  // no room yet: the call counts, the port stays
            }
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    if (written == size) {
        return true;
    }
    if (lastWords && !lastWords->empty()) {
        pollfd p{fd_, POLLOUT, 0};
        if (::poll(&p, 1, callTimeoutMs) > 0 && !hungUp(p.revents)) {
            [[maybe_unused]] const ssize_t ignored =
                ::write(fd_, lastWords->data(), lastWords->size());
        }
    }
    close();
    return false;
}

SerialPort::WaitResult SerialPort::waitReadable(std::int64_t deadline, const Clock& clock)
{
    while (fd_ >= 0) {
        const std::int64_t left = clock.millisecondsUntil(deadline);
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<std::int64_t>(left, 60000)));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            close();
            break;
        }
        if (ready > 0) {
            if ((p.revents & POLLIN) != 0) {
                return WaitResult::Readable;
            }
            close();
            break;
        }
        if (left == 0 || clock.now() >= deadline) {
            return WaitResult::TimedOut;
        }
    }
    return WaitResult::Closed;
}

std::vector<std::string> SerialPort::findUsbPorts(const std::string& sysfsRoot,
                                                  const std::string& vendorId,
                                                  const std::string& productId)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    const fs::path ttyClass = fs::path(sysfsRoot) / "class" / "tty";
    const std::string vendor = lower(vendorId);
    const std::string product = lower(productId);
    for (fs::directory_iterator it(ttyClass, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        fs::path device = fs::canonical(it->path() / "device", error);
        if (error) {
            error.clear();
            continue;
        }
        for (int depth = 0; depth < kMaxUsbDepth && device.has_relative_path();
             ++depth, device = device.parent_path()) {
            if (fs::exists(device / "idVendor", error)) {
                if (readIdFile(device / "idVendor") == vendor &&
                    readIdFile(device / "idProduct") == product) {
                    names.push_back(name);
                }
                break;
            }
        }
        error.clear();
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names) {
        paths.push_back("/dev/" + name);
    }
    return paths;
}

}  // namespace Platform
