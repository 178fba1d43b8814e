#include "Project/Operations/TimelineSelection.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <vector>

#include "Project/Operations/OperationSelectAll.h"
#include "Project/Operations/OperationSelection.h"

namespace Project {

namespace {
// Main thread only, as every selection.
unsigned pickCounter = 0;
}  // namespace

std::unique_ptr<IOperation> selectCuesInTimeRange(const CueList& cues, bool add, double time1,
                                                  double time2)
{
    const double from = std::min(time1, time2);
    const double to = std::max(time1, time2);
    std::map<int, bool> entries;
    for (const CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const double time = cue->getTimecode().getMilliseconds();
        const bool inside = time >= from && time <= to;
        if (inside && !cue->isSelected()) {
            entries[cue->getId()] = true;
        } else if (!inside && !add && cue->isSelected()) {
            entries[cue->getId()] = false;
        }
    }
    return std::make_unique<OperationSelection>(std::move(entries));
}

std::unique_ptr<IOperation> selectCueAt(const CueList& cues, bool toggle, double time,
                                        double tolerance)
{
    std::vector<const CueList::CueItem*> candidates;
    for (const CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const double cueTime = cue->getTimecode().getMilliseconds();
        if (cueTime > time + tolerance) {
            break;
        }
        if (cueTime >= time - tolerance) {
            candidates.push_back(cue);
        }
    }
    if (candidates.empty()) {
        if (toggle) {
            return nullptr;
        }
        return std::make_unique<OperationSelectAll>(false);
    }
    const CueList::CueItem* picked = candidates[pickCounter % candidates.size()];
    ++pickCounter;

    std::map<int, bool> entries;
    if (toggle) {
        entries[picked->getId()] = !picked->isSelected();
    } else {
        for (const CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
            if (cue == picked && !cue->isSelected()) {
                entries[cue->getId()] = true;
            } else if (cue != picked && cue->isSelected()) {
                entries[cue->getId()] = false;
            }
        }
    }
    return std::make_unique<OperationSelection>(std::move(entries));
}

void resetCuePickCounter()
{
    pickCounter = 0;
}

}  // namespace Project
