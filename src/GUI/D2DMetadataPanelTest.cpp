#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QTest>

#include "GUI/BasicLayout.h"
#include "GUI/D2DMetadataPanel.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

using Testing::kChildStyle;

class PanelRecorder : public D2DMetadataPanel::Listener {
public:
    void keyAdded(D2DMetadataPanel*, const std::wstring& key) override
    {
        events.push_back(L"added " + key);
    }
    void keyRemoved(D2DMetadataPanel*, int row) override
    {
        events.push_back(L"removed " + std::to_wstring(row));
    }
    void valueChanged(D2DMetadataPanel*, int row, const std::wstring& value, bool byEnter) override
    {
        events.push_back(L"value " + std::to_wstring(row) + L" " + value +
                         (byEnter ? L" enter" : L""));
    }
    void keyChanged(D2DMetadataPanel*, int row, const std::wstring& key) override
    {
        events.push_back(L"key " + std::to_wstring(row) + L" " + key);
    }
    std::vector<std::wstring> events;
};

class D2DMetadataPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = Testing::makeWindow(400, 300);
        root_ = new Testing::CountingGroup;
        root_->createAsChild(L"Root", L"", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0), kChildStyle, 0,
                             window_);
        panel_ = new D2DMetadataPanel;
        panel_->setKeyLabels({{L"~DESC", L"Description"}});
        panel_->setRows({{L"Colour", L"red"}, {L"~DESC", L"Comet"}});
        panel_->createAsD2DChild(L"Meta", L"Effect", new BasicLayout(0, 0, 0, 0, 1, 0, 1, 0),
                                 kChildStyle, 0, root_);
        panel_->addListener(&recorder_);
        panel_->setErrorReporter([this](const std::wstring& key) { errors_.push_back(key); });
        ASSERT_TRUE(Testing::showAndExpose(window_));
        window_->getHandle()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_->getHandle()));
    }
    void TearDown() override { delete window_; }

    // Focuses the edit, types `text` over its selected text and ends with `key`.
    void type(D2DEditLabel* edit, const char* text, Qt::Key key)
    {
        edit->getHandle()->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(edit->isEditing());
        QTest::keyClicks(edit->getHandle(), text);
        QTest::keyClick(QApplication::focusWidget(), key);
    }

    Testing::TestWindow* window_ = nullptr;
    Testing::CountingGroup* root_ = nullptr;
    D2DMetadataPanel* panel_ = nullptr;
    PanelRecorder recorder_;
    std::vector<std::wstring> errors_;
};

TEST_F(D2DMetadataPanelTest, RowsShowKeysLabelsAndANewKeyRow)
{
    ASSERT_EQ(panel_->getRowCount(), 2);
    EXPECT_EQ(panel_->getRowKind(0), D2DMetadataPanel::kKeyRow);
    EXPECT_EQ(panel_->getRowKind(2), D2DMetadataPanel::kNewKeyRow);
    EXPECT_EQ(panel_->getKeyEdit(0)->getText(), L"Colour");
    EXPECT_EQ(panel_->getValueEdit(0)->getText(), L"red");
    // A labelled key shows its label and cannot be renamed.
    EXPECT_EQ(panel_->getKeyEdit(1)->getText(), L"Description");
    EXPECT_FALSE(panel_->getKeyEdit(1)->isEnabled());
    EXPECT_EQ(panel_->getKeyEdit(2)->getText(), L"");
    EXPECT_EQ(panel_->getKeyEdit(2)->getHintText().toStdWString(), L"SIDEBAR.NEW_KEY");
    EXPECT_TRUE(panel_->getRemoveButton(2)->getHandle()->isHidden());
    // Rows stack downward under the title, one under the other.
    EXPECT_LT(panel_->getKeyEdit(0)->getHandle()->mapTo(root_->getHandle(), QPoint()).y(),
              panel_->getKeyEdit(1)->getHandle()->mapTo(root_->getHandle(), QPoint()).y());

    // Fewer rows reuse the first ones; the new-key row follows the last key row.
    D2DEditLabel* first = panel_->getKeyEdit(0);
    panel_->setRows({{L"Size", L"3"}});
    EXPECT_EQ(panel_->getRowCount(), 1);
    EXPECT_EQ(panel_->getKeyEdit(0), first);
    EXPECT_EQ(first->getText(), L"Size");
    EXPECT_EQ(panel_->getRowKind(1), D2DMetadataPanel::kNewKeyRow);
    EXPECT_FALSE(panel_->getRemoveButton(0)->getHandle()->isHidden());
}

