#pragma once

#include <string>

#include "PDF/HPDFException.h"

namespace PDF {

// One PDF document of A4 pages in which the report code places text and lines in
// millimetres from the lower left corner of the page. Texts are Windows-1252 bytes (see
// WinAnsiText.h); sizes of fonts are in millimetres as well.
//
// Every error of the PDF library throws HPDFException from the call that caused it, after
// the line "HPDF error: error_no=0x%04X, detail_no=%u" has gone to the diagnostic log. The
// library's error callback only records the error: the exception is raised from this
// class's own code, never through the library's C frames.
class ReportDocument {
public:
    // A4 in points, and points per millimetre.
    static constexpr double kA4Short = 595.2756;
    static constexpr double kA4Long = 841.8898;
    static constexpr double kPointsPerMm = 2.8346457;

    ReportDocument();
    ~ReportDocument();
    ReportDocument(const ReportDocument&) = delete;
    ReportDocument& operator=(const ReportDocument&) = delete;

    // Adds an A4 page, portrait or landscape, and makes it the page drawn on.
    void addPage(bool landscape);
    // The current page's size in millimetres.
    double getPageWidth() const { return pageWidth_; }
    double getPageHeight() const { return pageHeight_; }
    int getPageCount() const { return pageCount_; }

    // Writes the text with its baseline starting at (x, y) in Helvetica or Helvetica-Bold.
    // `scale` squeezes the text horizontally (1 is the font's own width).
    void text(double x, double y, const std::string& text, bool bold, double size,
              double scale = 1.0);
    // The width of the text in millimetres.
    double textWidth(const std::string& text, bool bold, double size) const;
    void line(double x1, double y1, double x2, double y2, double width);
    void rectangle(double x, double y, double width, double height, double lineWidth);

    // The whole document as PDF bytes.
    std::string toBytes();

    // Test seam: when set, the next document's first page provokes a real error of the PDF
    // library (an invalid font size), as a library failure inside a report would.
    static void failNextDocumentForTesting(bool fail);

private:
    struct Handle;
    static void errorHandler(unsigned long errorNo, unsigned long detailNo, void* self);
    // Throws the recorded library error, if any.
    void check();

    Handle* handle_;
    double pageWidth_ = 0;
    double pageHeight_ = 0;
    int pageCount_ = 0;
    bool failFirstPage_ = false;
    bool failed_ = false;
    unsigned long errorNo_ = 0;
    unsigned long detailNo_ = 0;
};

}  // namespace PDF
