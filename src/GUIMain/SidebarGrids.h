#pragma once

#include "Controller/Controller.h"
#include "Controller/Emulator.h"
#include "GUI/D2DButton.h"
#include "GUI/D2DButtonGrid.h"
#include "GUI/D2DPyroSlave.h"

namespace GUIMain {

class Sidebar;

// What a cell of the module check grid shows, from the module's state in the emulator:
//   kNotReported: no check result and no pin tested since the show was loaded (plain grey);
//   kGood: the module answered and every pin a cue uses has continuity (plain green);
//   kCross: the module did not answer its check, or a pin a cue uses was tested without
//     continuity (a red cross: it will not fire);
//   kQuestion: the module answered and the pins the cues use are fine, but a pin no cue
//     uses shows continuity, or a used pin was not tested (an amber "?": look at it).
enum class ModuleMark { kNotReported, kGood, kCross, kQuestion };
ModuleMark moduleMarkOf(const Controller::Emulator::ModuleState& state);
// The firing-module view's picture of one module.
GUI::D2DPyroSlave::ModuleState slaveStateOf(int address,
                                            const Controller::Emulator::ModuleState& state);

// A button that fires: it acts once per press. Key repeats (a held Enter or Space) are
// dropped, so holding a key never fires a second time.
class FiringButton : public GUI::D2DButton {
public:
    std::intptr_t handleMessage(GUI::Message& message) override;
};

// The 128 firing modules, 16 a row (address = column + 16 x row), each cell drawn from the
// module's state; the selected module is lit.
class SidebarModuleGrid : public GUI::D2DButtonGrid, public GUI::D2DButtonGrid::Listener {
public:
    static constexpr int kColumns = 16;
    static constexpr int kRows = 8;
    static constexpr int kCell = 11;

    explicit SidebarModuleGrid(Sidebar& sidebar);
    void onCreate() override;
    void drawCell(GUI::RenderTarget& target, QBrush& brush, int x, int y) override;
    void cellClicked(GUI::D2DButtonGrid* grid, int x, int y) override;
    // Lights the cell of this module alone.
    void showSelected(int address);
    void setModuleStateSource(const Controller::Controller* controller)
    {
        controller_ = controller;
    }

private:
    Sidebar& sidebar_;
    const Controller::Controller* controller_ = nullptr;
};

// The DMX channels, 15 cells a row, cell n standing for channel n (cell 0 unused); each cell
// shows its channel's level as a bar. Hovering shows the channel in the sidebar's field.
class SidebarDmxGrid : public GUI::D2DButtonGrid, public GUI::D2DButtonGrid::Listener {
public:
    static constexpr int kColumns = 15;
    static constexpr int kRows = (512 + kColumns) / kColumns;  // cells 0..512
    static constexpr int kCell = 12;

    explicit SidebarDmxGrid(Sidebar& sidebar);
    void onCreate() override;
    void drawCell(GUI::RenderTarget& target, QBrush& brush, int x, int y) override;
    void cellClicked(GUI::D2DButtonGrid* grid, int x, int y) override;
    void cellHovered(GUI::D2DButtonGrid* grid, int x, int y) override;
    void showSelected(int channelNumber);
    void setLevelSource(const Controller::Controller* controller) { controller_ = controller; }
    // The bar's width for a level: trunc(level / 255 x 11) pixels.
    static int barWidth(int level);

private:
    Sidebar& sidebar_;
    const Controller::Controller* controller_ = nullptr;
};

}  // namespace GUIMain
