#pragma once

#include <string>

#include "GUI/ButtonInput.h"
#include "GUI/D2DComponent.h"
#include "GUI/WidgetColors.h"
#include "Platform/ListenerSet.h"

namespace GUI {

// A push button with a caption, or a toggle button that flips its on state at every click.
// The caption is the window text given at creation until setCaption() changes it. A click
// (mouse released inside, Space released, Enter released) flips a toggle button first and
// then calls every listener's clicked().
class D2DButton : public D2DComponent {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void clicked(D2DButton* /*button*/) {}
    };

    // The state bits.
    static constexpr int kHover = ButtonInput::kHover;
    static constexpr int kPressed = ButtonInput::kPressed;
    static constexpr int kOn = ButtonInput::kOn;

    explicit D2DButton(bool toggle = false, WidgetColors colors = {});

    std::wstring getWindowClassName() const override { return L"D2DButton"; }
    std::intptr_t handleMessage(Message& message) override;
    void onCreate() override;
    void draw(RenderTarget& target) override;

    void setCaption(const std::wstring& caption);
    const std::wstring& getCaption() const { return caption_; }
    // Enables or disables the window; a disabled button takes no input.
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }
    // Sets the on bit without a click; listeners are not called.
    void setOn(bool on);
    bool isOn() const { return input_.isOn(); }
    bool isToggle() const { return input_.isToggle(); }
    int getState() const { return input_.getState(); }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

protected:
    const WidgetColors& getColors() const { return colors_; }

private:
    WidgetColors colors_;
    std::wstring caption_;
    bool captionSet_ = false;
    bool enabled_ = true;
    ButtonInput input_;
    Platform::ListenerSet<Listener> listeners_;
};

}  // namespace GUI
