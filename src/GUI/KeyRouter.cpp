#include "GUI/KeyRouter.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "GUI/Component.h"
#include "GUI/VirtualKeys.h"
#include "GUI/Window.h"
#include "Platform/Assert.h"

namespace GUI {

namespace {

constexpr std::uint32_t kVirtualKeyMask = 0x0FFFFFFF;

}  // namespace

KeyRouter::KeyRouter()
{
    SKY_ASSERT(QCoreApplication::instance() != nullptr, "KeyRouter");
    QCoreApplication::instance()->installEventFilter(this);
}

KeyRouter::~KeyRouter()
{
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

std::uint32_t KeyRouter::keyCodeOf(const QKeyEvent& event)
{
    const int virtualKey = toVirtualKey(event.key(), event.modifiers());
    if (virtualKey == 0 || virtualKey == VirtualKey::kShift || virtualKey == VirtualKey::kControl ||
        virtualKey == VirtualKey::kMenu) {
        return 0;
    }
    std::uint32_t code = static_cast<std::uint32_t>(virtualKey) & kVirtualKeyMask;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if ((modifiers & Qt::ShiftModifier) != 0) {
        code |= kKeyShift;
    }
    if ((modifiers & Qt::ControlModifier) != 0) {
        code |= kKeyControl;
    }
    if ((modifiers & Qt::AltModifier) != 0) {
        code |= kKeyAlt;
    }
    return code;
}

int KeyRouter::pressKindOf(const QKeyEvent& event)
{
    if (event.type() == QEvent::KeyRelease) {
        return kKeyReleased;
    }
    return event.isAutoRepeat() ? kKeyRepeated : kKeyPressed;
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event)
{
    // A key from the window system reaches the window (QWindow) once, before Qt hands it to
    // the focus widget and on up its parents: that first stop is where the key maps come in.
    if ((event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) ||
        !watched->isWindowType()) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    // A held key repeats its press only, without releases in between.
    if (key->type() == QEvent::KeyRelease && key->isAutoRepeat()) {
        return false;
    }
    QWidget* active = Window::getActiveWindow();
    const std::uint32_t code = keyCodeOf(*key);
    if (active == nullptr || code == 0) {
        return false;
    }
    Message message;
    message.code = kMessageKey;
    message.wParam = static_cast<std::uint64_t>(pressKindOf(*key));
    message.lParam = static_cast<std::int64_t>(code);
    message.window = active;
    return Component::send(active, message) != 0;
}

}  // namespace GUI
