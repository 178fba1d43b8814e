#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FileIO/ByteSource.h"
#include "FileIO/RiffList.h"

namespace FileIO {

// Reads a RIFF file: "RIFF", u32 size, form type, then chunks and "LIST" lists, all integers
// little-endian, every chunk padded to an even offset. open() parses the whole chunk tree;
// the file stays open so that chunk data can be read afterwards.
//
// The bytes are untrusted (a file from anywhere, a damaged save). The reader never reads
// outside the file or outside an element, never loops without moving forward, and allocates
// only in proportion to the file (each element of the tree stands for at least 8 bytes of
// it). An open fails, with a reason in getError(), when
// - the file cannot be opened, is not a regular file or does not begin with "RIFF";
// - a chunk header is cut off by the end of its list or of the file;
// - a chunk or list claims more bytes than its list or the file holds (sizes are counted in
//   64 bits, so a size near 4 GiB cannot wrap around to a small offset);
// - a list is too short to hold its own type;
// - lists are nested deeper than kMaxListDepth.
// Bytes after the end of the root list are not read; they are noted as damage (below). A
// subclass may accept files cut short instead (acceptCutShortFiles): see there.
//
// Damage. A file can be damaged in ways that still leave a well-formed tree, and a damaged
// file must never pass for a smaller intact one. The reader notes (isDamaged(), getDamage())
// - bytes after the end of the root list (beyond one pad byte after an odd root);
// - with keepWhatCanBeRead: a list whose size does not end on its children, a root that
//   claims more than the file holds, more elements than the element limit. Such a list
//   keeps the children read before the break and parsing goes on after its end, so the
//   caller can offer what could be read; without keepWhatCanBeRead they fail the open;
// - checkIntegrityRecord(): an integrity record (RiffIntegrityRecord) that does not match.
//
// One reader belongs to one thread.
class RiffFileReader {
public:
    // The root counts as depth 1. Our own files nest three deep; anything beyond this is
    // damage or an attack, and the limit keeps the recursive parse off the end of the stack.
    static constexpr int kMaxListDepth = 32;

    RiffFileReader();
    virtual ~RiffFileReader();
    RiffFileReader(const RiffFileReader&) = delete;
    RiffFileReader& operator=(const RiffFileReader&) = delete;

    // Opens and parses a file; any file or tree held before is dropped first. After a false
    // result the reader holds nothing and getRoot() must not be called.
    virtual bool open(const std::wstring& path);
    // The same over bytes in memory (tests, the fuzz target).
    virtual bool openBytes(std::string bytes);
    virtual void close();

    // Set before open(): breaks in the structure are noted as damage instead of failing the
    // open (see above). Off by default.
    void setKeepWhatCanBeRead(bool keep) { keepWhatCanBeRead_ = keep; }
    // Set before open(): at most this many elements are parsed (each costs memory; a file of
    // empty chunks would otherwise take many times its size). Unlimited by default.
    void setElementLimit(uint64_t limit) { elementLimit_ = limit; }

    bool isOpen() const { return root_ != nullptr; }
    // True when the open or checkIntegrityRecord() noted damage; getDamage() says the first
    // in English.
    bool isDamaged() const { return !damage_.empty(); }
    const std::wstring& getDamage() const { return damage_; }
    // Notes damage found in the content by a caller (a salvaging reader that left something
    // out); the first reason noted is kept.
    void noteDamage(std::wstring reason);

    enum class IntegrityRecord {
        NONE,     // the file has no record (an older file)
        MATCHES,  // the record is the last chunk and the digest matches
        DIFFERS,  // a record is there but misplaced, malformed or not matching: damage
    };
    // Reads the whole file once to check its integrity record; DIFFERS is noted as damage.
    IntegrityRecord checkIntegrityRecord();
    // Why the last open failed, in English (for the command-line program and logs; the
    // callers in the program report their own localization keys).
    const std::wstring& getError() const { return error_; }

    // The root list: its id is the form type ("WAVE", "FWP ").
    const RiffList& getRoot() const;
    uint64_t getFileSize() const;

    // Reads from an element's data, starting `offset` bytes into it. The length is clamped to
    // size - offset (nothing is read when the offset is at or beyond the size). Returns the
    // bytes read, fewer than asked only at the end of the element or when the file can no
    // longer be read.
    std::size_t readChunk(const RiffElement& element, uint64_t offset, void* buffer,
                          std::size_t length);
    // The whole data of an element. False when it could not all be read.
    bool readData(const RiffElement& element, std::string& bytes);
    // Little-endian integers inside an element; false (value untouched) unless every byte of
    // the value lies inside the element and was read.
    bool readU8(const RiffElement& element, uint64_t offset, uint8_t& value);
    bool readU16(const RiffElement& element, uint64_t offset, uint16_t& value);
    bool readU32(const RiffElement& element, uint64_t offset, uint32_t& value);

    // The zero-terminated UTF-16LE strings of chunk data, in order. An odd last byte is
    // dropped; a last string without its terminating zero is kept, as the program reads
    // such data through a zero-filled buffer two bytes longer than the chunk.
    static std::vector<std::wstring> splitStrings(std::string_view bytes);
    // The same strings as UTF-16 code units, undecoded.
    static std::vector<std::u16string> splitUnits(std::string_view bytes);

protected:
    // Sets the reason of a failed open, drops the file and the tree, and returns false.
    bool fail(std::wstring reason);

    // From the next open on, a list or chunk that claims more bytes than the file holds is
    // read up to the end of the file (its size becomes what is there), and a chunk header cut
    // off by the end of the file ends the list. Only damage at the end of the file is taken
    // so: a child that overruns a list ending inside the file still fails the open. Meant for
    // recordings, whose sizes may never have been filled in, not for our own files.
    void acceptCutShortFiles(bool accept) { acceptCutShort_ = accept; }

private:
    bool parse();
    bool parseList(RiffList& list, uint64_t end, int depth, uint64_t& offset);
    bool readHeader(uint64_t offset, FourCC& id, uint32_t& size);
    bool breakList(std::wstring reason, uint64_t end, uint64_t& offset);

    std::unique_ptr<ByteSource> source_;
    std::unique_ptr<RiffList> root_;
    std::wstring error_;
    bool acceptCutShort_ = false;
    std::wstring damage_;
    bool keepWhatCanBeRead_ = false;
    uint64_t elementLimit_ = UINT64_MAX;
    uint64_t elements_ = 0;
};

}  // namespace FileIO
