#include "Project/Operations/OperationReport.h"

#include "Project/Project.h"

namespace Project {

bool failOperation(const std::wstring& key)
{
    if (Project* project = Project::getInstance()) {
        project->setLastError(key);
    }
    return false;
}

void reportSelectionChanging()
{
    if (Project* project = Project::getInstance()) {
        project->announceSelectionChanging();
    }
}

}  // namespace Project
