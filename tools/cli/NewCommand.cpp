// skyfirewright-cli new: an empty project file in a timecode format, as the new-project
// command makes it.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CliProject.h"
#include "CommandArguments.h"
#include "CommandLine.h"
#include "Platform/Utf.h"
#include "Project/Operations/OperationNewProject.h"
#include "Project/Operations/OperationSaveProject.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli new --format FMT OUT.fwp\n"
    "\n"
    "Starts a new project in the timecode format FMT (24, 25, 30df or 30) and saves it\n"
    "as the project file OUT.fwp.\n"
    "\n"
    "Exit status: 0 on success, 1 when the file cannot be written (the error key goes to\n"
    "standard error), 2 for usage errors.\n";

int run(const std::vector<std::string>& args, std::ostream& /*out*/, std::ostream& err)
{
    const Command self{"new", "", "", nullptr};
    std::optional<int> format;
    CommandArguments arguments(self, CommandArguments::operands(1));
    arguments.option("--format", "--format needs a value", [&](const std::string& value) {
        format = parseFormatName(value);
        if (!format) {
            throw CommandArguments::Problem{"unknown format '" + value + "'"};
        }
    });
    if (const std::optional<int> usage = arguments.parse(args, err)) {
        return *usage;
    }
    const std::vector<std::string> operands = arguments.leftovers();
    const std::optional<std::string> path =
        operands.empty() ? std::nullopt : std::optional<std::string>(operands[0]);
    if (!format) {
        return usageError(self, "give --format", err);
    }
    if (!path) {
        return usageError(self, "give the project file to write", err);
    }
    ProjectSession session;
    if (!session.project().submit(new Project::OperationNewProject(*format)) ||
        !session.project().submit(new Project::OperationSaveProject(Platform::fromUtf8(*path)))) {
        return reportFailure("new", session.lastError(), err);
    }
    return kSuccess;
}

Command newCommand()
{
    return {"new", "write an empty project file in a timecode format", kHelp, run};
}

}  // namespace

const CommandRegistrar registrar(20, newCommand);

}  // namespace Cli
