#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GUI/BasicLayout.h"
#include "GUI/D2DButtonGrid.h"
#include "GUI/D2DPyroSlave.h"
#include "GUI/D2DSMPTEDisplay.h"
#include "GUI/D2DScrollbar.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

// A widget that counts its drawings.
template <typename Widget>
class Counting : public Widget {
public:
    void draw(RenderTarget& target) override
    {
        ++draws;
        Widget::draw(target);
    }
    int draws = 0;
};

// A 1920 x 1080 panel of 200 widgets of four kinds, 20 columns of 10.
class WidgetRenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_.reset(Testing::makeWindow(1920, 1080));
        panel_ = new Testing::CountingGroup;
        panel_->createAsChild(L"Panel", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0),
                              Testing::kChildStyle, 0, window_.get());
        for (int i = 0; i < 200; ++i) {
            const int x = 6 + (i % 20) * 95;
            const int y = 6 + (i / 20) * 106;
            auto* layout = new BasicLayout(0, x, 0, y, 0, x + 90, 0, y + 100);
            const std::wstring name = L"W" + std::to_wstring(i);
            switch (i % 4) {
                case 0: add(new Counting<D2DSMPTEDisplay>, name, layout); break;
                case 1: add(new Counting<D2DPyroSlave>, name, layout); break;
                case 2: {
                    auto* grid = new Counting<D2DButtonGrid>;
                    grid->setMetrics({4, 4, 18, 20, 2, 0, 0});
                    add(grid, name, layout);
                    break;
                }
                default: add(new Counting<D2DScrollbar>, name, layout); break;
            }
        }
        ASSERT_TRUE(Testing::showAndExpose(window_.get()));
        QApplication::processEvents();
        ASSERT_FALSE(panel_->isDirty());
    }

    template <typename W>
    void add(Counting<W>* widget, const std::wstring& name, BasicLayout* layout)
    {
        widget->createAsD2DChild(name, L"", layout, Testing::kChildStyle, 0, panel_);
        counters_.push_back(&widget->draws);
        widgets_.push_back(widget);
    }

    void resetCounts()
    {
        panel_->draws = 0;
        for (int* counter : counters_) {
            *counter = 0;
        }
    }

    int widgetDraws() const
    {
        int total = 0;
        for (const int* counter : counters_) {
            total += *counter;
        }
        return total;
    }

    std::unique_ptr<Testing::TestWindow> window_;
    Testing::CountingGroup* panel_ = nullptr;
    std::vector<int*> counters_;
    std::vector<D2DComponent*> widgets_;
};

TEST_F(WidgetRenderTest, ChangingOneWidgetRedrawsItAndItsPanelOnly)
{
    for (const int* counter : counters_) {
        EXPECT_EQ(*counter, 1);  // the first paint drew each once
    }
    resetCounts();
    auto* display = static_cast<Counting<D2DSMPTEDisplay>*>(widgets_[40]);
    display->setValue(0x01020304);
    auto* slave = static_cast<Counting<D2DPyroSlave>*>(widgets_[41]);
    slave->setChannelStatus(3, D2DPyroSlave::ChannelStatus::kFired);
    ASSERT_TRUE(Testing::waitFor([&] { return !panel_->isDirty(); }));
    EXPECT_EQ(display->draws, 1);
    EXPECT_EQ(slave->draws, 1);
    EXPECT_EQ(widgetDraws(), 2);
    EXPECT_EQ(panel_->draws, 1);

    // The same value again draws nothing.
    resetCounts();
    display->setValue(0x01020304);
    QApplication::processEvents();
    EXPECT_EQ(widgetDraws(), 0);
    EXPECT_EQ(panel_->draws, 0);
}

}  // namespace
}  // namespace GUI
