#include <gtest/gtest.h>

#include "GUIMain/TimelineView.h"

namespace GUIMain {
namespace {

TimelineView viewOf(int width, double start, double scale)
{
    TimelineView view;
    view.resize(width);
    view.setView(start, scale);
    return view;
}

TEST(TimelineView, SetViewClampsToZeroTheMinimumScaleAndOneDay)
{
    struct Case {
        const char* name;
        int width;
        double start;
        double scale;
        double wantStart;
        double wantScale;
    };
    const Case cases[] = {
        {"inside", 1000, 5000, 10, 5000, 10},
        {"negative start", 1000, -300, 10, 0, 10},
        {"scale below the minimum", 1000, 0, 0.1, 0, 0.5},
        {"past the day: ends at the day", 1000, 86000000, 1000, 85400000, 1000},
        {"very wide window: the whole day", 100000, 500, 1000, 0, 864},
    };
    for (const Case& c : cases) {
        const TimelineView view = viewOf(c.width, c.start, c.scale);
        EXPECT_DOUBLE_EQ(view.getStart(), c.wantStart) << c.name;
        EXPECT_DOUBLE_EQ(view.getScale(), c.wantScale) << c.name;
        EXPECT_LE(view.getEnd(), TimelineView::kDayMs) << c.name;
    }
}

TEST(TimelineView, AnUnchangedViewReportsNoChangeAndKeepsTheFit)
{
    TimelineView view = viewOf(1000, 0, 10);
    view.setLength(10000);
    view.zoomToFit();
    ASSERT_TRUE(view.isFitted());
    EXPECT_FALSE(view.setView(0, 10));
    EXPECT_FALSE(view.setView(-5, 10));  // clamps to the same view
    EXPECT_TRUE(view.isFitted());
    EXPECT_TRUE(view.setView(10, 10));
    EXPECT_FALSE(view.isFitted());
}

TEST(TimelineView, ZoomingInStopsAtHalfAMillisecondPerPixel)
{
    TimelineView view = viewOf(1000, 1000, 1);
    const double expected[] = {0.8, 0.64, 0.512, 0.5, 0.5};
    for (double scale : expected) {
        view.zoomAtCentre(1);
        EXPECT_DOUBLE_EQ(view.getScale(), scale);
    }
    EXPECT_FALSE(view.canZoomIn());
    EXPECT_FALSE(view.zoomAtCentre(1));
    // The middle pixel kept its time all along.
    EXPECT_DOUBLE_EQ(view.timeAt(500), 1000 + 500 * 1.0);
}

TEST(TimelineView, ZoomingOutStopsAtTheEndOfTheDay)
{
    TimelineView view = viewOf(1000, 80000000, 5000);
    view.zoomAtCentre(-1);
    EXPECT_DOUBLE_EQ(view.getScale(), 6250);
    EXPECT_DOUBLE_EQ(view.getStart(), 79375000);
    EXPECT_TRUE(view.canZoomOut());
    view.zoomAtCentre(-1);
    EXPECT_DOUBLE_EQ(view.getScale(), 7812.5);
    EXPECT_DOUBLE_EQ(view.getStart(), TimelineView::kDayMs - 1000 * 7812.5);
    EXPECT_FALSE(view.canZoomOut());
    EXPECT_FALSE(view.canScrollRight());

    // A window so wide that one more step would pass a day from 0 shows the whole day.
    TimelineView wide = viewOf(10000, 0, 8000);
    wide.zoomAtCentre(-1);
    EXPECT_DOUBLE_EQ(wide.getStart(), 0);
    EXPECT_DOUBLE_EQ(wide.getScale(), TimelineView::kDayMs / 10000);
}

TEST(TimelineView, TheWheelZoomsAroundTheHoveredPixel)
{
    TimelineView view = viewOf(1000, 2000, 10);
    EXPECT_FALSE(view.zoomAtHover(1));  // no hover: nothing
    view.setHover(2000 + 250 * 10);     // pixel 250
    EXPECT_TRUE(view.zoomAtHover(2));
    EXPECT_DOUBLE_EQ(view.getScale(), 6.4);
    EXPECT_NEAR(view.timeAt(250), 4500, 1e-9);
}

TEST(TimelineView, ScrollingMovesFiftyPixelsAndStopsAtZero)
{
    TimelineView view = viewOf(1000, 0, 10);
    EXPECT_FALSE(view.canScrollLeft());
    EXPECT_FALSE(view.scroll(-1));
    EXPECT_DOUBLE_EQ(view.getStart(), 0);
    EXPECT_TRUE(view.scroll(1));
    EXPECT_DOUBLE_EQ(view.getStart(), 500);
    EXPECT_TRUE(view.canScrollLeft());
    view.setView(200, 10);
    view.scroll(-1);
    EXPECT_DOUBLE_EQ(view.getStart(), 0);
}

TEST(TimelineView, ResizingKeepsTheSpanOrFitsAgain)
{
    TimelineView view = viewOf(1000, 3000, 10);
    EXPECT_TRUE(view.resize(500));
    EXPECT_DOUBLE_EQ(view.getScale(), 20);
    EXPECT_DOUBLE_EQ(view.getStart(), 3000);
    EXPECT_DOUBLE_EQ(view.getEnd(), 13000);

    TimelineView fitted = viewOf(1000, 3000, 10);
    fitted.setLength(60000);
    fitted.zoomToFit();
    EXPECT_DOUBLE_EQ(fitted.getScale(), 60);
    fitted.resize(500);
    EXPECT_DOUBLE_EQ(fitted.getScale(), 120);
    EXPECT_TRUE(fitted.isFitted());
    fitted.setLength(30000);
    EXPECT_DOUBLE_EQ(fitted.getScale(), 60);
    EXPECT_TRUE(fitted.isFitted());
}

TEST(TimelineView, PlaybackJumpsTheViewPastSeventyOrBeforeTwentyPercent)
{
    struct Case {
        const char* name;
        double start;
        double position;
        bool autoscroll;
        bool gesture;
        double wantStart;
    };
    // 1000 pixels at 10 ms: 70 % is 7000 ms after the start, 20 % 2000 ms.
    const Case cases[] = {
        {"at 70 %: stays", 0, 7000, true, false, 0},
        {"past 70 %: position at 25 %", 0, 7010, true, false, 4510},
        {"before 20 %: position at 25 %", 10000, 11000, true, false, 8500},
        {"left of the view", 10000, 3000, true, false, 500},
        {"in the middle: stays", 10000, 15000, true, false, 10000},
        {"autoscroll off: stays", 0, 9000, false, false, 0},
        {"while a gesture runs: stays", 0, 9000, true, true, 0},
    };
    for (const Case& c : cases) {
        TimelineView view = viewOf(1000, c.start, 10);
        view.setAutoscroll(c.autoscroll);
        view.follow(c.position, c.gesture);
        EXPECT_DOUBLE_EQ(view.getStart(), c.wantStart) << c.name;
    }
    TimelineView fitted = viewOf(1000, 0, 10);
    fitted.setLength(10000);
    fitted.zoomToFit();
    EXPECT_FALSE(fitted.follow(9500, false));
}

TEST(TimelineView, TheAutoscrollToggleLeavesAFitFirst)
{
    TimelineView view = viewOf(1000, 0, 10);
    view.setLength(20000);
    view.zoomToFit();
    view.setAutoscroll(false);
    view.toggleAutoscroll();
    EXPECT_FALSE(view.isFitted());
    EXPECT_TRUE(view.isAutoscroll());
    view.toggleAutoscroll();
    EXPECT_FALSE(view.isAutoscroll());
}

TEST(TimelineView, TheOverviewRatioIsTheLengthPerStripPixel)
{
    TimelineView view;
    view.setLength(60000);
    view.resize(1345);
    EXPECT_DOUBLE_EQ(view.getOverviewRatio(), 60);
    view.resize(346);
    EXPECT_DOUBLE_EQ(view.getOverviewRatio(), 0);
}

}  // namespace
}  // namespace GUIMain
