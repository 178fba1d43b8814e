#pragma once

#include "GUI/D2DComponent.h"

// The gallery's title strip: the title, the three colours and the four text formats.
class GalleryHeader : public GUI::D2DComponent {
public:
    std::wstring getWindowClassName() const override { return L"GalleryHeader"; }
    void draw(GUI::RenderTarget& target) override;
};
