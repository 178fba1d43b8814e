#pragma once

#include "Project/CueList.h"
#include "Project/Effect.h"

namespace Project {

// Copies an effect's article data into every selected cue's metadata and sets the cues'
// prefire time (and duration, when the cue had none or the article changes) from the effect.
// `format` is the project's timecode format.
//
// A cue whose new prefire time would make it fire before frame 0 keeps its old prefire time;
// the result is the number of such cues (0 when every cue took the effect's prefire time).
int applyEffectToSelectedCues(CueList& cues, const Effect& effect, int format);

// The normalised calibre or weight text: the leading whole number of the text ("30 mm" is
// "30"; an empty text counts as 0). `emptyForZero` writes 0 as an empty text (the calibre).
// A text that does not start with a number is kept as it is, so no typed value is lost.
std::wstring normaliseLeadingNumber(const std::wstring& text, bool emptyForZero);

}  // namespace Project
