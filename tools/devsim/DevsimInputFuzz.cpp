// Arbitrary bytes from the serial line into the device, and as a show file into the check.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Device.h"
#include "ShowFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Devsim::DeviceConfig config;
    config.modules[1] = 0x00FF;
    config.queueRoom = 16;
    Devsim::Device device(
        config, [](const std::string&) {}, [](const std::string&) {}, 0);
    // The same bytes twice, a second apart, so that queued words also run against the clock.
    device.receive(bytes, 0);
    device.receive(bytes, 1000000);
    device.update(60000000);
    Devsim::ShowFileSummary summary;
    std::string reason;
    Devsim::checkShowFile(bytes, summary, reason);
    return 0;
}
