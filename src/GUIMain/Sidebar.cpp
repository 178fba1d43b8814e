#include "GUIMain/Sidebar.h"

#include <QFontMetricsF>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "Config/Settings.h"
#include "GUI/BasicLayout.h"
#include "GUI/D2DLabel.h"
#include "GUI/D2DPanel.h"
#include "GUI/D2DPyroSlave.h"
#include "GUI/D2DRow.h"
#include "GUI/D2DScrollbar.h"
#include "GUI/Graphics.h"
#include "GUI/RenderTarget.h"
#include "GUI/StackedLayout.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/AutomationState.h"
#include "GUIMain/Commands.h"
#include "GUIMain/CueListView.h"
#include "GUIMain/SidebarGrids.h"
#include "GUIMain/Skyfirewright.h"
#include "Platform/Utf.h"
#include "Project/Operations/OperationRenameCueMeta.h"
#include "Project/Operations/OperationSetAudioOffset.h"
#include "Project/Operations/OperationSetCueMeta.h"
#include "Timecode/TimecodeParser.h"

namespace GUIMain {

namespace {

using Flag = SidebarFields::Summary::Flag;
using Buttons = Platform::MessageBoxService::Buttons;
using Icon = Platform::MessageBoxService::Icon;

constexpr std::uint32_t kStyle = GUI::kStyleChild | GUI::kStyleVisible;
constexpr int kScrollbarWidth = 18;
constexpr int kLabelHeight = 18;
constexpr int kSlaveHeight = 88;
constexpr float kEditLabelFraction = 0.5f;
constexpr int kWheelNotch = 120;
constexpr int kWheelStep = -20;
constexpr int kEnsureVisibleMargin = 6;
// The status word's bits the sidebar reads (pyro and DMX armed as the device reports them).
constexpr int kStatusPyroArmed = 0x01;
constexpr int kStatusDmxArmed = 0x20;
// Manual DMX through the controller: the hold marks around the level word.
constexpr std::uint32_t kDmxHoldStart = 0x90000001u;
constexpr std::uint32_t kDmxHoldEnd = 0x90000000u;
constexpr std::uint32_t kDmxLevelMark = 0xFF910000u;

enum PanelIndex {
    kEditMode,
    kCue,
    kCueReminder,
    kPyroCue,
    kDmxCue,
    kPyroEffect,
    kDmxEffect,
    kPrjSettings,
    kShowMode,
    kManualFire,
    kDmxManual,
    kCheck,
};

unsigned bit(int index)
{
    return 1u << index;
}

const std::vector<std::pair<const wchar_t*, const wchar_t*>> kPyroKeys{
    {L"~DESC", L"SIDEBAR.EFFECT.DESC"},
    {L"~ARTNR", L"SIDEBAR.EFFECT.ARTNR"},
    {L"~TYPE", L"SIDEBAR.EFFECT.TYPE"},
    {L"~POS", L"SIDEBAR.EFFECT.POSITION"},
    {L"~ANGLE", L"SIDEBAR.EFFECT.ANGLE"},
    {L"~PRICE", L"SIDEBAR.EFFECT.PRICE"},
    {L"~MANUFACTURER", L"SIDEBAR.EFFECT.MANUFACTURER"},
    {L"~VANSHAPE", L"SIDEBAR.EFFECT.VANSHAPE"},
    {L"~CLASSIFICATION", L"SIDEBAR.EFFECT.CLASSIFICATION"},
    {L"~CALIBRE", L"SIDEBAR.EFFECT.CALIBRE"},
    {L"~WEIGHT", L"SIDEBAR.EFFECT.WEIGHT"},
    {L"~SAFETY", L"SIDEBAR.EFFECT.SAFETY"},
};
const std::vector<std::wstring> kDmxKeys{L"~DESC", L"~TYPE", L"~POS", L"~ANGLE", L"~PRICE"};

// The width of a row inside a panel: the sidebar's panels and their rows each give up 28
// pixels of the width they are given.
constexpr int kRowWidth = 250 - 28 - 28;

bool labelFits(const std::wstring& text, float fraction)
{
    const GUI::Graphics* graphics = GUI::Graphics::getInstance();
    if (graphics == nullptr) {
        return true;
    }
    const QFontMetricsF metrics(graphics->getFont(GUI::Graphics::TextStyle::kRegular13));
    const double room = kRowWidth * fraction - GUI::D2DRow::kGap / 2.0;
    return metrics.horizontalAdvance(QString::fromStdWString(text)) <= room;
}

bool isVisible(const GUI::Component* component)
{
    return component != nullptr && component->getHandle() != nullptr &&
           !component->getHandle()->isHidden();
}

}  // namespace

Sidebar::Sidebar() = default;

Sidebar::~Sidebar()
{
    removeStateProvider(this);
}

Project::Project* Sidebar::project() const
{
    return Project::Project::getInstance();
}

void Sidebar::onCreate()
{
    stack_ = new GUI::StackedLayout(getHandle(), GUI::StackedLayout::kDownward);
    scrollbar_ = new GUI::D2DScrollbar(GUI::D2DScrollbar::kVertical);
    scrollbar_->createAsD2DChild(L"Scrollbar", L"",
                                 new GUI::BasicLayout(1, -kScrollbarWidth, 0, 0, 1, 0, 1, 0),
                                 kStyle, 0, this);
    scrollbar_->installOn(stack_);
    buildEditPanels();
    buildShowPanels();

    if (Project::Project* p = project()) {
        p->addListener(this);
        p->getProjectData().getCueList().addListener(this);
        p->getProjectState().addListener(this);
        listening_ = true;
    }
    if (Controller::Controller* controller = Controller::Controller::getInstance()) {
        controller->addListener(this);
        moduleGrid_->setModuleStateSource(controller);
        dmxGrid_->setLevelSource(controller);
    }
    addStateProvider(this, [this](nlohmann::json& state) {
        nlohmann::json panels = nlohmann::json::array();
        for (const std::wstring& name : getVisiblePanels()) {
            panels.push_back(Platform::toUtf8(name));
        }
        nlohmann::json fields = nlohmann::json::object();
        for (const auto& [name, text] : getVisibleFields()) {
            fields[Platform::toUtf8(name)] = Platform::toUtf8(text);
        }
        state["sidebar"] = {{"panels", panels}, {"fields", fields}};
    });
    refresh();
    refreshShowState();
}

void Sidebar::onDestroy()
{
    removeStateProvider(this);
    // The stacked layout goes with the panels; the scrollbar must not reach it afterwards.
    if (scrollbar_ != nullptr) {
        scrollbar_->installOn(nullptr);
    }
    if (listening_) {
        if (Project::Project* p = project()) {
            p->removeListener(this);
            p->getProjectData().getCueList().removeListener(this);
            p->getProjectState().removeListener(this);
        }
        listening_ = false;
    }
    if (Controller::Controller* controller = Controller::Controller::getInstance()) {
        controller->removeListener(this);
    }
}

void Sidebar::draw(GUI::RenderTarget& target)
{
    target.painter().fillRect(QRect(QPoint(0, 0), target.getSize()), QColor(40, 40, 46));
}

std::intptr_t Sidebar::handleMessage(GUI::Message& message)
{
    switch (message.code) {
        case GUI::kMessageMouseWheel:
            if (scrollbar_ != nullptr) {
                scrollbar_->scrollBy(static_cast<int>(std::trunc(
                    static_cast<double>(message.wheelDelta) / kWheelNotch * kWheelStep + 0.5)));
            }
            return 0;
        case GUI::kMessageEnsureVisible:
            if (message.window != nullptr && scrollbar_ != nullptr &&
                getHandle()->isAncestorOf(message.window)) {
                scrollToShow(message.window);
                return 1;
            }
            break;
        default: break;
    }
    return GUI::D2DContainer::handleMessage(message);
}

void Sidebar::scrollToShow(QWidget* window)
{
    const int top = window->mapTo(getHandle(), QPoint(0, 0)).y() + scrollbar_->getPosition();
    scrollbar_->makeVisible(top - kEnsureVisibleMargin,
                            top + window->height() + kEnsureVisibleMargin);
}

// --- building ------------------------------------------------------------------------

GUI::D2DPanel* Sidebar::addPanel(const wchar_t* name, const wchar_t* titleKey)
{
    auto* panel = new GUI::D2DPanel();
    panel->createAsD2DChild(name, Config::tr(titleKey), stack_, kStyle, 0, this);
    panels_[name] = panel;
    return panel;
}

GUI::D2DRow* Sidebar::addRow(GUI::D2DPanel* panel, const std::wstring& rowName,
                             const std::wstring& labelKey, int columns, float labelFraction)
{
    std::wstring label = labelKey.empty() ? std::wstring() : Config::tr(labelKey);
    // A label too long for its share of the row gets a line of its own above the fields.
    if (!label.empty() && !labelFits(label, labelFraction)) {
        addLabel(panel, rowName + L"Label", label);
        label.clear();
    }
    auto* row = new GUI::D2DRow(columns);
    row->createAsD2DChild(rowName, label, panel->getStack(), kStyle, 0, panel);
    if (!label.empty()) {
        row->setLabelFraction(labelFraction);
    }
    panel->getStack()->setSize(row, 0, GUI::D2DRow::kHeight);
    return row;
}

GUI::D2DEditLabel* Sidebar::addEdit(GUI::D2DPanel* panel, const std::wstring& name,
                                    const std::wstring& labelKey, int kind)
{
    GUI::D2DRow* row = addRow(panel, name + L"Row", labelKey, 1, kEditLabelFraction);
    auto* edit = new GUI::D2DEditLabel();
    row->addField(edit, name);
    edit->addListener(this);
    if (kind >= 0) {
        fields_.push_back({edit, kind});
    }
    return edit;
}

GUI::D2DButton* Sidebar::addButton(GUI::D2DPanel* panel, const std::wstring& name,
                                   const std::wstring& captionKey, int command, bool toggle)
{
    GUI::D2DRow* row = addRow(panel, name + L"Row", L"", 1);
    auto* button = new GUI::D2DButton(toggle);
    row->addField(button, name, Config::tr(captionKey));
    button->addListener(this);
    commands_[button] = command;
    return button;
}

std::pair<GUI::D2DButton*, GUI::D2DButton*> Sidebar::addButtonPair(
    GUI::D2DPanel* panel, const std::wstring& labelKey, const std::wstring& first,
    const std::wstring& firstKey, int firstCommand, const std::wstring& second,
    const std::wstring& secondKey, int secondCommand)
{
    GUI::D2DRow* row = addRow(panel, first + L"Row", labelKey, 2);
    auto* a = new GUI::D2DButton();
    auto* b = new GUI::D2DButton();
    row->addField(a, first, Config::tr(firstKey));
    row->addField(b, second, Config::tr(secondKey));
    for (auto [button, command] : {std::pair{a, firstCommand}, std::pair{b, secondCommand}}) {
        button->addListener(this);
        commands_[button] = command;
    }
    return {a, b};
}

GUI::D2DLabel* Sidebar::addLabel(GUI::D2DPanel* panel, const std::wstring& name,
                                 const std::wstring& text)
{
    auto* label = new GUI::D2DLabel();
    label->createAsD2DChild(name, text, panel->getStack(), kStyle, 0, panel);
    panel->getStack()->setSize(label, 0, kLabelHeight);
    return label;
}

GUI::D2DMetadataPanel* Sidebar::addMetadataPanel(GUI::D2DPanel* panel, const wchar_t* deleteKey,
                                                 const std::vector<std::wstring>& reservedKeys)
{
    auto* meta = new GUI::D2DMetadataPanel();
    meta->createAsD2DChild(L"Metadata", Config::tr(L"SIDEBAR.EFFECT"), panel->getStack(), kStyle, 0,
                           panel);
    // The remove buttons keep the toolkit's sign: the localized words ("Remove key") leave
    // the value fields no room in a column this narrow.
    (void)deleteKey;
    std::map<std::wstring, std::wstring> labels;
    for (const auto& [key, labelKey] : kPyroKeys) {
        if (std::find(reservedKeys.begin(), reservedKeys.end(), key) != reservedKeys.end()) {
            labels[key] = Config::tr(labelKey);
        }
    }
    meta->setKeyLabels(std::move(labels));
    meta->setErrorReporter([this](const std::wstring& key) {
        if (auto* window =
                dynamic_cast<Skyfirewright*>(GUI::Component::fromHandle(getHandle()->window()))) {
            window->ask(key, L"WINDOW.INVALID_INPUT", Buttons::kOk, Icon::kWarning);
        }
    });
    meta->addListener(this);
    return meta;
}

void Sidebar::buildEditPanels()
{
    using namespace SidebarFields;
    namespace C = Command;

    GUI::D2DPanel* edit = addPanel(L"EditMode", L"SIDEBAR.EDIT_MODE");
    addButtonPair(edit, L"", L"AddPyroBtn", L"SIDEBAR.EDIT_MODE.ADD_PYRO", C::kAddPyroCue,
                  L"AddDMXBtn", L"SIDEBAR.EDIT_MODE.ADD_DMX", C::kAddDmxCue);
    std::tie(duplicateBtn_, deleteBtn_) =
        addButtonPair(edit, L"", L"DuplicateBtn", L"SIDEBAR.EDIT_MODE.DUPLICATE", C::kDuplicateCues,
                      L"DeleteBtn", L"SIDEBAR.EDIT_MODE.DELETE", C::kDeleteCues);
    addButton(edit, L"AddReminder", L"SIDEBAR.EDIT_MODE.ADD_NOTE", C::kAddReminderCue);
    clearEffectBtn_ =
        addButton(edit, L"ClearEffectBtn", L"SIDEBAR.EDIT_MODE.CLEAR_EFFECT", C::kResetCues);
    edit->fitHeight();

    GUI::D2DPanel* cue = addPanel(L"Cue", L"SIDEBAR.CUE");
    addEdit(cue, L"TimecodeEdit", L"SIDEBAR.CUE.TIMECODE", kTimecode);
    addEdit(cue, L"DurationEditComplete", L"SIDEBAR.DMX.DURATION.HHMMSSFF", kDuration);
    addEdit(cue, L"PFTEdit", L"SIDEBAR.CUE.PFT", kPrefire);
    addEdit(cue, L"GroupEdit", L"SIDEBAR.CUE.GROUP", kGroup);
    addEdit(cue, L"GroupEditName", L"SIDEBAR.CUE.GROUP.NAME", kGroupName);
    addEdit(cue, L"QtyEdit", L"SIDEBAR.CUE.QTY", kQuantity);
    std::tie(pyroBtn_, dmxBtn_) =
        addButtonPair(cue, L"SIDEBAR.CUE.TYPE", L"PyroBtn", L"SIDEBAR.CUE.TYPE.PYRO",
                      C::kMakePyroCue, L"DMXBtn", L"SIDEBAR.CUE.TYPE.DMX", C::kMakeDmxCue);
    cue->fitHeight();

    GUI::D2DPanel* reminder = addPanel(L"CueReminder", L"SIDEBAR.REMINDER");
    addEdit(reminder, L"TimecodeEditTwo", L"SIDEBAR.CUE.TIMECODE", kTimecode);
    addEdit(reminder, L"ReminderEdit", L"SIDEBAR.REMINDER.DESCRIPTION", kReminder);
    reminder->fitHeight();

    GUI::D2DPanel* pyro = addPanel(L"PyroCue", L"SIDEBAR.PYRO");
    std::tie(singleBtn_, parallelBtn_) = addButtonPair(
        pyro, L"SIDEBAR.PYRO.TYPE", L"PyroTypeSingle", L"SIDEBAR.PYRO.TYPE.SINGLE",
        C::kPyroTypeSingle, L"PyroTypeParalel", L"SIDEBAR.PYRO.TYPE.PARALEL", C::kPyroTypeDouble);
    addEdit(pyro, L"AddressEdit", L"SIDEBAR.PYRO.ADDRESS", kPyroAddress)->setHintText(L"000");
    addButton(pyro, L"AssignBtn", L"SIDEBAR.PYRO.ASSIGN", C::kAutoAddress);
    pyro->fitHeight();

    GUI::D2DPanel* dmx = addPanel(L"DMXCue", L"SIDEBAR.DMX");
    addEdit(dmx, L"AdvancedEdit", L"SIDEBAR.DMX.ADVANCED", kDmxText);
    addEdit(dmx, L"ValueEdit", L"SIDEBAR.DMX.VALUE", kDmxValue);
    addEdit(dmx, L"BpmEdit", L"SIDEBAR.DMX.CHASE.BPM", kChaseSpeed);
    std::tie(waveBtn_, blockBtn_) = addButtonPair(
        dmx, L"SIDEBAR.DMX.CHASE.PATH", L"WaveBtn", L"SIDEBAR.DMX.CHASE.PATH.SIN",
        C::kChaseTypeSingle, L"BlockBtn", L"SIDEBAR.DMX.CHASE.PATH.BLOCK", C::kChaseTypeDouble);
    dmx->fitHeight();

    for (const auto& [key, label] : kPyroKeys) {
        pyroReservedKeys_.push_back(key);
    }
    dmxReservedKeys_ = kDmxKeys;
    GUI::D2DPanel* pyroEffect = addPanel(L"PyroEffect", L"SIDEBAR.EFFECTLIBRARY.PYRO");
    pyroMeta_ =
        addMetadataPanel(pyroEffect, L"SIDEBAR.EFFECTLIBRARY.PYRO.DELETE", pyroReservedKeys_);
    addButton(pyroEffect, L"EffectBtn", L"SIDEBAR.EFFECTLIBRARY.PYRO", C::kPickEffect);
    GUI::D2DPanel* dmxEffect = addPanel(L"DmxEffect", L"SIDEBAR.EFFECTLIBRARY.DMX");
    dmxMeta_ = addMetadataPanel(dmxEffect, L"SIDEBAR.EFFECTLIBRARY.DMX.DELETE", dmxReservedKeys_);
    addButton(dmxEffect, L"EffectBtn", L"SIDEBAR.EFFECTLIBRARY.DMX", C::kPatchFixture);

    GUI::D2DPanel* settings = addPanel(L"PrjSettings", L"SIDEBAR.PRJSET");
    addButtonPair(settings, L"SIDEBAR.PRJSET.AUD", L"LinkAudBtn", L"SIDEBAR.PRJSET.AUD.LINK",
                  C::kLinkWave, L"UnlinkAudBtn", L"SIDEBAR.PRJSET.AUD.UNLINK", C::kUnlinkWave);
    audioOffset_ = addEdit(settings, L"AudOffsetEdit", L"SIDEBAR.PRJSET.AUD.OFFSET", -1);
    settings->fitHeight();
}

void Sidebar::buildShowPanels()
{
    namespace C = Command;
    GUI::D2DPanel* show = addPanel(L"ShowMode", L"SIDEBAR.SHOW_MODE");
    deadManLabel_ =
        addLabel(show, L"DeadManStateLbl", Config::tr(L"SIDEBAR.SHOW_MODE.DEADMAN_STATE.UNKNOWN"));
    pyroLabel_ =
        addLabel(show, L"PyroStateLbl", Config::tr(L"SIDEBAR.SHOW_MODE.PYRO_STATE.UNKNOWN"));
    dmxLabel_ = addLabel(show, L"DMXStateLbl", Config::tr(L"SIDEBAR.SHOW_MODE.DMX_STATE.UNKNOWN"));
    armToggle_ = addButton(show, L"CheckBtn", L"SIDEBAR.SHOW_MODE.AUTOCHECK", C::kArm, true);
    addButton(show, L"ResetBtn", L"SIDEBAR.SHOW_MODE.RESET", C::kResetShow);
    addButton(show, L"ExitBtn", L"SIDEBAR.SHOW_MODE.EXIT", C::kShowMode);
    show->fitHeight();

    GUI::D2DPanel* manual = addPanel(L"ManualFire", L"SIDEBAR.MANUAL_FIRE");
    groupButtons_.resize(16);
    for (int row = 0; row < 8; ++row) {
        GUI::D2DRow* groups = addRow(manual, L"GroupRow" + std::to_wstring(row + 1), L"", 2);
        for (const int group : {row + 1, row + 9}) {
            auto* button = new FiringButton();
            const std::wstring name = L"Group" + std::to_wstring(group);
            groups->addField(button, name, L"Group " + std::to_wstring(group));
            button->addListener(this);
            commands_[button] = C::kSelectGroup;
            button->setTag(group);
            groupButtons_[static_cast<std::size_t>(group - 1)] = button;
        }
    }
    manual->fitHeight();

    GUI::D2DPanel* dmx = addPanel(L"DMX_manual", L"SIDEBAR.DMX_MANUAL");
    addButton(dmx, L"ResetAll", L"SIDEBAR.DMX_MANUAL.MANUAL_CONTROL_RESET_ALL", C::kFireDmxOff);
    addLabel(dmx, L"GridLabel", Config::tr(L"SIDEBAR.DMX_MANUAL.GRID_LABEL"));
    dmxGrid_ = new SidebarDmxGrid(*this);
    dmxGrid_->createAsD2DChild(L"Grid", L"", dmx->getStack(), kStyle, 0, dmx);
    int width = 0;
    int height = 0;
    dmxGrid_->getPreferredSize(width, height);
    dmx->getStack()->setSize(dmxGrid_, width, height);
    dmxGrid_->showSelected(manualChannel_ + 1);
    channelEdit_ = addEdit(dmx, L"Channel", L"SIDEBAR.DMX_MANUAL.MANUAL_CONTROL_CHANNEL", -1);
    channelEdit_->setText(std::to_wstring(manualChannel_ + 1));
    valueEdit_ = addEdit(dmx, L"ManualValue", L"SIDEBAR.DMX_MANUAL.MANUAL_CONTROL_VALUE", -1);
    valueEdit_->setText(std::to_wstring(manualValue_));
    GUI::D2DRow* setRow = addRow(dmx, L"ManualSetRow", L"", 2);
    for (const auto& [name, key] :
         {std::pair{L"ManualSetBtn", L"SIDEBAR.DMX_MANUAL.MANUAL_CONTROL_SET"},
          std::pair{L"ManualResetBtn", L"SIDEBAR.DMX_MANUAL.MANUAL_CONTROL_RESET"}}) {
        auto* button = new FiringButton();
        setRow->addField(button, name, Config::tr(key));
        button->addListener(this);
        dmxButtons_.push_back(button);
    }
    dmx->fitHeight();

    GUI::D2DPanel* check = addPanel(L"Check", L"SIDEBAR.PYRO_CHECK");
    addLabel(check, L"GridLabel", Config::tr(L"SIDEBAR.PYRO_CHECK.GRID_LABEL"));
    moduleGrid_ = new SidebarModuleGrid(*this);
    moduleGrid_->createAsD2DChild(L"Grid", L"", check->getStack(), kStyle, 0, check);
    moduleGrid_->getPreferredSize(width, height);
    check->getStack()->setSize(moduleGrid_, width, height);
    moduleGrid_->showSelected(selectedModule_);
    slave_ = new GUI::D2DPyroSlave();
    slave_->createAsD2DChild(L"Slave", L"", check->getStack(), kStyle, 0, check);
    check->getStack()->setSize(slave_, 0, kSlaveHeight);
    addButton(check, L"CheckBtn", L"SIDEBAR.PYRO_CHECK.CHECK_NOW", C::kCheckModule);
    check->fitHeight();
}

GUI::D2DPanel* Sidebar::getPanel(const std::wstring& name) const
{
    const auto it = panels_.find(name);
    return it == panels_.end() ? nullptr : it->second;
}

// --- refreshing ----------------------------------------------------------------------

void Sidebar::scheduleRefresh()
{
    if (refreshPending_ || getHandle() == nullptr) {
        return;
    }
    refreshPending_ = true;
    QTimer::singleShot(0, getHandle(), [this] {
        if (refreshPending_) {
            refresh();
        }
    });
}

void Sidebar::projectUpdated()
{
    // Cue events have asked for a refresh already; an operation that changed nothing the
    // sidebar shows (the cue-state preview that follows the play position many times a
    // second) costs only the project-wide field.
    if (refreshPending_) {
        refresh();
    } else {
        refreshAudioOffset();
    }
}

void Sidebar::onModeChanged()
{
    refresh();
    refreshShowState();
}

void Sidebar::refresh()
{
    refreshPending_ = false;
    Project::Project* p = project();
    if (p == nullptr || getHandle() == nullptr) {
        return;
    }
    summary_ = SidebarFields::summarize(p->getProjectData().getCueList());
    const Project::ProjectState& state = p->getProjectState();
    const bool show = state.isShowMode();
    const bool pyro = summary_.has(Flag::kAnyPyro);
    const bool dmx = summary_.has(Flag::kAnyDmx);
    const bool reminder = summary_.has(Flag::kAnyReminder);
    unsigned mask = 0;
    if (!show) {
        mask |= bit(kEditMode);
        mask |= (pyro || dmx) ? bit(kCue) : 0;
        mask |= reminder ? bit(kCueReminder) : 0;
        mask |= pyro ? bit(kPyroCue) : 0;
        mask |= dmx ? bit(kDmxCue) : 0;
        mask |= (pyro && !dmx) ? bit(kPyroEffect) : 0;
        mask |= (!pyro && dmx) ? bit(kDmxEffect) : 0;
        mask |= (!pyro && !dmx && !reminder) ? bit(kPrjSettings) : 0;
    } else {
        mask |= bit(kShowMode) | bit(kCheck) | bit(kDmxManual);
        mask |= state.getClockMode() == Project::ProjectState::CLOCK_MANUAL ? bit(kManualFire) : 0;
    }
    refreshFields();
    refreshButtons();
    refreshAudioOffset();
    if ((mask & (bit(kPyroEffect) | bit(kDmxEffect))) != 0) {
        refreshMetadata();
    }
    applyPanelVisibility(mask);
}

void Sidebar::applyPanelVisibility(unsigned mask)
{
    if (mask == panelMask_) {
        return;
    }
    panelMask_ = mask;
    for (std::size_t i = 0; i < kPanelNames.size(); ++i) {
        if (GUI::D2DPanel* panel = getPanel(kPanelNames[i])) {
            panel->getHandle()->setVisible((mask & bit(static_cast<int>(i))) != 0);
        }
    }
    stack_->scrolled();
}

void Sidebar::refreshFields()
{
    for (const Field& field : fields_) {
        // What is being typed stays until it is committed or abandoned.
        if (field.edit->isEditing() && field.edit->isModified()) {
            continue;
        }
        const std::wstring& text = summary_.texts[static_cast<std::size_t>(field.kind)];
        if (field.edit->getText() != text) {
            field.edit->setText(text);
        }
    }
}

void Sidebar::refreshButtons()
{
    pyroBtn_->setOn(summary_.has(Flag::kAnyPyro));
    dmxBtn_->setOn(summary_.has(Flag::kAnyDmx));
    singleBtn_->setOn(summary_.has(Flag::kAnySingle));
    parallelBtn_->setOn(summary_.has(Flag::kAnyParallel));
    waveBtn_->setOn(summary_.has(Flag::kAnySine));
    blockBtn_->setOn(summary_.has(Flag::kAnyBlock));
    clearEffectBtn_->setEnabled(summary_.has(Flag::kAnyEffectData));
    duplicateBtn_->setEnabled(summary_.selectedCount > 0);
    deleteBtn_->setEnabled(summary_.selectedCount > 0);
}

void Sidebar::refreshAudioOffset()
{
    if (!(audioOffset_->isEditing() && audioOffset_->isModified())) {
        audioOffset_->setText(currentTextOf(audioOffset_));
    }
}

void Sidebar::refreshMetadata()
{
    Project::Project* p = project();
    auto* window = dynamic_cast<Skyfirewright*>(GUI::Component::fromHandle(getHandle()->window()));
    Project::CueList& cues = p->getProjectData().getCueList();
    // Only the selected cues that carry metadata need a closer look; every other selected cue
    // gives an empty value for every key.
    std::vector<const Project::Cue*> withMeta;
    int selectedCount = 0;
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        if (cue->isSelected()) {
            ++selectedCount;
            if (cue->getMetadata().size() > 0) {
                withMeta.push_back(cue);
            }
        }
    }
    // The user keys are listed in the order they are met in the cue list view.
    if (withMeta.size() > 1 && window != nullptr && window->getCueListView() != nullptr) {
        std::unordered_map<int, const Project::Cue*> byId;
        for (const Project::Cue* cue : withMeta) {
            byId.emplace(cue->getId(), cue);
        }
        withMeta.clear();
        for (const int id : window->getCueListView()->getCueIdsInViewOrder()) {
            if (const auto it = byId.find(id); it != byId.end()) {
                withMeta.push_back(it->second);
            }
        }
    }
    const bool someWithout = static_cast<int>(withMeta.size()) < selectedCount;
    const auto valueOver = [&](const std::wstring& key) {
        std::optional<std::wstring> common;
        if (someWithout) {
            common = std::wstring();
        }
        for (const Project::Cue* cue : withMeta) {
            const std::wstring* value = cue->getMetadata().valueOf(key);
            const std::wstring text = value != nullptr ? *value : std::wstring();
            if (!common) {
                common = text;
            } else if (*common != text) {
                return std::wstring(SidebarFields::kDiffering);
            }
        }
        return common.value_or(std::wstring());
    };
    std::vector<std::wstring> userKeys;
    for (const Project::Cue* cue : withMeta) {
        const Project::KeyValueList& meta = cue->getMetadata();
        for (int i = 0; i < meta.size(); ++i) {
            const std::wstring* key = meta.keyAt(i);
            if (key != nullptr && !key->empty() && key->front() != L'~' &&
                std::find(userKeys.begin(), userKeys.end(), *key) == userKeys.end()) {
                userKeys.push_back(*key);
            }
        }
    }
    for (auto [meta, reserved] :
         {std::pair{pyroMeta_, &pyroReservedKeys_}, std::pair{dmxMeta_, &dmxReservedKeys_}}) {
        GUI::D2DMetadataPanel::Rows rows;
        for (const std::wstring& key : *reserved) {
            rows.emplace_back(key, valueOver(key));
        }
        for (const std::wstring& key : userKeys) {
            rows.emplace_back(key, valueOver(key));
        }
        meta->setRows(rows);
        meta->fitHeight();
        if (auto* panel = dynamic_cast<GUI::D2DPanel*>(meta->getD2DParent())) {
            panel->fitHeight();
        }
    }
}

