#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "AssertionCapture.h"
#include "Timecode/SMPTE.h"

namespace {

TEST(SMPTE, DropFrameRoundTripsEveryFrameOfTheFirstHour)
{
    SMPTE label(SMPTE::SMPTE_30DF);
    for (int n = 0; n <= 107892; ++n) {
        label.setFrameNo(n);
        ASSERT_EQ(label.getFrameNo(), n) << label.toNarrowString();
    }
}

TEST(SMPTE, RoundTripsFrameCountsInEveryFormat)
{
    for (int format = SMPTE::SMPTE_24; format <= SMPTE::SMPTE_30; ++format) {
        const int day = SMPTE::framesPerDay(format);
        for (int n : {0, 1, 23, 24, 29, 30, 1799, 1800, 17982, 107892, day - 1}) {
            EXPECT_EQ(SMPTE::fromFrameNo(format, n).getFrameNo(), n) << format << " " << n;
        }
    }
}

TEST(SMPTE, DropFrameLabels)
{
    const struct {
        int frame;
        const char* text;
    } cases[] = {
        {1799, "00;00;59;29"},   {1800, "00;01;00;02"},  {17982, "00;10:00;00"},
        {107892, "01;00;00;00"}, {17981, "00;09;59;29"}, {19782, "00;11;00;02"},
    };
    for (const auto& c : cases) {
        std::string expected = c.text;
        std::replace(expected.begin(), expected.end(), ':', ';');
        EXPECT_EQ(SMPTE::fromFrameNo(SMPTE::SMPTE_30DF, c.frame).toNarrowString(), expected);
    }
    // A dropped label is accepted and counts as the frame before the drop.
    EXPECT_EQ(SMPTE(SMPTE::SMPTE_30DF, 0, 1, 0, 0).getFrameNo(), 1798);
    EXPECT_EQ(SMPTE(SMPTE::SMPTE_30DF, 0, 0, 59, 28).getFrameNo(), 1798);
    EXPECT_EQ(SMPTE(SMPTE::SMPTE_30DF, 0, 10, 0, 0).getFrameNo(), 17982);
}

TEST(SMPTE, MillisecondsFollowTheRealRate)
{
    EXPECT_NEAR(SMPTE::fromFrameNo(SMPTE::SMPTE_30DF, 1798).getMilliseconds(), 59993.3, 0.05);
    EXPECT_DOUBLE_EQ(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 25).getMilliseconds(), 1000.0);
    SMPTE label(SMPTE::SMPTE_24);
    label.setMilliseconds(1020.0);  // 24.48 frames, rounds to 24
    EXPECT_EQ(label.getFrameNo(), 24);
    label.setMilliseconds(1021.0);  // 24.504 frames, rounds to 25
    EXPECT_EQ(label.getFrameNo(), 25);
}

TEST(SMPTE, PackedBcd)
{
    const SMPTE df(SMPTE::SMPTE_30DF, 1, 2, 3, 4);
    EXPECT_EQ(df.getBCD(), 0x01020344u);

    SMPTE pal(SMPTE::SMPTE_25);
    pal.setBCD(0x01020344u);  // the drop-frame flag is masked off and the format kept
    EXPECT_EQ(pal.toNarrowString(), "01:02:03:04");
    EXPECT_EQ(pal.getFormat(), SMPTE::SMPTE_25);

    EXPECT_EQ(SMPTE(SMPTE::SMPTE_30, 23, 59, 59, 29).getBCD(), 0x23595929u);
    EXPECT_TRUE(SMPTE::isValidBCD(0x23595929u, SMPTE::SMPTE_30));
    EXPECT_FALSE(SMPTE::isValidBCD(0x24000000u, SMPTE::SMPTE_30));
    EXPECT_FALSE(SMPTE::isValidBCD(0x00600000u, SMPTE::SMPTE_30));
    EXPECT_FALSE(SMPTE::isValidBCD(0x00000024u, SMPTE::SMPTE_24));
    EXPECT_TRUE(SMPTE::isValidBCD(0x00000024u, SMPTE::SMPTE_25));
    EXPECT_TRUE(SMPTE::isValidBCD(0x0000001Au, SMPTE::SMPTE_30));   // nibbles above 9 read on: 20
    EXPECT_FALSE(SMPTE::isValidBCD(0x0000003Au, SMPTE::SMPTE_30));  // 40
}

