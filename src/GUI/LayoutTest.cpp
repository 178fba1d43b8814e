#include <gtest/gtest.h>

#include "GUI/BasicLayout.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/StackedLayout.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

using Testing::kChildStyle;
using Testing::PlainComponent;
using Testing::TestWindow;

struct BasicCase {
    const char* what;
    float fl;
    int l;
    float ft;
    int t;
    float fr;
    int r;
    float fb;
    int b;
    int parentWidth;
    int parentHeight;
    QRect expected;
};

TEST(BasicLayout, PlacesEdgesByFractionsPlusOffsets)
{
    const BasicCase cases[] = {
        // The main window's four panels in a 1024 x 700 client area.
        {"menu", 0, 0, 0, 100, 1, 0, 1, 0, 1024, 700, QRect(0, 100, 1024, 600)},
        {"header", 0, 0, 0, 0, 1, 0, 0.2f, 100, 1024, 700, QRect(0, 0, 1024, 240)},
        {"cue list", 0, 0, 0.2f, 100, 1, -250, 1, 0, 1024, 700, QRect(0, 240, 774, 460)},
        {"sidebar", 1, -250, 0.2f, 100, 1, 0, 1, 0, 1024, 700, QRect(774, 240, 250, 460)},
        // Rounding: half a pixel rounds up, a third rounds down.
        {"half", 0.5f, 0, 0, 0, 1, 0, 1, 0, 101, 10, QRect(51, 0, 50, 10)},
        {"third", 0, 0, 0.333f, 0, 1, 0, 1, 0, 10, 100, QRect(0, 33, 10, 67)},
        // Negative products truncate toward zero: -2.5 becomes -2, not -3.
        {"negative", -0.3f, 0, 0, 0, 0, 0, 0, 0, 10, 10, QRect(-2, 0, 2, 0)},
        // An edge before the opposite one gives a negative extent.
        {"crossed", 0, 50, 0, 0, 0, 10, 0, 20, 100, 100, QRect(50, 0, -40, 20)},
    };
    for (const BasicCase& c : cases) {
        auto* layout = new BasicLayout(c.fl, c.l, c.ft, c.t, c.fr, c.r, c.fb, c.b);
        layout->addReference();
        EXPECT_EQ(layout->getRect(c.parentWidth, c.parentHeight), c.expected) << c.what;
        layout->release();
    }
}

TEST(BasicLayout, MovesTheComponentAndFollowsTheParentsSize)
{
    TestWindow* window = Testing::makeWindow(1024, 700);
    auto* sidebar = new PlainComponent;
    sidebar->createAsChild(L"Sidebar", L"", new BasicLayout(1, -250, 0.2f, 100, 1, 0, 1, 0),
                           kChildStyle, 0, window);
    EXPECT_EQ(sidebar->getHandle()->geometry(), QRect(774, 240, 250, 460));

    // A new client size places every child that has a layout.
    window->moveWindow(0, 0, 1200, 800);
    EXPECT_EQ(sidebar->getHandle()->geometry(), QRect(950, 260, 250, 540));
    delete window;
}

TEST(BasicLayout, SizeRequestsMoveTheFarEdgesOnlyWhenFree)
{
    TestWindow* window = Testing::makeWindow(400, 300);
    auto* fixedLayout = new BasicLayout(0, 10, 0, 10, 0, 110, 0, 50);
    auto* fixed = new PlainComponent;
    fixed->createAsChild(L"Fixed", L"", fixedLayout, kChildStyle, 0, window);
    // Creation asks for the preferred size (150 x 75); a fixed layout ignores it.
    EXPECT_EQ(fixed->getHandle()->geometry(), QRect(10, 10, 100, 40));
    fixedLayout->setSize(fixed, 300, 300);
    EXPECT_EQ(fixed->getHandle()->geometry(), QRect(10, 10, 100, 40));

    auto* freeLayout = new BasicLayout(0, 10, 0, 10, 0, 0, 0, 0);
    freeLayout->setFixed(false, false);
    auto* free = new PlainComponent;
    free->createAsChild(L"Free", L"", freeLayout, kChildStyle, 0, window);
    // The far edges grew by the first request (from 0): right 150, bottom 75.
    EXPECT_EQ(free->getHandle()->geometry(), QRect(10, 10, 140, 65));
    // Later requests add their difference to the last one.
    freeLayout->setSize(free, 200, 60);
    EXPECT_EQ(free->getHandle()->geometry(), QRect(10, 10, 190, 50));
    delete window;
}

// A window with a stacked layout over four entries: A (100 x 20), hidden B (50 x 40), a
// spacer and C (30 x 10). The window's client area is 400 x 300.
class StackedLayoutTest : public ::testing::Test {
protected:
    void build(int direction, float fx, float fy, float fc)
    {
        window_ = Testing::makeWindow(400, 300);
        layout_ = new StackedLayout(window_->getHandle(), direction, fx, fy, fc);
        a_ = add(L"A", kChildStyle);
        b_ = add(L"B", kStyleChild);  // not visible
        layout_->addSpacer();
        c_ = add(L"C", kChildStyle);
        layout_->setSize(a_, 100, 20);
        layout_->setSize(b_, 50, 40);
        layout_->setSize(c_, 30, 10);
    }

