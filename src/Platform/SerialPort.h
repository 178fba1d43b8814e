#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Platform/Clock.h"

namespace Platform {

// A serial (CDC) port in raw mode: no echo, no line editing, no translation of bytes, the
// baud rate and framing left as the device has them. Reads never block; writes wait for room
// up to a time-out. One thread owns the object; it is not locked.
//
// A port that reports a hang-up or an I/O error is closed by the call that found it (the
// device was unplugged or the other end of a pseudo-terminal went away): polling a hung-up
// descriptor would otherwise wake a loop for ever.
class SerialPort {
public:
    // How a wait for incoming bytes ended.
    enum class WaitResult {
        Readable,  // bytes have arrived
        TimedOut,
        Closed,  // the port is closed (or was closed because it hung up)
    };

    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens an existing device for reading and writing, for this process alone, and puts it
    // in raw mode. A port already open is closed first. False when the device cannot be
    // opened or is not a terminal.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const std::string& path() const { return path_; }

    // Reads what has arrived, up to `size` bytes, without waiting. Returns the count (0 when
    // nothing waits); -1 when the port hung up or failed, which closes it.
    long read(std::uint8_t* buffer, std::size_t size);

    // Writes all bytes: each write call continues after the bytes already written, and waits
    // up to `callTimeoutMs` for room before it is made. At most five calls are made; a frame
    // still incomplete after them, or a call that fails other than for lack of room, makes
    // the write fail and closes the port. False at once when the port is closed.
    // `lastWords`, when given, are written once more (one call, whatever goes through) before
    // a failed port is closed: the frames that leave the device safe, if the line still
    // takes them.
    bool write(const std::uint8_t* data, std::size_t size, int callTimeoutMs,
               const std::vector<std::uint8_t>* lastWords = nullptr);

    // Waits until bytes have arrived or `deadline` (a count of `clock`) has passed.
    WaitResult waitReadable(std::int64_t deadline, const Clock& clock);

    // The device paths of USB serial ports whose USB device has the vendor and product ids
    // (lower-case hex, e.g. "4321" and "62e1"), found under `sysfsRoot` ("/sys"): every tty
    // of class/tty whose device lies below a USB device with those ids, as "/dev/" + name,
    // sorted by name.
    static std::vector<std::string> findUsbPorts(const std::string& sysfsRoot,
                                                 const std::string& vendorId,
                                                 const std::string& productId);

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace Platform
