#include "PDF/PyroList.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "PDF/ReportTable.h"
#include "PDF/WinAnsiText.h"
#include "Platform/NumberReading.h"

namespace PDF {

namespace {

const wchar_t* const kHeaders[] = {
    L"QTY",       L"DESCRIPTION", L"MANUFACTURER", L"ARTNR",       L"CLASSIFICATION",
    L"CALIBRE",   L"NETWEIGHT",   L"HEIGHT",       L"VANSHAPE",    L"DISTANCE",
    L"SUBWEIGHT", L"TYPE",        L"UNITPRICE",    L"SUBTOTPRICE",
};
// Millimetres; together the width of a landscape page between the margins.
constexpr double kWidths[] = {11, 44, 22, 19, 19, 14, 17, 12, 17, 14, 19, 22, 18, 19};
constexpr bool kRight[] = {true, false, false, false, false, true, true,
                           true, false, true,  true,  false, true, true};
constexpr int kQty = 0, kClassification = 4, kSubWeight = 10, kSubTotal = 13;

int readInt(const std::wstring& text)
{
    return Platform::readLeadingInt(text).value_or(0);
}

double readPrice(std::wstring text)
{
    std::replace(text.begin(), text.end(), L',', L'.');
    return Platform::readLeadingReal(text).value_or(0.0);
}

// An empty value stays empty rather than showing a unit alone.
std::string withUnit(const std::wstring& value, const char* unit)
{
    return value.empty() ? std::string() : toWinAnsi(value) + unit;
}

std::string kilograms(double grams)
{
    return ReportText::fixed2(grams / 1000.0) + " kg";
}

}  // namespace

std::vector<PyroList::Row> PyroList::rows(const Project::CueList& cues, bool include)
{
    std::vector<Row> result;
    std::map<std::wstring, std::size_t> byArticle;
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        if (cue->getCommand().getType() != Project::CueCommand::TYPE_PYRO) {
            continue;
        }
        const std::wstring article = ReportText::meta(*cue, L"~ARTNR");
        if (!article.empty()) {
            const auto found = byArticle.find(article);
            if (found != byArticle.end()) {
                result[found->second].quantity += cue->getQuantity();
                continue;
            }
        }
        if (article == L"0" || (article.empty() && !include)) {
            continue;
        }
        Row row;
        row.quantity = cue->getQuantity();
        row.description = ReportText::meta(*cue, L"~DESC");
        row.type = ReportText::meta(*cue, L"~TYPE");
        row.articleNumber = article;
        row.netWeight = readInt(ReportText::meta(*cue, L"~WEIGHT"));
        row.height = readInt(ReportText::meta(*cue, L"~HEIGHT"));
        row.safetyDistance = ReportText::meta(*cue, L"~SAFETY");
        row.manufacturer = ReportText::meta(*cue, L"~MANUFACTURER");
        row.classification = ReportText::meta(*cue, L"~CLASSIFICATION");
        row.vanShape = ReportText::meta(*cue, L"~VANSHAPE");
        row.caliber = ReportText::meta(*cue, L"~CALIBRE");
        row.unitPrice = readPrice(ReportText::meta(*cue, L"~PRICE"));
        if (!article.empty()) {
            byArticle.emplace(article, result.size());
        }
        result.push_back(std::move(row));
    }
    return result;
}

PyroList::Totals PyroList::totals(const std::vector<Row>& rows)
{
    Totals totals;
    for (const Row& row : rows) {
        totals.quantity += row.quantity;
        totals.weight += static_cast<double>(row.quantity) * row.netWeight;
        totals.price += row.quantity * row.unitPrice;
    }
    return totals;
}

std::vector<PyroList::ClassTotals> PyroList::overview(const std::vector<Row>& rows)
{
    std::vector<ClassTotals> result;
    for (const Row& row : rows) {
        auto found = std::find_if(result.begin(), result.end(), [&](const ClassTotals& entry) {
            return entry.classification == row.classification;
        });
        if (found == result.end()) {
            result.push_back({row.classification, {}});
            found = result.end() - 1;
        }
        const Totals part = totals({row});
        found->totals.quantity += part.quantity;
        found->totals.weight += part.weight;
        found->totals.price += part.price;
    }
    return result;
}

void PyroList::write(ReportDocument& document, const Project::ProjectData& data,
                     const Translate& translate, bool include, bool overview)
{
    std::vector<ReportTable::Column> columns;
    for (std::size_t i = 0; i < std::size(kHeaders); ++i) {
        columns.push_back(
            {toWinAnsi(translate(std::wstring(L"REPORTS.PYROLIST.HEADER.") + kHeaders[i])),
             kWidths[i], kRight[i]});
    }
    const std::vector<Row> articles = rows(data.getCueList(), include);
    const Totals sum = totals(articles);

    if (overview) {
        // The classification's pieces, net weight and price only.
        std::vector<ReportTable::Column> few = {columns[kQty], columns[kClassification],
                                                columns[kSubWeight], columns[kSubTotal]};
        few[0].width = 25;
        few[1].width = 122;
        few[2].width = 60;
        few[3].width = 60;
        ReportTable table(std::move(few), true, 3.0);
        table.beginSection(toWinAnsi(translate(L"REPORTS.PYROLIST.TITLE")),
                           toWinAnsi(translate(L"REPORTS.PYROLIST.TITLE_TWO")));
        for (const ClassTotals& entry : PyroList::overview(articles)) {
            table.addRow({{std::to_string(entry.totals.quantity), toWinAnsi(entry.classification),
                           kilograms(entry.totals.weight), ReportText::fixed2(entry.totals.price)},
                          false,
                          false});
        }
        table.addRow(
            {{std::to_string(sum.quantity), toWinAnsi(translate(L"REPORTS.PYROLIST.TOTAL")),
              kilograms(sum.weight), ReportText::fixed2(sum.price)},
             true,
             true});
        table.render(document);
        return;
    }

    ReportTable table(std::move(columns), true, 2.5);
    table.beginSection(toWinAnsi(translate(L"REPORTS.PYROLIST.TITLE")),
                       toWinAnsi(translate(L"REPORTS.PYROLIST.TITLE_TWO")));
    for (const Row& row : articles) {
        char height[24];
        std::snprintf(height, sizeof height, "%d m", row.height);
        table.addRow(
            {{std::to_string(row.quantity), toWinAnsi(row.description), toWinAnsi(row.manufacturer),
              toWinAnsi(row.articleNumber), toWinAnsi(row.classification),
              withUnit(row.caliber, " mm"), kilograms(row.netWeight), height,
              toWinAnsi(row.vanShape), withUnit(row.safetyDistance, " m"),
              kilograms(static_cast<double>(row.quantity) * row.netWeight), toWinAnsi(row.type),
              ReportText::fixed2(row.unitPrice), ReportText::fixed2(row.quantity * row.unitPrice)},
             false,
             false});
    }
    ReportTable::Row total;
    total.cells.resize(std::size(kHeaders));
    total.cells[kQty] = std::to_string(sum.quantity);
    total.cells[1] = toWinAnsi(translate(L"REPORTS.PYROLIST.TOTAL"));
    total.cells[kSubWeight] = kilograms(sum.weight);
    total.cells[kSubTotal] = ReportText::fixed2(sum.price);
    total.bold = true;
    total.ruleAbove = true;
    table.addRow(std::move(total));
    table.render(document);
}

}  // namespace PDF
