#include "GUI/D2DPyroSlave.h"

#include <QFontMetricsF>
#include <cmath>

#include "GUI/Graphics.h"
#include "GUI/SpriteCache.h"
#include "GUI/WidgetLook.h"
#include "Platform/Assert.h"

namespace GUI {

D2DPyroSlave::D2DPyroSlave(WidgetColors colors) : colors_(colors)
{
    preferredWidth_ = 8 * 28 + 8;
    preferredHeight_ = 24 + 2 * 28 + 8;
}

void D2DPyroSlave::setModuleState(const ModuleState& state)
{
    if (!(state == state_)) {
        state_ = state;
        invalidate();
    }
}

void D2DPyroSlave::setAddress(int address)
{
    if (address != state_.address) {
        state_.address = address;
        invalidate();
    }
}

void D2DPyroSlave::setChannelStatus(int channel, ChannelStatus status)
{
    SKY_ASSERT(channel >= 0, "D2DPyroSlave");
    SKY_ASSERT(channel < 16, "D2DPyroSlave");
    ChannelStatus& current = state_.channels[static_cast<std::size_t>(channel)];
    if (current != status) {
        current = status;
        invalidate();
    }
}

D2DPyroSlave::ChannelStatus D2DPyroSlave::getChannelStatus(int channel) const
{
    SKY_ASSERT(channel >= 0, "D2DPyroSlave");
    SKY_ASSERT(channel < 16, "D2DPyroSlave");
    return state_.channels[static_cast<std::size_t>(channel)];
}

void D2DPyroSlave::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QSizeF size(target.getSize());
    const QColor background = colors_.background.toQColor();
    p.fillRect(QRectF(QPointF(0, 0), size), background);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor edge = colors_.edge.toQColor();
    const QColor face = colors_.face.toQColor();
    Graphics* graphics = Graphics::getInstance();
    const QFont* font =
        graphics != nullptr ? &graphics->getFont(Graphics::TextStyle::kRegular13) : nullptr;
    const QString title =
        state_.address < 0 ? QStringLiteral("-") : QStringLiteral("#%1").arg(state_.address);
    auto drawTitle = [&](QPainter& painter) {
        if (font != nullptr) {
            painter.setFont(*font);
        }
        painter.setPen(face);
        painter.drawText(QRectF(4, 0, size.width() - 8, 22), Qt::AlignLeft | Qt::AlignVCenter,
                         title);
    };

    // Two rows of eight channel lamps, numbered from 1.
    const double cellWidth = (size.width() - 8) / 8.0;
    const double cellHeight = (size.height() - 24 - 4) / 2.0;
    auto drawRow = [&](QPainter& painter, int row) {
        if (font != nullptr) {
            painter.setFont(*font);
        }
        for (int channel = row * 8; channel < row * 8 + 8; ++channel) {
            const QRectF cell(4 + (channel % 8) * cellWidth, 24 + row * cellHeight, cellWidth - 3,
                              cellHeight - 3);
            const QColor lamp = lampColor(state_.channels[static_cast<std::size_t>(channel)]);
            painter.setPen(edge);
            painter.setBrush(lamp);
            painter.drawRoundedRect(cell, WidgetLook::kCornerRadius, WidgetLook::kCornerRadius);
            painter.setPen(WidgetLook::mix(lamp, Qt::black, 0.7));
            painter.drawText(cell, Qt::AlignCenter, QString::number(channel + 1));
        }
    };

    // The title and each row of lamps are copied from pictures when they cannot reach into
    // each other: a row's lamps and numbers keep to the row's band (the numbers may spill
    // sideways in a narrow view, which the band's full width takes in).
    const bool copy = font != nullptr && SpriteCache::canCopyTo(target, p, background) &&
                      cellWidth > 3 && cellHeight - 3 >= QFontMetricsF(*font).height() + 2;
    if (!copy) {
        drawTitle(p);
        drawRow(p, 0);
        drawRow(p, 1);
        return;
    }
    const int width = target.getSize().width();
    SpriteCache::Key titleKey;
    titleKey.add(QStringLiteral("module title")).add(face).add(title);
    SpriteCache::draw(p, target.getDevicePixelRatio(), QRect(0, 0, width, 23), titleKey, background,
                      drawTitle);
    for (int row = 0; row < 2; ++row) {
        // The band holds the lamps' outlines, which reach half a pixel beyond their cells.
        const int top = static_cast<int>(std::floor(24 + row * cellHeight - 1));
        const int bottom = static_cast<int>(std::ceil(24 + row * cellHeight + cellHeight - 2));
        SpriteCache::Key key;
        key.add(QStringLiteral("module lamps"))
            .add(row)
            .add(cellWidth)
            .add(cellHeight)
            .add(24 + row * cellHeight - top)
            .add(edge)
            .add(face);
        for (int channel = row * 8; channel < row * 8 + 8; ++channel) {
            key.add(static_cast<int>(state_.channels[static_cast<std::size_t>(channel)]));
        }
        SpriteCache::draw(p, target.getDevicePixelRatio(), QRect(0, top, width, bottom - top), key,
                          background, [&](QPainter& painter) { drawRow(painter, row); });
    }
}

QColor D2DPyroSlave::lampColor(ChannelStatus status) const
{
    switch (status) {
        case ChannelStatus::kOpen: return QColor(200, 40, 40);
        case ChannelStatus::kConnected: return QColor(40, 180, 70);
        case ChannelStatus::kFired: return QColor(240, 170, 20);
        case ChannelStatus::kUnknown: break;
    }
    return WidgetLook::mix(colors_.edge.toQColor(), colors_.face.toQColor(), 0.1);
}

}  // namespace GUI
