#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FileIO/JetDatabase.h"
#include "Platform/Utf.h"

namespace FileIO {
namespace {

std::wstring fixture(const std::string& name)
{
    return (std::filesystem::path(__FILE__).parent_path() / "testdata" / "foreign" / name)
        .wstring();
}

std::vector<std::wstring> column(const JetRecordSet& rows, const std::wstring& name)
{
    std::vector<std::wstring> values;
    const int at = rows.findColumn(name);
    EXPECT_GE(at, 0);
    for (std::size_t row = 0; at >= 0 && row < rows.getRowCount(); ++row) {
        const JetRecordSet::Value& value = rows.getRow(row)[static_cast<std::size_t>(at)];
        values.push_back(value.null ? L"<null>" : value.text);
    }
    return values;
}

TEST(JetDatabase, OrdersTextNullsFirstWithoutRegardToCase)
{
    JetDatabase database;
    ASSERT_TRUE(database.open(fixture("effects-basic.efx")));
    JetRecordSet rows;
    ASSERT_TRUE(database.execute(L"SELECT * FROM `Effects` ORDER BY `Effect Description`;", rows))
        << database.getError();
    // Stored in ID order 1..6; equal descriptions keep that order.
    EXPECT_EQ(column(rows, L"ID"), (std::vector<std::wstring>{L"3", L"6", L"2", L"1", L"4", L"5"}));
    EXPECT_EQ(column(rows, L"Effect Description")[1], L"\u00C4pfel Font\u00E4ne");
    // A null and an empty text stay apart.
    EXPECT_EQ(column(rows, L"CAL"),
              (std::vector<std::wstring>{L"<null>", L"", L"30", L"75", L"75", L"25"}));
}

TEST(JetDatabase, OrdersNumbersByValueAndAcceptsTheQueryForms)
{
    JetDatabase database;
    ASSERT_TRUE(database.open(fixture("show-25.scx")));
    JetRecordSet rows;
    for (const wchar_t* sql :
         {L"SELECT * FROM `Events` ORDER BY `CUE`;", L"select * from [events] order by cue asc",
          L"  SELECT  *  FROM Events ORDER BY [Cue] ; "}) {
        ASSERT_TRUE(database.execute(sql, rows)) << Platform::toUtf8(sql);
        EXPECT_EQ(column(rows, L"CUE"), (std::vector<std::wstring>{L"1", L"2", L"3", L"4"}));
    }
    ASSERT_TRUE(database.execute(L"SELECT * FROM `Events` ORDER BY `CUE` DESC", rows));
    EXPECT_EQ(column(rows, L"CUE"), (std::vector<std::wstring>{L"4", L"3", L"2", L"1"}));
    ASSERT_TRUE(database.execute(L"SELECT * FROM `Events`", rows));
    EXPECT_EQ(column(rows, L"CUE"), (std::vector<std::wstring>{L"3", L"1", L"2", L"4"}));
}

TEST(JetDatabase, RefusesWhatItCannotAnswer)
{
    JetDatabase database;
    JetRecordSet rows;
    EXPECT_FALSE(database.open(fixture("missing.scx")));
    ASSERT_TRUE(database.open(fixture("show-25.scx")));
    struct Case {
        const wchar_t* sql;
        const char* error;
    };
    for (const Case& c : {
             Case{L"SELECT * FROM `Effects`", "no table Effects"},
             Case{L"SELECT * FROM `Events` ORDER BY `Nope`", "no column Nope"},
             Case{L"SELECT ID FROM `Events`", "a query of another form"},
             Case{L"SELECT * FROM `Events` WHERE CUE = 1", "a query of another form"},
             Case{L"SELECT * FROM `Events", "a query of another form"},
         }) {
        rows.addColumn(L"stale", JetRecordSet::Kind::TEXT);
        EXPECT_FALSE(database.execute(c.sql, rows)) << Platform::toUtf8(c.sql);
        EXPECT_EQ(database.getError().rfind(c.error, 0), 0u) << database.getError();
        EXPECT_TRUE(rows.getColumns().empty());
    }
    ASSERT_TRUE(database.open(fixture("not-a-database.scx")));
    EXPECT_FALSE(database.execute(L"SELECT * FROM `Events`", rows));
    EXPECT_EQ(database.getError(), "not a Jet database");
}

TEST(JetDatabase, ReadsADatabaseHeldInMemory)
{
    std::ifstream in(std::filesystem::path(fixture("show-ambiguous.scx")), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    JetDatabase database;
    database.openBytes(bytes);
    JetRecordSet rows;
    ASSERT_TRUE(database.execute(L"SELECT * FROM `Events` ORDER BY `CUE`;", rows));
    EXPECT_EQ(column(rows, L"FF"), (std::vector<std::wstring>{L"5", L"15", L"15"}));
    // Cut short, the file is no database any more, and the program carries on.
    database.openBytes(bytes.substr(0, 5000));
    EXPECT_FALSE(database.execute(L"SELECT * FROM `Events` ORDER BY `CUE`;", rows));
}

TEST(JetRecordSet, SortsInJetOrder)
{
    JetRecordSet rows;
    rows.addColumn(L"Name", JetRecordSet::Kind::TEXT);
    rows.addColumn(L"N", JetRecordSet::Kind::NUMBER);
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> values = {
        {L"b", L"10"},  {nullptr, L"9"}, {L"\u00C9clair", L"-1"},
        {L"B", L"2.5"}, {L"a", nullptr}, {L"\u00E9clair", L"100"}};
    for (const auto& [name, number] : values) {
        auto& row = rows.addRow();
        row[0] = name ? JetRecordSet::Value{false, name} : JetRecordSet::Value{};
        row[1] = number ? JetRecordSet::Value{false, number} : JetRecordSet::Value{};
    }
    rows.sortBy(rows.findColumn(L"name"), false);
    EXPECT_EQ(column(rows, L"Name"), (std::vector<std::wstring>{L"<null>", L"a", L"b", L"B",
                                                                L"\u00C9clair", L"\u00E9clair"}));
    rows.sortBy(rows.findColumn(L"N"), false);
    EXPECT_EQ(column(rows, L"N"),
              (std::vector<std::wstring>{L"<null>", L"-1", L"2.5", L"9", L"10", L"100"}));
}

TEST(JetRecordSet, ByteFormRoundTripsAndRefusesDamage)
{
    JetRecordSet rows;
    rows.addColumn(L"T\u00E4xt", JetRecordSet::Kind::TEXT);
    rows.addColumn(L"N", JetRecordSet::Kind::NUMBER);
    auto& row = rows.addRow();
    row[0] = JetRecordSet::Value{false, L"\u00C4pfel"};
    rows.addRow()[1] = JetRecordSet::Value{false, L""};
    const std::string bytes = rows.serialize();

    JetRecordSet back;
    ASSERT_TRUE(back.deserialize(bytes));
    EXPECT_EQ(back.getColumns()[0].name, L"T\u00E4xt");
    EXPECT_EQ(back.getColumns()[1].kind, JetRecordSet::Kind::NUMBER);
    ASSERT_EQ(back.getRowCount(), 2u);
    EXPECT_EQ(back.getRow(0)[0].text, L"\u00C4pfel");
    EXPECT_TRUE(back.getRow(0)[1].null);
    EXPECT_FALSE(back.getRow(1)[1].null);
    // Every shorter prefix, and anything after the end mark, is refused.
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_FALSE(back.deserialize(bytes.substr(0, n))) << n;
    }
    EXPECT_FALSE(back.deserialize(bytes + "x"));
    EXPECT_TRUE(back.getColumns().empty());
}

}  // namespace
}  // namespace FileIO
