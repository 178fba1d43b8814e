#include "GUI/D2DLabel.h"

#include <QFontMetricsF>

namespace GUI {

D2DLabel::D2DLabel(Alignment alignment, WidgetColors colors)
    : colors_(colors), alignment_(alignment)
{
    preferredWidth_ = 150;
    preferredHeight_ = 20;
}

void D2DLabel::onCreate()
{
    if (!textSet_) {
        text_ = getHandle()->windowTitle().toStdWString();
    }
}

void D2DLabel::setText(const std::wstring& text)
{
    textSet_ = true;
    if (text != text_) {
        text_ = text;
        invalidate();
    }
}

void D2DLabel::setAlignment(Alignment alignment)
{
    if (alignment != alignment_) {
        alignment_ = alignment;
        invalidate();
    }
}

void D2DLabel::setTextStyle(Graphics::TextStyle style)
{
    if (style != style_) {
        style_ = style;
        invalidate();
    }
}

void D2DLabel::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QRectF rect(QPointF(0, 0), QSizeF(target.getSize()));
    // Source, not over: a see-through background must not keep the last picture's text.
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect, colors_.background.toQColor());
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QFont font = p.font();
    if (Graphics* graphics = Graphics::getInstance()) {
        font = graphics->getFont(style_);
    }
    p.setFont(font);
    p.setPen(colors_.face.toQColor());
    const QRectF box = rect.adjusted(2, 0, -2, 0);
    const QString text =
        QFontMetricsF(font).elidedText(QString::fromStdWString(text_), Qt::ElideRight, box.width());
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (alignment_ == Alignment::kTrailing) {
        horizontal = Qt::AlignRight;
    } else if (alignment_ == Alignment::kCenter) {
        horizontal = Qt::AlignHCenter;
    }
    p.drawText(box, horizontal | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

}  // namespace GUI
