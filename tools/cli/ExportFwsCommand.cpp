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

int run(const std::vector<std::string>& arguments, std::ostream& /*out*/, std::ostream& err)
{
    Project::Salvage salvage = Project::Salvage::REFUSE;
    const std::vector<std::string> args = takeSalvageOption(arguments, salvage);
    const Command self{"export-fws", "", "", nullptr};
    std::vector<std::string> paths;
    std::optional<long long> seed;
    std::optional<long long> time;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--seed" || args[i] == "--time") {
            if (i + 1 >= args.size()) {
                return usageError(self, args[i] + " needs a number", err);
            }
            const std::optional<long long> value = parseNumber(args[i + 1]);
            if (!value || *value < 0) {
                return usageError(self, "bad number '" + args[i + 1] + "'", err);
            }
            (args[i] == "--seed" ? seed : time) = value;
            ++i;
        } else if (args[i].starts_with("--")) {
            return usageError(self, "unknown option '" + args[i] + "'", err);
        } else {
            paths.push_back(args[i]);
        }
    }
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
