#pragma once

#include <string>

#include "GUI/D2DComponent.h"

namespace GUIMain {

// The project's timecode format in the status display: the caption "SMPTE fmt" over "24",
// "25", "30" or "DF" (30 drop-frame).
class SMPTEFormatDisplay : public GUI::D2DComponent {
public:
    SMPTEFormatDisplay();

    std::wstring getWindowClassName() const override { return L"SMPTEFormatDisplay"; }
    void draw(GUI::RenderTarget& target) override;

    // An SMPTE::Format.
    void setFormat(int format);
    const std::wstring& getText() const { return text_; }
    static std::wstring textOf(int format);

private:
    int format_ = -1;
    std::wstring text_;
};

}  // namespace GUIMain
