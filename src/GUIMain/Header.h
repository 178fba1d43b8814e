#pragma once

#include <string>

#include "GUI/D2DContainer.h"
#include "Platform/ListenerSet.h"

namespace GUIMain {

class Timeline;

// The band at the top of the main window: the logo, the status display and, below the top
// 100 pixels, the timeline. A click on the logo asks the main window to fold the menu in or
// out; the fold value animates toward the target the main window sets.
class Header : public GUI::D2DContainer {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void menuToggleRequested() {}
    };

    std::wstring getWindowClassName() const override { return L"Header"; }
    void onCreate() override;
    void draw(GUI::RenderTarget& target) override;

    // 1 while the menu is to be shown; otherwise 0.5 with the pointer over the logo, else 0.
    void setFoldTarget(float target);
    float getFoldTarget() const { return foldTarget_; }
    float getFoldValue() const { return foldValue_; }
    bool isLogoHovered() const { return logoHovered_; }

    Timeline* getTimeline() const { return timeline_; }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

private:
    Timeline* timeline_ = nullptr;
    float foldValue_ = 0.0f;
    float foldTarget_ = 0.0f;
    bool logoHovered_ = false;
    Platform::ListenerSet<Listener> listeners_;
};

}  // namespace GUIMain
