// libFuzzer target: any bytes as a foreign Jet database, through the database layer the
// imports use, and as the answer of the reader process. libmdb runs in a child process;
// whatever it does with the bytes, this process must get a result or an error and carry
// on. Beyond that:
// - a table that reads has one value per column in every row, and the ORDER BY column is
//   in Jet's order (nulls first);
// - an answer that decodes encodes to bytes that decode to the same answer.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FileIO/JetDatabase.h"
#include "FileIO/JetRecordSet.h"

namespace {

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void query(FileIO::JetDatabase& database, const wchar_t* sql, const wchar_t* orderColumn)
{
    FileIO::JetRecordSet rows;
    if (!database.execute(sql, rows)) {
        check(!database.getError().empty());
        check(rows.getColumns().empty() && rows.getRowCount() == 0);
        return;
    }
    const int order = rows.findColumn(orderColumn);
    check(order >= 0);
    bool seenValue = false;
    for (std::size_t r = 0; r < rows.getRowCount(); ++r) {
        check(rows.getRow(r).size() == rows.getColumns().size());
        const bool null = rows.getRow(r)[static_cast<std::size_t>(order)].null;
        check(!(null && seenValue));
        seenValue = seenValue || !null;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);

    FileIO::JetRecordSet answer;
    if (answer.deserialize(input)) {
        const std::string again = answer.serialize();
        FileIO::JetRecordSet back;
        check(back.deserialize(again));
        check(back.serialize() == again);
    }

    static const auto limit = FileIO::JetDatabase::setTimeLimit(std::chrono::seconds(3));
    (void)limit;
    FileIO::JetDatabase database;
    database.openBytes(input);
    // One query per input: each runs a reader process, which is the slow part.
    if (size % 2 == 0) {
        query(database, L"SELECT * FROM `Events` ORDER BY `CUE`;", L"CUE");
    } else {
        query(database, L"SELECT * FROM `Effects` ORDER BY `Effect Description`;",
              L"Effect Description");
    }
    return 0;
}
