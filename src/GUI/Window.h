#pragma once

#include <QPointer>
#include <string>

#include "GUI/Container.h"

namespace GUI {

// A top-level window. An owned window disables its owner for as long as it exists, and
// gives the owner back its input and the foreground when it goes. A close request goes
// ahead only when mayClose() agrees.
class Window : public Container {
public:
    Window();
    ~Window() override;

    std::intptr_t handleMessage(Message& message) override;

    virtual QWidget* createTopLevel(const std::wstring& name, const std::wstring& text,
                                    std::uint32_t style, std::uint32_t exStyle);
    // The owned window stays above its owner and goes when the owner goes.
    virtual QWidget* createOwned(const std::wstring& name, const std::wstring& text,
                                 std::uint32_t style, std::uint32_t exStyle, QWidget* owner);
    virtual bool mayClose() { return true; }

    QWidget* getOwner() const { return owner_; }

    // The process's active top-level window, or null: the one the keyboard belongs to.
    static QWidget* getActiveWindow();

private:
    QPointer<QWidget> owner_;
};

}  // namespace GUI
