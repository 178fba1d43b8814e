#include "GUIMain/SMPTEFormatDisplay.h"

#include <QFontMetricsF>

#include "GUI/Graphics.h"
#include "GUI/RenderTarget.h"
#include "GUIMain/HeaderLook.h"
#include "Timecode/SMPTE.h"

namespace GUIMain {

SMPTEFormatDisplay::SMPTEFormatDisplay()
{
    preferredWidth_ = 88;
    preferredHeight_ = 36;
}

std::wstring SMPTEFormatDisplay::textOf(int format)
{
    switch (format) {
        case SMPTE::SMPTE_24: return L"24";
        case SMPTE::SMPTE_25: return L"25";
        case SMPTE::SMPTE_30DF: return L"DF";
        case SMPTE::SMPTE_30: return L"30";
        default: return L"";
    }
}

void SMPTEFormatDisplay::setFormat(int format)
{
    if (format == format_) {
        return;
    }
    format_ = format;
    text_ = textOf(format);
    invalidate();
}

void SMPTEFormatDisplay::draw(GUI::RenderTarget& target)
{
    QPainter& p = target.painter();
    const QRectF rect(QPointF(0, 0), QSizeF(target.getSize()));
    p.fillRect(rect, HeaderLook::kPanel.toQColor());
    GUI::Graphics* graphics = GUI::Graphics::getInstance();
    if (graphics == nullptr) {
        return;
    }
    const qreal captionHeight = 12;
    QColor caption = HeaderLook::kAmber.toQColor();
    caption.setAlphaF(0.7f);
    p.setPen(caption);
    p.setFont(graphics->getFont(GUI::Graphics::TextStyle::kHeavy10));
    p.drawText(QRectF(0, 0, rect.width(), captionHeight), Qt::AlignCenter | Qt::TextSingleLine,
               QStringLiteral("SMPTE fmt"));
    QFont value = graphics->getFont(GUI::Graphics::TextStyle::kHeavy30);
    value.setPixelSize(std::max(8, static_cast<int>((rect.height() - captionHeight) * 0.9)));
    p.setFont(value);
    p.setPen(HeaderLook::kAmber.toQColor());
    p.drawText(QRectF(0, captionHeight, rect.width(), rect.height() - captionHeight),
               Qt::AlignCenter | Qt::TextSingleLine, QString::fromStdWString(text_));
}

}  // namespace GUIMain
