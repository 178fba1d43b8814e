#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "Midi/MtcAssembler.h"
#include "Midi/MtcMessage.h"

namespace Midi {
namespace {

using MtcMessage::ReceivedTime;

struct PiecesCase {
    SMPTE time;
    std::array<std::uint8_t, 8> pieces;  // worked out by hand from the nibble layout
};

TEST(MtcMessageTest, QuarterFramePiecesCarryTheNibblesAndTheRate)
{
    const PiecesCase cases[] = {
        // frames 12 = 0x0C, seconds 45 = 0x2D, minutes 23 = 0x17, hours 1, rate 1
        {SMPTE(SMPTE::SMPTE_25, 1, 23, 45, 12), {0x0C, 0x10, 0x2D, 0x32, 0x47, 0x51, 0x61, 0x72}},
        // hours 20 = 0x14: low nibble 4, bit 4 set in piece 7 with rate 3
        {SMPTE(SMPTE::SMPTE_30, 20, 0, 0, 0), {0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x64, 0x77}},
        // 29 = 0x1D, 59 = 0x3B, 23 = 0x17, rate 2
        {SMPTE(SMPTE::SMPTE_30DF, 23, 59, 59, 29),
         {0x0D, 0x11, 0x2B, 0x33, 0x4B, 0x53, 0x67, 0x75}},
        {SMPTE(SMPTE::SMPTE_24, 0, 0, 0, 23), {0x07, 0x11, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70}},
    };
    for (const PiecesCase& c : cases) {
        SCOPED_TRACE(c.time.toNarrowString());
        for (int piece = 0; piece < 8; ++piece) {
            EXPECT_EQ(MtcMessage::quarterFramePiece(c.time, piece), c.pieces[piece])
                << "piece " << piece;
            const MtcMessage::QuarterFrame message = MtcMessage::quarterFrame(c.time, piece);
            EXPECT_EQ(message[0], 0xF1);
            EXPECT_EQ(message[1], c.pieces[piece]);
        }
    }
}

TEST(MtcMessageTest, FullFrameCarriesTheRateInTheHoursByte)
{
    using Bytes = std::array<std::uint8_t, 10>;
    EXPECT_EQ(MtcMessage::fullFrame(SMPTE(SMPTE::SMPTE_25, 1, 23, 45, 12)),
              (Bytes{0xF0, 0x7F, 0x7F, 0x01, 0x01, 0x21, 0x17, 0x2D, 0x0C, 0xF7}));
    EXPECT_EQ(MtcMessage::fullFrame(SMPTE(SMPTE::SMPTE_24, 10, 0, 5, 0)),
              (Bytes{0xF0, 0x7F, 0x7F, 0x01, 0x01, 0x0A, 0x00, 0x05, 0x00, 0xF7}));
    EXPECT_EQ(MtcMessage::fullFrame(SMPTE(SMPTE::SMPTE_30DF, 23, 59, 59, 29)),
              (Bytes{0xF0, 0x7F, 0x7F, 0x01, 0x01, 0x57, 0x3B, 0x3B, 0x1D, 0xF7}));
    EXPECT_EQ(MtcMessage::fullFrame(SMPTE(SMPTE::SMPTE_30, 20, 0, 0, 0)),
              (Bytes{0xF0, 0x7F, 0x7F, 0x01, 0x01, 0x74, 0x00, 0x00, 0x00, 0xF7}));
}

TEST(MtcMessageTest, TimesPastADayCountOnTheTwentyFourHourClock)
{
    // setFrameNo does not wrap: 25 hours must not spill into the rate bits.
    const SMPTE late = SMPTE::fromFrameNo(SMPTE::SMPTE_30, 25 * 3600 * 30);
    ASSERT_EQ(late.getHours(), 25);
    EXPECT_EQ(MtcMessage::fullFrame(late)[5], 3 << 5 | 1);
    EXPECT_EQ(MtcMessage::quarterFramePiece(late, 6), 0x61);
    EXPECT_EQ(MtcMessage::quarterFramePiece(late, 7), 0x76);
}

std::vector<std::uint8_t> piecesOf(const SMPTE& time)
{
    std::vector<std::uint8_t> pieces;
    for (int piece = 0; piece < 8; ++piece) {
        pieces.push_back(MtcMessage::quarterFramePiece(time, piece));
    }
    return pieces;
}

std::optional<ReceivedTime> feed(MtcAssembler& assembler, const std::vector<std::uint8_t>& bytes)
{
    std::optional<ReceivedTime> last;
    for (std::uint8_t byte : bytes) {
        last = assembler.add(byte);
    }
    return last;
}

TEST(MtcAssemblerTest, EightPiecesGiveBackTheTimeTheySent)
{
    MtcAssembler assembler;
    const SMPTE times[] = {
        SMPTE(SMPTE::SMPTE_25, 1, 23, 45, 12),
        SMPTE(SMPTE::SMPTE_30, 20, 0, 0, 0),
        SMPTE(SMPTE::SMPTE_30DF, 23, 59, 59, 29),
        SMPTE(SMPTE::SMPTE_24, 0, 0, 0, 23),
    };
    for (const SMPTE& time : times) {
        SCOPED_TRACE(time.toNarrowString());
        const std::vector<std::uint8_t> pieces = piecesOf(time);
        for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
            EXPECT_FALSE(assembler.add(pieces[i]).has_value()) << "piece " << i;
        }
        const std::optional<ReceivedTime> got = assembler.add(pieces[7]);
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, (ReceivedTime{time.getFormat(), time.getHours(), time.getMinutes(),
                                      time.getSeconds(), time.getFrames()}));
        EXPECT_TRUE(got->isPossible());
    }
}

