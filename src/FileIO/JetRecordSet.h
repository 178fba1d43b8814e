#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace FileIO {

// The rows of one table of a Jet database as the database layer answers a query: column
// names, and per row one value per column that may be null. Values keep the text the
// database shows for them; numbers are marked so that sorting and conversions treat them
// by value.
class JetRecordSet {
public:
    enum class Kind : uint8_t { TEXT = 0, NUMBER = 1, OTHER = 2 };

    struct Value {
        bool null = true;
        std::wstring text;  // empty when null
    };

    struct Column {
        std::wstring name;
        Kind kind = Kind::TEXT;
    };

    void clear();
    void addColumn(std::wstring name, Kind kind);
    // Appends a row of nulls and returns it; fill it through the result.
    std::vector<Value>& addRow();

    const std::vector<Column>& getColumns() const { return columns_; }
    std::size_t getRowCount() const { return rows_.size(); }
    const std::vector<Value>& getRow(std::size_t row) const { return rows_[row]; }

    // The index of a column by name, compared without regard to case as Jet does; -1 when
    // the table has no such column.
    int findColumn(std::wstring_view name) const;

    // Sorts the rows by one column in Jet's order: nulls first, numbers by value, everything
    // else as text without regard to case. Rows that compare equal keep their order.
    void sortBy(int column, bool descending);

    // A compact byte form, for handing a record set from one process to another.
    std::string serialize() const;
    // Reads the byte form; false (and the set cleared) when the bytes are not a whole,
    // well-formed record set.
    bool deserialize(std::string_view bytes);

private:
    std::vector<Column> columns_;
    std::vector<std::vector<Value>> rows_;
};

}  // namespace FileIO
