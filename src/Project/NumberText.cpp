#include "Project/NumberText.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cwchar>
#include <cwctype>

namespace Project {

std::wstring trimBlanks(const std::wstring& text)
{
    const wchar_t* blanks = L" \n\r\f\t\v";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::optional<int> readLeadingInt(const std::wstring& text)
{
    const wchar_t* start = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const long value = std::wcstol(start, &end, 10);
    if (end == start) {
        return std::nullopt;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::optional<double> readLeadingReal(const std::wstring& text)
{
    const wchar_t* start = text.c_str();
    wchar_t* end = nullptr;
    const double value = std::wcstod(start, &end);
    if (end == start || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

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
    return *value;
}

}  // namespace Project
