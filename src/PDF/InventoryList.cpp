#include "PDF/InventoryList.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "PDF/ReportTable.h"
#include "PDF/WinAnsiText.h"

namespace PDF {

namespace {

constexpr int kModuleCount = 128;

std::string moduleList(const std::string& name, const std::set<int>& modules)
{
    std::string text = name + " (";
    bool first = true;
    for (int module : modules) {
        text += (first ? "" : ", ") + ReportText::moduleText(module);
        first = false;
    }
    return text + ")";
}

}  // namespace

void InventoryList::write(ReportDocument& document, const Project::ProjectData& data,
                          const Translate& translate)
{
    std::set<int> slaves;
    std::set<int> unknown;
    std::map<std::wstring, int64_t> pieces;
    const std::wstring missing = translate(L"REPORTS.LOADINGLIST.MISSINGCONTENT");
    const Project::CueList& cues = data.getCueList();
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        if (cue->getCommand().getType() != Project::CueCommand::TYPE_PYRO) {
            continue;
        }
        const int address = cue->getCommand().getAddress();
        if (address >= 0) {
            (address / 16 < kModuleCount ? slaves : unknown).insert(address / 16);
        }
        const std::wstring description = ReportText::meta(*cue, L"~DESC");
        pieces[description.empty() ? missing : description] += cue->getQuantity();
    }

    ReportTable table(
        {{toWinAnsi(translate(L"REPORTS.INVENTORYLIST.HEADER.QTY")), 25, true},
         {toWinAnsi(translate(L"REPORTS.INVENTORYLIST.HEADER.DESCRIPTION")), 155, false}},
        false, 3.0);
    const std::string title = toWinAnsi(translate(L"REPORTS.INVENTORYLIST.TITLE"));
    table.beginSection(title, title);
    if (!slaves.empty()) {
        table.addRow({{std::to_string(slaves.size()), moduleList("Skyfirewright Slave", slaves)},
                      false,
                      false});
    }
    if (!unknown.empty()) {
        table.addRow({{std::to_string(unknown.size()), moduleList("Unknown Device", unknown)},
                      false,
                      false});
    }
    bool first = true;
    for (const auto& [description, quantity] : pieces) {
        table.addRow({{std::to_string(quantity), toWinAnsi(description)}, false, first});
        first = false;
    }
    table.render(document);
}

}  // namespace PDF
