#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Config/KeyFile.h"
#include "PDF/ReportTestSupport.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFile.h"
#include "Project/ProjectData.h"

namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

CliRun run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = Cli::dispatch(args, out, err);
    return {code, out.str(), err.str()};
}

// A 25 fps show of two pyro cues at one location and a reminder.
std::string writeShow(const Platform::TestFolder& folder)
{
    using Project::CueCommand;
    Project::ProjectData data;
    data.setFormat(SMPTE::SMPTE_25);
    Project::CueList& cues = data.getCueList();
    Project::Cue* first =
        cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 25), CueCommand::pyro(0x11), 0, 50, 1, -1, "");
    first->getMetadata().insert(-1, L"~POS", L"Brücke");
    first->getMetadata().insert(-1, L"~DESC", L"Goldregen");
    first->getMetadata().insert(-1, L"~ARTNR", L"G7");
    first->getMetadata().insert(-1, L"~PRICE", L"2,50");
    Project::Cue* second = cues.addCopy(*first, true);
    second->setTimecode(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 50));
    cues.add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 75), CueCommand(CueCommand::TYPE_REMINDER), 0, 0,
             1, -1, "Applaus");
    std::wstring errorKey;
    EXPECT_TRUE(Project::ProjectFile::save(folder.path("show.fwp"), data, errorKey));
    return (folder.root() / "show.fwp").string();
}

TEST(ReportCommand, WritesEveryKindFromAProjectFile)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    const struct {
        const char* kind;
        const char* expected;
    } cases[] = {
        {"show", "00:00:01:00 PYRO 2 sec Brücke Goldregen"},
        {"load", "Goldregen - G7"},
        {"pyro-include", "2 Goldregen G7"},
        {"pyro-exclude", "5.00"},
        {"pyro-overview", "5.00"},
        {"location-include", "REPORTS.LOCATIONLIST.TITLE: Brücke"},
        {"location-exclude", "01-1"},
        {"inventory", "Skyfirewright Slave (01)"},
    };
    for (const auto& c : cases) {
        const std::string out = (folder.root() / (std::string(c.kind) + ".pdf")).string();
        const CliRun r = run({"report", c.kind, show, out});
        ASSERT_EQ(r.code, 0) << c.kind << ": " << r.err;
        EXPECT_EQ(r.out, "");
        const std::vector<PDF::Testing::Page> pages = PDF::Testing::readPages(out);
        ASSERT_EQ(pages.size(), 1u) << c.kind;
        EXPECT_NE(pages[0].text().find(c.expected), std::string::npos)
            << c.kind << ": " << pages[0].text();
    }
}

TEST(ReportCommand, TakesTheTextsOfALanguageFile)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    ASSERT_TRUE(Config::KeyFile::write(folder.path("test.ini"),
                                       {{L"REPORTS.SHOWLIST.TITLE", L"Ablauf für heute"},
                                        {L"REPORTS.SHOWLIST.HEADER.TYPE", L"Art"}}));
    const std::string out = (folder.root() / "show.pdf").string();
    const CliRun r =
        run({"report", "show", show, out, "--locale", (folder.root() / "test.ini").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string text = PDF::Testing::readPages(out).at(0).text();
    EXPECT_EQ(text.find("Ablauf für heute "), 0u) << text;
    EXPECT_NE(text.find(" Art "), std::string::npos) << text;
}

TEST(ReportCommand, ReportsUsageErrorsAndFailures)
{
    Platform::TestFolder folder;
    const std::string show = writeShow(folder);
    const std::string out = (folder.root() / "out.pdf").string();
    const struct {
        std::vector<std::string> args;
        int code;
        std::string err;
    } cases[] = {
        {{"report", "bunker", show, out}, 2, "unknown report 'bunker'"},
        {{"report", "show", show}, 2, "give KIND, PROJECT.fwp and OUT.pdf"},
        {{"report", "show", show, out, "--locale"}, 2, "--locale needs a language"},
        {{"report", "show", show, out, "--locale", "/nowhere/xx.ini"},
         2,
         "cannot read the language file"},
        {{"report", "show", (folder.root() / "missing.fwp").string(), out},
         1,
         "ERROR.FAILED_TO_OPEN_FILE_FOR_READING"},
        // A target inside a file: nothing can be written there.
        {{"report", "show", show, show + "/out.pdf"}, 1, "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    EXPECT_EQ(folder.names(), std::vector<std::string>{"show.fwp"});
}

}  // namespace
