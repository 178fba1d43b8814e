#include "Project/Operations/OperationImportSCX.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cwctype>
#include <optional>
#include <set>

#include "FileIO/JetDatabase.h"
#include "Platform/Assert.h"
#include "Project/Operations/OperationImportRecord.h"
#include "Project/Operations/OperationReport.h"
#include "Project/Project.h"
#include "Project/ProjectData.h"
#include "Timecode/SMPTE.h"

namespace Project {

namespace {

constexpr const wchar_t* kInvalid = L"ERROR.INVALID_SCX";
constexpr const char* kUnit = "OperationImportSCX";

using Read = OperationImportRecord::Read;

OperationImportSCX::FormatQuestion& formatQuestion()
{
    static OperationImportSCX::FormatQuestion question;
    return question;
}

struct Time {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int frames = 0;

    bool operator==(const Time&) const = default;
};

// The frame number of a label. Plain arithmetic rather than SMPTE, which insists on labels
// that exist in the format: an interval may run past 59 minutes, and a candidate format is
// tried on labels before it is ruled out.
int64_t frameNumber(int format, const Time& t)
{
    const int64_t fps = SMPTE::nominalFramesPerSecond(format);
    int64_t n = ((int64_t{t.hours} * 60 + t.minutes) * 60 + t.seconds) * fps + t.frames;
    if (format == SMPTE::SMPTE_30DF) {
        n -= int64_t{t.hours} * 108 + (t.minutes / 10) * 18 + (t.minutes % 10) * 2;
    }
    return n;
}

// The event's time; false when a field is missing, not a number, or outside the day.
bool readTime(const OperationImportRecord& record, Time& t)
{
    if (record.wholeNumber(L"HH", t.hours) != Read::OK ||
        record.wholeNumber(L"MM", t.minutes) != Read::OK ||
        record.wholeNumber(L"SS", t.seconds) != Read::OK ||
        record.wholeNumber(L"FF", t.frames) != Read::OK) {
        return false;
    }
    return t.hours >= 0 && t.hours <= 23 && t.minutes >= 0 && t.minutes <= 59 && t.seconds >= 0 &&
           t.seconds <= 59 && t.frames >= 0 && t.frames <= 29;
}

// The interval to the next event, "mm:ss:ff", when it is usable. Invalid only when the
// column is missing.
Read readNext(const OperationImportRecord& record, std::optional<Time>& next)
{
    next.reset();
    std::wstring text;
    const Read read = record.text(L"NEXT", text);
    if (read != Read::OK) {
        return read;
    }
    Time t;
    if (std::swscanf(text.c_str(), L"%2d:%2d:%2d", &t.minutes, &t.seconds, &t.frames) != 3) {
        return Read::OK;
    }
    if (t.minutes < 0 || t.seconds < 0 || t.frames < 0 || t.frames >= 30) {
        return Read::OK;
    }
    const bool someTime = (t.minutes != 0 || t.seconds != 0) && t.seconds < 60;
    const bool framesOnly = t.minutes == 0 && t.seconds == 0 && t.frames > 0;
    if (someTime || framesOnly) {
        next = t;
    }
    return Read::OK;
}

// The duration text: its last two characters are frames, the rest whole seconds.
bool readDuration(const OperationImportRecord& record, double framesPerSecond, int& duration)
{
    duration = 0;
    std::wstring text;
    const Read read = record.text(L"DUR", text);
    if (read == Read::NULL_VALUE) {
        return true;
    }
    if (read == Read::INVALID) {
        return false;
    }
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.back()))) {
        text.pop_back();
    }
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.front()))) {
        text.erase(text.begin());
    }
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
    }
    const std::size_t split = text.size() > 2 ? text.size() - 2 : 0;
    const int seconds = split > 0 ? std::stoi(text.substr(0, split)) : 0;
    const int frames = std::stoi(text.substr(split));
    duration = static_cast<int>(std::trunc(seconds * framesPerSecond + frames));
    return true;
}