std::wstring Sidebar::currentTextOf(const GUI::D2DEditLabel* label) const
{
    if (label == audioOffset_) {
        const Project::Project* p = project();
        return p != nullptr ? p->getProjectData().getAudioOffset().toString() : std::wstring();
    }
    if (label == channelEdit_) {
        return std::to_wstring(manualChannel_ + 1);
    }
    if (label == valueEdit_) {
        return std::to_wstring(manualValue_);
    }
    for (const Field& field : fields_) {
        if (field.edit == label) {
            return summary_.texts[static_cast<std::size_t>(field.kind)];
        }
    }
    return label->getText();
}

std::vector<std::wstring> Sidebar::getVisiblePanels() const
{
    std::vector<std::wstring> names;
    for (const wchar_t* name : kPanelNames) {
        if (isVisible(getPanel(name))) {
            names.emplace_back(name);
        }
    }
    return names;
}

std::map<std::wstring, std::wstring> Sidebar::getVisibleFields() const
{
    std::map<std::wstring, std::wstring> fields;
    const auto add = [&](const GUI::D2DEditLabel* edit) {
        const GUI::D2DComponent* row = edit->getD2DParent();
        const GUI::D2DComponent* panel = row != nullptr ? row->getD2DParent() : nullptr;
        if (isVisible(edit) && isVisible(panel)) {
            fields[edit->getName()] = edit->getText();
        }
    };
    for (const Field& field : fields_) {
        add(field.edit);
    }
    for (const GUI::D2DEditLabel* edit : {audioOffset_, channelEdit_, valueEdit_}) {
        add(edit);
    }
    return fields;
}

