#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Project/CueCommand.h"

namespace Project {
namespace {

// A step written back as text with every flag spelled out, e.g. "S1@255 2@7".
std::string describe(const DmxSteps& steps)
{
    std::string text;
    for (const DmxStep& step : steps) {
        if (!text.empty()) {
            text += " | ";
        }
        for (std::size_t i = 0; i < step.size(); ++i) {
            const DmxChannelValue& v = step[i];
            text += i > 0 ? " " : "";
            text += v.isSafety() && v.isSlowSafety() ? "Q"
                    : v.isSafety()                   ? "S"
                    : v.isSlowSafety()               ? "D"
                                                     : "";
            text += std::to_string(v.getChannel()) + "@" + std::to_string(v.getValue());
        }
    }
    return text;
}

TEST(CueCommand, CommandWordsEncodeAndDecode)
{
    const struct {
        CueCommand command;
        uint32_t word;
    } cases[] = {
        {CueCommand::pyro(-1), 0x00FFFFFF},
        {CueCommand::pyro(0x123), 0x00000123},
        {CueCommand::dmx(0, -1, 0), 0x01FFFFFF},
        {CueCommand::dmx(5, 300, 200), 0x010B2CC8},
        {CueCommand::dmx(127, 511, 254), 0x01FFFFFE},
        {CueCommand(CueCommand::TYPE_REMINDER), 0x02FFFFFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.command.toCommandWord(), c.word) << std::hex << c.word;
        const CueCommand decoded = CueCommand::fromCommandWord(c.word);
        EXPECT_EQ(decoded.getType(), c.command.getType()) << std::hex << c.word;
        EXPECT_EQ(decoded.getAddress(), c.command.getAddress()) << std::hex << c.word;
        EXPECT_EQ(decoded.getUniverse(), c.command.getUniverse()) << std::hex << c.word;
        EXPECT_EQ(decoded.getValue(), c.command.getValue()) << std::hex << c.word;
    }
    EXPECT_EQ(CueCommand(7).toCommandWord(), 0xFFFFFFFFu);
}

TEST(CueCommand, WordsOfUnknownTypeDecodeToPyroAddressZero)
{
    for (uint32_t word : {0x03000001u, 0x7F123456u, 0x80000000u, 0xFFFFFFFFu}) {
        const CueCommand decoded = CueCommand::fromCommandWord(word);
        EXPECT_EQ(decoded.getType(), CueCommand::TYPE_PYRO) << std::hex << word;
        EXPECT_EQ(decoded.getAddress(), 0) << std::hex << word;
    }
}

TEST(CueCommand, EqualityComparesDmxFieldsOnlyForDmx)
{
    CueCommand a = CueCommand::pyro(12);
    CueCommand b = CueCommand::pyro(12);
    b.setUniverse(3);
    b.setChaseBpm(60);
    EXPECT_TRUE(a == b);

    CueCommand dmx = CueCommand::dmx(1, 2, 3);
    const auto differs = [&](auto change) {
        CueCommand other = dmx;
        change(other);
        return !(other == dmx);
    };
    EXPECT_TRUE(differs([](CueCommand& c) { c.setUniverse(2); }));
    EXPECT_TRUE(differs([](CueCommand& c) { c.setValue(4); }));
    EXPECT_TRUE(differs([](CueCommand& c) { c.setChaseBpm(120); }));
    EXPECT_TRUE(differs([](CueCommand& c) { c.setChasePath(CueCommand::CHASE_BLOCK); }));
    EXPECT_TRUE(differs([](CueCommand& c) { c.setDmxText("1@2"); }));
    EXPECT_TRUE(differs([](CueCommand& c) { c.setAddress(9); }));
    EXPECT_FALSE(differs([](CueCommand&) {}));
}

TEST(CueCommand, DmxTextParsesIntoSteps)
{
    const struct {
        const char* text;
        const char* steps;
    } cases[] = {
        {"1@255", "1@255"},
        {"S1@255+2@128", "S1@255 2@128"},
        {"q3@1+d4@2+s5@3", "Q3@1 D4@2 S5@3"},
        {"(1@255+2@0)+(1@0+2@255)", "1@255 2@0 | 1@0 2@255"},
        {"(1@300)+(2)", "1@255 | 2@7"},  // clamped; no value takes the command's
        {"(4@-5)", "4@0"},               // one step in parentheses; clamped at 0
        {" 5@ 10", "5@10"},              // leading blanks, as a decimal read accepts
        {"6@3x", "6@3"},                 // trailing characters ignored
        {"7@1@2", "7@7"},                // not exactly two parts: the command's value
        {"0@0", "0@0"},
    };
    for (const auto& c : cases) {
        CueCommand command = CueCommand::dmx(0, 0, 7);
        std::string error;
        EXPECT_TRUE(command.setDmxText(c.text, &error)) << c.text << ": " << error;
        EXPECT_EQ(describe(command.getDmxSteps()), c.steps) << c.text;
        EXPECT_EQ(command.getDmxText(), c.text);
    }
}

TEST(CueCommand, BadDmxTextKeepsTheTextAndTheOldSteps)
{
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"x@1", CueCommand::kInvalidNumber},
        {"1@y", CueCommand::kInvalidNumber},
        {"1+", CueCommand::kInvalidNumber},  // an empty entry
        {"1@", CueCommand::kInvalidNumber},  // an empty value
        {"()+(1@2)", CueCommand::kInvalidNumber},
        {"S", CueCommand::kInvalidNumber},
        {"1@99999999999", CueCommand::kNumberOutOfRange},
        {"2147483648@1", CueCommand::kNumberOutOfRange},
        // A channel the 16-bit DMX value cannot hold would wrap to another channel.
        {"65536@1", CueCommand::kNumberOutOfRange},
        {"-1@5", CueCommand::kNumberOutOfRange},
    };
    for (const auto& c : cases) {
        CueCommand command = CueCommand::dmx(0, 0, 7);
        ASSERT_TRUE(command.setDmxText("S9@9"));
        std::string error;
        EXPECT_FALSE(command.setDmxText(c.text, &error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(command.getDmxText(), c.text);
        EXPECT_EQ(describe(command.getDmxSteps()), "S9@9") << c.text;
    }
    CueCommand command = CueCommand::dmx(0, 0, 7);
    EXPECT_FALSE(command.setDmxText("z"));  // the error text is optional
    EXPECT_TRUE(command.setDmxText("65535@1"));
}

TEST(CueCommand, EmptyDmxTextIsIgnored)
{
    CueCommand command = CueCommand::dmx(0, 0, 0);
    ASSERT_TRUE(command.setDmxText("1@2"));
    EXPECT_TRUE(command.setDmxText(""));
    EXPECT_EQ(command.getDmxText(), "1@2");
    EXPECT_EQ(command.getDmxSteps().size(), 1u);

    const CueCommand::DmxData data = command.getDmxData();
    EXPECT_EQ(data.text, "1@2");
    EXPECT_EQ(describe(data.steps), "1@2");
    EXPECT_EQ(data.chasePath, CueCommand::CHASE_SINE);
}

TEST(CueCommand, LetterCountsOnlyInFrontOfTheChannel)
{
    // A letter behind the number is not a flag: the channel stays 12, and is not cut to 2.
    CueCommand command = CueCommand::dmx(0, 0, 0);
    EXPECT_TRUE(command.setDmxText("12S@5"));
    EXPECT_EQ(describe(command.getDmxSteps()), "12@5");
}

TEST(CueCommand, TextKeyNamesTheKindOfCommand)
{
    CueCommand chase = CueCommand::dmx(0, -1, 0);
    EXPECT_EQ(chase.textKey(), "CUECOMMAND.DMX512.UNDEF");
    chase.setDmxText("(1@2)+(1@3)");
    EXPECT_EQ(chase.textKey(), "CUECOMMAND.DMX512.CHASE");
    CueCommand scene = CueCommand::dmx(0, -1, 0);
    scene.setDmxText("1@2+3@4");
    EXPECT_EQ(scene.textKey(), "CUECOMMAND.DMX512.SCENE");
    EXPECT_EQ(CueCommand::dmx(0, 4, 0).textKey(), "CUECOMMAND.DMX512");
    EXPECT_EQ(CueCommand::pyro(-1).textKey(), "CUECOMMAND.PYRO.UNDEF");
    EXPECT_EQ(CueCommand::pyro(0).textKey(), "CUECOMMAND.PYRO");
}

}  // namespace
}  // namespace Project
