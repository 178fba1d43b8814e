#include "Project/Operations/EffectCsv.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "Platform/Utf.h"
#include "Project/NumberText.h"
#include "Project/Operations/ReplaceFile.h"

namespace Project {

const std::array<std::string_view, kEffectFieldCount> EffectCsv::kColumnNames = {
    "description",  "articleNumber", "duration",       "caliber", "price",
    "manufacturer", "prefire",       "height",         "color",   "type",
    "angle",        "vanShape",      "classification", "weight",  "distance",
};

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void appendField(std::string& out, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

std::string numberText(int32_t value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Six decimals as the library keeps them, trailing zeros cut down to two.
std::string priceCsvText(double price)
{
    if (price < 0.0) {
        return "-1";  // the library's mark of a price that could not be read
    }
    std::string text = Platform::toUtf8(priceText(price));
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        while (text.size() > point + 3 && text.back() == '0') {
            text.pop_back();
        }
    }
    return text;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        uint32_t code = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            code = b & 0x1Fu;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            code = b & 0x0Fu;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            code = b & 0x07u;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(length) > bytes.size()) {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0u) != 0x80u) {
                return false;
            }
            code = (code << 6) | (c & 0x3Fu);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

struct Record {
    int line = 0;
    std::vector<std::string> fields;
};

// Splits the text into records of fields (RFC 4180, with LF or CR LF line ends). False when
// a quoted field is still open at the end.
bool splitRecords(std::string_view text, std::vector<Record>& records)
{
    int line = 1;
    Record current{line, {}};
    std::string field;
    bool quoted = false;
    bool fieldStarted = false;
    auto endField = [&] {
        current.fields.push_back(std::move(field));
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        records.push_back(std::move(current));
        current = Record{line, {}};
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') {
                    ++line;
                }
                field += c;
            }
            continue;
        }
        if (c == '"' && !fieldStarted && field.empty()) {
            quoted = true;
            fieldStarted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;  // the LF ends the record
        } else if (c == '\n') {
            ++line;
            endRecord();
        } else {
            // Text after a closing quote is kept as it stands, as spreadsheets do.
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        return false;
    }
    if (!field.empty() || fieldStarted || !current.fields.empty()) {
        endRecord();
    }
    return true;
}

std::string lowerAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool isWholeNumber(std::string_view text)
{
    text = trimmed(text);
    if (text.empty()) {
        return true;
    }
    int32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && value >= -1;
}

bool isPrice(std::string_view text)
{
    text = trimmed(text);
    if (text.empty() || text == "-1") {
        return true;
    }
    int digits = 0;
    int separators = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.' || c == ',') {
            ++separators;
        } else {
            return false;
        }
    }
    return digits > 0 && digits <= 15 && separators <= 1;
}

