#include "PDF/ReportTable.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "Platform/Assert.h"

namespace PDF {

namespace {

constexpr double kPadding = 1.0;         // between a cell's frame and its text
constexpr double kTitleSize = 6.0;       // the section title
constexpr double kMinTitleSize = 4.5;    // a long title shrinks to this, then wraps
constexpr double kTitleBaseline = 18.0;  // from the top edge of the page to the title's first line
constexpr double kFooterSize = 3.0;      // the page number
constexpr double kFooterY = 8.0;         // baseline of the page number
constexpr double kBottom = 14.0;         // no row goes below this
constexpr double kHeaderTopGap = 24.0;   // from the top edge of the page to the header row
constexpr double kLineFactor = 1.2;      // line height per font size

// Greedy word wrap; a word wider than the column is broken between characters.
std::vector<std::string> wrapText(const std::string& text, double width, bool bold, double size,
                                  const ReportDocument& document)
{
    std::vector<std::string> lines;
    std::string current;
    auto fits = [&](const std::string& candidate) {
        return document.textWidth(candidate, bold, size) <= width;
    };
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) {
            continue;
        }
        const std::string joined = current.empty() ? word : current + " " + word;
        if (fits(joined)) {
            current = joined;
            continue;
        }
        if (!current.empty()) {
            lines.push_back(current);
            current.clear();
        }
        // Break an overlong word into pieces that fit, at least one character each.
        while (!fits(word)) {
            std::size_t take = 1;
            while (take < word.size() && fits(word.substr(0, take + 1))) {
                ++take;
            }
            lines.push_back(word.substr(0, take));
            word.erase(0, take);
        }
        current = word;
    }
    if (!current.empty() || lines.empty()) {
        lines.push_back(current);
    }
    return lines;
}

// A title fits the table's width: a long one is set smaller, and one still too long wraps
// onto further lines, so that a long location name is printed to its end.
struct TitleLayout {
    double size = kTitleSize;
    std::vector<std::string> lines;
    // The height its lines below the first take; the table moves down by as much.
    double extraHeight() const
    {
        return static_cast<double>(lines.size() - 1) * size * kLineFactor;
    }
};

TitleLayout layoutTitle(const std::string& title, double width, const ReportDocument& document)
{
    TitleLayout layout;
    const double natural = document.textWidth(title, true, kTitleSize);
    if (natural > width) {
        layout.size = std::max(kMinTitleSize, kTitleSize * width / natural);
    }
    layout.lines = wrapText(title, width, true, layout.size, document);
    return layout;
}

}  // namespace

ReportTable::ReportTable(std::vector<Column> columns, bool landscape, double fontSize)
    : columns_(std::move(columns)), landscape_(landscape), fontSize_(fontSize)
{
    SKY_ASSERT(!columns_.empty(), "ReportTable");
}

void ReportTable::beginSection(std::string title, std::string continuedTitle)
{
    sections_.push_back({std::move(title), std::move(continuedTitle), {}});
}

void ReportTable::addRow(Row row)
{
    SKY_ASSERT(!sections_.empty(), "ReportTable");
    row.cells.resize(columns_.size());
    sections_.back().rows.push_back(std::move(row));
}

std::vector<std::vector<std::string>> ReportTable::wrap(const std::vector<std::string>& cells,
                                                        bool bold,
                                                        const ReportDocument& document) const
{
    std::vector<std::vector<std::string>> wrapped;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        wrapped.push_back(
            wrapText(cells[i], columns_[i].width - 2 * kPadding, bold, fontSize_, document));
    }
    return wrapped;
}

double ReportTable::rowHeight(std::size_t lines) const
{
    return static_cast<double>(lines) * fontSize_ * kLineFactor + 2 * kPadding;
}

