#include "Project/Operations/OperationImportEffectFile.h"

#include <cstdio>
#include <string>
#include <utility>

#include "FileIO/JetDatabase.h"
#include "Project/Operations/OperationImportRecord.h"
#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

namespace {

constexpr const wchar_t* kInvalid = L"ERROR.INVALID_EFX";

std::wstring printed(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
}

std::wstring printed(int value)
{
    return std::to_wstring(value);
}

// The fifteen texts of one record; false when a field cannot be read.
bool effectTexts(const OperationImportRecord& record, EffectTexts& texts)
{
    using Read = OperationImportRecord::Read;
    texts = EffectTexts{};
    // Text fields: a null is an empty text.
    const std::pair<EffectField, const wchar_t*> textFields[] = {
        {EffectField::DESCRIPTION, L"Effect Description"},
        {EffectField::ARTICLE_NUMBER, L"REF"},
        {EffectField::CALIBER, L"CAL"},
        {EffectField::MANUFACTURER, L"MFG"},
        {EffectField::TYPE, L"TYPE"},
    };
    for (const auto& [field, column] : textFields) {
        if (record.text(column, texts[static_cast<std::size_t>(field)]) == Read::INVALID) {
            return false;
        }
    }
    // The duration is stored in hundredths of a second; whole seconds are kept.
    int hundredths = 0;
    Read read = record.wholeNumber(L"DUR", hundredths);
    if (read == Read::INVALID) {
        return false;
    }
    if (read == Read::OK) {
        texts[static_cast<std::size_t>(EffectField::DURATION)] = printed(hundredths / 100);
    }
    double price = 0.0;
    read = record.real(L"PRICE1", price);
    if (read == Read::INVALID) {
        return false;
    }
    if (read == Read::OK) {
        texts[static_cast<std::size_t>(EffectField::PRICE)] = printed("%.2f", price);
    }
    int prefire = 0;
    read = record.wholeNumber(L"PFT", prefire);
    if (read == Read::INVALID) {
        return false;
    }
    if (read == Read::OK) {
        texts[static_cast<std::size_t>(EffectField::PREFIRE)] = printed(prefire);
    }
    return true;
}

}  // namespace

bool OperationImportEffectFile::execute(ProjectData& data)
{
    return importInto(getPath(), data.getEffectList());
}

bool OperationImportEffectFile::importInto(const std::wstring& path, EffectList& library)
{
    FileIO::JetDatabase database;
    FileIO::JetRecordSet records;
    if (!database.open(path) ||
        !database.execute(L"SELECT * FROM `Effects` ORDER BY `Effect Description`;", records)) {
        return failOperation(kInvalid);
    }
    return addEffects(records, library) || failOperation(kInvalid);
}

bool OperationImportEffectFile::addEffects(const FileIO::JetRecordSet& records, EffectList& library)
{
    for (std::size_t row = 0; row < records.getRowCount(); ++row) {
        EffectTexts texts;
        if (!effectTexts(OperationImportRecord(records, row), texts)) {
            return false;
        }
        library.addEffectFromText(texts);
    }
    return true;
}

}  // namespace Project
