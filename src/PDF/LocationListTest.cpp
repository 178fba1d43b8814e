#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PDF/LocationList.h"
#include "PDF/ReportFixture.h"

namespace PDF::Testing {
namespace {

using Kind = OperationSaveReport::Kind;

class LocationListTest : public ReportFixture {
protected:
    LocationListTest()
    {
        texts = {{L"REPORTS.LOCATIONLIST.TITLE", L"Plaatslijst"},
                 {L"REPORTS.LOCATIONLIST.TITLE.CTD", L"Vervolg"},
                 {L"REPORTS.LOCATIONLIST.NOLOCATION", L"Zonder plaats"},
                 {L"REPORTS.LOCATIONLIST.HEADER.QTY", L"Aantal"},
                 {L"REPORTS.LOCATIONLIST.HEADER.DESCRIPTION", L"Omschrijving"},
                 {L"REPORTS.LOCATIONLIST.HEADER.ADDRESS", L"Adres"}};
        addPyro(0, 0x1A3,
                {{L"~POS", L"Süd"}, {L"~DESC", L"Bombe"}, {L"~TYPE", L"Kugel"}, {L"~ARTNR", L"K1"}},
                2);
        addPyro(1, 0x012, {{L"~POS", L"Nord"}, {L"~DESC", L"Fächer"}});
        addPyro(2, 0x1A0, {{L"~POS", L"Süd"}, {L"~DESC", L"Vulkan"}});
        addPyro(3, 0x013, {{L"~DESC", L"Irgendwo"}});                  // no location
        addPyro(4, 0x900, {{L"~POS", L"Nord"}, {L"~DESC", L"Fern"}});  // module 0x90: none
        addPyro(5, -1, {{L"~POS", L"Nord"}, {L"~DESC", L"Ohne Adresse"}});
        data.getCueList().add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 6),
                              Project::CueCommand::dmx(0, 1, 255), 0, 0, 1, -1, "");
    }
};

TEST_F(LocationListTest, EachLocationOnItsOwnPagesWithModulesAndAddresses)
{
    const std::vector<Page> pages = render(Kind::LOCATION, true);
    ASSERT_EQ(pages.size(), 3u);
    // Alphabetical locations, the cues without one last; modules in address order, each
    // followed by its cues.
    EXPECT_EQ(pages[0].text(),
              "Plaatslijst: Nord Aantal Omschrijving Adres 1 Skyfirewright Slave 01 1 Fächer 01-2 "
              "1 Invalid Productname 90 1 Fern 90-0 1 Ohne Adresse - 1 / 3");
    EXPECT_EQ(pages[1].text(),
              "Plaatslijst: Süd Aantal Omschrijving Adres 1 Skyfirewright Slave 1A 1 Vulkan 1A-0 "
              "2 Bombe - Kugel - K1 1A-3 2 / 3");
    EXPECT_EQ(pages[2].text(),
              "Plaatslijst: Zonder plaats Aantal Omschrijving Adres 1 Skyfirewright Slave 01 1 "
              "Irgendwo 01-3 3 / 3");
}

TEST_F(LocationListTest, WithoutIncludeTheCuesWithoutLocationAreLeftOut)
{
    const std::vector<Page> pages = render(Kind::LOCATION, false);
    ASSERT_EQ(pages.size(), 2u);
    for (const Page& page : pages) {
        EXPECT_EQ(page.text().find("Irgendwo"), std::string::npos);
        EXPECT_EQ(page.text().find("Zonder"), std::string::npos);
    }
}

TEST_F(LocationListTest, ALongLocationContinuesUnderTheContinuedTitle)
{
    for (int i = 0; i < 80; ++i) {
        addPyro(10 + i, 0x200 + i, {{L"~POS", L"Ost"}, {L"~DESC", L"Stück" + std::to_wstring(i)}});
    }
    const std::vector<Page> pages = render(Kind::LOCATION, false);
    ASSERT_GE(pages.size(), 4u);
    int pieces = 0;
    bool continued = false;
    for (const Page& page : pages) {
        const std::string text = page.text();
        if (text.find("Vervolg: Ost") == 0) {
            continued = true;
            EXPECT_EQ(text.find("Aantal Omschrijving Adres"), std::string("Vervolg: Ost ").size());
        }
        for (const Word& word : page.words) {
            pieces += word.text.rfind("Stück", 0) == 0 ? 1 : 0;
        }
    }
    EXPECT_TRUE(continued);
    EXPECT_EQ(pieces, 80);
}

