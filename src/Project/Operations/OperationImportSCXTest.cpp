#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "AssertionCapture.h"
#include "Project/Operations/OperationImportSCX.h"
#include "Project/Project.h"
#include "Timecode/SMPTE.h"

namespace Project {
namespace {

using Records = FileIO::JetRecordSet;

std::wstring foreign(const std::string& name)
{
    return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "FileIO" /
            "testdata" / "foreign" / name)
        .wstring();
}

struct Errors : Project::Listener {
    std::vector<std::wstring> reported;
    void errorReported(const std::wstring& text) override { reported.push_back(text); }
};

struct Asked {
    std::wstring path;
    std::vector<int> rates;
    int times = 0;
};

class ImportSCX : public ::testing::Test {
protected:
    ImportSCX() : project(Project::createInstance())
    {
        project.addListener(&errors);
        OperationImportSCX::setFormatQuestion(
            [this](const std::wstring& path, const std::vector<int>& rates) {
                asked.path = path;
                asked.rates = rates;
                ++asked.times;
            });
    }
    ~ImportSCX() override
    {
        OperationImportSCX::setFormatQuestion(nullptr);
        Project::destroyInstance();
    }

    ProjectData& data() { return project.getProjectData(); }
    CueList& cues() { return data().getCueList(); }
    // A project of one cue, to see whether an import touched it.
    void addOwnCue()
    {
        cues().add(SMPTE(SMPTE::SMPTE_30, 0, 0, 9, 0), CueCommand::pyro(5), 0, 0, 1, -1, "");
        project.setFileName(L"own.fwp", false);
    }
    std::wstring meta(const Cue& cue, const wchar_t* key)
    {
        const std::wstring* value = cue.getMetadata().valueOf(key);
        return value ? *value : L"<absent>";
    }

    Project& project;
    Errors errors;
    Asked asked;
};

TEST_F(ImportSCX, DetectsTheRateAndMakesOneCuePerEventInCueOrder)
{
    addOwnCue();
    const std::wstring path = foreign("show-25.scx");
    ASSERT_TRUE(project.submit(new OperationImportSCX(path, 0)));
    EXPECT_EQ(asked.times, 0);
    EXPECT_EQ(data().getFormat(), SMPTE::SMPTE_25);
    EXPECT_EQ(project.getFileName(), foreign("show-25.fwp"));
    EXPECT_FALSE(project.isModified());
    ASSERT_NE(data().getMetadata().valueOf(L"~IMPORTED"), nullptr);
    EXPECT_EQ(*data().getMetadata().valueOf(L"~IMPORTED"), path);
    ASSERT_EQ(cues().getCount(), 4);

    struct Expected {
        const wchar_t* timecode;
        int duration, prefire, address, group, quantity;
        const wchar_t *description, *article, *price, *position;
    };
    const Expected expected[] = {
        // DUR 5 is 5 frames; PFT 10 tenths is 25 frames; a null quantity is 1
        {L"00:00:01:20", 5, 25, 16, 1, 1, L"Red peony 75mm", L"A-100", L"3.50", L"Centre"},
        // DUR 100 is one second; group 0 becomes 1
        {L"00:00:02:05", 25, 0, 17, 1, 2, L"Blue comet", L"B-200", L"12.00", L"Right"},
        // DUR 205 is 2 seconds and 5 frames; 5 tenths round up to 13 frames
        {L"00:00:03:24", 55, 13, 18, 2, 4, L"Green glitter mine", L"M-12", L"2.75", L"Left"},
        // a null description leaves the key out; other nulls are empty texts
        {L"00:00:04:05", 0, 30, 32, 3, 1, L"<absent>", L"", L"", L""},
    };
    const CueList::CueItem* cue = cues().first();
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << cue->getNumber());
        EXPECT_EQ(cue->getTimecode().toString(), e.timecode);
        EXPECT_EQ(cue->getDuration(), e.duration);
        EXPECT_EQ(cue->getPrefireTime(), e.prefire);
        EXPECT_EQ(cue->getCommand().getType(), CueCommand::TYPE_PYRO);
        EXPECT_EQ(cue->getCommand().getAddress(), e.address);
        EXPECT_EQ(cue->getGroup(), e.group);
        EXPECT_EQ(cue->getQuantity(), e.quantity);
        EXPECT_EQ(meta(*cue, L"~DESC"), e.description);
        EXPECT_EQ(meta(*cue, L"~ARTNR"), e.article);
        EXPECT_EQ(meta(*cue, L"~PRICE"), e.price);
        EXPECT_EQ(meta(*cue, L"~POS"), e.position);
        cue = cue->getNext();
    }
    EXPECT_EQ(meta(*cues().first(), L"~TYPE"), L"Shell 75");
    EXPECT_EQ(meta(*cues().first(), L"~ANGLE"), L"90");
}

