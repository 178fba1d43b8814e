#include <gtest/gtest.h>

#include <climits>

#include "Project/NumberText.h"
#include "Project/SearchCriterion.h"

namespace Project {
namespace {

TEST(NumberText, WholeNumbersOfTypedFields)
{
    const struct {
        const wchar_t* text;
        int expected;
    } cases[] = {
        {L"", 0},     {L"  ", -1}, {L"-5", -1},     {L" 7s", 7}, {L"12", 12},
        {L"abc", -1}, {L"0", 0},   {L"\t42\n", 42}, {L"+3", 3},  {L"99999999999", INT_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseWholeNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(NumberText, PricesReadDecimalCommas)
{
    EXPECT_DOUBLE_EQ(parseDecimalNumber(L"3,5"), 3.5);
    EXPECT_DOUBLE_EQ(parseDecimalNumber(L" 12.25 EUR"), 12.25);
    EXPECT_DOUBLE_EQ(parseDecimalNumber(L""), 0.0);
    EXPECT_DOUBLE_EQ(parseDecimalNumber(L" "), -1.0);
    EXPECT_DOUBLE_EQ(parseDecimalNumber(L"-2"), -1.0);
    // Not numbers, although the C library would read them.
    EXPECT_DOUBLE_EQ(parseDecimalNumber(L"nan"), -1.0);
    EXPECT_DOUBLE_EQ(parseDecimalNumber(L"inf"), -1.0);
}

TEST(NumberText, PricesKeepTheSixDecimalsOfTheirFileText)
{
    const struct {
        const wchar_t* text;
        const wchar_t* stored;
    } cases[] = {
        {L"2.5000001", L"2.500000"}, {L"2.4999996", L"2.500000"}, {L"0.0000004", L"0.000000"},
        {L"19.99", L"19.990000"},    {L"1e300", nullptr},         {L"12345678901.2345678", nullptr},
    };
    for (const auto& c : cases) {
        const double price = parseDecimalNumber(c.text);
        const std::wstring text = priceText(price);
        if (c.stored != nullptr) {
            EXPECT_EQ(text, c.stored) << '"' << c.text << '"';
        }
        // Whatever the size, the text reads back as the very same price.
        EXPECT_EQ(parseDecimalNumber(text), price) << '"' << c.text << '"';
    }
}

TEST(SearchCriterion, TextFoldsAsciiOnly)
{
    EXPECT_TRUE(matchesTextCriterion(L"Big RED Peony", L"red"));
    EXPECT_TRUE(matchesTextCriterion(L"red", L"RE"));
    EXPECT_FALSE(matchesTextCriterion(L"green", L"red"));
    // Only A to Z fold: an upper-case umlaut does not match its lower-case form.
    EXPECT_FALSE(matchesTextCriterion(L"\u00e4rger", L"\u00c4"));
}

TEST(SearchCriterion, WholeNumberComparisons)
{
    const struct {
        int value;
        const wchar_t* criterion;
        bool matches;
    } cases[] = {
        {9, L"<10", true},  {10, L"<10", false}, {11, L">10", true}, {10, L">10", false},
        {5, L"<>5", true},  {4, L"<>5", false},  {5, L"5", true},    {0, L"abc", true},
        {0, L"<-3", false}, {0, L"-3", true},    {7, L" 7 ", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(matchesWholeNumberCriterion(c.value, c.criterion), c.matches)
            << c.value << " vs " << '"' << c.criterion << '"';
    }
}

TEST(SearchCriterion, PriceCriterionIsCutToWholeNumber)
{
    EXPECT_TRUE(matchesPriceCriterion(12.0, L"12.5"));
    EXPECT_FALSE(matchesPriceCriterion(12.5, L"12.5"));
    EXPECT_TRUE(matchesPriceCriterion(11.99, L"<12,9"));
    EXPECT_FALSE(matchesPriceCriterion(12.0, L"<12.9"));
    EXPECT_TRUE(matchesPriceCriterion(12.01, L">12.9"));
}

}  // namespace
}  // namespace Project
