#pragma once

#include "GUI/Window.h"

// A small window owned by the gallery: the gallery takes no input while it is open.
class OwnedNoteWindow : public GUI::Window {
public:
    std::wstring getWindowClassName() const override { return L"OwnedNoteWindow"; }
    void onCreate() override;
};
