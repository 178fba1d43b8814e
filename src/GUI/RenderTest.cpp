#include <gtest/gtest.h>

#include <QBackingStore>
#include <QTest>
#include <array>
#include <memory>

#include "GUI/BasicLayout.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

using Testing::CountingGroup;
using Testing::CountingTile;
using Testing::kChildStyle;
using Testing::TestWindow;

BasicLayout* at(int x, int y, int width, int height)
{
    return new BasicLayout(0, x, 0, y, 0, x + width, 0, y + height);
}

QColor pixel(Window* window, QPoint point)
{
    return window->getHandle()->grab().toImage().pixelColor(point);
}

// A 1920 x 1080 window holding one root panel of 200 drawing components: 10 groups of 19
// tiles each. Group g is the row at y = 10 + 105 g; tile t of it at x = 10 + 100 t.
class RenderTest : public ::testing::Test {
protected:
    static constexpr int kGroups = 10;
    static constexpr int kTiles = 19;

    void SetUp() override
    {
        window_ = Testing::makeWindow(1920, 1080);
        panel_ = new CountingGroup;
        panel_->createAsChild(L"Panel", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0), kChildStyle,
                              0, window_);
        for (int g = 0; g < kGroups; ++g) {
            groups_[g] = new CountingGroup;
            groups_[g]->createAsD2DChild(L"Group" + std::to_wstring(g), L"",
                                         at(10, 10 + 105 * g, 1900, 100), kChildStyle, 0, panel_);
            for (int t = 0; t < kTiles; ++t) {
                tiles_[g][t] = new CountingTile;
                tiles_[g][t]->createAsD2DChild(L"Tile" + std::to_wstring(t), L"",
                                               at(100 * t, 0, 95, 90), kChildStyle, 0, groups_[g]);
            }
        }
    }

    void TearDown() override { delete window_; }

    // Shows the window, lets every pending paint happen and sets the counters to 0.
    void showAndSettle()
    {
        ASSERT_TRUE(Testing::showAndExpose(window_));
        settle();
    }

    void settle()
    {
        QApplication::processEvents();
        ASSERT_FALSE(panel_->isDirty());
        panel_->draws = 0;
        panel_->invalidations = 0;
        for (int g = 0; g < kGroups; ++g) {
            groups_[g]->draws = 0;
            groups_[g]->invalidations = 0;
            for (CountingTile* tile : tiles_[g]) {
                tile->draws = 0;
            }
        }
    }

    // The drawings since the last settle(), all components together.
    int totalDraws() const
    {
        int total = panel_->draws;
        for (int g = 0; g < kGroups; ++g) {
            total += groups_[g]->draws;
            for (CountingTile* tile : tiles_[g]) {
                total += tile->draws;
            }
        }
        return total;
    }

    QPoint centreOf(int g, int t) const { return QPoint(10 + 100 * t + 47, 10 + 105 * g + 45); }

    TestWindow* window_ = nullptr;
    CountingGroup* panel_ = nullptr;
    std::array<CountingGroup*, kGroups> groups_{};
    std::array<std::array<CountingTile*, kTiles>, kGroups> tiles_{};
};

TEST_F(RenderTest, TheFirstPaintDrawsEveryComponentOnce)
{
    ASSERT_TRUE(Testing::showAndExpose(window_));
    QApplication::processEvents();
    for (int g = 0; g < kGroups; ++g) {
        EXPECT_EQ(groups_[g]->draws, 1);
        for (CountingTile* tile : tiles_[g]) {
            EXPECT_EQ(tile->draws, 1);
        }
    }
    EXPECT_EQ(pixel(window_, centreOf(4, 18)), QColor(Qt::white));
    EXPECT_EQ(pixel(window_, QPoint(5, 5)), QColor(Qt::darkBlue));
}

TEST_F(RenderTest, AChangeRedrawsTheComponentAndItsAncestorsOnly)
{
    showAndSettle();
    tiles_[3][7]->setColor(Qt::red);
    panel_->getHandle()->repaint();
    EXPECT_EQ(tiles_[3][7]->draws, 1);
    EXPECT_EQ(groups_[3]->draws, 1);
    EXPECT_EQ(panel_->draws, 1);
    EXPECT_EQ(totalDraws(), 3);

    // Clean children were composed from their bitmaps: the picture is whole.
    EXPECT_EQ(pixel(window_, centreOf(3, 7)), QColor(Qt::red));
    EXPECT_EQ(pixel(window_, centreOf(3, 6)), QColor(Qt::white));
    EXPECT_EQ(pixel(window_, centreOf(9, 18)), QColor(Qt::white));
}

