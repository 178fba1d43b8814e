#pragma once

#include <QImage>
#include <string>

#include "GUI/D2DContainer.h"
#include "Platform/ListenerSet.h"

namespace GUIMain {

class Menu;
class StatusDisplay;
class Timeline;

// The band at the top of the main window: the logo, the status display and, below the top
// 100 pixels, the timeline. A click on the logo asks the main window to fold the menu in or
// out; the fold value animates toward the target the main window sets, and the logo's glow
// and the menu's appearance follow it.
class Header : public GUI::D2DContainer {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void menuToggleRequested() {}
        // Every step of the fold animation.
        virtual void foldValueChanged(float /*value*/) {}
    };

    // The logo area: the band's left part, above the timeline.
    static constexpr int kLogoAreaWidth = 550;
    static constexpr int kBandHeight = 100;
    static constexpr int kFoldTimer = 1;
    static constexpr int kFoldPeriodMs = 50;
    static constexpr float kFoldGrowStep = 0.2f;
    static constexpr float kFoldShrinkStep = 0.05f;
    // The fold target while the menu is hidden and the pointer is over the logo.
    static constexpr float kHoverFold = 0.5f;

    std::wstring getWindowClassName() const override { return L"Header"; }
    std::intptr_t handleMessage(GUI::Message& message) override;
    void onCreate() override;
    void onDestroy() override;
    void draw(GUI::RenderTarget& target) override;

    // 1 while the menu is to be shown; otherwise 0.5 with the pointer over the logo, else 0.
    // A changed target starts the animation.
    void setFoldTarget(float target);
    float getFoldTarget() const { return foldTarget_; }
    float getFoldValue() const { return foldValue_; }
    bool isLogoHovered() const { return logoHovered_; }
    bool isFolding() const { return folding_; }

    Timeline* getTimeline() const { return timeline_; }
    StatusDisplay* getStatusDisplay() const { return status_; }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

    static bool inLogoArea(const QPoint& point)
    {
        return point.x() < kLogoAreaWidth && point.y() < kBandHeight && point.x() >= 0 &&
               point.y() >= 0;
    }

private:
    // One tick of the animation.
    void stepFold();
    void setLogoHovered(bool hovered);
    // The main menu beside the header in the main window, if there is one.
    Menu* findMenu() const;
    void drawBand(QPainter& painter, const QSize& size);
    void drawLogoGlow(QPainter& painter);

    Timeline* timeline_ = nullptr;
    StatusDisplay* status_ = nullptr;
    QImage band_;
    QImage logoGlow_;
    float foldValue_ = 0.0f;
    float foldTarget_ = 0.0f;
    bool folding_ = false;
    bool logoHovered_ = false;
    Platform::ListenerSet<Listener> listeners_;
};

}  // namespace GUIMain
