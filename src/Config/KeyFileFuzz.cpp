// libFuzzer target: any bytes as a key file. Decoding and parsing must not fail, and every
// entry read that a key file can keep must write back and read again as itself. (A section
// name such as "a.=b" reads fine but cannot be written: the writer cuts keys at their first
// ".", and the name "=b.key" would not read back.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string_view>

#include "Config/KeyFile.h"
#include "Platform/Log.h"
#include "Platform/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = [] {
        Platform::setLogSink([](const std::wstring&) {});
        return true;
    }();
    (void)quiet;

    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Config::KeyMap first;
    Config::KeyFile::parse(Platform::TextFile::decodeLines(bytes), first);
    std::erase_if(first, [](const auto& entry) {
        return !Config::KeyFile::canStore(entry.first, entry.second);
    });

    const std::string written = Platform::TextFile::encodeLines(Config::KeyFile::format(first));
    Config::KeyMap second;
    Config::KeyFile::parse(Platform::TextFile::decodeLines(written), second);
    if (second != first) {
        std::abort();
    }
    return 0;
}
