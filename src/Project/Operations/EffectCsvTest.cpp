#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/Utf.h"
#include "Project/Operations/EffectCsv.h"
#include "Project/Operations/OperationImportEffectCsv.h"
#include "Project/Project.h"

namespace Project {
namespace {

std::vector<std::vector<std::wstring>> records(const EffectList& list)
{
    std::vector<std::vector<std::wstring>> all;
    for (const EffectList::EffectItem* effect : list) {
        std::vector<std::wstring> fields;
        for (int f = 0; f < kEffectFieldCount; ++f) {
            fields.push_back(effect->getFieldText(static_cast<EffectField>(f)));
        }
        all.push_back(fields);
    }
    return all;
}

class EffectCsvTest : public ::testing::Test {
protected:
    EffectCsvTest() : project(Project::createInstance()) {}
    ~EffectCsvTest() override { Project::destroyInstance(); }

    EffectList& library() { return project.getProjectData().getEffectList(); }

    // The import's report; an import that adds nothing does not outlive its submit, so the
    // report comes through the sink.
    struct Imported {
        std::shared_ptr<OperationImportEffectCsv::Report> report =
            std::make_shared<OperationImportEffectCsv::Report>();
        const OperationImportEffectCsv::Report& getReport() const { return *report; }
    };

    std::shared_ptr<Imported> import(const std::string& bytes)
    {
        auto imported = std::make_shared<Imported>();
        lastResult = project.submit(OperationImportEffectCsv::fromBytes(bytes, imported->report));
        return imported;
    }

    Project& project;
    bool lastResult = false;
};

TEST_F(EffectCsvTest, ExportAndImportIntoAnEmptyLibraryGiveTheSameEffects)
{
    EffectTexts tricky;
    tricky[0] = L"Crossette, \"gold\"\nwith tail";
    tricky[1] = L"A-100";
    tricky[2] = L"12";
    tricky[3] = L"75 mm";
    tricky[4] = L"12.345678";
    tricky[5] = L"Feuerwerk Müller";
    tricky[6] = L"1500";
    tricky[7] = L"80";
    tricky[8] = L"红 and gold";
    tricky[13] = L"250";
    tricky[14] = L"75";
    library().addEffectFromText(tricky);
    EffectTexts plain;
    plain[0] = L"Fountain";
    plain[4] = L"3,5";
    library().addEffectFromText(plain);
    EffectTexts unknownNumber;
    unknownNumber[0] = L"Unknown duration";
    unknownNumber[2] = L"?";  // read as -1, the library's unknown mark
    library().addEffectFromText(unknownNumber);
    const auto before = records(library());

    const std::string csv = EffectCsv::write(library());
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "description,articleNumber,duration,caliber,price,manufacturer,prefire,height,"
              "color,type,angle,vanShape,classification,weight,distance");
    EXPECT_NE(csv.find("\"Crossette, \"\"gold\"\"\nwith tail\""), std::string::npos);
    EXPECT_NE(csv.find("Fountain,,0,,3.50,"), std::string::npos);

    library().clearEffects();
    auto operation = import(csv);
    ASSERT_TRUE(lastResult);
    EXPECT_EQ(operation->getReport().added, 3);
    EXPECT_TRUE(operation->getReport().refused.empty());
    EXPECT_EQ(records(library()), before);

    // The same file again: every row is a duplicate, reported by its line (the quoted line
    // break makes the second effect start on line 4).
    operation = import(csv);
    EXPECT_EQ(operation->getReport().added, 0);
    EXPECT_EQ(operation->getReport().duplicateLines, (std::vector<int>{2, 4, 5}));
    EXPECT_EQ(library().getCount(), 3);
}

TEST_F(EffectCsvTest, BadRowsAreRefusedWithTheirReasonAndTheGoodOnesComeInAsOneUndoableStep)
{
    const std::string csv =
        "\xEF\xBB\xBF"
        "Price; Ignored,DESCRIPTION,duration,price,height\r\n"
        "x,Good one,5,12.50,30\r\n"
        "\r\n"
        "x,Too few,5\r\n"
        "x,Letters,five,1,1\r\n"
        "x,Negative,-3,1,1\r\n"
        "x,Bad price,1,12.5.0,1\r\n"
        "x,Euro price,1,\"7,25\",1\r\n"
        "x,Good one,5,12.50,30\r\n"
        "x,Blank price,1, ,2\r\n";
    auto operation = import(csv);
    ASSERT_TRUE(lastResult);
    const auto& report = operation->getReport();
    EXPECT_EQ(report.added, 3);
    EXPECT_EQ(report.duplicateLines, (std::vector<int>{9}));
    ASSERT_EQ(report.refused.size(), 4u);
    EXPECT_EQ(report.refused[0].line, 4);
    EXPECT_EQ(report.refused[0].reasonKey, L"EFFECTS.CSV.ROW.FIELD_COUNT");
    EXPECT_EQ(report.refused[1].line, 5);
    EXPECT_EQ(report.refused[1].reasonKey, L"EFFECTS.CSV.ROW.NOT_A_WHOLE_NUMBER");
    EXPECT_EQ(report.refused[1].column, L"duration");
    EXPECT_EQ(report.refused[2].column, L"duration");
    EXPECT_EQ(report.refused[3].reasonKey, L"EFFECTS.CSV.ROW.NOT_A_PRICE");
    ASSERT_EQ(library().getCount(), 3);
    EXPECT_EQ(library().begin().operator*()->getHeight(), 30);
    EXPECT_DOUBLE_EQ((*++library().begin())->getPrice(), 7.25);
    // A cell of blanks is an empty cell: price 0, not the unknown mark.
    EXPECT_DOUBLE_EQ((*++ ++library().begin())->getPrice(), 0.0);

    ASSERT_TRUE(project.undo());
    EXPECT_EQ(library().getCount(), 0);
    ASSERT_TRUE(project.redo());
    EXPECT_EQ(library().getCount(), 3);
}

TEST_F(EffectCsvTest, AFileThatCannotBeTakenWholeAddsNothing)
{
    struct Case {
        std::string bytes;
        const wchar_t* key;
    };
    const std::vector<Case> cases = {
        {"description\r\nGood\r\n\xC3(bad\r\n", L"EFFECTS.CSV.ERROR.NOT_UTF8"},
        {"description\r\nGood\r\n\"never closed\r\n", L"EFFECTS.CSV.ERROR.OPEN_QUOTE"},
        {"name,cost\r\nGood,1\r\n", L"EFFECTS.CSV.ERROR.NO_HEADER"},
        {"", L"EFFECTS.CSV.ERROR.NO_HEADER"},
    };
    for (const Case& c : cases) {
        EffectCsv::Table table;
        std::wstring key;
        EXPECT_FALSE(EffectCsv::read(c.bytes, table, key)) << c.bytes;
        EXPECT_EQ(key, c.key) << c.bytes;
        import(c.bytes);
        EXPECT_FALSE(lastResult);
        EXPECT_EQ(project.getLastError(), c.key);
        EXPECT_EQ(library().getCount(), 0);
    }
    EXPECT_EQ(project.getUndoCount(), 0);
}

}  // namespace
}  // namespace Project
