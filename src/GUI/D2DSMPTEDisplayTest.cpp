#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <memory>

#include "AssertionCapture.h"
#include "GUI/BasicLayout.h"
#include "GUI/D2DPyroSlave.h"
#include "GUI/D2DSMPTEDisplay.h"
#include "GUI/QtTestEnvironment.h"
#include "GUI/TestComponents.h"

namespace GUI {
namespace {

TEST(D2DSMPTEDisplayTest, FormatsThePackedWord)
{
    const struct {
        std::int64_t packed;
        const wchar_t* text;
    } cases[] = {
        {D2DSMPTEDisplay::kEmpty, L""}, {0x00000000, L"00:00:00:00"}, {0x23595929, L"23:59:59:29"},
        {0x01020342, L"01;02;03;02"},  // drop-frame flag in the frames byte
        {0x10000000, L"10:00:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(D2DSMPTEDisplay::format(c.packed), c.text) << std::hex << c.packed;
    }
}

TEST(D2DSMPTEDisplayTest, DrawsAgainOnlyWhenTheValueChanges)
{
    std::unique_ptr<Testing::TestWindow> window(Testing::makeWindow(300, 100));
    auto* display = new D2DSMPTEDisplay;
    display->createAsChild(L"Time", L"", new BasicLayout(0, 0, 0, 0, 0, 200, 0, 40),
                           Testing::kChildStyle, 0, window.get());
    display->setValue(0x00010203);
    ASSERT_TRUE(Testing::showAndExpose(window.get()));
    ASSERT_TRUE(Testing::waitFor([&] { return !display->isDirty(); }));
    display->setValue(0x00010203);
    EXPECT_FALSE(display->isDirty());
    display->setValue(0x00010204);
    EXPECT_TRUE(display->isDirty());
    EXPECT_EQ(display->getText(), L"00:01:02:04");
    ASSERT_TRUE(Testing::waitFor([&] { return !display->isDirty(); }));
    display->setValue(D2DSMPTEDisplay::kEmpty);
    EXPECT_TRUE(display->isDirty());
    EXPECT_EQ(display->getText(), L"");
}

TEST(D2DSMPTEDisplayTest, CaptionAndTimeFitTheSizeItsUserChose)
{
    // From the strip under the timeline to the status display's figures.
    const struct {
        const wchar_t* caption;
        QSizeF size;
    } cases[] = {
        {L"", {72, 20}},     {L"nxt", {150, 40}}, {L"cur", {200, 40}},
        {L"len", {480, 90}}, {L"cur", {90, 18}},
    };
    int previousPixels = 0;
    for (const auto& c : cases) {
        D2DSMPTEDisplay display({}, c.caption);
        const D2DSMPTEDisplay::TextLayout layout = display.layoutFor(c.size);
        const QRectF whole(QPointF(0, 0), c.size);
        SCOPED_TRACE(QString::fromStdWString(c.caption).toStdString() + " " +
                     std::to_string(c.size.width()));
        for (const QString& text : {QStringLiteral("23:59:59;29"), QStringLiteral("88:88:88:88")}) {
            EXPECT_LE(QFontMetricsF(layout.timeFont).horizontalAdvance(text), layout.time.width());
        }
        EXPECT_LE(QFontMetricsF(layout.timeFont).height(), c.size.height() + 1);
        EXPECT_TRUE(whole.contains(layout.time));
        if (*c.caption != 0) {
            EXPECT_TRUE(whole.contains(layout.caption));
            EXPECT_LE(layout.caption.right(), layout.time.left());
            EXPECT_LE(QFontMetricsF(layout.captionFont)
                          .horizontalAdvance(QString::fromStdWString(c.caption)),
                      layout.caption.width() + 0.01);
            EXPECT_GE(layout.captionFont.pixelSize(), 6);
        } else {
            EXPECT_TRUE(layout.caption.isEmpty());
        }
        // A larger display writes larger figures.
        if (c.size.height() >= 40) {
            EXPECT_GE(layout.timeFont.pixelSize(), previousPixels);
            previousPixels = layout.timeFont.pixelSize();
        }
    }
    D2DSMPTEDisplay strip;
    D2DSMPTEDisplay large;
    EXPECT_LT(strip.layoutFor({72, 20}).timeFont.pixelSize(),
              large.layoutFor({300, 60}).timeFont.pixelSize());
}

TEST(D2DSMPTEDisplayTest, ACaptionChangeDrawsAgain)
{
    std::unique_ptr<Testing::TestWindow> window(Testing::makeWindow(300, 100));
    auto* display = new D2DSMPTEDisplay({}, L"nxt");
    display->setPreferredSize(120, 24);
    display->createAsChild(L"Time", L"", new BasicLayout(0, 0, 0, 0, 0, 120, 0, 24),
                           Testing::kChildStyle, 0, window.get());
    ASSERT_TRUE(Testing::showAndExpose(window.get()));
    ASSERT_TRUE(Testing::waitFor([&] { return !display->isDirty(); }));
    display->setCaption(L"nxt");
    EXPECT_FALSE(display->isDirty());
    display->setCaption(L"cur");
    EXPECT_TRUE(display->isDirty());
    EXPECT_EQ(display->getCaption(), L"cur");
}

TEST(D2DPyroSlaveTest, KeepsChannelStatesAndChecksTheChannel)
{
    D2DPyroSlave slave;
    slave.setAddress(12);
    slave.setChannelStatus(15, D2DPyroSlave::ChannelStatus::kFired);
    EXPECT_EQ(slave.getModuleState().address, 12);
    EXPECT_EQ(slave.getChannelStatus(15), D2DPyroSlave::ChannelStatus::kFired);
    EXPECT_EQ(slave.getChannelStatus(0), D2DPyroSlave::ChannelStatus::kUnknown);
    EXPECT_INVARIANT(slave.setChannelStatus(16, D2DPyroSlave::ChannelStatus::kOpen), "channel < 16",
                     "D2DPyroSlave");
    EXPECT_INVARIANT(slave.getChannelStatus(-1), "channel >= 0", "D2DPyroSlave");
}

}  // namespace
}  // namespace GUI