std::wstring printedPrice(double price)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", price);
    return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}

}  // namespace

OperationImportSCX::OperationImportSCX(std::wstring path, int rate)
    : OperationOpenFile(std::move(path)), rate_(rate)
{
    SKY_ASSERT(rate == 0 || rate == 24 || rate == 25 || rate == 29 || rate == 30, kUnit);
}

OperationImportSCX::FormatQuestion OperationImportSCX::setFormatQuestion(FormatQuestion question)
{
    FormatQuestion previous = std::move(formatQuestion());
    formatQuestion() = std::move(question);
    return previous;
}

int OperationImportSCX::formatOfRate(int rate)
{
    switch (rate) {
        case 24: return SMPTE::SMPTE_24;
        case 25: return SMPTE::SMPTE_25;
        case 29: return SMPTE::SMPTE_30DF;
        default: return SMPTE::SMPTE_30;
    }
}

int OperationImportSCX::rateOfFormat(int format)
{
    switch (format) {
        case SMPTE::SMPTE_24: return 24;
        case SMPTE::SMPTE_25: return 25;
        case SMPTE::SMPTE_30DF: return 29;
        default: return 30;
    }
}

std::wstring OperationImportSCX::projectPathFor(const std::wstring& databasePath)
{
    // Foreign files come from Windows, where ".SCX" is the same extension.
    if (databasePath.size() >= 4) {
        std::wstring extension = databasePath.substr(databasePath.size() - 4);
        for (wchar_t& c : extension) {
            c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        }
        if (extension == L".scx") {
            return databasePath.substr(0, databasePath.size() - 4) + L".fwp";
        }
    }
    return databasePath + L".fwp";
}

bool OperationImportSCX::detectFormats(const FileIO::JetRecordSet& events,
                                       std::vector<int>& formats)
{
    formats.clear();
    const std::set<int> all = {SMPTE::SMPTE_24, SMPTE::SMPTE_25, SMPTE::SMPTE_30DF,
                               SMPTE::SMPTE_30};
    std::set<int> candidates = all;
    std::set<int> fallback = all;
    std::optional<Time> previous;
    std::optional<Time> previousNext;
    for (std::size_t row = 0; row < events.getRowCount(); ++row) {
        const OperationImportRecord record(events, row);
        Time time;
        if (!readTime(record, time)) {
            return false;
        }
        auto removeEverywhere = [&](int format) {
            candidates.erase(format);
            fallback.erase(format);
        };
        if (time.frames > 23) {
            removeEverywhere(SMPTE::SMPTE_24);
        }
        if (time.frames > 24) {
            removeEverywhere(SMPTE::SMPTE_25);
        }
        // Drop-frame counting skips these labels.
        if (time.seconds == 0 && time.minutes % 10 != 0 && time.frames <= 1) {
            removeEverywhere(SMPTE::SMPTE_30DF);
        }
        if (previous && previousNext && !(time == *previous)) {
            std::set<int> fitting;
            for (int format : candidates) {
                if (frameNumber(format, *previous) + frameNumber(format, *previousNext) ==
                    frameNumber(format, time)) {
                    fitting.insert(format);
                }
            }
            if (!fitting.empty()) {
                candidates = fitting;
            }
        }
        std::optional<Time> next;
        if (readNext(record, next) == Read::INVALID) {
            return false;
        }
        if (next && next->frames > 23) {
            candidates.erase(SMPTE::SMPTE_24);
        }
        if (next && next->frames > 24) {
            candidates.erase(SMPTE::SMPTE_25);
        }
        previous = time;
        previousNext = next;
    }
    const std::set<int>& left = candidates.empty() ? fallback : candidates;
    formats.assign(left.begin(), left.end());
    return true;
}

