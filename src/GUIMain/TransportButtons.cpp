#include "GUIMain/TransportButtons.h"

#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>

#include "GUIMain/Commands.h"
#include "GUIMain/HeaderLook.h"

namespace GUIMain {

namespace {

// The largest square centred in the box: glyphs keep their shape in any button.
QRectF square(const QRectF& box)
{
    const qreal side = std::min(box.width(), box.height());
    return QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
}

}  // namespace

TransportButton::TransportButton(int command, GUI::WidgetColors colors)
    : GUI::D2DGlyphButton(false, colors), command_(command)
{
    preferredWidth_ = 32;
    preferredHeight_ = 30;
}

void TransportButton::clicked()
{
    GUI::D2DGlyphButton::clicked();
    sendCommand(command_);
}

PlayButton::PlayButton() : TransportButton(Command::kPlay, HeaderLook::kStatusColors) {}

void PlayButton::drawGlyph(QPainterPath& sink, const QRectF& box)
{
    const QRectF s = square(box);
    sink.addPolygon(QPolygonF({QPointF(s.left() + s.width() * 0.12, s.top()),
                               QPointF(s.right(), s.center().y()),
                               QPointF(s.left() + s.width() * 0.12, s.bottom())}));
    sink.closeSubpath();
}

PauseButton::PauseButton() : TransportButton(Command::kPause, HeaderLook::kStatusColors) {}

void PauseButton::drawGlyph(QPainterPath& sink, const QRectF& box)
{
    const QRectF s = square(box);
    const qreal bar = s.width() * 0.34;
    sink.addRect(QRectF(s.left() + s.width() * 0.08, s.top(), bar, s.height()));
    sink.addRect(QRectF(s.right() - s.width() * 0.08 - bar, s.top(), bar, s.height()));
}

StopButton::StopButton() : TransportButton(Command::kStop, HeaderLook::kStatusColors) {}

void StopButton::drawGlyph(QPainterPath& sink, const QRectF& box)
{
    const QRectF s = square(box);
    sink.addRoundedRect(
        s.adjusted(s.width() * 0.06, s.height() * 0.06, -s.width() * 0.06, -s.height() * 0.06), 1.5,
        1.5);
}

RecordButton::RecordButton()
    : TransportButton(Command::kRecord, {HeaderLook::kEmber, HeaderLook::kEdge, HeaderLook::kPanel})
{
}

void RecordButton::drawGlyph(QPainterPath& sink, const QRectF& box)
{
    const QRectF s = square(box);
    sink.addEllipse(
        s.adjusted(s.width() * 0.04, s.height() * 0.04, -s.width() * 0.04, -s.height() * 0.04));
}

}  // namespace GUIMain
