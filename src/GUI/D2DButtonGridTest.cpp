#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "AssertionCapture.h"
#include "GUI/BasicLayout.h"
#include "GUI/D2DButtonGrid.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

using Cell = std::pair<int, int>;

class RecordingListener : public D2DButtonGrid::Listener {
public:
    void cellClicked(D2DButtonGrid*, int x, int y) override { clicked.emplace_back(x, y); }
    void cellHovered(D2DButtonGrid*, int x, int y) override { hovered.emplace_back(x, y); }
    void drawCell(RenderTarget&, QBrush&, int x, int y) override { drawn.emplace_back(x, y); }

    std::vector<Cell> clicked;
    std::vector<Cell> hovered;
    std::vector<Cell> drawn;
};

// 4 columns x 3 rows of 20 x 10 cells, gap 2, margins 5 (left) and 7 (top): cell (x, y)
// starts at (7 + 22 x, 9 + 12 y).
class D2DButtonGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_.reset(Testing::makeWindow(200, 100));
        grid_ = new D2DButtonGrid;
        grid_->setMetrics({4, 3, 20, 10, 2, 5, 7});
        grid_->createAsChild(L"Grid", L"", new BasicLayout(0, 0, 0, 0, 0, 95, 0, 45),
                             Testing::kChildStyle, 0, window_.get());
        grid_->addListener(&listener_);
    }

    void mouse(std::uint32_t code, int x, int y)
    {
        Message message;
        message.code = code;
        message.position = QPoint(x, y);
        Component::send(grid_->getHandle(), message);
    }
    void click(int cellX, int cellY)
    {
        mouse(kMessageLButtonDown, 8 + 22 * cellX, 10 + 12 * cellY);
        mouse(kMessageLButtonUp, 8 + 22 * cellX, 10 + 12 * cellY);
    }
    bool selected(int x, int y) const
    {
        return (grid_->getCellState(x, y) & D2DButtonGrid::kSelected) != 0;
    }

    std::unique_ptr<Testing::TestWindow> window_;
    D2DButtonGrid* grid_ = nullptr;
    RecordingListener listener_;
};

TEST_F(D2DButtonGridTest, PreferredSizeAndCellGeometry)
{
    int width = 0;
    int height = 0;
    grid_->getPreferredSize(width, height);
    EXPECT_EQ(width, 22 * 4 + 5 + 2);
    EXPECT_EQ(height, 12 * 3 + 7 + 2);
    EXPECT_EQ(grid_->getCellRect(1, 2), QRect(29, 33, 20, 10));
    const struct {
        QPoint point;
        bool hit;
        Cell cell;
    } cases[] = {{{7, 9}, true, {0, 0}},   {{26, 18}, true, {0, 0}}, {{27, 9}, false, {}},
                 {{29, 33}, true, {1, 2}}, {{6, 9}, false, {}},      {{7, 8}, false, {}},
                 {{80, 42}, true, {3, 2}}, {{93, 9}, false, {}},     {{95, 9}, false, {}},
                 {{7, 43}, false, {}}};
    for (const auto& c : cases) {
        int x = -1;
        int y = -1;
        ASSERT_EQ(grid_->cellAt(c.point, x, y), c.hit) << c.point.x() << "," << c.point.y();
        if (c.hit) {
            EXPECT_EQ(Cell(x, y), c.cell);
        }
    }
}

TEST_F(D2DButtonGridTest, HoverMarksOneCellAndReportsLeaving)
{
    mouse(kMessageMouseMove, 30, 34);
    mouse(kMessageMouseMove, 31, 35);  // same cell: no second report
    mouse(kMessageMouseMove, 8, 10);
    EXPECT_EQ(grid_->getCellState(1, 2) & D2DButtonGrid::kHovered, 0);
    EXPECT_NE(grid_->getCellState(0, 0) & D2DButtonGrid::kHovered, 0);
    mouse(kMessageMouseLeave, 0, 0);
    mouse(kMessageMouseLeave, 0, 0);
    EXPECT_EQ(grid_->getCellState(0, 0) & D2DButtonGrid::kHovered, 0);
    const std::vector<Cell> expected = {{1, 2}, {0, 0}, {-1, -1}};
    EXPECT_EQ(listener_.hovered, expected);
}

TEST_F(D2DButtonGridTest, PressMarksTheCellAndReleaseOnItSelects)
{
    mouse(kMessageLButtonDown, 30, 34);
    EXPECT_NE(grid_->getCellState(1, 2) & D2DButtonGrid::kPressed, 0);
    EXPECT_TRUE(listener_.clicked.empty());
    mouse(kMessageLButtonUp, 30, 34);
    EXPECT_EQ(grid_->getCellState(1, 2) & D2DButtonGrid::kPressed, 0);
    EXPECT_TRUE(selected(1, 2));

    // Released over another cell: no click, nothing selected there.
    mouse(kMessageLButtonDown, 8, 10);
    mouse(kMessageLButtonUp, 30, 10);
    EXPECT_FALSE(selected(0, 0));
    EXPECT_FALSE(selected(1, 0));
    EXPECT_EQ(grid_->getCellState(0, 0) & D2DButtonGrid::kPressed, 0);
    EXPECT_EQ(listener_.clicked, std::vector<Cell>{Cell(1, 2)});
}

TEST_F(D2DButtonGridTest, SingleModeKeepsOneSelectionMultipleModeToggles)
{
    click(0, 0);
    click(3, 1);
    EXPECT_FALSE(selected(0, 0));
    EXPECT_TRUE(selected(3, 1));
    click(3, 1);
    EXPECT_TRUE(selected(3, 1));  // single mode: clicking again keeps it

    grid_->setSelectionMode(D2DButtonGrid::kMultiple);
    click(0, 0);
    EXPECT_TRUE(selected(0, 0));
    EXPECT_TRUE(selected(3, 1));
    click(3, 1);
    EXPECT_FALSE(selected(3, 1));
    EXPECT_TRUE(selected(0, 0));
    EXPECT_EQ(listener_.clicked.size(), 5u);

    // The second mark is the owner's and survives selection clicks.
    grid_->setCellSelected(2, 2, true, D2DButtonGrid::kMarked);
    click(2, 2);
    click(2, 2);
    EXPECT_EQ(grid_->getCellState(2, 2) & (D2DButtonGrid::kSelected | D2DButtonGrid::kMarked),
              D2DButtonGrid::kMarked);
}

TEST_F(D2DButtonGridTest, EveryCellIsDrawnByTheListeners)
{
    listener_.drawn.clear();
    ASSERT_TRUE(Testing::showAndExpose(window_.get()));
    ASSERT_TRUE(Testing::waitFor([&] { return listener_.drawn.size() >= 12u; }));
    EXPECT_EQ(listener_.drawn.front(), Cell(0, 0));
    EXPECT_EQ(listener_.drawn[11], Cell(3, 2));
}

TEST_F(D2DButtonGridTest, CellsOutsideTheGridAreProgrammingErrors)
{
    EXPECT_INVARIANT(grid_->getCellState(-1, 0), "x >= 0", "D2DButtonGrid");
    EXPECT_INVARIANT(grid_->getCellState(4, 0), "x < metrics.columnCount", "D2DButtonGrid");
    EXPECT_INVARIANT(grid_->setCellSelected(0, -1, true), "y >= 0", "D2DButtonGrid");
    EXPECT_INVARIANT(grid_->setCellSelected(0, 3, true), "y < metrics.rowCount", "D2DButtonGrid");
}

}  // namespace
}  // namespace GUI
