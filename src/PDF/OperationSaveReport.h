#pragma once

#include <string>

#include "PDF/ReportText.h"
#include "Project/Operations/OperationSaveFile.h"

namespace PDF {

// Writes one of the PDF reports of the project. Passive, as every export: writing a file
// changes no data, and the modified state stays as it was (a report is no saved project).
//
// The document is built in memory first and written through a temporary file beside the
// target, so a failure leaves no partial file and an old file untouched. Fails with
// "ERROR.PDF_REPORT" when the PDF library reports an error (the line
// "HPDF error: error_no=0x%04X, detail_no=%u" goes to the diagnostic log), or with
// "ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING" / "ERROR.FAILED_TO_WRITE_TO_FILE".
//
// The operation lives beside the reports rather than with the other file operations, since
// the project's operations may not depend on the PDF library.
class OperationSaveReport : public Project::OperationSaveFile {
public:
    enum class Kind {
        SHOW,       // every cue with timecode, type, duration, location, family, description
        LOAD,       // what is loaded on each firing address
        PYRO,       // the articles with quantities, weights and prices
        LOCATION,   // what is placed where
        INVENTORY,  // the firing hardware and pieces
    };

    // `include` and `overview` are the flags of the pyro list; `include` that of the
    // location list; the other reports have none.
    OperationSaveReport(std::wstring path, Kind kind, bool include = true, bool overview = false,
                        Translate translate = ReportText::defaultTranslate());

    bool execute(Project::ProjectData& data) override;

    // The report's PDF bytes. Throws HPDFException when the PDF library fails.
    static std::string build(Kind kind, const Project::ProjectData& data,
                             const Translate& translate, bool include, bool overview);

    static constexpr const wchar_t* kPdfError = L"ERROR.PDF_REPORT";

private:
    Kind kind_;
    bool include_;
    bool overview_;
    Translate translate_;
};

}  // namespace PDF
