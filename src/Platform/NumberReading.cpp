#include "Platform/NumberReading.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string_view>

namespace Platform {

namespace {

bool isBlank(wchar_t c)
{
    return c == L' ' || c == L'\n' || c == L'\r' || c == L'\f' || c == L'\t' || c == L'\v';
}

// The ASCII characters after leading blanks and a sign, up to the first other character;
// the sign is returned separately.
std::string numberPart(const std::wstring& text, bool& negative, const char* allowed)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    std::string ascii;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c > 0x7F ||
            std::string_view(allowed).find(static_cast<char>(c)) == std::string_view::npos) {
            break;
        }
        ascii += static_cast<char>(c);
    }
    return ascii;
}

}  // namespace

std::wstring trimBlanks(const std::wstring& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

std::optional<int> readLeadingInt(const std::wstring& text)
{
    bool negative = false;
    const std::string digits = numberPart(text, negative, "0123456789");
    if (digits.empty()) {
        return std::nullopt;
    }
    unsigned long long magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    (void)end;
    if (error == std::errc::result_out_of_range || magnitude > 0x80000000ULL) {
        return negative ? INT_MIN : INT_MAX;
    }
    if (negative) {
        return static_cast<int>(-static_cast<long long>(magnitude));
    }
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

std::optional<double> readLeadingReal(const std::wstring& text)
{
    bool negative = false;
    const std::string number = numberPart(text, negative, "0123456789.eE+-");
    // A second sign ("--5") is no number, although from_chars would take it.
    if (number.empty() || number.front() == '+' || number.front() == '-') {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::general);
    if (end == number.data()) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace Platform
