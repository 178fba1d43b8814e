#include "GalleryWindow.h"

#include "DemoBox.h"
#include "DemoLabel.h"
#include "DemoTile.h"
#include "GUI/BasicLayout.h"
#include "GUI/WindowStyle.h"
#include "GalleryHeader.h"
#include "OwnedNoteWindow.h"
#include "ScrollPanel.h"
#include "WidgetShowcase.h"

using namespace GUI;

namespace {

constexpr std::uint32_t kVisible = kStyleChild | kStyleVisible;
constexpr std::uint32_t kFocusable = kVisible | kStyleTabStop;
constexpr int kHeaderHeight = 100;

}  // namespace

void GalleryWindow::onCreate()
{
    auto* header = new GalleryHeader;
    header->createAsChild(L"Header", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 0, kHeaderHeight),
                          kVisible, 0, this);
    panel_ = new ScrollPanel;
    panel_->createAsChild(L"Panel", L"", new BasicLayout(0, 0, 0, kHeaderHeight, 1, 0, 1, 0),
                          kVisible, 0, this);
    fillPanel();
}

void GalleryWindow::fillPanel()
{
    StackedLayout* stack = panel_->getStack();
    int count = 0;
    auto label = [&](const char* text) {
        auto* l = new DemoLabel(text, Graphics::TextStyle::kHeavy10, 22);
        l->createAsD2DChild(L"Label" + std::to_wstring(++count), L"", stack, kVisible, 0, panel_);
    };
    auto tile = [&](DemoBox* box, ILayout* layout, const QString& caption, int width,
                    std::uint32_t style = kFocusable) {
        auto* t = new DemoTile(caption, width, 44);
        D2DContainer* parent = box != nullptr ? static_cast<D2DContainer*>(box) : panel_;
        t->createAsD2DChild(L"Tile" + std::to_wstring(++count), L"", layout, style, 0, parent);
        return t;
    };

    addWidgetShowcase(panel_, stack, count);

    label("STACKED DOWNWARD, IN CREATION ORDER");
    DemoTile* toggle = tile(nullptr, stack, "A toggle: click me, or Space when focused", 0);
    toggle->setToggle(true);
    tile(nullptr, stack, "Open an owned window (it disables this one)", 0)->setOnClick([this] {
        openNote();
    });
    tile(nullptr, stack, "Hide or show the tile below", 0)->setOnClick([this] {
        hideable_->getHandle()->setVisible(!hideable_->getHandle()->isVisible());
        panel_->getStack()->scrolled();
    });
    hideable_ = tile(nullptr, stack, "Hidden tiles take no space and no spacing", 0);
    stack->addSpacer();

    label("STACKED RIGHTWARD, WITH A SPACER AND A HIDDEN TILE BEFORE C");
    auto* row = new DemoBox(StackedLayout::kRightward, 0.0f, 72);
    row->createAsD2DChild(L"RightRow", L"", stack, kVisible, 0, panel_);
    tile(row, row->getStack(), "A", 120);
    tile(row, row->getStack(), "B", 160);
    row->getStack()->addSpacer();
    tile(row, row->getStack(), "hidden", 120, kStyleChild);
    tile(row, row->getStack(), "C", 120);

    label("STACKED LEFTWARD FROM THE RIGHT");
    auto* left = new DemoBox(StackedLayout::kLeftward, 0.98f, 72);
    left->createAsD2DChild(L"LeftRow", L"", stack, kVisible, 0, panel_);
    for (const char* caption : {"first", "second", "third"}) {
        tile(left, left->getStack(), caption, 140);
    }

    label("BASIC LAYOUT: EACH EDGE A FRACTION OF THE BOX PLUS AN OFFSET");
    auto* basic = new DemoBox(-1, 0.0f, 130);
    basic->createAsD2DChild(L"BasicBox", L"", stack, kVisible, 0, panel_);
    tile(basic, new BasicLayout(0, 6, 0, 6, 0.5f, -3, 0.5f, -3), "0 | 0.5 - 3", 0);
    tile(basic, new BasicLayout(0.5f, 3, 0, 6, 1, -6, 0.5f, -3), "0.5 + 3 | 1 - 6", 0);
    tile(basic, new BasicLayout(0, 6, 0.5f, 3, 1, -6, 1, -6), "the whole width, lower half", 0);

    label("MORE TILES, TO SCROLL THROUGH");
    for (int i = 1; i <= 12; ++i) {
        tile(nullptr, stack, QString("Tile %1").arg(i), 0);
    }
}

void GalleryWindow::openNote()
{
    auto* note = new OwnedNoteWindow;
    QWidget* handle =
        note->createOwned(L"Note", L"Owned window", kStyleOverlappedWindow, 0, getHandle());
    handle->resize(460, 140);
    handle->show();
}
