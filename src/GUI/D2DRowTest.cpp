#include <gtest/gtest.h>

#include <memory>

#include "AssertionCapture.h"
#include "GUI/BasicLayout.h"
#include "GUI/D2DButton.h"
#include "GUI/D2DEditLabel.h"
#include "GUI/D2DLabel.h"
#include "GUI/D2DPanel.h"
#include "GUI/D2DRow.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/StackedLayout.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

using Testing::kChildStyle;

class D2DRowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_.reset(Testing::makeWindow(406, 300));
        group_ = new Testing::CountingGroup;
        group_->createAsChild(L"Group", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0), kChildStyle,
                              0, window_.get());
    }
    D2DRow* makeRow(int columns, const std::wstring& label, int top = 0)
    {
        auto* row = new D2DRow(columns);
        row->createAsD2DChild(L"Row" + std::to_wstring(top), label,
                              new BasicLayout(0, 0, 0, top, 1, 0, 0, top + D2DRow::kHeight),
                              kChildStyle, 0, group_);
        return row;
    }
    static QRect rectOf(const Component* c) { return c->getHandle()->geometry(); }

    std::unique_ptr<Testing::TestWindow> window_;
    Testing::CountingGroup* group_ = nullptr;
};

TEST_F(D2DRowTest, TheLabelAndTheFieldsShareTheWidthInColumns)
{
    // A pair of buttons under a label: the label takes 0.4 of 406, less half a gap.
    D2DRow* pair = makeRow(2, L"Type");
    ASSERT_NE(pair->getLabel(), nullptr);
    EXPECT_EQ(pair->getLabel()->getText(), L"Type");
    pair->addField(new D2DButton, L"Pyro", L"Pyro");
    pair->addField(new D2DButton, L"DMX", L"DMX");
    EXPECT_EQ(rectOf(pair->getLabel()), QRect(0, 0, 162 - 3, 24));
    EXPECT_EQ(rectOf(pair->getField(0)), QRect(162 + 3, 0, 284 - 3 - 165, 24));
    EXPECT_EQ(rectOf(pair->getField(1)), QRect(284 + 3, 0, 406 - 287, 24));
    EXPECT_EQ(static_cast<D2DButton*>(pair->getField(1))->getCaption(), L"DMX");
    EXPECT_EQ(pair->findByName(L"Pyro"), pair->getField(0));

    // Two group buttons without a label take the whole width, a gap between them.
    D2DRow* groups = makeRow(2, L"", 30);
    EXPECT_EQ(groups->getLabel(), nullptr);
    groups->addField(new D2DButton, L"Group1", L"Group 1");
    groups->addField(new D2DButton, L"Group9", L"Group 9");
    EXPECT_EQ(rectOf(groups->getField(0)), QRect(0, 0, 203 - 3, 24));
    EXPECT_EQ(rectOf(groups->getField(1)), QRect(203 + 3, 0, 406 - 206, 24));

    // The columns follow the row's width.
    window_->moveWindow(0, 0, 206, 300);
    EXPECT_EQ(rectOf(groups->getField(1)), QRect(103 + 3, 0, 206 - 106, 24));
    auto third = std::make_unique<D2DButton>();  // refused before its window exists
    EXPECT_INVARIANT(groups->addField(third.get(), L"Third"), "a free column", "D2DRow");
}

TEST_F(D2DRowTest, AMovedLabelEdgePlacesTheLabelAndTheFieldsAgain)
{
    D2DRow* row = makeRow(1, L"Timecode");
    row->addField(new D2DEditLabel, L"TimecodeEdit", L"00:00:01:00");
    row->setLabelFraction(0.5f);
    EXPECT_EQ(rectOf(row->getLabel()), QRect(0, 0, 203 - 3, 24));
    EXPECT_EQ(rectOf(row->getField(0)), QRect(203 + 3, 0, 406 - 206, 24));
    window_->moveWindow(0, 0, 306, 300);
    EXPECT_EQ(rectOf(row->getField(0)), QRect(153 + 3, 0, 306 - 156, 24));
}

TEST_F(D2DRowTest, RowsStackInAPanelAndTheirFieldsTakeTheFocusInOrder)
{
    auto* panel = new D2DPanel;
    panel->createAsD2DChild(L"Panel", L"Manual fire", new BasicLayout(0, 0, 0, 0, 1, 0, 0, 40),
                            kChildStyle, 0, group_);
    std::vector<D2DRow*> rows;
    for (int i = 1; i <= 8; ++i) {
        auto* row = new D2DRow(2);
        row->createAsD2DChild(L"Groups" + std::to_wstring(i), L"", panel->getStack(), kChildStyle,
                              0, panel);
        row->addField(new D2DButton, L"Left", L"Group " + std::to_wstring(i));
        row->addField(new D2DButton, L"Right", L"Group " + std::to_wstring(i + 8));
        rows.push_back(row);
    }
    const int height = panel->fitHeight();
    // The title, then eight rows of 24 with a spacing of 6.
    EXPECT_GE(height, 8 * (D2DRow::kHeight + 6));
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rectOf(rows[i]).top() - rows[i - 1]->getHandle()->geometry().top(),
                  D2DRow::kHeight + 6);
        EXPECT_EQ(rectOf(rows[i]).height(), D2DRow::kHeight);
    }
    EXPECT_EQ(static_cast<D2DButton*>(rows[7]->getField(1))->getCaption(), L"Group 16");
}

}  // namespace
}  // namespace GUI
