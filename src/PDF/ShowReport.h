#pragma once

#include "PDF/ReportDocument.h"
#include "PDF/ReportText.h"
#include "Project/ProjectData.h"

namespace PDF {

// Every cue of the cue list, in list order, on A4 landscape pages of 35 rows: timecode,
// type, duration, location, family and description. The positions are fixed in millimetres
// (see docs/reports.md). A text wider than its column is first squeezed horizontally, down
// to 60 % of its width, and only beyond that shortened with "...".
class ShowReport {
public:
    static constexpr int kRowsPerPage = 35;

    static void write(ReportDocument& document, const Project::ProjectData& data,
                      const Translate& translate);
};

}  // namespace PDF
