#pragma once

#include <QString>
#include <functional>

#include "GUI/D2DComponent.h"

// A pressable tile: hover, press, toggle and keyboard focus, drawn with the toolkit's three
// colours. It shows how often it was drawn, so the incremental drawing can be watched.
class DemoTile : public GUI::D2DComponent {
public:
    DemoTile(QString caption, int width, int height);

    std::wstring getWindowClassName() const override { return L"DemoTile"; }
    std::intptr_t handleMessage(GUI::Message& message) override;
    void draw(GUI::RenderTarget& target) override;

    void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }
    void setToggle(bool toggle) { toggle_ = toggle; }
    bool isOn() const { return on_; }

private:
    void click();
    void setHover(bool hover);
    void setPressed(bool pressed);

    QString caption_;
    std::function<void()> onClick_;
    bool toggle_ = false;
    bool on_ = false;
    bool hover_ = false;
    bool pressed_ = false;
    int draws_ = 0;
};
