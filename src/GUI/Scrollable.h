#pragma once

namespace GUI {

// Something whose content moves when its scroll position changes.
class Scrollable {
public:
    // Places the content again for the current scroll position.
    virtual void scrolled() = 0;

protected:
    virtual ~Scrollable() = default;
};

}  // namespace GUI
