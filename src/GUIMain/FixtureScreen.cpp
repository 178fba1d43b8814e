#include "GUIMain/FixtureScreen.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <map>

#include "Config/Settings.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/AutomationState.h"
#include "GUIMain/Commands.h"
#include "GUIMain/DmxChannelValueListView.h"
#include "GUIMain/FixtureListView.h"
#include "GUIMain/LibraryWindow.h"
#include "GUIMain/Skyfirewright.h"
#include "Project/FixturePatch.h"
#include "Project/FixtureSearch.h"
#include "Project/Operations/OperationAddChannel.h"
#include "Project/Operations/OperationAddFixture.h"
#include "Project/Operations/OperationDeleteChannelSelection.h"
#include "Project/Operations/OperationLoadFixtureListFromLocalFile.h"
#include "Project/Operations/OperationPatchFixtures.h"
#include "Project/Operations/OperationSelectionFixture.h"
#include "Project/Operations/OperationStoreFixtureListToLocalFile.h"
#include "Show/ShowSession.h"

namespace GUIMain {

using LibraryWindow::makeButton;
using LibraryWindow::text;
using Project::Fixture;
using Project::LocationMode;
using Project::PatchMode;

namespace {

constexpr int kPresetFileFilter = 9;
FixtureScreen* openScreen = nullptr;

// "PRESET.SCREEN.PATCH.RADIOBUTTON.SAME" -> "Patch.SAME".
QString radioName(const char* prefix, const char* key)
{
    const std::string full(key);
    return QString::fromLatin1(prefix) +
           QString::fromStdString(full.substr(full.find("RADIOBUTTON.") + 12));
}

int selectedFixtureCount(const Project::FixtureList& list)
{
    int count = 0;
    for (const Fixture* fixture : list) {
        count += fixture->isSelected() ? 1 : 0;
    }
    return count;
}

}  // namespace

FixtureScreen::FixtureScreen(Skyfirewright& owner, int mode)
    : owner_(owner), project_(owner.session().project()), mode_(mode)
{
}

FixtureScreen* FixtureScreen::current()
{
    return openScreen;
}

FixtureScreen* FixtureScreen::open(Skyfirewright& owner, int mode)
{
    if (openScreen != nullptr) {
        LibraryWindow::raise(openScreen->getHandle());
        return openScreen;
    }
    auto* screen = new FixtureScreen(owner, mode);
    const std::wstring title =
        Config::tr(mode == kModePatch ? L"FIXTURES.TITLE.PATCH" : L"FIXTURES.TITLE.EDIT");
    screen->createOwned(L"FixtureScreen", title, GUI::kStyleOverlappedWindow, 0, owner.getHandle());
    LibraryWindow::present(screen->getHandle(), owner.getHandle());
    return screen;
}

Project::Project& FixtureScreen::project() const
{
    return project_;
}

void FixtureScreen::onCreate()
{
    openScreen = this;
    QWidget* handle = getHandle();
    QVBoxLayout* layout = LibraryWindow::layOut(
        handle, mode_ == kModePatch ? L"FIXTURES.HEADING.PATCH" : L"FIXTURES.HEADING.EDIT");

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(4);
    buttons->addWidget(
        makeButton(handle, "AddFixture", L"FIXTURES.BUTTON.ADD", [this] { addFixture(); }));
    buttons->addWidget(makeButton(handle, "DeleteFixtures", L"FIXTURES.BUTTON.DELETE",
                                  [] { sendCommand(Command::kDeleteFixtures); }));
    buttons->addSpacing(12);
    buttons->addWidget(
        makeButton(handle, "AddChannel", L"FIXTURES.BUTTON.ADD_CHANNEL", [this] { addChannel(); }));
    buttons->addWidget(makeButton(handle, "DeleteChannels", L"FIXTURES.BUTTON.DELETE_CHANNELS",
                                  [this] { deleteChannels(); }));
    buttons->addSpacing(12);
    buttons->addWidget(
        makeButton(handle, "LoadFile", L"FIXTURES.BUTTON.LOAD", [this] { loadPresetFile(); }));
    buttons->addWidget(makeButton(handle, "ExportFile", L"FIXTURES.BUTTON.EXPORT",
                                  [] { sendCommand(Command::kStoreFixtureLibrary); }));
    buttons->addStretch(1);
    buttons->addWidget(LibraryWindow::makeCloseButton(handle, L"FIXTURES.BUTTON.CLOSE"));
    layout->addLayout(buttons);

    Project::ProjectData& data = project().getProjectData();
    auto submitHook = [this](std::unique_ptr<Project::IOperation> operation) {
        return submit(std::move(operation));
    };
    auto refuseHook = [this](const std::wstring& key) { tell(key); };

    auto* splitter = new QSplitter(Qt::Horizontal, handle);
    splitter->setObjectName(QStringLiteral("Sides"));
    splitter->setChildrenCollapsible(false);
    fixtures_ = new FixtureListView(
        data, {submitHook, refuseHook, [] { sendCommand(Command::kDeleteFixtures); }}, splitter);
    channels_ = new DmxChannelValueListView({submitHook, refuseHook, [this] { deleteChannels(); }},
                                            splitter);
    // The channels and the form keep room to be read beside a wide preset table.
    channels_->setMinimumWidth(330);
    splitter->addWidget(fixtures_);
    splitter->addWidget(channels_);
    if (mode_ == kModePatch) {
        splitter->addWidget(makePatchForm(splitter));
        splitter->setStretchFactor(0, 5);
        splitter->setStretchFactor(1, 2);
        splitter->setStretchFactor(2, 2);
    } else {
        splitter->setStretchFactor(0, 3);
        splitter->setStretchFactor(1, 1);
    }
    layout->addWidget(splitter, 1);

    status_ = new QLabel(handle);
    status_->setObjectName(QStringLiteral("Status"));
    layout->addWidget(status_);

    fingerprintAtOpen_ = presetFingerprint();
    refreshAll();
    project().addListener(this);
    addStateProvider(this, [this](nlohmann::json& state) {
        std::vector<int> selected;
        for (const LibraryListEntry& entry : fixtures_->shownOrder()) {
            if (entry.selected) {
                selected.push_back(entry.id);
            }
        }
        std::vector<int> selectedChannels;
        for (const LibraryListEntry& entry : channels_->shownOrder()) {
            if (entry.selected) {
                selectedChannels.push_back(entry.id);
            }
        }
        const Fixture* shown = channels_->getFixture();
        state["fixtures"] = {
            {"count", static_cast<int>(project().getProjectData().getFixtureStore().size())},
            {"visible", fixtures_->visibleCount()},
            {"selected", selected},
            {"mode", mode_},
            {"channels",
             {{"fixture", shown != nullptr ? shown->getId() : -1},
              {"count", channels_->visibleCount()},
              {"selected", selectedChannels}}},
        };
    });
}

void FixtureScreen::onDestroy()
{
    removeStateProvider(this);
    project().removeListener(this);
    if (openScreen == this) {
        openScreen = nullptr;
    }
    fixtures_ = nullptr;
    channels_ = nullptr;
    // Storing clears the undo history, so only presets that changed are stored: a patch
    // stays undoable.
    if (presetFingerprint() != fingerprintAtOpen_) {
        project().submit(
            std::make_unique<Project::OperationStoreFixtureListToLocalFile>(L"", false));
    }
}

std::size_t FixtureScreen::presetFingerprint() const
{
    const Project::FixtureStore& store = project().getProjectData().getFixtureStore();
    std::size_t hash = store.size();
    const std::hash<std::wstring> textHash;
    auto mix = [&hash](std::size_t value) { hash = hash * 1099511628211ull ^ value; };
    for (const auto& fixture : store) {
        mix(textHash(fixture->getDescription()));
        mix(textHash(fixture->getManufacturer()));
        mix(textHash(fixture->getProductName()));
        mix(textHash(fixture->getComments()));
        mix(static_cast<std::size_t>(fixture->getChannelCount()));
        mix(static_cast<std::size_t>(fixture->getDuration()));
        for (const Fixture::ChannelItem* c = fixture->getFirstChannel(); c != nullptr;
             c = c->getNext()) {
            mix(static_cast<std::size_t>(c->getChannel()) << 8 | c->getValue());
            mix(static_cast<std::size_t>(c->isDynamic()) |
                static_cast<std::size_t>(c->isSafety()) << 1 |
                static_cast<std::size_t>(c->isSlowSafety()) << 2);
        }
    }
    return hash;
}

std::vector<LibraryListEntry> FixtureScreen::getListOrder(LibraryList list) const
{
    if (fixtures_ == nullptr) {
        return {};
    }
    switch (list) {
        case LibraryList::kFixtures: return fixtures_->shownOrder();
        case LibraryList::kChannels: return channels_->shownOrder();
        case LibraryList::kEffects: break;
    }
    return {};
}

void FixtureScreen::projectUpdated()
{
    if (fixtures_ != nullptr) {
        refreshAll();
    }
}

void FixtureScreen::refreshAll()
{
    Project::ProjectData& data = project().getProjectData();
    fixtures_->refresh();
    Fixture* single = nullptr;
    int selected = 0;
    for (Fixture* fixture : data.getFixtureList()) {
        if (fixture->isSelected()) {
            single = fixture;
            ++selected;
        }
    }
    if (selected != 1) {
        single = nullptr;
    }
    data.setCurrentFixture(single);
    channels_->showFixture(single);
    refreshPatchForm();
    status_->setText(QString::fromStdWString(
        std::to_wstring(data.getFixtureStore().size()) + L" " +
        Config::tr(L"FIXTURES.STATUS.FIXTURES") + L", " +
        std::to_wstring(fixtures_->visibleCount()) + L" " + Config::tr(L"FIXTURES.STATUS.SHOWN") +
        L", " + std::to_wstring(selected) + L" " + Config::tr(L"FIXTURES.STATUS.SELECTED")));
}

bool FixtureScreen::submit(std::unique_ptr<Project::IOperation> operation)
{
    return project().submit(std::move(operation));
}

void FixtureScreen::tell(const std::wstring& key)
{
    owner_.ask(key, L"FIXTURES.TITLE.EDIT", Platform::MessageBoxService::Buttons::kOk,
               Platform::MessageBoxService::Icon::kWarning);
}

void FixtureScreen::addFixture()
{
    auto operation = std::make_unique<Project::OperationAddFixture>(
        Config::tr(L"FIXTURES.NEW_FIXTURE"), L"", L"", 1, L"", 0);
    Project::OperationAddFixture* add = operation.get();
    if (!submit(std::move(operation))) {
        return;
    }
    // The new preset alone selected, so its channels can be entered straight away.
    std::map<int32_t, bool> flags;
    for (const Fixture* fixture : project().getProjectData().getFixtureList()) {
        const bool wanted = fixture->getId() == add->getFixtureId();
        if (fixture->isSelected() != wanted) {
            flags[fixture->getId()] = wanted;
        }
    }
    if (!flags.empty()) {
        submit(std::make_unique<Project::OperationSelectionFixture>(std::move(flags)));
    }
}

void FixtureScreen::addChannel()
{
    const Fixture* fixture = channels_->getFixture();
    if (fixture == nullptr) {
        tell(L"FIXTURES.CHANNEL.CHOOSE_ONE");
        return;
    }
    int highest = 0;
    for (const Fixture::ChannelItem* c = fixture->getFirstChannel(); c != nullptr;
         c = c->getNext()) {
        highest = std::max(highest, static_cast<int>(c->getChannel()));
    }
    if (highest >= fixture->getChannelCount()) {
        tell(L"FIXTURES.CHANNEL.FULL");
        return;
    }
    submit(std::make_unique<Project::OperationAddChannel>(static_cast<uint16_t>(highest + 1),
                                                          uint8_t{255}, true, false, false));
}

void FixtureScreen::deleteChannels()
{
    if (channels_->getFixture() != nullptr) {
        submit(std::make_unique<Project::OperationDeleteChannelSelection>());
    }
}

void FixtureScreen::loadPresetFile()
{
    const std::wstring path = owner_.fileDialogs().open(kPresetFileFilter, getHandle());
    if (!path.empty()) {
        submit(std::make_unique<Project::OperationLoadFixtureListFromLocalFile>(path));
    }
}

QWidget* FixtureScreen::makePatchForm(QWidget* parent)
{
    auto* form = new QGroupBox(text(L"FIXTURES.PATCH.TITLE"), parent);
    form->setObjectName(QStringLiteral("PatchForm"));
    form->setMinimumWidth(250);
    auto* layout = new QVBoxLayout(form);
    auto* fields = new QFormLayout();
    startAddress_ = new QLineEdit(QStringLiteral("1"), form);
    startAddress_->setObjectName(QStringLiteral("StartAddress"));
    deviceCount_ = new QLineEdit(QStringLiteral("1"), form);
    deviceCount_->setObjectName(QStringLiteral("DeviceCount"));
    fields->addRow(text(L"FIXTURES.PATCH.START_ADDRESS"), startAddress_);
    fields->addRow(text(L"FIXTURES.PATCH.DEVICE_COUNT"), deviceCount_);
    layout->addLayout(fields);
    QObject::connect(deviceCount_, &QLineEdit::textChanged, form, [this] { refreshPatchForm(); });

    auto* modes = new QGroupBox(text(L"FIXTURES.PATCH.MODE"), form);
    auto* modeLayout = new QVBoxLayout(modes);
    auto* modeGroup = new QButtonGroup(modes);
    for (int m = 0; m < kPatchModeCount; ++m) {
        const auto mode = static_cast<PatchMode>(m);
        const std::string key = Project::patchModeKey(mode);
        auto* radio = new QRadioButton(text(std::wstring(key.begin(), key.end())), modes);
        radio->setObjectName(radioName("Patch.", Project::patchModeKey(mode)));
        modeGroup->addButton(radio);
        modeLayout->addWidget(radio, 0, Qt::AlignLeft);  // clicks land on the text
        QObject::connect(radio, &QRadioButton::toggled, form, [this, mode](bool on) {
            if (on && !formUpdating_) {
                chosenPatch_ = mode;
                refreshPatchForm();
            }
        });
        patchModes_[static_cast<std::size_t>(m)] = radio;
    }
    manualList_ = new QLineEdit(QStringLiteral("1,3,8,9"), modes);
    manualList_->setObjectName(QStringLiteral("ManualList"));
    modeLayout->addWidget(manualList_);
    layout->addWidget(modes);

    auto* locations = new QGroupBox(text(L"FIXTURES.PATCH.LOCATION"), form);
    auto* locationLayout = new QVBoxLayout(locations);
    auto* locationGroup = new QButtonGroup(locations);
    for (int l = 0; l < kLocationModeCount; ++l) {
        const auto location = static_cast<LocationMode>(l + 1);
        const std::string key = Project::locationModeKey(location);
        auto* radio = new QRadioButton(text(std::wstring(key.begin(), key.end())), locations);
        radio->setObjectName(radioName("Location.", Project::locationModeKey(location)));
        locationGroup->addButton(radio);
        locationLayout->addWidget(radio, 0, Qt::AlignLeft);
        QObject::connect(radio, &QRadioButton::toggled, form, [this, location](bool on) {
            if (on && !formUpdating_) {
                chosenLocation_ = location;
                refreshPatchForm();
            }
        });
        locationModes_[static_cast<std::size_t>(l)] = radio;
    }
    layout->addWidget(locations);
    layout->addStretch(1);
    auto* apply = makeButton(form, "Patch", L"FIXTURES.PATCH.APPLY", [this] { patch(); });
    layout->addWidget(apply);
    return form;
}

void FixtureScreen::refreshPatchForm()
{
    if (startAddress_ == nullptr) {
        return;
    }
    const int devices = Project::readPatchNumber(deviceCount_->text().toStdWString());
    const int fixtures = selectedFixtureCount(project().getProjectData().getFixtureList());
    // A choice that is no longer offered falls back, and stays fallen back.
    chosenPatch_ = Project::effectivePatchMode(chosenPatch_, devices, fixtures);
    chosenLocation_ = Project::effectiveLocationMode(chosenLocation_, chosenPatch_, fixtures);
    const bool ownScene = chosenLocation_ == LocationMode::OWN_SCENE;
    formUpdating_ = true;
    for (int m = 0; m < kPatchModeCount; ++m) {
        QRadioButton* radio = patchModes_[static_cast<std::size_t>(m)];
        radio->setEnabled(
            Project::isPatchModeEnabled(static_cast<PatchMode>(m), devices, fixtures));
        radio->setChecked(static_cast<PatchMode>(m) == chosenPatch_);
    }
    for (int l = 0; l < kLocationModeCount; ++l) {
        const auto location = static_cast<LocationMode>(l + 1);
        QRadioButton* radio = locationModes_[static_cast<std::size_t>(l)];
        radio->setEnabled(ownScene == (location == LocationMode::OWN_SCENE));
        radio->setChecked(location == chosenLocation_);
    }
    manualList_->setEnabled(chosenPatch_ == PatchMode::MANUALENTRY);
    formUpdating_ = false;
}

bool FixtureScreen::patch()
{
    Project::ProjectData& data = project().getProjectData();
    const std::vector<Fixture*> fixtures = Project::selectedFixturesInOrder(data.getFixtureList());
    if (fixtures.empty()) {
        tell(L"FIXTURES.PATCH.NO_FIXTURE");
        return false;
    }
    bool anyCue = false;
    const Project::CueList& cues = data.getCueList();
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        anyCue = anyCue || cue->isSelected();
    }
    if (!anyCue) {
        tell(L"FIXTURES.PATCH.NO_CUES");
        return false;
    }
    refreshPatchForm();
    Project::PatchSettings settings;
    settings.startAddress = Project::readPatchNumber(startAddress_->text().toStdWString());
    settings.deviceCount = Project::readPatchNumber(deviceCount_->text().toStdWString());
    settings.patchMode = chosenPatch_;
    settings.locationMode = chosenLocation_;
    settings.manualEntry = manualList_->text().toStdWString();
    if (settings.startAddress < 1 || settings.startAddress > 512) {
        tell(L"FIXTURES.PATCH.START_ADDRESS_RANGE");
        return false;
    }
    // A patch the settings do not allow is refused by the operation, which reports why.
    if (!submit(std::make_unique<Project::OperationPatchFixtures>(fixtures, settings))) {
        return false;
    }
    QWidget* window = getHandle();
    QTimer::singleShot(0, window, [window] { window->close(); });
    return true;
}

}  // namespace GUIMain
