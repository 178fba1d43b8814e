#include <gtest/gtest.h>

#include "Platform/Utf.h"

namespace {

TEST(Utf, RoundTripsEveryPlane)
{
    const std::wstring text = L"a\u00e4\u20ac\U0001F386z";  // a, ä, €, fireworks, z
    EXPECT_EQ(Platform::fromUtf8(Platform::toUtf8(text)), text);
    EXPECT_EQ(Platform::fromUtf16(Platform::toUtf16(text)), text);
    EXPECT_EQ(Platform::toUtf16(text).size(), 6u);  // one surrogate pair
    EXPECT_EQ(Platform::toUtf8(text), "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x8E\x86z");
}

TEST(Utf, MalformedInputBecomesReplacementCharacters)
{
    const struct {
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"\xFF", L"\uFFFD"},
        {"a\xC3", L"a\uFFFD"},            // truncated sequence
        {"\xC0\xAF", L"\uFFFD"},          // overlong form of '/'
        {"\xED\xA0\x80", L"\uFFFD"},      // an encoded surrogate
        {"\xE2\x82x", L"\uFFFDx"},        // broken continuation
        {"\xF4\x90\x80\x80", L"\uFFFD"},  // above U+10FFFF
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Platform::fromUtf8(c.bytes), c.text);
    }
    EXPECT_EQ(Platform::fromUtf16(u"\xD800x"), L"\uFFFDx");  // lone high surrogate
    EXPECT_EQ(Platform::fromUtf16(u"\xDC00"), L"\uFFFD");    // lone low surrogate
}

TEST(Utf, NarrowTextsKeepTheLowByte)
{
    EXPECT_EQ(Platform::toLowBytes(L"A\u00e9"), "A\xE9");
    EXPECT_EQ(Platform::fromLowBytes("A\xE9"), L"A\u00e9");
}

}  // namespace