TEST_F(ImportSCX, AnAmbiguousShowAsksForTheRateAndChangesNothing)
{
    addOwnCue();
    const std::wstring path = foreign("show-ambiguous.scx");
    auto operation = std::make_unique<OperationImportSCX>(path, 0);
    ASSERT_TRUE(operation->execute(data()));
    EXPECT_EQ(operation->getRatesLeft(), (std::vector<int>{24, 25, 29, 30}));
    EXPECT_EQ(asked.times, 1);
    EXPECT_EQ(asked.path, path);
    EXPECT_EQ(asked.rates, (std::vector<int>{24, 25, 29, 30}));
    EXPECT_EQ(cues().getCount(), 1);
    EXPECT_EQ(project.getFileName(), L"own.fwp");

    // The answer imports with that rate.
    ASSERT_TRUE(project.submit(new OperationImportSCX(path, 29)));
    EXPECT_EQ(data().getFormat(), SMPTE::SMPTE_30DF);
    ASSERT_EQ(cues().getCount(), 3);
    EXPECT_EQ(cues().first()->getTimecode().toString(), L"00;00;01;05");
    EXPECT_EQ(cues().first()->getDuration(), 50);
    EXPECT_EQ(cues().first()->getPrefireTime(), 30);  // trunc(29.97 + 0.5)
}

TEST_F(ImportSCX, UnreadableFilesFailAndLeaveTheProjectAlone)
{
    addOwnCue();
    for (const char* name :
         {"not-a-database.scx", "missing.scx", "effects-basic.efx", "show-bad-hours.scx"}) {
        errors.reported.clear();
        EXPECT_FALSE(project.submit(new OperationImportSCX(foreign(name), 0))) << name;
        EXPECT_EQ(errors.reported, std::vector<std::wstring>{L"ERROR.INVALID_SCX"}) << name;
        EXPECT_EQ(cues().getCount(), 1) << name;
        EXPECT_EQ(project.getFileName(), L"own.fwp") << name;
    }
}

TEST_F(ImportSCX, ABadEventStopsTheImportAfterTheCuesBeforeIt)
{
    addOwnCue();
    EXPECT_FALSE(project.submit(new OperationImportSCX(foreign("show-bad-hours.scx"), 25)));
    EXPECT_EQ(errors.reported, std::vector<std::wstring>{L"ERROR.INVALID_SCX"});
    ASSERT_EQ(cues().getCount(), 1);
    EXPECT_EQ(cues().first()->getTimecode().toString(), L"00:00:01:05");

    // A frame the chosen rate does not have is refused the same way, not asserted.
    errors.reported.clear();
    EXPECT_FALSE(project.submit(new OperationImportSCX(foreign("show-25.scx"), 24)));
    EXPECT_EQ(errors.reported, std::vector<std::wstring>{L"ERROR.INVALID_SCX"});
    EXPECT_EQ(cues().getCount(), 2);
}

TEST_F(ImportSCX, ConvertsOrRefusesEachField)
{
    const std::vector<const wchar_t*> columns = {L"CUE",   L"HH",
                                                 L"MM",    L"SS",
                                                 L"FF",    L"DUR",
                                                 L"PFT",   L"ADDR",
                                                 L"CGHZ",  L"QTY",
                                                 L"REF",   L"PRICE1",
                                                 L"ANGLE", L"Event Description",
                                                 L"POS",   L"Effect Description",
                                                 L"NEXT"};
    struct Case {
        const wchar_t* column;
        const wchar_t* value;  // nullptr: a null
        bool ok;
    };
    for (const Case& c :
         {Case{L"DUR", L"2x", false}, Case{L"DUR", L"-5", false}, Case{L"DUR", nullptr, true},
          Case{L"ADDR", L"-1", false}, Case{L"ADDR", L"16777215", false},
          Case{L"PFT", L"ten", false}, Case{L"PRICE1", L"n/a", false}, Case{L"HH", nullptr, false},
          Case{L"MM", L"60", false}, Case{L"POS", L"", true}, Case{L"QTY", L"1.5e3", true}}) {
        Records records;
        for (const wchar_t* name : columns) {
            records.addColumn(name, Records::Kind::TEXT);
        }
        auto& row = records.addRow();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            row[i] = Records::Value{false, std::wstring(columns[i]) == L"SS" ? L"1" : L"0"};
            if (columns[i] == std::wstring(c.column)) {
                row[i] = c.value ? Records::Value{false, c.value} : Records::Value{};
            }
        }
        OperationImportSCX operation(L"x.scx", 25);
        EXPECT_EQ(operation.importEvents(records, SMPTE::SMPTE_25, data()), c.ok)
            << std::wstring(c.column) << " " << (c.value ? c.value : L"null");
    }
    EXPECT_EQ(cues().last()->getQuantity(), 1500);
}

TEST(ImportSCXRates, RefusesAnUnknownRate)
{
    EXPECT_INVARIANT(OperationImportSCX(L"x.scx", 60),
                     "rate == 0 || rate == 24 || rate == 25 || rate == 29 || rate == 30",
                     "OperationImportSCX");
}

