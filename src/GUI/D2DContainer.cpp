#include "GUI/D2DContainer.h"

#include "GUI/ILayout.h"

namespace GUI {

D2DContainer::D2DContainer() : children_("D2DContainer") {}

D2DContainer::~D2DContainer()
{
    for (const auto& [handle, child] : children_.byHandle()) {
        child->clearD2DParent();
    }
}

void D2DContainer::addChild(QWidget* handle, const std::wstring& name, D2DComponent* component)
{
    children_.add(handle, name, component);
    if (component->getLayout() != nullptr && getHandle() != nullptr) {
        component->getLayout()->place(component, getHandle()->width(), getHandle()->height());
    }
    invalidate();
}

void D2DContainer::removeChild(const QWidget* handle, const std::wstring& name)
{
    if (children_.remove(handle, name)) {
        invalidate();
    }
}

void D2DContainer::drawOverChildren(RenderTarget&) {}

D2DComponent* D2DContainer::findByName(const std::wstring& name) const
{
    return children_.findByName(name);
}

D2DComponent* D2DContainer::findByHandle(const QWidget* handle) const
{
    return children_.findByHandle(handle);
}

std::intptr_t D2DContainer::handleMessage(Message& message)
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
            if (D2DComponent* child = findByHandle(message.window)) {
                bool handled = false;
                std::intptr_t result = child->onNotify(message, handled);
                if (handled) {
                    return result;
                }
            }
            break;
        case kMessageCommand:
            if (D2DComponent* child = findByHandle(message.window)) {
                bool handled = false;
                std::intptr_t result = child->onCommand(static_cast<int>(message.wParam), handled);
                if (handled) {
                    return result;
                }
            }
            break;
        default: break;
    }
    return D2DComponent::handleMessage(message);
}

void D2DContainer::createRenderTarget()
{
    D2DComponent::createRenderTarget();
    if (getRenderTarget() != nullptr) {
        children_.forEachInOrder([](D2DComponent* child) { child->createRenderTarget(); });
    }
}

void D2DContainer::discardRenderTarget()
{
    D2DComponent::discardRenderTarget();
    children_.forEachInOrder([](D2DComponent* child) { child->discardRenderTarget(); });
}

bool D2DContainer::render()
{
    RenderTarget& target = *getRenderTarget();
    target.painter().save();
    draw(target);
    target.painter().restore();
    bool allRendered = true;
    const QRegion& region = getDrawRegion();
    children_.forEachInOrder([&allRendered, &region](D2DComponent* child) {
        // A clean child outside the part being drawn keeps its pixels where they are.
        const QWidget* handle = child->getHandle();
        if (!child->isDirty() && handle != nullptr && !region.isEmpty() &&
            !region.intersects(handle->geometry())) {
            return;
        }
        if (!child->renderComponent()) {
            allRendered = false;
        }
    });
    if (!allRendered) {
        return false;
    }
    target.painter().save();
    drawOverChildren(target);
    target.painter().restore();
    return true;
}

}  // namespace GUI
