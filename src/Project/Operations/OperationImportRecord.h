#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "FileIO/JetRecordSet.h"

namespace Project {

// One record of a foreign database, read field by field with the conversions the imports
// use. A field whose column is missing, or whose value cannot be converted, reads as
// INVALID: the import then fails. A null reads as NULL_VALUE and leaves the output at its
// zero (empty text, 0), for the caller to decide what a null means.
class OperationImportRecord {
public:
    enum class Read { OK, NULL_VALUE, INVALID };

    OperationImportRecord(const FileIO::JetRecordSet& records, std::size_t row)
        : records_(records), row_(row)
    {
    }

    // The value as text: numbers as the database shows them.
    Read text(std::wstring_view column, std::wstring& out) const;
    // A whole number: a number column rounded to the nearest (ties to even, as Jet
    // converts), or a text that holds nothing but a number. Values outside 32 bits are
    // invalid.
    Read wholeNumber(std::wstring_view column, int& out) const;
    // A real number: a number column, or a text that holds nothing but a number (a comma
    // may stand for the decimal point).
    Read real(std::wstring_view column, double& out) const;

private:
    const FileIO::JetRecordSet::Value* find(std::wstring_view column) const;

    const FileIO::JetRecordSet& records_;
    std::size_t row_;
};

}  // namespace Project
