#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "PDF/ReportFixture.h"
#include "PDF/ShowReport.h"

namespace PDF::Testing {
namespace {

using Kind = OperationSaveReport::Kind;

class ShowReportTest : public ReportFixture {
protected:
    ShowReportTest()
    {
        texts = {{L"REPORTS.SHOWLIST.TITLE", L"Showoverzicht für Silvester Feuerwerk"},
                 {L"REPORTS.SHOWLIST.HEADER.TIMECODE", L"Tijdcode"},
                 {L"REPORTS.SHOWLIST.HEADER.TYPE", L"Soort"},
                 {L"REPORTS.SHOWLIST.HEADER.DURATION", L"Duur"},
                 {L"REPORTS.SHOWLIST.HEADER.LOCATION", L"Plaats"},
                 {L"REPORTS.SHOWLIST.HEADER.FAMILY", L"Familie"},
                 {L"REPORTS.SHOWLIST.HEADER.DESCRIPTION", L"Omschrijving"}};
    }
};

constexpr double kTolerance = 0.3;  // millimetres

TEST_F(ShowReportTest, EveryPageHasTitleHeadersAndUpToThirtyFiveRowsInListOrder)
{
    constexpr int kCues = 72;               // 35 + 35 + 2
    for (int i = kCues - 1; i >= 0; --i) {  // added backwards: the list orders them
        addPyro(i * 25, 0x10 + i);
    }
    const std::vector<Page> pages = render(Kind::SHOW);
    ASSERT_EQ(pages.size(), 3u);

    const struct {
        const char* text;
        double x;
    } headers[] = {{"Tijdcode", 25}, {"Soort", 60},    {"Duur", 85},
                   {"Plaats", 110},  {"Familie", 155}, {"Omschrijving", 190}};
    int cue = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const Page& page = pages[p];
        SCOPED_TRACE("page " + std::to_string(p + 1));
        EXPECT_NEAR(page.width, 297.0, 0.1);
        EXPECT_NEAR(page.height, 210.0, 0.1);
        // The title is cut to its first 25 bytes.
        const std::vector<const Word*> title = page.line(200.0);
        ASSERT_EQ(words(title), "Showoverzicht für Silvest");
        EXPECT_NEAR(title[0]->left, 128.0, kTolerance);
        for (const auto& header : headers) {
            const std::vector<const Word*> found = page.find(header.text);
            ASSERT_EQ(found.size(), 1u) << header.text;
            EXPECT_NEAR(found[0]->left, header.x, kTolerance) << header.text;
            EXPECT_TRUE(found[0]->onBaseline(192.0)) << header.text;
        }
        const int rows = p < 2 ? 35 : 2;
        for (int r = 0; r < rows; ++r, ++cue) {
            char expected[32];
            std::snprintf(expected, sizeof expected, "00:%02d:%02d:00", cue / 60, cue % 60);
            const std::vector<const Word*> line = page.line(186.5 - 5.0 * r);
            ASSERT_GE(line.size(), 3u) << "row " << r;
            EXPECT_EQ(line[0]->text, expected) << "row " << r;
            EXPECT_NEAR(line[0]->left, 25.0, kTolerance);
            EXPECT_EQ(line[1]->text, "PYRO");
            EXPECT_NEAR(line[1]->left, 60.0, kTolerance);
        }
        // Nothing below the last row.
        EXPECT_TRUE(page.line(186.5 - 5.0 * rows).empty()) << words(page.line(186.5 - 5.0 * rows));
    }
    EXPECT_EQ(cue, kCues);
}

TEST_F(ShowReportTest, CellsShowTypeDurationMetadataAndReminderTextInEightBitCharacters)
{
    data.setFormat(SMPTE::SMPTE_30DF);  // drop-frame labels use ";"
    Project::CueList& cues = data.getCueList();
    Project::Cue* pyro =
        addPyro(0, 0x21,
                {{L"~POS", L"Bühne"}, {L"~TYPE", L"Fächer"}, {L"~DESC", L"Café Straße 5€ “Gold”"}});
    pyro->setDuration(299);  // 9.98 s at 29.97 frames per second: truncated to 9
    Project::Cue* dmx = cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_30DF, 30),
                                 Project::CueCommand::dmx(0, 4, 200), 0, 300, 1, -1, "");
    dmx->getMetadata().insert(-1, L"~DESC", L"Licht");
    cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_30DF, 60),
             Project::CueCommand(Project::CueCommand::TYPE_REMINDER), 0, 0, 1, -1,
             Platform::toLowBytes(L"Zündung prüfen"));
    // A cue without metadata leaves its cells empty.
    addPyro(90, 0x22);

    const std::vector<Page> pages = render(Kind::SHOW);
    ASSERT_EQ(pages.size(), 1u);
    const struct {
        double baseline;
        std::string text;
    } rows[] = {
        {186.5, "00;00;00;00 PYRO 9 sec Bühne Fächer Café Straße 5€ “Gold”"},
        {181.5, "00;00;01;00 DMX 10 sec Licht"},
        {176.5, "00;00;02;00 NOTE 0 sec Zündung prüfen"},
        {171.5, "00;00;03;00 PYRO 0 sec"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(words(pages[0].line(row.baseline)), row.text);
    }
    // Location, family and description start at their columns.
    EXPECT_NEAR(pages[0].find("Bühne")[0]->left, 110.0, kTolerance);
    EXPECT_NEAR(pages[0].find("Fächer")[0]->left, 155.0, kTolerance);
    EXPECT_NEAR(pages[0].find("Café")[0]->left, 190.0, kTolerance);
}