// --- edits ---------------------------------------------------------------------------

void Sidebar::showInvalidInput()
{
    if (auto* window =
            dynamic_cast<Skyfirewright*>(GUI::Component::fromHandle(getHandle()->window()))) {
        window->ask(L"WINDOW.INVALID_INPUT_EX", L"WINDOW.INVALID_INPUT", Buttons::kOk,
                    Icon::kWarning);
    }
}

bool Sidebar::commit(GUI::D2DEditLabel* label, bool byEnter)
{
    const std::wstring text = label->getText();
    if (label == audioOffset_) {
        return commitAudioOffset(text);
    }
    if (label == channelEdit_) {
        return commitManualChannel(text, byEnter);
    }
    if (label == valueEdit_) {
        return commitManualValue(text);
    }
    for (const Field& field : fields_) {
        if (field.edit == label) {
            return commitCueField(field, text, byEnter);
        }
    }
    return true;
}

void Sidebar::revert(GUI::D2DEditLabel* label)
{
    label->setText(currentTextOf(label));
}

bool Sidebar::commitCueField(const Field& field, const std::wstring& text, bool byEnter)
{
    Project::Project* p = project();
    if (p == nullptr) {
        return true;
    }
    // The value shown already is no change: it makes no step in the undo history.
    if (text != summary_.texts[static_cast<std::size_t>(field.kind)]) {
        SidebarFields::Commit result =
            SidebarFields::commit(field.kind, text, p->getProjectData().getFormat());
        if (result.refused) {
            showInvalidInput();
            field.edit->setText(currentTextOf(field.edit));
            return true;
        }
        for (auto& operation : result.operations) {
            if (!p->submit(std::move(operation))) {
                break;  // the project reported why
            }
        }
    }
    refresh();
    field.edit->setText(currentTextOf(field.edit));
    if (byEnter) {
        // On to the next cue, in the same field, so that a column is typed in one go.
        sendCommand(Command::kSelectNext);
        refresh();
        field.edit->setText(currentTextOf(field.edit));
        if (field.edit->getHandle() != nullptr && field.edit->getHandle()->isVisible()) {
            field.edit->getHandle()->setFocus(Qt::OtherFocusReason);
        }
    }
    return true;
}

