#include "PDF/LocationList.h"

#include <algorithm>
#include <map>
#include <vector>

#include "PDF/ReportTable.h"
#include "PDF/WinAnsiText.h"

namespace PDF {

namespace {

// Modules 0..127 are the firing modules the system has; a larger number names no product.
constexpr int kModuleCount = 128;
constexpr int kUnaddressed = -2;

// Cues of one location: by address, cues without an address after all others, and cues of
// one address in list order.
void sortByAddress(std::vector<const Project::Cue*>& cues)
{
    std::stable_sort(cues.begin(), cues.end(), [](const Project::Cue* a, const Project::Cue* b) {
        const unsigned left = static_cast<unsigned>(a->getCommand().getAddress());
        const unsigned right = static_cast<unsigned>(b->getCommand().getAddress());
        return left < right;  // no address (-1) sorts last as the largest unsigned value
    });
}

}  // namespace

void LocationList::write(ReportDocument& document, const Project::ProjectData& data,
                         const Translate& translate, bool include)
{
    std::map<std::wstring, std::vector<const Project::Cue*>> byLocation;
    std::vector<const Project::Cue*> unplaced;
    const Project::CueList& cues = data.getCueList();
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        if (cue->getCommand().getType() != Project::CueCommand::TYPE_PYRO) {
            continue;
        }
        const std::wstring location = ReportText::meta(*cue, L"~POS");
        (location.empty() ? unplaced : byLocation[location]).push_back(cue);
    }

    std::vector<std::pair<std::string, std::vector<const Project::Cue*>>> groups;
    for (auto& [location, members] : byLocation) {
        groups.emplace_back(toWinAnsi(location), std::move(members));
    }
    if (include && !unplaced.empty()) {
        groups.emplace_back(toWinAnsi(translate(L"REPORTS.LOCATIONLIST.NOLOCATION")),
                            std::move(unplaced));
    }

    ReportTable table(
        {{toWinAnsi(translate(L"REPORTS.LOCATIONLIST.HEADER.QTY")), 20, true},
         {toWinAnsi(translate(L"REPORTS.LOCATIONLIST.HEADER.DESCRIPTION")), 130, false},
         {toWinAnsi(translate(L"REPORTS.LOCATIONLIST.HEADER.ADDRESS")), 30, false}},
        false, 3.0);
    const std::string title = toWinAnsi(translate(L"REPORTS.LOCATIONLIST.TITLE"));
    const std::string continued = toWinAnsi(translate(L"REPORTS.LOCATIONLIST.TITLE.CTD"));
    // A show without pyro cues still gets a page that says so by its empty table.
    if (groups.empty()) {
        table.beginSection(title, continued);
    }
    for (auto& [location, members] : groups) {
        table.beginSection(title + ": " + location, continued + ": " + location);
        sortByAddress(members);
        int module = -1;
        for (const Project::Cue* cue : members) {
            const int address = cue->getCommand().getAddress();
            if (address >= 0 && address / 16 != module) {
                module = address / 16;
                table.addRow(
                    {{"1", module < kModuleCount ? "Skyfirewright Slave" : "Invalid Productname",
                      ReportText::moduleText(module)},
                     true,
                     true});
            }
            // The cues without an address are set apart from the last module's cues.
            const bool firstUnaddressed = address < 0 && module != kUnaddressed;
            if (firstUnaddressed) {
                module = kUnaddressed;
            }
            table.addRow({{std::to_string(cue->getQuantity()), ReportText::articleText(*cue),
                           address >= 0 ? ReportText::addressText(address) : std::string("-")},
                          false,
                          firstUnaddressed});
        }
    }
    table.render(document);
}

}  // namespace PDF
