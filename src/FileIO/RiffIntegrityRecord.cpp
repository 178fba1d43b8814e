#include "FileIO/RiffIntegrityRecord.h"

#include <cryptopp/sha.h>

namespace FileIO {

static_assert(CryptoPP::SHA256::DIGESTSIZE == RiffIntegrityRecord::kDigestSize);

struct Sha256::State {
    CryptoPP::SHA256 hash;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {}
Sha256::~Sha256() = default;

void Sha256::update(const void* bytes, std::size_t length)
{
    state_->hash.Update(static_cast<const CryptoPP::byte*>(bytes), length);
}

std::string Sha256::finish()
{
    std::string digest(RiffIntegrityRecord::kDigestSize, '\0');
    state_->hash.Final(reinterpret_cast<CryptoPP::byte*>(digest.data()));
    return digest;
}

}  // namespace FileIO
