#pragma once

#include <string>

#include "GUI/D2DGlyphButton.h"

namespace GUIMain {

// The status display's transport: each button sends its command to the main window at a
// click and waits for it, as the keys bound to the same commands do.
class TransportButton : public GUI::D2DGlyphButton {
public:
    TransportButton(int command, GUI::WidgetColors colors);

    void clicked() override;
    int getCommand() const { return command_; }

private:
    int command_;
};

// Play (command 28): a triangle.
class PlayButton : public TransportButton {
public:
    PlayButton();
    std::wstring getWindowClassName() const override { return L"PlayButton"; }
    void drawGlyph(QPainterPath& sink, const QRectF& box) override;
};

// Pause (command 30): two bars.
class PauseButton : public TransportButton {
public:
    PauseButton();
    std::wstring getWindowClassName() const override { return L"PauseButton"; }
    void drawGlyph(QPainterPath& sink, const QRectF& box) override;
};

// Stop (command 31): a square.
class StopButton : public TransportButton {
public:
    StopButton();
    std::wstring getWindowClassName() const override { return L"StopButton"; }
    void drawGlyph(QPainterPath& sink, const QRectF& box) override;
};

// Record (command 29): a dot, in ember.
class RecordButton : public TransportButton {
public:
    RecordButton();
    std::wstring getWindowClassName() const override { return L"RecordButton"; }
    void drawGlyph(QPainterPath& sink, const QRectF& box) override;
};

}  // namespace GUIMain
