#pragma once

#include <functional>
#include <string>
#include <vector>

#include "FileIO/JetRecordSet.h"
#include "Project/Operations/OperationOpenFile.h"

namespace Project {

// Makes a new project from a foreign show database (a Jet database with the table "Events"):
// one pyro cue per event, in cue order, in the project's file named after the database with
// ".fwp" in place of ".scx". Built with a frame rate, 24, 25, 29 (30 drop-frame) or 30, or
// with 0 to find the rate from the events' times and their intervals to the next event.
//
// When the events leave more than one rate open, nothing changes: the operation succeeds
// and hands the rates left to the format question (the frame-rate wizard), whose answer
// submits the import again with one rate.
//
// A file that cannot be read as such a database, a missing column, a value that cannot be
// converted, or a time outside the day or outside the chosen rate fails with
// "ERROR.INVALID_SCX". An unreadable file leaves the project alone; a bad event stops the
// import after the cues before it.
class OperationImportSCX : public OperationOpenFile {
public:
    // The rates a file leaves open, as 24, 25, 29 and 30, in this order.
    using FormatQuestion =
        std::function<void(const std::wstring& path, const std::vector<int>& rates)>;

    // `rate` is 0, 24, 25, 29 or 30.
    OperationImportSCX(std::wstring path, int rate);

    bool execute(ProjectData& data) override;

    // Installs the format question and returns the previous one; without one the rates left
    // are only kept in the operation.
    static FormatQuestion setFormatQuestion(FormatQuestion question);

    // After an execute that left more than one rate: those rates; empty otherwise.
    const std::vector<int>& getRatesLeft() const { return ratesLeft_; }

    // The SMPTE format of a rate code (24, 25, 29, 30) and back.
    static int formatOfRate(int rate);
    static int rateOfFormat(int format);

    // Finds the formats the events allow. False when a time is outside the day.
    static bool detectFormats(const FileIO::JetRecordSet& events, std::vector<int>& formats);

    // The project file name of a database path.
    static std::wstring projectPathFor(const std::wstring& databasePath);

    // Sets the project up for the database and adds one cue per event in the format;
    // false (with the last error set) at the first event that cannot be converted.
    bool importEvents(const FileIO::JetRecordSet& events, int format, ProjectData& data);

private:
    int rate_;
    std::vector<int> ratesLeft_;
};

}  // namespace Project