TEST_F(D2DMetadataPanelTest, EditsBecomeListenerCalls)
{
    type(panel_->getKeyEdit(0), "Color", Qt::Key_Return);
    type(panel_->getValueEdit(1), "Gold", Qt::Key_Tab);
    type(panel_->getKeyEdit(2), "Size", Qt::Key_Return);
    // A value on the new-key row has no key to go with: ignored.
    type(panel_->getValueEdit(2), "5", Qt::Key_Return);
    QTest::mouseClick(panel_->getRemoveButton(0)->getHandle(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(5, 5));
    EXPECT_EQ(recorder_.events, (std::vector<std::wstring>{L"key 0 Color", L"value 1 Gold",
                                                           L"added Size", L"removed 0"}));
    EXPECT_TRUE(errors_.empty());
}

TEST_F(D2DMetadataPanelTest, TildesAreRefusedAndAnEmptyKeyReverts)
{
    D2DEditLabel* key = panel_->getKeyEdit(0);
    type(key, "~X", Qt::Key_Tab);
    EXPECT_TRUE(key->getHandle()->hasFocus());
    EXPECT_EQ(key->getText(), L"~X");
    // The refused field holds the focus until its text is put right or reverted.
    panel_->getValueEdit(0)->getHandle()->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(key->getHandle()->hasFocus());
    QTest::keyClick(key->getHandle(), Qt::Key_Escape);
    EXPECT_EQ(key->getText(), L"Colour");
    type(panel_->getValueEdit(0), "a~b", Qt::Key_Return);
    EXPECT_EQ(errors_, (std::vector<std::wstring>(3, L"ERROR.INVALID_METADATA_TILDE")));
    QTest::keyClick(panel_->getValueEdit(0)->getHandle(), Qt::Key_Escape);

    // Emptied, the key shows its name again and nothing is reported.
    type(key, "x", Qt::Key_Backspace);
    QTest::keyClick(key->getHandle(), Qt::Key_Tab);
    EXPECT_EQ(key->getText(), L"Colour");
    EXPECT_TRUE(recorder_.events.empty());
}

TEST_F(D2DMetadataPanelTest, ARemoveButtonGrowsToHoldItsCaption)
{
    const QRect narrow = panel_->getRemoveButton(0)->getHandle()->geometry();
    panel_->setRemoveCaption(L"Remove");
    const QFontMetricsF metrics(Graphics::getInstance()->getFont(Graphics::TextStyle::kRegular13));
    for (int row = 0; row < 2; ++row) {
        const QRect button = panel_->getRemoveButton(row)->getHandle()->geometry();
        const QRect value = panel_->getValueEdit(row)->getHandle()->geometry();
        EXPECT_GT(button.width(), metrics.horizontalAdvance("Remove"));
        EXPECT_EQ(button.right(), narrow.right());
        EXPECT_LT(value.right(), button.left());
    }
    // Rows made later get the same room.
    panel_->setRows({{L"Colour", L"red"}, {L"~DESC", L"Comet"}, {L"Angle", L"30"}});
    EXPECT_EQ(panel_->getRemoveButton(2)->getHandle()->width(),
              panel_->getRemoveButton(0)->getHandle()->width());
}

}  // namespace
}  // namespace GUI
