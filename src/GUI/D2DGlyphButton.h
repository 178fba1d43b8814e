#pragma once

#include <QPainterPath>
#include <QRectF>

#include "GUI/ButtonInput.h"
#include "GUI/D2DComponent.h"
#include "GUI/WidgetColors.h"
#include "Platform/ListenerSet.h"

namespace GUI {

// A button that shows a small vector drawing instead of a caption (play, zoom, scroll). A
// subclass draws its glyph into a path and reacts to clicks by overriding clicked(); the
// look flag shows a state the owner keeps (autoscroll on, for instance) with the lit face.
class D2DGlyphButton : public D2DComponent {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void clicked(D2DGlyphButton* /*button*/) {}
    };

    static constexpr int kHover = ButtonInput::kHover;
    static constexpr int kPressed = ButtonInput::kPressed;
    static constexpr int kOn = ButtonInput::kOn;

    explicit D2DGlyphButton(bool toggle = false, WidgetColors colors = {});

    std::wstring getWindowClassName() const override { return L"D2DGlyphButton"; }
    std::intptr_t handleMessage(Message& message) override;
    void onCreate() override;
    void draw(RenderTarget& target) override;

    // Called at every click, after a toggle button flipped; the base calls the listeners.
    virtual void clicked();
    // Adds the glyph's outline to `sink`, in the box the glyph may fill (the button less a
    // margin). The path is filled with the glyph colour.
    virtual void drawGlyph(QPainterPath& sink, const QRectF& box) = 0;

    // The on/off look, independent of clicks.
    void setLook(bool on);
    bool getLook() const { return look_; }
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }
    bool isOn() const { return input_.isOn(); }
    int getState() const { return input_.getState(); }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

private:
    WidgetColors colors_;
    bool look_ = false;
    bool enabled_ = true;
    ButtonInput input_;
    Platform::ListenerSet<Listener> listeners_;
};

}  // namespace GUI
