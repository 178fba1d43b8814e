#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// The command-line program is one dispatcher over subcommands. Each subcommand has a name,
// a one-line summary for the overview, a help text, and a run function that gets the
// arguments after its name and returns the process exit code:
// 0 success, 1 the operation failed, 2 usage error.
namespace Cli {

enum ExitCode { kSuccess = 0, kFailure = 1, kUsage = 2 };

struct Command {
    std::string name;
    std::string summary;
    std::string help;
    std::function<int(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)>
        run;
};

// Every subcommand, in the order the overview lists them (by their order key, then name).
const std::vector<Command>& commands();

// Each subcommand's source file registers it with a static registrar:
//     const Cli::CommandRegistrar registrar(30, makeWaveInfoCommand);
// The commands are built into an object library, so every registrar is linked in.
struct CommandRegistrar {
    CommandRegistrar(int order, Command (*make)());
};

int dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Reports a usage error for a subcommand and returns kUsage.
int usageError(const Command& command, const std::string& message, std::ostream& err);

}  // namespace Cli
