#include "GUI/ComponentWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimerEvent>
#include <QWheelEvent>
#include <utility>

namespace GUI {

int ComponentWidget::dispatchDepth_ = 0;

ComponentWidget::ComponentWidget(Component* component, const WindowClass& windowClass,
                                 QWidget* parent)
    : QWidget(parent), component_(component)
{
    // Components see every mouse move, as windows do, not only while a button is held.
    setMouseTracking(true);
    setCursor(windowClass.cursor);
}

ComponentWidget::~ComponentWidget()
{
    // The destroy message reaches the component while the widget and its children still
    // exist, parent before children; then the object goes.
    if (component_ != nullptr) {
        Component* component = component_;
        component_ = nullptr;
        Message message;
        message.code = kMessageDestroy;
        ++dispatchDepth_;
        component->handleMessage(message);
        --dispatchDepth_;
        component->windowDestroyed();
        delete component;
    }
}

std::intptr_t ComponentWidget::dispatch(Message& message)
{
    if (component_ == nullptr) {
        message.defaultHandled = true;
        return 0;
    }
    ++dispatchDepth_;
    std::intptr_t result = component_->handleMessage(message);
    --dispatchDepth_;
    return result;
}

std::intptr_t ComponentWidget::dispatchCode(std::uint32_t code, std::uint64_t wParam)
{
    Message message;
    message.code = code;
    message.wParam = wParam;
    return dispatch(message);
}

void ComponentWidget::deliverSize()
{
    if (size() == deliveredSize_) {
        return;
    }
    deliveredSize_ = size();
    Message message;
    message.code = kMessageSize;
    message.size = deliveredSize_;
    dispatch(message);
}

void ComponentWidget::setTimer(int id, int periodMs)
{
    killTimer(id);
    timers_[id] = startTimer(periodMs, Qt::PreciseTimer);
}

void ComponentWidget::killTimer(int id)
{
    auto it = timers_.find(id);
    if (it != timers_.end()) {
        QObject::killTimer(it->second);
        timers_.erase(it);
    }
}

bool ComponentWidget::event(QEvent* event)
{
    switch (event->type()) {
        case QEvent::ShowToParent: dispatchCode(kMessageShowWindow, 1); break;
        case QEvent::HideToParent: dispatchCode(kMessageShowWindow, 0); break;
        case QEvent::ScreenChangeInternal: dispatchCode(kMessageDisplayChange); break;
        default: break;
    }
    return QWidget::event(event);
}

void ComponentWidget::paintEvent(QPaintEvent* event)
{
    const QRegion outer = std::exchange(paintRegion_, event->region());
    dispatchCode(kMessagePaint);
    paintRegion_ = outer;
}

void ComponentWidget::resizeEvent(QResizeEvent*)
{
    deliverSize();
}

void ComponentWidget::moveEvent(QMoveEvent*)
{
    dispatchCode(kMessageMove);
}

void ComponentWidget::dispatchMouse(std::uint32_t code, QMouseEvent* event)
{
    Message message;
    message.code = code;
    message.position = event->position().toPoint();
    message.modifiers = event->modifiers();
    message.buttons = event->buttons();
    dispatch(message);
    // Accepted whatever the component did: the press grabs the mouse for this widget until
    // the release, and nothing travels on to the parent.
    event->accept();
}

static std::uint32_t buttonDownCode(Qt::MouseButton button)
{
    switch (button) {
        case Qt::LeftButton: return kMessageLButtonDown;
        case Qt::RightButton: return kMessageRButtonDown;
        case Qt::MiddleButton: return kMessageMButtonDown;
        default: return 0;
    }
}

static std::uint32_t buttonUpCode(Qt::MouseButton button)
{
    switch (button) {
        case Qt::LeftButton: return kMessageLButtonUp;
        case Qt::RightButton: return kMessageRButtonUp;
        case Qt::MiddleButton: return kMessageMButtonUp;
        default: return 0;
    }
}

// Qt hands the focus over on a press from the window system before the widget sees it: to
// the first enabled widget with click focus, from the pressed one up to its window.
static QWidget* clickFocusTarget(QWidget* pressed)
{
    for (QWidget* widget = pressed; widget != nullptr; widget = widget->parentWidget()) {
        if (widget->isEnabled() && (widget->focusPolicy() & Qt::ClickFocus) != 0) {
            return widget;
        }
        if (widget->isWindow()) {
            break;
        }
    }
    return nullptr;
}

void ComponentWidget::dispatchButtonDown(std::uint32_t code, QMouseEvent* event, bool doubleClick)
{
    Message message;
    message.code = code;
    message.position = event->position().toPoint();
    message.modifiers = event->modifiers();
    message.buttons = event->buttons();
    message.doubleClick = doubleClick;
    if (event->spontaneous()) {
        // Qt gave the focus to this widget, or tried to give it to this widget or an
        // ancestor and someone (a field refusing to let go) took it back: the press has had
        // its say. An ancestor that got it still hands it on to the pressed component.
        const QWidget* target = clickFocusTarget(this);
        message.focusGiven =
            target != nullptr && (target == this || QApplication::focusWidget() != target);
    }
    dispatch(message);
    event->accept();
}

void ComponentWidget::mousePressEvent(QMouseEvent* event)
{
    if (std::uint32_t code = buttonDownCode(event->button())) {
        dispatchButtonDown(code, event, false);
    }
}

void ComponentWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt sends press, release, double click, release: the double click stands for the
    // second press. Components count their clicks themselves, told that Qt saw a double.
    if (std::uint32_t code = buttonDownCode(event->button())) {
        dispatchButtonDown(code, event, true);
    }
}

void ComponentWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (std::uint32_t code = buttonUpCode(event->button())) {
        dispatchMouse(code, event);
    }
}

void ComponentWidget::mouseMoveEvent(QMouseEvent* event)
{
    dispatchMouse(kMessageMouseMove, event);
}

void ComponentWidget::wheelEvent(QWheelEvent* event)
{
    Message message;
    message.code = kMessageMouseWheel;
    message.position = event->position().toPoint();
    message.modifiers = event->modifiers();
    message.buttons = event->buttons();
    message.wheelDelta = event->angleDelta().y();
    dispatch(message);
    // A turn nobody handled goes on to the parent, and so on up to the top-level window, as
    // the window system passes it on; the position follows in each parent's coordinates.
    QWidget* window = this;
    while (message.defaultHandled && !window->isWindow() && window->parentWidget() != nullptr) {
        message.position = window->mapToParent(message.position);
        window = window->parentWidget();
        auto* parent = dynamic_cast<ComponentWidget*>(window);
        if (parent == nullptr) {
            break;
        }
        message.defaultHandled = false;
        parent->dispatch(message);
    }
    event->accept();
}

void ComponentWidget::leaveEvent(QEvent*)
{
    dispatchCode(kMessageMouseLeave);
}

void ComponentWidget::keyPressEvent(QKeyEvent* event)
{
    Message message;
    message.code = kMessageKeyDown;
    message.key = event->key();
    message.modifiers = event->modifiers();
    message.autoRepeat = event->isAutoRepeat();
    dispatch(message);
    // Each character typed follows its key, as translated keyboard input does.
    const QList<uint> characters = event->text().toUcs4();
    for (uint c : characters) {
        if (component_ == nullptr) {
            break;
        }
        Message character;
        character.code = kMessageChar;
        character.character = static_cast<char32_t>(c);
        character.modifiers = event->modifiers();
        character.autoRepeat = event->isAutoRepeat();
        dispatch(character);
    }
    event->accept();
}

void ComponentWidget::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats its key-down only, without releases in between.
    if (!event->isAutoRepeat()) {
        Message message;
        message.code = kMessageKeyUp;
        message.key = event->key();
        message.modifiers = event->modifiers();
        dispatch(message);
    }
    event->accept();
}

void ComponentWidget::focusInEvent(QFocusEvent* event)
{
    dispatchCode(kMessageSetFocus);
    QWidget::focusInEvent(event);
}

void ComponentWidget::focusOutEvent(QFocusEvent* event)
{
    dispatchCode(kMessageKillFocus);
    QWidget::focusOutEvent(event);
}

void ComponentWidget::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, qtId] : timers_) {
        if (qtId == event->timerId()) {
            dispatchCode(kMessageTimer, static_cast<std::uint64_t>(id));
            return;
        }
    }
    QWidget::timerEvent(event);
}

void ComponentWidget::closeEvent(QCloseEvent* event)
{
    Message message;
    message.code = kMessageClose;
    dispatch(message);
    if (!message.defaultHandled) {
        event->ignore();
        return;
    }
    // Closing destroys the window; it goes once the close event is over.
    event->accept();
    deleteLater();
}

void ComponentWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        dispatchCode(kMessageEnable, isEnabled() ? 1 : 0);
    } else if (event->type() == QEvent::ActivationChange && isWindow()) {
        dispatchCode(kMessageActivate, isActiveWindow() ? 1 : 0);
    }
    QWidget::changeEvent(event);
}

}  // namespace GUI
