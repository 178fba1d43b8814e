#pragma once

#include <string>
#include <string_view>

#include "FileIO/JetRecordSet.h"

namespace FileIO {

// Reads one table of a Jet 3 or Jet 4 database with libmdb, read-only: every column and every
// row in storage order. libmdb parses the file itself, and the file may come from anywhere:
// the database layer runs this reader in a child process (see JetDatabase), so that a fault
// inside the library cannot stop the program.
class JetTableReader {
public:
    // The table's name is compared without regard to case. False with an error text when
    // the bytes are not a Jet database or the table is missing.
    static bool readFile(const std::string& utf8Path, const std::wstring& table,
                         JetRecordSet& result, std::string& error);
    static bool readBytes(std::string_view bytes, const std::wstring& table, JetRecordSet& result,
                          std::string& error);
};

}  // namespace FileIO
