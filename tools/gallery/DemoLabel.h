#pragma once

#include <QString>

#include "GUI/D2DComponent.h"
#include "GUI/Graphics.h"

// A line of text on the panel's background.
class DemoLabel : public GUI::D2DComponent {
public:
    DemoLabel(QString text, GUI::Graphics::TextStyle style, int height);

    std::wstring getWindowClassName() const override { return L"DemoLabel"; }
    void draw(GUI::RenderTarget& target) override;

private:
    QString text_;
    GUI::Graphics::TextStyle style_;
};
