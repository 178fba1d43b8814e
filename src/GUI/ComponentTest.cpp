#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include "AssertionCapture.h"
#include "GUI/BasicLayout.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/StackedLayout.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

using Testing::CountingGroup;
using Testing::CountingTile;
using Testing::EventLog;
using Testing::kChildStyle;
using Testing::PlainComponent;
using Testing::PlainContainer;
using Testing::TestWindow;

BasicLayout* fill()
{
    return new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0);
}

TEST(Container, NamesAndWindowsAreUniqueAmongItsChildren)
{
    TestWindow* window = Testing::makeWindow(200, 100);
    auto* first = new PlainComponent;
    first->createAsChild(L"Name", L"", nullptr, kChildStyle, 0, window);
    // Names are compared exactly: another case is another name.
    auto* other = new PlainComponent;
    other->createAsChild(L"name", L"", nullptr, kChildStyle, 0, window);
    EXPECT_EQ(window->findByName(L"Name"), first);
    EXPECT_EQ(window->findByName(L"name"), other);
    EXPECT_EQ(window->findByHandle(first->getHandle()), first);
    EXPECT_EQ(window->findByName(L"missing"), nullptr);

    auto* second = new PlainComponent;
    EXPECT_INVARIANT(second->createAsChild(L"Name", L"", nullptr, kChildStyle, 0, window),
                     "nameToCompMap.count(name) == 0", "Container");
    EXPECT_INVARIANT(window->add(first->getHandle(), L"Another", first),
                     "handleToCompMap.count(handle) == 0", "Container");
    // The refused registrations changed nothing.
    EXPECT_EQ(window->findByName(L"Name"), first);
    EXPECT_EQ(window->findByName(L"Another"), nullptr);
    delete window;
}

TEST(D2DContainer, NamesAndWindowsAreUniqueAmongItsChildren)
{
    TestWindow* window = Testing::makeWindow(200, 100);
    auto* panel = new CountingGroup;
    panel->createAsChild(L"Panel", L"", fill(), kChildStyle, 0, window);
    auto* first = new CountingTile;
    first->createAsD2DChild(L"Tile", L"", nullptr, kChildStyle, 0, panel);
    EXPECT_EQ(panel->findByName(L"Tile"), first);
    EXPECT_EQ(first->getD2DParent(), panel);
    // A drawing child is registered with its drawing parent only.
    EXPECT_EQ(first->getParent(), nullptr);
    EXPECT_TRUE(first->getExStyle() & kExStyleTransparent);

    auto* second = new CountingTile;
    EXPECT_INVARIANT(second->createAsD2DChild(L"Tile", L"", nullptr, kChildStyle, 0, panel),
                     "nameToCompMap.count(name) == 0", "D2DContainer");
    EXPECT_INVARIANT(panel->addChild(first->getHandle(), L"Other", first),
                     "handleToCompMap.count(handle) == 0", "D2DContainer");
    delete window;
}

TEST(Container, CreationOrderIsStackingOrderFirstOnTop)
{
    TestWindow* window = Testing::makeWindow(200, 100);
    std::vector<PlainComponent*> children;
    for (const wchar_t* name : {L"A", L"B", L"C"}) {
        auto* child = new PlainComponent;
        child->createAsChild(name, L"", fill(), kChildStyle, 0, window);
        children.push_back(child);
    }
    EXPECT_EQ(window->getHandle()->childAt(50, 50), children[0]->getHandle());
    children[0]->getHandle()->hide();
    EXPECT_EQ(window->getHandle()->childAt(50, 50), children[1]->getHandle());
    delete window;
}

