// skyfirewright-cli export-fws: the show file of a project for the firing system, with the
// random tags and the export time under control so that a file can be reproduced.

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "CliProject.h"
#include "CommandArguments.h"
#include "CommandLine.h"
#include "Platform/Utf.h"
#include "Project/Operations/OperationSaveQuelist.h"
#include "Project/Operations/ShowFile.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli export-fws PROJECT.fwp OUT.fws [--seed N] [--time SECONDS]\n"
    "                                  [--salvage]\n"
    "\n"
    "Opens the project and exports the show file for the firing system as the program\n"
    "does.\n"
    "\n"
    "  --seed N          seeds the generator of the parallel tags and the trailer's random\n"
    "                    byte (0 or more); the same seed gives the same bytes\n"
    "  --time SECONDS    the export time in the trailer, seconds since 1970-01-01 UTC\n"
    "Without them the tags are random and the time is now.\n"
    "\n"
    "Exit status: 0 on success, 1 when the project cannot be opened or the file cannot be\n"
    "written (the error key goes to standard error), 2 for usage errors.\n";

int run(const std::vector<std::string>& given, std::ostream& /*out*/, std::ostream& err)
{
    Project::Salvage salvage = Project::Salvage::REFUSE;
    const std::vector<std::string> args = takeSalvageOption(given, salvage);
    const Command self{"export-fws", "", "", nullptr};
    std::optional<long long> seed;
    std::optional<long long> time;
    CommandArguments arguments(self, CommandArguments::operands());
    // Both take a whole number of 0 or more.
    const auto number = [](std::optional<long long>& target) {
        return [&target](const std::string& value) {
            target = parseNumber(value);
            if (!target || *target < 0) {
                throw CommandArguments::Problem{"bad number '" + value + "'"};
            }
        };
    };
    arguments.option("--seed", "--seed needs a number", number(seed));
    arguments.option("--time", "--time needs a number", number(time));
    if (const std::optional<int> usage = arguments.parse(args, err)) {
        return *usage;
    }
    const std::vector<std::string> paths = arguments.leftovers();
    if (paths.size() != 2) {
        return usageError(self, "give PROJECT.fwp and OUT.fws", err);
    }
    Project::ShowFile::Options options = Project::ShowFile::defaultOptions();
    if (seed) {
        // A generator of its own, so that the file depends on the seed alone. Its numbers
        // lie in 0..0x7FFF, as rand() gives them at the least.
        auto generator = std::make_shared<std::mt19937>(static_cast<uint32_t>(*seed));
        options.random = [generator] { return static_cast<int>((*generator)() & 0x7FFF); };
    }
    if (time) {
        options.exportTime = *time;
    }
    ProjectSession session;
    session.setSalvage(salvage, "export-fws", err);
    if (!session.open(paths[0]) || !session.project().submit(new Project::OperationSaveQuelist(
                                       Platform::fromUtf8(paths[1]), options))) {
        return reportFailure("export-fws", session.lastError(), err);
    }
    return kSuccess;
}

Command exportFwsCommand()
{
    return {"export-fws", "export a project's show file for the firing system",
            std::string(kHelp) + kSalvageHelp, run};
}

}  // namespace

const CommandRegistrar registrar(24, exportFwsCommand);

}  // namespace Cli
