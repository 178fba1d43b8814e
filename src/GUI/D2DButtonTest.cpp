#include <gtest/gtest.h>

#include <QTest>

#include "GUI/BasicLayout.h"
#include "GUI/D2DButton.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

using Testing::kChildStyle;

class ClickCounter : public D2DButton::Listener {
public:
    void clicked(D2DButton* button) override { onAtClick.push_back(button->isOn()); }
    std::vector<bool> onAtClick;  // the on state each click saw
};

class D2DButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = Testing::makeWindow(300, 200);
        panel_ = new Testing::CountingGroup;
        panel_->createAsChild(L"Panel", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0), kChildStyle,
                              0, window_);
    }
    void TearDown() override { delete window_; }

    D2DButton* makeButton(bool toggle)
    {
        auto* button = new D2DButton(toggle);
        button->createAsD2DChild(L"Button", L"Fire", new BasicLayout(0, 20, 0, 20, 0, 140, 0, 50),
                                 kChildStyle | kStyleTabStop, 0, panel_);
        button->addListener(&counter_);
        EXPECT_TRUE(Testing::showAndExpose(window_));
        window_->getHandle()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_->getHandle()));
        return button;
    }

    Testing::TestWindow* window_ = nullptr;
    Testing::CountingGroup* panel_ = nullptr;
    ClickCounter counter_;
};

TEST_F(D2DButtonTest, ClicksOnlyWhenReleasedInside)
{
    D2DButton* button = makeButton(false);
    EXPECT_EQ(button->getCaption(), L"Fire");
    QWidget* handle = button->getHandle();

    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_TRUE(button->getState() & D2DButton::kPressed);
    EXPECT_TRUE(handle->hasFocus());
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(counter_.onAtClick.size(), 1u);
    EXPECT_FALSE(button->getState() & D2DButton::kPressed);

    // Pressed inside, let go outside: no click, and the button is not left pressed.
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, QPoint(200, 10));
    EXPECT_EQ(counter_.onAtClick.size(), 1u);
    EXPECT_FALSE(button->getState() & D2DButton::kPressed);

    // Space clicks on its release; Enter on its release.
    QTest::keyPress(handle, Qt::Key_Space);
    EXPECT_TRUE(button->getState() & D2DButton::kPressed);
    EXPECT_EQ(counter_.onAtClick.size(), 1u);
    QTest::keyRelease(handle, Qt::Key_Space);
    EXPECT_EQ(counter_.onAtClick.size(), 2u);
    QTest::keyClick(handle, Qt::Key_Return);
    EXPECT_EQ(counter_.onAtClick.size(), 3u);

    // A disabled button takes no clicks.
    button->setEnabled(false);
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(counter_.onAtClick.size(), 3u);
    EXPECT_FALSE(button->isOn());
}

TEST_F(D2DButtonTest, AToggleClickedTwiceIsOffAgainAndNotifiedTwice)
{
    D2DButton* button = makeButton(true);
    QTest::mouseClick(button->getHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_TRUE(button->isOn());
    QTest::mouseClick(button->getHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_FALSE(button->isOn());
    // The on bit flips before the listeners hear of the click.
    EXPECT_EQ(counter_.onAtClick, (std::vector<bool>{true, false}));

    // Setting the state is not a click.
    button->setOn(true);
    EXPECT_TRUE(button->getState() & D2DButton::kOn);
    EXPECT_EQ(counter_.onAtClick.size(), 2u);
}

}  // namespace
}  // namespace GUI
