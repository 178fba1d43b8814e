#include "GUI/D2DSMPTEDisplay.h"

#include "GUI/Graphics.h"

namespace GUI {

D2DSMPTEDisplay::D2DSMPTEDisplay(WidgetColors colors) : colors_(colors)
{
    preferredWidth_ = 200;
    preferredHeight_ = 40;
}

std::wstring D2DSMPTEDisplay::format(std::int64_t packed)
{
    if (packed < 0) {
        return {};
    }
    const auto word = static_cast<std::uint32_t>(packed);
    const bool dropFrame = (word & 0x40u) != 0;
    auto field = [](std::uint32_t bcd) {
        const wchar_t digits[] = {static_cast<wchar_t>(L'0' + ((bcd >> 4) & 0x0F) % 10),
                                  static_cast<wchar_t>(L'0' + (bcd & 0x0F) % 10), 0};
        return std::wstring(digits);
    };
    const wchar_t separator = dropFrame ? L';' : L':';
    return field(word >> 24) + separator + field((word >> 16) & 0xFF) + separator +
           field((word >> 8) & 0xFF) + separator + field(word & 0x3F);
}

void D2DSMPTEDisplay::setValue(std::int64_t packed)
{
    if (packed < 0) {
        packed = kEmpty;
    }
    if (packed == packed_) {
        return;
    }
    packed_ = packed;
    text_ = format(packed);
    invalidate();
}

void D2DSMPTEDisplay::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QRectF rect(QPointF(0, 0), QSizeF(target.getSize()));
    p.fillRect(rect, colors_.background.toQColor());
    if (text_.empty()) {
        return;
    }
    if (Graphics* graphics = Graphics::getInstance()) {
        p.setFont(graphics->getFont(Graphics::TextStyle::kHeavy30));
    }
    p.setPen(colors_.face.toQColor());
    p.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, QString::fromStdWString(text_));
}

}  // namespace GUI
