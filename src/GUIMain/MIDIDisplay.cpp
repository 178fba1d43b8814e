#include "GUIMain/MIDIDisplay.h"

#include "GUI/Graphics.h"
#include "GUI/RenderTarget.h"
#include "GUIMain/HeaderLook.h"

namespace GUIMain {

using Mode = Midi::MidiController::Mode;

MIDIDisplay::MIDIDisplay()
{
    preferredWidth_ = 236;
    preferredHeight_ = 16;
}

std::wstring MIDIDisplay::textOf(Mode mode)
{
    switch (mode) {
        case Mode::kSending: return L"Send MTC";
        case Mode::kReceiving: return L"Receive MTC";
        case Mode::kNone: break;
    }
    return L"No MTC";
}

void MIDIDisplay::setMode(Mode mode)
{
    if (mode != mode_) {
        mode_ = mode;
        invalidate();
    }
}

void MIDIDisplay::draw(GUI::RenderTarget& target)
{
    QPainter& p = target.painter();
    const QRectF rect(QPointF(0, 0), QSizeF(target.getSize()));
    p.fillRect(rect, HeaderLook::kPanel.toQColor());
    // A lamp: dark without time code, amber while sending, green while receiving.
    QColor lamp(70, 64, 60);
    if (mode_ == Mode::kSending) {
        lamp = HeaderLook::kAmber.toQColor();
    } else if (mode_ == Mode::kReceiving) {
        lamp = QColor(120, 220, 120);
    }
    const qreal diameter = std::min<qreal>(8, rect.height() - 4);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(lamp);
    p.drawEllipse(QRectF(2, (rect.height() - diameter) / 2, diameter, diameter));
    if (GUI::Graphics* graphics = GUI::Graphics::getInstance()) {
        p.setFont(graphics->getFont(GUI::Graphics::TextStyle::kHeavy10));
    }
    p.setPen(mode_ == Mode::kNone ? HeaderLook::dimText() : HeaderLook::text());
    p.drawText(rect.adjusted(diameter + 8, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdWString(textOf(mode_)));
}

}  // namespace GUIMain
