#include "GUIMain/VUDisplay.h"

#include <algorithm>
#include <cmath>

#include "GUI/Graphics.h"
#include "GUI/RenderTarget.h"
#include "GUIMain/HeaderLook.h"

namespace GUIMain {

namespace {
constexpr double kFloorDb = -48.0;
constexpr int kLabelWidth = 12;
constexpr int kGap = 2;
}  // namespace

VUDisplay::VUDisplay()
{
    preferredWidth_ = 236;
    preferredHeight_ = 24;
}

int VUDisplay::litCount(int level)
{
    if (level <= 0) {
        return 0;
    }
    const double db = 20.0 * std::log10(std::min(level, kFullScale) / double(kFullScale));
    const double share = std::clamp((db - kFloorDb) / -kFloorDb, 0.0, 1.0);
    return static_cast<int>(std::ceil(share * kLights - 1e-9));
}

void VUDisplay::setLevels(int left, int right)
{
    const int litLeft = litCount(left);
    const int litRight = litCount(right);
    if (litLeft == litLeft_ && litRight == litRight_) {
        return;
    }
    litLeft_ = litLeft;
    litRight_ = litRight;
    invalidate();
}

void VUDisplay::draw(GUI::RenderTarget& target)
{
    QPainter& p = target.painter();
    const QSize size = target.getSize();
    p.fillRect(QRect(QPoint(0, 0), size), HeaderLook::kPanel.toQColor());
    const int rowHeight = (size.height() - kGap) / 2;
    const qreal lightWidth =
        static_cast<qreal>(size.width() - kLabelWidth - kGap * kLights) / kLights;
    if (GUI::Graphics* graphics = GUI::Graphics::getInstance()) {
        p.setFont(graphics->getFont(GUI::Graphics::TextStyle::kHeavy10));
    }
    const QColor amber = HeaderLook::kAmber.toQColor();
    const QColor ember = HeaderLook::kEmber.toQColor();
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int row = 0; row < 2; ++row) {
        const int top = row * (rowHeight + kGap);
        p.setPen(HeaderLook::dimText());
        p.drawText(QRect(0, top, kLabelWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   row == 0 ? QStringLiteral("L") : QStringLiteral("R"));
        const int lit = row == 0 ? litLeft_ : litRight_;
        p.setPen(Qt::NoPen);
        for (int i = 0; i < kLights; ++i) {
            // Amber up to -6 dB, ember above.
            QColor colour = i < kLights * 7 / 8 ? amber : ember;
            if (i >= lit) {
                colour = QColor::fromRgbF(colour.redF() * 0.22f, colour.greenF() * 0.2f,
                                          colour.blueF() * 0.2f);
            }
            p.setBrush(colour);
            const QRectF light(kLabelWidth + i * (lightWidth + kGap), top, lightWidth, rowHeight);
            p.drawRoundedRect(light, 1.5, 1.5);
        }
    }
}

}  // namespace GUIMain
