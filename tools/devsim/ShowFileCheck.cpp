#include "ShowFileCheck.h"

#include <crypto++/aes.h>
#include <crypto++/filters.h>
#include <crypto++/modes.h>

#include "Project/Operations/ShowFileKey.h"

namespace Devsim {

namespace {

constexpr size_t kTrailerSize = 16;

// Reads the record area front to back; every length comes from the file, so each read is
// checked against the end of the area.
class RecordReader {
public:
    explicit RecordReader(std::string_view area) : area_(area) {}

    bool atEnd() const { return pos_ >= area_.size(); }
    size_t position() const { return pos_; }

    bool byte(uint8_t& value)
    {
        if (pos_ >= area_.size()) {
            return false;
        }
        value = static_cast<uint8_t>(area_[pos_++]);
        return true;
    }
    bool number(int bytes, uint32_t& value)
    {
        value = 0;
        for (int i = 0; i < bytes; ++i) {
            uint8_t b = 0;
            if (!byte(b)) {
                return false;
            }
            value = value << 8 | b;
        }
        return true;
    }
    bool expect(uint8_t wanted)
    {
        uint8_t b = 0;
        return byte(b) && b == wanted;
    }
    bool skip(size_t count)
    {
        if (area_.size() - pos_ < count) {
            return false;
        }
        pos_ += count;
        return true;
    }

private:
    std::string_view area_;
    size_t pos_ = 0;
};

bool readCommandBlock(RecordReader& in, uint8_t kind, std::string& reason)
{
    if (kind == 0x02) {
        static const uint8_t head[] = {0x01, 0x00, 0x00, 0x01, 0x00};
        for (uint8_t b : head) {
            if (!in.expect(b)) {
                reason = "pyro block does not start with 01 00 00 01 00";
                return false;
            }
        }
        uint8_t high = 0;
        uint8_t low = 0;
        if (!in.byte(high) || !in.byte(low) || low > 0x0F) {
            reason = "pyro block address is cut or its low digit is above 0F";
            return false;
        }
        return true;
    }
    if (kind != 0xFE) {
        reason = "unknown command kind";
        return false;
    }
    uint8_t steps = 0;
    uint32_t chase = 0;
    if (!in.byte(steps) || !in.number(2, chase) || steps == 0) {
        reason = "DMX block has no steps";
        return false;
    }
    for (int s = 0; s < steps; ++s) {
        uint8_t values = 0;
        if (!in.byte(values) || !in.skip(3u * values)) {
            reason = "DMX step is cut short";
            return false;
        }
    }
    return true;
}

bool readRecord(RecordReader& in, std::string& reason)
{
    uint32_t skipped = 0;
    uint8_t kind = 0;
    if (!in.expect(0x57) || !in.number(3, skipped) || !in.number(2, skipped) || !in.byte(kind)) {
        reason = "record does not start with 57 and its times";
        return false;
    }
    if (!readCommandBlock(in, kind, reason)) {
        return false;
    }
    uint32_t descriptionLength = 0;
    uint32_t duration = 0;
    if (!in.expect(0xAC) || !in.number(2, descriptionLength) || !in.number(4, duration) ||
        !in.skip(descriptionLength)) {
        reason = "description part (AC) is broken";
        return false;
    }
    uint32_t tag = 0;
    uint32_t groupLength = 0;
    if (!in.expect(0xAD) || !in.number(2, tag) || !in.expect(0xDA) || !in.expect(0xDB) ||
        !in.number(2, groupLength) || !in.skip(groupLength) || !in.expect(0xDB) ||
        !in.expect(0xDA)) {
        reason = "tag or group name part (AD, DA DB, DB DA) is broken";
        return false;
    }
    return true;
}

bool decipher(std::string_view cipherText, std::string& plain)
{
    try {
        CryptoPP::CBC_Mode<CryptoPP::AES>::Decryption cipher(Project::kShowFileKey.data(),
                                                             Project::kShowFileKey.size(),
                                                             Project::kShowFileIv.data());
        plain.clear();
        CryptoPP::StringSource source(reinterpret_cast<const CryptoPP::byte*>(cipherText.data()),
                                      cipherText.size(), true,
                                      new CryptoPP::StreamTransformationFilter(
                                          cipher, new CryptoPP::StringSink(plain),
                                          CryptoPP::BlockPaddingSchemeDef::PKCS_PADDING));
    } catch (const CryptoPP::Exception&) {
        return false;  // the padding did not check out
    }
    return true;
}

}  // namespace

bool checkShowFile(std::string_view bytes, ShowFileSummary& summary, std::string& reason)
{
    if (bytes.size() < kTrailerSize + 2) {
        reason = "file is shorter than the marker and the trailer";
        return false;
    }
    const std::string_view area = bytes.substr(0, bytes.size() - kTrailerSize - 2);
    if (bytes.substr(area.size(), 2) != "?^") {
        reason = "no \"?^\" marker before the last 16 bytes";
        return false;
    }
    std::string plain;
    // The program writes the ten bytes of the fields; two more (padding to twelve) are taken
    // as well, since a writer that pads the fields to twelve bytes is just as readable.
    if (!decipher(bytes.substr(bytes.size() - kTrailerSize), plain) ||
        (plain.size() != 10 && plain.size() != 12)) {
        reason = "trailer does not decipher with the show file key";
        return false;
    }
    const auto at = [&](size_t i) { return static_cast<uint8_t>(plain[i]); };
    if (at(0) != 0xBD || at(2) != 0xDB) {
        reason = "trailer markers BD and DB are missing";
        return false;
    }
    summary.exportTime = static_cast<uint32_t>(at(3)) << 24 | static_cast<uint32_t>(at(4)) << 16 |
                         static_cast<uint32_t>(at(5)) << 8 | at(6);
    const int count = at(7) << 8 | at(8);
    summary.format = at(9);
    if (summary.format > 3) {
        reason = "trailer timecode format is not 0 to 3";
        return false;
    }
    RecordReader in(area);
    int records = 0;
    while (!in.atEnd()) {
        std::string why;
        if (!readRecord(in, why)) {
            reason = "record " + std::to_string(records + 1) + ": " + why;
            return false;
        }
        ++records;
    }
    summary.records = records;
    // The count field is 16 bits wide: a file of more records than it holds is refused, not
    // matched modulo 65,536.
    if (records != count) {
        reason = "trailer counts " + std::to_string(count) + " records, the file has " +
                 std::to_string(records);
        return false;
    }
    return true;
}

}  // namespace Devsim
