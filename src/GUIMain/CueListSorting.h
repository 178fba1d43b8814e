#pragma once

#include <string>
#include <vector>

namespace Project {
class Cue;
}

namespace GUIMain {

// The columns of the cue list view that are not metadata.
enum CueListColumn : int {
    kColumnCondition = -1,  // never shown; the order of the show-mode condition
    kColumnNumber = 0,
    kColumnStatus = 1,
    kColumnTimecode = 2,
    kColumnPrefire = 3,
    kColumnDuration = 4,
    kColumnCommand = 5,
    kColumnGroup = 6,
    kColumnQuantity = 7,
    kFirstMetadataColumn = 8,
};

// Natural order of two texts: runs of decimal digits compare by numeric value (the shorter
// run padded with leading zeros), every other character by its code, and a text that is the
// start of the other comes first. Negative, zero or positive.
int compareNatural(const std::wstring& a, const std::wstring& b);

// A text that orders by plain character comparison as the text orders naturally: each
// digit run becomes its digit count without leading zeros (one character from '0' to '8',
// or '9' and the count) followed by those digits.
std::wstring naturalSortKey(const std::wstring& text);

// The order of one column: `column` as above, and for a metadata column the key it shows.
struct CueComparison {
    int column = kColumnTimecode;
    std::wstring metadataKey;

    // Ascending order: negative, zero or positive as a sorts before, with or after b.
    int operator()(const Project::Cue& a, const Project::Cue& b) const;
};

// Sorts the cues by the comparison, reversed for descending order. Cues that compare equal
// keep the order they had.
void sortCues(std::vector<Project::Cue*>& cues, const CueComparison& comparison, bool ascending);

}  // namespace GUIMain
