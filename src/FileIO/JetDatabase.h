#pragma once

#include <chrono>
#include <string>

#include "FileIO/JetRecordSet.h"

namespace FileIO {

// A Jet 3 or Jet 4 database (the files of Microsoft Access), opened read-only. It answers the
// one kind of query the imports send:
//
//     SELECT * FROM `Table` ORDER BY `Column`;
//
// (keywords in any case, names in backticks, square brackets or bare, ORDER BY optional,
// ASC or DESC after the column, the semicolon optional). Rows come back in Jet's order:
// nulls first, text without regard to case, numbers by value; rows that compare equal keep
// their storage order.
//
// libmdb reads the file, in a child process: the library was not written for hostile input,
// and a crash or a hang on a damaged file must cost the import, not the program. The child
// answers within a time limit or is killed.
class JetDatabase {
public:
    JetDatabase() = default;
    JetDatabase(const JetDatabase&) = delete;
    JetDatabase& operator=(const JetDatabase&) = delete;

    // Remembers the file to read; false when it cannot be opened for reading. Whether it is
    // a Jet database shows with the first query.
    bool open(const std::wstring& path);
    // Reads a database held in memory (for tests and fuzzing).
    void openBytes(std::string bytes);
    void close();
    bool isOpen() const { return open_; }

    // Runs the query into `result`. False with an error text for a query of another form,
    // a file that is not a Jet database, a missing table or ORDER BY column, or a reader
    // that failed or ran out of time.
    bool execute(const std::wstring& sql, JetRecordSet& result);

    const std::string& getError() const { return error_; }

    // The time the reader of one query may take; returns the previous limit.
    static std::chrono::milliseconds setTimeLimit(std::chrono::milliseconds limit);

private:
    bool fail(std::string error);
    bool readTable(const std::wstring& table, JetRecordSet& result);

    bool open_ = false;
    bool inMemory_ = false;
    std::string path_;  // UTF-8
    std::string bytes_;
    std::string error_;
};

}  // namespace FileIO
