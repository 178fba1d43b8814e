#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainterPath>
#include <QStaticText>
#include <vector>

#include "GUI/BasicLayout.h"
#include "GUI/Colors.h"
#include "GUI/D2DButtonGrid.h"
#include "GUI/D2DContainer.h"
#include "GUI/D2DPyroSlave.h"
#include "GUI/D2DSMPTEDisplay.h"
#include "GUI/D2DScrollbar.h"
#include "GUI/Graphics.h"
#include "GUI/Window.h"
#include "GUI/WindowStyle.h"

// Repainting a 1920 x 1080 panel of 200 drawing components, each a rounded face with an
// edge and a caption (what a button draws), with the window shown on the offscreen platform
// unless QT_QPA_PLATFORM names another.

namespace {

using namespace GUI;

QApplication& application()
{
    static int argc = 1;
    static char name[] = "sky_GUI_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    }
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        Graphics::create();
        return a;
    }();
    return *app;
}

class ButtonLike : public D2DComponent {
public:
    std::wstring getWindowClassName() const override { return L"ButtonLike"; }
    // The outline is kept with the target, as a widget keeps its geometry.
    void createDeviceResources(RenderTarget& target) override
    {
        const QRectF r(QPointF(0, 0), QSizeF(target.getSize()));
        edge_ = QPainterPath();
        edge_.addRoundedRect(r.adjusted(1, 1, -1, -1), 6, 6);
        face_ = QPainterPath();
        face_.addRoundedRect(r.adjusted(3, 3, -3, -3), 4, 4);
        text_.setText(caption);
        text_.prepare(QTransform(), font());
    }
    void draw(RenderTarget& target) override
    {
        QPainter& p = target.painter();
        const QRectF r(QPointF(0, 0), QSizeF(target.getSize()));
        p.fillRect(r, kBackgroundColor.toQColor());
        if (fillOnly) {
            return;
        }
        p.fillPath(edge_, kEdgeColor.toQColor());
        p.fillPath(face_, kFaceColor.toQColor());
        p.setFont(font());
        p.setPen(kEdgeColor.toQColor());
        const QSizeF textSize = text_.size();
        p.drawStaticText(
            QPointF((r.width() - textSize.width()) / 2, (r.height() - textSize.height()) / 2),
            text_);
    }

    QString caption;
    bool fillOnly = false;

private:
    static const QFont& font()
    {
        return Graphics::getInstance()->getFont(Graphics::TextStyle::kRegular13);
    }

    QPainterPath edge_;
    QPainterPath face_;
    QStaticText text_;
};

class Panel : public D2DContainer {
public:
    std::wstring getWindowClassName() const override { return L"Panel"; }
    void draw(RenderTarget& target) override
    {
        target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()),
                                  kBackgroundColor.toQColor());
    }
};

class PlainWindow : public Window {
public:
    std::wstring getWindowClassName() const override { return L"BenchWindow"; }
};

struct Scene {
    PlainWindow* window = nullptr;
    Panel* panel = nullptr;
    std::vector<ButtonLike*> buttons;

    Scene()
    {
        application();
        window = new PlainWindow;
        window->createTopLevel(L"Bench", L"Bench", kStyleOverlappedWindow, 0);
        window->getHandle()->resize(1920, 1080);
        panel = new Panel;
        panel->createAsChild(L"Panel", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0),
                             kStyleChild | kStyleVisible, 0, window);
        // 20 columns of 10 buttons, 90 x 100 apiece with gaps, covering the panel.
        for (int i = 0; i < 200; ++i) {
            const int x = 6 + (i % 20) * 95;
            const int y = 6 + (i / 20) * 106;
            auto* button = new ButtonLike;
            button->caption = QString("Cue %1").arg(i + 1);
            button->createAsD2DChild(L"Button" + std::to_wstring(i), L"",
                                     new BasicLayout(0, x, 0, y, 0, x + 90, 0, y + 100),
                                     kStyleChild | kStyleVisible, 0, panel);
            buttons.push_back(button);
        }
        window->getHandle()->show();
        for (int i = 0; i < 10; ++i) {
            QApplication::processEvents();
        }
    }

    ~Scene() { delete window; }
};

void BM_FullRepaint200At1920x1080(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state) {
        for (ButtonLike* button : scene.buttons) {
            button->invalidate();
        }
        scene.panel->getHandle()->repaint();
    }
}
BENCHMARK(BM_FullRepaint200At1920x1080)->Unit(benchmark::kMillisecond);

// The same with components that only fill themselves: the cost of the scheme itself.
void BM_FullRepaint200FillsOnly(benchmark::State& state)
{
    Scene scene;
    for (ButtonLike* button : scene.buttons) {
        button->fillOnly = true;
    }
    for (auto _ : state) {
        for (ButtonLike* button : scene.buttons) {
            button->invalidate();
        }
        scene.panel->getHandle()->repaint();
    }
}
BENCHMARK(BM_FullRepaint200FillsOnly)->Unit(benchmark::kMillisecond);

void BM_OneChangedIn200(benchmark::State& state)
{
    Scene scene;
    int i = 0;
    for (auto _ : state) {
        scene.buttons[static_cast<std::size_t>(i++ % 200)]->invalidate();
        scene.panel->getHandle()->repaint();
    }
}
BENCHMARK(BM_OneChangedIn200)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The real widgets: 200 of four kinds (timecode displays, firing-module views, button grids
// and scrollbars) in the same arrangement, all drawn again.
struct WidgetScene {
    PlainWindow* window = nullptr;
    Panel* panel = nullptr;
    std::vector<D2DComponent*> widgets;

    WidgetScene()
    {
        application();
        window = new PlainWindow;
        window->createTopLevel(L"Bench", L"Bench", kStyleOverlappedWindow, 0);
        window->getHandle()->resize(1920, 1080);
        panel = new Panel;
        panel->createAsChild(L"Panel", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0),
                             kStyleChild | kStyleVisible, 0, window);
        for (int i = 0; i < 200; ++i) {
            const int x = 6 + (i % 20) * 95;
            const int y = 6 + (i / 20) * 106;
            D2DComponent* widget = nullptr;
            switch (i % 4) {
                case 0: {
                    auto* display = new D2DSMPTEDisplay;
                    display->setValue(0x01020300 + (i % 10));
                    widget = display;
                    break;
                }
                case 1: {
                    auto* slave = new D2DPyroSlave;
                    slave->setAddress(i);
                    widget = slave;
                    break;
                }
                case 2: {
                    auto* grid = new D2DButtonGrid;
                    grid->setMetrics({4, 4, 18, 20, 2, 0, 0});
                    widget = grid;
                    break;
                }
                default: widget = new D2DScrollbar; break;
            }
            widget->createAsD2DChild(L"Widget" + std::to_wstring(i), L"",
                                     new BasicLayout(0, x, 0, y, 0, x + 90, 0, y + 100),
                                     kStyleChild | kStyleVisible, 0, panel);
            widgets.push_back(widget);
        }
        window->getHandle()->show();
        for (int i = 0; i < 10; ++i) {
            QApplication::processEvents();
        }
    }

    ~WidgetScene() { delete window; }
};

void BM_FullRepaint200WidgetsAt1920x1080(benchmark::State& state)
{
    WidgetScene scene;
    for (auto _ : state) {
        for (D2DComponent* widget : scene.widgets) {
            widget->invalidate();
        }
        scene.panel->getHandle()->repaint();
    }
}
BENCHMARK(BM_FullRepaint200WidgetsAt1920x1080)->Unit(benchmark::kMillisecond);

}  // namespace
