#include "GalleryHeader.h"

#include "GUI/Colors.h"
#include "GUI/Graphics.h"

using namespace GUI;

void GalleryHeader::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QSize size = target.getSize();
    p.fillRect(QRect(QPoint(0, 0), size), kBackgroundColor.toQColor().darker(160));
    p.fillRect(QRect(0, size.height() - 3, size.width(), 3), kFaceColor.toQColor());

    const Graphics* graphics = Graphics::getInstance();
    p.setPen(kFaceColor.toQColor());
    p.setFont(graphics->getFont(Graphics::TextStyle::kHeavy30));
    p.drawText(QRect(16, 8, size.width() - 32, 44), Qt::AlignLeft | Qt::AlignVCenter,
               "Skyfirewright toolkit");
    p.setPen(Qt::white);
    p.setFont(graphics->getFont(Graphics::TextStyle::kRegular18));
    p.drawText(QRect(16, 54, size.width() - 32, 24), Qt::AlignLeft | Qt::AlignVCenter,
               "Components, containers, windows and layouts");
    p.setFont(graphics->getFont(Graphics::TextStyle::kRegular13));
    p.drawText(QRect(16, 78, size.width() - 32, 18), Qt::AlignLeft | Qt::AlignVCenter,
               "The wheel scrolls, Tab moves the focus (the panel follows it), Space or a "
               "click presses.");

    struct Swatch {
        const char* name;
        ColorF color;
    };
    const Swatch swatches[] = {
        {"FACE", kFaceColor}, {"EDGE", kEdgeColor}, {"BACKGROUND", kBackgroundColor}};
    int x = size.width() - 3 * 104 - 10;
    p.setFont(graphics->getFont(Graphics::TextStyle::kHeavy10));
    for (const Swatch& swatch : swatches) {
        p.setPen(QPen(kFaceColor.toQColor(), 1));
        p.setBrush(swatch.color.toQColor());
        p.drawRoundedRect(QRectF(x + 0.5, 14.5, 96, 40), 5, 5);
        p.setPen(Qt::white);
        p.drawText(QRect(x, 58, 96, 16), Qt::AlignCenter, swatch.name);
        x += 104;
    }
}
