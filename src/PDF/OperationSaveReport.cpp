#include "PDF/OperationSaveReport.h"

#include <utility>

#include "PDF/HPDFException.h"
#include "PDF/InventoryList.h"
#include "PDF/LoadReport.h"
#include "PDF/LocationList.h"
#include "PDF/PyroList.h"
#include "PDF/ReportDocument.h"
#include "PDF/ShowReport.h"
#include "Project/Operations/OperationReport.h"
#include "Project/Operations/ReplaceFile.h"

namespace PDF {

OperationSaveReport::OperationSaveReport(std::wstring path, Kind kind, bool include, bool overview,
                                         Translate translate)
    : OperationSaveFile(std::move(path)),
      kind_(kind),
      include_(include),
      overview_(overview),
      translate_(std::move(translate))
{
}

std::string OperationSaveReport::build(Kind kind, const Project::ProjectData& data,
                                       const Translate& translate, bool include, bool overview)
{
    ReportDocument document;
    switch (kind) {
        case Kind::SHOW: ShowReport::write(document, data, translate); break;
        case Kind::LOAD: LoadReport::write(document, data, translate); break;
        case Kind::PYRO: PyroList::write(document, data, translate, include, overview); break;
        case Kind::LOCATION: LocationList::write(document, data, translate, include); break;
        case Kind::INVENTORY: InventoryList::write(document, data, translate); break;
    }
    return document.toBytes();
}

bool OperationSaveReport::execute(Project::ProjectData& data)
{
    std::string bytes;
    try {
        bytes = build(kind_, data, translate_, include_, overview_);
    } catch (const HPDFException&) {
        return Project::failOperation(kPdfError);
    }
    std::wstring error;
    return Project::replaceFile(getPath(), bytes, error) || Project::failOperation(error);
}

}  // namespace PDF