    PlainComponent* add(const wchar_t* name, std::uint32_t style)
    {
        auto* component = new PlainComponent;
        component->createAsChild(name, L"", layout_, style, 0, window_);
        return component;
    }

    int placeAll() { return layout_->placeEntries(nullptr, 400, 300); }

    void TearDown() override { delete window_; }

    TestWindow* window_ = nullptr;
    StackedLayout* layout_ = nullptr;
    PlainComponent* a_ = nullptr;
    PlainComponent* b_ = nullptr;
    PlainComponent* c_ = nullptr;
};

struct StackedCase {
    const char* what;
    int direction;
    float fx;
    float fy;
    float fc;
    QRect a;
    QRect c;
    int end;
};

TEST_F(StackedLayoutTest, StacksInEachDirectionSkippingHiddenAndSpacingSpacers)
{
    const StackedCase cases[] = {
        // Downward from the top margin: across 400 - 28; the spacer adds one spacing.
        {"down", StackedLayout::kDownward, 0, 0, 1, QRect(6, 6, 372, 20), QRect(6, 38, 372, 10),
         54},
        // Upward from the bottom: each entry first moves up by its own height.
        {"up", StackedLayout::kUpward, 0, 1, 1, QRect(6, 286, 372, 20), QRect(6, 264, 372, 10),
         258},
        // Rightward: across is the height, 300 - 28.
        {"right", StackedLayout::kRightward, 0, 0, 1, QRect(6, 6, 100, 272), QRect(118, 6, 30, 272),
         154},
        {"left", StackedLayout::kLeftward, 1, 0, 1, QRect(306, 6, 100, 272), QRect(264, 6, 30, 272),
         258},
        // Half the width across, a start a quarter down.
        {"fractions", StackedLayout::kDownward, 0, 0.25f, 0.5f, QRect(6, 81, 172, 20),
         QRect(6, 113, 172, 10), 129},
    };
    for (const StackedCase& c : cases) {
        build(c.direction, c.fx, c.fy, c.fc);
        EXPECT_EQ(placeAll(), c.end) << c.what;
        EXPECT_EQ(a_->getHandle()->geometry(), c.a) << c.what;
        EXPECT_EQ(c_->getHandle()->geometry(), c.c) << c.what;
        delete window_;
        window_ = nullptr;
    }
}

TEST_F(StackedLayoutTest, AShownEntryTakesItsSizeAndASpacing)
{
    build(StackedLayout::kDownward, 0, 0, 1);
    b_->getHandle()->setVisible(true);
    EXPECT_EQ(placeAll(), 54 + 40 + 6);
    EXPECT_EQ(b_->getHandle()->geometry(), QRect(6, 32, 372, 40));
    EXPECT_EQ(c_->getHandle()->geometry(), QRect(6, 84, 372, 10));
}

TEST_F(StackedLayoutTest, TheScrollFunctionLearnsTheLengthsAndShiftsTheStack)
{
    build(StackedLayout::kDownward, 0, 0, 1);
    int content = -1;
    int visible = -1;
    layout_->setScrollFunction([&](int contentLength, int visibleLength) {
        content = contentLength;
        visible = visibleLength;
        return 15;
    });
    EXPECT_EQ(placeAll(), 54 - 15);
    // A 20 + 6, spacer 6, C 10 + 6, and one closing spacing.
    EXPECT_EQ(content, 54);
    EXPECT_EQ(visible, 300);
    EXPECT_EQ(a_->getHandle()->geometry(), QRect(6, -9, 372, 20));
}

TEST_F(StackedLayoutTest, PlacingOneComponentMovesOnlyThatOne)
{
    build(StackedLayout::kDownward, 0, 0, 1);
    a_->moveWindow(0, 0, 1, 1);
    c_->moveWindow(0, 0, 1, 1);
    layout_->place(c_, 400, 300);
    EXPECT_EQ(c_->getHandle()->geometry(), QRect(6, 38, 372, 10));
    EXPECT_EQ(a_->getHandle()->geometry(), QRect(0, 0, 1, 1));
}

TEST_F(StackedLayoutTest, SizeRequestsPlaceEveryEntryAgain)
{
    build(StackedLayout::kDownward, 0, 0, 1);
    placeAll();
    c_->moveWindow(0, 0, 1, 1);
    // Unchanged: nothing moves.
    layout_->setSize(a_, 100, 20);
    EXPECT_EQ(c_->getHandle()->geometry(), QRect(0, 0, 1, 1));
    layout_->setSize(a_, 100, 50);
    EXPECT_EQ(c_->getHandle()->geometry(), QRect(6, 68, 372, 10));
}

TEST_F(StackedLayoutTest, DetachedComponentsLeaveTheStackAndTheLastOneFreesIt)
{
    build(StackedLayout::kDownward, 0, 0, 1);
    a_->destroyWindow();
    EXPECT_EQ(placeAll(), 54 - 26);
    EXPECT_EQ(c_->getHandle()->geometry(), QRect(6, 12, 372, 10));
    // B and C still hold the layout; deleting the window releases it (sanitizers check).
}

}  // namespace
}  // namespace GUI
