#include "GUI/Window.h"

#include <QWindow>

namespace GUI {

namespace {

QPointer<QWidget> activeWindow;

}  // namespace

Window::Window() = default;

Window::~Window()
{
    if (activeWindow == getHandle()) {
        activeWindow = nullptr;
    }
}

QWidget* Window::getActiveWindow()
{
    return activeWindow;
}

QWidget* Window::createTopLevel(const std::wstring& name, const std::wstring& text,
                                std::uint32_t style, std::uint32_t exStyle)
{
    owner_ = nullptr;
    return create(name, text, nullptr, style, exStyle, nullptr, 0);
}

QWidget* Window::createOwned(const std::wstring& name, const std::wstring& text,
                             std::uint32_t style, std::uint32_t exStyle, QWidget* owner)
{
    QWidget* handle = createTopLevel(name, text, style, exStyle);
    owner_ = owner;
    if (owner != nullptr) {
        owner->setEnabled(false);
        // Kept above the owner by the window manager; destroyed with it.
        if (owner->window()->windowHandle() != nullptr) {
            handle->winId();
            handle->windowHandle()->setTransientParent(owner->window()->windowHandle());
        }
        QObject::connect(owner, &QObject::destroyed, handle, [this] { destroyWindow(); });
    }
    return handle;
}

std::intptr_t Window::handleMessage(Message& message)
{
    switch (message.code) {
        case kMessageDestroy:
            if (owner_ != nullptr) {
                owner_->setEnabled(true);
                owner_->raise();
                owner_->activateWindow();
            }
            break;
        case kMessageActivate:
            if (message.wParam != 0) {
                activeWindow = getHandle();
            } else if (activeWindow == getHandle()) {
                activeWindow = nullptr;
            }
            break;
        case kMessageClose:
            if (!mayClose()) {
                return 0;
            }
            break;
        default: break;
    }
    return Container::handleMessage(message);
}

}  // namespace GUI
