#include "FileIO/RiffFileReader.h"

#include <algorithm>

#include "FileIO/RiffIntegrityRecord.h"
#include "Platform/Assert.h"
#include "Platform/Utf.h"

namespace FileIO {

namespace {

uint32_t u32At(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

bool isList(FourCC id)
{
    return id == "RIFF" || id == "LIST";
}

std::wstring quoted(FourCC id)
{
    return L"\"" + Platform::fromUtf8(id.toString()) + L"\"";
}

std::wstring number(uint64_t n)
{
    return std::to_wstring(n);
}

}  // namespace

RiffFileReader::RiffFileReader() = default;
RiffFileReader::~RiffFileReader() = default;

bool RiffFileReader::open(const std::wstring& path)
{
    close();
    error_.clear();
    std::wstring reason;
    source_ = ByteSource::openFile(path, reason);
    if (!source_) {
        return fail(reason);
    }
    return parse();
}

bool RiffFileReader::openBytes(std::string bytes)
{
    close();
    error_.clear();
    source_ = ByteSource::fromBytes(std::move(bytes));
    return parse();
}

void RiffFileReader::close()
{
    root_.reset();
    source_.reset();
    damage_.clear();
    elements_ = 0;
}

void RiffFileReader::noteDamage(std::wstring reason)
{
    if (damage_.empty()) {
        damage_ = std::move(reason);
    }
}

// A list that does not end on its children: the open fails, or, when keeping what can be
// read, the list keeps what came before the break and parsing goes on after its end.
bool RiffFileReader::breakList(std::wstring reason, uint64_t end, uint64_t& offset)
{
    if (!keepWhatCanBeRead_) {
        return fail(std::move(reason));
    }
    noteDamage(std::move(reason));
    offset = end;
    return true;
}

bool RiffFileReader::fail(std::wstring reason)
{
    close();
    error_ = std::move(reason);
    return false;
}

const RiffList& RiffFileReader::getRoot() const
{
    SKY_ASSERT(root_ != nullptr, "RiffFileReader");
    return *root_;
}

uint64_t RiffFileReader::getFileSize() const
{
    return source_ ? source_->size() : 0;
}

bool RiffFileReader::readHeader(uint64_t offset, FourCC& id, uint32_t& size)
{
    unsigned char header[8];
    if (source_->readAt(offset, header, sizeof header) != sizeof header) {
        return false;
    }
    id = FourCC::fromBytes(header);
    size = u32At(header + 4);
    return true;
}

bool RiffFileReader::parse()
{
    const uint64_t fileSize = source_->size();
    unsigned char magic[4];
    if (source_->readAt(0, magic, sizeof magic) != sizeof magic ||
        FourCC::fromBytes(magic) != "RIFF") {
        return fail(L"not a RIFF file");
    }
    FourCC id;
    uint32_t size = 0;
    unsigned char type[4];
    if (!readHeader(0, id, size) || source_->readAt(8, type, sizeof type) != sizeof type) {
        return fail(L"the RIFF header is cut off by the end of the file");
    }
    if (size < 4) {
        return fail(L"the RIFF list is too short to hold its form type");
    }
    uint64_t end = 8 + static_cast<uint64_t>(size);
    if (end > fileSize && acceptCutShort_) {
        end = fileSize;
        size = static_cast<uint32_t>(fileSize - 8);
    }
    if (end > fileSize) {
        std::wstring reason = L"the RIFF list claims " + number(size) +
                              L" bytes, but the file holds only " + number(fileSize - 8) +
                              L" after its header";
        if (!keepWhatCanBeRead_) {
            return fail(std::move(reason));
        }
        noteDamage(std::move(reason));
        end = fileSize;
    }
    root_ = std::make_unique<RiffList>(FourCC::fromBytes(type), 8, size);
    uint64_t offset = 12;
    if (!parseList(*root_, end, 1, offset)) {
        return false;
    }
    // One pad byte may follow an odd root; anything more is not ours to ignore.
    const uint64_t padded = end + end % 2;
    if (fileSize > padded) {
        noteDamage(number(fileSize - end) + L" bytes follow the end of the RIFF list");
    }
    return true;
}

// Parses the children of `list` from `offset` up to `end` (the end of the list's data) and
// leaves `offset` after the last child and its pad byte. Every child must fit inside the
// list, so its data lies inside the file as well.
bool RiffFileReader::parseList(RiffList& list, uint64_t end, int depth, uint64_t& offset)
{
    const uint64_t fileSize = source_->size();
    while (offset < end) {
        const uint64_t start = offset;
        FourCC id;
        uint32_t size = 0;
        const bool atFileEnd = acceptCutShort_ && end == fileSize;
        if (end - offset < 8 || !readHeader(offset, id, size)) {
            if (atFileEnd) {
                offset = end;  // the last header is cut off: what came before is kept
                break;
            }
            return breakList(
                L"a chunk header at offset " + number(start) + L" is cut off by the end of " +
                    (end - offset < 8 ? L"the list " + quoted(list.getId()) : L"the file"),
                end, offset);
        }
        if (++elements_ > elementLimit_) {
            return breakList(L"the file holds more than " + number(elementLimit_) + L" elements",
                             end, offset);
        }
        offset += 8;
        const bool cutShort = size > end - offset && atFileEnd;
        if (cutShort) {
            size = static_cast<uint32_t>(end - offset);
        }
        if (size > end - offset) {
            return breakList(L"the " + std::wstring(isList(id) ? L"list" : L"chunk") + L" " +
                                 quoted(id) + L" at offset " + number(start) + L" claims " +
                                 number(size) + L" bytes, more than its list " +
                                 quoted(list.getId()) + L" holds",
                             end, offset);
        }
        if (isList(id)) {
            if (depth >= kMaxListDepth) {
                return fail(L"lists are nested more than " + number(kMaxListDepth) +
                            L" deep at offset " + number(start));
            }
            unsigned char type[4];
            if (size < 4 || source_->readAt(offset, type, sizeof type) != sizeof type) {
                if (cutShort) {
                    offset = end;  // a list cut off before its type holds nothing
                    break;
                }
                return breakList(
                    L"the list at offset " + number(start) + L" is too short to hold its type", end,
                    offset);
            }
            auto child = std::make_unique<RiffList>(FourCC::fromBytes(type), offset, size);
            const uint64_t childEnd = offset + size;
            offset += 4;
            RiffList& childList = *child;
            list.addChild(std::move(child));
            if (!parseList(childList, childEnd, depth + 1, offset)) {
                return false;
            }
        } else {
            list.addChild(std::make_unique<RiffElement>(id, offset, size));
            offset += size;
        }
        // The pad byte after odd data; a missing pad at the very end of the file is forgiven.
        if (offset % 2 != 0 && offset < fileSize) {
            ++offset;
        }
    }
    return true;
}

RiffFileReader::IntegrityRecord RiffFileReader::checkIntegrityRecord()
{
    SKY_ASSERT(root_ != nullptr, "RiffFileReader");
    const auto& children = root_->getChildren();
    const RiffElement* record = nullptr;
    bool misplaced = false;
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i]->isChunk() && children[i]->getId() == RiffIntegrityRecord::kId) {
            misplaced = misplaced || i + 1 != children.size();
            record = children[i].get();
        }
    }
    // A record stands at the very end of the file. When the last bytes look like one but the
    // tree does not end with it, a damaged size has swallowed it: without this look at the
    // end, such a file would pass for an older one without the record.
    const uint64_t fileSize = source_->size();
    bool recordAtEnd = false;
    unsigned char tail[8];
    if (fileSize >= 12 + RiffIntegrityRecord::kChunkSize &&
        source_->readAt(fileSize - RiffIntegrityRecord::kChunkSize, tail, sizeof tail) ==
            sizeof tail) {
        recordAtEnd = FourCC::fromBytes(tail) == RiffIntegrityRecord::kId &&
                      u32At(tail + 4) == RiffIntegrityRecord::kDigestSize;
    }
    if (record == nullptr && !recordAtEnd) {
        return IntegrityRecord::NONE;
    }
    const uint64_t dataOffset = record != nullptr ? record->getDataOffset() : 0;
    if (record == nullptr || misplaced || record->getSize() != RiffIntegrityRecord::kDigestSize ||
        dataOffset + record->getSize() != fileSize) {
        noteDamage(L"the integrity record is not the last " +
                   number(RiffIntegrityRecord::kChunkSize) + L" bytes of the file");
        return IntegrityRecord::DIFFERS;
    }
    IntegrityDigest hash;
    const uint64_t covered = dataOffset - 8;
    std::string block(std::min<uint64_t>(covered, 1 << 20), '\0');
    for (uint64_t done = 0; done < covered;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<uint64_t>(block.size(), covered - done));
        const std::size_t n = source_->readAt(done, block.data(), want);
        if (n == 0) {
            noteDamage(L"the file could not be read to check its integrity record");
            return IntegrityRecord::DIFFERS;
        }
        hash.update(block.data(), n);
        done += n;
    }
    std::string stored;
    if (!readData(*record, stored) || stored != hash.finish()) {
        noteDamage(L"the integrity record does not match the file");
        return IntegrityRecord::DIFFERS;
    }
    return IntegrityRecord::MATCHES;
}

