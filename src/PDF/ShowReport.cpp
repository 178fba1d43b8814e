#include "PDF/ShowReport.h"

#include <cstdio>
#include <string>

#include "PDF/WinAnsiText.h"
#include "Timecode/SMPTE.h"

namespace PDF {

namespace {

constexpr double kFrameX = 20.0;
constexpr double kFrameWidth = 257.0;
constexpr double kRowHeight = 5.0;
constexpr double kLineWidth = 0.25;
constexpr double kFontSize = 4.0;
constexpr double kHeaderY = 190.0;
constexpr double kFirstRowY = 185.0;
constexpr double kMinimumScale = 0.6;

struct Column {
    const wchar_t* headerKey;
    double textX;
    double separatorX;  // 0: none
};

constexpr Column kColumns[] = {
    {L"REPORTS.SHOWLIST.HEADER.TIMECODE", 25, 0},
    {L"REPORTS.SHOWLIST.HEADER.TYPE", 60, 55},
    {L"REPORTS.SHOWLIST.HEADER.DURATION", 85, 80},
    {L"REPORTS.SHOWLIST.HEADER.LOCATION", 110, 105},
    {L"REPORTS.SHOWLIST.HEADER.FAMILY", 155, 150},
    {L"REPORTS.SHOWLIST.HEADER.DESCRIPTION", 190, 185},
};
constexpr int kColumnCount = 6;

// Where the text of column i must end: a little before the next separator or the frame.
double textLimit(int i)
{
    const double end = i + 1 < kColumnCount ? kColumns[i + 1].separatorX : kFrameX + kFrameWidth;
    return end - 0.5;
}

// Writes the cell text so that it ends before the limit.
void cell(ReportDocument& document, int column, double y, const std::string& text, bool bold)
{
    const double x = kColumns[column].textX;
    const double room = textLimit(column) - x;
    const double width = document.textWidth(text, bold, kFontSize);
    if (width <= room) {
        document.text(x, y, text, bold, kFontSize);
        return;
    }
    if (width * kMinimumScale <= room) {
        document.text(x, y, text, bold, kFontSize, room / width);
        return;
    }
    std::string shortened = text;
    while (!shortened.empty() &&
           document.textWidth(shortened + "...", bold, kFontSize) * kMinimumScale > room) {
        shortened.pop_back();
    }
    shortened += "...";
    const double shortWidth = document.textWidth(shortened, bold, kFontSize);
    document.text(x, y, shortened, bold, kFontSize, shortWidth <= room ? 1.0 : room / shortWidth);
}

void frameRow(ReportDocument& document, double y)
{
    for (const Column& column : kColumns) {
        if (column.separatorX > 0) {
            document.line(column.separatorX, y, column.separatorX, y + kRowHeight, kLineWidth);
        }
    }
    document.rectangle(kFrameX, y, kFrameWidth, kRowHeight, kLineWidth);
}

void startPage(ReportDocument& document, const std::string& title,
               const std::string (&headers)[kColumnCount])
{
    document.addPage(true);
    document.text(128, 200, title, true, 7);
    for (int i = 0; i < kColumnCount; ++i) {
        cell(document, i, 192, headers[i], true);
    }
    frameRow(document, kHeaderY);
}

std::string typeText(const Project::Cue& cue)
{
    switch (cue.getCommand().getType()) {
        case Project::CueCommand::TYPE_DMX512: return "DMX";
        case Project::CueCommand::TYPE_REMINDER: return "NOTE";
        default: return "PYRO";
    }
}

}  // namespace

void ShowReport::write(ReportDocument& document, const Project::ProjectData& data,
                       const Translate& translate)
{
    std::string title = toWinAnsi(translate(L"REPORTS.SHOWLIST.TITLE"));
    if (title.size() > 25) {
        title.resize(25);
    }
    std::string headers[kColumnCount];
    for (int i = 0; i < kColumnCount; ++i) {
        headers[i] = toWinAnsi(translate(kColumns[i].headerKey));
    }
    const double rate = SMPTE::framesPerSecond(data.getFormat());

    const Project::CueList& cues = data.getCueList();
    int row = 0;
    // A show without cues still gets its page with the title and the headers.
    if (cues.getCount() == 0) {
        startPage(document, title, headers);
    }
    for (const Project::Cue* cue = cues.first(); cue != cues.end();
         cue = static_cast<const Project::CueList::CueItem*>(cue)->getNext()) {
        if (row % kRowsPerPage == 0) {
            startPage(document, title, headers);
        }
        const double y = kFirstRowY - kRowHeight * (row % kRowsPerPage);
        const double textY = y + 1.5;
        char duration[32];
        std::snprintf(duration, sizeof duration, "%d sec",
                      static_cast<int>(cue->getDuration() / rate));
        const bool reminder = cue->getCommand().getType() == Project::CueCommand::TYPE_REMINDER;
        cell(document, 0, textY, cue->getTimecode().toNarrowString(), false);
        cell(document, 1, textY, typeText(*cue), false);
        cell(document, 2, textY, duration, false);
        cell(document, 3, textY, ReportText::metaText(*cue, L"~POS"), false);
        cell(document, 4, textY, ReportText::metaText(*cue, L"~TYPE"), false);
        cell(document, 5, textY,
             reminder ? lowBytesToWinAnsi(cue->getReminderText())
                      : ReportText::metaText(*cue, L"~DESC"),
             false);
        frameRow(document, y);
        ++row;
    }
}

}  // namespace PDF
