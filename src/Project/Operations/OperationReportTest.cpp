#include <gtest/gtest.h>

#include <memory>

#include "Project/IOperation.h"
#include "Project/Operations/OperationReport.h"
#include "Project/Project.h"

namespace Project {
namespace {

class Failing : public IOperation {
public:
    bool execute(ProjectData&) override { return failOperation(L"ERROR.INVALID_FWP"); }
};

// An operation's failure goes to the project that ran it, not to the process-wide one.
TEST(OperationReport, AFailureGoesToTheProjectThatRanTheOperation)
{
    Project& global = Project::createInstance();
    Project other;
    EXPECT_FALSE(other.submit(std::make_unique<Failing>()));
    EXPECT_EQ(other.getLastError(), L"ERROR.INVALID_FWP");
    EXPECT_EQ(global.getLastError(), L"");
    EXPECT_EQ(Project::running(), nullptr);
    Project::destroyInstance();
}

}  // namespace
}  // namespace Project