bool Sidebar::commitAudioOffset(const std::wstring& text)
{
    Project::Project* p = project();
    if (p != nullptr && !text.empty()) {
        const int format = p->getProjectData().getFormat();
        const int frames = ::parseTimecode(text, format);
        if (frames < 0) {
            showInvalidInput();
        } else {
            p->submit(new Project::OperationSetAudioOffset(SMPTE::fromFrameNo(format, frames)));
        }
    }
    audioOffset_->setText(currentTextOf(audioOffset_));
    return true;
}

bool Sidebar::commitManualChannel(const std::wstring& text, bool byEnter)
{
    int n = 0;
    if (!SidebarFields::parseDecimal(text, n) || n < 1 || n > kDmxChannelCount) {
        showInvalidInput();
    } else {
        selectManualChannel(n - 1);
        if (byEnter && valueEdit_->getHandle()->isVisible()) {
            valueEdit_->getHandle()->setFocus(Qt::OtherFocusReason);
        }
    }
    channelEdit_->setText(currentTextOf(channelEdit_));
    return true;
}

bool Sidebar::commitManualValue(const std::wstring& text)
{
    int n = 0;
    if (!SidebarFields::parseDecimal(text, n) || n > 255) {
        showInvalidInput();
    } else {
        manualValue_ = n;
        sendManualLevel(n);
    }
    valueEdit_->setText(currentTextOf(valueEdit_));
    return true;
}