TEST(MtcAssemblerTest, APartialSequenceCompletesNothing)
{
    MtcAssembler assembler;
    const std::vector<std::uint8_t> first = piecesOf(SMPTE(SMPTE::SMPTE_25, 2, 0, 0, 0));
    const std::vector<std::uint8_t> second = piecesOf(SMPTE(SMPTE::SMPTE_25, 3, 10, 20, 5));
    // Joined in the middle: pieces 4 to 7 only.
    EXPECT_FALSE(feed(assembler, {first.begin() + 4, first.end()}).has_value());
    // Pieces 0 to 6 of the next time, then its piece 7: a whole time of fresh pieces.
    const std::optional<ReceivedTime> got = feed(assembler, second);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, (ReceivedTime{1, 3, 10, 20, 5}));
    // After a reset the kept values no longer count as fresh.
    feed(assembler, {second.begin(), second.begin() + 6});
    assembler.reset();
    EXPECT_FALSE(assembler.add(second[6]).has_value());
    EXPECT_FALSE(assembler.add(second[7]).has_value());
}

TEST(MtcAssemblerTest, ImpossibleLabelsAreToldApart)
{
    struct Case {
        ReceivedTime time;
        bool possible;
    };
    const Case cases[] = {
        {{1, 23, 59, 59, 24}, true}, {{1, 24, 0, 0, 0}, false},  {{1, 31, 0, 0, 0}, false},
        {{1, 0, 60, 0, 0}, false},   {{1, 0, 0, 60, 0}, false},  {{1, 0, 0, 0, 25}, false},
        {{0, 0, 0, 0, 23}, true},    {{0, 0, 0, 0, 24}, false},  {{2, 0, 0, 0, 29}, true},
        {{2, 0, 0, 0, 30}, false},   {{3, 0, 0, 0, 255}, false}, {{4, 0, 0, 0, 0}, false},
        {{-1, 0, 0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.time.isPossible(), c.possible)
            << "rate " << c.time.rate << " " << c.time.hours << ":" << c.time.minutes << ":"
            << c.time.seconds << ":" << c.time.frames;
    }
    // The assembler delivers such a time as received (hours 24: nibble 8, bit 4 set).
    MtcAssembler assembler;
    const std::optional<ReceivedTime> got =
        feed(assembler, {0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x68, 0x73});
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->hours, 24);
    EXPECT_FALSE(got->isPossible());
}

}  // namespace
}  // namespace Midi
