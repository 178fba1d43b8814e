#include "Project/Operations/OperationLoadNotice.h"

#include <utility>

namespace Project {

namespace {
OperationLoadNotice::Handler theHandler;
}  // namespace

OperationLoadNotice::Handler OperationLoadNotice::setHandler(Handler handler)
{
    return std::exchange(theHandler, std::move(handler));
}

void OperationLoadNotice::show(const std::wstring& titleKey, const std::wstring& messageKey)
{
    if (theHandler) {
        theHandler(titleKey, messageKey);
    }
}

}  // namespace Project
