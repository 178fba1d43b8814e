#include "Controller/ShowControllerAdapter.h"

#include "Project/ProjectState.h"

namespace Controller {

ShowControllerAdapter::ShowControllerAdapter(Controller& controller, Project::ProjectState& state)
    : controller_(controller), state_(state)
{
    controller_.addListener(this);
    state_.setController(this);
}

ShowControllerAdapter::~ShowControllerAdapter()
{
    if (state_.getController() == this) {
        state_.setController(nullptr);
    }
    controller_.removeListener(this);
}

void ShowControllerAdapter::onTimecode(double milliseconds)
{
    state_.onControllerTimecode(milliseconds);
}

void ShowControllerAdapter::onStatusChanged()
{
    state_.onControllerStatusChanged(controller_.getStatus());
}

}  // namespace Controller