std::size_t RiffFileReader::readChunk(const RiffElement& element, uint64_t offset, void* buffer,
                                      std::size_t length)
{
    if (!source_ || offset >= element.getSize()) {
        return 0;
    }
    const uint64_t left = element.getSize() - offset;
    const std::size_t n = length < left ? length : static_cast<std::size_t>(left);
    if (n == 0) {
        return 0;
    }
    SKY_ASSERT(buffer != nullptr, "RiffFileReader");
    return source_->readAt(element.getDataOffset() + offset, buffer, n);
}

bool RiffFileReader::readData(const RiffElement& element, std::string& bytes)
{
    std::string data(element.getSize(), '\0');
    if (readChunk(element, 0, data.data(), data.size()) != data.size()) {
        return false;
    }
    bytes = std::move(data);
    return true;
}

bool RiffFileReader::readU8(const RiffElement& element, uint64_t offset, uint8_t& value)
{
    unsigned char byte = 0;
    if (readChunk(element, offset, &byte, 1) != 1) {
        return false;
    }
    value = byte;
    return true;
}

bool RiffFileReader::readU16(const RiffElement& element, uint64_t offset, uint16_t& value)
{
    unsigned char bytes[2];
    if (readChunk(element, offset, bytes, sizeof bytes) != sizeof bytes) {
        return false;
    }
    value = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    return true;
}

bool RiffFileReader::readU32(const RiffElement& element, uint64_t offset, uint32_t& value)
{
    unsigned char bytes[4];
    if (readChunk(element, offset, bytes, sizeof bytes) != sizeof bytes) {
        return false;
    }
    value = u32At(bytes);
    return true;
}

std::vector<std::u16string> RiffFileReader::splitUnits(std::string_view bytes)
{
    std::vector<std::u16string> strings;
    std::u16string current;
    bool pending = false;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (unit == 0) {
            strings.push_back(std::move(current));
            current.clear();
            pending = false;
        } else {
            current += unit;
            pending = true;
        }
    }
    if (pending) {
        strings.push_back(std::move(current));
    }
    return strings;
}

std::vector<std::wstring> RiffFileReader::splitStrings(std::string_view bytes)
{
    std::vector<std::wstring> strings;
    for (const std::u16string& units : splitUnits(bytes)) {
        strings.push_back(Platform::fromUtf16(units));
    }
    return strings;
}

}  // namespace FileIO
