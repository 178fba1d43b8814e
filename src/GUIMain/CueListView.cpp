#include "GUIMain/CueListView.h"

#include "GUI/RenderTarget.h"
#include "Project/Project.h"

namespace GUIMain {

void CueListView::draw(GUI::RenderTarget& target)
{
    target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), QColor(250, 250, 250));
}

std::vector<int> CueListView::getCueIdsInViewOrder() const
{
    std::vector<int> ids;
    if (Project::Project* project = Project::Project::getInstance()) {
        const Project::CueList& cues = project->getProjectData().getCueList();
        ids.reserve(static_cast<std::size_t>(cues.getCount()));
        for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
             cue = cue->getNext()) {
            ids.push_back(cue->getId());
        }
    }
    return ids;
}

}  // namespace GUIMain
