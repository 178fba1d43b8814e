#include "GUI/D2DPyroSlave.h"

#include "GUI/Graphics.h"
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
    p.fillRect(QRectF(QPointF(0, 0), size), colors_.background.toQColor());
    p.setRenderHint(QPainter::Antialiasing);
    const QColor edge = colors_.edge.toQColor();
    const QColor face = colors_.face.toQColor();
    Graphics* graphics = Graphics::getInstance();
    if (graphics != nullptr) {
        p.setFont(graphics->getFont(Graphics::TextStyle::kRegular13));
    }
    p.setPen(face);
    const QString title =
        state_.address < 0 ? QStringLiteral("-") : QStringLiteral("#%1").arg(state_.address);
    p.drawText(QRectF(4, 0, size.width() - 8, 22), Qt::AlignLeft | Qt::AlignVCenter, title);

    // Two rows of eight channel lamps, numbered from 1.
    const double cellWidth = (size.width() - 8) / 8.0;
    const double cellHeight = (size.height() - 24 - 4) / 2.0;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const QRectF cell(4 + (channel % 8) * cellWidth, 24 + (channel / 8) * cellHeight,
                          cellWidth - 3, cellHeight - 3);
        QColor lamp;
        switch (state_.channels[static_cast<std::size_t>(channel)]) {
            case ChannelStatus::kUnknown: lamp = WidgetLook::mix(edge, face, 0.1); break;
            case ChannelStatus::kOpen: lamp = QColor(200, 40, 40); break;
            case ChannelStatus::kConnected: lamp = QColor(40, 180, 70); break;
            case ChannelStatus::kFired: lamp = QColor(240, 170, 20); break;
        }
        p.setPen(edge);
        p.setBrush(lamp);
        p.drawRoundedRect(cell, WidgetLook::kCornerRadius, WidgetLook::kCornerRadius);
        p.setPen(WidgetLook::mix(lamp, Qt::black, 0.7));
        p.drawText(cell, Qt::AlignCenter, QString::number(channel + 1));
    }
}

}  // namespace GUI
