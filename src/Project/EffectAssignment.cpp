#include "Project/EffectAssignment.h"

#include <charconv>
#include <cmath>

#include "Platform/NumberReading.h"
#include "Timecode/SMPTE.h"

namespace Project {

namespace {

std::wstring metadataText(const KeyValueList& metadata, const std::wstring& key)
{
    const std::wstring* value = metadata.valueOf(key);
    return value ? *value : std::wstring();
}

// Sets the key's value, adding the key when it is missing. An empty value is not added for a
// missing key: a missing key already reads as empty.
void writeMetadata(KeyValueList& metadata, const std::wstring& key, const std::wstring& value)
{
    const int index = metadata.indexOf(key);
    if (index >= 0) {
        metadata.setValue(index, value);
    } else if (!value.empty()) {
        metadata.insert(-1, key, value);
    }
}

// Two decimals with a full stop, whatever the process locale.
std::wstring formatPrice(double price)
{
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, price, std::chars_format::fixed, 2);
    return std::wstring(buffer, result.ptr);
}

}  // namespace

std::wstring normaliseLeadingNumber(const std::wstring& text, bool emptyForZero)
{
    const std::optional<int> number =
        text.empty() ? std::optional<int>(0) : Platform::readLeadingInt(text);
    if (!number) {
        return text;
    }
    if (*number == 0 && emptyForZero) {
        return {};
    }
    return std::to_wstring(*number);
}

int applyEffectToSelectedCues(CueList& cues, const Effect& effect, int format)
{
    const double rate = SMPTE::framesPerSecond(format);
    int refusedPrefire = 0;
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (!cue->isSelected()) {
            continue;
        }
        KeyValueList& metadata = cue->getMetadata();
        std::wstring desc = metadataText(metadata, L"~DESC");
        std::wstring artnr = metadataText(metadata, L"~ARTNR");
        std::wstring type = metadataText(metadata, L"~TYPE");
        const std::wstring angle = metadataText(metadata, L"~ANGLE");
        std::wstring price = metadataText(metadata, L"~PRICE");
        std::wstring manufacturer = metadataText(metadata, L"~MANUFACTURER");
        std::wstring vanShape = metadataText(metadata, L"~VANSHAPE");
        std::wstring classification = metadataText(metadata, L"~CLASSIFICATION");
        std::wstring calibre = metadataText(metadata, L"~CALIBRE");
        std::wstring weight = metadataText(metadata, L"~WEIGHT");
        std::wstring safety = metadataText(metadata, L"~SAFETY");
        const std::wstring position = metadataText(metadata, L"~POS");

        // A different article replaces every field; the same article only fills gaps.
        const std::wstring articleNumber = effect.getArticleNumber();
        bool replace = false;
        if (artnr != articleNumber) {
            replace = artnr.empty() ? !articleNumber.empty() : true;
            artnr = articleNumber;
        }
        auto take = [replace](std::wstring& field, const std::wstring& fromEffect) {
            if (replace || field.empty()) {
                field = fromEffect;
            }
        };
        take(desc, effect.getDescription());
        take(type, effect.getType());
        take(price, formatPrice(effect.getPrice()));
        take(manufacturer, effect.getManufacturer());
        take(vanShape, effect.getVanShape());
        take(classification, effect.getClassification());
        take(calibre, effect.getCaliber());
        take(weight, std::to_wstring(effect.getWeight()));
        take(safety, effect.getDistance());

        const int prefire = static_cast<int>(std::trunc(rate * effect.getPrefire() / 1000.0));
        if (!cue->setPrefireTime(prefire)) {
            ++refusedPrefire;
        }

        writeMetadata(metadata, L"~DESC", desc);
        writeMetadata(metadata, L"~ARTNR", artnr);
        writeMetadata(metadata, L"~TYPE", type);
        writeMetadata(metadata, L"~ANGLE", angle);
        writeMetadata(metadata, L"~PRICE", price);
        writeMetadata(metadata, L"~MANUFACTURER", manufacturer);
        writeMetadata(metadata, L"~VANSHAPE", vanShape);
        writeMetadata(metadata, L"~CLASSIFICATION", classification);
        writeMetadata(metadata, L"~CALIBRE", normaliseLeadingNumber(calibre, true));
        writeMetadata(metadata, L"~WEIGHT", normaliseLeadingNumber(weight, false));
        writeMetadata(metadata, L"~SAFETY", safety);
        writeMetadata(metadata, L"~POS", position);

        if (cue->getDuration() == 0 || replace) {
            cue->setDuration(static_cast<int>(std::trunc(rate * effect.getDuration())));
        }
    }
    return refusedPrefire;
}

}  // namespace Project
