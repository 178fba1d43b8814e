// skyfirewright-cli library-info: what the program reads from an effect library file or a
// fixture preset file, as JSON.

#include <ostream>
#include <string>
#include <vector>

#include "CliProject.h"
#include "CommandLine.h"
#include "FileIO/RiffFileReader.h"
#include "JsonText.h"
#include "Platform/Utf.h"
#include "Project/EffectList.h"
#include "Project/FixtureList.h"
#include "Project/Operations/EffectFile.h"
#include "Project/Operations/PresetFile.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli library-info FILE.fwe|FILE.fwf [--salvage]\n"
    "\n"
    "Reads an effect library file or a fixture preset file (told apart by its RIFF form)\n"
    "as the program loads a chosen library file, and prints one JSON object:\n"
    "  {\"effects\": [...]} with description, articleNumber, duration, caliber, price,\n"
    "  manufacturer, prefire, height, color, type, angle, vanShape, classification, weight,\n"
    "  distance, id and databaseId per effect (duplicates dropped, as the library does), or\n"
    "  {\"fixtures\": [...]} with description, manufacturer, productName, channelCount,\n"
    "  comments, duration, id and channels ([channel, value, extra, dynamic, safety,\n"
    "  slowSafety]) per preset.\n"
    "\n"
    "Exit status: 0 on success, 1 when the file cannot be read or is neither kind (the\n"
    "error key goes to standard error), 2 for usage errors.\n";

Json effectsJson(const Project::EffectList& effects)
{
    Json items = Json::array();
    for (const Project::EffectList::EffectItem* e : effects) {
        Json object;
        object["description"] = JsonText::utf8(e->getDescription());
        object["articleNumber"] = JsonText::utf8(e->getArticleNumber());
        object["duration"] = e->getDuration();
        object["caliber"] = JsonText::utf8(e->getCaliber());
        object["price"] = e->getPrice();
        object["manufacturer"] = JsonText::utf8(e->getManufacturer());
        object["prefire"] = e->getPrefire();
        object["height"] = e->getHeight();
        object["color"] = JsonText::utf8(e->getColor());
        object["type"] = JsonText::utf8(e->getType());
        object["angle"] = JsonText::utf8(e->getAngle());
        object["vanShape"] = JsonText::utf8(e->getVanShape());
        object["classification"] = JsonText::utf8(e->getClassification());
        object["weight"] = e->getWeight();
        object["distance"] = JsonText::utf8(e->getDistance());
        object["id"] = e->getId();
        object["databaseId"] = e->getDatabaseId();
        items.push_back(object);
    }
    Json all;
    all["effects"] = items;
    return all;
}

Json fixturesJson(const Project::FixtureList& list)
{
    Json items = Json::array();
    for (const Project::Fixture* f : list) {
        Json channels = Json::array();
        for (const Project::Fixture::ChannelItem* c = f->getFirstChannel(); c != nullptr;
             c = c->getNext()) {
            channels.push_back({c->getChannel(), c->getValue(), c->getExtra(), c->isDynamic(),
                                c->isSafety(), c->isSlowSafety()});
        }
        Json object;
        object["description"] = JsonText::utf8(f->getDescription());
        object["manufacturer"] = JsonText::utf8(f->getManufacturer());
        object["productName"] = JsonText::utf8(f->getProductName());
        object["channelCount"] = f->getChannelCount();
        object["comments"] = JsonText::utf8(f->getComments());
        object["duration"] = f->getDuration();
        object["id"] = f->getId();
        object["channels"] = channels;
        items.push_back(object);
    }
    Json all;
    all["fixtures"] = items;
    return all;
}

int run(const std::vector<std::string>& given, std::ostream& out, std::ostream& err)
{
    Project::Salvage salvage = Project::Salvage::REFUSE;
    const std::vector<std::string> args = takeSalvageOption(given, salvage);
    const Command self{"library-info", "", "", nullptr};
    if (args.size() != 1 || args[0].starts_with("--")) {
        return usageError(self, "give one library file", err);
    }
    const std::wstring path = Platform::fromUtf8(args[0]);
    // Opened within the larger of the two libraries' element limits; each reader checks
    // its own limits while reading.
    FileIO::RiffFileReader reader;
    if (!Project::PresetFile::open(reader, path)) {
        return reportFailure("library-info", L"ERROR.FAILED_TO_OPEN_FILE_FOR_READING", err);
    }
    const bool effects = Project::EffectFile::isEffectFile(reader);
    if (!effects && !Project::PresetFile::isPresetFile(reader)) {
        return reportFailure("library-info", L"ERROR.INVALID_FWP_TODO", err);
    }
    std::wstring error;
    if (!Project::FileDamage::accept(reader, salvage, error)) {
        return reportFailure("library-info", error, err);
    }
    if (reader.isDamaged()) {
        reportSalvaged("library-info", err);
    }
    if (effects) {
        Project::EffectList list;
        if (!Project::EffectFile::read(reader, list, error, salvage)) {
            return reportFailure("library-info", error, err);
        }
        out << JsonText::line(effectsJson(list)) << "\n";
        return kSuccess;
    }
    Project::FixtureStore store;
    Project::FixtureList list;
    if (!Project::PresetFile::read(reader, store, list, error, salvage)) {
        list.clear();
        return reportFailure("library-info", error, err);
    }
    out << JsonText::line(fixturesJson(list)) << "\n";
    return kSuccess;
}

Command libraryInfoCommand()
{
    return {"library-info", "print an effect library or preset file as JSON",
            std::string(kHelp) + kSalvageHelp, run};
}

}  // namespace

const CommandRegistrar registrar(25, libraryInfoCommand);

}  // namespace Cli
