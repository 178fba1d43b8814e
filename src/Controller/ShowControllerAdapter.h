#pragma once

#include "Controller/Controller.h"
#include "Project/IShowController.h"

namespace Project {
class ProjectState;
}

namespace Controller {

// Connects the show state with the controller service: forwards the service's timecode and
// status reports to the show state, and lets the show state send transport and locate
// requests. While it lives it is registered with both; it unregisters itself when destroyed,
// so it must not outlive either.
class ShowControllerAdapter : public Controller::Listener, public Project::IShowController {
public:
    ShowControllerAdapter(Controller& controller, Project::ProjectState& state);
    ~ShowControllerAdapter() override;
    ShowControllerAdapter(const ShowControllerAdapter&) = delete;
    ShowControllerAdapter& operator=(const ShowControllerAdapter&) = delete;

    // Controller::Listener
    void onTimecode(double milliseconds) override;
    void onStatusChanged() override;

    // Project::IShowController
    bool hasWorker() const override { return controller_.isReady(); }
    void transport(int transport) override { controller_.transport(transport); }
    void locate(const SMPTE& time) override { controller_.locate(time); }
    int getStatus() const override { return controller_.getStatus(); }

private:
    Controller& controller_;
    Project::ProjectState& state_;
};

}  // namespace Controller
