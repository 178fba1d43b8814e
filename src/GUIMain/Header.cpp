#include "GUIMain/Header.h"

#include <QEvent>
#include <QLinearGradient>
#include <QObject>
#include <algorithm>
#include <functional>
#include <nlohmann/json.hpp>

#include "GUI/BasicLayout.h"
#include "GUI/Container.h"
#include "GUI/RenderTarget.h"
#include "GUI/WidgetLook.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/AutomationState.h"
#include "GUIMain/HeaderLook.h"
#include "GUIMain/Menu.h"
#include "GUIMain/StatusDisplay.h"
#include "GUIMain/Timeline.h"

namespace GUIMain {

namespace {

constexpr std::uint32_t kChildStyle = GUI::kStyleChild | GUI::kStyleVisible;
// The status display stands at the band's right end.
constexpr int kStatusOffset = 495;
// A step that ends this close to the target has reached it: float steps of 0.05 do not add
// up exactly.
constexpr float kFoldTolerance = 1e-4f;

// The pointer going from the band onto the timeline or the status display enters a child
// window: the header hears no leave then, so it watches its children for it.
class ChildEnterWatcher : public QObject {
public:
    explicit ChildEnterWatcher(std::function<void()> entered) : entered_(std::move(entered)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Enter) {
            entered_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> entered_;
};

}  // namespace

void Header::onCreate()
{
    band_ = HeaderLook::loadProgramImage(L"mainhead.png");
    logoGlow_ = HeaderLook::loadProgramImage(L"logoglowred.png");

    auto* statusLayout = new GUI::BasicLayout(1, -kStatusOffset, 0, 0, 1, -kStatusOffset, 0, 0);
    statusLayout->setFixed(false, false);
    status_ = new StatusDisplay();
    status_->createAsD2DChild(L"StatusDisplay", L"", statusLayout, kChildStyle, 0, this);

    timeline_ = new Timeline();
    timeline_->createAsD2DChild(L"Timeline", L"",
                                new GUI::BasicLayout(0, 0, 0, kBandHeight, 1, 0, 1, 0), kChildStyle,
                                0, this);

    auto* watcher = new ChildEnterWatcher([this] { setLogoHovered(false); });
    watcher->setParent(getHandle());
    status_->getHandle()->installEventFilter(watcher);
    timeline_->getHandle()->installEventFilter(watcher);

    // A menu that is shown from the start is unfolded already.
    if (Menu* menu = findMenu(); menu != nullptr && !menu->getHandle()->isHidden()) {
        foldValue_ = foldTarget_ = 1.0f;
        menu->setFoldValue(foldValue_);
    }

    addStateProvider(this, [this](nlohmann::json& state) {
        state["header"] = {
            {"fold", foldValue_}, {"foldTarget", foldTarget_}, {"logoHover", logoHovered_}};
    });
}

void Header::onDestroy()
{
    removeStateProvider(this);
    killTimer(kFoldTimer);
    folding_ = false;
}

std::intptr_t Header::handleMessage(GUI::Message& message)
{
    switch (message.code) {
        case GUI::kMessageMouseMove: setLogoHovered(inLogoArea(message.position)); break;
        case GUI::kMessageMouseLeave: setLogoHovered(false); break;
        case GUI::kMessageLButtonDown:
            if (inLogoArea(message.position)) {
                listeners_.notify(&Listener::menuToggleRequested);
                return 0;
            }
            break;
        case GUI::kMessageTimer:
            if (message.wParam == static_cast<std::uint64_t>(kFoldTimer)) {
                stepFold();
                return 0;
            }
            break;
        default: break;
    }
    return D2DContainer::handleMessage(message);
}

Menu* Header::findMenu() const
{
    QWidget* window = getHandle() != nullptr ? getHandle()->parentWidget() : nullptr;
    auto* container = dynamic_cast<GUI::Container*>(GUI::Component::fromHandle(window));
    return container != nullptr ? dynamic_cast<Menu*>(container->findByName(L"MainMenu")) : nullptr;
}

void Header::setLogoHovered(bool hovered)
{
    if (getHandle() != nullptr) {
        getHandle()->setCursor(hovered ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    if (hovered == logoHovered_) {
        return;
    }
    logoHovered_ = hovered;
    // With the menu shown the target stays 1; otherwise the logo lights up half-way while
    // the pointer is on it, inviting the click that folds the menu out.
    if (foldTarget_ < 1.0f) {
        setFoldTarget(hovered ? kHoverFold : 0.0f);
    }
}

void Header::setFoldTarget(float target)
{
    target = std::clamp(target, 0.0f, 1.0f);
    if (target == foldTarget_) {
        return;
    }
    foldTarget_ = target;
    if (foldValue_ != foldTarget_ && getHandle() != nullptr) {
        setTimer(kFoldTimer, kFoldPeriodMs);
        folding_ = true;
    }
}

void Header::stepFold()
{
    if (foldValue_ < foldTarget_) {
        foldValue_ += kFoldGrowStep;
        if (foldValue_ >= foldTarget_ - kFoldTolerance) {
            foldValue_ = foldTarget_;
        }
    } else if (foldValue_ > foldTarget_) {
        foldValue_ -= kFoldShrinkStep;
        if (foldValue_ <= foldTarget_ + kFoldTolerance) {
            foldValue_ = foldTarget_;
        }
    }
    if (foldValue_ == foldTarget_) {
        killTimer(kFoldTimer);
        folding_ = false;
    }
    invalidate();
    // The menu unfolds with the logo's glow.
    if (Menu* menu = findMenu()) {
        menu->setFoldValue(foldValue_);
    }
    listeners_.notify(&Listener::foldValueChanged, foldValue_);
}

void Header::draw(GUI::RenderTarget& target)
{
    QPainter& p = target.painter();
    drawBand(p, target.getSize());
    drawLogoGlow(p);
}

void Header::drawBand(QPainter& p, const QSize& size)
{
    const QRect band(0, 0, size.width(), std::min(size.height(), kBandHeight));
    QLinearGradient shade(0, 0, 0, band.height());
    shade.setColorAt(0, QColor(30, 27, 31));
    shade.setColorAt(1, QColor(13, 12, 15));
    p.fillRect(QRect(QPoint(0, 0), size), HeaderLook::kPanel.toQColor());
    p.fillRect(band, shade);
    if (!band_.isNull()) {
        // The picture at the band's height; a band wider than the picture continues with
        // its last column.
        const qreal scale = static_cast<qreal>(kBandHeight) / band_.height();
        const int width = static_cast<int>(band_.width() * scale + 0.5);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRect(0, 0, width, kBandHeight), band_);
        if (width < band.width()) {
            p.drawImage(QRect(width, 0, band.width() - width, kBandHeight), band_,
                        QRect(band_.width() - 1, 0, 1, band_.height()));
        }
    }
    // A thin ember line closes the band; it warms up with the fold.
    const QColor line = GUI::WidgetLook::mix(HeaderLook::kEdge.toQColor(),
                                             HeaderLook::kAmber.toQColor(), foldValue_);
    p.fillRect(QRect(0, band.height() - 2, band.width(), 2), line);
}

void Header::drawLogoGlow(QPainter& p)
{
    if (logoGlow_.isNull() || foldValue_ <= 0.0f) {
        return;
    }
    // The glow lies over the band's logo at the band's scale.
    const qreal scale =
        !band_.isNull()
            ? static_cast<qreal>(kBandHeight) / band_.height()
            : std::min<qreal>(1.0, static_cast<qreal>(kBandHeight) / logoGlow_.height());
    p.save();
    p.setOpacity(foldValue_);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRectF(0, 0, logoGlow_.width() * scale, logoGlow_.height() * scale), logoGlow_);
    p.restore();
}

}  // namespace GUIMain
