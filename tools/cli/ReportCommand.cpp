// skyfirewright-cli report: one of the program's PDF reports of a project file, with the
// texts of a language.

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CliProject.h"
#include "CommandArguments.h"
#include "CommandLine.h"
#include "PDF/OperationSaveReport.h"
#include "Platform/Utf.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli report KIND PROJECT.fwp OUT.pdf [--locale CODE] [--salvage]\n"
    "\n"
    "Opens the project and writes one of the program's PDF reports. KIND is one of\n"
    "  show               every cue with timecode, type, duration, location, family and\n"
    "                     description\n"
    "  load               what is loaded on each firing address\n"
    "  pyro-include       the articles with quantities, weights and prices, cues without an\n"
    "                     article number included\n"
    "  pyro-exclude       the same, only cues with an article number\n"
    "  pyro-overview      quantities, weights and prices per classification\n"
    "  location-include   what is placed where, cues without a location included\n"
    "  location-exclude   the same, only cues with a location\n"
    "  inventory          the firing modules and pieces the show uses\n"
    "\n"
    "  --locale CODE  texts from the language file locale/CODE.ini of the program's folder\n"
    "                 (CODE such as en-us or nl-nl), or from the language file CODE when it\n"
    "                 ends in .ini; without it the texts are the keys\n"
    "\n"
    "Exit status: 0 on success, 1 when the project cannot be opened or the report cannot be\n"
    "written (the error key goes to standard error), 2 for usage errors and an unreadable\n"
    "language file.\n";

struct Kind {
    PDF::OperationSaveReport::Kind kind;
    bool include;
    bool overview;
};

const std::map<std::string, Kind>& kinds()
{
    using K = PDF::OperationSaveReport::Kind;
    static const std::map<std::string, Kind> all = {
        {"show", {K::SHOW, true, false}},
        {"load", {K::LOAD, true, false}},
        {"pyro-include", {K::PYRO, true, false}},
        {"pyro-exclude", {K::PYRO, false, false}},
        {"pyro-overview", {K::PYRO, false, true}},
        {"location-include", {K::LOCATION, true, false}},
        {"location-exclude", {K::LOCATION, false, false}},
        {"inventory", {K::INVENTORY, true, false}},
    };
    return all;
}

int run(const std::vector<std::string>& given, std::ostream& /*out*/, std::ostream& err)
{
    Project::Salvage salvage = Project::Salvage::REFUSE;
    const std::vector<std::string> args = takeSalvageOption(given, salvage);
    const Command self{"report", "", "", nullptr};
    std::optional<std::string> locale;
    CommandArguments arguments(self, CommandArguments::operands());
    arguments.option("--locale", "--locale needs a language",
                     [&](const std::string& value) { locale = value; });
    if (const std::optional<int> usage = arguments.parse(args, err)) {
        return *usage;
    }
    const std::vector<std::string> positional = arguments.leftovers();
    if (positional.size() != 3) {
        return usageError(self, "give KIND, PROJECT.fwp and OUT.pdf", err);
    }
    const auto kind = kinds().find(positional[0]);
    if (kind == kinds().end()) {
        return usageError(self, "unknown report '" + positional[0] + "'", err);
    }
    TranslateText translate;
    std::wstring languageFile;
    if (!loadLanguage(locale, translate, languageFile)) {
        return usageError(self, "cannot read the language file " + Platform::toUtf8(languageFile),
                          err);
    }
    ProjectSession session;
    session.setSalvage(salvage, "report", err);
    if (!session.open(positional[1]) ||
        !session.project().submit(
            new PDF::OperationSaveReport(Platform::fromUtf8(positional[2]), kind->second.kind,
                                         kind->second.include, kind->second.overview, translate))) {
        return reportFailure("report", session.lastError(), err);
    }
    return kSuccess;
}

Command reportCommand()
{
    return {"report", "write a PDF report of a project: show, load, pyro, location, inventory",
            std::string(kHelp) + kSalvageHelp, run};
}

}  // namespace

const CommandRegistrar registrar(50, reportCommand);

}  // namespace Cli
