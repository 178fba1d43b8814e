#include <gtest/gtest.h>

#include <string>

#include "CliTestSupport.h"
#include "Platform/TestFolder.h"

namespace {

using CliTest::run;

// A project with one pyro cue at 1 s with address 0x105.
std::string makeProject(const Platform::TestFolder& folder)
{
    const std::string project = (folder.root() / "p.fwp").string();
    const std::string ops = (folder.root() / "ops.txt").string();
    CliTest::writeFile(ops, "add-pyro 1:00\nset-value 2 0x105\n");
    EXPECT_EQ(run({"new", "--format", "25", project}).code, 0);
    EXPECT_EQ(run({"edit", project, "--ops", ops, "--out", project}).code, 0);
    return project;
}

TEST(ExportCsvCommand, WritesTheCueListWithTheColumnNamesOfALanguage)
{
    Platform::TestFolder folder;
    const std::string project = makeProject(folder);
    const std::string csv = (folder.root() / "out.csv").string();

    ASSERT_EQ(run({"export-csv", project, csv}).code, 0);
    const std::string keys = CliTest::readFile(csv);
    EXPECT_EQ(keys.substr(0, keys.find(',')), "REPORTS.CSV.HEADER.CUENR") << keys;
    EXPECT_NE(keys.find("\r\n1,00:00:01:00,PYRO,"), std::string::npos) << keys;

    // A language file of one text: the other columns keep their keys.
    const std::string texts = (folder.root() / "xx.ini").string();
    CliTest::writeFile(texts, "REPORTS.CSV.HEADER.CUENR=Nummer\n");
    const CliTest::Run r = run({"export-csv", project, csv, "--locale", texts});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string named = CliTest::readFile(csv);
    EXPECT_EQ(named, "Nummer" + keys.substr(keys.find(',')));

    const CliTest::Run dutch =
        run({"export-csv", project, csv, "--locale", CliTest::sourceFile("locale/nl-nl.ini")});
    ASSERT_EQ(dutch.code, 0) << dutch.err;
    EXPECT_EQ(CliTest::readFile(csv).substr(0, 13), "Cue,Tijdcode,");
}

TEST(ExportCsvCommand, RefusesBadUseAndReportsFailures)
{
    Platform::TestFolder folder;
    const std::string project = makeProject(folder);
    EXPECT_EQ(run({"export-csv", project}).code, 2);
    EXPECT_EQ(run({"export-csv", project, "a.csv", "--locale"}).code, 2);
    EXPECT_EQ(
        run({"export-csv", project, "a.csv", "--locale", (folder.root() / "no.ini").string()}).code,
        2);
    const CliTest::Run r =
        run({"export-csv", project, (folder.root() / "missing" / "a.csv").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "skyfirewright-cli export-csv: ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING\n");
}

}  // namespace
