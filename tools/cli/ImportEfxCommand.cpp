// skyfirewright-cli import-efx: adds the articles of a foreign effect database to an effect
// library file, as the program's effect import adds them to the user's library.

#include <ostream>
#include <string>

#include "CommandLine.h"
#include "Platform/Utf.h"
#include "Project/EffectList.h"
#include "Project/Operations/EffectFile.h"
#include "Project/Operations/OperationImportEffectFile.h"
#include "Project/Project.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli import-efx FILE.efx LIBRARY.fwe\n"
    "\n"
    "Adds the effects of a foreign effect database (a Jet database with the table Effects)\n"
    "to the effect library file, which is created when missing. Effects equal to one the\n"
    "library holds are dropped. Prints one line: added=N total=M.\n"
    "\n"
    "Exit status: 0 on success, 1 when the database or the library is refused or the\n"
    "library cannot be written (the reason goes to standard error), 2 for usage errors.\n";

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Command self{"import-efx", "", "", nullptr};
    if (args.size() != 2) {
        return usageError(self, "give the database and the library file", err);
    }
    const bool ownProject = Project::Project::getInstance() == nullptr;
    Project::Project& project =
        ownProject ? Project::Project::createInstance() : *Project::Project::getInstance();
    Project::EffectList library;
    std::wstring errorKey;
    const std::wstring libraryPath = Platform::fromUtf8(args[1]);
    bool ok = Project::EffectFile::load(libraryPath, library, errorKey);
    const int before = library.getCount();
    if (ok &&
        !Project::OperationImportEffectFile::importInto(Platform::fromUtf8(args[0]), library)) {
        errorKey = project.getLastError();
        ok = false;
    }
    if (ok) {
        ok = Project::EffectFile::save(libraryPath, library, errorKey);
    }
    if (ownProject) {
        Project::Project::destroyInstance();
    }
    if (!ok) {
        err << "import-efx: " << Platform::toUtf8(errorKey) << '\n';
        return kFailure;
    }
    out << "added=" << library.getCount() - before << " total=" << library.getCount() << '\n';
    return kSuccess;
}

Command makeImportEfxCommand()
{
    return Command{"import-efx", "add a foreign effect database (.efx) to an effect library", kHelp,
                   run};
}

const CommandRegistrar registrar(56, makeImportEfxCommand);

}  // namespace

}  // namespace Cli
