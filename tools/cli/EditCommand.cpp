// skyfirewright-cli edit: runs a script of edits through the project's operations, undo and
// redo exactly as the program's commands do, and saves the result. Each step's outcome and
// the undo state after it are printed, so a script shows how the history behaves.

#include <climits>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CliProject.h"
#include "CommandArguments.h"
#include "CommandLine.h"
#include "Platform/Utf.h"
#include "Project/EffectList.h"
#include "Project/FixtureList.h"
#include "Project/FixturePatch.h"
#include "Project/Operations/EffectFile.h"
#include "Project/Operations/OperationAddCue.h"
#include "Project/Operations/OperationApplyEffect.h"
#include "Project/Operations/OperationAutoSetPyroAddresses.h"
#include "Project/Operations/OperationCueTimecodes.h"
#include "Project/Operations/OperationDeleteCueSelection.h"
#include "Project/Operations/OperationDuplicateCue.h"
#include "Project/Operations/OperationLinkWave.h"
#include "Project/Operations/OperationPatchFixtures.h"
#include "Project/Operations/OperationRenameCueMeta.h"
#include "Project/Operations/OperationResetCue.h"
#include "Project/Operations/OperationSaveProject.h"
#include "Project/Operations/OperationSelectAll.h"
#include "Project/Operations/OperationSelection.h"
#include "Project/Operations/OperationSetAudioOffset.h"
#include "Project/Operations/OperationSetCueMeta.h"
#include "Project/Operations/OperationSetCueValue.h"
#include "Project/Operations/OperationSetGroupName.h"
#include "Project/Operations/OperationSetReminder.h"
#include "Project/Operations/PresetFile.h"
#include "Timecode/TimecodeParser.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli edit PROJECT.fwp --ops OPS.txt --out OUT.fwp [--salvage]\n"
    "\n"
    "Opens the project, runs one step per line of OPS.txt as the program's commands do\n"
    "(operations through the project, with its undo and redo) and saves the project to\n"
    "OUT.fwp. After each step one line is printed:\n"
    "  ok|failed KEY undo=KEY redo=KEY modified=0|1\n"
    "A failed step is reported there and the script goes on. Empty lines and lines\n"
    "starting with # are skipped. Numbers are decimal or hexadecimal with 0x; TC is a\n"
    "timecode text as typed in the program (hh:mm:ss:ff, or digits split from the right).\n"
    "\n"
    "  select all | select none | select N[,N...]   select cues by number\n"
    "  add-pyro TC | add-dmx TC [END] | add-reminder TC\n"
    "  duplicate | delete | reset                   on the selected cues\n"
    "  set-timecode TC | timecode-delta FRAMES\n"
    "  set-value KIND VALUE [relative]              KIND 0..12; for KIND 11 (DMX text) the\n"
    "                                               rest of the line is the text. A value\n"
    "                                               the program's field would refuse fails\n"
    "                                               with its key (ERROR.VALUE.GROUP, ...)\n"
    "  set-reminder TEXT | set-group-name TEXT      the rest of the line\n"
    "  set-meta KEY VALUE [all] | rename-meta OLD NEW\n"
    "  auto-address                                 addresses for the selected pyro cues\n"
    "  audio-offset TC | link-wave PATH | unlink-wave\n"
    "  apply-effect LIBRARY.fwe INDEX               the INDEX-th (from 0) effect of the file\n"
    "  patch PRESETS.fwf INDEX[,INDEX...] START COUNT MODE LOCATION [LIST]\n"
    "                                               presets by index (from 0), MODE 0..7,\n"
    "                                               LOCATION 1..4, LIST the manual entry\n"
    "  undo | redo\n"
    "  check                                        failed KEY when a cue cannot fire: the\n"
    "                                               key of the first such cue's reason\n"
    "  save PATH                                    save as the program's save command\n"
    "\n"
    "Exit status: 0 when the project was opened, the script read and OUT.fwp written;\n"
    "1 when one of these failed (the error key goes to standard error); 2 for usage errors,\n"
    "including a script line that cannot be read (with its line number).\n";

std::vector<std::string> splitWords(const std::string& line)
{
    std::istringstream stream(line);
    std::vector<std::string> words;
    std::string word;
    while (stream >> word) {
        words.push_back(word);
    }
    return words;
}