void Sidebar::sendManualLevel(int value)
{
    Controller::Controller* controller = Controller::Controller::getInstance();
    if (controller != nullptr && dmxAllowed()) {
        controller->setDmxChannel(manualChannel_, value);
    }
}

// --- buttons -------------------------------------------------------------------------

void Sidebar::clicked(GUI::D2DButton* button)
{
    Controller::Controller* controller = Controller::Controller::getInstance();
    if (button == armToggle_) {
        if (button->isOn()) {
            postCommand(Command::kArm, static_cast<std::uint64_t>(selectedModule_ + 1));
        } else {
            postCommand(Command::kDisarm, 0);
        }
        // The toggle shows what the device reports, not what was asked.
        refreshShowState();
        return;
    }
    if (std::find(dmxButtons_.begin(), dmxButtons_.end(), button) != dmxButtons_.end()) {
        if (controller == nullptr || !dmxAllowed()) {
            return;
        }
        const int value = button == dmxButtons_.front() ? manualValue_ : 0;
        const std::uint32_t word =
            ((static_cast<std::uint32_t>(manualChannel_) | kDmxLevelMark) << 8) |
            static_cast<std::uint32_t>(value);
        controller->execute({kDmxHoldStart, word, kDmxHoldEnd, word});
        return;
    }
    const auto it = commands_.find(button);
    if (it == commands_.end()) {
        return;
    }
    if (it->second == Command::kSelectGroup) {
        if (firingAllowed()) {
            postCommand(Command::kSelectGroup, static_cast<std::uint64_t>(button->getTag()));
        }
        return;
    }
    if (it->second == Command::kCheckModule) {
        postCommand(Command::kCheckModule, static_cast<std::uint64_t>(selectedModule_));
        return;
    }
    postCommand(it->second, 0);
}

