#pragma once

#include <QColor>
#include <QMetaObject>
#include <QPainter>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

#include "GUI/Message.h"

namespace GUI {

class Container;
class ILayout;

// What a component's own window class asks of its window: the cursor over it and the colour
// its default paint fills with.
struct WindowClass {
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QColor background;
};

// Every visible element: an object paired with one widget, which gives it input, keyboard
// focus, tab order, clipping and position. Qt's events reach the component as messages
// (handleMessage); a class overrides the messages it cares about and passes the rest on.
//
// The object exists before its window and deletes itself when its window is destroyed, so a
// whole panel tree goes away with its top-level window. A component whose window was never
// created belongs to its creator.
class Component {
public:
    Component();
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    // Creates the window under the container's window, records the container as parent and
    // registers with it under `name`, which must be unique among its children.
    virtual QWidget* createAsChild(const std::wstring& name, const std::wstring& text,
                                   ILayout* layout, std::uint32_t style, std::uint32_t exStyle,
                                   Container* parent, int controlId = 0);
    // Creates the window (a top-level window when `parentWindow` is null): attaches the
    // layout, builds the widget, delivers kMessageCreate, applies the style, and lets the
    // layout size and place the component in the parent's client area.
    virtual QWidget* create(const std::wstring& name, const std::wstring& text, ILayout* layout,
                            std::uint32_t style, std::uint32_t exStyle, QWidget* parentWindow,
                            int controlId = 0);
    virtual std::wstring getWindowClassName() const = 0;
    // The window class of the component's own widget; none means the component wraps a
    // standard control, which createSystemControl() makes.
    virtual std::optional<WindowClass> getWindowClassDescription() const;
    virtual std::intptr_t handleMessage(Message& message);
    // For wrapped standard controls: creation (code kMessageCreate) calls onCreate,
    // destruction (kMessageDestroy) calls onDestroy; the object is then deleted.
    virtual std::intptr_t subclassHook(Message& message);
    // In: the stored preferred size; out: the size the component would like.
    virtual void getPreferredSize(int& width, int& height);
    virtual std::intptr_t onNotify(const Message& message, bool& handled);
    virtual std::intptr_t onCommand(int notificationCode, bool& handled);
    virtual void onCreate() {}
    virtual void onDestroy() {}
    virtual void onPaint();
    virtual void paint(QPainter& painter);
    // The standard control a wrapping component stands for; only called when
    // getWindowClassDescription() returns none.
    virtual QWidget* createSystemControl(QWidget* parentWindow);

    QWidget* getHandle() const { return handle_; }
    const std::wstring& getName() const { return name_; }
    Container* getParent() const { return parent_; }
    void clearParent() { parent_ = nullptr; }
    ILayout* getLayout() const { return layout_; }
    std::uint32_t getStyle() const { return style_; }
    std::uint32_t getExStyle() const { return exStyle_; }
    int getControlId() const { return controlId_; }

    // Gives the component another layout (or none) after creation: the old one lets it go,
    // the new one is asked for the preferred size and places it in the parent's client
    // area at once, and at every later size change of the parent.
    void setLayout(ILayout* layout);
    // The size the component asks its layout for, chosen by its creator in place of the
    // class's own. Before creation it is used at creation; afterwards the layout is asked at
    // once.
    void setPreferredSize(int width, int height);

    // Moves and sizes the window (negative sizes count as 0); the component gets
    // kMessageSize at once when its size changed, shown or not.
    void moveWindow(int x, int y, int width, int height);
    // Destroys the window now, and with it the object and every child.
    void destroyWindow();

    // A timer on the window: every `periodMs` the component gets kMessageTimer with wParam
    // = id. Setting an id again restarts it. Only while the window exists.
    void setTimer(int id, int periodMs);
    void killTimer(int id);

    // Sends kMessageEnsureVisible for this window to the parent window; the result of the
    // ancestor that handled it, or 0.
    std::intptr_t requestEnsureVisible();

    // The component paired with a widget, or null.
    static Component* fromHandle(const QWidget* handle);
    // Delivers the message to the component of the window; 0 when it has none.
    static std::intptr_t send(QWidget* window, Message& message);
    // Queues the message for the component of the window and returns at once; it arrives
    // from the event loop, after the messages posted before it, and is dropped when the
    // window is gone by then. Main thread only: other threads post to a message window of
    // the main thread (Platform::MessageWindow), whose queue QtMessagePump serves.
    static void post(QWidget* window, const Message& message);

protected:
    // What the window system does with a message nobody handled.
    std::intptr_t defaultHandling(Message& message);
    // Hands the message to the nearest ancestor window that has a component.
    std::intptr_t sendToParentWindow(Message& message);
    // Has the layout size and place the component in its parent's client area.
    void placeByLayout();
    // Called by the window just before it is gone: the object goes right after.
    void windowDestroyed() { windowGone_ = true; }

    int preferredWidth_ = 150;
    int preferredHeight_ = 75;

private:
    friend class ComponentWidget;
    friend class SystemControlHook;

    QWidget* handle_ = nullptr;
    Container* parent_ = nullptr;
    std::wstring name_;
    ILayout* layout_ = nullptr;
    std::uint32_t style_ = 0;
    std::uint32_t exStyle_ = 0;
    int controlId_ = 0;
    bool windowGone_ = false;
    bool wrapsSystemControl_ = false;
    QColor background_;
    QMetaObject::Connection systemControlConnection_;
};

}  // namespace GUI
