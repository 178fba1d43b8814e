#include "DemoLabel.h"

#include "GUI/Colors.h"

using namespace GUI;

DemoLabel::DemoLabel(QString text, Graphics::TextStyle style, int height)
    : text_(std::move(text)), style_(style)
{
    preferredWidth_ = 400;
    preferredHeight_ = height;
}

void DemoLabel::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QRectF r(QPointF(0, 0), QSizeF(target.getSize()));
    p.fillRect(r, kBackgroundColor.toQColor());
    p.setPen(kFaceColor.toQColor());
    p.setFont(Graphics::getInstance()->getFont(style_));
    p.drawText(r, Qt::AlignBottom | Qt::AlignLeft, text_);
}
