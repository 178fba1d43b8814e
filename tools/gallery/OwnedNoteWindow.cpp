#include "OwnedNoteWindow.h"

#include "DemoBox.h"
#include "DemoLabel.h"
#include "DemoTile.h"
#include "GUI/BasicLayout.h"
#include "GUI/WindowStyle.h"

using namespace GUI;

void OwnedNoteWindow::onCreate()
{
    auto* box = new DemoBox(StackedLayout::kDownward, 0.0f, 0);
    box->createAsChild(L"Note", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0),
                       kStyleChild | kStyleVisible, 0, this);
    auto* text = new DemoLabel("The gallery takes no input while this window is open.",
                               Graphics::TextStyle::kRegular13, 30);
    text->createAsD2DChild(L"Text", L"", box->getStack(), kStyleChild | kStyleVisible, 0, box);
    auto* close = new DemoTile("Close this window", 200, 44);
    close->createAsD2DChild(L"Close", L"", box->getStack(),
                            kStyleChild | kStyleVisible | kStyleTabStop, 0, box);
    close->setOnClick([this] { destroyWindow(); });
}
