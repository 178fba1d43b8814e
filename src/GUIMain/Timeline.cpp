#include "GUIMain/Timeline.h"

#include "GUI/RenderTarget.h"
#include "Platform/Log.h"

namespace GUIMain {

void Timeline::draw(GUI::RenderTarget& target)
{
    target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), QColor(24, 24, 28));
}

void Timeline::zoomToFit()
{
    Platform::logLine(L"Timeline: zoom to fit is not built yet");
}

void Timeline::zoomIn()
{
    Platform::logLine(L"Timeline: zoom in is not built yet");
}

void Timeline::zoomOut()
{
    Platform::logLine(L"Timeline: zoom out is not built yet");
}

}  // namespace GUIMain