// --- metadata ------------------------------------------------------------------------

void Sidebar::keyAdded(GUI::D2DMetadataPanel*, const std::wstring& key)
{
    if (Project::Project* p = project()) {
        p->submit(new Project::OperationSetCueMeta(key, L""));
    }
    refresh();
}

void Sidebar::keyRemoved(GUI::D2DMetadataPanel* panel, int row)
{
    if (Project::Project* p = project()) {
        p->submit(new Project::OperationSetCueMeta(panel->getKey(row),
                                                   Project::OperationSetCueMeta::kAbsent));
    }
    refresh();
}

void Sidebar::valueChanged(GUI::D2DMetadataPanel* panel, int row, const std::wstring& value, bool)
{
    Project::Project* p = project();
    if (p != nullptr && value != SidebarFields::kDiffering && value != panel->getValue(row)) {
        p->submit(new Project::OperationSetCueMeta(panel->getKey(row), value));
    }
    refresh();
}

void Sidebar::keyChanged(GUI::D2DMetadataPanel* panel, int row, const std::wstring& newKey)
{
    Project::Project* p = project();
    if (p != nullptr && newKey != panel->getKey(row)) {
        p->submit(new Project::OperationRenameCueMeta(panel->getKey(row), newKey));
    }
    refresh();
}

