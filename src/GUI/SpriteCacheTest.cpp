#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <vector>

#include "GUI/BasicLayout.h"
#include "GUI/D2DButtonGrid.h"
#include "GUI/D2DPyroSlave.h"
#include "GUI/D2DScrollbar.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/SpriteCache.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

using Status = D2DPyroSlave::ChannelStatus;

// Marks the middle of every cell it is asked to draw, as a panel draws module numbers.
class CellMarker : public D2DButtonGrid::Listener {
public:
    void drawCell(RenderTarget& target, QBrush&, int x, int y) override
    {
        const QRect cell = grid->getCellRect(x, y);
        target.painter().fillRect(QRectF(cell.center().x() - 1.5, cell.center().y() - 1.5, 3, 3),
                                  QColor(255, 255, 255, 40 + 50 * ((x + y) % 4)));
    }
    D2DButtonGrid* grid = nullptr;
};

// Widgets copied from kept pictures look exactly as when they draw everything themselves, in
// every state and size (narrow views whose numbers spill out of their lamps, short bars
// whose arrows meet), and a change of state never shows a stale picture.
class SpriteCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SpriteCache::clear();
        window_.reset(Testing::makeWindow(900, 420));
        panel_ = new Testing::CountingGroup;
        panel_->createAsChild(L"Panel", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0),
                              Testing::kChildStyle, 0, window_.get());
        const QRect places[] = {{5, 5, 232, 88},   {245, 5, 90, 100}, {345, 5, 61, 70},
                                {415, 5, 150, 41}, {5, 110, 97, 46},  {110, 110, 20, 20}};
        for (const QRect& r : places) {
            slaves_.push_back(add(new D2DPyroSlave, r));
        }
        const D2DButtonGrid::Metrics metrics[] = {
            {8, 2, 28, 28, 2, 4, 3}, {4, 4, 18, 20, 2, 0, 0}, {3, 2, 10, 10, 0, 1, 1}};
        int x = 140;
        for (const D2DButtonGrid::Metrics& m : metrics) {
            auto* grid = new D2DButtonGrid(D2DButtonGrid::kMultiple);
            grid->setMetrics(m);
            int width = 0;
            int height = 0;
            grid->getPreferredSize(width, height);
            grids_.push_back(add(grid, QRect(x, 110, width, height)));
            x += width + 10;
        }
        marker_.grid = grids_[1];
        grids_[1]->addListener(&marker_);
        const QRect bars[] = {{5, 200, 16, 200},
                              {30, 200, 90, 100},
                              {130, 200, 300, 16},
                              {130, 230, 30, 20},
                              {450, 200, 20, 25}};
        for (int i = 0; i < 5; ++i) {
            auto* bar = new D2DScrollbar(i == 2 || i == 3 ? D2DScrollbar::kHorizontal
                                                          : D2DScrollbar::kVertical);
            bar->setTotal(1000);
            bar->setPage(150 + 100 * i);
            bar->setPosition(37 * i);
            bars_.push_back(add(bar, bars[i]));
        }
        ASSERT_TRUE(Testing::showAndExpose(window_.get()));
    }

    void TearDown() override
    {
        window_.reset();
        SpriteCache::setEnabled(true);
    }

    template <typename W>
    W* add(W* widget, const QRect& r)
    {
        widget->createAsD2DChild(
            L"W" + std::to_wstring(count_++), L"",
            new BasicLayout(0, r.left(), 0, r.top(), 0, r.right() + 1, 0, r.bottom() + 1),
            Testing::kChildStyle, 0, panel_);
        return widget;
    }

    // The window's picture with every widget drawn again, copying pictures or not.
    QImage picture(bool copy)
    {
        SpriteCache::setEnabled(copy);
        for (D2DComponent* widget : all()) {
            widget->invalidate();
        }
        return window_->getHandle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    std::vector<D2DComponent*> all() const
    {
        std::vector<D2DComponent*> result(slaves_.begin(), slaves_.end());
        result.insert(result.end(), grids_.begin(), grids_.end());
        result.insert(result.end(), bars_.begin(), bars_.end());
        return result;
    }

    std::unique_ptr<Testing::TestWindow> window_;
    Testing::CountingGroup* panel_ = nullptr;
    std::vector<D2DPyroSlave*> slaves_;
    std::vector<D2DButtonGrid*> grids_;
    std::vector<D2DScrollbar*> bars_;
    CellMarker marker_;
    int count_ = 0;
};

TEST_F(SpriteCacheTest, CopiedPicturesMatchDrawingInEveryState)
{
    const QImage first = picture(true);
    EXPECT_GT(SpriteCache::size(), 0u);
    EXPECT_EQ(first, picture(false));
    // Drawn a second time from the kept pictures.
    EXPECT_EQ(picture(true), first);

    // New states: channels, addresses, selections and marks, hovered and pressed cells, a
    // hovered bar with a pressed arrow.
    for (std::size_t i = 0; i < slaves_.size(); ++i) {
        slaves_[i]->setAddress(static_cast<int>(i * 41));
        for (int channel = 0; channel < D2DPyroSlave::kChannelCount; ++channel) {
            slaves_[i]->setChannelStatus(channel,
                                         static_cast<Status>((channel + static_cast<int>(i)) % 4));
        }
    }
    slaves_[2]->setAddress(-1);
    for (D2DButtonGrid* grid : grids_) {
        grid->setCellSelected(1, 1, true);
        grid->setCellSelected(0, 1, true, D2DButtonGrid::kMarked);
    }
    QWidget* gridWindow = grids_[0]->getHandle();
    QTest::mouseMove(gridWindow, grids_[0]->getCellRect(2, 0).center());
    QTest::mousePress(gridWindow, Qt::LeftButton, Qt::NoModifier,
                      grids_[0]->getCellRect(3, 1).center());
    QTest::mousePress(bars_[0]->getHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(8, 195));
    ASSERT_EQ(bars_[0]->getPressedPart(), D2DScrollbar::kPartArrowDown);

    const QImage changed = picture(true);
    EXPECT_NE(changed, first);
    EXPECT_EQ(changed, picture(false));
    EXPECT_EQ(picture(true), changed);

    QTest::mouseRelease(bars_[0]->getHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(8, 195));
    QTest::mouseRelease(gridWindow, Qt::LeftButton, Qt::NoModifier,
                        grids_[0]->getCellRect(3, 1).center());
}

}  // namespace
}  // namespace GUI