TEST(SMPTE, CompareWithinAndAcrossFormats)
{
    const SMPTE oneSecond25(SMPTE::SMPTE_25, 0, 0, 1, 0);
    const SMPTE oneSecond24(SMPTE::SMPTE_24, 0, 0, 1, 0);
    const SMPTE frame24of25(SMPTE::SMPTE_25, 0, 0, 0, 24);
    EXPECT_EQ(oneSecond25.compare(oneSecond24), 0);
    EXPECT_EQ(frame24of25.compare(oneSecond24), -1);
    EXPECT_EQ(oneSecond24.compare(frame24of25), 1);
    // Same format: field by field, so a dropped label sorts after the frame it equals.
    const SMPTE dropped(SMPTE::SMPTE_30DF, 0, 1, 0, 0);
    const SMPTE before(SMPTE::SMPTE_30DF, 0, 0, 59, 28);
    EXPECT_EQ(dropped.compare(before), 1);
    EXPECT_EQ(dropped.compare(dropped), 0);
}

TEST(SMPTE, TimesOfADayAndMore)
{
    SMPTE label(SMPTE::SMPTE_25);
    label.setFrameNo(SMPTE::framesPerDay(SMPTE::SMPTE_25));
    EXPECT_EQ(label.getHours(), 24);
    EXPECT_EQ(label.toNarrowString(), "24:00:00:00");
    EXPECT_EQ(label.getBCD(), 0x00000000u);  // the packed word is a 24-hour clock
    label.setFrameNo(100 * 3600 * 25 + 1);
    EXPECT_EQ(label.toNarrowString(), "100:00:00:01");  // no hour digit is lost
    EXPECT_EQ(label.getFrameNo(), 100 * 3600 * 25 + 1);

    SMPTE df(SMPTE::SMPTE_30DF);
    df.setFrameNo(INT32_MAX);
    EXPECT_EQ(df.getFrameNo(), INT32_MAX);

    EXPECT_EQ(SMPTE::framesPerDay(SMPTE::SMPTE_24), 24 * 86400);
    EXPECT_EQ(SMPTE::framesPerDay(SMPTE::SMPTE_30DF), 2589408);
}

TEST(SMPTE, InvariantsNameTheirExpression)
{
    SMPTE label(SMPTE::SMPTE_25);
    EXPECT_INVARIANT(label.setHours(-1), "newHours >= 0", "SMPTE");
    EXPECT_INVARIANT(label.setHours(24), "newHours < 24", "SMPTE");
    EXPECT_INVARIANT(label.setMinutes(60), "newMinutes < 60", "SMPTE");
    EXPECT_INVARIANT(label.setSeconds(-1), "newSeconds >= 0", "SMPTE");
    EXPECT_INVARIANT(label.setFrames(25),
                     "(newFrames < 30) && (newFrames < 24 || format_ != SMPTE_24) && "
                     "(newFrames < 25 || format_ != SMPTE_25)",
                     "SMPTE");
    EXPECT_INVARIANT(label.setFrameNo(-1), "frameNo >= 0", "SMPTE");
    EXPECT_INVARIANT(SMPTE::intToBCD(100), "i < 100", "SMPTE");
    EXPECT_INVARIANT(SMPTE::bcdToInt(256), "bcd < 256", "SMPTE");
    // setTime checks all four before it changes anything.
    EXPECT_INVARIANT(label.setTime(1, 2, 3, 99),
                     "(newFrames < 30) && (newFrames < 24 || format_ != SMPTE_24) && "
                     "(newFrames < 25 || format_ != SMPTE_25)",
                     "SMPTE");
    EXPECT_EQ(label.toNarrowString(), "00:00:00:00");
    // A drop-frame label that does not exist passes the frames check.
    SMPTE df(SMPTE::SMPTE_30DF);
    df.setTime(0, 1, 0, 1);
    EXPECT_EQ(df.getFrameNo(), 1799);
}

TEST(SMPTE, BcdDigits)
{
    EXPECT_EQ(SMPTE::intToBCD(59), 0x59);
    EXPECT_EQ(SMPTE::bcdToInt(0x59), 59);
    EXPECT_EQ(SMPTE::bcdToInt(0xFF), 15 + 150);  // nibbles above 9 are not rejected
}

}  // namespace
