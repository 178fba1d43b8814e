#include "Project/NumberText.h"

namespace Project {

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
