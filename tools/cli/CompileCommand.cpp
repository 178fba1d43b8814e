// skyfirewright-cli compile: the command words a project compiles into for one show mode,
// for checking a show before it is fired and for testing the compiler end to end.

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CliProject.h"
#include "CommandArguments.h"
#include "CommandLine.h"
#include "Controller/CompiledProject.h"
#include "Platform/Clock.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/ProjectData.h"
#include "ShowModeArgument.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli compile PROJECT.fwp --mode audio|clock-out|clock-in|manual\n"
    "                               [--salvage]\n"
    "\n"
    "Compiles the project's cues into the firing controller's command words, as show mode\n"
    "does, and prints one line per command, group by group in ascending group number:\n"
    "  group=G index=I word=0xHHHHHHHH cue=N\n"
    "where I counts from 0 within the group and N is the number of the cue the command\n"
    "stands for, or - for a wait, delay or DMX duration word. Reminders and cues the\n"
    "controller cannot carry out produce no commands: a pyro cue without an address or with\n"
    "one above FFF, a DMX cue without a channel (a DMX text alone) or with its universe,\n"
    "channel or value out of range, and a cue with a negative prefire, a firing moment\n"
    "before 00:00:00:00 or at 24:00:00:00 or later, or a prefire longer than a step's delay\n"
    "holds; the show command's cue check names them.\n"
    "\n"
    "  audio      one wait for the PC's trigger per time slot (the soundtrack clocks the show)\n"
    "  clock-out  one timecode wait per time slot; the controller's own clock is sent out\n"
    "  clock-in   one timecode wait per time slot; the controller follows incoming timecode\n"
    "  manual     one group per firing group, one operator step per timecode, prefire as\n"
    "             delays inside the step\n"
    "\n"
    "Exit status: 0 on success, 1 when the project cannot be read (the reason goes to\n"
    "standard error), 2 for usage errors.\n";

int run(const std::vector<std::string>& given, std::ostream& out, std::ostream& err)
{
    Project::Salvage salvage = Project::Salvage::REFUSE;
    const std::vector<std::string> args = takeSalvageOption(given, salvage);
    const Command self{"compile", "", "", nullptr};
    std::optional<int> mode;
    CommandArguments arguments(
        self, [](const std::string& arg, std::size_t index) -> std::optional<std::string> {
            if (!arg.empty() && arg[0] == '-') {
                return "unknown option " + arg;
            }
            if (index > 0) {
                return "give one project file";
            }
            return std::nullopt;
        });
    arguments.option("--mode", "--mode needs a value", [&](const std::string& value) {
        mode = parseShowMode(value);
        if (!mode) {
            throw CommandArguments::Problem{"unknown mode " + value};
        }
    });
    if (const std::optional<int> usage = arguments.parse(args, err)) {
        return *usage;
    }
    const std::vector<std::string> operands = arguments.leftovers();
    const std::optional<std::string> path =
        operands.empty() ? std::nullopt : std::optional<std::string>(operands[0]);
    if (!path) {
        return usageError(self, "give a project file", err);
    }
    if (!mode) {
        return usageError(self, "give --mode", err);
    }

    Project::ProjectData data;
    std::wstring errorKey;
    FileIO::RiffFileReader reader;
    if (!Project::ProjectFile::open(reader, Platform::fromUtf8(*path), salvage, errorKey) ||
        !Project::ProjectFile::read(reader, data, Project::ProjectFile::Mode::OPEN, errorKey,
                                    salvage)) {
        err << "compile: " << *path << ": " << Platform::toUtf8(errorKey) << '\n';
        if (errorKey == Project::FileDamage::kKey) {
            err << "compile: the file is damaged; --salvage opens what can still be read of it\n";
        }
        return kFailure;
    }
    if (reader.isDamaged()) {
        reportSalvaged("compile", err);
    }
    Project::CueList& cues = data.getCueList();
    cues.renumber();
    const auto compiled = Controller::CompiledProject::compile(
        cues, data.getFormat(), *mode, Platform::Clock::steady().frequency());
    for (const auto& [key, group] : compiled->getGroups()) {
        for (int index = 0; index < group.size(); ++index) {
            const Controller::ICommand& command = *group.commands[static_cast<std::size_t>(index)];
            char word[16];
            std::snprintf(word, sizeof word, "0x%08X", static_cast<unsigned>(command.getWord()));
            out << "group=" << key << " index=" << index << " word=" << word << " cue=";
            if (const Project::Cue* cue = command.getCue()) {
                out << cue->getNumber();
            } else {
                out << '-';
            }
            out << '\n';
        }
    }
    return kSuccess;
}

Command compileCommand()
{
    return {"compile", "print the controller's command words of a project for a show mode",
            std::string(kHelp) + kSalvageHelp, run};
}

}  // namespace

const CommandRegistrar registrar(40, compileCommand);

}  // namespace Cli
