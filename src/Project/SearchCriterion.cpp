#include "Project/SearchCriterion.h"

#include <cmath>

#include "Project/NumberText.h"

namespace Project {

namespace {

std::wstring foldAscii(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return text;
}

struct Comparison {
    bool less = false;
    bool greater = false;
    std::wstring number;  // the criterion without its "<" and ">", trimmed
};

Comparison splitComparison(const std::wstring& criterion)
{
    Comparison c;
    for (wchar_t ch : criterion) {
        if (ch == L'<') {
            c.less = true;
        } else if (ch == L'>') {
            c.greater = true;
        } else {
            c.number += ch;
        }
    }
    c.number = trimBlanks(c.number);
    return c;
}

template <typename T>
bool compareWith(const Comparison& c, T value, T bound)
{
    if (c.less && !c.greater) {
        return value < bound;
    }
    if (c.greater && !c.less) {
        return value > bound;
    }
    return value == bound;
}

}  // namespace

bool matchesTextCriterion(const std::wstring& field, const std::wstring& criterion)
{
    return foldAscii(field).find(foldAscii(criterion)) != std::wstring::npos;
}

bool matchesWholeNumberCriterion(int value, const std::wstring& criterion)
{
    const Comparison c = splitComparison(criterion);
    const std::optional<int> read = readLeadingInt(c.number);
    const int bound = read && *read >= 0 ? *read : 0;
    return compareWith(c, value, bound);
}

bool matchesPriceCriterion(double price, const std::wstring& criterion)
{
    Comparison c = splitComparison(criterion);
    for (wchar_t& ch : c.number) {
        if (ch == L',') {
            ch = L'.';
        }
    }
    const std::optional<double> read = readLeadingReal(c.number);
    const double bound = read && *read >= 0.0 ? std::trunc(*read) : 0.0;
    return compareWith(c, price, bound);
}

}  // namespace Project
