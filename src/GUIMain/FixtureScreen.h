#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "GUI/Window.h"
#include "GUIMain/LibraryScreens.h"
#include "Project/FixturePatchModes.h"
#include "Project/Project.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QGroupBox;

namespace Project {
class IOperation;
}

namespace GUIMain {

class DmxChannelValueListView;
class FixtureListView;
class Skyfirewright;

// The fixture preset window, owned by the main window: the presets (with their search) and
// the channel values of the chosen preset side by side. Mode 0 keeps the presets; mode 1 adds
// the start address form that patches devices of the selected presets into the selected
// cues as one undoable operation, and closes the window when that is done.
//
// The preset whose channels are shown (the edited fixture) is the one selected fixture;
// with several or none selected no channels are shown. The per-user preset file is stored
// when the window closes after the presets changed.
class FixtureScreen : public GUI::Window, public ILibraryScreen, public Project::Project::Listener {
public:
    static constexpr int kModeEdit = 0;
    static constexpr int kModePatch = 1;
    static constexpr int kPatchModeCount = 8;
    static constexpr int kLocationModeCount = 4;

    static FixtureScreen* open(Skyfirewright& owner, int mode);
    static FixtureScreen* current();

    std::wstring getWindowClassName() const override { return L"FixtureScreen"; }
    void onCreate() override;
    void onDestroy() override;

    QWidget* getWindow() const override { return getHandle(); }
    std::vector<LibraryListEntry> getListOrder(LibraryList list) const override;

    void projectUpdated() override;

    int getMode() const { return mode_; }
    FixtureListView* getFixtureView() const { return fixtures_; }
    DmxChannelValueListView* getChannelView() const { return channels_; }

    void addFixture();
    void addChannel();
    void deleteChannels();
    void loadPresetFile();
    // Patches the selected fixtures into the selected cues with the form's settings and
    // closes; false when refused (the reason is shown).
    bool patch();

private:
    FixtureScreen(Skyfirewright& owner, int mode);

    Project::Project& project() const;
    bool submit(std::unique_ptr<Project::IOperation> operation);
    void tell(const std::wstring& key);
    void refreshAll();
    void refreshPatchForm();
    QWidget* makePatchForm(QWidget* parent);
    std::size_t presetFingerprint() const;

    Skyfirewright& owner_;
    // The session's project, which outlives every window (the owner may be gone first when
    // the program closes).
    Project::Project& project_;
    int mode_;
    FixtureListView* fixtures_ = nullptr;
    DmxChannelValueListView* channels_ = nullptr;
    QLabel* status_ = nullptr;
    std::size_t fingerprintAtOpen_ = 0;

    // The start address form (mode 1).
    QLineEdit* startAddress_ = nullptr;
    QLineEdit* deviceCount_ = nullptr;
    QLineEdit* manualList_ = nullptr;
    std::array<QRadioButton*, kPatchModeCount> patchModes_{};
    std::array<QRadioButton*, kLocationModeCount> locationModes_{};
    Project::PatchMode chosenPatch_ = Project::PatchMode::SAME;
    Project::LocationMode chosenLocation_ = Project::LocationMode::SCENE;
    bool formUpdating_ = false;
};

}  // namespace GUIMain
