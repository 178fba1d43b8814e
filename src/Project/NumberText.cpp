#include "Project/NumberText.h"

#include <charconv>
#include <cstddef>

namespace Project {

namespace {

// Large enough for the largest double in fixed notation: 309 digits before the point.
constexpr std::size_t kPriceTextSize = 400;

char* writePrice(char* buffer, double price)
{
    return std::to_chars(buffer, buffer + kPriceTextSize, price, std::chars_format::fixed, 6).ptr;
}

// The price that the six-decimal text of `price` reads back as.
double storablePrice(double price)
{
    char buffer[kPriceTextSize];
    const char* end = writePrice(buffer, price);
    double stored = price;
    std::from_chars(buffer, end, stored, std::chars_format::fixed);
    return stored;
}

}  // namespace

int parseWholeNumber(const std::wstring& text)
{
    if (text.empty()) {
        return 0;
    }
    const std::optional<int> value = readLeadingInt(trimBlanks(text));
    if (!value || *value < 0) {
        return -1;
    }
    return *value;
}

double parseDecimalNumber(const std::wstring& text)
{
    if (text.empty()) {
        return 0.0;
    }
    std::wstring decimal = trimBlanks(text);
    for (wchar_t& c : decimal) {
        if (c == L',') {
            c = L'.';
        }
    }
    const std::optional<double> value = readLeadingReal(decimal);
    if (!value || *value < 0.0) {
        return -1.0;
    }
    return storablePrice(*value);
}

std::wstring priceText(double price)
{
    char buffer[kPriceTextSize];
    return std::wstring(buffer, writePrice(buffer, price));
}

}  // namespace Project
