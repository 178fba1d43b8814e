#pragma once

#include <string>

#include "GUI/ChildRegistry.h"
#include "GUI/D2DComponent.h"

namespace GUI {

// A drawing component with drawing children. It draws itself, then each child in
// registration order (each composed from its own bitmap), then drawOverChildren() on top.
// A size change places every child that has a layout, as a Container does.
class D2DContainer : public D2DComponent {
public:
    D2DContainer();
    ~D2DContainer() override;

    std::intptr_t handleMessage(Message& message) override;
    void createRenderTarget() override;
    void discardRenderTarget() override;
    bool render() override;

    // Registers a child (see ChildRegistry for the rules) and lets its layout place it.
    void addChild(QWidget* handle, const std::wstring& name, D2DComponent* component);
    // Forgets the child; the container's picture is drawn again without it.
    void removeChild(const QWidget* handle, const std::wstring& name);
    virtual void drawOverChildren(RenderTarget& target);

    D2DComponent* findByName(const std::wstring& name) const;
    D2DComponent* findByHandle(const QWidget* handle) const;
    std::size_t getChildCount() const { return children_.size(); }

private:
    ChildRegistry<D2DComponent> children_;
};

}  // namespace GUI