TEST(Component, ObjectsGoWithTheirWindowsParentFirst)
{
    EventLog log;
    TestWindow* window = Testing::makeWindow(200, 100, &log);
    auto* panel = new PlainContainer(&log, "panel");
    panel->createAsChild(L"Panel", L"", fill(), kChildStyle, 0, window);
    auto* child = new PlainComponent(&log, "child");
    child->createAsChild(L"Child", L"", nullptr, kChildStyle, 0, panel);
    auto* leaving = new PlainComponent(&log, "leaving");
    leaving->createAsChild(L"Leaving", L"", nullptr, kChildStyle, 0, panel);
    EXPECT_EQ(log, (EventLog{"created child", "created leaving"}));

    // One child's window goes: its object goes and its name is free again.
    leaving->destroyWindow();
    EXPECT_EQ(panel->findByName(L"Leaving"), nullptr);
    auto* again = new PlainComponent;
    again->createAsChild(L"Leaving", L"", nullptr, kChildStyle, 0, panel);

    log.clear();
    window->destroyWindow();
    EXPECT_EQ(log, (EventLog{"deleted window", "destroyed panel", "deleted panel",
                             "destroyed child", "deleted child"}));
}

TEST(Component, WrappedControlsGetCreationAndDestruction)
{
    class WrappedLabel : public Component {
    public:
        explicit WrappedLabel(EventLog* log) : log_(log) {}
        ~WrappedLabel() override { log_->push_back("deleted"); }
        std::wstring getWindowClassName() const override { return L"Static"; }
        std::optional<WindowClass> getWindowClassDescription() const override
        {
            return std::nullopt;
        }
        QWidget* createSystemControl(QWidget* parent) override { return new QLabel(parent); }
        void onCreate() override { log_->push_back("created"); }
        void onDestroy() override { log_->push_back("destroyed"); }

    private:
        EventLog* log_;
    };

    EventLog log;
    TestWindow* window = Testing::makeWindow(200, 100);
    auto* label = new WrappedLabel(&log);
    QWidget* handle = label->createAsChild(L"Label", L"", nullptr, kChildStyle, 0, window);
    EXPECT_NE(qobject_cast<QLabel*>(handle), nullptr);
    EXPECT_EQ(Component::fromHandle(handle), label);
    EXPECT_EQ(window->findByName(L"Label"), label);
    delete handle;
    EXPECT_EQ(log, (EventLog{"created", "destroyed", "deleted"}));
    EXPECT_EQ(window->findByName(L"Label"), nullptr);
    delete window;
}

TEST(Component, EnsureVisibleClimbsToTheFirstScrollingPanel)
{
    TestWindow* window = Testing::makeWindow(300, 200);
    auto* panel = new CountingGroup;
    panel->scrolls = true;
    panel->createAsChild(L"Panel", L"", fill(), kChildStyle, 0, window);
    auto* row = new CountingGroup;
    row->createAsD2DChild(L"Row", L"", fill(), kChildStyle, 0, panel);
    auto* tile = new CountingTile;
    tile->createAsD2DChild(L"Tile", L"", nullptr, kChildStyle, 0, row);

    EXPECT_EQ(tile->requestEnsureVisible(), 1);
    EXPECT_EQ(panel->ensureVisibleRequests, std::vector<QWidget*>{tile->getHandle()});
    EXPECT_TRUE(row->ensureVisibleRequests.empty());

    // Without a scrolling ancestor the request dies at the top-level window.
    auto* loose = new CountingTile;
    loose->createAsChild(L"Loose", L"", nullptr, kChildStyle, 0, window);
    EXPECT_EQ(loose->requestEnsureVisible(), 0);
    delete window;
}

