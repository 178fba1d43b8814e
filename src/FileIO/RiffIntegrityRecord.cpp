#include "FileIO/RiffIntegrityRecord.h"

#include <array>
#include <cstring>

#if defined(__x86_64__)
#include <nmmintrin.h>
#endif

namespace FileIO {

namespace {

constexpr uint32_t kPolynomial = 0x82F63B78;  // CRC-32C, reflected

constexpr std::array<uint32_t, 256> makeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1) != 0 ? kPolynomial : 0);
        }
        table[i] = crc;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = makeTable();

uint32_t updateByTable(uint32_t crc, const unsigned char* bytes, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        crc = (crc >> 8) ^ kTable[(crc ^ bytes[i]) & 0xFF];
    }
    return crc;
}

#if defined(__x86_64__)
// The processor's CRC-32C instruction, eight bytes at a time: a file of 100,000 cues takes
// about a millisecond, where the table takes tens.
__attribute__((target("sse4.2"))) uint32_t updateByInstruction(uint32_t crc,
                                                               const unsigned char* bytes,
                                                               std::size_t length)
{
    uint64_t wide = crc;
    for (; length >= 8; bytes += 8, length -= 8) {
        uint64_t word = 0;
        std::memcpy(&word, bytes, 8);
        wide = _mm_crc32_u64(wide, word);
    }
    crc = static_cast<uint32_t>(wide);
    for (; length > 0; ++bytes, --length) {
        crc = _mm_crc32_u8(crc, *bytes);
    }
    return crc;
}

bool hasInstruction()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("sse4.2") != 0;
    }();
    return has;
}
#endif

}  // namespace

struct IntegrityDigest::State {
    uint32_t crc = 0xFFFFFFFF;
};

IntegrityDigest::IntegrityDigest() : state_(std::make_unique<State>()) {}
IntegrityDigest::~IntegrityDigest() = default;

void IntegrityDigest::update(const void* bytes, std::size_t length)
{
    const auto* in = static_cast<const unsigned char*>(bytes);
#if defined(__x86_64__)
    if (hasInstruction()) {
        state_->crc = updateByInstruction(state_->crc, in, length);
        return;
    }
#endif
    state_->crc = updateByTable(state_->crc, in, length);
}

std::string IntegrityDigest::finish()
{
    const uint32_t crc = state_->crc ^ 0xFFFFFFFF;
    std::string digest(RiffIntegrityRecord::kDigestSize, '\0');
    for (std::size_t i = 0; i < digest.size(); ++i) {
        digest[i] = static_cast<char>(crc >> (8 * i));
    }
    return digest;
}

}  // namespace FileIO
