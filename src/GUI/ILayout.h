#pragma once

namespace GUI {

class Component;

// Places components inside their parent. Reference-counted and shared by the components
// that use it: a component attaches to its layout at creation (which takes a reference) and
// detaches when it goes (which releases it); the layout deletes itself with the last one.
class ILayout {
public:
    virtual void addReference() = 0;
    // Deletes the layout when the count drops to 0 or below.
    virtual void release() = 0;
    virtual void attach(Component* component) = 0;
    virtual void detach(Component* component) = 0;
    virtual void place(Component* component, int parentWidth, int parentHeight) = 0;
    // The component asks for a size (its content grew, for instance); the layout decides.
    virtual void setSize(Component* component, int width, int height) = 0;

protected:
    virtual ~ILayout() = default;
};

}  // namespace GUI
