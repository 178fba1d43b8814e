#pragma once

#include <string>

#include "GUI/D2DComponent.h"
#include "GUI/Graphics.h"
#include "GUI/WidgetColors.h"

namespace GUI {

// One line of text on the background, in the widgets' ordinary font. The text is the
// window text given at creation until setText() changes it; a text too long for the label
// is cut with an ellipsis.
class D2DLabel : public D2DComponent {
public:
    enum class Alignment { kLeading, kTrailing, kCenter };

    explicit D2DLabel(Alignment alignment = Alignment::kLeading, WidgetColors colors = {});

    std::wstring getWindowClassName() const override { return L"D2DLabel"; }
    void onCreate() override;
    void draw(RenderTarget& target) override;

    void setText(const std::wstring& text);
    const std::wstring& getText() const { return text_; }
    void setAlignment(Alignment alignment);
    Alignment getAlignment() const { return alignment_; }
    // The shared text format to write with; the ordinary text of widgets unless changed.
    void setTextStyle(Graphics::TextStyle style);

private:
    WidgetColors colors_;
    std::wstring text_;
    bool textSet_ = false;
    Alignment alignment_;
    Graphics::TextStyle style_ = Graphics::TextStyle::kRegular13;
};

}  // namespace GUI