TEST(Component, InputBecomesMessages)
{
    TestWindow* window = Testing::makeWindow(300, 200);
    auto* first = new PlainComponent;
    first->createAsChild(L"First", L"", new BasicLayout(0, 0, 0, 0, 0.5f, 0, 1, 0),
                         kChildStyle | kStyleTabStop, 0, window);
    auto* second = new PlainComponent;
    second->createAsChild(L"Second", L"", new BasicLayout(0.5f, 0, 0, 0, 1, 0, 1, 0),
                          kChildStyle | kStyleTabStop, 0, window);
    ASSERT_TRUE(Testing::showAndExpose(window));
    window->getHandle()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->getHandle()));

    // A press takes the keyboard focus.
    QTest::mouseClick(first->getHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    EXPECT_TRUE(first->getHandle()->hasFocus());
    auto codes = [](const PlainComponent* c) {
        std::vector<std::uint32_t> result;
        for (const Message& m : c->messages) {
            if (m.code >= kMessageKeyDown && m.code != kMessageMouseMove &&
                m.code != kMessageTimer) {
                result.push_back(m.code);
            }
        }
        return result;
    };
    EXPECT_EQ(codes(first), (std::vector<std::uint32_t>{kMessageLButtonDown, kMessageLButtonUp}));

    // A typed key: key down, its character, key up.
    first->messages.clear();
    QTest::keyClick(first->getHandle(), Qt::Key_A);
    ASSERT_EQ(codes(first),
              (std::vector<std::uint32_t>{kMessageKeyDown, kMessageChar, kMessageKeyUp}));
    for (const Message& m : first->messages) {
        if (m.code == kMessageChar) {
            EXPECT_EQ(m.character, U'a');
        } else if (m.code == kMessageKeyDown) {
            EXPECT_EQ(m.key, Qt::Key_A);
        }
    }

    // Tab moves the focus on and never reaches the component as a key.
    first->messages.clear();
    QTest::keyClick(first->getHandle(), Qt::Key_Tab);
    EXPECT_TRUE(second->getHandle()->hasFocus());
    bool lostFocus = false;
    for (const Message& m : first->messages) {
        EXPECT_NE(m.code, kMessageKeyDown);
        EXPECT_NE(m.code, kMessageChar);
        lostFocus = lostFocus || m.code == kMessageKillFocus;
    }
    EXPECT_TRUE(lostFocus);
    delete window;
}

TEST(Component, UnhandledWheelTurnsGoOnToTheParent)
{
    TestWindow* window = Testing::makeWindow(300, 200);
    auto* panel = new PlainContainer;
    panel->createAsChild(L"Panel", L"", fill(), kChildStyle, 0, window);
    auto* child = new PlainComponent;
    child->createAsChild(L"Child", L"", fill(), kChildStyle, 0, panel);
    ASSERT_TRUE(Testing::showAndExpose(window));

    QWheelEvent turn(QPointF(10, 10), child->getHandle()->mapToGlobal(QPointF(10, 10)), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(child->getHandle(), &turn);
    auto wheelDeltas = [](const std::vector<Message>& messages) {
        std::vector<int> deltas;
        for (const Message& m : messages) {
            if (m.code == kMessageMouseWheel) {
                deltas.push_back(m.wheelDelta);
            }
        }
        return deltas;
    };
    EXPECT_EQ(wheelDeltas(child->messages), std::vector<int>{-120});
    EXPECT_EQ(wheelDeltas(panel->messages), std::vector<int>{-120});
    delete window;
}

TEST(Component, TimersArriveByTheirIds)
{
    TestWindow* window = Testing::makeWindow(100, 100);
    auto* component = new PlainComponent;
    component->createAsChild(L"Timed", L"", nullptr, kChildStyle, 0, window);
    component->setTimer(7, 5);
    auto timerMessages = [component] {
        int count = 0;
        for (const Message& m : component->messages) {
            if (m.code == kMessageTimer) {
                EXPECT_EQ(m.wParam, 7u);
                ++count;
            }
        }
        return count;
    };
    EXPECT_TRUE(Testing::waitFor([&] { return timerMessages() >= 2; }));
    component->killTimer(7);
    const int seen = timerMessages();
    QTest::qWait(30);
    EXPECT_EQ(timerMessages(), seen);
    delete window;
}

TEST(Component, MouseMessagesCarryTheButtonsAndModifiersHeld)
{
    TestWindow* window = Testing::makeWindow(300, 200);
    auto* component = new PlainComponent;
    component->createAsChild(L"Drag", L"", fill(), kChildStyle, 0, window);
    ASSERT_TRUE(Testing::showAndExpose(window));
    QWidget* handle = component->getHandle();

    QTest::mousePress(handle, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 10));
    QMouseEvent drag(QEvent::MouseMove, QPointF(40, 12), handle->mapToGlobal(QPointF(40, 12)),
                     Qt::NoButton, Qt::LeftButton | Qt::RightButton, Qt::ControlModifier);
    QApplication::sendEvent(handle, &drag);
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, QPoint(40, 12));

    struct Seen {
        std::uint32_t code;
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen;
    for (const Message& m : component->messages) {
        if (m.code == kMessageLButtonDown || m.code == kMessageLButtonUp ||
            (m.code == kMessageMouseMove && m.position == QPoint(40, 12))) {
            seen.push_back({m.code, m.buttons, m.modifiers});
        }
    }
    const std::vector<Seen> expected{
        {kMessageLButtonDown, Qt::LeftButton, Qt::ShiftModifier},
        {kMessageMouseMove, Qt::LeftButton | Qt::RightButton, Qt::ControlModifier},
        {kMessageLButtonUp, Qt::NoButton, Qt::NoModifier},
    };
    EXPECT_TRUE(seen == expected);
    delete window;
}

