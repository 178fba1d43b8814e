// skyfirewright-cli info: everything a project file holds, as the program reads it, in one
// JSON object.

#include <ostream>
#include <string>
#include <vector>

#include "CliProject.h"
#include "CommandLine.h"
#include "JsonWriter.h"
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

std::string pairs(const Project::KeyValueList& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.size(); ++i) {
        items.push_back(Json::array({Json::text(*list.keyAt(i)), Json::text(*list.valueAt(i))}));
    }
    return Json::array(items);
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

std::string cueJson(const Project::Cue& cue)
{
    const Project::CueCommand& command = cue.getCommand();
    std::vector<std::string> steps;
    for (const Project::DmxStep& step : cue.getDmxSteps()) {
        std::vector<std::string> values;
        for (const Project::DmxChannelValue& v : step) {
            values.push_back(
                Json::array({Json::number(v.getChannel()), Json::number(v.getValue()),
                             Json::boolean(v.isSafety()), Json::boolean(v.isSlowSafety())}));
        }
        steps.push_back(Json::array(values));
    }
    std::vector<std::string> fixtureValues;
    for (const Project::DmxChannelValue& v : cue.getFixtureChannelValues()) {
        fixtureValues.push_back(Json::array(
            {Json::number(v.getChannel()), Json::number(v.getValue()), Json::number(v.getExtra()),
             Json::boolean(v.isDynamic()), Json::boolean(v.isSafety())}));
    }
    Json::Object object;
    object.add("id", Json::number(cue.getId()))
        .add("number", Json::number(cue.getNumber()))
        .add("timecode", Json::quoteUtf8(cue.getTimecode().toNarrowString()))
        .add("frame", Json::number(cue.getTimecode().getFrameNo()))
        .add("prefire", Json::number(cue.getPrefireTime()))
        .add("duration", Json::number(cue.getDuration()))
        .add("group", Json::number(cue.getGroup()))
        .add("groupName", Json::bytes(cue.getGroupName()))
        .add("quantity", Json::number(cue.getQuantity()))
        .add("pyroType", Json::number(cue.getPyroType()))
        .add("type", Json::quoteUtf8(typeName(command.getType())))
        .add("address", Json::number(command.getAddress()))
        .add("universe", Json::number(command.getUniverse()))
        .add("value", Json::number(command.getValue()))
        .add("dmxText", Json::bytes(command.getDmxText()))
        .add("chasePath", Json::number(command.getChasePath()))
        .add("chaseBpm", Json::number(command.getChaseBpm()))
        .add("steps", Json::array(steps))
        .add("reminder", Json::bytes(cue.getReminderText()))
        .add("metadata", pairs(cue.getMetadata()))
        .add("fixtureValues", Json::array(fixtureValues));
    return object.str();
}

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    Project::Salvage salvage = Project::Salvage::REFUSE;
    const std::vector<std::string> args = takeSalvageOption(arguments, salvage);
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
    std::vector<std::string> cues;
    const Project::CueList& list = data.getCueList();
    for (const Project::CueList::CueItem* cue = list.first(); cue != list.end();
         cue = cue->getNext()) {
        cues.push_back(cueJson(*cue));
    }
    Json::Object object;
    object.add("format", Json::number(data.getFormat()))
        .add("audioOffset", Json::quoteUtf8(data.getAudioOffset().toNarrowString()))
        .add("waveLinked", Json::boolean(data.isWaveLinked()))
        .add("metadata", pairs(data.getMetadata()))
        .add("cues", Json::array(cues));
    out << object.str() << "\n";
    return kSuccess;
}

Command infoCommand()
{
    return {"info", "print a project file's data as JSON", std::string(kHelp) + kSalvageHelp, run};
}

}  // namespace

const CommandRegistrar registrar(21, infoCommand);

}  // namespace Cli
