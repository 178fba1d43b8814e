#include "GUI/Container.h"

#include "GUI/ILayout.h"

namespace GUI {

Container::Container() : children_("Container") {}

Container::~Container()
{
    // The children outlive this object by a moment (their windows go after ours).
    for (const auto& [handle, child] : children_.byHandle()) {
        child->clearParent();
    }
}

void Container::add(QWidget* handle, const std::wstring& name, Component* component)
{
    children_.add(handle, name, component);
    if (component->getLayout() != nullptr && getHandle() != nullptr) {
        component->getLayout()->place(component, getHandle()->width(), getHandle()->height());
    }
}

void Container::remove(const QWidget* handle, const std::wstring& name)
{
    children_.remove(handle, name);
}

Component* Container::findByName(const std::wstring& name) const
{
    return children_.findByName(name);
}

Component* Container::findByHandle(const QWidget* handle) const
{
    return children_.findByHandle(handle);
}

std::intptr_t Container::handleMessage(Message& message)
{
    switch (message.code) {
        case kMessageSize:
            for (const auto& [handle, child] : children_.byHandle()) {
                if (child->getLayout() != nullptr) {
                    child->getLayout()->place(child, message.size.width(), message.size.height());
                }
            }
            break;
        case kMessageNotify:
            if (Component* child = findByHandle(message.window)) {
                bool handled = false;
                std::intptr_t result = child->onNotify(message, handled);
                if (handled) {
                    return result;
                }
            }
            break;
        case kMessageCommand:
            if (Component* child = findByHandle(message.window)) {
                bool handled = false;
                std::intptr_t result = child->onCommand(static_cast<int>(message.wParam), handled);
                if (handled) {
                    return result;
                }
            }
            break;
        default: break;
    }
    return Component::handleMessage(message);
}

}  // namespace GUI
