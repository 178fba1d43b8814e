#pragma once

#include <optional>
#include <string>

// Reading numbers at the start of a text as the C library's "%d" and "%lf" do (leading
// blanks and a sign accepted, anything after the number ignored: "7s" reads 7), but
// independent of the process locale: a GUI toolkit may switch the C locale to one with a
// decimal comma, and a show file must not read differently on such a machine. Nothing here
// has undefined behaviour: whole numbers beyond the int range saturate, and infinities and
// NaNs are not numbers.
namespace Platform {

// Leading and trailing space, line feed, carriage return, form feed, tab and vertical tab
// removed.
std::wstring trimBlanks(const std::wstring& text);

// The leading decimal integer ("%d"), or nothing when the text does not start with one.
std::optional<int> readLeadingInt(const std::wstring& text);

// The leading decimal real number ("%lf", with a full stop as decimal point), or nothing.
std::optional<double> readLeadingReal(const std::wstring& text);

}  // namespace Platform
