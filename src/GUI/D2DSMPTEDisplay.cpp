#include "GUI/D2DSMPTEDisplay.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "GUI/Graphics.h"

namespace GUI {

namespace {

// Every digit drawn as wide as the widest: the text never outgrows its place.
const QString kWidestTime = QStringLiteral("88:88:88:88");
constexpr qreal kMargin = 3;
constexpr qreal kCaptionGap = 4;
constexpr qreal kSmallestPixels = 6;

QFont fontOf(Graphics::TextStyle style)
{
    Graphics* graphics = Graphics::getInstance();
    return graphics != nullptr ? graphics->getFont(style) : QFont();
}

// The font at the largest whole pixel size at which `text` fits into `box`.
QFont fitted(QFont font, const QString& text, const QSizeF& box, qreal heightShare)
{
    qreal pixels = std::max(kSmallestPixels, std::floor(box.height() * heightShare));
    font.setPixelSize(static_cast<int>(pixels));
    const qreal width = QFontMetricsF(font).horizontalAdvance(text);
    if (width > box.width() && width > 0) {
        pixels = std::max(kSmallestPixels, std::floor(pixels * box.width() / width));
        font.setPixelSize(static_cast<int>(pixels));
        // Rounding of the glyph advances may still leave it a pixel too wide.
        while (pixels > kSmallestPixels &&
               QFontMetricsF(font).horizontalAdvance(text) > box.width()) {
            font.setPixelSize(static_cast<int>(--pixels));
        }
    }
    return font;
}

}  // namespace

D2DSMPTEDisplay::D2DSMPTEDisplay(WidgetColors colors, std::wstring caption)
    : colors_(colors), caption_(std::move(caption))
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

void D2DSMPTEDisplay::setCaption(const std::wstring& caption)
{
    if (caption == caption_) {
        return;
    }
    caption_ = caption;
    invalidate();
}

D2DSMPTEDisplay::TextLayout D2DSMPTEDisplay::layoutFor(const QSizeF& size) const
{
    TextLayout layout;
    const QRectF inner(kMargin, 0, std::max(0.0, size.width() - 2 * kMargin), size.height());
    qreal timeLeft = inner.left();
    if (!caption_.empty()) {
        // A small caption, at most a third of the width, never taller than 12 pixels.
        const QString caption = QString::fromStdWString(caption_);
        const QSizeF captionBox(inner.width() / 3, std::min<qreal>(inner.height(), 12 / 0.8));
        layout.captionFont =
            fitted(fontOf(Graphics::TextStyle::kHeavy10), caption, captionBox, 0.8);
        const qreal width = QFontMetricsF(layout.captionFont).horizontalAdvance(caption);
        layout.caption = QRectF(inner.left(), inner.top(), width, inner.height());
        timeLeft = layout.caption.right() + kCaptionGap;
    }
    layout.time =
        QRectF(timeLeft, inner.top(), std::max(0.0, inner.right() - timeLeft), inner.height());
    layout.timeFont =
        fitted(fontOf(Graphics::TextStyle::kHeavy30), kWidestTime, layout.time.size(), 0.75);
    return layout;
}

void D2DSMPTEDisplay::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QSizeF size(target.getSize());
    p.fillRect(QRectF(QPointF(0, 0), size), colors_.background.toQColor());
    const TextLayout layout = layoutFor(size);
    if (!caption_.empty()) {
        QColor captionColor = colors_.face.toQColor();
        captionColor.setAlphaF(0.7f);
        p.setPen(captionColor);
        p.setFont(layout.captionFont);
        p.drawText(layout.caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   QString::fromStdWString(caption_));
    }
    if (text_.empty()) {
        return;
    }
    p.setPen(colors_.face.toQColor());
    p.setFont(layout.timeFont);
    p.drawText(layout.time, Qt::AlignCenter | Qt::TextSingleLine, QString::fromStdWString(text_));
}

}  // namespace GUI
