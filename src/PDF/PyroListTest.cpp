#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Config/KeyFile.h"
#include "PDF/PyroList.h"
#include "PDF/ReportFixture.h"

namespace PDF::Testing {
namespace {

using Kind = OperationSaveReport::Kind;
using Meta = std::vector<std::pair<std::wstring, std::wstring>>;

class PyroListTest : public ReportFixture {
protected:
    PyroListTest()
    {
        texts = {{L"REPORTS.PYROLIST.TITLE", L"Bunkerlijst"},
                 {L"REPORTS.PYROLIST.TITLE_TWO", L"Bunkerlijst vervolg"},
                 {L"REPORTS.PYROLIST.TOTAL", L"Totaal"}};
        const wchar_t* const headers[][2] = {{L"QTY", L"Aantal"},
                                             {L"DESCRIPTION", L"Omschrijving"},
                                             {L"MANUFACTURER", L"Fabrikant"},
                                             {L"ARTNR", L"Artnr"},
                                             {L"CLASSIFICATION", L"Klasse"},
                                             {L"CALIBRE", L"Kaliber"},
                                             {L"NETWEIGHT", L"Netto"},
                                             {L"HEIGHT", L"Hoogte"},
                                             {L"VANSHAPE", L"Vorm"},
                                             {L"DISTANCE", L"Afstand"},
                                             {L"SUBWEIGHT", L"Gewicht"},
                                             {L"TYPE", L"Soort"},
                                             {L"UNITPRICE", L"Prijs"},
                                             {L"SUBTOTPRICE", L"Subtotaal"}};
        for (const auto& header : headers) {
            texts[std::wstring(L"REPORTS.PYROLIST.HEADER.") + header[0]] = header[1];
        }
    }

    static Meta article(const std::wstring& number, const std::wstring& weight,
                        const std::wstring& price, const std::wstring& classification = L"1.3G")
    {
        return {{L"~ARTNR", number},
                {L"~DESC", L"Artikel " + number},
                {L"~WEIGHT", weight},
                {L"~PRICE", price},
                {L"~CLASSIFICATION", classification}};
    }
};

TEST_F(PyroListTest, RowsJoinByArticleNumberAndFollowTheIncludeFlag)
{
    addPyro(0, 1, article(L"A1", L"250", L"12,50"), 2);
    addPyro(1, 2, {{L"~DESC", L"Losse bom"}, {L"~WEIGHT", L"100"}});  // no article number
    addPyro(2, 3, article(L"B7", L"40", L"3.10"));
    addPyro(3, 4, article(L"A1", L"999", L"99"), 3);  // joins the first row, values kept
    addPyro(4, 5, article(L"0", L"500", L"1"));       // never listed
    addPyro(5, 6, {{L"~DESC", L"Nog een losse"}});    // a row of its own, price 0.00
    Project::Cue* dmx = data.getCueList().add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 6),
                                              Project::CueCommand::dmx(0, 1, 255), 0, 0, 1, -1, "");
    dmx->getMetadata().insert(-1, L"~ARTNR", L"A1");  // only pyro cues count

    const std::vector<PyroList::Row> with = PyroList::rows(data.getCueList(), true);
    ASSERT_EQ(with.size(), 4u);
    EXPECT_EQ(with[0].articleNumber, L"A1");
    EXPECT_EQ(with[0].quantity, 5);
    EXPECT_EQ(with[0].netWeight, 250);
    EXPECT_DOUBLE_EQ(with[0].unitPrice, 12.5);
    EXPECT_EQ(with[1].description, L"Losse bom");
    EXPECT_EQ(with[2].articleNumber, L"B7");
    EXPECT_DOUBLE_EQ(with[2].unitPrice, 3.1);
    EXPECT_EQ(with[3].description, L"Nog een losse");
    EXPECT_DOUBLE_EQ(with[3].unitPrice, 0.0);

    const PyroList::Totals totals = PyroList::totals(with);
    EXPECT_EQ(totals.quantity, 8);
    EXPECT_DOUBLE_EQ(totals.weight, 5 * 250 + 100 + 40);
    EXPECT_DOUBLE_EQ(totals.price, 5 * 12.5 + 3.1);

    const std::vector<PyroList::Row> without = PyroList::rows(data.getCueList(), false);
    ASSERT_EQ(without.size(), 2u);
    EXPECT_EQ(without[0].articleNumber, L"A1");
    EXPECT_EQ(without[1].articleNumber, L"B7");
}

