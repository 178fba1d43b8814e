#pragma once

#include <string>

#include "GUI/D2DContainer.h"

namespace GUIMain {

// The main menu that lies over the window while no project is open or while the user has
// folded it out: the file commands, the recent files, undo and redo, the libraries and the
// application's settings.
class Menu : public GUI::D2DContainer {
public:
    std::wstring getWindowClassName() const override { return L"MainMenu"; }
    void draw(GUI::RenderTarget& target) override;
};

}  // namespace GUIMain
