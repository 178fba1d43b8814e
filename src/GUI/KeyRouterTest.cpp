#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <QWindow>
#include <set>
#include <utility>
#include <vector>

#include "GUI/BasicLayout.h"
#include "GUI/D2DEditLabel.h"
#include "GUI/KeyRouter.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/TestComponents.h"
#include "GUI/VirtualKeys.h"

namespace GUI {
namespace {

using Testing::kChildStyle;

// A top-level window with key maps: records every key message and consumes the codes
// bound to it.
class KeyMapWindow : public Testing::TestWindow {
public:
    std::intptr_t handleMessage(Message& message) override
    {
        if (message.code == kMessageKey) {
            const auto code = static_cast<std::uint32_t>(message.lParam);
            keys.emplace_back(static_cast<int>(message.wParam), code);
            return bound.count(code) != 0 ? 1 : 0;
        }
        return TestWindow::handleMessage(message);
    }

    std::set<std::uint32_t> bound;
    std::vector<std::pair<int, std::uint32_t>> keys;  // (press kind, key code)
};

class KeyRouterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = makeWindow();
        panel_ = new Testing::CountingGroup;
        panel_->createAsChild(L"Panel", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0), kChildStyle,
                              0, window_);
        edit_ = new D2DEditLabel;
        edit_->createAsD2DChild(L"Edit", L"start", new BasicLayout(0, 10, 0, 10, 0, 310, 0, 34),
                                kChildStyle | kStyleTabStop, 0, panel_);
        ASSERT_TRUE(activate(window_));
        edit_->getHandle()->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(edit_->isEditing());
    }
    void TearDown() override { delete window_; }

    static KeyMapWindow* makeWindow()
    {
        auto* window = new KeyMapWindow;
        window->createTopLevel(L"KeyMapWindow", L"Keys", kStyleOverlappedWindow, 0);
        window->getHandle()->resize(400, 200);
        return window;
    }
    static bool activate(KeyMapWindow* window)
    {
        if (!Testing::showAndExpose(window)) {
            return false;
        }
        window->getHandle()->activateWindow();
        return QTest::qWaitForWindowActive(window->getHandle());
    }
    // A key as the window system delivers it: to the window, which hands it to the focus.
    static void deliver(KeyMapWindow* window, QEvent::Type type, int key,
                        Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {},
                        bool autoRepeat = false)
    {
        QKeyEvent event(type, key, modifiers, text, autoRepeat);
        QApplication::sendEvent(window->getHandle()->windowHandle(), &event);
    }
    std::string editText() const { return QString::fromStdWString(edit_->getText()).toStdString(); }

    KeyRouter router_;
    KeyMapWindow* window_ = nullptr;
    Testing::CountingGroup* panel_ = nullptr;
    D2DEditLabel* edit_ = nullptr;
};

TEST_F(KeyRouterTest, KeysBecomeCodesWithModifiersAndPressKinds)
{
    const struct {
        QEvent::Type type;
        int key;
        Qt::KeyboardModifiers modifiers;
        bool autoRepeat;
        std::vector<std::pair<int, std::uint32_t>> expected;
    } cases[] = {
        {QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier, false, {{kKeyPressed, 0x74}}},
        {QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier, true, {{kKeyRepeated, 0x74}}},
        {QEvent::KeyRelease, Qt::Key_F5, Qt::NoModifier, false, {{kKeyReleased, 0x74}}},
        // A held key repeats its press only: the window system's releases in between go.
        {QEvent::KeyRelease, Qt::Key_F5, Qt::NoModifier, true, {}},
        {QEvent::KeyPress,
         Qt::Key_A,
         Qt::ShiftModifier | Qt::ControlModifier,
         false,
         {{kKeyPressed, 0x41 | kKeyShift | kKeyControl}}},
        {QEvent::KeyPress, Qt::Key_Left, Qt::AltModifier, false, {{kKeyPressed, 0x25 | kKeyAlt}}},
        {QEvent::KeyPress,
         Qt::Key_5,
         Qt::KeypadModifier,
         false,
         {{kKeyPressed, VirtualKey::kNumpad0 + 5u}}},
        // Shift, Control and Alt alone are no keys of the key maps.
        {QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, false, {}},
        {QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, false, {}},
        {QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier, false, {}},
    };
    for (const auto& c : cases) {
        window_->keys.clear();
        deliver(window_, c.type, c.key, c.modifiers, {}, c.autoRepeat);
        EXPECT_EQ(window_->keys, c.expected) << std::hex << c.key << " " << c.type;
    }
}

TEST_F(KeyRouterTest, AConsumedKeyNeverReachesTheFocusedEditField)
{
    window_->bound = {0x42};  // B
    deliver(window_, QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b");
    deliver(window_, QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, "b");
    EXPECT_EQ(editText(), "start");
    EXPECT_EQ(window_->keys.size(), 2u);

    // A key the window leaves alone goes on to the field, which types it over the selection.
    deliver(window_, QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    deliver(window_, QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x");
    EXPECT_EQ(editText(), "x");

    // The same through the window system's own path.
    QTest::keyClick(window_->getHandle()->windowHandle(), Qt::Key_B, Qt::NoModifier);
    QTest::keyClick(window_->getHandle()->windowHandle(), Qt::Key_Y, Qt::NoModifier);
    EXPECT_EQ(editText(), "xy");
    EXPECT_EQ(window_->keys.back(), std::make_pair(kKeyReleased, std::uint32_t{0x59}));
}

TEST_F(KeyRouterTest, KeysGoToTheActiveTopLevelWindowOnly)
{
    KeyMapWindow* other = makeWindow();
    ASSERT_TRUE(activate(other));
    ASSERT_EQ(Window::getActiveWindow(), other->getHandle());
    deliver(other, QEvent::KeyPress, Qt::Key_F2);
    EXPECT_EQ(other->keys, (std::vector<std::pair<int, std::uint32_t>>{{kKeyPressed, 0x71}}));
    EXPECT_TRUE(window_->keys.empty());

    // No active window of ours (a plain Qt window has the keyboard): nothing is routed.
    delete other;
    QWidget plain;
    plain.resize(100, 100);
    plain.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plain));
    plain.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&plain));
    ASSERT_EQ(Window::getActiveWindow(), nullptr);
    deliver(window_, QEvent::KeyPress, Qt::Key_F2);
    EXPECT_TRUE(window_->keys.empty());
}

}  // namespace
}  // namespace GUI
