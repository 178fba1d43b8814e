#include "FileIO/JetTableReader.h"

#include <algorithm>
#include <mdbtools.h>
#include <memory>
#include <vector>

#include "Platform/Utf.h"

namespace FileIO {

namespace {

constexpr int kOffsetMask = 0x1FFF;  // a row start without its flag bits

struct HandleCloser {
    void operator()(MdbHandle* handle) const { mdb_close(handle); }
};
struct TableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

JetRecordSet::Kind kindOf(int type)
{
    switch (type) {
        case MDB_TEXT:
        case MDB_MEMO: return JetRecordSet::Kind::TEXT;
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC: return JetRecordSet::Kind::NUMBER;
        default: return JetRecordSet::Kind::OTHER;
    }
}

// Binary columns have no text form; their values are read as empty.
bool hasText(int type)
{
    return type != MDB_BINARY && type != MDB_OLE && type != MDB_COMPLEX;
}

bool read(MdbHandle* opened, const std::wstring& tableName, JetRecordSet& result,
          std::string& error)
{
    result.clear();
    const std::unique_ptr<MdbHandle, HandleCloser> mdb(opened);
    if (!mdb) {
        error = "not a Jet database";
        return false;
    }
    if (mdb_read_catalog(mdb.get(), MDB_TABLE) == nullptr || mdb->catalog == nullptr) {
        error = "the database has no readable catalogue";
        return false;
    }
    MdbCatalogEntry* entry = nullptr;
    JetRecordSet names;
    for (guint i = 0; i < mdb->catalog->len; ++i) {
        auto* candidate = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (candidate == nullptr || candidate->object_type != MDB_TABLE) {
            continue;
        }
        names.clear();
        names.addColumn(Platform::fromUtf8(candidate->object_name), JetRecordSet::Kind::TEXT);
        if (names.findColumn(tableName) == 0) {
            entry = candidate;
            break;
        }
    }
    if (entry == nullptr) {
        error = "no table " + Platform::toUtf8(tableName);
        return false;
    }
    const std::unique_ptr<MdbTableDef, TableFreer> table(mdb_read_table(entry));
    if (!table || mdb_read_columns(table.get()) == nullptr || table->columns == nullptr) {
        error = "the table cannot be read";
        return false;
    }
    const unsigned columns = std::min<unsigned>(table->num_cols, table->columns->len);
    const std::size_t bindSize = mdb->bind_size > 0 ? mdb->bind_size : MDB_BIND_SIZE;
    std::vector<std::vector<char>> buffers(columns, std::vector<char>(bindSize + 1, '\0'));
    std::vector<int> lengths(columns, 0);
    std::vector<int> types(columns, 0);
    for (unsigned i = 0; i < columns; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        types[i] = column->col_type;
        result.addColumn(Platform::fromUtf8(column->name), kindOf(column->col_type));
        if (mdb_bind_column(table.get(), static_cast<int>(i + 1), buffers[i].data(), &lengths[i]) ==
            -1) {
            error = "a column cannot be read";
            return false;
        }
    }
    std::vector<MdbField> fields(table->num_cols + 1);
    std::vector<bool> nulls(columns);
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        // The bound texts do not tell a null from an empty text; the row's null mask does.
        std::fill(nulls.begin(), nulls.end(), false);
        int start = 0;
        std::size_t size = 0;
        if (table->cur_row > 0 &&
            mdb_find_row(mdb.get(), static_cast<int>(table->cur_row - 1), &start, &size) == 0) {
            const int cracked =
                mdb_crack_row(table.get(), start & kOffsetMask, size, fields.data());
            for (int k = 0; k < cracked && k < static_cast<int>(fields.size()); ++k) {
                const int at = fields[k].colnum;
                if (at >= 0 && static_cast<unsigned>(at) < columns && types[at] != MDB_BOOL) {
                    nulls[at] = fields[k].is_null != 0;
                }
            }
        }
        std::vector<JetRecordSet::Value>& row = result.addRow();
        for (unsigned i = 0; i < columns; ++i) {
            row[i].null = nulls[i];
            if (!nulls[i] && hasText(types[i])) {
                buffers[i][bindSize] = '\0';
                row[i].text = Platform::fromUtf8(buffers[i].data());
            }
        }
    }
    return true;
}

}  // namespace

bool JetTableReader::readFile(const std::string& utf8Path, const std::wstring& table,
                              JetRecordSet& result, std::string& error)
{
    return read(mdb_open(utf8Path.c_str(), MDB_NOFLAGS), table, result, error);
}

bool JetTableReader::readBytes(std::string_view bytes, const std::wstring& table,
                               JetRecordSet& result, std::string& error)
{
    // libmdb reads the buffer in place and may keep pointers into it until it is closed.
    std::string copy(bytes);
    if (copy.empty()) {
        error = "not a Jet database";
        return false;
    }
    return read(mdb_open_buffer(copy.data(), copy.size(), MDB_NOFLAGS), table, result, error);
}

}  // namespace FileIO
