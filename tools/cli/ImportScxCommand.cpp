// skyfirewright-cli import-scx: makes a project file from a foreign show database, as the
// program's show import does, without the frame-rate wizard: the rate is given, or found
// from the events; when the events leave more than one rate, they are listed instead.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CommandArguments.h"
#include "CommandLine.h"
#include "Platform/Utf.h"
#include "Project/Operations/OperationImportSCX.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/Project.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli import-scx FILE.scx OUT.fwp [--rate 0|24|25|29|30]\n"
    "\n"
    "Reads the events of a foreign show database (a Jet database with the table Events)\n"
    "into a new project, one pyro cue per event, and writes it to OUT.fwp.\n"
    "\n"
    "  --rate R   the frame rate: 24, 25, 29 (30 drop-frame) or 30; 0 (the default) finds\n"
    "             it from the events' times and intervals\n"
    "\n"
    "Exit status: 0 on success, 1 when the database is refused or OUT cannot be written\n"
    "(the reason goes to standard error), 2 for usage errors, 3 when the events leave more\n"
    "than one rate: then nothing is written and the rates left are printed on one line.\n";

constexpr int kRatesLeft = 3;

// The process-wide project the operations report to, for the time of one command.
class ProjectScope {
public:
    ProjectScope() : owned_(Project::Project::getInstance() == nullptr)
    {
        project_ = owned_ ? &Project::Project::createInstance() : Project::Project::getInstance();
    }
    ~ProjectScope()
    {
        if (owned_) {
            Project::Project::destroyInstance();
        }
    }
    Project::Project& operator*() const { return *project_; }

private:
    bool owned_;
    Project::Project* project_;
};

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Command self{"import-scx", "", "", nullptr};
    int rate = 0;
    // Every other argument is one of the two paths, even one that starts with "--".
    CommandArguments arguments(self, nullptr);
    arguments.option("--rate", "--rate needs a value", [&](const std::string& value) {
        if (value != "0" && value != "24" && value != "25" && value != "29" && value != "30") {
            throw CommandArguments::Problem{"unknown rate " + value};
        }
        rate = std::stoi(value);
    });
    if (const std::optional<int> usage = arguments.parse(args, err)) {
        return *usage;
    }
    const std::vector<std::string> paths = arguments.leftovers();
    if (paths.size() != 2) {
        return usageError(self, "give the database and the project file", err);
    }

    ProjectScope project;
    Project::OperationImportSCX import(Platform::fromUtf8(paths[0]), rate);
    if (!import.execute((*project).getProjectData())) {
        err << "import-scx: " << Platform::toUtf8((*project).getLastError()) << '\n';
        return kFailure;
    }
    if (!import.getRatesLeft().empty()) {
        const char* separator = "";
        for (int left : import.getRatesLeft()) {
            out << separator << left;
            separator = " ";
        }
        out << '\n';
        return kRatesLeft;
    }
    std::wstring errorKey;
    if (!Project::ProjectFile::save(Platform::fromUtf8(paths[1]), (*project).getProjectData(),
                                    errorKey)) {
        err << "import-scx: " << Platform::toUtf8(errorKey) << '\n';
        return kFailure;
    }
    return kSuccess;
}

Command makeImportScxCommand()
{
    return Command{"import-scx", "make a project from a foreign show database (.scx)", kHelp, run};
}

const CommandRegistrar registrar(55, makeImportScxCommand);

}  // namespace

}  // namespace Cli
