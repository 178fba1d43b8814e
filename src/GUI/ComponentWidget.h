#pragma once

#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <map>

#include "GUI/Component.h"

namespace GUI {

// The widget of a component with a window class of its own: turns Qt's events into the
// component's messages. When the widget is destroyed the component gets kMessageDestroy and
// is deleted; from then on the widget delivers nothing.
class ComponentWidget : public QWidget {
public:
    ComponentWidget(Component* component, const WindowClass& windowClass, QWidget* parent);
    ~ComponentWidget() override;

    Component* getComponent() const { return component_; }
    // The object goes before the window: nothing is delivered any more.
    void releaseComponent() { component_ = nullptr; }

    // Delivers kMessageSize when the widget's size differs from the one last delivered. Qt
    // holds back resize events of hidden widgets until they are shown; a component learns
    // its size at once all the same.
    void deliverSize();

    // While a paint is delivered: the part of the widget being painted.
    const QRegion& getPaintRegion() const { return paintRegion_; }

    // Hands the message to the component as an event of this widget would.
    std::intptr_t deliver(Message& message) { return dispatch(message); }

    void setTimer(int id, int periodMs);
    void killTimer(int id);

    // True while any component is handling a message: a window destroyed then goes at the
    // next turn of the event loop, not under the handler's feet.
    static bool isDispatching() { return dispatchDepth_ > 0; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QRegion paintRegion_;

    std::intptr_t dispatch(Message& message);
    std::intptr_t dispatchCode(std::uint32_t code, std::uint64_t wParam = 0);
    void dispatchMouse(std::uint32_t code, QMouseEvent* event);
    void dispatchButtonDown(std::uint32_t code, QMouseEvent* event, bool doubleClick);

    static int dispatchDepth_;

    Component* component_;
    QSize deliveredSize_{-1, -1};
    std::map<int, int> timers_;  // the component's timer id -> Qt's timer id
};

}  // namespace GUI
