#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CliTestSupport.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/EffectList.h"
#include "Project/FixtureList.h"
#include "Project/Operations/EffectFile.h"
#include "Project/Operations/PresetFile.h"

namespace {

using CliTest::run;

TEST(LibraryInfoCommand, PrintsTheEffectsOfAnEffectFile)
{
    Platform::TestFolder folder;
    Project::EffectList effects;
    effects.addEffect(1200, 40, 80, 150, -1, -1, L"Gold \"willow\"", L"A-1", 12.5, L"30 mm",
                      L"Acme", L"gold", L"cake", L"45", L"fan", L"F2", L"15 m");
    effects.addEffect(0, 0, 0, 0, -1, -1, L"Rot\u00e9", L"", 0.0, L"", L"", L"", L"", L"", L"", L"",
                      L"");
    const std::string path = (folder.root() / "lib.fwe").string();
    std::wstring error;
    ASSERT_TRUE(Project::EffectFile::save(Platform::fromUtf8(path), effects, error));

    const CliTest::Run r = run({"library-info", path});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"effects\":[{\"description\":\"Gold \\\"willow\\\"\",\"articleNumber\":\"A-1\","
              "\"duration\":1200,\"caliber\":\"30 mm\",\"price\":12.5,\"manufacturer\":\"Acme\","
              "\"prefire\":40,\"height\":80,\"color\":\"gold\",\"type\":\"cake\",\"angle\":\"45\","
              "\"vanShape\":\"fan\",\"classification\":\"F2\",\"weight\":150,"
              "\"distance\":\"15 m\",\"id\":0,\"databaseId\":-1},"
              "{\"description\":\"Rot\xC3\xA9\",\"articleNumber\":\"\",\"duration\":0,"
              "\"caliber\":\"\",\"price\":0,\"manufacturer\":\"\",\"prefire\":0,\"height\":0,"
              "\"color\":\"\",\"type\":\"\",\"angle\":\"\",\"vanShape\":\"\","
              "\"classification\":\"\",\"weight\":0,\"distance\":\"\",\"id\":1,"
              "\"databaseId\":-1}]}\n");
}

TEST(LibraryInfoCommand, PrintsThePresetsOfAPresetFile)
{
    Platform::TestFolder folder;
    Project::FixtureStore store;
    Project::FixtureList list;
    store.push_back(std::make_unique<Project::Fixture>(L"Jet", L"Acme", L"J1", 2, L"dry", 1500));
    store.back()->addChannel(1, 255, 0, true, true, false);
    store.back()->addChannel(2, 10, 3, false, false, true);
    list.addFixture(store.back().get());
    const std::string path = (folder.root() / "p.fwf").string();
    std::wstring error;
    ASSERT_TRUE(Project::PresetFile::save(Platform::fromUtf8(path), store, list, false, error));
    list.clear();

    const CliTest::Run r = run({"library-info", path});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"fixtures\":[{\"description\":\"Jet\",\"manufacturer\":\"Acme\","
              "\"productName\":\"J1\",\"channelCount\":2,\"comments\":\"dry\",\"duration\":1500,"
              "\"id\":0,\"channels\":[[1,255,0,true,true,false],[2,10,3,false,false,true]]}]}\n");
}

TEST(LibraryInfoCommand, ReportsFilesThatAreNoLibrary)
{
    Platform::TestFolder folder;
    const struct {
        std::string path;
        const char* error;
    } cases[] = {
        {(folder.root() / "missing.fwe").string(), "ERROR.FAILED_TO_OPEN_FILE_FOR_READING"},
        {CliTest::sourceFile("src/FileIO/testdata/mono8.wav"), "ERROR.INVALID_FWP_TODO"},
    };
    for (const auto& c : cases) {
        const CliTest::Run r = run({"library-info", c.path});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, std::string("skyfirewright-cli library-info: ") + c.error + "\n");
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(run({"library-info"}).code, 2);
}

}  // namespace
