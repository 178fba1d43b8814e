#include "Project/Operations/OperationImportRecord.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

namespace Project {

namespace {

std::wstring trimmed(const std::wstring& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && std::iswspace(static_cast<wint_t>(text[first]))) {
        ++first;
    }
    while (last > first && std::iswspace(static_cast<wint_t>(text[last - 1]))) {
        --last;
    }
    return text.substr(first, last - first);
}

// The whole text as one finite decimal number; nothing else may follow it.
bool parseNumber(const std::wstring& text, double& out)
{
    std::wstring number = trimmed(text);
    for (wchar_t& c : number) {
        if (c == L',') {
            c = L'.';
        }
    }
    if (number.empty()) {
        return false;
    }
    // Only decimal notation: wcstod would also take hexadecimal, "inf" and "nan".
    for (wchar_t c : number) {
        if (!(std::iswdigit(static_cast<wint_t>(c)) || c == L'.' || c == L'-' || c == L'+' ||
              c == L'e' || c == L'E')) {
            return false;
        }
    }
    wchar_t* end = nullptr;
    const double value = std::wcstod(number.c_str(), &end);
    if (end != number.c_str() + number.size() || !std::isfinite(value)) {
        return false;
    }
    out = value;
    return true;
}

}  // namespace

const FileIO::JetRecordSet::Value* OperationImportRecord::find(std::wstring_view column) const
{
    const int index = records_.findColumn(column);
    if (index < 0 || row_ >= records_.getRowCount()) {
        return nullptr;
    }
    return &records_.getRow(row_)[static_cast<std::size_t>(index)];
}

OperationImportRecord::Read OperationImportRecord::text(std::wstring_view column,
                                                        std::wstring& out) const
{
    out.clear();
    const FileIO::JetRecordSet::Value* value = find(column);
    if (value == nullptr) {
        return Read::INVALID;
    }
    if (value->null) {
        return Read::NULL_VALUE;
    }
    out = value->text;
    return Read::OK;
}

OperationImportRecord::Read OperationImportRecord::real(std::wstring_view column, double& out) const
{
    out = 0.0;
    std::wstring text;
    const Read read = this->text(column, text);
    if (read != Read::OK) {
        return read;
    }
    return parseNumber(text, out) ? Read::OK : Read::INVALID;
}

OperationImportRecord::Read OperationImportRecord::wholeNumber(std::wstring_view column,
                                                               int& out) const
{
    out = 0;
    double value = 0.0;
    const Read read = real(column, value);
    if (read != Read::OK) {
        return read;
    }
    const double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) {
        return Read::INVALID;
    }
    out = static_cast<int>(rounded);
    return Read::OK;
}

}  // namespace Project
