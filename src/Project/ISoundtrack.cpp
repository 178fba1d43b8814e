#include "Project/ISoundtrack.h"

#include "Project/Project.h"
#include "Project/ProjectData.h"

namespace Project {

namespace {
ISoundtrack* theSoundtrack = nullptr;
}  // namespace

ISoundtrack* ISoundtrack::getInstance()
{
    return theSoundtrack;
}

void ISoundtrack::setInstance(ISoundtrack* soundtrack)
{
    theSoundtrack = soundtrack;
}

ISoundtrack* soundtrackOf(const ProjectData& data)
{
    if (const Project* project = data.getOwner(); project && project->getSoundtrack()) {
        return project->getSoundtrack();
    }
    return ISoundtrack::getInstance();
}

}  // namespace Project