TEST_F(ShowReportTest, LongTextsStayInsideTheirColumns)
{
    std::wstring fitsSqueezed;  // wider than the column, within 1/0.6 of it
    for (int i = 0; i < 6; ++i) {
        fitsSqueezed += L"Vulkaan" + std::to_wstring(i) + L" ";
    }
    fitsSqueezed += L"Einde";
    std::wstring far;
    for (int i = 0; i < 40; ++i) {
        far += L"Kometenstaart ";
    }
    addPyro(0, 1, {{L"~POS", L"Ponton Noord aan de overkant"}, {L"~DESC", fitsSqueezed}});
    addPyro(25, 2, {{L"~DESC", far}});

    const std::vector<Page> pages = render(Kind::SHOW);
    ASSERT_EQ(pages.size(), 1u);
    // Squeezed, every word is there, and nothing runs into the next column or off the frame.
    const std::vector<const Word*> first = pages[0].line(186.5);
    EXPECT_EQ(words(first),
              "00:00:00:00 PYRO 0 sec Ponton Noord aan de overkant Vulkaan0 Vulkaan1 Vulkaan2 "
              "Vulkaan3 Vulkaan4 Vulkaan5 Einde");
    EXPECT_LE(pages[0].find("overkant")[0]->right, 150.0);
    EXPECT_LE(pages[0].find("Einde")[0]->right, 277.0);
    // Far too long: shortened with "..." at the end of the frame.
    const std::vector<const Word*> second = pages[0].line(181.5);
    ASSERT_FALSE(second.empty());
    EXPECT_NE(second.back()->text.find("..."), std::string::npos) << words(second);
    EXPECT_LE(second.back()->right, 277.0);
    EXPECT_GT(second.back()->right, 260.0);
}

TEST_F(ShowReportTest, AShowWithoutCuesPrintsOnePageWithHeaders)
{
    const std::vector<Page> pages = render(Kind::SHOW);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(words(pages[0].line(192.0)), "Tijdcode Soort Duur Plaats Familie Omschrijving");
    EXPECT_TRUE(pages[0].line(186.5).empty());
}

}  // namespace
}  // namespace PDF::Testing
