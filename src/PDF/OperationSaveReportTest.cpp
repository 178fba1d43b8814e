#include <gtest/gtest.h>

#include <hpdf.h>
#include <string>
#include <vector>

#include "PDF/ReportDocument.h"
#include "PDF/ReportFixture.h"
#include "PDF/WinAnsiText.h"
#include "Platform/Log.h"
#include "Project/Project.h"

namespace PDF::Testing {
namespace {

using Kind = OperationSaveReport::Kind;

TEST(WinAnsiText, CarriesWesternCharactersAndReplacesTheRest)
{
    EXPECT_EQ(toWinAnsi(L"aä é ß € – “x” Ÿ"), "a\xE4 \xE9 \xDF \x80 \x96 \x93x\x94 \x9F");
    EXPECT_EQ(toWinAnsi(L"Ω 中 a\tb\nc"), "? ? a b c");
    EXPECT_EQ(toWinAnsi(std::wstring(L"x\0y", 3)), "x y");
    EXPECT_EQ(lowBytesToWinAnsi("Z\xFCnd\x01\xDF"), "Z\xFCnd \xDF");
}

class OperationSaveReportTest : public ReportFixture {
protected:
    OperationSaveReportTest() : project(Project::Project::createInstance()) {}
    ~OperationSaveReportTest() override
    {
        ReportDocument::failNextDocumentForTesting(false);
        Project::Project::destroyInstance();
    }

    Project::Project& project;
};

TEST_F(OperationSaveReportTest, AnUnwritableTargetFailsAndLeavesNothingBehind)
{
    addPyro(0, 1);
    // A folder that is a file cannot be written into, whatever the process's rights.
    folder.writeBytes("plain", "x");
    OperationSaveReport operation(folder.path("plain/report.pdf"), Kind::SHOW, true, false,
                                  translate());
    EXPECT_FALSE(operation.execute(data));
    EXPECT_EQ(project.getLastError(), L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"plain"});
    EXPECT_EQ(folder.readBytes("plain"), "x");
}

TEST_F(OperationSaveReportTest, ALibraryErrorAbandonsTheReportAndKeepsTheOldFile)
{
    addPyro(0, 1);
    folder.writeBytes("report.pdf", "old");
    std::vector<std::wstring> log;
    const Platform::LogSink previous =
        Platform::setLogSink([&](const std::wstring& line) { log.push_back(line); });
    for (Kind kind : {Kind::SHOW, Kind::PYRO, Kind::LOCATION, Kind::INVENTORY, Kind::LOAD}) {
        project.setLastError(L"");
        log.clear();
        ReportDocument::failNextDocumentForTesting(true);
        OperationSaveReport operation(folder.path("report.pdf"), kind, true, false, translate());
        EXPECT_FALSE(operation.execute(data));
        EXPECT_EQ(project.getLastError(), L"ERROR.PDF_REPORT");
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log[0].rfind(L"HPDF error: error_no=0x", 0), 0u) << Platform::toUtf8(log[0]);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"report.pdf"});
        EXPECT_EQ(folder.readBytes("report.pdf"), "old");
    }
    Platform::setLogSink(previous);
}

TEST_F(OperationSaveReportTest, TheExceptionCarriesTheLibraryNumbers)
{
    ReportDocument::failNextDocumentForTesting(true);
    ReportDocument document;
    try {
        document.addPage(true);
        FAIL() << "no exception";
    } catch (const HPDFException& e) {
        // An invalid font size.
        EXPECT_EQ(e.getErrorNo(), static_cast<uint32_t>(HPDF_PAGE_INVALID_FONT_SIZE));
    }
}

TEST_F(OperationSaveReportTest, WritingAReportReplacesTheFileAndLeavesTheModifiedStateAlone)
{
    folder.writeBytes("report.pdf", "old");
    project.setChangeCounts(1, 0);  // an edit not saved yet
    ASSERT_TRUE(project.isModified());
    ASSERT_TRUE(project.submit(
        new OperationSaveReport(folder.path("report.pdf"), Kind::SHOW, true, false, translate())));
    EXPECT_TRUE(project.isModified());  // a report is no saved project
    EXPECT_EQ(folder.readBytes("report.pdf").rfind("%PDF-", 0), 0u);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"report.pdf"});  // and keeps no backup
}

}  // namespace
}  // namespace PDF::Testing
