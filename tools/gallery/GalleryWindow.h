#pragma once

#include "GUI/Window.h"

class ScrollPanel;
class DemoTile;

// The gallery's main window: a title strip over a scrolling panel that holds every kind of
// component the toolkit has so far, in stacked and basic layouts.
class GalleryWindow : public GUI::Window {
public:
    std::wstring getWindowClassName() const override { return L"GalleryWindow"; }
    void onCreate() override;

private:
    void fillPanel();
    void openNote();

    ScrollPanel* panel_ = nullptr;
    DemoTile* hideable_ = nullptr;
};
