#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FileIO/FourCC.h"

namespace FileIO {

// The integrity record that ends every project and library file we write: a data chunk
// "SHA2" of 32 bytes, the last child of the root list and the last bytes of the file,
// holding the SHA-256 digest of every byte of the file before the record's own header
// (from the "RIFF" at offset 0, the final root size included, up to the record's id).
//
// Readers that do not know the record skip it as they skip every unknown chunk. A file
// without it (written before the record existed) is read as before.
struct RiffIntegrityRecord {
    static constexpr FourCC kId{"SHA2"};
    static constexpr std::size_t kDigestSize = 32;
    // The record as it stands in the file: id, size and digest.
    static constexpr std::size_t kChunkSize = 8 + kDigestSize;
};

// SHA-256 over bytes handed in piece by piece.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(const void* bytes, std::size_t length);
    // The digest of everything handed in (RiffIntegrityRecord::kDigestSize bytes).
    std::string finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace FileIO
