// skyfirewright-cli info: everything a project file holds, as the program reads it, in one
// JSON object.

#include <ostream>
#include <string>
#include <vector>

#include "CliProject.h"
#include "CommandLine.h"
#include "JsonText.h"
#include "Project/Cue.h"
#include "Project/CueCommand.h"
#include "Project/KeyValueList.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli info PROJECT.fwp [--salvage]\n"
    "\n"
    "Opens a project file as the program does and prints one JSON object:\n"
    "  format (0 24 fps, 1 25 fps, 2 30 drop-frame, 3 30 fps), audioOffset, waveLinked,\n"
    "  metadata ([key, value] pairs) and cues in list order, each with id, number,\n"
    "  timecode, frame, prefire, duration, group, groupName, quantity, pyroType, type\n"
    "  (pyro, dmx, reminder), address, universe, value, dmxText, chasePath, chaseBpm,\n"
    "  steps (each a list of [channel, value, safety, slowSafety]), reminder, metadata and\n"
    "  fixtureValues ([channel, value, extra, dynamic, safety]).\n"
    "Texts the project stores as bytes appear as the characters U+0000 to U+00FF.\n"
    "\n"
    "Exit status: 0 on success, 1 when the file cannot be opened (the error key goes to\n"
    "standard error), 2 for usage errors.\n";

Json pairs(const Project::KeyValueList& list)
{
    Json items = Json::array();
    for (int i = 0; i < list.size(); ++i) {
        items.push_back({JsonText::utf8(*list.keyAt(i)), JsonText::utf8(*list.valueAt(i))});
    }
    return items;
}

const char* typeName(int type)
{
    switch (type) {
        case Project::CueCommand::TYPE_PYRO: return "pyro";
        case Project::CueCommand::TYPE_DMX512: return "dmx";
        case Project::CueCommand::TYPE_REMINDER: return "reminder";
        default: return "unknown";
    }
}

Json cueJson(const Project::Cue& cue)
{
    const Project::CueCommand& command = cue.getCommand();
    Json steps = Json::array();
    for (const Project::DmxStep& step : cue.getDmxSteps()) {
        Json values = Json::array();
        for (const Project::DmxChannelValue& v : step) {
            values.push_back({v.getChannel(), v.getValue(), v.isSafety(), v.isSlowSafety()});
        }
        steps.push_back(values);
    }
    Json fixtureValues = Json::array();
    for (const Project::DmxChannelValue& v : cue.getFixtureChannelValues()) {
        fixtureValues.push_back(
            {v.getChannel(), v.getValue(), v.getExtra(), v.isDynamic(), v.isSafety()});
    }
    Json object;
    object["id"] = cue.getId();
    object["number"] = cue.getNumber();
    object["timecode"] = cue.getTimecode().toNarrowString();
    object["frame"] = cue.getTimecode().getFrameNo();
    object["prefire"] = cue.getPrefireTime();
    object["duration"] = cue.getDuration();
    object["group"] = cue.getGroup();
    object["groupName"] = JsonText::bytes(cue.getGroupName());
    object["quantity"] = cue.getQuantity();
    object["pyroType"] = cue.getPyroType();
    object["type"] = typeName(command.getType());
    object["address"] = command.getAddress();
    object["universe"] = command.getUniverse();
    object["value"] = command.getValue();
    object["dmxText"] = JsonText::bytes(command.getDmxText());
    object["chasePath"] = command.getChasePath();
    object["chaseBpm"] = command.getChaseBpm();
    object["steps"] = steps;
    object["reminder"] = JsonText::bytes(cue.getReminderText());
    object["metadata"] = pairs(cue.getMetadata());
    object["fixtureValues"] = fixtureValues;
    return object;
}

int run(const std::vector<std::string>& given, std::ostream& out, std::ostream& err)
{
    Project::Salvage salvage = Project::Salvage::REFUSE;
    const std::vector<std::string> args = takeSalvageOption(given, salvage);
    const Command self{"info", "", "", nullptr};
    if (args.size() != 1 || args[0].starts_with("--")) {
        return usageError(self, "give one project file", err);
    }
    ProjectSession session;
    session.setSalvage(salvage, "info", err);
    if (!session.open(args[0])) {
        return reportFailure("info", session.lastError(), err);
    }
    const Project::ProjectData& data = session.data();
    Json cues = Json::array();
    const Project::CueList& list = data.getCueList();
    for (const Project::CueList::CueItem* cue = list.first(); cue != list.end();
         cue = cue->getNext()) {
        cues.push_back(cueJson(*cue));
    }
    Json object;
    object["format"] = data.getFormat();
    object["audioOffset"] = data.getAudioOffset().toNarrowString();
    object["waveLinked"] = data.isWaveLinked();
    object["metadata"] = pairs(data.getMetadata());
    object["cues"] = cues;
    out << JsonText::line(object) << "\n";
    return kSuccess;
}

Command infoCommand()
{
    return {"info", "print a project file's data as JSON", std::string(kHelp) + kSalvageHelp, run};
}

}  // namespace

const CommandRegistrar registrar(21, infoCommand);

}  // namespace Cli
