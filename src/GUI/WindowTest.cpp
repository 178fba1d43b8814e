#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

#include "GUI/QtTestEnvironment.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

using Testing::EventLog;
using Testing::TestWindow;

TestWindow* makeOwned(QWidget* owner, EventLog* log = nullptr)
{
    auto* owned = new TestWindow(log);
    owned->createOwned(L"Owned", L"Owned", kStyleOverlappedWindow | kStyleVisible, 0, owner);
    return owned;
}

TEST(Window, AnOwnedWindowDisablesItsOwnerWhileItExists)
{
    TestWindow* owner = Testing::makeWindow(300, 200);
    ASSERT_TRUE(Testing::showAndExpose(owner));

    // Closed by the user: the window goes once the close event is over.
    EventLog log;
    TestWindow* owned = makeOwned(owner->getHandle(), &log);
    EXPECT_EQ(owned->getOwner(), owner->getHandle());
    EXPECT_FALSE(owner->getHandle()->isEnabled());
    EXPECT_TRUE(owned->getHandle()->isEnabled());
    EXPECT_TRUE(owned->getHandle()->close());
    runDeferredDeletes();
    EXPECT_EQ(log, EventLog{"deleted window"});
    EXPECT_TRUE(owner->getHandle()->isEnabled());

    // Destroyed by the program: at once.
    owned = makeOwned(owner->getHandle());
    EXPECT_FALSE(owner->getHandle()->isEnabled());
    owned->destroyWindow();
    EXPECT_TRUE(owner->getHandle()->isEnabled());
    delete owner;
}

TEST(Window, AnOwnedWindowGoesWithItsOwner)
{
    TestWindow* owner = Testing::makeWindow(300, 200);
    EventLog log;
    makeOwned(owner->getHandle(), &log);
    owner->destroyWindow();
    runDeferredDeletes();
    EXPECT_EQ(log, EventLog{"deleted window"});
}

TEST(Window, ACloseGoesAheadOnlyWhenTheWindowMayClose)
{
    EventLog log;
    TestWindow* window = Testing::makeWindow(300, 200, &log);
    ASSERT_TRUE(Testing::showAndExpose(window));
    QPointer<QWidget> handle = window->getHandle();

    window->allowClose = false;
    EXPECT_FALSE(handle->close());
    runDeferredDeletes();
    EXPECT_EQ(window->closeRequests, 1);
    EXPECT_TRUE(handle->isVisible());
    EXPECT_TRUE(log.empty());

    window->allowClose = true;
    EXPECT_TRUE(handle->close());
    runDeferredDeletes();
    EXPECT_EQ(log, EventLog{"deleted window"});
    EXPECT_TRUE(handle.isNull());
}

TEST(Window, TheActiveWindowIsTracked)
{
    TestWindow* first = Testing::makeWindow(300, 200);
    TestWindow* second = Testing::makeWindow(300, 200);
    ASSERT_TRUE(Testing::showAndExpose(first));
    ASSERT_TRUE(Testing::showAndExpose(second));
    first->getHandle()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(first->getHandle()));
    EXPECT_EQ(Window::getActiveWindow(), first->getHandle());
    second->getHandle()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(second->getHandle()));
    EXPECT_EQ(Window::getActiveWindow(), second->getHandle());
    delete second;
    EXPECT_EQ(Window::getActiveWindow(), nullptr);
    delete first;
}

}  // namespace
}  // namespace GUI
