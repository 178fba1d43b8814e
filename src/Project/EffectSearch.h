#pragma once

#include <string>

#include "Project/Effect.h"
#include "Project/EffectList.h"

// The search of the effect screen. The project keeps two effect lists: the effect library,
// which the screen shows and every edit acts on, and the full library copy, which keeps the
// whole library while a search has narrowed the effect library to its hits.
namespace Project {

// True when the effect's field matches the criterion: text fields contain it (ASCII letters
// folded), whole numbers and the price compare with "<n", ">n" or "n". An empty criterion
// matches everything.
bool matchesEffectCriterion(const Effect& effect, EffectField field, const std::wstring& criterion);

// Narrows the effect library to the effects that match every non-empty criterion (one per
// EffectField). It works on the library as it stands, so two searches in a row narrow twice.
// The criteria are applied one after the other, each step keeping fresh unselected copies of
// the matches under the duplicate rule; the library is then cleared and refilled from the
// last step, so every effect gets a new number. With every criterion empty the full library
// is restored instead (restoreFullLibrary).
void searchEffects(EffectList& library, const EffectList& fullLibrary, const EffectTexts& criteria);

// Brings the whole library back after a search: when the full library copy holds more
// effects than the effect library, the library is cleared and refilled with fresh copies of
// the full library's effects. Effects of the narrowed library that the full library lacks
// (added, imported or brought back by undo while the search was active) are kept at the end
// rather than lost. Returns true when the library was refilled.
bool restoreFullLibrary(EffectList& library, const EffectList& fullLibrary);

// The rule run when the search panel opens: restore as above when the full library copy has
// more effects; otherwise the copy is made afresh from the effect library, so that it holds
// the library as it is now, including edits made since the copy was last taken.
void restoreFullLibraryBothWays(EffectList& library, EffectList& fullLibrary);

}  // namespace Project
