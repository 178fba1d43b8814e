#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Project/Operations/OperationImportEffectFile.h"
#include "Project/Project.h"

namespace Project {
namespace {

std::wstring foreign(const std::string& name)
{
    return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "FileIO" /
            "testdata" / "foreign" / name)
        .wstring();
}

struct Errors : Project::Listener {
    std::vector<std::wstring> reported;
    void errorReported(const std::wstring& text) override { reported.push_back(text); }
};

class ImportEffectFile : public ::testing::Test {
protected:
    ImportEffectFile() : project(Project::createInstance()) { project.addListener(&errors); }
    ~ImportEffectFile() override { Project::destroyInstance(); }

    EffectList& library() { return project.getProjectData().getEffectList(); }
    std::vector<std::wstring> descriptions()
    {
        std::vector<std::wstring> result;
        for (const Effect* e : library()) {
            result.push_back(e->getDescription());
        }
        return result;
    }

    Project& project;
    Errors errors;
};

TEST_F(ImportEffectFile, AddsTheArticlesInDescriptionOrderWithoutDuplicates)
{
    EffectTexts existing;
    existing[0] = L"kept";
    library().addEffectFromText(existing);

    ASSERT_TRUE(project.submit(new OperationImportEffectFile(foreign("effects-basic.efx"))));
    // Six records, one of them a copy of another; the library is added to, not replaced.
    EXPECT_EQ(descriptions(),
              (std::vector<std::wstring>{L"kept", L"", L"\u00C4pfel Font\u00E4ne", L"blue comet",
                                         L"Red peony 75mm", L"Zebra cake"}));

    const Effect* peony = nullptr;
    const Effect* blank = nullptr;
    for (const Effect* e : library()) {
        if (e->getDescription() == L"Red peony 75mm") {
            peony = e;
        } else if (e->getDescription().empty()) {
            blank = e;
        }
    }
    ASSERT_NE(peony, nullptr);
    EXPECT_EQ(peony->getArticleNumber(), L"A-100");
    EXPECT_EQ(peony->getDuration(), 12);  // 1250 hundredths
    EXPECT_EQ(peony->getPrefire(), 80);
    EXPECT_DOUBLE_EQ(peony->getPrice(), 3.5);
    EXPECT_EQ(peony->getCaliber(), L"75");
    EXPECT_EQ(peony->getManufacturer(), L"Acme");
    EXPECT_EQ(peony->getType(), L"Shell");
    EXPECT_EQ(peony->getColor(), L"");  // not imported
    EXPECT_EQ(peony->getDatabaseId(), -1);
    // Nulls in every text column read as empty texts, a null price as no price.
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->getArticleNumber(), L"C-300");
    EXPECT_DOUBLE_EQ(blank->getPrice(), 0.0);

    // Importing the same file again adds nothing.
    ASSERT_TRUE(project.submit(new OperationImportEffectFile(foreign("effects-basic.efx"))));
    EXPECT_EQ(library().getCount(), 6);
    EXPECT_TRUE(errors.reported.empty());
}

TEST_F(ImportEffectFile, LeavesUnsavedCueEditsUnsaved)
{
    ASSERT_FALSE(project.isModified());
    ASSERT_TRUE(project.submit(new OperationImportEffectFile(foreign("effects-basic.efx"))));
    EXPECT_TRUE(project.isModified());
}

TEST_F(ImportEffectFile, FilesThatAreNoEffectDatabaseFail)
{
    for (const char* name : {"not-a-database.scx", "missing.efx", "show-25.scx"}) {
        errors.reported.clear();
        EXPECT_FALSE(project.submit(new OperationImportEffectFile(foreign(name)))) << name;
        EXPECT_EQ(errors.reported, std::vector<std::wstring>{L"ERROR.INVALID_EFX"}) << name;
        EXPECT_EQ(library().getCount(), 0) << name;
    }
}

// Columns missing or values that do not convert stop the import at that record; the
// records before it stay.
TEST_F(ImportEffectFile, StopsAtARecordThatCannotBeConverted)
{
    struct Case {
        const char* what;
        const wchar_t* column;  // left out of the table when `value` is null
        const wchar_t* value;
    };
    for (const Case& c :
         {Case{"duration not a number", L"DUR", L"12s"},
          Case{"price not a number", L"PRICE1", L"cheap"},
          Case{"prefire too large", L"PFT", L"1e12"}, Case{"no prefire column", L"PFT", nullptr}}) {
        library().clearEffects();
        FileIO::JetRecordSet records;
        const std::vector<const wchar_t*> columns = {
            L"Effect Description", L"REF", L"DUR", L"PRICE1", L"CAL", L"MFG", L"PFT", L"TYPE"};
        for (const wchar_t* name : columns) {
            if (c.value != nullptr || std::wstring(name) != c.column) {
                records.addColumn(name, FileIO::JetRecordSet::Kind::TEXT);
            }
        }
        auto fill = [&](const wchar_t* description, bool bad) {
            auto& row = records.addRow();
            for (std::size_t i = 0; i < records.getColumns().size(); ++i) {
                const std::wstring& name = records.getColumns()[i].name;
                std::wstring text = name == L"Effect Description" ? description : L"1";
                if (bad && name == c.column) {
                    text = c.value;
                }
                row[i] = FileIO::JetRecordSet::Value{false, text};
            }
        };
        fill(L"good", false);
        fill(L"bad", true);
        const bool ok = OperationImportEffectFile::addEffects(records, library());
        if (c.value == nullptr) {
            EXPECT_FALSE(ok) << c.what;
            EXPECT_EQ(library().getCount(), 0) << c.what;
        } else {
            EXPECT_FALSE(ok) << c.what;
            EXPECT_EQ(descriptions(), std::vector<std::wstring>{L"good"}) << c.what;
        }
    }
}

}  // namespace
}  // namespace Project
