#include "Project/Operations/OperationImportEffectCsv.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

namespace {

// The whole file, or false when it cannot be read or is larger than any CSV taken.
bool readFile(const std::wstring& path, std::string& bytes)
{
    std::error_code error;
    const std::filesystem::path file(path);
    const auto size = std::filesystem::file_size(file, error);
    if (error || size > EffectCsv::kMaxBytes) {
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool addWithId(EffectList& list, const Effect& e, int32_t id)
{
    return list.addEffect(e.getDuration(), e.getPrefire(), e.getHeight(), e.getWeight(),
                          e.getDatabaseId(), id, e.getDescription(), e.getArticleNumber(),
                          e.getPrice(), e.getCaliber(), e.getManufacturer(), e.getColor(),
                          e.getType(), e.getAngle(), e.getVanShape(), e.getClassification(),
                          e.getDistance()) != nullptr;
}

}  // namespace

std::unique_ptr<OperationImportEffectCsv> OperationImportEffectCsv::fromBytes(
    std::string bytes, std::shared_ptr<Report> report)
{
    std::unique_ptr<OperationImportEffectCsv> operation(new OperationImportEffectCsv());
    operation->sink_ = std::move(report);
    operation->bytes_ = std::move(bytes);
    operation->fromBytes_ = true;
    return operation;
}

bool OperationImportEffectCsv::execute(ProjectData& data)
{
    executed_ = true;
    report_ = Report{};
    added_.clear();
    std::string bytes;
    if (fromBytes_) {
        bytes = bytes_;
    } else if (!readFile(path_, bytes)) {
        return failOperation(L"EFFECTS.CSV.ERROR.READ");
    }
    EffectCsv::Table table;
    std::wstring errorKey;
    if (!EffectCsv::read(bytes, table, errorKey)) {
        return failOperation(errorKey);
    }
    report_.refused = std::move(table.refused);
    EffectList& library = data.getEffectList();
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        if (const EffectList::EffectItem* effect = library.addEffectFromText(table.rows[i])) {
            added_.push_back(*effect);
        } else {
            report_.duplicateLines.push_back(table.rowLines[i]);
        }
    }
    report_.added = static_cast<int>(added_.size());
    if (sink_) {
        *sink_ = report_;
    }
    return true;
}

bool OperationImportEffectCsv::undo(ProjectData& data)
{
    EffectList& library = data.getEffectList();
    for (const Effect& effect : added_) {
        EffectList::EffectItem* item = library.findById(effect.getId());
        if (item == nullptr) {
            return failOperation(kGenericError);
        }
        library.removeEffect(item);
    }
    return true;
}

bool OperationImportEffectCsv::redo(ProjectData& data)
{
    for (const Effect& effect : added_) {
        if (!addWithId(data.getEffectList(), effect, effect.getId())) {
            return failOperation(kGenericError);
        }
    }
    return true;
}

}  // namespace Project
