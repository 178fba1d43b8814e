#pragma once

#include <memory>

#include "Project/CueList.h"
#include "Project/IOperation.h"

// The selections the timeline makes with the mouse, built as operations for the project to
// run. Times are in milliseconds.
namespace Project {

// Dragging a range: selects every cue whose time lies between the two times (both ends
// included, in either order). Without `add`, every selected cue outside the range is
// deselected. Returns an OperationSelection naming only cues whose flag changes.
std::unique_ptr<IOperation> selectCuesInTimeRange(const CueList& cues, bool add, double time1,
                                                  double time2);

// Clicking at `time`: the candidates are the cues within `tolerance` of it. Repeated clicks
// on overlapping cues pick them in turn (a process-wide counter picks the candidate). With
// `toggle` the picked cue's flag is inverted; without it the picked cue becomes the only
// selected cue, and a click on no cue deselects all. A toggle click on no cue gives null:
// nothing to do.
std::unique_ptr<IOperation> selectCueAt(const CueList& cues, bool toggle, double time,
                                        double tolerance);

// Restarts the pick counter of selectCueAt, for tests.
void resetCuePickCounter();

}  // namespace Project