bool OperationImportSCX::execute(ProjectData& data)
{
    ratesLeft_.clear();
    FileIO::JetDatabase database;
    FileIO::JetRecordSet events;
    if (!database.open(getPath()) ||
        !database.execute(L"SELECT * FROM `Events` ORDER BY `CUE`;", events)) {
        return failOperation(kInvalid);
    }
    int format = formatOfRate(rate_);
    if (rate_ == 0) {
        std::vector<int> formats;
        if (!detectFormats(events, formats)) {
            return failOperation(kInvalid);
        }
        if (formats.size() > 1) {
            for (int left : formats) {
                ratesLeft_.push_back(rateOfFormat(left));
            }
            if (formatQuestion()) {
                formatQuestion()(getPath(), ratesLeft_);
            }
            return true;
        }
        format = formats.front();
    }
    return importEvents(events, format, data);
}

bool OperationImportSCX::importEvents(const FileIO::JetRecordSet& events, int format,
                                      ProjectData& data)
{
    clearProject(data);
    if (Project* project = data.getOwner()) {
        project->setFileName(projectPathFor(getPath()), false);
    }
    data.setFormat(format);
    const double fps = SMPTE::framesPerSecond(format);
    for (std::size_t row = 0; row < events.getRowCount(); ++row) {
        const OperationImportRecord record(events, row);
        Time time;
        if (!readTime(record, time) || time.frames >= SMPTE::nominalFramesPerSecond(format)) {
            return failOperation(kInvalid);
        }
        int duration = 0;
        if (!readDuration(record, fps, duration)) {
            return failOperation(kInvalid);
        }
        // The prefire time is stored in tenths of a second.
        int tenths = 0;
        if (record.wholeNumber(L"PFT", tenths) == Read::INVALID || tenths < 0) {
            return failOperation(kInvalid);
        }
        const int prefire = static_cast<int>(std::trunc(fps * tenths / 10.0 + 0.5));
        int address = -1;
        const Read addressRead = record.wholeNumber(L"ADDR", address);
        if (addressRead == Read::INVALID ||
            (addressRead == Read::OK && (address < 0 || address >= 0xFFFFFF))) {
            return failOperation(kInvalid);
        }
        if (addressRead == Read::NULL_VALUE) {
            address = -1;
        }
        int group = 0;
        if (record.wholeNumber(L"CGHZ", group) == Read::INVALID) {
            return failOperation(kInvalid);
        }
        int quantity = 1;
        const Read quantityRead = record.wholeNumber(L"QTY", quantity);
        if (quantityRead == Read::INVALID) {
            return failOperation(kInvalid);
        }
        if (quantityRead == Read::NULL_VALUE) {
            quantity = 1;
        }

        std::wstring description;
        const Read descriptionRead = record.text(L"Effect Description", description);
        std::wstring article, angle, type, position;
        double price = 0.0;
        const Read priceRead = record.real(L"PRICE1", price);
        if (descriptionRead == Read::INVALID || priceRead == Read::INVALID ||
            record.text(L"REF", article) == Read::INVALID ||
            record.text(L"ANGLE", angle) == Read::INVALID ||
            record.text(L"Event Description", type) == Read::INVALID ||
            record.text(L"POS", position) == Read::INVALID) {
            return failOperation(kInvalid);
        }

        Cue* cue = data.getCueList().add(
            SMPTE(format, time.hours, time.minutes, time.seconds, time.frames),
            CueCommand::pyro(address), prefire, duration, group == 0 ? 1 : group, -1, "");
        cue->setQuantity(quantity);
        KeyValueList& metadata = cue->getMetadata();
        if (descriptionRead == Read::OK) {
            metadata.insert(-1, L"~DESC", description);
        }
        metadata.insert(-1, L"~ARTNR", article);
        metadata.insert(-1, L"~PRICE", priceRead == Read::OK ? printedPrice(price) : L"");
        metadata.insert(-1, L"~ANGLE", angle);
        metadata.insert(-1, L"~TYPE", type);
        metadata.insert(-1, L"~POS", position);
    }
    data.getMetadata().insert(-1, L"~IMPORTED", getPath());
    return true;
}

}  // namespace Project
