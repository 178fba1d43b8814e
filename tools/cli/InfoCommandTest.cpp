#include <gtest/gtest.h>

#include <string>

#include "CliTestSupport.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/Operations/OperationSaveProject.h"
#include "Project/Project.h"

namespace {

using CliTest::run;

// A saved project with a pyro cue and a DMX scene, texts with a quote and a byte above 0x7F.
std::string writeProject(const Platform::TestFolder& folder)
{
    Project::Project& project = Project::Project::createInstance();
    Project::ProjectData& data = project.getProjectData();
    data.setFormat(SMPTE::SMPTE_25);
    data.setAudioOffset(SMPTE(SMPTE::SMPTE_25, 0, 0, 1, 2));
    data.getMetadata().insert(-1, L"author", L"Zoë");
    Project::CueList& cues = data.getCueList();
    Project::Cue* pyro = cues.add(SMPTE(SMPTE::SMPTE_25, 0, 0, 2, 0),
                                  Project::CueCommand::pyro(0x123), 5, 10, 3, -1, "say \"go\"");
    pyro->setGroupName("caf\xE9");
    pyro->getMetadata().insert(-1, L"~POS", L"left");
    Project::CueCommand dmx = Project::CueCommand::dmx(0, 4, 200);
    EXPECT_TRUE(dmx.setDmxText("005"));
    cues.add(SMPTE(SMPTE::SMPTE_25, 0, 0, 3, 0), dmx, 0, 25, 1, -1, "");
    const std::string path = (folder.root() / "show.fwp").string();
    const bool saved = project.submit(new Project::OperationSaveProject(Platform::fromUtf8(path)));
    Project::Project::destroyInstance();
    EXPECT_TRUE(saved);
    return path;
}

TEST(InfoCommand, PrintsEveryFieldAsTheProgramReadsIt)
{
    Platform::TestFolder folder;
    const CliTest::Run r = run({"info", writeProject(folder)});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "{\"format\":1,\"audioOffset\":\"00:00:01:02\",\"waveLinked\":false,"
              "\"metadata\":[[\"author\",\"Zo\xC3\xAB\"]],\"cues\":["
              "{\"id\":0,\"number\":1,\"timecode\":\"00:00:02:00\",\"frame\":50,\"prefire\":5,"
              "\"duration\":10,\"group\":3,\"groupName\":\"caf\xC3\xA9\",\"quantity\":1,"
              "\"pyroType\":1,\"type\":\"pyro\",\"address\":291,\"universe\":0,\"value\":0,"
              "\"dmxText\":\"\",\"chasePath\":1,\"chaseBpm\":0,\"steps\":[],"
              "\"reminder\":\"say \\\"go\\\"\",\"metadata\":[[\"~POS\",\"left\"]],"
              "\"fixtureValues\":[]},"
              "{\"id\":1,\"number\":2,\"timecode\":\"00:00:03:00\",\"frame\":75,\"prefire\":0,"
              "\"duration\":25,\"group\":1,\"groupName\":\"\",\"quantity\":1,\"pyroType\":1,"
              "\"type\":\"dmx\",\"address\":4,\"universe\":0,\"value\":200,\"dmxText\":\"005\","
              "\"chasePath\":1,\"chaseBpm\":0,\"steps\":[[[5,200,false,false]]],"
              "\"reminder\":\"\",\"metadata\":[],\"fixtureValues\":[]}]}\n");
}

TEST(InfoCommand, ReportsAFileThatIsNoProject)
{
    Platform::TestFolder folder;
    EXPECT_EQ(run({"info"}).code, 2);
    EXPECT_EQ(run({"info", "a.fwp", "b.fwp"}).code, 2);
    const CliTest::Run r = run({"info", CliTest::sourceFile("src/FileIO/testdata/mono8.wav")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "skyfirewright-cli info: ERROR.INVALID_FWP\n");
    EXPECT_EQ(r.out, "");
}

}  // namespace
