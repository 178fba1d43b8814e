#include <gtest/gtest.h>

#include <climits>

#include "Platform/NumberReading.h"

namespace {

TEST(NumberReading, LeadingIntegers)
{
    const struct {
        const wchar_t* text;
        std::optional<int> value;
    } cases[] = {
        {L"12abc", 12},
        {L"  -7", -7},
        {L"+3", 3},
        {L"abc", std::nullopt},
        {L"", std::nullopt},
        {L"- 5", std::nullopt},
        {L"--5", std::nullopt},
        {L"99999999999", INT_MAX},
        {L"-2147483648", INT_MIN},
        {L"-99999999999", INT_MIN},
        {L"\u0661", std::nullopt},  // Arabic-Indic one
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Platform::readLeadingInt(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumberReading, LeadingRealsUseAFullStopWhateverTheLocale)
{
    const struct {
        const wchar_t* text;
        std::optional<double> value;
    } cases[] = {
        {L"2.5", 2.5},
        {L" .5x", 0.5},
        {L"-1.25", -1.25},
        {L"1e2", 100.0},
        {L"1e", 1.0},
        {L"3,5", 3.0},
        {L"--5", std::nullopt},
        {L".", std::nullopt},
        {L"nan", std::nullopt},
        {L"inf", std::nullopt},
        {L"1e999", std::nullopt},
        {L"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Platform::readLeadingReal(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumberReading, TrimsOnlyTheBlanksOfTheCLibrary)
{
    EXPECT_EQ(Platform::trimBlanks(L" \t\r\n\f\vx y\v "), L"x y");
    EXPECT_EQ(Platform::trimBlanks(L"\u00a0x"), L"\u00a0x");  // no-break space is kept
    EXPECT_EQ(Platform::trimBlanks(L"   "), L"");
}

}  // namespace
