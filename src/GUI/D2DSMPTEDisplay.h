#pragma once

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <cstdint>
#include <string>

#include "GUI/D2DComponent.h"
#include "GUI/WidgetColors.h"

namespace GUI {

// Shows one timecode as "hh:mm:ss:ff" ("hh;mm;ss;ff" for drop-frame), or nothing, after an
// optional short caption ("nxt", "cur", "len"). It takes the timecode's packed BCD word
// (hours, minutes, seconds, frames from the high byte down, drop-frame flag 0x40 in the
// frames byte), so a caller passes SMPTE::getBCD(); it draws again only when that word
// changes, so it may be fed at every clock tick.
//
// Its user chooses its size (setPreferredSize, or the layout it is given): the texts are
// scaled to whatever size it gets, from a 72 x 20 strip under the timeline to the status
// display's large figures.
class D2DSMPTEDisplay : public D2DComponent {
public:
    static constexpr std::int64_t kEmpty = -1;

    // Where the texts go in a display of a given size, and in which fonts.
    struct TextLayout {
        QRectF caption;  // empty without a caption
        QFont captionFont;
        QRectF time;
        QFont timeFont;
    };

    explicit D2DSMPTEDisplay(WidgetColors colors = {}, std::wstring caption = {});

    std::wstring getWindowClassName() const override { return L"D2DSMPTEDisplay"; }
    void draw(RenderTarget& target) override;

    // A packed word, or kEmpty.
    void setValue(std::int64_t packed);
    std::int64_t getValue() const { return packed_; }
    const std::wstring& getText() const { return text_; }
    void setCaption(const std::wstring& caption);
    const std::wstring& getCaption() const { return caption_; }

    // The text of a packed word; empty for kEmpty.
    static std::wstring format(std::int64_t packed);
    // The caption at the left, then the widest timecode text, each as large as fits.
    TextLayout layoutFor(const QSizeF& size) const;

private:
    WidgetColors colors_;
    std::wstring caption_;
    std::int64_t packed_ = kEmpty;
    std::wstring text_;
};

}  // namespace GUI
