#include "CommandLine.h"

#include <algorithm>
#include <ostream>
#include <utility>

namespace Cli {

namespace {

const char* kProgram = "skyfirewright-cli";

void printOverview(std::ostream& out)
{
    out << "Usage: " << kProgram << " COMMAND [ARGUMENTS]\n"
        << "       " << kProgram << " help COMMAND\n\n"
        << "Skyfirewright on the command line.\n\nCommands:\n";
    for (const Command& command : commands()) {
        out << "  " << command.name
            << std::string(14 - std::min<size_t>(13, command.name.size()), ' ') << command.summary
            << "\n";
    }
}

const Command* find(const std::string& name)
{
    for (const Command& command : commands()) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

}  // namespace

namespace {

struct Registration {
    int order;
    Command (*make)();
};

// Function-local so that registrars in other files can run before or after this one's
// statics: the order of static initialisation across files is unspecified.
std::vector<Registration>& registrations()
{
    static std::vector<Registration> all;
    return all;
}

}  // namespace

CommandRegistrar::CommandRegistrar(int order, Command (*make)())
{
    registrations().push_back({order, make});
}

const std::vector<Command>& commands()
{
    static const std::vector<Command> all = [] {
        std::vector<std::pair<int, Command>> built;
        for (const Registration& registration : registrations()) {
            built.emplace_back(registration.order, registration.make());
        }
        std::sort(built.begin(), built.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
        });
        std::vector<Command> sorted;
        for (auto& entry : built) {
            sorted.push_back(std::move(entry.second));
        }
        return sorted;
    }();
    return all;
}

int usageError(const Command& command, const std::string& message, std::ostream& err)
{
    err << kProgram << " " << command.name << ": " << message << "\n"
        << "Try '" << kProgram << " help " << command.name << "'.\n";
    return kUsage;
}

int dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        printOverview(err);
        return kUsage;
    }
    const std::string& name = args.front();
    if (name == "help" || name == "--help" || name == "-h") {
        if (args.size() < 2) {
            printOverview(out);
            return kSuccess;
        }
        if (const Command* command = find(args[1])) {
            out << command->help;
            return kSuccess;
        }
        err << kProgram << ": unknown command '" << args[1] << "'\n";
        return kUsage;
    }
    const Command* command = find(name);
    if (!command) {
        err << kProgram << ": unknown command '" << name << "'\n\n";
        printOverview(err);
        return kUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const std::string& arg : rest) {
        if (arg == "--help" || arg == "-h") {
            out << command->help;
            return kSuccess;
        }
    }
    return command->run(rest, out, err);
}

}  // namespace Cli
