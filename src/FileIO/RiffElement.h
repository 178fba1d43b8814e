#pragma once

#include <cstdint>

#include "FileIO/FourCC.h"

namespace FileIO {

// One element of a RIFF file's chunk tree: a data chunk, or (as the subclass RiffList) a
// list. The reader builds the tree while it opens a file; every element of it lies inside
// the file and inside its parent list, so reading an element's data never leaves either.
class RiffElement {
public:
    // `dataOffset` is the file offset of the first data byte, `size` the data size as stored
    // (the pad byte after odd data is not counted).
    RiffElement(FourCC id, uint64_t dataOffset, uint32_t size)
        : id_(id), dataOffset_(dataOffset), size_(size)
    {
    }
    virtual ~RiffElement() = default;
    RiffElement(const RiffElement&) = delete;
    RiffElement& operator=(const RiffElement&) = delete;

    virtual bool isChunk() const { return true; }

    // A chunk's id; for a list, its list type.
    FourCC getId() const { return id_; }
    uint64_t getDataOffset() const { return dataOffset_; }
    uint32_t getSize() const { return size_; }

private:
    FourCC id_;
    uint64_t dataOffset_;
    uint32_t size_;
};

}  // namespace FileIO
