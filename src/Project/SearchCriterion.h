#pragma once

#include <string>

// The criteria of the library search screens (effects and fixture presets). An empty
// criterion never narrows; callers skip it before matching.
namespace Project {

// The criterion occurs in the field, with ASCII letters A to Z folded to lower case on both
// sides (other characters compare as they are).
bool matchesTextCriterion(const std::wstring& field, const std::wstring& criterion);

// "<n" matches values below n, ">n" values above n, anything else (no sign, or both) values
// equal to n. Every "<" and ">" is removed before the number is read; an unreadable or
// negative number counts as 0.
bool matchesWholeNumberCriterion(int value, const std::wstring& criterion);

// As the whole-number criterion, for a price: the number may have a decimal comma, and it is
// cut to a whole number before comparing, so "12.5" finds 12.0 and "<12.9" finds prices
// below 12.
bool matchesPriceCriterion(double price, const std::wstring& criterion);

}  // namespace Project
