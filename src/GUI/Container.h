#pragma once

#include <string>

#include "GUI/ChildRegistry.h"
#include "GUI/Component.h"

namespace GUI {

// A component with children. It does not own them: each child goes with its window, which
// goes with the container's window. A size change places every child that has a layout.
class Container : public Component {
public:
    Container();
    ~Container() override;

    std::intptr_t handleMessage(Message& message) override;

    // Registers a child (see ChildRegistry for the rules) and lets its layout place it.
    void add(QWidget* handle, const std::wstring& name, Component* component);
    void remove(const QWidget* handle, const std::wstring& name);
    Component* findByName(const std::wstring& name) const;
    Component* findByHandle(const QWidget* handle) const;

private:
    ChildRegistry<Component> children_;
};

}  // namespace GUI