// The text after the first `count` words of the line.
std::string restAfter(const std::string& line, std::size_t count)
{
    std::size_t position = 0;
    for (std::size_t i = 0; i < count; ++i) {
        position = line.find_first_not_of(" \t", position);
        position = line.find_first_of(" \t", position);
        if (position == std::string::npos) {
            return "";
        }
    }
    position = line.find_first_not_of(" \t", position);
    return position == std::string::npos ? "" : line.substr(position);
}

class Script {
public:
    Script(ProjectSession& session, std::ostream& out) : session_(session), out_(out) {}

    // Runs one line and prints its outcome. False, with the reason in badLine(), for a line
    // that cannot be read; nothing is submitted then.
    bool step(const std::string& line)
    {
        const std::vector<std::string> words = splitWords(line);
        if (words.empty() || words[0].starts_with("#")) {
            return true;
        }
        Project::Project& project = session_.project();
        project.setLastError(L"");
        bad_.clear();
        const bool ok = run(words, line);
        if (!bad_.empty()) {
            return false;
        }
        out_ << (ok ? "ok" : "failed " + Platform::toUtf8(project.getLastError()))
             << " undo=" << Platform::toUtf8(project.getUndoText())
             << " redo=" << Platform::toUtf8(project.getRedoText())
             << " modified=" << (project.isModified() ? 1 : 0) << "\n";
        return true;
    }

    const std::string& badLine() const { return bad_; }

private:
    // A value that cannot be read marks the line bad (the first reason counts); a bad line
    // submits nothing.
    bool refuse(const std::string& reason)
    {
        if (bad_.empty()) {
            bad_ = reason;
        }
        return false;
    }

    long long number(const std::string& text)
    {
        const std::optional<long long> value = parseNumber(text);
        if (!value) {
            refuse("bad number '" + text + "'");
            return 0;
        }
        return *value;
    }

    // A number that an int holds; a larger one is refused rather than cut to its low bits
    // (4294967340 used to become 44). A command word may also be given as 0x80000000 and up.
    int intNumber(const std::string& text, bool word = false)
    {
        const long long value = number(text);
        if (word && value >= 0 && value <= static_cast<long long>(UINT32_MAX)) {
            return static_cast<int>(static_cast<uint32_t>(value));
        }
        if (value < INT_MIN || value > INT_MAX) {
            refuse("number out of range '" + text + "'");
            return 0;
        }
        return static_cast<int>(value);
    }