// The frame-rate detection on events given as (hours, minutes, seconds, frames, NEXT).
struct Event {
    int h, m, s, f;
    const wchar_t* next;
};

Records events(const std::vector<Event>& list)
{
    Records records;
    for (const wchar_t* name : {L"HH", L"MM", L"SS", L"FF", L"NEXT"}) {
        records.addColumn(name, Records::Kind::TEXT);
    }
    for (const Event& e : list) {
        auto& row = records.addRow();
        row[0] = {false, std::to_wstring(e.h)};
        row[1] = {false, std::to_wstring(e.m)};
        row[2] = {false, std::to_wstring(e.s)};
        row[3] = {false, std::to_wstring(e.f)};
        row[4] = e.next ? Records::Value{false, e.next} : Records::Value{};
    }
    return records;
}

TEST(ImportSCXDetection, FindsTheFormatsTheEventsAllow)
{
    using S = SMPTE;
    struct Case {
        const char* what;
        std::vector<Event> events;
        std::vector<int> formats;
    };
    const std::vector<Case> cases = {
        {"no events: every format", {}, {S::SMPTE_24, S::SMPTE_25, S::SMPTE_30DF, S::SMPTE_30}},
        {"frame 27 leaves both 30 formats",
         {{0, 0, 59, 27, nullptr}},
         {S::SMPTE_30DF, S::SMPTE_30}},
        {"frame 27, NEXT decides 30",
         {{0, 0, 59, 27, L"00:00:05"}, {0, 1, 0, 2, nullptr}},
         {S::SMPTE_30}},
        {"frame 27, NEXT decides drop-frame",
         {{0, 0, 59, 27, L"00:00:03"}, {0, 1, 0, 2, nullptr}},
         {S::SMPTE_30DF}},
        {"frame 24 leaves 25 and 30s",
         {{0, 0, 1, 24, nullptr}},
         {S::SMPTE_25, S::SMPTE_30DF, S::SMPTE_30}},
        {"a label drop-frame skips",
         {{0, 1, 0, 1, nullptr}},
         {S::SMPTE_24, S::SMPTE_25, S::SMPTE_30}},
        {"minute 10 keeps drop-frame",
         {{0, 10, 0, 0, nullptr}},
         {S::SMPTE_24, S::SMPTE_25, S::SMPTE_30DF, S::SMPTE_30}},
        {"NEXT frames 24 rule out 24 fps",
         {{0, 0, 1, 0, L"00:00:24"}},
         {S::SMPTE_25, S::SMPTE_30DF, S::SMPTE_30}},
        {"an interval no format fits drops nothing",
         {{0, 0, 1, 0, L"00:00:07"}, {0, 0, 9, 0, nullptr}},
         {S::SMPTE_24, S::SMPTE_25, S::SMPTE_30DF, S::SMPTE_30}},
        {"unusable NEXT texts are ignored",
         {{0, 0, 1, 0, L"00:00:00"},
          {0, 0, 3, 0, L"1:2"},
          {0, 0, 5, 0, L"00:61:00"},
          {0, 0, 7, 0, nullptr}},
         {S::SMPTE_24, S::SMPTE_25, S::SMPTE_30DF, S::SMPTE_30}},
        {"an emptied candidate set falls back",
         {{0, 0, 0, 20, L"00:00:10"}, {0, 0, 1, 6, nullptr}, {0, 0, 2, 25, nullptr}},
         {S::SMPTE_30DF, S::SMPTE_30}},
    };
    for (const Case& c : cases) {
        std::vector<int> formats;
        EXPECT_TRUE(OperationImportSCX::detectFormats(events(c.events), formats)) << c.what;
        EXPECT_EQ(formats, c.formats) << c.what;
    }
}

TEST(ImportSCXDetection, TimesOutsideTheDayAreRefused)
{
    for (const Event& e :
         {Event{24, 0, 0, 0, nullptr}, Event{0, 60, 0, 0, nullptr}, Event{0, 0, 60, 0, nullptr},
          Event{0, 0, 0, 30, nullptr}, Event{0, 0, -1, 0, nullptr}}) {
        std::vector<int> formats;
        EXPECT_FALSE(OperationImportSCX::detectFormats(events({{0, 0, 1, 0, nullptr}, e}), formats))
            << e.h << ":" << e.m << ":" << e.s << ":" << e.f;
    }
}

TEST(ImportSCXNames, ProjectFileNameReplacesTheExtension)
{
    EXPECT_EQ(OperationImportSCX::projectPathFor(L"/shows/new year.scx"), L"/shows/new year.fwp");
    EXPECT_EQ(OperationImportSCX::projectPathFor(L"/shows/OLD.SCX"), L"/shows/OLD.fwp");
    EXPECT_EQ(OperationImportSCX::projectPathFor(L"/shows/show.mdb"), L"/shows/show.mdb.fwp");
}

}  // namespace
}  // namespace Project
