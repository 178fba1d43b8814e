#include "GUI/Component.h"

#include <QThread>
#include <QVariant>
#include <algorithm>

#include "GUI/Colors.h"
#include "GUI/ComponentWidget.h"
#include "GUI/Container.h"
#include "GUI/ILayout.h"
#include "GUI/WindowStyle.h"
#include "Platform/Assert.h"

namespace GUI {

namespace {

// The dynamic property of a widget that names its component.
constexpr const char* kComponentProperty = "skyfirewright.component";

}  // namespace

Component::Component() = default;

Component::~Component()
{
    if (parent_ != nullptr && handle_ != nullptr) {
        parent_->remove(handle_, name_);
    }
    if (layout_ != nullptr) {
        ILayout* layout = layout_;
        layout_ = nullptr;
        layout->detach(this);
    }
    // The object goes before its window (its owner deleted it): the window goes with it.
    if (handle_ != nullptr && !windowGone_) {
        QWidget* handle = handle_;
        handle_ = nullptr;
        handle->setProperty(kComponentProperty, QVariant());
        if (wrapsSystemControl_) {
            QObject::disconnect(systemControlConnection_);
        } else {
            static_cast<ComponentWidget*>(handle)->releaseComponent();
        }
        if (ComponentWidget::isDispatching()) {
            handle->hide();
            handle->deleteLater();
        } else {
            delete handle;
        }
    }
}

QWidget* Component::createAsChild(const std::wstring& name, const std::wstring& text,
                                  ILayout* layout, std::uint32_t style, std::uint32_t exStyle,
                                  Container* parent, int controlId)
{
    SKY_ASSERT(parent != nullptr && parent->getHandle() != nullptr, "Component");
    QWidget* handle = create(name, text, layout, style | kStyleClipChildren | kStyleClipSiblings,
                             exStyle, parent->getHandle(), controlId);
    parent->add(handle, name, this);
    // Recorded once registered: a refused registration leaves no parent to unregister from.
    parent_ = parent;
    return handle;
}

QWidget* Component::create(const std::wstring& name, const std::wstring& text, ILayout* layout,
                           std::uint32_t style, std::uint32_t exStyle, QWidget* parentWindow,
                           int controlId)
{
    SKY_ASSERT(handle_ == nullptr, "Component");
    name_ = name;
    style_ = style;
    exStyle_ = exStyle;
    controlId_ = controlId;
    if (layout != nullptr) {
        layout->attach(this);
        layout_ = layout;
    }
    parent_ = nullptr;

    const std::optional<WindowClass> windowClass = getWindowClassDescription();
    if (windowClass) {
        background_ = windowClass->background;
        handle_ = new ComponentWidget(this, *windowClass, parentWindow);
    } else {
        handle_ = createSystemControl(parentWindow);
        SKY_ASSERT(handle_ != nullptr, "Component");
        wrapsSystemControl_ = true;
        systemControlConnection_ = QObject::connect(handle_, &QObject::destroyed, [this] {
            Message message;
            message.code = kMessageDestroy;
            subclassHook(message);
        });
    }
    handle_->setProperty(kComponentProperty, QVariant::fromValue(static_cast<void*>(this)));
    handle_->setObjectName(QString::fromStdWString(name));
    handle_->setWindowTitle(QString::fromStdWString(text));
    if (parentWindow != nullptr) {
        // A child starts at the parent's corner with no size, until its layout places it.
        handle_->setGeometry(0, 0, 0, 0);
    }
    handle_->setEnabled((style & kStyleDisabled) == 0);
    // Only tab stops are in the tab order; any window takes the focus when pressed (see
    // handleMessage), which does not depend on the policy.
    handle_->setFocusPolicy((style & kStyleTabStop) != 0 ? Qt::StrongFocus : Qt::NoFocus);

    Message created;
    created.code = kMessageCreate;
    if (windowClass) {
        handleMessage(created);
    } else {
        subclassHook(created);
    }

    if ((style & kStyleVisible) != 0) {
        handle_->show();
    } else if (parentWindow != nullptr) {
        handle_->hide();
    }

    if (parentWindow != nullptr) {
        placeByLayout();
    }
    return handle_;
}

std::optional<WindowClass> Component::getWindowClassDescription() const
{
    return WindowClass{};
}

std::intptr_t Component::handleMessage(Message& message)
{
    switch (message.code) {
        case kMessageCreate: onCreate(); return 0;
        case kMessageDestroy: onDestroy(); return 0;
        case kMessagePaint: onPaint(); return 0;
        case kMessageDisplayChange:
            if (handle_ != nullptr) {
                handle_->update();
            }
            return 0;
        case kMessageLButtonDown:
        case kMessageRButtonDown:
        case kMessageMButtonDown:
            // The press keeps the mouse for this window until the release (Qt's implicit grab)
            // and takes the keyboard focus, once: asking a second time would ask a field that
            // refused to let the focus go a second time.
            if (handle_ != nullptr && !message.focusGiven) {
                handle_->setFocus(Qt::MouseFocusReason);
            }
            return defaultHandling(message);
        case kMessageEnsureVisible: return sendToParentWindow(message);
        default: return defaultHandling(message);
    }
}

std::intptr_t Component::subclassHook(Message& message)
{
    if (message.code == kMessageCreate) {
        onCreate();
    } else if (message.code == kMessageDestroy) {
        onDestroy();
        windowGone_ = true;
        delete this;
    }
    return 0;
}

void Component::getPreferredSize(int&, int&) {}

std::intptr_t Component::onNotify(const Message&, bool& handled)
{
    handled = false;
    return 0;
}

std::intptr_t Component::onCommand(int, bool& handled)
{
    handled = false;
    return 0;
}

void Component::onPaint()
{
    QPainter painter(handle_);
    paint(painter);
}

void Component::paint(QPainter& painter)
{
    painter.fillRect(handle_->rect(),
                     background_.isValid() ? background_ : kBackgroundColor.toQColor());
}

QWidget* Component::createSystemControl(QWidget*)
{
    SKY_ASSERT_TEXT(false, "getWindowClassDescription() != none", "Component");
    return nullptr;
}

void Component::setLayout(ILayout* layout)
{
    if (layout == layout_) {
        return;
    }
    // Attached first: a layout shared with the old one keeps its references.
    if (layout != nullptr) {
        layout->attach(this);
    }
    if (layout_ != nullptr) {
        ILayout* old = layout_;
        layout_ = nullptr;
        old->detach(this);
    }
    layout_ = layout;
    placeByLayout();
}

void Component::setPreferredSize(int width, int height)
{
    preferredWidth_ = width;
    preferredHeight_ = height;
    placeByLayout();
}

void Component::placeByLayout()
{
    if (layout_ == nullptr || handle_ == nullptr || handle_->isWindow()) {
        return;
    }
    const QWidget* parentWindow = handle_->parentWidget();
    int width = preferredWidth_;
    int height = preferredHeight_;
    getPreferredSize(width, height);
    layout_->setSize(this, width, height);
    layout_->place(this, parentWindow->width(), parentWindow->height());
}

void Component::moveWindow(int x, int y, int width, int height)
{
    if (handle_ == nullptr) {
        return;
    }
    handle_->setGeometry(x, y, std::max(0, width), std::max(0, height));
    if (!wrapsSystemControl_) {
        static_cast<ComponentWidget*>(handle_)->deliverSize();
    }
}

void Component::destroyWindow()
{
    if (handle_ == nullptr) {
        return;
    }
    if (ComponentWidget::isDispatching()) {
        handle_->hide();
        handle_->deleteLater();
    } else {
        delete handle_;
    }
}

void Component::setTimer(int id, int periodMs)
{
    if (handle_ != nullptr && !wrapsSystemControl_) {
        static_cast<ComponentWidget*>(handle_)->setTimer(id, periodMs);
    }
}

void Component::killTimer(int id)
{
    if (handle_ != nullptr && !wrapsSystemControl_) {
        static_cast<ComponentWidget*>(handle_)->killTimer(id);
    }
}

std::intptr_t Component::requestEnsureVisible()
{
    Message message;
    message.code = kMessageEnsureVisible;
    message.window = handle_;
    return sendToParentWindow(message);
}

Component* Component::fromHandle(const QWidget* handle)
{
    if (handle == nullptr) {
        return nullptr;
    }
    return static_cast<Component*>(handle->property(kComponentProperty).value<void*>());
}

std::intptr_t Component::send(QWidget* window, Message& message)
{
    Component* component = fromHandle(window);
    return component != nullptr ? component->handleMessage(message) : 0;
}

void Component::post(QWidget* window, const Message& message)
{
    SKY_ASSERT(window != nullptr, "Component");
    SKY_ASSERT_TEXT(QThread::currentThread() == window->thread(), "posted on the main thread",
                    "Component");
    // A queued call on the window: Qt drops it when the window goes first.
    QMetaObject::invokeMethod(
        window,
        [window, message] {
            Message copy = message;
            if (auto* widget = dynamic_cast<ComponentWidget*>(window)) {
                widget->deliver(copy);
            } else {
                send(window, copy);
            }
        },
        Qt::QueuedConnection);
}

std::intptr_t Component::defaultHandling(Message& message)
{
    message.defaultHandled = true;
    return 0;
}

std::intptr_t Component::sendToParentWindow(Message& message)
{
    if (handle_ == nullptr || handle_->isWindow()) {
        return 0;
    }
    for (QWidget* window = handle_->parentWidget(); window != nullptr;
         window = window->parentWidget()) {
        if (Component* component = fromHandle(window)) {
            return component->handleMessage(message);
        }
        if (window->isWindow()) {
            break;
        }
    }
    return 0;
}

}  // namespace GUI