    std::vector<long long> numberList(const std::string& text)
    {
        std::vector<long long> values;
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = text.find(',', start);
            values.push_back(number(text.substr(start, comma - start)));
            if (comma == std::string::npos) {
                return values;
            }
            start = comma + 1;
        }
    }

    bool wordCountIn(const std::vector<std::string>& words, std::size_t least, std::size_t most)
    {
        return (words.size() >= least && words.size() <= most) ||
               refuse("wrong number of values for '" + words[0] + "'");
    }

    int format() const { return session_.data().getFormat(); }

    SMPTE timecode(const std::string& text) const
    {
        return SMPTE::fromFrameNo(format(), parseTimecode(Platform::fromUtf8(text), format()));
    }

    bool submit(Project::IOperation* operation)
    {
        if (!bad_.empty()) {
            delete operation;
            return false;
        }
        return session_.project().submit(operation);
    }

    bool select(const std::string& which)
    {
        if (which == "all" || which == "none") {
            return submit(new Project::OperationSelectAll(which == "all"));
        }
        std::set<long long> numbers;
        for (const long long n : numberList(which)) {
            numbers.insert(n);
        }
        // Only cues whose flag changes are named, so that undo inverts exactly those.
        std::map<int, bool> flags;
        const Project::CueList& cues = session_.data().getCueList();
        for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
             cue = cue->getNext()) {
            const bool selected = numbers.count(cue->getNumber()) != 0;
            if (selected != cue->isSelected()) {
                flags[cue->getId()] = selected;
            }
        }
        return submit(new Project::OperationSelection(flags));
    }

    bool applyEffect(const std::vector<std::string>& words)
    {
        if (!wordCountIn(words, 3, 3)) {
            return false;
        }
        const long long index = number(words[2]);
        Project::EffectList effects;
        std::wstring error;
        if (!bad_.empty()) {
            return false;
        }
        if (!Project::EffectFile::load(Platform::fromUtf8(words[1]), effects, error,
                                       session_.getSalvage())) {
            return failWith(error);
        }
        long long i = 0;
        for (const Project::EffectList::EffectItem* effect : effects) {
            if (i++ == index) {
                return submit(new Project::OperationApplyEffect(*effect));
            }
        }
        return refuse("the library has no effect " + words[2]);
    }

    bool patch(const std::vector<std::string>& words)
    {
        if (!wordCountIn(words, 7, 8)) {
            return false;
        }
        Project::FixtureStore store;
        Project::FixtureList list;
        std::wstring error;
        if (!Project::PresetFile::load(Platform::fromUtf8(words[1]), store, list, error,
                                       session_.getSalvage())) {
            list.clear();
            return failWith(error);
        }
        std::vector<Project::Fixture*> fixtures;
        for (const long long index : numberList(words[2])) {
            if (index < 0 || index >= static_cast<long long>(store.size())) {
                refuse("the preset file has no preset " + std::to_string(index));
                break;
            }
            fixtures.push_back(store[static_cast<std::size_t>(index)].get());
        }
        Project::PatchSettings settings;
        settings.startAddress = intNumber(words[3]);
        settings.deviceCount = intNumber(words[4]);
        settings.patchMode = static_cast<Project::PatchMode>(intNumber(words[5]));
        settings.locationMode = static_cast<Project::LocationMode>(intNumber(words[6]));
        if (words.size() == 8) {
            settings.manualEntry = Platform::fromUtf8(words[7]);
        }
        const bool ok = submit(new Project::OperationPatchFixtures(fixtures, settings));
        // The presets are read during execute only; the list lets go of them first.
        list.clear();
        return ok;
    }

    static bool failWith(const std::wstring& key)
    {
        Project::Project::getInstance()->setLastError(key);
        return false;
    }

    bool run(const std::vector<std::string>& words, const std::string& line)
    {
        const std::string& verb = words[0];
        Project::Project& project = session_.project();
        if (verb == "select") {
            if (!wordCountIn(words, 2, 2)) {
                return false;
            }
            return select(words[1]);
        }
        if (verb == "add-pyro" || verb == "add-reminder") {
            if (!wordCountIn(words, 2, 2)) {
                return false;
            }
            if (verb == "add-pyro") {
                return submit(new Project::OperationAddPyroCue(timecode(words[1])));
            }
            return submit(new Project::OperationAddReminderCue(timecode(words[1])));
        }
        if (verb == "add-dmx") {
            if (!wordCountIn(words, 2, 3)) {
                return false;
            }
            const SMPTE start = timecode(words[1]);
            return submit(new Project::OperationAddDMXCue(
                start, words.size() == 3 ? timecode(words[2]) : start));
        }
        if (verb == "duplicate" || verb == "delete" || verb == "reset" || verb == "undo" ||
            verb == "redo" || verb == "check" || verb == "auto-address" || verb == "unlink-wave") {
            if (!wordCountIn(words, 1, 1)) {
                return false;
            }
            if (verb == "duplicate") {
                return submit(new Project::OperationDuplicateCue());
            }
            if (verb == "delete") {
                return submit(new Project::OperationDeleteCueSelection());
            }
            if (verb == "reset") {
                return submit(new Project::OperationResetCue());
            }
            if (verb == "undo") {
                return project.undo();
            }
            if (verb == "redo") {
                return project.redo();
            }
            if (verb == "unlink-wave") {
                return submit(new Project::OperationUnlinkWave());
            }
            if (verb == "check") {
                // A cue that cannot fire leaves the key of its reason as the last error.
                return project.checkCues();
            }
            std::vector<int> order;
            const Project::CueList& cues = session_.data().getCueList();
            for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
                 cue = cue->getNext()) {
                order.push_back(cue->getId());
            }
            return submit(new Project::OperationAutoSetPyroAddresses(order));
        }
        if (verb == "set-timecode") {
            if (!wordCountIn(words, 2, 2)) {
                return false;
            }
            return submit(new Project::OperationSetTimecode(timecode(words[1]).getFrameNo()));
        }
        if (verb == "timecode-delta") {
            if (!wordCountIn(words, 2, 2)) {
                return false;
            }
            return submit(new Project::OperationTimecodeDelta(intNumber(words[1])));
        }
        if (verb == "set-value") {
            if (words.size() >= 2 && number(words[1]) == Project::OperationSetCueValue::DMX_TEXT) {
                return submit(
                    new Project::OperationSetCueValue(Platform::fromUtf8(restAfter(line, 2))));
            }
            if (!wordCountIn(words, 3, 4)) {
                return false;
            }
            if (words.size() == 4 && words[3] != "relative") {
                return refuse("expected 'relative', not '" + words[3] + "'");
            }
            // The value is checked by the operation, as the program's fields check it.
            const int type = intNumber(words[1]);
            return submit(new Project::OperationSetCueValue(
                type, intNumber(words[2], type == Project::OperationSetCueValue::COMMAND_WORD),
                words.size() == 4));
        }
        if (verb == "set-reminder") {
            return submit(
                new Project::OperationSetReminder(Platform::fromUtf8(restAfter(line, 1))));
        }
        if (verb == "set-group-name") {
            return submit(
                new Project::OperationSetGroupName(Platform::fromUtf8(restAfter(line, 1))));
        }
        if (verb == "set-meta") {
            if (!wordCountIn(words, 3, 4)) {
                return false;
            }
            if (words.size() == 4 && words[3] != "all") {
                return refuse("expected 'all', not '" + words[3] + "'");
            }
            return submit(new Project::OperationSetCueMeta(
                Platform::fromUtf8(words[1]), Platform::fromUtf8(words[2]), words.size() == 4));
        }
        if (verb == "rename-meta") {
            if (!wordCountIn(words, 3, 3)) {
                return false;
            }
            return submit(new Project::OperationRenameCueMeta(Platform::fromUtf8(words[1]),
                                                              Platform::fromUtf8(words[2])));
        }
        if (verb == "audio-offset") {
            if (!wordCountIn(words, 2, 2)) {
                return false;
            }
            return submit(new Project::OperationSetAudioOffset(timecode(words[1])));
        }
        if (verb == "link-wave") {
            return submit(new Project::OperationLinkWave(Platform::fromUtf8(restAfter(line, 1))));
        }
        if (verb == "apply-effect") {
            return applyEffect(words);
        }
        if (verb == "patch") {
            return patch(words);
        }
        if (verb == "save") {
            return submit(
                new Project::OperationSaveProject(Platform::fromUtf8(restAfter(line, 1))));
        }
        return refuse("unknown step '" + verb + "'");
    }

    ProjectSession& session_;
    std::ostream& out_;
    // Why the current line cannot be read; empty while it can.
    std::string bad_;
};