TEST_F(RenderTest, InvalidationClimbsOnlyWhereTheDirtyRegionGrows)
{
    showAndSettle();
    tiles_[5][2]->invalidate();
    tiles_[5][2]->invalidate();
    EXPECT_EQ(groups_[5]->invalidations, 1);
    EXPECT_EQ(panel_->invalidations, 1);
    // A sibling adds its own rectangle all the way up.
    tiles_[5][3]->invalidate();
    EXPECT_EQ(groups_[5]->invalidations, 2);
    EXPECT_EQ(panel_->invalidations, 2);
    // A group dirty all over covers every tile of it: the climb stops there.
    groups_[5]->invalidate();
    EXPECT_EQ(panel_->invalidations, 3);
    tiles_[5][4]->invalidate();
    EXPECT_EQ(groups_[5]->invalidations, 4);
    EXPECT_EQ(panel_->invalidations, 3);

    QApplication::processEvents();
    EXPECT_EQ(totalDraws(), 1 + 1 + 3);
}

TEST_F(RenderTest, AChangeRedrawsOnlyItsPartOfTheAncestors)
{
    showAndSettle();
    tiles_[2][4]->setColor(Qt::red);
    tiles_[2][5]->setColor(Qt::green);
    QApplication::processEvents();
    // The group drew the two tiles' rectangles only; the panel drew (Qt clips a window).
    EXPECT_EQ(groups_[2]->drawnClip, QRect(400, 0, 195, 90));
    EXPECT_EQ(groups_[2]->draws, 1);
    EXPECT_EQ(totalDraws(), 1 + 1 + 2);
    EXPECT_EQ(pixel(window_, centreOf(2, 4)), QColor(Qt::red));
    EXPECT_EQ(pixel(window_, centreOf(2, 5)), QColor(Qt::green));
    EXPECT_EQ(pixel(window_, centreOf(2, 3)), QColor(Qt::white));
    EXPECT_EQ(pixel(window_, centreOf(2, 6)), QColor(Qt::white));
    // The group's background between the tiles was drawn again under the clip, not lost.
    EXPECT_EQ(pixel(window_, QPoint(10 + 497, 10 + 210 + 45)), QColor(Qt::darkBlue));

    // A part of a group, then the whole of it: all of it is drawn.
    settle();
    groups_[7]->invalidateRect(QRect(0, 0, 10, 10));
    groups_[7]->invalidate();
    QApplication::processEvents();
    EXPECT_EQ(groups_[7]->drawnClip, QRect());
    EXPECT_EQ(pixel(window_, centreOf(7, 18)), QColor(Qt::white));
}

// A root away from the window's corner, painted in part (as an uncovered piece of a window
// is): the clean children inside that part are composed again, in the root's coordinates.
TEST(RenderPartTest, APartialPaintOfARootAwayFromTheCornerComposesItsChildren)
{
    std::unique_ptr<TestWindow> window(Testing::makeWindow(800, 600));
    auto* root = new CountingGroup;
    root->createAsChild(L"Offset", L"", at(300, 200, 400, 300), kChildStyle, 0, window.get());
    auto* tile = new CountingTile;
    tile->createAsD2DChild(L"Tile", L"", at(100, 100, 50, 50), kChildStyle, 0, root);
    ASSERT_TRUE(Testing::showAndExpose(window.get()));
    QApplication::processEvents();

    QImage* screen = dynamic_cast<QImage*>(window->getHandle()->backingStore()->paintDevice());
    ASSERT_NE(screen, nullptr) << "the platform's window pixels are an image";
    screen->fill(Qt::black);
    root->getHandle()->repaint(QRect(90, 90, 70, 70));
    EXPECT_EQ(screen->pixelColor(300 + 125, 200 + 125), QColor(Qt::white)) << "the tile";
    EXPECT_EQ(screen->pixelColor(300 + 95, 200 + 95), QColor(Qt::darkBlue)) << "the root";
    EXPECT_EQ(screen->pixelColor(300 + 10, 200 + 10), QColor(Qt::black)) << "outside the part";
}

