#pragma once

#include <cstdint>
#include <string>

#include "GUI/D2DComponent.h"
#include "GUI/WidgetColors.h"

namespace GUI {

// Shows one timecode as "hh:mm:ss:ff" ("hh;mm;ss;ff" for drop-frame), or nothing. It takes
// the timecode's packed BCD word (hours, minutes, seconds, frames from the high byte down,
// drop-frame flag 0x40 in the frames byte), so a caller passes SMPTE::getBCD(); it draws
// again only when that word changes, so it may be fed at every clock tick.
class D2DSMPTEDisplay : public D2DComponent {
public:
    static constexpr std::int64_t kEmpty = -1;

    explicit D2DSMPTEDisplay(WidgetColors colors = {});

    std::wstring getWindowClassName() const override { return L"D2DSMPTEDisplay"; }
    void draw(RenderTarget& target) override;

    // A packed word, or kEmpty.
    void setValue(std::int64_t packed);
    std::int64_t getValue() const { return packed_; }
    const std::wstring& getText() const { return text_; }

    // The text of a packed word; empty for kEmpty.
    static std::wstring format(std::int64_t packed);

private:
    WidgetColors colors_;
    std::int64_t packed_ = kEmpty;
    std::wstring text_;
};

}  // namespace GUI
