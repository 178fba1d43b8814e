#include "GUIMain/Sidebar.h"

#include "GUI/RenderTarget.h"

namespace GUIMain {

void Sidebar::draw(GUI::RenderTarget& target)
{
    target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), QColor(40, 40, 46));
}

}  // namespace GUIMain