TEST_F(RenderTest, ALostTargetIsRebuiltAtTheNextPaint)
{
    showAndSettle();
    RenderTarget::markDeviceLost();
    tiles_[0][0]->setColor(Qt::green);
    panel_->getHandle()->repaint();
    // That drawing did not count: the panel stays dirty and asks for another paint.
    EXPECT_TRUE(panel_->isDirty());
    EXPECT_EQ(panel_->getRenderTarget(), nullptr);
    EXPECT_TRUE(Testing::waitFor([this] { return !panel_->isDirty(); }));

    // Every bitmap was made again, so every component drew once more.
    for (int g = 0; g < kGroups; ++g) {
        EXPECT_GE(groups_[g]->draws, 1);
        for (CountingTile* tile : tiles_[g]) {
            EXPECT_GE(tile->draws, 1);
        }
    }
    EXPECT_EQ(pixel(window_, centreOf(0, 0)), QColor(Qt::green));
    EXPECT_EQ(pixel(window_, centreOf(0, 1)), QColor(Qt::white));
}

TEST_F(RenderTest, ARootKeepsItsTargetWhenResizedAChildDropsItsBitmap)
{
    showAndSettle();
    RenderTarget* rootTarget = panel_->getRenderTarget();
    ASSERT_NE(rootTarget, nullptr);
    window_->moveWindow(0, 0, 1600, 900);
    EXPECT_EQ(panel_->getRenderTarget(), rootTarget);
    EXPECT_EQ(rootTarget->getSize(), QSize(1600, 900));

    CountingTile* tile = tiles_[1][1];
    ASSERT_NE(tile->getRenderTarget(), nullptr);
    tile->moveWindow(100, 0, 50, 40);
    EXPECT_EQ(tile->getRenderTarget(), nullptr);
    panel_->getHandle()->repaint();
    ASSERT_NE(tile->getRenderTarget(), nullptr);
    EXPECT_EQ(tile->getRenderTarget()->getSize(), QSize(50, 40));
    EXPECT_EQ(tile->draws, 1);
}

TEST_F(RenderTest, ChildrenAppearWhenTheirParentsFirstDraw)
{
    // Created before any paint: no targets yet anywhere.
    EXPECT_EQ(panel_->getRenderTarget(), nullptr);
    EXPECT_EQ(tiles_[2][2]->getRenderTarget(), nullptr);
    showAndSettle();
    EXPECT_NE(tiles_[2][2]->getRenderTarget(), nullptr);

    // Created after the panel drew: it shows at the next paint.
    auto* late = new CountingTile;
    late->color = Qt::yellow;
    late->createAsD2DChild(L"Late", L"", at(0, 0, 95, 90), kChildStyle, 0, groups_[9]);
    EXPECT_TRUE(panel_->isDirty());
    EXPECT_EQ(pixel(window_, centreOf(9, 0)), QColor(Qt::yellow));
}

TEST_F(RenderTest, HiddenChildrenAreNotDrawnAndMovesRecomposeTheParent)
{
    showAndSettle();
    CountingTile* tile = tiles_[7][18];
    tile->getHandle()->hide();
    panel_->getHandle()->repaint();
    EXPECT_EQ(tile->draws, 0);
    EXPECT_EQ(pixel(window_, centreOf(7, 18)), QColor(Qt::darkBlue));

    tile->setColor(Qt::magenta);
    tile->getHandle()->show();
    EXPECT_EQ(pixel(window_, centreOf(7, 18)), QColor(Qt::magenta));
    EXPECT_EQ(tile->draws, 1);

    // Moved onto its neighbour (registered last, it is drawn over it): the group is composed
    // again from the bitmaps it has, nothing is drawn anew.
    settle();
    tile->moveWindow(100 * 17, 0, 95, 90);
    EXPECT_EQ(pixel(window_, centreOf(7, 18)), QColor(Qt::darkBlue));
    EXPECT_EQ(pixel(window_, centreOf(7, 17)), QColor(Qt::magenta));
    EXPECT_EQ(tile->draws, 0);
    EXPECT_EQ(tiles_[7][17]->draws, 0);
}

}  // namespace
}  // namespace GUI
