#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FileIO/FourCC.h"

namespace FileIO {

// The integrity record that ends every project and library file we write: a data chunk
// "C32C" of 4 bytes, the last child of the root list and the last bytes of the file,
// holding the CRC-32C (Castagnoli, as iSCSI and ext4 use it; "123456789" gives 0xE3069283)
// of every byte of the file before the record's own header, from the "RIFF" at offset 0,
// the final root size included, up to the record's id. The value is stored little-endian.
//
// Readers that do not know the record skip it as they skip every unknown chunk. A file
// without it (written before it existed) is read as before.
struct RiffIntegrityRecord {
    static constexpr FourCC kId{"C32C"};
    static constexpr std::size_t kDigestSize = 4;
    // The record as it stands in the file: id, size and digest.
    static constexpr std::size_t kChunkSize = 8 + kDigestSize;
};

// The CRC-32C of the record over bytes handed in piece by piece, with the processor's CRC
// instruction where there is one.
class IntegrityDigest {
public:
    IntegrityDigest();
    ~IntegrityDigest();
    IntegrityDigest(const IntegrityDigest&) = delete;
    IntegrityDigest& operator=(const IntegrityDigest&) = delete;

    void update(const void* bytes, std::size_t length);
    // The digest of everything handed in, as the record stores it
    // (RiffIntegrityRecord::kDigestSize bytes).
    std::string finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace FileIO
