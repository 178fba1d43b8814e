#include "Project/Operations/OperationReport.h"

#include "Project/Project.h"

namespace Project {

namespace {

// The project running the operation; an operation executed by hand, outside any project,
// reports to the process-wide one.
Project* reportingProject()
{
    Project* project = Project::running();
    return project ? project : Project::getInstance();
}

}  // namespace

bool failOperation(const std::wstring& key)
{
    if (Project* project = reportingProject()) {
        project->setLastError(key);
    }
    return false;
}

void reportSelectionChanging()
{
    if (Project* project = reportingProject()) {
        project->announceSelectionChanging();
    }
}

}  // namespace Project