bool isEmptyRecord(const Record& record)
{
    for (const std::string& field : record.fields) {
        if (!trimmed(field).empty()) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string EffectCsv::write(const EffectList& list)
{
    std::string out;
    for (int f = 0; f < kEffectFieldCount; ++f) {
        if (f > 0) {
            out += ',';
        }
        out += kColumnNames[static_cast<std::size_t>(f)];
    }
    out += "\r\n";
    for (const EffectList::EffectItem* effect : list) {
        for (int f = 0; f < kEffectFieldCount; ++f) {
            if (f > 0) {
                out += ',';
            }
            const auto field = static_cast<EffectField>(f);
            switch (effectFieldKind(field)) {
                case EffectFieldKind::WHOLE_NUMBER:
                    out += numberText(effect->getWholeNumberField(field));
                    break;
                case EffectFieldKind::REAL: out += priceCsvText(effect->getPrice()); break;
                case EffectFieldKind::TEXT:
                    appendField(out, Platform::toUtf8(effect->getFieldText(field)));
                    break;
            }
        }
        out += "\r\n";
    }
    return out;
}

bool EffectCsv::save(const std::wstring& path, const EffectList& list, std::wstring& errorKey)
{
    return replaceFile(path, write(list), errorKey);
}

bool EffectCsv::read(std::string_view bytes, Table& table, std::wstring& errorKey)
{
    table = Table{};
    if (bytes.size() > kMaxBytes) {
        errorKey = L"EFFECTS.CSV.ERROR.TOO_LARGE";
        return false;
    }
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    if (!isUtf8(bytes)) {
        errorKey = L"EFFECTS.CSV.ERROR.NOT_UTF8";
        return false;
    }
    std::vector<Record> records;
    if (!splitRecords(bytes, records)) {
        errorKey = L"EFFECTS.CSV.ERROR.OPEN_QUOTE";
        return false;
    }
    std::size_t headerIndex = 0;
    while (headerIndex < records.size() && isEmptyRecord(records[headerIndex])) {
        ++headerIndex;
    }
    // The column of each field in the file, or none.
    std::array<std::optional<std::size_t>, kEffectFieldCount> columnOf;
    bool anyKnown = false;
    if (headerIndex < records.size()) {
        const Record& header = records[headerIndex];
        for (std::size_t column = 0; column < header.fields.size(); ++column) {
            const std::string name = lowerAscii(trimmed(header.fields[column]));
            for (int f = 0; f < kEffectFieldCount; ++f) {
                auto& slot = columnOf[static_cast<std::size_t>(f)];
                if (!slot && name == lowerAscii(kColumnNames[static_cast<std::size_t>(f)])) {
                    slot = column;
                    anyKnown = true;
                }
            }
        }
    }
    if (!anyKnown) {
        errorKey = L"EFFECTS.CSV.ERROR.NO_HEADER";
        return false;
    }
    const std::size_t width = records[headerIndex].fields.size();
    for (std::size_t r = headerIndex + 1; r < records.size(); ++r) {
        const Record& record = records[r];
        if (isEmptyRecord(record)) {
            continue;
        }
        if (record.fields.size() != width) {
            table.refused.push_back({record.line, L"EFFECTS.CSV.ROW.FIELD_COUNT", L""});
            continue;
        }
        EffectTexts texts;
        std::optional<Refusal> refusal;
        for (int f = 0; f < kEffectFieldCount && !refusal; ++f) {
            const auto& column = columnOf[static_cast<std::size_t>(f)];
            if (!column) {
                continue;
            }
            const std::string& value = record.fields[*column];
            const auto field = static_cast<EffectField>(f);
            const std::wstring name(kColumnNames[static_cast<std::size_t>(f)].begin(),
                                    kColumnNames[static_cast<std::size_t>(f)].end());
            if (value.find('\0') != std::string::npos) {
                refusal = Refusal{record.line, L"EFFECTS.CSV.ROW.CONTROL_CHARACTER", name};
            } else if (effectFieldKind(field) == EffectFieldKind::WHOLE_NUMBER &&
                       !isWholeNumber(value)) {
                refusal = Refusal{record.line, L"EFFECTS.CSV.ROW.NOT_A_WHOLE_NUMBER", name};
            } else if (effectFieldKind(field) == EffectFieldKind::REAL && !isPrice(value)) {
                refusal = Refusal{record.line, L"EFFECTS.CSV.ROW.NOT_A_PRICE", name};
            } else if (effectFieldKind(field) != EffectFieldKind::TEXT) {
                // Blanks around a number are layout, and blanks alone are an empty cell.
                texts[static_cast<std::size_t>(f)] = Platform::fromUtf8(trimmed(value));
            } else {
                texts[static_cast<std::size_t>(f)] = Platform::fromUtf8(value);
            }
        }
        if (refusal) {
            table.refused.push_back(*refusal);
            continue;
        }
        table.rows.push_back(std::move(texts));
        table.rowLines.push_back(record.line);
    }
    return true;
}

}  // namespace Project
