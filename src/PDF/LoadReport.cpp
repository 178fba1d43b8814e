#include "PDF/LoadReport.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "PDF/ReportTable.h"
#include "PDF/WinAnsiText.h"

namespace PDF {

void LoadReport::write(ReportDocument& document, const Project::ProjectData& data,
                       const Translate& translate)
{
    std::vector<const Project::Cue*> pyro;
    const Project::CueList& cues = data.getCueList();
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        if (cue->getCommand().getType() == Project::CueCommand::TYPE_PYRO) {
            pyro.push_back(cue);
        }
    }
    // No address (-1) sorts last as the largest unsigned value; one address keeps list order.
    std::stable_sort(pyro.begin(), pyro.end(), [](const Project::Cue* a, const Project::Cue* b) {
        return static_cast<unsigned>(a->getCommand().getAddress()) <
               static_cast<unsigned>(b->getCommand().getAddress());
    });

    auto header = [&](const wchar_t* name) {
        return toWinAnsi(translate(std::wstring(L"REPORTS.LOADINGLIST.HEADER.") + name));
    };
    ReportTable table({{header(L"MODULE"), 20, false},
                       {header(L"PIN"), 14, false},
                       {header(L"QTY"), 14, true},
                       {header(L"CONTENT"), 107, false},
                       {header(L"ANGLE"), 25, false}},
                      false, 3.0);
    const std::string title = toWinAnsi(translate(L"REPORTS.LOADINGLIST.TITLE"));
    table.beginSection(title, title);
    const std::string missing = toWinAnsi(translate(L"REPORTS.LOADINGLIST.MISSINGCONTENT"));
    int module = -1;
    bool unaddressed = false;
    for (const Project::Cue* cue : pyro) {
        const int address = cue->getCommand().getAddress();
        ReportTable::Row row;
        if (address >= 0) {
            char pin[8];
            std::snprintf(pin, sizeof pin, "%X", static_cast<unsigned>(address % 16));
            const bool newModule = address / 16 != module;
            module = address / 16;
            row.cells = {newModule ? ReportText::moduleText(module) : std::string(), pin};
            row.ruleAbove = newModule;
        } else {
            row.cells = {"-", "-"};
            row.ruleAbove = !unaddressed;
            unaddressed = true;
        }
        const std::string content = ReportText::articleText(*cue);
        row.cells.push_back(std::to_string(cue->getQuantity()));
        row.cells.push_back(content.empty() ? missing : content);
        row.cells.push_back(ReportText::metaText(*cue, L"~ANGLE"));
        table.addRow(std::move(row));
    }
    table.render(document);
}

}  // namespace PDF