// --- show mode -----------------------------------------------------------------------

bool Sidebar::firingAllowed() const
{
    const Project::Project* p = project();
    const Controller::Controller* controller = Controller::Controller::getInstance();
    return p != nullptr && controller != nullptr && p->getProjectState().isShowMode() &&
           controller->isConnected() && (p->getProjectState().getShowStatus() & kStatusPyroArmed);
}

bool Sidebar::dmxAllowed() const
{
    const Project::Project* p = project();
    const Controller::Controller* controller = Controller::Controller::getInstance();
    return p != nullptr && controller != nullptr && p->getProjectState().isShowMode() &&
           controller->isConnected() && (p->getProjectState().getShowStatus() & kStatusDmxArmed);
}

void Sidebar::refreshShowState()
{
    const Project::Project* p = project();
    const Controller::Controller* controller = Controller::Controller::getInstance();
    if (p == nullptr || deadManLabel_ == nullptr) {
        return;
    }
    const Project::ProjectState& state = p->getProjectState();
    // What the device last reported counts only while it is connected: a lost link shows as
    // unknown at once, whatever the last report said.
    const bool known = state.isShowMode() && controller != nullptr && controller->isConnected();
    if (known) {
        deadManLabel_->setText(Config::tr(
            Platform::fromUtf8(Project::ProjectState::deadmanStateKey(state.getDeadmanState()))));
        pyroLabel_->setText(Config::tr(
            Platform::fromUtf8(Project::ProjectState::pyroStateKey(state.getPyroState()))));
        dmxLabel_->setText(Config::tr(
            Platform::fromUtf8(Project::ProjectState::dmxStateKey(state.getDmxState()))));
    } else {
        deadManLabel_->setText(Config::tr(L"SIDEBAR.SHOW_MODE.DEADMAN_STATE.UNKNOWN"));
        pyroLabel_->setText(Config::tr(L"SIDEBAR.SHOW_MODE.PYRO_STATE.UNKNOWN"));
        dmxLabel_->setText(Config::tr(L"SIDEBAR.SHOW_MODE.DMX_STATE.UNKNOWN"));
    }
    armToggle_->setOn(known && state.isPyroArmed());
    const bool firing = firingAllowed();
    for (GUI::D2DButton* button : groupButtons_) {
        button->setEnabled(firing);
    }
    for (GUI::D2DButton* button : dmxButtons_) {
        button->setEnabled(dmxAllowed());
    }
}