int run(const std::vector<std::string>& given, std::ostream& out, std::ostream& err)
{
    Project::Salvage salvage = Project::Salvage::REFUSE;
    const std::vector<std::string> args = takeSalvageOption(given, salvage);
    const Command self{"edit", "", "", nullptr};
    std::optional<std::string> ops;
    std::optional<std::string> output;
    CommandArguments arguments(self, CommandArguments::operands(1));
    arguments.option("--ops", "--ops needs a file", [&](const std::string& value) { ops = value; });
    arguments.option("--out", "--out needs a file",
                     [&](const std::string& value) { output = value; });
    if (const std::optional<int> usage = arguments.parse(args, err)) {
        return *usage;
    }
    const std::vector<std::string> operands = arguments.leftovers();
    const std::optional<std::string> project =
        operands.empty() ? std::nullopt : std::optional<std::string>(operands[0]);
    if (!project || !ops || !output) {
        return usageError(self, "give PROJECT.fwp, --ops and --out", err);
    }
    std::ifstream script(*ops, std::ios::binary);
    if (!script) {
        err << "skyfirewright-cli edit: " << *ops << ": cannot be read\n";
        return kFailure;
    }
    ProjectSession session;
    session.setSalvage(salvage, "edit", err);
    if (!session.open(*project)) {
        return reportFailure("edit", session.lastError(), err);
    }
    Script steps(session, out);
    std::string line;
    int lineNumber = 0;
    while (std::getline(script, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!steps.step(line)) {
            return usageError(
                self, *ops + ":" + std::to_string(lineNumber) + ": " + steps.badLine(), err);
        }
    }
    if (!session.project().submit(new Project::OperationSaveProject(Platform::fromUtf8(*output)))) {
        return reportFailure("edit", session.lastError(), err);
    }
    return kSuccess;
}

Command editCommand()
{
    return {"edit", "run a script of edits, undo and redo on a project and save it",
            std::string(kHelp) + kSalvageHelp, run};
}

}  // namespace

const CommandRegistrar registrar(22, editCommand);

}  // namespace Cli
