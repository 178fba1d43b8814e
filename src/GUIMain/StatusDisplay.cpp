#include "GUIMain/StatusDisplay.h"

#include <QPainterPath>
#include <nlohmann/json.hpp>

#include "Config/Settings.h"
#include "GUI/BasicLayout.h"
#include "GUI/D2DSMPTEDisplay.h"
#include "GUI/RenderTarget.h"
#include "GUI/WindowStyle.h"
#include "GUIMain/AutomationState.h"
#include "GUIMain/HeaderLook.h"
#include "GUIMain/MIDIDisplay.h"
#include "GUIMain/SMPTEFormatDisplay.h"
#include "GUIMain/TransportButtons.h"
#include "GUIMain/VUDisplay.h"
#include "Platform/Utf.h"

namespace GUIMain {

namespace {

constexpr std::uint32_t kChildStyle = GUI::kStyleChild | GUI::kStyleVisible;

// The panel's inner parts, in the display's own pixels: meter, transport and format,
// MIDI state on the left; the three timecodes on the right.
constexpr int kLeft = 14;
constexpr int kLeftWidth = 236;
constexpr int kTimeLeft = 262;
constexpr int kTimeWidth = 220;

GUI::BasicLayout* at(int x, int y, int width, int height)
{
    return new GUI::BasicLayout(0, x, 0, y, 0, x + width, 0, y + height);
}

template <typename T>
T* makeChild(T* child, const wchar_t* name, GUI::BasicLayout* layout, GUI::D2DContainer* parent)
{
    child->createAsD2DChild(name, L"", layout, kChildStyle, 0, parent);
    return child;
}

}  // namespace

void StatusDisplay::getPreferredSize(int& width, int& height)
{
    width = kWidth;
    height = kHeight;
}

void StatusDisplay::onCreate()
{
    const GUI::WidgetColors colors = HeaderLook::kStatusColors;
    meter_ = makeChild(new VUDisplay(), L"VUMeter", at(kLeft, 12, kLeftWidth, 24), this);
    format_ =
        makeChild(new SMPTEFormatDisplay(), L"SMPTEFormat", at(kLeft + 152, 41, 84, 36), this);
    play_ = makeChild(new PlayButton(), L"PlayButton", at(kLeft, 43, 34, 32), this);
    pause_ = makeChild(new PauseButton(), L"PauseButton", at(kLeft + 37, 43, 34, 32), this);
    stop_ = makeChild(new StopButton(), L"StopButton", at(kLeft + 74, 43, 34, 32), this);
    record_ = makeChild(new RecordButton(), L"RecordButton", at(kLeft + 111, 43, 34, 32), this);
    next_ = makeChild(new GUI::D2DSMPTEDisplay(colors, L"nxt"), L"TimeNext",
                      at(kTimeLeft, 10, kTimeWidth, 22), this);
    position_ = makeChild(new GUI::D2DSMPTEDisplay(colors, L"cur"), L"TimeCur",
                          at(kTimeLeft, 33, kTimeWidth, 36), this);
    length_ = makeChild(new GUI::D2DSMPTEDisplay(colors, L"len"), L"TimeLen",
                        at(kTimeLeft, 70, kTimeWidth, 22), this);
    midi_ = makeChild(new MIDIDisplay(), L"MIDIDisplay", at(kLeft, 79, kLeftWidth - 4, 14), this);

    const std::pair<GUI::D2DComponent*, const wchar_t*> tips[] = {{play_, L"STATUS.PLAY"},
                                                                  {pause_, L"STATUS.PAUSE"},
                                                                  {stop_, L"STATUS.STOP"},
                                                                  {record_, L"STATUS.RECORD"}};
    for (const auto& [button, key] : tips) {
        button->getHandle()->setToolTip(QString::fromStdWString(Config::tr(key)));
    }

    project_ = Project::Project::getInstance();
    player_ = Audio::AudioPlayer::getInstance();
    midiService_ = Midi::MidiController::getInstance();
    if (project_ != nullptr) {
        project_->addListener(this);
        project_->getProjectData().addListener(this);
        project_->getProjectState().addListener(this);
        project_->addCueListListener(this);
    }
    if (player_ != nullptr) {
        player_->addListener(&playerListener_);
    }
    if (midiService_ != nullptr) {
        midiService_->addListener(this);
    }
    refreshAll();

    addStateProvider(this, [this](nlohmann::json& state) {
        state["status"] = {{"next", Platform::toUtf8(next_->getText())},
                           {"cur", Platform::toUtf8(position_->getText())},
                           {"len", Platform::toUtf8(length_->getText())},
                           {"format", Platform::toUtf8(format_->getText())},
                           {"midi", Platform::toUtf8(midi_->getText())}};
    });
}

void StatusDisplay::onDestroy()
{
    removeStateProvider(this);
    // A service may have gone before the window; only the ones still there are told.
    if (project_ != nullptr && project_ == Project::Project::getInstance()) {
        project_->removeListener(this);
        project_->getProjectData().removeListener(this);
        project_->getProjectState().removeListener(this);
        project_->removeCueListListener(this);
    }
    if (player_ != nullptr && player_ == Audio::AudioPlayer::getInstance()) {
        player_->removeListener(&playerListener_);
    }
    if (midiService_ != nullptr && midiService_ == Midi::MidiController::getInstance()) {
        midiService_->removeListener(this);
    }
    project_ = nullptr;
    player_ = nullptr;
    midiService_ = nullptr;
}

void StatusDisplay::draw(GUI::RenderTarget& target)
{
    QPainter& p = target.painter();
    const QRectF rect(QPointF(0, 0), QSizeF(target.getSize()));
    // The band shows around the panel's rounded corners.
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect, Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF panel = rect.adjusted(4.5, 4.5, -4.5, -4.5);
    p.setPen(QPen(HeaderLook::kEdge.toQColor(), 1.0));
    p.setBrush(HeaderLook::kPanel.toQColor());
    p.drawRoundedRect(panel, 6, 6);
    // A divider between the controls and the timecodes.
    p.setPen(QPen(QColor(60, 44, 34), 1.0));
    p.drawLine(QPointF(kTimeLeft - 6.5, panel.top() + 8),
               QPointF(kTimeLeft - 6.5, panel.bottom() - 8));
}

void StatusDisplay::refreshAll()
{
    if (project_ != nullptr) {
        const Project::ProjectState& state = project_->getProjectState();
        format_->setFormat(project_->getProjectData().getFormat());
        position_->setValue(state.getPosition().getBCD());
        length_->setValue(state.getShowEnd().getBCD());
        nextCues_.clear();
        const Project::CueList& cues = project_->getProjectData().getCueList();
        for (const Project::Cue* cue = cues.first(); cue != cues.end();
             cue = static_cast<const Project::CueList::CueItem*>(cue)->getNext()) {
            if (cue->getState() == Project::CUE_NEXT) {
                nextCues_.insert(cue);
            }
        }
        refreshNextCue();
        refreshTransport();
    }
    if (midiService_ != nullptr) {
        midi_->setMode(midiService_->getMode());
    }
}

void StatusDisplay::refreshNextCue()
{
    nextDirty_ = false;
    const Project::Cue* earliest = nullptr;
    for (const Project::Cue* cue : nextCues_) {
        if (earliest == nullptr || cue->getTimecode().compare(earliest->getTimecode()) < 0) {
            earliest = cue;
        }
    }
    next_->setValue(earliest != nullptr
                        ? static_cast<std::int64_t>(earliest->getTimecode().getBCD())
                        : GUI::D2DSMPTEDisplay::kEmpty);
}

void StatusDisplay::refreshTransport()
{
    if (project_ == nullptr) {
        return;
    }
    const Project::ProjectState& state = project_->getProjectState();
    const bool recording = state.isRecording();
    play_->setLook(!recording && !state.isStopped());
    record_->setLook(recording);
}

void StatusDisplay::fileNameChanged(const std::wstring& /*fileName*/)
{
    refreshAll();
}

void StatusDisplay::projectUpdated()
{
    // The cue states change inside operations: the next cue is found once per operation.
    if (nextDirty_) {
        refreshNextCue();
    }
}

void StatusDisplay::formatChanged(int format)
{
    format_->setFormat(format);
}

void StatusDisplay::onShowEndChanged(const SMPTE& showEnd)
{
    length_->setValue(showEnd.getBCD());
}

void StatusDisplay::onPositionChanged(const SMPTE& position)
{
    position_->setValue(position.getBCD());
}

void StatusDisplay::onModeChanged()
{
    refreshTransport();
}

void StatusDisplay::trackCue(Project::Cue* cue)
{
    const bool isNext = cue->getState() == Project::CUE_NEXT;
    const bool known = nextCues_.count(cue) != 0;
    if (isNext && !known) {
        nextCues_.insert(cue);
        nextDirty_ = true;
    } else if (!isNext && known) {
        nextCues_.erase(cue);
        nextDirty_ = true;
    }
}

void StatusDisplay::cueAdded(Project::Cue* cue)
{
    trackCue(cue);
}

void StatusDisplay::cueRemoved(Project::Cue* cue)
{
    if (nextCues_.erase(cue) != 0) {
        nextDirty_ = true;
    }
}

void StatusDisplay::cueStateChanged(Project::Cue* cue)
{
    trackCue(cue);
}

void StatusDisplay::cueTimecodeChanged(Project::Cue* cue)
{
    if (nextCues_.count(cue) != 0) {
        nextDirty_ = true;
    }
}

void StatusDisplay::levelsReported(int left, int right)
{
    meter_->setLevels(left, right);
}

void StatusDisplay::playerStateChanged()
{
    // A player that stopped reports no more levels: the meter falls silent with it.
    if (player_ != nullptr && player_->getState() != Audio::AudioPlayer::STATE_PLAYING) {
        meter_->setLevels(0, 0);
    }
    refreshTransport();
}

void StatusDisplay::onMidiModeChanged(Midi::MidiController::Mode mode)
{
    midi_->setMode(mode);
}

}  // namespace GUIMain
