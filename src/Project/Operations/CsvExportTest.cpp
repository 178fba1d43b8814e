#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/FileReplacement.h"
#include "Platform/TestFolder.h"
#include "Project/Operations/CsvExport.h"

namespace Project {
namespace {

// Header texts: the last part of each key.
std::wstring shortName(const std::wstring& key)
{
    return key.substr(key.rfind(L'.') + 1);
}

const std::string kHeader =
    "CUENR,TIMECODE,CUETYPE,TYPE,PREFIRE,ADDRESS,VALUE,CALIBERGROUP,LOCATION,ANGLE,QTY,"
    "DURATIONFRAMES,DURATIONSEC,DESCRIPTION,ARTNR,PRICE\r\n";

TEST(CsvExport, WritesOneLinePerCueInFiringOrder)
{
    ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    CueList& cues = data.getCueList();
    Cue* pyro = cues.add(SMPTE(1, 1, 2, 3, 4), CueCommand::pyro(0x1A), 0, 50, 3, -1, "");
    KeyValueList& meta = pyro->getMetadata();
    meta.insert(-1, L"~DESC", L"Red, gold \u0141");  // the comma stays inside the quotes
    meta.insert(-1, L"~TYPE", L"shell");
    meta.insert(-1, L"~POS", L"A");
    meta.insert(-1, L"~ANGLE", L"45");
    meta.insert(-1, L"~ARTNR", L"X1");
    meta.insert(-1, L"~PRICE", L"3.20");
    pyro->setQuantity(6);
    // Fires first: 00:00:10:00 minus 10 frames.
    cues.add(SMPTE(1, 0, 0, 10, 0), CueCommand::dmx(0, 0, 300), 10, 37, 1, -1, "");
    // A reminder with the same firing moment: earlier in the list, so earlier in the file.
    cues.add(SMPTE(1, 0, 0, 9, 15), CueCommand(CueCommand::TYPE_REMINDER), 0, 0, 2, -1,
             "Call \xE4");
    cues.add(SMPTE(1, 2, 0, 0, 0), CueCommand::pyro(-1), 0, 0, 1, -1, "");
    cues.add(SMPTE(1, 2, 0, 0, 1), CueCommand::dmx(0, -1, -5), 0, 0, 1, -1, "");

    EXPECT_EQ(CsvExport::build(data, shortName),
              kHeader +
                  "1,00:00:09:15,NOTE,\"\",0,,,2,\"\",\"\",1,0,0,\"Call \xE4\",\"\",\"0.00\"\r\n"
                  "2,00:00:10:00,DMX,\"\",10,1,0,1,\"\",\"\",1,37,1.48,\"\",\"\",\"0.00\"\r\n"
                  "3,01:02:03:04,PYRO,\"shell\",0,01A,,3,\"A\",\"45\",6,50,2,\"Red, gold A\","
                  "\"X1\",\"3.20\"\r\n"
                  "4,02:00:00:00,PYRO,\"\",0,000,,1,\"\",\"\",1,0,0,\"\",\"\",\"0.00\"\r\n"
                  "5,02:00:00:01,DMX,\"\",0,1,0,1,\"\",\"\",1,0,0,\"\",\"\",\"0.00\"\r\n");
}

TEST(CsvExport, WritesDropFrameTimecodesWithColonsAndSecondsAtTheRealRate)
{
    ProjectData data;
    data.setFormat(SMPTE::SMPTE_30DF);
    data.getCueList().add(SMPTE(SMPTE::SMPTE_30DF, 0, 1, 0, 2), CueCommand::pyro(0xABC), 0, 30, 1,
                          -1, "");
    const std::string csv = CsvExport::build(data, shortName);
    EXPECT_EQ(csv.substr(kHeader.size()),
              "1,00:01:00:02,PYRO,\"\",0,ABC,,1,\"\",\"\",1,30,1.001,\"\",\"\",\"0.00\"\r\n");
}

TEST(CsvExport, ReportsATargetThatCannotBeWritten)
{
    Platform::TestFolder folder;
    ProjectData data;
    std::wstring error;
    EXPECT_FALSE(CsvExport::save(folder.path("none/cues.csv"), data, shortName, error));
    EXPECT_EQ(error, L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING");
    ASSERT_TRUE(CsvExport::save(folder.path("cues.csv"), data, shortName, error));
    EXPECT_EQ(folder.readBytes("cues.csv"), kHeader);

    // A disk that fills up part-way: the old export stays.
    Platform::FileReplacement::failWritesAfterForTesting(10);
    const bool saved = CsvExport::save(folder.path("cues.csv"), data, shortName, error);
    Platform::FileReplacement::failWritesAfterForTesting(std::nullopt);
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, L"ERROR.FAILED_TO_WRITE_TO_FILE");
    EXPECT_EQ(folder.readBytes("cues.csv"), kHeader);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"cues.csv"});
}

}  // namespace
}  // namespace Project
