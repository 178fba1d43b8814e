#include "Project/Operations/OperationAddFixture.h"

#include <memory>
#include <utility>

#include "Project/Operations/FixtureStoreEdit.h"
#include "Project/Operations/OperationReport.h"

namespace Project {

OperationAddFixture::OperationAddFixture(std::wstring description, std::wstring manufacturer,
                                         std::wstring productName, int32_t channelCount,
                                         std::wstring comments, int32_t duration)
    : description_(std::move(description)),
      manufacturer_(std::move(manufacturer)),
      productName_(std::move(productName)),
      channelCount_(channelCount),
      comments_(std::move(comments)),
      duration_(duration)
{
}

bool OperationAddFixture::add(ProjectData& data, int32_t id)
{
    const Fixture* added = FixtureStoreEdit::insert(
        data, std::make_unique<Fixture>(description_, manufacturer_, productName_, channelCount_,
                                        comments_, duration_, id));
    id_ = added->getId();
    return true;
}

bool OperationAddFixture::undo(ProjectData& data)
{
    return FixtureStoreEdit::remove(data, id_) || failOperation(kGenericError);
}

}  // namespace Project