void Sidebar::selectModule(int address)
{
    if (address < 0 || address >= kModuleCount) {
        return;
    }
    selectedModule_ = address;
    moduleGrid_->showSelected(address);
    if (const Controller::Controller* controller = Controller::Controller::getInstance()) {
        slave_->setModuleState(slaveStateOf(address, controller->getModuleState(address)));
    } else {
        slave_->setAddress(address);
    }
}

void Sidebar::selectManualChannel(int channel)
{
    if (channel < 0 || channel >= kDmxChannelCount) {
        return;
    }
    manualChannel_ = channel;
    dmxGrid_->showSelected(channel + 1);
    if (!channelEdit_->isEditing()) {
        channelEdit_->setText(std::to_wstring(channel + 1));
    }
}

void Sidebar::showHoveredChannel(int cell)
{
    if (channelEdit_->isEditing()) {
        return;
    }
    const int current = manualChannel_ + 1;
    if (cell < 1 || cell == current) {
        channelEdit_->setText(std::to_wstring(current));
    } else {
        channelEdit_->setText(std::to_wstring(current) + L" \u2192 " + std::to_wstring(cell));
    }
}

void Sidebar::onEmulatorReset()
{
    moduleGrid_->invalidate();
    dmxGrid_->invalidate();
    selectModule(selectedModule_);
}

void Sidebar::onModuleChanged(int module, const Controller::Emulator::ModuleState*)
{
    moduleGrid_->invalidate();
    if (module == selectedModule_) {
        selectModule(selectedModule_);
    }
}

void Sidebar::onDmxCleared()
{
    dmxGrid_->invalidate();
}

void Sidebar::onDmxChannelChanged(int, int, bool)
{
    dmxGrid_->invalidate();
}

}  // namespace GUIMain
