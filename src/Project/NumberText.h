#pragma once

#include <optional>
#include <string>

// How the show model reads numbers out of typed or imported text. The C library's "%d" and
// "%lf" readings are the model: leading blanks and a sign are accepted and anything after the
// number is ignored ("7s" reads 7). Unlike sscanf, nothing here has undefined behaviour: a
// whole number beyond the int range saturates, and infinities and NaNs are not numbers.
namespace Project {

// Leading and trailing space, line feed, carriage return, form feed, tab and vertical tab
// removed.
std::wstring trimBlanks(const std::wstring& text);

// The leading decimal integer of the text ("%d"), or nothing when it does not start with one.
std::optional<int> readLeadingInt(const std::wstring& text);

// The leading real number of the text ("%lf"), or nothing when it does not start with one.
std::optional<double> readLeadingReal(const std::wstring& text);

// A whole-number field typed in an effect or fixture form: empty text is 0; otherwise the
// trimmed text is read, and unreadable text (blanks only included) or a negative value is -1.
int parseWholeNumber(const std::wstring& text);

// The price field: as parseWholeNumber, with commas read as decimal points; -1.0 for refused.
double parseDecimalNumber(const std::wstring& text);

}  // namespace Project
