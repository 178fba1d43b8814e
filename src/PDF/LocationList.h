#pragma once

#include "PDF/ReportDocument.h"
#include "PDF/ReportText.h"
#include "Project/ProjectData.h"

namespace PDF {

// What is placed where: the pyro cues grouped by their "~POS" metadata, each location on
// pages of its own, portrait. Within a location the firing modules follow in address order,
// each on a bold row naming the module, then one row per cue of that module with quantity,
// article (description, family and article number) and address; cues without an address
// come last. Locations are in alphabetical order.
//
// `include` adds the pyro cues without a location, as a last group under the text of
// "REPORTS.LOCATIONLIST.NOLOCATION"; without it they are left out. See docs/reports.md.
class LocationList {
public:
    static void write(ReportDocument& document, const Project::ProjectData& data,
                      const Translate& translate, bool include);
};

}  // namespace PDF