TEST_F(PyroListTest, PrintedRowsAndTotals)
{
    addPyro(0, 1,
            {{L"~ARTNR", L"A1"},
             {L"~DESC", L"Fächer Gold"},
             {L"~MANUFACTURER", L"Müller"},
             {L"~CLASSIFICATION", L"1.3G"},
             {L"~CALIBRE", L"30"},
             {L"~WEIGHT", L"1250"},
             {L"~HEIGHT", L"45"},
             {L"~VANSHAPE", L"V"},
             {L"~SAFETY", L"25"},
             {L"~TYPE", L"Cake"},
             {L"~PRICE", L"12,50"}},
            3);
    addPyro(1, 2, {{L"~DESC", L"Ohne Nummer"}, {L"~WEIGHT", L"20"}, {L"~PRICE", L"0,99"}});

    const std::vector<Page> pages = render(Kind::PYRO, true, false);
    ASSERT_EQ(pages.size(), 1u);
    const std::string text = pages[0].text();
    EXPECT_NE(text.find("Bunkerlijst"), std::string::npos);
    EXPECT_NE(text.find("3 Fächer Gold Müller A1 1.3G 30 mm 1.25 kg 45 m V 25 m 3.75 kg Cake "
                        "12.50 37.50"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("1 Ohne Nummer 0.02 kg 0 m 0.02 kg 0.99 0.99"), std::string::npos) << text;
    EXPECT_NE(text.find("4 Totaal 3.77 kg 38.49"), std::string::npos) << text;
    EXPECT_NE(text.find("1 / 1"), std::string::npos) << text;
}

TEST_F(PyroListTest, LongListsRepeatTitleAndHeadersOnEveryPageAndNumberThePages)
{
    constexpr int kArticles = 120;
    for (int i = 0; i < kArticles; ++i) {
        addPyro(i, i + 1, article(L"N" + std::to_wstring(i), L"10", L"1"));
    }
    const std::vector<Page> pages = render(Kind::PYRO, true, false);
    ASSERT_GE(pages.size(), 2u);
    int rows = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const Page& page = pages[p];
        SCOPED_TRACE("page " + std::to_string(p + 1));
        const std::string title = p == 0 ? "Bunkerlijst" : "vervolg";
        EXPECT_EQ(page.find(title).size(), 1u);
        // Every page repeats the column headers.
        EXPECT_EQ(words(page.line(page.find("Aantal").at(0)->bottom + 0.5)),
                  "Aantal Omschrijving Fabrikant Artnr Klasse Kaliber Netto Hoogte Vorm Afstand "
                  "Gewicht Soort Prijs Subtotaal");
        const std::string number = std::to_string(p + 1) + " / " + std::to_string(pages.size());
        EXPECT_NE(page.text().find(number), std::string::npos) << number;
        for (const Word& word : page.words) {
            rows += word.text == "Artikel" ? 1 : 0;
            // Nothing runs off the paper.
            EXPECT_GE(word.left, 14.0) << word.text;
            EXPECT_LE(word.right, 297.0 - 14.0) << word.text;
            EXPECT_GE(word.bottom, 5.0) << word.text;
        }
    }
    EXPECT_EQ(rows, kArticles);
    EXPECT_NE(pages.back().text().find("120 Totaal 1.20 kg 120.00"), std::string::npos);
}

TEST_F(PyroListTest, LongTextsWrapInsideTheirColumn)
{
    addPyro(0, 1,
            {{L"~ARTNR", L"A1"},
             {L"~DESC",
              L"Ein sehr langer Name eines Feuerwerksartikels mit vielen Wörtern "
              L"der nicht in eine Zeile passt"},
             {L"~MANUFACTURER", L"Pyrotechnikmanufakturgesellschaft"}});
    const std::vector<Page> pages = render(Kind::PYRO, true, false);
    ASSERT_EQ(pages.size(), 1u);
    const std::string text = pages[0].text();
    for (const char* word : {"Ein", "Feuerwerksartikels", "Wörtern", "passt"}) {
        ASSERT_EQ(pages[0].find(word).size(), 1u) << word;
        // The description column runs from 26 mm to 70 mm.
        EXPECT_GE(pages[0].find(word)[0]->left, 26.0) << word;
        EXPECT_LE(pages[0].find(word)[0]->right, 70.0) << word;
    }
    EXPECT_LT(pages[0].find("passt")[0]->top, pages[0].find("Ein")[0]->bottom);
    // A word wider than its column breaks inside; every letter is still printed.
    std::string manufacturer;
    for (const Word& word : pages[0].words) {
        if (word.left >= 70.0 && word.right <= 92.0 && word.text != "A1" &&
            word.text != "Fabrikant") {
            manufacturer += word.text;
        }
    }
    EXPECT_EQ(manufacturer, "Pyrotechnikmanufakturgesellschaft");
}

TEST_F(PyroListTest, OverviewAddsUpEachClassification)
{
    addPyro(0, 1, article(L"A", L"1000", L"10", L"1.3G"), 2);
    addPyro(1, 2, article(L"B", L"500", L"4", L"1.4G"));
    addPyro(2, 3, article(L"C", L"250", L"2", L"1.3G"), 4);
    addPyro(3, 4, {{L"~DESC", L"ohne"}, {L"~CLASSIFICATION", L"1.3G"}});  // left out

    const std::vector<Page> pages = render(Kind::PYRO, false, true);
    ASSERT_EQ(pages.size(), 1u);
    const std::string text = pages[0].text();
    EXPECT_NE(text.find("6 1.3G 3.00 kg 28.00"), std::string::npos) << text;
    EXPECT_NE(text.find("1 1.4G 0.50 kg 4.00"), std::string::npos) << text;
    EXPECT_NE(text.find("7 Totaal 3.50 kg 32.00"), std::string::npos) << text;
    EXPECT_EQ(text.find("Artikel"), std::string::npos) << text;
}

// With the texts the program ships: the net weight's heading names the unit its cells print.
TEST_F(PyroListTest, TheWeightHeadingNamesTheUnitOfItsCells)
{
    const std::filesystem::path locale =
        std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "locale";
    addPyro(0, 1, article(L"A1", L"1250", L"1"));
    for (const char* language : {"en-us", "nl-nl"}) {
        SCOPED_TRACE(language);
        Config::KeyMap shipped;
        ASSERT_TRUE(Config::KeyFile::read(
            Platform::fromUtf8((locale / (std::string(language) + ".ini")).string()), shipped));
        texts = shipped;
        const std::vector<Page> pages = render(Kind::PYRO, true, false);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_NE(pages[0].text().find("1.25 kg"), std::string::npos) << pages[0].text();
        EXPECT_EQ(pages[0].find("(kg)").size(), 1u) << pages[0].text();
        EXPECT_TRUE(pages[0].find("(g)").empty()) << pages[0].text();
    }
}

}  // namespace
}  // namespace PDF::Testing
