#include <gtest/gtest.h>

#include <QFontInfo>

#include "GUI/Graphics.h"
#include "GUI/QtTestEnvironment.h"

namespace GUI {
namespace {

TEST(Graphics, FourTextFormatsInArialOrItsMetricTwin)
{
    struct Expected {
        Graphics::TextStyle style;
        int weight;
        int pixelSize;
    };
    const Expected formats[] = {
        {Graphics::TextStyle::kHeavy10, QFont::Black, 10},
        {Graphics::TextStyle::kHeavy30, QFont::Black, 30},
        {Graphics::TextStyle::kRegular13, QFont::Normal, 13},
        {Graphics::TextStyle::kRegular18, QFont::Normal, 18},
    };
    Graphics* graphics = Graphics::getInstance();
    ASSERT_NE(graphics, nullptr);
    for (const Expected& e : formats) {
        const QFont& font = graphics->getFont(e.style);
        EXPECT_EQ(font.weight(), e.weight);
        EXPECT_EQ(font.pixelSize(), e.pixelSize);
        EXPECT_EQ(font.style(), QFont::StyleNormal);
        // What the machine really draws with: Arial, or the font of Arial's widths that the
        // set-up installs, never some other sans serif.
        const QString drawn = QFontInfo(font).family();
        EXPECT_TRUE(drawn == "Arial" || drawn == "Liberation Sans") << drawn.toStdString();
    }
}

}  // namespace
}  // namespace GUI
