#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PDF/ReportDocument.h"
#include "PDF/ReportText.h"
#include "Project/CueList.h"
#include "Project/ProjectData.h"

namespace PDF {

// The articles a show needs, with quantities, weights and prices: what is taken from the
// magazine. Landscape, fourteen columns, totals of weight and price at the end.
//
// The flags: `include` takes in the pyro cues without an article number (each on a row of
// its own); without it only cues with an article number are listed. `overview` prints one
// row per classification instead of one per article. Cues with the article number "0" are
// never listed. See docs/reports.md.
class PyroList {
public:
    struct Row {
        int32_t quantity = 0;
        std::wstring description;
        std::wstring type;
        std::wstring articleNumber;
        int32_t netWeight = 0;  // grams
        int32_t height = 0;     // metres
        std::wstring safetyDistance;
        std::wstring manufacturer;
        std::wstring classification;
        std::wstring vanShape;
        std::wstring caliber;
        double unitPrice = 0;
    };

    struct Totals {
        int64_t quantity = 0;
        double weight = 0;  // grams
        double price = 0;
    };

    // The rows of the pyro cues in list order: one per article number, and with `include`
    // one for each cue without an article number.
    static std::vector<Row> rows(const Project::CueList& cues, bool include);
    struct ClassTotals {
        std::wstring classification;
        Totals totals;
    };

    // The rows of each classification added up, in the order the classifications first
    // appear.
    static std::vector<ClassTotals> overview(const std::vector<Row>& rows);
    // Pieces, grams (quantity times net weight) and price (quantity times unit price).
    static Totals totals(const std::vector<Row>& rows);

    static void write(ReportDocument& document, const Project::ProjectData& data,
                      const Translate& translate, bool include, bool overview);
};

}  // namespace PDF