void ReportTable::render(ReportDocument& document) const
{
    struct Placed {
        const Row* row;
        std::vector<std::vector<std::string>> lines;
        double height;
    };
    struct Page {
        TitleLayout title;
        std::vector<Placed> rows;
    };

    const double pageHeight = landscape_ ? ReportDocument::kA4Short / ReportDocument::kPointsPerMm
                                         : ReportDocument::kA4Long / ReportDocument::kPointsPerMm;
    std::vector<std::string> headers;
    for (const Column& column : columns_) {
        headers.push_back(column.header);
    }
    const std::vector<std::vector<std::string>> headerLines = wrap(headers, true, document);
    std::size_t headerLineCount = 1;
    for (const auto& lines : headerLines) {
        headerLineCount = std::max(headerLineCount, lines.size());
    }
    const double headerHeight = rowHeight(headerLineCount);
    const double firstRowTop = pageHeight - kHeaderTopGap - headerHeight;
    double tableWidth = 0;
    for (const Column& column : columns_) {
        tableWidth += column.width;
    }

    // First the pages, so that every page can name the number of pages.
    std::vector<Page> pages;
    for (const Section& section : sections_) {
        const TitleLayout title = layoutTitle(section.title, tableWidth, document);
        const TitleLayout continued = layoutTitle(section.continuedTitle, tableWidth, document);
        pages.push_back({title, {}});
        double room = firstRowTop - kBottom - title.extraHeight();
        double used = 0;
        for (const Row& row : section.rows) {
            Placed placed{&row, wrap(row.cells, row.bold, document), 0};
            std::size_t lineCount = 1;
            for (const auto& lines : placed.lines) {
                lineCount = std::max(lineCount, lines.size());
            }
            placed.height = rowHeight(lineCount);
            // A row taller than a whole page still gets a page of its own, and runs over
            // the foot margin rather than losing text.
            if (used + placed.height > room && !pages.back().rows.empty()) {
                pages.push_back({continued, {}});
                room = firstRowTop - kBottom - continued.extraHeight();
                used = 0;
            }
            used += placed.height;
            pages.back().rows.push_back(std::move(placed));
        }
    }

    const double left = kMargin;
    auto drawRow = [&](double top, double height,
                       const std::vector<std::vector<std::string>>& lines, bool bold,
                       bool ruleAbove) {
        document.rectangle(left, top - height, tableWidth, height, 0.2);
        if (ruleAbove) {
            document.line(left, top, left + tableWidth, top, 0.6);
        }
        double x = left;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (i > 0) {
                document.line(x, top - height, x, top, 0.2);
            }
            double baseline = top - kPadding - fontSize_;
            for (const std::string& line : lines[i]) {
                double textX = x + kPadding;
                if (columns_[i].alignRight) {
                    textX = x + columns_[i].width - kPadding -
                            document.textWidth(line, bold, fontSize_);
                }
                document.text(textX, baseline + 0.2 * fontSize_, line, bold, fontSize_);
                baseline -= fontSize_ * kLineFactor;
            }
            x += columns_[i].width;
        }
    };

    const int total = static_cast<int>(pages.size());
    int number = 0;
    for (const Page& page : pages) {
        ++number;
        document.addPage(landscape_);
        double baseline = pageHeight - kTitleBaseline;
        for (const std::string& line : page.title.lines) {
            document.text(left, baseline, line, true, page.title.size);
            baseline -= page.title.size * kLineFactor;
        }
        double top = pageHeight - kHeaderTopGap - page.title.extraHeight();
        drawRow(top, headerHeight, headerLines, true, false);
        top -= headerHeight;
        for (const Placed& placed : page.rows) {
            drawRow(top, placed.height, placed.lines, placed.row->bold, placed.row->ruleAbove);
            top -= placed.height;
        }
        char footer[32];
        std::snprintf(footer, sizeof footer, "%d / %d", number, total);
        const std::string text(footer);
        document.text(left + tableWidth - document.textWidth(text, false, kFooterSize), kFooterY,
                      text, false, kFooterSize);
    }
}

}  // namespace PDF
