#include <gtest/gtest.h>

#include "Project/CueList.h"
#include "Project/Effect.h"
#include "Project/EffectAssignment.h"

namespace Project {
namespace {

// duration 5 s, prefire 1000 ms, weight 250 g, caliber "30 mm", price 12.5
Effect shell(const std::wstring& articleNumber)
{
    return Effect(5, 1000, 80, 250, -1, 0, L"Red peony", articleNumber, 12.5, L"30 mm", L"Maker",
                  L"red", L"shell", L"90", L"round", L"1.3G", L"60");
}

std::wstring meta(const Cue& cue, const wchar_t* key)
{
    const std::wstring* value = cue.getMetadata().valueOf(key);
    return value ? *value : L"<absent>";
}

struct Fixture_ {
    CueList cues;
    Cue* cue =
        cues.add(SMPTE(SMPTE::SMPTE_25, 0, 1, 0, 0), CueCommand::pyro(0x101), 0, 0, 1, -1, "");
    Fixture_() { cue->setSelected(true); }
};

TEST(EffectAssignment, NewArticleFillsEveryFieldAndTiming)
{
    Fixture_ f;
    f.cue->getMetadata().insert(-1, L"~POS", L"Barge 2");
    f.cue->getMetadata().insert(-1, L"~ANGLE", L"45");
    f.cue->getMetadata().insert(-1, L"~DESC", L"old text");
    EXPECT_EQ(applyEffectToSelectedCues(f.cues, shell(L"A1"), SMPTE::SMPTE_25), 0);

    EXPECT_EQ(meta(*f.cue, L"~ARTNR"), L"A1");
    EXPECT_EQ(meta(*f.cue, L"~DESC"), L"Red peony");  // replaced: a different article
    EXPECT_EQ(meta(*f.cue, L"~PRICE"), L"12.50");
    EXPECT_EQ(meta(*f.cue, L"~CALIBRE"), L"30");
    EXPECT_EQ(meta(*f.cue, L"~WEIGHT"), L"250");
    EXPECT_EQ(meta(*f.cue, L"~SAFETY"), L"60");
    EXPECT_EQ(meta(*f.cue, L"~VANSHAPE"), L"round");
    EXPECT_EQ(meta(*f.cue, L"~ANGLE"), L"45");  // the cue's own angle and position stay
    EXPECT_EQ(meta(*f.cue, L"~POS"), L"Barge 2");
    EXPECT_EQ(f.cue->getPrefireTime(), 25);  // 1000 ms at 25 fps
    EXPECT_EQ(f.cue->getDuration(), 125);    // 5 s
}

TEST(EffectAssignment, SameArticleFillsOnlyGaps)
{
    Fixture_ f;
    f.cue->setDuration(10);
    KeyValueList& m = f.cue->getMetadata();
    m.insert(-1, L"~ARTNR", L"A1");
    m.insert(-1, L"~DESC", L"my own words");
    applyEffectToSelectedCues(f.cues, shell(L"A1"), SMPTE::SMPTE_25);
    EXPECT_EQ(meta(*f.cue, L"~DESC"), L"my own words");
    EXPECT_EQ(meta(*f.cue, L"~TYPE"), L"shell");  // was empty
    EXPECT_EQ(f.cue->getDuration(), 10);          // kept: the cue had one
    EXPECT_EQ(f.cue->getPrefireTime(), 25);       // always taken
}

TEST(EffectAssignment, OnlySelectedCuesAndDropFrameRate)
{
    CueList cues;
    Cue* a = cues.add(SMPTE(SMPTE::SMPTE_30DF, 0, 0, 10, 0), CueCommand::pyro(1), 0, 0, 1, -1, "");
    Cue* b = cues.add(SMPTE(SMPTE::SMPTE_30DF, 0, 0, 20, 0), CueCommand::pyro(2), 0, 0, 1, -1, "");
    b->setSelected(true);
    Effect e = shell(L"A1");
    e.setPrefire(1500);
    applyEffectToSelectedCues(cues, e, SMPTE::SMPTE_30DF);
    EXPECT_EQ(a->getMetadata().size(), 0);
    EXPECT_EQ(b->getPrefireTime(), 44);  // trunc(29.97 x 1.5)
    EXPECT_EQ(b->getDuration(), 149);    // trunc(29.97 x 5)
}

TEST(EffectAssignment, PrefireThatWouldFireBeforeZeroIsRefusedPerCue)
{
    CueList cues;
    Cue* early =
        cues.add(SMPTE(SMPTE::SMPTE_25, 0, 0, 0, 10), CueCommand::pyro(1), 0, 0, 1, -1, "");
    early->setSelected(true);
    EXPECT_EQ(applyEffectToSelectedCues(cues, shell(L"A1"), SMPTE::SMPTE_25), 1);
    EXPECT_EQ(early->getPrefireTime(), 0);
    EXPECT_EQ(meta(*early, L"~ARTNR"), L"A1");  // the article data is still assigned
}

TEST(EffectAssignment, CalibreAndWeightNormalisation)
{
    const struct {
        const wchar_t* text;
        bool emptyForZero;
        const wchar_t* expected;
    } cases[] = {
        {L"30 mm", true, L"30"},
        {L"", true, L""},
        {L"0", true, L""},
        {L"", false, L"0"},
        {L" 75g", false, L"75"},
        {L"-5", false, L"-5"},
        // No leading number: kept as typed rather than lost.
        {L"Ø 30", true, L"Ø 30"},
        {L"approx. 2 kg", false, L"approx. 2 kg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(normaliseLeadingNumber(c.text, c.emptyForZero), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace Project
