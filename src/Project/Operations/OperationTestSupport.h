#pragma once

// Shared by the tests of the cue operations: a project with a few cues in 25 frames per
// second, and a text form of the whole cue list to compare states before and after.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Platform/Utf.h"
#include "Project/Project.h"

namespace Project {

// One line per cue, in list order, with every field an operation may change.
inline std::vector<std::string> describeCues(const CueList& cues)
{
    std::vector<std::string> lines;
    for (const CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const CueCommand& command = cue->getCommand();
        std::string line =
            "#" + std::to_string(cue->getId()) + " " + cue->getTimecode().toNarrowString() +
            " type " + std::to_string(command.getType()) + " addr " +
            std::to_string(command.getAddress()) + " u " + std::to_string(command.getUniverse()) +
            " v " + std::to_string(command.getValue()) + " text '" + command.getDmxText() +
            "' path " + std::to_string(command.getChasePath()) + " bpm " +
            std::to_string(command.getChaseBpm()) + " steps " +
            std::to_string(cue->getDmxSteps().size()) + " pft " +
            std::to_string(cue->getPrefireTime()) + " dur " + std::to_string(cue->getDuration()) +
            " grp " + std::to_string(cue->getGroup()) + " '" + cue->getGroupName() + "' qty " +
            std::to_string(cue->getQuantity()) + " pt " + std::to_string(cue->getPyroType()) +
            " rem '" + cue->getReminderText() + "' fix " +
            std::to_string(cue->getFixtureChannelValues().size()) + " dmxdur " +
            std::to_string(cue->getDmxDuration()) + " next " +
            std::to_string(cue->getNextAddress()) + (cue->isSelected() ? " selected" : "") +
            " meta";
        const KeyValueList& metadata = cue->getMetadata();
        for (int i = 0; i < metadata.size(); ++i) {
            line += " " + Platform::toUtf8(*metadata.keyAt(i)) + "=" +
                    Platform::toUtf8(*metadata.valueAt(i));
        }
        lines.push_back(line);
    }
    return lines;
}

class OperationTest : public ::testing::Test {
protected:
    OperationTest() : project(Project::createInstance())
    {
        project.getProjectData().setFormat(SMPTE::SMPTE_25);
    }
    ~OperationTest() override { Project::destroyInstance(); }

    CueList& cues() { return project.getProjectData().getCueList(); }

    static SMPTE at(int seconds, int frames = 0)
    {
        return SMPTE(SMPTE::SMPTE_25, 0, 0, seconds, frames);
    }

    Cue* addPyro(int seconds, int address = 0x101)
    {
        return cues().add(at(seconds), CueCommand::pyro(address), 0, 0, 1, -1, "");
    }
    Cue* addDmx(int seconds, const std::string& text = "")
    {
        CueCommand command = CueCommand::dmx(0, 4, 200);
        command.setDmxText(text);
        return cues().add(at(seconds), command, 0, 0, 1, -1, "");
    }
    Cue* addReminder(int seconds)
    {
        return cues().add(at(seconds), CueCommand(CueCommand::TYPE_REMINDER), 0, 0, 1, -1, "look");
    }

    // Selects exactly these cues.
    void select(std::initializer_list<const Cue*> chosen)
    {
        const std::set<const Cue*> set(chosen);
        for (CueList::CueItem* cue = cues().first(); cue != cues().end(); cue = cue->getNext()) {
            cue->setSelected(set.count(cue) != 0);
        }
    }

    Cue* byId(int id)
    {
        for (CueList::CueItem* cue = cues().first(); cue != cues().end(); cue = cue->getNext()) {
            if (cue->getId() == id) {
                return cue;
            }
        }
        return nullptr;
    }

    std::vector<std::string> state() { return describeCues(cues()); }

    // Submits the operation, then undoes and redoes it, checking that undo brings back the
    // state before and redo the state after.
    void expectRoundTrip(std::unique_ptr<IOperation> operation)
    {
        const std::vector<std::string> before = state();
        ASSERT_TRUE(project.submit(std::move(operation)));
        const std::vector<std::string> after = state();
        ASSERT_TRUE(project.undo());
        EXPECT_EQ(state(), before);
        ASSERT_TRUE(project.redo());
        EXPECT_EQ(state(), after);
    }

    Project& project;
};

}  // namespace Project
