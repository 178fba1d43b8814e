#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "GUI/Container.h"
#include "GUI/D2DContainer.h"
#include "GUI/Window.h"
#include "GUI/WindowStyle.h"

// Small components for the GUI tests: they record what reaches them.
namespace GUI::Testing {

inline constexpr std::uint32_t kChildStyle = kStyleChild | kStyleVisible;

// Keeps a log of events ("created A", "destroyed A") shared by the components of a test.
using EventLog = std::vector<std::string>;

class PlainComponent : public Component {
public:
    explicit PlainComponent(EventLog* log = nullptr, std::string label = {})
        : log_(log), label_(std::move(label))
    {
    }
    ~PlainComponent() override { record("deleted"); }

    std::wstring getWindowClassName() const override { return L"PlainComponent"; }
    void onCreate() override { record("created"); }
    void onDestroy() override { record("destroyed"); }
    std::intptr_t handleMessage(Message& message) override
    {
        messages.push_back(message);
        return Component::handleMessage(message);
    }

    std::vector<Message> messages;

private:
    void record(const char* what)
    {
        if (log_ != nullptr) {
            log_->push_back(std::string(what) + " " + label_);
        }
    }

    EventLog* log_;
    std::string label_;
};

class PlainContainer : public Container {
public:
    explicit PlainContainer(EventLog* log = nullptr, std::string label = {})
        : log_(log), label_(std::move(label))
    {
    }
    ~PlainContainer() override { record("deleted"); }

    std::wstring getWindowClassName() const override { return L"PlainContainer"; }
    void onDestroy() override { record("destroyed"); }
    std::intptr_t handleMessage(Message& message) override
    {
        messages.push_back(message);
        return Container::handleMessage(message);
    }

    std::vector<Message> messages;

private:
    void record(const char* what)
    {
        if (log_ != nullptr) {
            log_->push_back(std::string(what) + " " + label_);
        }
    }

    EventLog* log_;
    std::string label_;
};

class TestWindow : public Window {
public:
    explicit TestWindow(EventLog* log = nullptr) : log_(log) {}
    ~TestWindow() override
    {
        if (log_ != nullptr) {
            log_->push_back("deleted window");
        }
    }

    std::wstring getWindowClassName() const override { return L"TestWindow"; }
    bool mayClose() override
    {
        ++closeRequests;
        return allowClose;
    }

    bool allowClose = true;
    int closeRequests = 0;

private:
    EventLog* log_;
};

// A drawing component that fills itself with one colour and counts its drawings.
class CountingTile : public D2DComponent {
public:
    std::wstring getWindowClassName() const override { return L"CountingTile"; }
    void draw(RenderTarget& target) override
    {
        ++draws;
        target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), color);
    }
    void setColor(QColor newColor)
    {
        color = newColor;
        invalidate();
    }

    QColor color = Qt::white;
    int draws = 0;
};

// A drawing container that fills itself with its colour, counts its drawings and its
// invalidations, and may handle the ensure-visible request like a scrolling panel.
class CountingGroup : public D2DContainer {
public:
    std::wstring getWindowClassName() const override { return L"CountingGroup"; }
    void draw(RenderTarget& target) override
    {
        ++draws;
        QPainter& painter = target.painter();
        drawnClip = painter.hasClipping() ? painter.clipBoundingRect().toAlignedRect() : QRect();
        painter.fillRect(QRect(QPoint(0, 0), target.getSize()), color);
    }
    void invalidateRect(const QRect& rect) override
    {
        ++invalidations;
        D2DContainer::invalidateRect(rect);
    }
    std::intptr_t handleMessage(Message& message) override
    {
        if (message.code == kMessageEnsureVisible && scrolls) {
            ensureVisibleRequests.push_back(message.window);
            return 1;
        }
        return D2DContainer::handleMessage(message);
    }

    QColor color = Qt::darkBlue;
    int draws = 0;
    int invalidations = 0;
    // The clip of the last drawing; empty when it drew all of itself.
    QRect drawnClip;
    bool scrolls = false;
    std::vector<QWidget*> ensureVisibleRequests;
};

// A top-level test window of the given client size, not shown.
inline TestWindow* makeWindow(int width, int height, EventLog* log = nullptr)
{
    auto* window = new TestWindow(log);
    window->createTopLevel(L"TestWindow", L"Test", kStyleOverlappedWindow, 0);
    window->getHandle()->resize(width, height);
    return window;
}

// Shows the window and waits until it can be painted.
inline bool showAndExpose(Window* window)
{
    window->getHandle()->show();
    return QTest::qWaitForWindowExposed(window->getHandle());
}

// Processes events until `condition` holds or `timeoutMs` passed.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 2000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace GUI::Testing
