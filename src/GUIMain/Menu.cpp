#include "GUIMain/Menu.h"

#include "GUI/RenderTarget.h"

namespace GUIMain {

void Menu::draw(GUI::RenderTarget& target)
{
    target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), QColor(30, 30, 36));
}

}  // namespace GUIMain
