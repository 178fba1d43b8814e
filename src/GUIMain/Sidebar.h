#pragma once

#include <QPointer>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "Controller/Controller.h"
#include "GUI/D2DButton.h"
#include "GUI/D2DButtonGrid.h"
#include "GUI/D2DContainer.h"
#include "GUI/D2DEditLabel.h"
#include "GUI/D2DMetadataPanel.h"
#include "GUIMain/SidebarFields.h"
#include "Project/CueList.h"
#include "Project/Project.h"
#include "Project/ProjectState.h"

namespace GUI {
class D2DLabel;
class D2DPanel;
class D2DPyroSlave;
class D2DRow;
class D2DScrollbar;
class StackedLayout;
}  // namespace GUI

namespace GUIMain {

class SidebarModuleGrid;
class SidebarDmxGrid;

// The column of panels beside the cue list. Outside show mode it edits the selected cues
// and the project settings; in show mode it shows the firing system's state as the device
// reports it and offers the arm toggle, manual firing, module checks and manual DMX. It
// changes nothing itself: an edit becomes an operation for the project, a button a command
// to the main window or a request to the controller service.
//
// The panels are stacked downward and scrolled by the scrollbar "Scrollbar"; hidden panels
// take no room. Which are shown follows the selection summary and show mode.
class Sidebar : public GUI::D2DContainer,
                public GUI::D2DEditLabel::Listener,
                public GUI::D2DButton::Listener,
                public GUI::D2DMetadataPanel::Listener,
                public Project::Project::Listener,
                public Project::CueList::Listener,
                public Project::ProjectState::Listener,
                public Controller::Controller::Listener {
public:
    // The panels in stacking order.
    static constexpr std::array<const wchar_t*, 12> kPanelNames{
        L"EditMode",  L"Cue",         L"CueReminder", L"PyroCue",    L"DMXCue",     L"PyroEffect",
        L"DmxEffect", L"PrjSettings", L"ShowMode",    L"ManualFire", L"DMX_manual", L"Check"};
    static constexpr int kModuleCount = 128;
    static constexpr int kDmxChannelCount = 512;

    Sidebar();
    ~Sidebar() override;

    std::wstring getWindowClassName() const override { return L"Sidebar"; }
    std::intptr_t handleMessage(GUI::Message& message) override;
    void onCreate() override;
    void onDestroy() override;
    void draw(GUI::RenderTarget& target) override;

    // Recomputes the selection summary, shows the panels it calls for and puts the current
    // values into the fields (not into the one being typed in).
    void refresh();
    // The show-mode labels and the enabling of the firing controls, from the device's
    // reports.
    void refreshShowState();

    // Names of the visible panels, in stacking order.
    std::vector<std::wstring> getVisiblePanels() const;
    // Component name -> text of every edit field in a visible panel.
    std::map<std::wstring, std::wstring> getVisibleFields() const;
    const SidebarFields::Summary& getSummary() const { return summary_; }
    GUI::D2DPanel* getPanel(const std::wstring& name) const;
    GUI::D2DScrollbar* getScrollbar() const { return scrollbar_; }

    int getSelectedModule() const { return selectedModule_; }
    int getManualChannel() const { return manualChannel_; }
    int getManualValue() const { return manualValue_; }
    // Show mode is on, the controller is connected and it reports pyro armed.
    bool firingAllowed() const;
    bool dmxAllowed() const;

    // The module grid's and the DMX grid's picks (as a click on their cells does).
    void selectModule(int address);
    void selectManualChannel(int channel);
    // "Channel" while the mouse is over cell `cell` of the DMX grid (-1: none).
    void showHoveredChannel(int cell);

    // GUI::D2DEditLabel::Listener
    bool commit(GUI::D2DEditLabel* label, bool byEnter) override;
    void revert(GUI::D2DEditLabel* label) override;
    // GUI::D2DButton::Listener
    void clicked(GUI::D2DButton* button) override;
    // GUI::D2DMetadataPanel::Listener
    void keyAdded(GUI::D2DMetadataPanel* panel, const std::wstring& key) override;
    void keyRemoved(GUI::D2DMetadataPanel* panel, int row) override;
    void valueChanged(GUI::D2DMetadataPanel* panel, int row, const std::wstring& value,
                      bool byEnter) override;
    void keyChanged(GUI::D2DMetadataPanel* panel, int row, const std::wstring& newKey) override;
    // Project::Project::Listener
    void projectUpdated() override;
    // Project::CueList::Listener (the cue events come in bulk; one refresh follows them)
    void cueAdded(Project::Cue*) override { scheduleRefresh(); }
    void cueRemoved(Project::Cue*) override { scheduleRefresh(); }
    void cueSelectionChanged(Project::Cue*) override { scheduleRefresh(); }
    void cueCommandChanged(Project::Cue*) override { scheduleRefresh(); }
    void cueTimecodeChanged(Project::Cue*) override { scheduleRefresh(); }
    void cuePrefireTimeChanged(Project::Cue*) override { scheduleRefresh(); }
    void cueDurationChanged(Project::Cue*) override { scheduleRefresh(); }
    void cuePyroTypeChanged(Project::Cue*) override { scheduleRefresh(); }
    void cueReminderTextChanged(Project::Cue*) override { scheduleRefresh(); }
    void cueGroupNameChanged(Project::Cue*) override { scheduleRefresh(); }
    void cueGroupChanged(Project::Cue*) override { scheduleRefresh(); }
    void cueQuantityChanged(Project::Cue*) override { scheduleRefresh(); }
    void cueMetadataChanged(Project::Cue*) override { scheduleRefresh(); }
    // Project::ProjectState::Listener
    void onModeChanged() override;
    // Controller::Controller::Listener
    void onStatusChanged() override { refreshShowState(); }
    void onConnectionChanged(bool) override { refreshShowState(); }
    void onEmulatorReset() override;
    void onModuleChanged(int module, const Controller::Emulator::ModuleState* state) override;
    void onDmxCleared() override;
    void onDmxChannelChanged(int channel, int value, bool timed) override;

private:
    // A field of the cue panels with the kind that parses it.
    struct Field {
        GUI::D2DEditLabel* edit = nullptr;
        int kind = 0;
    };

    GUI::D2DPanel* addPanel(const wchar_t* name, const wchar_t* titleKey);
    GUI::D2DRow* addRow(GUI::D2DPanel* panel, const std::wstring& rowName,
                        const std::wstring& labelKey, int columns, float labelFraction = 0.4f);
    GUI::D2DEditLabel* addEdit(GUI::D2DPanel* panel, const std::wstring& name,
                               const std::wstring& labelKey, int kind);
    GUI::D2DButton* addButton(GUI::D2DPanel* panel, const std::wstring& name,
                              const std::wstring& captionKey, int command, bool toggle = false);
    std::pair<GUI::D2DButton*, GUI::D2DButton*> addButtonPair(
        GUI::D2DPanel* panel, const std::wstring& labelKey, const std::wstring& first,
        const std::wstring& firstKey, int firstCommand, const std::wstring& second,
        const std::wstring& secondKey, int secondCommand);
    GUI::D2DLabel* addLabel(GUI::D2DPanel* panel, const std::wstring& name,
                            const std::wstring& text);
    GUI::D2DMetadataPanel* addMetadataPanel(GUI::D2DPanel* panel, const wchar_t* deleteKey,
                                            const std::vector<std::wstring>& reservedKeys);
    void buildEditPanels();
    void buildShowPanels();

    void scheduleRefresh();
    void applyPanelVisibility(unsigned mask);
    void refreshFields();
    void refreshMetadata();
    void refreshAudioOffset();
    void refreshButtons();
    std::wstring currentTextOf(const GUI::D2DEditLabel* label) const;
    void showInvalidInput();
    bool commitCueField(const Field& field, const std::wstring& text, bool byEnter);
    bool commitAudioOffset(const std::wstring& text);
    bool commitManualChannel(const std::wstring& text, bool byEnter);
    bool commitManualValue(const std::wstring& text);
    void sendManualLevel(int value);
    void scrollToShow(QWidget* window);

    Project::Project* project() const;

    GUI::StackedLayout* stack_ = nullptr;
    GUI::D2DScrollbar* scrollbar_ = nullptr;
    std::map<std::wstring, GUI::D2DPanel*> panels_;
    std::vector<Field> fields_;
    std::map<const GUI::D2DButton*, int> commands_;
    GUI::D2DMetadataPanel* pyroMeta_ = nullptr;
    GUI::D2DMetadataPanel* dmxMeta_ = nullptr;
    std::vector<std::wstring> pyroReservedKeys_;
    std::vector<std::wstring> dmxReservedKeys_;

    GUI::D2DEditLabel* audioOffset_ = nullptr;
    GUI::D2DButton *pyroBtn_ = nullptr, *dmxBtn_ = nullptr, *singleBtn_ = nullptr,
                   *parallelBtn_ = nullptr, *waveBtn_ = nullptr, *blockBtn_ = nullptr,
                   *clearEffectBtn_ = nullptr, *duplicateBtn_ = nullptr, *deleteBtn_ = nullptr;

    GUI::D2DLabel* deadManLabel_ = nullptr;
    GUI::D2DLabel* pyroLabel_ = nullptr;
    GUI::D2DLabel* dmxLabel_ = nullptr;
    GUI::D2DButton* armToggle_ = nullptr;
    std::vector<GUI::D2DButton*> groupButtons_;
    std::vector<GUI::D2DButton*> dmxButtons_;
    GUI::D2DEditLabel* channelEdit_ = nullptr;
    GUI::D2DEditLabel* valueEdit_ = nullptr;
    SidebarModuleGrid* moduleGrid_ = nullptr;
    SidebarDmxGrid* dmxGrid_ = nullptr;
    GUI::D2DPyroSlave* slave_ = nullptr;

    SidebarFields::Summary summary_;
    unsigned panelMask_ = ~0u;  // the last applied visibility; none applied yet
    int selectedModule_ = 0;
    int manualChannel_ = 0;  // 0..511, shown plus one
    int manualValue_ = 255;
    bool refreshPending_ = false;
    bool listening_ = false;
    QPointer<QWidget> enterField_;  // the field an Enter commit gives the focus back to
};

}  // namespace GUIMain
