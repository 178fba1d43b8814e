#include <gtest/gtest.h>

#include "Config/Settings.h"
#include "GUIMain/Application.h"
#include "GUIMain/CommandDispatcher.h"
#include "GUIMain/KeyMap.h"
#include "GUIMain/SelectionStep.h"
#include "Platform/TestFolder.h"
#include "Timecode/SMPTE.h"

namespace GUIMain {
namespace {

TEST(KeyMap, KeysApplyAlwaysCueAndSpeedKeysOnlyOutsideFields)
{
    Platform::TestFolder folder;
    folder.writeBytes("program/defaults.ini", "");
    Config::Settings settings(folder.path("program") + L"/", folder.path("user") + L"/");
    settings.setString(L"keys.20000053", L"3");         // Ctrl+S
    settings.setString(L"cuekeys.0000002E", L"25");     // Delete
    settings.setString(L"speedkeys.00000031", L"201");  // 1
    settings.setString(L"cuekeys.00000041", L"x");      // not a number: absent

    EXPECT_EQ(commandForKey(settings, 0x20000053, true), 3);
    EXPECT_EQ(commandForKey(settings, 0x20000053, false), 3);
    EXPECT_EQ(commandForKey(settings, 0x2E, true), 25);
    EXPECT_EQ(commandForKey(settings, 0x2E, false), std::nullopt);
    EXPECT_EQ(commandForKey(settings, 0x31, true), 201);
    EXPECT_EQ(commandForKey(settings, 0x31, false), std::nullopt);
    EXPECT_EQ(commandForKey(settings, 0x41, true), std::nullopt);
    EXPECT_EQ(commandForKey(settings, 0x42, true), std::nullopt);
}

TEST(KeyMap, HeldKeysRepeatOnlyTheRepeatableCommandsAndReleaseEndsTheDmxHold)
{
    struct Case {
        int command;
        int pressKind;
        std::optional<int> sent;
        std::uint64_t argument;
    };
    const Case cases[] = {
        {3, 1, 3, 0},
        {3, 2, std::nullopt, 0},
        {3, 0, std::nullopt, 0},
        {22, 2, 22, 0},
        {37, 2, 37, 0},
        {38, 2, std::nullopt, 0},
        {52, 2, 52, 0},
        {51, 2, std::nullopt, 0},
        {73, 2, 73, 0},
        {79, 2, std::nullopt, 0},
        {83, 2, 83, 0},
        {27, 1, 27, 0},
        {27, 2, std::nullopt, 0},
        {27, 0, 27, 1},
    };
    for (const Case& c : cases) {
        const std::optional<KeyCommand> sent = commandToSend(c.command, c.pressKind);
        ASSERT_EQ(sent.has_value(), c.sent.has_value()) << c.command << "/" << c.pressKind;
        if (sent) {
            EXPECT_EQ(sent->code, *c.sent);
            EXPECT_EQ(sent->argument, c.argument);
        }
    }
}

TEST(CommandDispatcher, TimecodeStepsAtEveryFormat)
{
    struct Case {
        int format;
        int code;
        int frames;
    };
    const Case cases[] = {
        {SMPTE::SMPTE_30DF, 37, 1},      {SMPTE::SMPTE_30DF, 40, -1},
        {SMPTE::SMPTE_30DF, 39, 29},     {SMPTE::SMPTE_30DF, 42, -29},
        {SMPTE::SMPTE_30DF, 80, 1740},   {SMPTE::SMPTE_30DF, 82, -1798},
        {SMPTE::SMPTE_30DF, 81, 104400}, {SMPTE::SMPTE_30DF, 83, -107891},
        {SMPTE::SMPTE_25, 39, 25},       {SMPTE::SMPTE_25, 83, -90000},
        {SMPTE::SMPTE_24, 82, -1440},    {SMPTE::SMPTE_30, 81, 108000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommandDispatcher::timecodeDeltaOf(c.code, c.format), c.frames)
            << "format " << c.format << " code " << c.code;
    }
}

TEST(CommandDispatcher, EveryCodeHasOneRowAndGapsHaveNone)
{
    for (int code : {0, 8, 9, 18, 24, 43, 56, 70, 117, 121, 200, 209, 300}) {
        EXPECT_NE(CommandDispatcher::findRow(code), nullptr) << code;
    }
    for (int code : {-1, 38, 41, 73, 74, 77, 78, 86, 90, 93, 118, 122, 199, 210, 301}) {
        EXPECT_EQ(CommandDispatcher::findRow(code), nullptr) << code;
    }
}

TEST(Application, CommandLineFileKindIsASubstringTestOverTheWholePath)
{
    EXPECT_EQ(commandForCommandLineFile(L"/shows/a.fwp"), 24);
    EXPECT_EQ(commandForCommandLineFile(L"/shows/lib.fwe"), 100);
    EXPECT_EQ(commandForCommandLineFile(L"/shows/a.fwe.old"), 100);
    EXPECT_EQ(commandForCommandLineFile(L"/shows/rig.fwf"), 116);
    EXPECT_EQ(commandForCommandLineFile(L"/shows/LIB.FWE"), 24);
    EXPECT_EQ(commandForCommandLineFile(L"/x.fwe/y.fwf"), std::nullopt);
}

TEST(SelectionStep, StepsAndExtendsInViewOrder)
{
    using Changes = std::map<int, bool>;
    const std::vector<SelectableItem> middle{{5, false}, {3, true}, {9, true}, {1, false}};
    EXPECT_EQ(stepSelection(middle, true, false), (Changes{{3, false}, {9, false}, {1, true}}));
    EXPECT_EQ(stepSelection(middle, true, true), (Changes{{1, true}}));
    EXPECT_EQ(stepSelection(middle, false, false), (Changes{{3, false}, {9, false}, {5, true}}));
    EXPECT_EQ(stepSelection(middle, false, true), (Changes{{5, true}}));

    const std::vector<SelectableItem> none{{5, false}, {3, false}};
    EXPECT_TRUE(stepSelection(none, true, false).empty());
    // Stepping past the end keeps the edge item selected rather than losing the selection.
    const std::vector<SelectableItem> atEnd{{5, true}, {3, true}};
    EXPECT_EQ(stepSelection(atEnd, true, false), (Changes{{5, false}}));
    EXPECT_TRUE(stepSelection(atEnd, true, true).empty());
}

}  // namespace
}  // namespace GUIMain
