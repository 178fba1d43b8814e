#pragma once

#include <memory>
#include <vector>

#include "FileIO/RiffElement.h"

namespace FileIO {

// A "RIFF" or "LIST" element. Its id is the list type; its data (from getDataOffset(), of
// getSize() bytes) begins with that type, followed by the children. It owns its children,
// which are kept in file order.
class RiffList : public RiffElement {
public:
    using RiffElement::RiffElement;

    bool isChunk() const override { return false; }

    const std::vector<std::unique_ptr<RiffElement>>& getChildren() const { return children_; }
    void addChild(std::unique_ptr<RiffElement> child) { children_.push_back(std::move(child)); }

    // The first direct child that is a data chunk with this id, or nullptr. Lists are not
    // searched, and a list whose type happens to be `id` does not count.
    const RiffElement* findChunk(FourCC id) const
    {
        for (const auto& child : children_) {
            if (child->isChunk() && child->getId() == id) {
                return child.get();
            }
        }
        return nullptr;
    }

private:
    std::vector<std::unique_ptr<RiffElement>> children_;
};

}  // namespace FileIO
