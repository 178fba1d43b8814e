#pragma once

#include "PDF/ReportDocument.h"
#include "PDF/ReportText.h"
#include "Project/ProjectData.h"

namespace PDF {

// The firing hardware and the pieces a show uses, portrait. First the devices: the firing
// modules that the pyro cues address (modules 00..7F are "Skyfirewright Slave", any other
// number "Unknown Device"), counted once per module however many cues it fires, with the
// module numbers listed. Then the pieces by their "~DESC" metadata, alphabetically, each
// with the sum of the quantities of its pyro cues; cues without a description are counted
// under the text of "REPORTS.LOADINGLIST.MISSINGCONTENT". See docs/reports.md.
class InventoryList {
public:
    static void write(ReportDocument& document, const Project::ProjectData& data,
                      const Translate& translate);
};

}  // namespace PDF
