// skyfirewright-cli library-info: what the program reads from an effect library file or a
// fixture preset file, as JSON.

#include <ostream>
#include <string>
#include <vector>

#include "CliProject.h"
#include "CommandLine.h"
#include "FileIO/RiffFileReader.h"
#include "JsonWriter.h"
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

std::string effectsJson(const Project::EffectList& effects)
{
    std::vector<std::string> items;
    for (const Project::EffectList::EffectItem* e : effects) {
        Json::Object object;
        object.add("description", Json::text(e->getDescription()))
            .add("articleNumber", Json::text(e->getArticleNumber()))
            .add("duration", Json::number(e->getDuration()))
            .add("caliber", Json::text(e->getCaliber()))
            .add("price", Json::real(e->getPrice()))
            .add("manufacturer", Json::text(e->getManufacturer()))
            .add("prefire", Json::number(e->getPrefire()))
            .add("height", Json::number(e->getHeight()))
            .add("color", Json::text(e->getColor()))
            .add("type", Json::text(e->getType()))
            .add("angle", Json::text(e->getAngle()))
            .add("vanShape", Json::text(e->getVanShape()))
            .add("classification", Json::text(e->getClassification()))
            .add("weight", Json::number(e->getWeight()))
            .add("distance", Json::text(e->getDistance()))
            .add("id", Json::number(e->getId()))
            .add("databaseId", Json::number(e->getDatabaseId()));
        items.push_back(object.str());
    }
    return Json::Object().add("effects", Json::array(items)).str();
}

std::string fixturesJson(const Project::FixtureList& list)
{
    std::vector<std::string> items;
    for (const Project::Fixture* f : list) {
        std::vector<std::string> channels;
        for (const Project::Fixture::ChannelItem* c = f->getFirstChannel(); c != nullptr;
             c = c->getNext()) {
            channels.push_back(
                Json::array({Json::number(c->getChannel()), Json::number(c->getValue()),
                             Json::number(c->getExtra()), Json::boolean(c->isDynamic()),
                             Json::boolean(c->isSafety()), Json::boolean(c->isSlowSafety())}));
        }
        Json::Object object;
        object.add("description", Json::text(f->getDescription()))
            .add("manufacturer", Json::text(f->getManufacturer()))
            .add("productName", Json::text(f->getProductName()))
            .add("channelCount", Json::number(f->getChannelCount()))
            .add("comments", Json::text(f->getComments()))
            .add("duration", Json::number(f->getDuration()))
            .add("id", Json::number(f->getId()))
            .add("channels", Json::array(channels));
        items.push_back(object.str());
    }
    return Json::Object().add("fixtures", Json::array(items)).str();
}

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    Project::Salvage salvage = Project::Salvage::REFUSE;
    const std::vector<std::string> args = takeSalvageOption(arguments, salvage);
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
        out << effectsJson(list) << "\n";
        return kSuccess;
    }
    Project::FixtureStore store;
    Project::FixtureList list;
    if (!Project::PresetFile::read(reader, store, list, error, salvage)) {
        list.clear();
        return reportFailure("library-info", error, err);
    }
    out << fixturesJson(list) << "\n";
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