// A title too wide for the page is set smaller, or wrapped, but printed to its end on the
// page and above the table.
TEST_F(LocationListTest, ALongLocationNameIsPrintedToItsEnd)
{
    const std::wstring names[] = {
        L"Westelijke oever bij de oude haven, steiger drie",  // set smaller
        L"Noordelijke oever bij de oude haven achter de loods van de roeivereniging, steiger "
        L"drie, ponton B, tussen de meerpalen vijf en zes, einde"};  // wrapped as well
    for (const std::wstring& name : names) {
        addPyro(10, 0x300, {{L"~POS", name}, {L"~DESC", L"Lang"}});
    }
    const std::vector<Page> pages = render(Kind::LOCATION, false);
    int found = 0;
    for (const Page& page : pages) {
        const std::vector<const Word*> header = page.find("Aantal");
        ASSERT_EQ(header.size(), 1u);
        Page title{page.width, page.height, {}};
        for (const Word& word : page.words) {
            if (word.bottom > header[0]->top) {
                title.words.push_back(word);
                EXPECT_GE(word.left, 14.0) << word.text;
                EXPECT_LE(word.right, page.width - 14.0) << word.text;
            }
        }
        for (const std::wstring& name : names) {
            found += title.text() == "Plaatslijst: " + Platform::toUtf8(name) ? 1 : 0;
        }
    }
    EXPECT_EQ(found, 2);
}

TEST_F(LocationListTest, InventoryCountsModulesAndPieces)
{
    texts[L"REPORTS.INVENTORYLIST.TITLE"] = L"Inventaris";
    texts[L"REPORTS.INVENTORYLIST.HEADER.QTY"] = L"Aantal";
    texts[L"REPORTS.INVENTORYLIST.HEADER.DESCRIPTION"] = L"Omschrijving";
    texts[L"REPORTS.LOADINGLIST.MISSINGCONTENT"] = L"Onbekend";
    addPyro(7, 0x1A5, {{L"~DESC", L"Bombe"}}, 3);
    addPyro(8, 0x1A6, {});
    const std::vector<Page> pages = render(Kind::INVENTORY);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].text(),
              "Inventaris Aantal Omschrijving 2 Skyfirewright Slave (01, 1A) 1 Unknown Device (90) "
              "5 Bombe 1 Fern 1 Fächer 1 "
              "Irgendwo 1 Ohne Adresse 1 Onbekend 1 Vulkan 1 / 1");
}

TEST_F(LocationListTest, LoadReportListsEveryAddressWithItsContent)
{
    texts[L"REPORTS.LOADINGLIST.TITLE"] = L"Laadlijst";
    texts[L"REPORTS.LOADINGLIST.MISSINGCONTENT"] = L"Onbekend";
    texts[L"REPORTS.LOADINGLIST.HEADER.MODULE"] = L"Module";
    texts[L"REPORTS.LOADINGLIST.HEADER.PIN"] = L"Pin";
    texts[L"REPORTS.LOADINGLIST.HEADER.QTY"] = L"Aantal";
    texts[L"REPORTS.LOADINGLIST.HEADER.CONTENT"] = L"Inhoud";
    texts[L"REPORTS.LOADINGLIST.HEADER.ANGLE"] = L"Hoek";
    addPyro(7, 0x1A5, {{L"~ANGLE", L"45°"}});
    const std::vector<Page> pages = render(Kind::LOAD);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].text(),
              "Laadlijst Module Pin Aantal Inhoud Hoek 01 2 1 Fächer 3 1 Irgendwo 1A 0 1 Vulkan "
              "3 2 Bombe - Kugel - K1 5 1 Onbekend 45° 90 0 1 Fern - - 1 Ohne Adresse 1 / 1");
}

}  // namespace
}  // namespace PDF::Testing
