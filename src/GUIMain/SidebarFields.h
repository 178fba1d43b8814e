#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace Project {
class Cue;
class CueList;
class IOperation;
}  // namespace Project

namespace GUIMain {

// What the sidebar's edit fields show and what a typed text becomes. Kept apart from the
// widgets so that the display over many cues and the commit table can be checked alone.
namespace SidebarFields {

// The edit kinds: each selects the value a field shows and the parser of what is typed.
enum Kind : int {
    kTimecode = 0,
    kPrefire = 1,
    kGroup = 2,
    kPyroAddress = 3,
    kDmxUniverse = 4,
    kDmxChannel = 5,
    kDmxValue = 6,
    kDuration = 9,
    kQuantity = 10,
    kReminder = 11,
    kGroupName = 12,
    kDmxText = 13,
    kChaseSpeed = 14,
};
inline constexpr int kKindCount = 15;
// Shown when the considered cues give different texts; committing it changes nothing.
inline constexpr const wchar_t* kDiffering = L"...";

// The selection summary: what kinds of cues and settings the selection holds.
struct Summary {
    enum Flag : unsigned {
        kAnyPyro = 1u << 0,
        kAnyDmx = 1u << 1,
        kAnyReminder = 1u << 2,
        kAnySingle = 1u << 3,
        kAnyParallel = 1u << 4,
        kAnySine = 1u << 5,
        kAnyBlock = 1u << 6,
        kAnyEffectData = 1u << 7,
    };
    unsigned flags = 0;
    int selectedCount = 0;
    // Per kind: the text every considered cue gives, "..." when they differ, empty with no
    // considered cue.
    std::array<std::wstring, kKindCount> texts;

    bool has(Flag flag) const { return (flags & flag) != 0; }
};

// Whether a field of this kind considers the cue (pyro address: pyro cues; the DMX kinds:
// DMX cues; the rest: every cue).
bool considers(int kind, const Project::Cue& cue);
// The text of one cue's value of the kind.
std::wstring textOf(int kind, const Project::Cue& cue);
// The summary over the selected cues of the list. The texts do not depend on the order in
// which the cues are taken, so the list is walked once as it stands.
Summary summarize(const Project::CueList& cues);

// What a committed text becomes: nothing (the "..." text), a refusal (the invalid-input
// message; nothing changes) or the operations to run on the selection, in order.
struct Commit {
    bool refused = false;
    std::vector<std::unique_ptr<Project::IOperation>> operations;
};
Commit commit(int kind, const std::wstring& text, int format);

// Number parsers of the fields: the whole trimmed text must be the number; false for an
// empty text, other characters or a value beyond int.
bool parseDecimal(const std::wstring& text, int& value);
bool parseHex(const std::wstring& text, int& value);

}  // namespace SidebarFields

}  // namespace GUIMain
