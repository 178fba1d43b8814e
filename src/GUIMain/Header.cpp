#include "GUIMain/Header.h"

#include "GUI/BasicLayout.h"
#include "GUI/RenderTarget.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/Timeline.h"

namespace GUIMain {

void Header::onCreate()
{
    timeline_ = new Timeline();
    timeline_->createAsD2DChild(L"Timeline", L"", new GUI::BasicLayout(0, 0, 0, 100, 1, 0, 1, 0),
                                GUI::kStyleChild | GUI::kStyleVisible, 0, this);
}

void Header::draw(GUI::RenderTarget& target)
{
    target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), QColor(16, 16, 20));
}

void Header::setFoldTarget(float target)
{
    foldTarget_ = foldValue_ = target;
}

}  // namespace GUIMain