// Records the codes of what arrives into a log that outlives it.
class CodeRecorder : public PlainComponent {
public:
    explicit CodeRecorder(std::vector<std::uint64_t>* log) : log_(log) {}
    std::intptr_t handleMessage(Message& message) override
    {
        if (message.code >= Platform::kMessageUser) {
            log_->push_back(message.wParam);
        }
        return PlainComponent::handleMessage(message);
    }

private:
    std::vector<std::uint64_t>* log_;
};

TEST(Component, PostedMessagesArriveLaterInOrderAndNotAfterTheWindowWent)
{
    TestWindow* window = Testing::makeWindow(200, 100);
    std::vector<std::uint64_t> log;
    auto* component = new CodeRecorder(&log);
    component->createAsChild(L"Target", L"", fill(), kChildStyle, 0, window);
    Message message;
    message.code = Platform::kMessageUser + 0x10;
    for (std::uint64_t i = 1; i <= 3; ++i) {
        message.wParam = i;
        Component::post(component->getHandle(), message);
    }
    EXPECT_TRUE(log.empty());
    QApplication::processEvents();
    EXPECT_EQ(log, (std::vector<std::uint64_t>{1, 2, 3}));

    message.wParam = 4;
    Component::post(component->getHandle(), message);
    delete window;
    QApplication::processEvents();
    EXPECT_EQ(log, (std::vector<std::uint64_t>{1, 2, 3}));
}

TEST(Component, ALayoutCanBeChangedAfterCreation)
{
    TestWindow* window = Testing::makeWindow(300, 200);
    auto* component = new PlainComponent;
    component->createAsChild(L"Moved", L"", new BasicLayout(0, 10, 0, 10, 0, 110, 0, 40),
                             kChildStyle, 0, window);
    EXPECT_EQ(component->getHandle()->geometry(), QRect(10, 10, 100, 30));

    // Placed by the new layout at once, and by it at the parent's next size change.
    auto* right = new BasicLayout(0.5f, 0, 0, 50, 1, -10, 0, 80);
    component->setLayout(right);
    EXPECT_EQ(component->getLayout(), right);
    EXPECT_EQ(component->getHandle()->geometry(), QRect(150, 50, 140, 30));
    window->moveWindow(0, 0, 400, 200);
    EXPECT_EQ(component->getHandle()->geometry(), QRect(200, 50, 190, 30));

    // Without a layout the component stays where it is.
    component->setLayout(nullptr);
    window->moveWindow(0, 0, 200, 200);
    EXPECT_EQ(component->getHandle()->geometry(), QRect(200, 50, 190, 30));
    delete window;
}

TEST(Component, APreferredSizeChosenByItsUserReachesTheLayout)
{
    TestWindow* window = Testing::makeWindow(300, 300);
    auto* stack = new StackedLayout(window->getHandle());
    auto* first = new PlainComponent;
    first->setPreferredSize(100, 33);
    first->createAsChild(L"First", L"", stack, kChildStyle, 0, window);
    auto* second = new PlainComponent;
    second->createAsChild(L"Second", L"", stack, kChildStyle, 0, window);
    EXPECT_EQ(first->getHandle()->height(), 33);
    EXPECT_EQ(second->getHandle()->y(), 6 + 33 + 6);

    first->setPreferredSize(100, 50);
    EXPECT_EQ(first->getHandle()->height(), 50);
    EXPECT_EQ(second->getHandle()->y(), 6 + 50 + 6);
    delete window;
}

}  // namespace
}  // namespace GUI
