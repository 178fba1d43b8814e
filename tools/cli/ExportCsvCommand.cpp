// skyfirewright-cli export-csv: the cue list of a project file as the program's CSV export,
// with the column names of a language.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CliProject.h"
#include "CommandArguments.h"
#include "CommandLine.h"
#include "Platform/Utf.h"
#include "Project/Operations/OperationSaveCSV.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli export-csv PROJECT.fwp OUT.csv [--locale CODE] [--salvage]\n"
    "\n"
    "Opens the project and exports its cue list as the program's CSV export does.\n"
    "\n"
    "  --locale CODE  column names from the language file locale/CODE.ini of the program's\n"
    "                 folder (CODE such as en-us or nl-nl), or from the language file CODE\n"
    "                 when it ends in .ini; without it the column names are the keys\n"
    "\n"
    "Exit status: 0 on success, 1 when the project cannot be opened or the file cannot be\n"
    "written (the error key goes to standard error), 2 for usage errors and an unreadable\n"
    "language file.\n";

int run(const std::vector<std::string>& given, std::ostream& /*out*/, std::ostream& err)
{
    Project::Salvage salvage = Project::Salvage::REFUSE;
    const std::vector<std::string> args = takeSalvageOption(given, salvage);
    const Command self{"export-csv", "", "", nullptr};
    std::optional<std::string> locale;
    CommandArguments arguments(self, CommandArguments::operands());
    arguments.option("--locale", "--locale needs a language",
                     [&](const std::string& value) { locale = value; });
    if (const std::optional<int> usage = arguments.parse(args, err)) {
        return *usage;
    }
    const std::vector<std::string> paths = arguments.leftovers();
    if (paths.size() != 2) {
        return usageError(self, "give PROJECT.fwp and OUT.csv", err);
    }
    TranslateText translate;
    std::wstring languageFile;
    if (!loadLanguage(locale, translate, languageFile)) {
        return usageError(self, "cannot read the language file " + Platform::toUtf8(languageFile),
                          err);
    }
    ProjectSession session;
    session.setSalvage(salvage, "export-csv", err);
    if (!session.open(paths[0]) || !session.project().submit(new Project::OperationSaveCSV(
                                       Platform::fromUtf8(paths[1]), translate))) {
        return reportFailure("export-csv", session.lastError(), err);
    }
    return kSuccess;
}

Command exportCsvCommand()
{
    return {"export-csv", "export a project's cue list as CSV", std::string(kHelp) + kSalvageHelp,
            run};
}

}  // namespace

const CommandRegistrar registrar(23, exportCsvCommand);

}  // namespace Cli
