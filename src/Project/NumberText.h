#pragma once

#include <optional>
#include <string>

#include "Platform/NumberReading.h"

// How the libraries read the numbers of typed or imported article and preset fields.
namespace Project {

using Platform::readLeadingInt;
using Platform::readLeadingReal;
using Platform::trimBlanks;

// A whole-number field typed in an effect or fixture form: empty text is 0; otherwise the
// trimmed text is read, and unreadable text (blanks only included) or a negative value is -1.
int parseWholeNumber(const std::wstring& text);

// The price field: as parseWholeNumber, with commas read as decimal points; -1.0 for refused.
// The value is kept to the six decimals of priceText(), so that a price read again from a
// saved library is the same price (two prices apart only beyond the sixth decimal would
// become one on saving, and the duplicate rule would then drop an effect).
double parseDecimalNumber(const std::wstring& text);

// The price as the library files write it: fixed point, six decimals and a full stop,
// whatever the C locale says.
std::wstring priceText(double price);

}  // namespace Project
