#pragma once

#include <string>
#include <vector>

#include "PDF/ReportDocument.h"

namespace PDF {

// The layout of the lists whose look is ours to choose: a framed table across the page,
// split into sections. Every page carries its section's title (the first page of a section
// its own title, later pages the continued title), the column headers and "page / pages"
// at the foot. A text longer than its column wraps onto further lines of the same row, and a
// word longer than the column breaks inside, so nothing is cut off; a title wider than the
// table is set smaller and, if still too wide, wraps the same way, the table moving down. A row
// never splits across pages. All texts are Windows-1252 bytes.
class ReportTable {
public:
    struct Column {
        std::string header;
        double width = 0;  // millimetres
        bool alignRight = false;
    };

    struct Row {
        std::vector<std::string> cells;
        bool bold = false;
        // A heavier rule above the row (a totals row, the first row of a group).
        bool ruleAbove = false;
    };

    // The columns fill the page's width between the margins from left to right.
    ReportTable(std::vector<Column> columns, bool landscape, double fontSize);

    // Starts a new section on a new page.
    void beginSection(std::string title, std::string continuedTitle);
    void addRow(Row row);

    // Places every section in the document; a table without sections prints nothing.
    void render(ReportDocument& document) const;

    static constexpr double kMargin = 15.0;

private:
    struct Section {
        std::string title;
        std::string continuedTitle;
        std::vector<Row> rows;
    };

    // The lines of each cell of a row wrapped to its column.
    std::vector<std::vector<std::string>> wrap(const std::vector<std::string>& cells, bool bold,
                                               const ReportDocument& document) const;
    double rowHeight(std::size_t lines) const;

    std::vector<Column> columns_;
    bool landscape_;
    double fontSize_;
    std::vector<Section> sections_;
};

}  // namespace PDF
