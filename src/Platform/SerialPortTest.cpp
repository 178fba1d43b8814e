#include <gtest/gtest.h>

#include <filesystem>
#include <termios.h>
#include <vector>

#include "Platform/PseudoTerminal.h"
#include "Platform/SerialPort.h"
#include "Platform/TestFolder.h"

namespace Platform {
namespace {

class SerialPortOnPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty_.isOpen());
        ASSERT_TRUE(port_.open(pty_.slavePath()));
    }

    std::vector<std::uint8_t> readFromPort(int timeoutMs)
    {
        const std::int64_t deadline =
            Clock::steady().now() + Clock::steady().fromMilliseconds(timeoutMs);
        std::vector<std::uint8_t> bytes;
        while (port_.waitReadable(deadline, Clock::steady()) == SerialPort::WaitResult::Readable) {
            std::uint8_t chunk[16];
            const long n = port_.read(chunk, sizeof chunk);
            if (n < 0) {
                break;
            }
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
        return bytes;
    }

    PseudoTerminal pty_;
    SerialPort port_;
};

// Every byte value goes through untouched both ways: no echo, no CR/LF translation, no
// control characters eaten (0x03, 0x11, 0x13, 0x7F would be in a cooked terminal).
TEST_F(SerialPortOnPty, CarriesEveryByteValueUntouchedBothWays)
{
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i) {
        all[i] = static_cast<std::uint8_t>(i);
    }
    ASSERT_TRUE(port_.write(all.data(), all.size(), 100));
    EXPECT_EQ(pty_.readQuiet(100), all);

    ASSERT_TRUE(pty_.write(all));
    EXPECT_EQ(readFromPort(100), all);
    // Nothing came back as an echo.
    EXPECT_TRUE(pty_.readQuiet(20).empty());

    termios settings{};
    ASSERT_EQ(::tcgetattr(port_.fd(), &settings), 0);
    EXPECT_EQ(settings.c_lflag & (ECHO | ICANON | ISIG), 0u);
}

TEST_F(SerialPortOnPty, ReadWithNothingWaitingReturnsAtOnce)
{
    std::uint8_t buffer[16];
    EXPECT_EQ(port_.read(buffer, sizeof buffer), 0);
    const std::int64_t deadline = Clock::steady().now() + Clock::steady().fromMilliseconds(30);
    EXPECT_EQ(port_.waitReadable(deadline, Clock::steady()), SerialPort::WaitResult::TimedOut);
    EXPECT_GE(Clock::steady().now(), deadline);
    EXPECT_TRUE(port_.isOpen());
}

TEST_F(SerialPortOnPty, HangUpClosesThePortOnReadAndOnWait)
{
    pty_.hangUp();
    const std::int64_t deadline = Clock::steady().now() + Clock::steady().fromMilliseconds(1000);
    const SerialPort::WaitResult result = port_.waitReadable(deadline, Clock::steady());
    if (result == SerialPort::WaitResult::Readable) {
        std::uint8_t buffer[16];
        EXPECT_EQ(port_.read(buffer, sizeof buffer), -1);
    } else {
        EXPECT_EQ(result, SerialPort::WaitResult::Closed);
    }
    EXPECT_FALSE(port_.isOpen());
    EXPECT_LT(Clock::steady().now(), deadline);
}

TEST_F(SerialPortOnPty, WriteToAHungUpLineFailsAndClosesThePort)
{
    pty_.hangUp();
    const std::uint8_t frame[] = {0x50, 0x30, 0x51};
    EXPECT_FALSE(port_.write(frame, sizeof frame, 50));
    EXPECT_FALSE(port_.isOpen());
    EXPECT_FALSE(port_.write(frame, sizeof frame, 50));  // closed: fails at once
}

// The device stops taking bytes: the write gives up after its five calls and closes.
TEST_F(SerialPortOnPty, WriteThatCannotCompleteFailsAndClosesThePort)
{
    std::vector<std::uint8_t> block(4096, 0x41);
    const std::int64_t start = Clock::steady().now();
    bool failed = false;
    for (int i = 0; i < 1024 && !failed; ++i) {
        failed = !port_.write(block.data(), block.size(), 10);
    }
    EXPECT_TRUE(failed);
    EXPECT_FALSE(port_.isOpen());
    EXPECT_LT(Clock::steady().now() - start, Clock::steady().fromMilliseconds(5000));
}

TEST_F(SerialPortOnPty, ReopeningAfterCloseWorks)
{
    port_.close();
    EXPECT_FALSE(port_.isOpen());
    ASSERT_TRUE(port_.open(pty_.slavePath()));
    const std::uint8_t byte = 0x50;
    EXPECT_TRUE(port_.write(&byte, 1, 100));
    EXPECT_EQ(pty_.readQuiet(100), std::vector<std::uint8_t>{0x50});
}

TEST(SerialPort, OpenFailsForMissingPathsAndForFilesThatAreNoTerminal)
{
    SerialPort port;
    EXPECT_FALSE(port.open("/nonexistent/ttyACM9"));
    EXPECT_FALSE(port.open("/dev/null"));
    EXPECT_FALSE(port.isOpen());
    std::uint8_t buffer[4];
    EXPECT_EQ(port.read(buffer, sizeof buffer), -1);
}

// A sysfs tree as the kernel lays it out: class/tty/<name>/device leads to the USB interface,
// whose parent is the USB device with the ids.
TEST(SerialPort, FindsTheTtysOfUsbDevicesWithTheIds)
{
    namespace fs = std::filesystem;
    TestFolder sys;
    struct Device {
        const char* tty;
        const char* usbDevice;
        const char* vendor;
        const char* product;
    };
    const Device devices[] = {
        {"ttyACM1", "1-2", "4321", "62e1"},
        {"ttyACM0", "1-1", "4321", "62E1"},  // upper-case hex in the file still matches
        {"ttyACM2", "1-3", "4321", "62e2"},  // another product
        {"ttyUSB0", "1-4", "0403", "6001"},  // another vendor
    };
    for (const Device& d : devices) {
        const std::string usb = std::string("devices/usb1/") + d.usbDevice;
        sys.writeBytes(usb + "/idVendor", std::string(d.vendor) + "\n");
        sys.writeBytes(usb + "/idProduct", std::string(d.product) + "\n");
        const std::string interface = usb + "/" + d.usbDevice + ":1.0";
        fs::create_directories(sys.root() / interface / "tty" / d.tty);
        fs::create_directories(sys.root() / "class/tty" / d.tty);
        fs::create_directory_symlink(sys.root() / interface,
                                     sys.root() / "class/tty" / d.tty / "device");
    }
    // A tty without a device (a virtual console) is skipped.
    fs::create_directories(sys.root() / "class/tty/tty0");

    EXPECT_EQ(SerialPort::findUsbPorts(sys.root().string(), "4321", "62e1"),
              (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyACM1"}));
    EXPECT_TRUE(
        SerialPort::findUsbPorts((sys.root() / "missing").string(), "4321", "62e1").empty());
}

}  // namespace
}  // namespace Platform
