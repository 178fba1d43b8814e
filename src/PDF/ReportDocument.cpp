#include "PDF/ReportDocument.h"

#include <cstdio>
#include <hpdf.h>
#include <string>

#include "Platform/Log.h"
#include "Platform/Utf.h"

namespace PDF {

namespace {

bool failNextDocument = false;

}  // namespace

struct ReportDocument::Handle {
    HPDF_Doc doc = nullptr;
    HPDF_Page page = nullptr;
    HPDF_Font regular = nullptr;
    HPDF_Font bold = nullptr;
};

void ReportDocument::failNextDocumentForTesting(bool fail)
{
    failNextDocument = fail;
}

void ReportDocument::errorHandler(unsigned long errorNo, unsigned long detailNo, void* self)
{
    char line[80];
    std::snprintf(line, sizeof line, "HPDF error: error_no=0x%04X, detail_no=%u",
                  static_cast<unsigned>(errorNo), static_cast<unsigned>(detailNo));
    Platform::logLine(Platform::fromUtf8(line));
    auto* document = static_cast<ReportDocument*>(self);
    // The first error is the cause; what follows in the same call is its consequence.
    if (!document->failed_) {
        document->failed_ = true;
        document->errorNo_ = errorNo;
        document->detailNo_ = detailNo;
    }
}

void ReportDocument::check()
{
    if (failed_) {
        throw HPDFException(static_cast<uint32_t>(errorNo_), static_cast<uint32_t>(detailNo_));
    }
}

ReportDocument::ReportDocument() : handle_(new Handle)
{
    failFirstPage_ = failNextDocument;
    failNextDocument = false;
    handle_->doc = HPDF_New(&ReportDocument::errorHandler, this);
    if (handle_->doc == nullptr) {
        delete handle_;
        throw HPDFException(HPDF_FAILD_TO_ALLOC_MEM, 0);
    }
    try {
        check();
        HPDF_SetCompressionMode(handle_->doc, HPDF_COMP_ALL);
        check();
        handle_->regular = HPDF_GetFont(handle_->doc, "Helvetica", "WinAnsiEncoding");
        check();
        handle_->bold = HPDF_GetFont(handle_->doc, "Helvetica-Bold", "WinAnsiEncoding");
        check();
    } catch (...) {
        HPDF_Free(handle_->doc);
        delete handle_;
        throw;
    }
}

ReportDocument::~ReportDocument()
{
    HPDF_Free(handle_->doc);
    delete handle_;
}

void ReportDocument::addPage(bool landscape)
{
    HPDF_Page page = HPDF_AddPage(handle_->doc);
    check();
    const double width = landscape ? kA4Long : kA4Short;
    const double height = landscape ? kA4Short : kA4Long;
    HPDF_Page_SetWidth(page, static_cast<HPDF_REAL>(width));
    HPDF_Page_SetHeight(page, static_cast<HPDF_REAL>(height));
    HPDF_Page_Concat(page, static_cast<HPDF_REAL>(kPointsPerMm), 0, 0,
                     static_cast<HPDF_REAL>(kPointsPerMm), 0, 0);
    check();
    handle_->page = page;
    pageWidth_ = width / kPointsPerMm;
    pageHeight_ = height / kPointsPerMm;
    ++pageCount_;
    if (failFirstPage_) {
        failFirstPage_ = false;
        HPDF_Page_SetFontAndSize(page, handle_->regular, 0);
        check();
    }
}

void ReportDocument::text(double x, double y, const std::string& text, bool bold, double size,
                          double scale)
{
    if (text.empty()) {
        return;
    }
    HPDF_Page page = handle_->page;
    HPDF_Page_BeginText(page);
    HPDF_Page_SetFontAndSize(page, bold ? handle_->bold : handle_->regular,
                             static_cast<HPDF_REAL>(size));
    if (scale != 1.0) {
        HPDF_Page_SetHorizontalScalling(page, static_cast<HPDF_REAL>(scale * 100.0));
    }
    HPDF_Page_TextOut(page, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(y), text.c_str());
    if (scale != 1.0) {
        HPDF_Page_SetHorizontalScalling(page, 100);
    }
    HPDF_Page_EndText(page);
    check();
}

double ReportDocument::textWidth(const std::string& text, bool bold, double size) const
{
    const HPDF_TextWidth width = HPDF_Font_TextWidth(
        bold ? handle_->bold : handle_->regular, reinterpret_cast<const HPDF_BYTE*>(text.data()),
        static_cast<HPDF_UINT>(text.size()));
    return width.width * size / 1000.0;
}

void ReportDocument::line(double x1, double y1, double x2, double y2, double width)
{
    HPDF_Page page = handle_->page;
    HPDF_Page_SetLineWidth(page, static_cast<HPDF_REAL>(width));
    HPDF_Page_MoveTo(page, static_cast<HPDF_REAL>(x1), static_cast<HPDF_REAL>(y1));
    HPDF_Page_LineTo(page, static_cast<HPDF_REAL>(x2), static_cast<HPDF_REAL>(y2));
    HPDF_Page_Stroke(page);
    check();
}

void ReportDocument::rectangle(double x, double y, double width, double height, double lineWidth)
{
    HPDF_Page page = handle_->page;
    HPDF_Page_SetLineWidth(page, static_cast<HPDF_REAL>(lineWidth));
    HPDF_Page_Rectangle(page, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(y),
                        static_cast<HPDF_REAL>(width), static_cast<HPDF_REAL>(height));
    HPDF_Page_Stroke(page);
    check();
}

std::string ReportDocument::toBytes()
{
    HPDF_SaveToStream(handle_->doc);
    check();
    std::string bytes(HPDF_GetStreamSize(handle_->doc), '\0');
    HPDF_UINT32 size = static_cast<HPDF_UINT32>(bytes.size());
    HPDF_ReadFromStream(handle_->doc, reinterpret_cast<HPDF_BYTE*>(bytes.data()), &size);
    // Reading the whole stream reports its end as a status, not through the handler.
    check();
    bytes.resize(size);
    HPDF_ResetStream(handle_->doc);
    return bytes;
}

}  // namespace PDF
