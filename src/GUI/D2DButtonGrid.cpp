#include "GUI/D2DButtonGrid.h"

#include "GUI/SpriteCache.h"
#include "GUI/WidgetLook.h"
#include "Platform/Assert.h"

namespace GUI {

D2DButtonGrid::D2DButtonGrid(SelectionMode mode, WidgetColors colors) : colors_(colors), mode_(mode)
{
}

void D2DButtonGrid::setMetrics(const Metrics& newMetrics)
{
    SKY_ASSERT(newMetrics.columnCount >= 0 && newMetrics.rowCount >= 0, "D2DButtonGrid");
    metrics = newMetrics;
    cells_.assign(static_cast<std::size_t>(metrics.columnCount * metrics.rowCount), 0);
    currentX_ = currentY_ = pressedX_ = pressedY_ = -1;
    invalidate();
}

std::uint8_t& D2DButtonGrid::cell(int x, int y)
{
    SKY_ASSERT(x >= 0, "D2DButtonGrid");
    SKY_ASSERT(x < metrics.columnCount, "D2DButtonGrid");
    SKY_ASSERT(y >= 0, "D2DButtonGrid");
    SKY_ASSERT(y < metrics.rowCount, "D2DButtonGrid");
    return cells_[static_cast<std::size_t>(y * metrics.columnCount + x)];
}

std::uint8_t D2DButtonGrid::getCellState(int x, int y) const
{
    return const_cast<D2DButtonGrid*>(this)->cell(x, y);
}

void D2DButtonGrid::setCellSelected(int x, int y, bool selected, std::uint8_t mark)
{
    std::uint8_t& state = cell(x, y);
    const std::uint8_t next = selected ? (state | mark) : (state & ~mark);
    if (next != state) {
        state = next;
        invalidate();
    }
}

void D2DButtonGrid::getPreferredSize(int& width, int& height)
{
    width =
        (metrics.cellWidth + metrics.gap) * metrics.columnCount + metrics.leftMargin + metrics.gap;
    height =
        (metrics.cellHeight + metrics.gap) * metrics.rowCount + metrics.topMargin + metrics.gap;
}

QRect D2DButtonGrid::getCellRect(int x, int y) const
{
    return QRect(metrics.leftMargin + metrics.gap + x * (metrics.cellWidth + metrics.gap),
                 metrics.topMargin + metrics.gap + y * (metrics.cellHeight + metrics.gap),
                 metrics.cellWidth, metrics.cellHeight);
}

bool D2DButtonGrid::cellAt(QPoint point, int& x, int& y) const
{
    const int pitchX = metrics.cellWidth + metrics.gap;
    const int pitchY = metrics.cellHeight + metrics.gap;
    const int px = point.x() - metrics.leftMargin - metrics.gap;
    const int py = point.y() - metrics.topMargin - metrics.gap;
    if (pitchX <= 0 || pitchY <= 0 || px < 0 || py < 0) {
        return false;
    }
    const int cx = px / pitchX;
    const int cy = py / pitchY;
    if (cx >= metrics.columnCount || cy >= metrics.rowCount || px % pitchX >= metrics.cellWidth ||
        py % pitchY >= metrics.cellHeight) {
        return false;
    }
    x = cx;
    y = cy;
    return true;
}

void D2DButtonGrid::clearBit(std::uint8_t bit)
{
    for (std::uint8_t& state : cells_) {
        state &= static_cast<std::uint8_t>(~bit);
    }
}

void D2DButtonGrid::setHovered(int x, int y)
{
    if (x == currentX_ && y == currentY_) {
        return;
    }
    clearBit(kHovered);
    currentX_ = x;
    currentY_ = y;
    if (x >= 0) {
        cell(x, y) |= kHovered;
    }
    invalidate();
    listeners_.notify(&Listener::cellHovered, this, x, y);
}

std::intptr_t D2DButtonGrid::handleMessage(Message& message)
{
    int x = -1;
    int y = -1;
    switch (message.code) {
        case kMessageMouseMove:
            if (!cellAt(message.position, x, y)) {
                x = y = -1;
            }
            setHovered(x, y);
            return 0;
        case kMessageMouseLeave: setHovered(-1, -1); return 0;
        case kMessageLButtonDown:
            if (cellAt(message.position, x, y)) {
                cell(x, y) |= kPressed;
                pressedX_ = x;
                pressedY_ = y;
                invalidate();
            }
            return 0;
        case kMessageLButtonUp: {
            const int px = pressedX_;
            const int py = pressedY_;
            if (px < 0) {
                return 0;
            }
            clearBit(kPressed);
            pressedX_ = pressedY_ = -1;
            invalidate();
            // Only a release on the pressed cell selects: dragging off cancels, as with a
            // button.
            if (!cellAt(message.position, x, y) || x != px || y != py) {
                return 0;
            }
            if (mode_ == kSingle) {
                clearBit(kSelected);
                cell(x, y) |= kSelected;
            } else {
                cell(x, y) ^= kSelected;
            }
            listeners_.notify(&Listener::cellClicked, this, x, y);
            return 0;
        }
        default: break;
    }
    return D2DComponent::handleMessage(message);
}

void D2DButtonGrid::draw(RenderTarget& target)
{
    QPainter& p = target.painter();
    const QColor background = colors_.background.toQColor();
    p.fillRect(QRect(QPoint(0, 0), target.getSize()), background);
    // Cells of one look are copied from one picture: drawing the rounded bodies anew is
    // most of a grid's cost. Each cell's body stays inside its rectangle.
    const bool copyCells = SpriteCache::canCopyTo(target, p, background);
    const bool drawnByListeners = !listeners_.empty();
    for (int y = 0; y < metrics.rowCount; ++y) {
        for (int x = 0; x < metrics.columnCount; ++x) {
            const std::uint8_t state = getCellState(x, y);
            const bool lit = (state & (kSelected | kMarked)) != 0;
            const bool pressed = (state & kPressed) != 0;
            const bool hover = (state & kHovered) != 0;
            const QRect cellRect = getCellRect(x, y);
            if (copyCells) {
                SpriteCache::Key key;
                key.add(QStringLiteral("grid cell"))
                    .add(colors_.face.toQColor())
                    .add(colors_.edge.toQColor())
                    .add((lit ? 1 : 0) | (pressed ? 2 : 0) | (hover ? 4 : 0));
                SpriteCache::draw(p, target.getDevicePixelRatio(), cellRect, key, background,
                                  [&](QPainter& cellPainter) {
                                      WidgetLook::drawButtonBody(cellPainter, QRectF(cellRect),
                                                                 colors_, lit, pressed, hover,
                                                                 false);
                                  });
            } else {
                p.save();
                WidgetLook::drawButtonBody(p, QRectF(cellRect), colors_, lit, pressed, hover,
                                           false);
                p.restore();
            }
            if (drawnByListeners) {
                p.save();
                listeners_.forEach(
                    [&](Listener* listener) { listener->drawCell(target, getKeptBrush(), x, y); });
                p.restore();
            }
        }
    }
}

}  // namespace GUI
