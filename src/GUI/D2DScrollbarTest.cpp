#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <memory>

#include "GUI/BasicLayout.h"
#include "GUI/D2DScrollbar.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

// A vertical bar 16 thick and 216 long: arrows 16 long, a track of 184 from 16 to 200.
class D2DScrollbarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_.reset(Testing::makeWindow(300, 300));
        bar_ = new D2DScrollbar(D2DScrollbar::kVertical);
        bar_->createAsChild(L"Bar", L"", new BasicLayout(0, 10, 0, 20, 0, 26, 0, 236),
                            Testing::kChildStyle, 0, window_.get());
        ASSERT_EQ(bar_->getLength(), 216);
        ASSERT_EQ(bar_->getThickness(), 16);
    }

    void mouse(std::uint32_t code, int y)
    {
        Message message;
        message.code = code;
        message.position = QPoint(8, y);
        Component::send(bar_->getHandle(), message);
    }

    std::unique_ptr<Testing::TestWindow> window_;
    D2DScrollbar* bar_ = nullptr;
};

TEST_F(D2DScrollbarTest, ThumbFollowsPositionPageAndTotal)
{
    const struct {
        int total, page, position;
        int expectedPosition;
        double thumbStart, thumbEnd, ratio;
    } cases[] = {
        {1000, 250, 0, 0, 16.0, 62.0, 750.0 / 138.0},
        {1000, 250, 300, 300, 71.2, 117.2, 750.0 / 138.0},
        {1000, 250, 900, 750, 154.0, 200.0, 750.0 / 138.0},  // clamped to total - page
        {1000, 250, -5, 0, 16.0, 62.0, 750.0 / 138.0},
        {100, 400, 50, 0, 16.0, 200.0, 0.0},  // total grows to the page: nothing to scroll
        {0, 0, 0, 0, 16.0, 200.0, 0.0},
    };
    for (const auto& c : cases) {
        bar_->setPosition(0);
        bar_->setPage(c.page);
        bar_->setTotal(c.total);
        bar_->setPosition(c.position);
        SCOPED_TRACE(testing::Message() << c.total << "/" << c.page << "/" << c.position);
        EXPECT_EQ(bar_->getPosition(), c.expectedPosition);
        EXPECT_NEAR(bar_->getThumbStart(), c.thumbStart, 1e-9);
        EXPECT_NEAR(bar_->getThumbEnd(), c.thumbEnd, 1e-9);
        EXPECT_NEAR(bar_->getPixelsToUnits(), c.ratio, 1e-9);
    }
    EXPECT_GE(bar_->getTotal(), bar_->getPage());
}

TEST_F(D2DScrollbarTest, HitTestFindsArrowsTrackAndThumb)
{
    bar_->setPage(250);
    bar_->setTotal(1000);
    bar_->setPosition(300);  // thumb 71.2 .. 117.2
    const struct {
        int y;
        D2DScrollbar::Part part;
    } cases[] = {{0, D2DScrollbar::kPartArrowUp},     {15, D2DScrollbar::kPartArrowUp},
                 {16, D2DScrollbar::kPartTrack},      {72, D2DScrollbar::kPartThumb},
                 {117, D2DScrollbar::kPartThumb},     {118, D2DScrollbar::kPartTrack},
                 {200, D2DScrollbar::kPartArrowDown}, {215, D2DScrollbar::kPartArrowDown},
                 {216, D2DScrollbar::kPartNone}};
    for (const auto& c : cases) {
        EXPECT_EQ(bar_->hitTest(QPoint(8, c.y)), c.part) << c.y;
    }
}

TEST_F(D2DScrollbarTest, DraggingTheThumbMovesByTheRatioFromTheDragStart)
{
    bar_->setPage(250);
    bar_->setTotal(1000);
    bar_->setPosition(300);
    mouse(kMessageLButtonDown, 80);
    EXPECT_EQ(bar_->getPressedPart(), D2DScrollbar::kPartThumb);
    mouse(kMessageMouseMove, 90);  // trunc(10 x 750 / 138 + 0.5) = 54
    EXPECT_EQ(bar_->getPosition(), 354);
    mouse(kMessageMouseMove, 70);  // trunc(-10 x 750 / 138 + 0.5) = -53
    EXPECT_EQ(bar_->getPosition(), 247);
    mouse(kMessageMouseMove, 500);  // far below: clamped
    EXPECT_EQ(bar_->getPosition(), 750);
    mouse(kMessageLButtonUp, 500);
    mouse(kMessageMouseMove, 20);  // released: moving no longer drags
    EXPECT_EQ(bar_->getPosition(), 750);
}

TEST_F(D2DScrollbarTest, PressingTheTrackPagesTowardsTheMouse)
{
    bar_->setPage(250);
    bar_->setTotal(1000);
    mouse(kMessageLButtonDown, 190);
    EXPECT_EQ(bar_->getPosition(), 250);
    mouse(kMessageLButtonUp, 190);
    mouse(kMessageLButtonDown, 20);
    EXPECT_EQ(bar_->getPosition(), 0);
    mouse(kMessageLButtonUp, 20);
}

TEST(D2DScrollbarRepeatTest, DelayAndIntervalFollowTheKeyboardSettings)
{
    const struct {
        int delay, speed, firstMs, intervalMs;
    } cases[] = {{0, 0, 250, 40}, {1, 15, 500, 6}, {2, 31, 750, 3}, {3, 31, 1000, 3}};
    for (const auto& c : cases) {
        const D2DScrollbar::RepeatSettings settings{c.delay, c.speed};
        EXPECT_EQ(settings.firstDelayMs(), c.firstMs) << c.delay;
        EXPECT_EQ(settings.intervalMs(), c.intervalMs) << c.speed;
    }
}

TEST_F(D2DScrollbarTest, HoldingAnArrowScrollsOnceWaitsTheDelayThenRepeats)
{
    bar_->setPage(100);
    bar_->setTotal(100000);
    bar_->setRepeatSettings({0, 0});  // 250 ms, then every 40 ms
    QElapsedTimer clock;
    clock.start();
    mouse(kMessageLButtonDown, 205);
    EXPECT_EQ(bar_->getPosition(), D2DScrollbar::kLineStep);
    // Nothing more during the delay.
    QTest::qWait(150);
    if (clock.elapsed() < 240) {
        EXPECT_EQ(bar_->getPosition(), D2DScrollbar::kLineStep);
    }
    ASSERT_TRUE(
        Testing::waitFor([&] { return bar_->getPosition() >= 4 * D2DScrollbar::kLineStep; }, 3000));
    EXPECT_GE(clock.elapsed(), 250);
    mouse(kMessageLButtonUp, 205);
    const int stopped = bar_->getPosition();
    QTest::qWait(120);
    EXPECT_EQ(bar_->getPosition(), stopped);
}

}  // namespace
}  // namespace GUI
