#pragma once

#include "PDF/ReportDocument.h"
#include "PDF/ReportText.h"
#include "Project/ProjectData.h"

namespace PDF {

// What is loaded on each firing address, for the crew that wires the modules: portrait, one
// framed row per pyro cue in address order (module, pin, quantity, article, angle), each
// module starting under a heavier rule with its number ("%02X") in the module column. A cue
// without description, family and article number shows the text of
// "REPORTS.LOADINGLIST.MISSINGCONTENT"; cues without an address come last. See
// docs/reports.md.
class LoadReport {
public:
    static void write(ReportDocument& document, const Project::ProjectData& data,
                      const Translate& translate);
};

}  // namespace PDF
