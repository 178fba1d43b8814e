#include "Project/ISoundtrack.h"

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

}  // namespace Project
