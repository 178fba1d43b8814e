#include "Project/ProjectState.h"

#include <cmath>
#include <memory>

#include "Project/CueStatePreviewUpdate.h"
#include "Project/IShowAudio.h"
#include "Project/IShowController.h"
#include "Project/ITimecodeOut.h"
#include "Project/Project.h"

namespace Project {

namespace {

bool sameLabel(const SMPTE& a, const SMPTE& b)
{
    return a.getFormat() == b.getFormat() && a.getHours() == b.getHours() &&
           a.getMinutes() == b.getMinutes() && a.getSeconds() == b.getSeconds() &&
           a.getFrames() == b.getFrames();
}

// The label in `format` of the same instant.
SMPTE inFormat(const SMPTE& time, int format)
{
    if (time.getFormat() == format) {
        return time;
    }
    SMPTE converted(format);
    converted.setMilliseconds(time.getMilliseconds());
    return converted;
}

}  // namespace

ProjectState::ProjectState(Project& project) : project_(project) {}

ProjectState::~ProjectState()
{
    detach();
}

void ProjectState::attach()
{
    if (!attached_) {
        project_.addCueListListener(this);
        attached_ = true;
        preview_.invalidate();
    }
}

void ProjectState::detach()
{
    if (attached_) {
        project_.removeCueListListener(this);
        attached_ = false;
    }
}

int ProjectState::format() const
{
    return project_.getProjectData().getFormat();
}

bool ProjectState::takePreviewDirty()
{
    const bool dirty = previewDirty_;
    previewDirty_ = false;
    return dirty;
}

bool ProjectState::isStopped() const
{
    switch (clockMode_) {
        case CLOCK_AUDIO: return audio_ == nullptr || audio_->isStopped();
        case CLOCK_CONTROLLER:
            return controller_ != nullptr &&
                   (controller_->getStatus() & IShowController::STATUS_STOPPED) != 0;
        default: return false;
    }
}

bool ProjectState::isRecording() const
{
    return !showMode_ && clockMode_ == CLOCK_AUDIO && audio_ != nullptr && audio_->isRecording();
}

int ProjectState::getShowStatus() const
{
    return showMode_ && controller_ != nullptr ? controller_->getStatus() : 0;
}

bool ProjectState::isPyroArmed() const
{
    return (getShowStatus() & IShowController::STATUS_PYRO_ARMED) != 0;
}

int ProjectState::getPyroState() const
{
    return isPyroArmed() ? SAFETY_ARMED : SAFETY_SAFE;
}

int ProjectState::getDmxState() const
{
    return (getShowStatus() & IShowController::STATUS_DMX_ARMED) != 0 ? SAFETY_ARMED : SAFETY_SAFE;
}

int ProjectState::getDeadmanState() const
{
    const int status = getShowStatus();
    if ((status & IShowController::STATUS_DEADMAN_HELD) == 0) {
        return SAFETY_SAFE;
    }
    return (status & IShowController::STATUS_DEADMAN_OVERRIDDEN) != 0 ? SAFETY_OVERRIDDEN
                                                                      : SAFETY_HELD;
}

const char* ProjectState::pyroStateKey(int state)
{
    return state == SAFETY_ARMED ? "SIDEBAR.SHOW_MODE.PYRO_STATE.ARMED"
                                 : "SIDEBAR.SHOW_MODE.PYRO_STATE.SAFE";
}

const char* ProjectState::dmxStateKey(int state)
{
    return state == SAFETY_ARMED ? "SIDEBAR.SHOW_MODE.DMX_STATE.ARMED"
                                 : "SIDEBAR.SHOW_MODE.DMX_STATE.SAFE";
}

const char* ProjectState::deadmanStateKey(int state)
{
    switch (state) {
        case SAFETY_HELD: return "SIDEBAR.SHOW_MODE.DEADMAN_STATE.HELD";
        case SAFETY_OVERRIDDEN: return "SIDEBAR.SHOW_MODE.DEADMAN_STATE.OVERRIDDEN";
        default: return "SIDEBAR.SHOW_MODE.DEADMAN_STATE.SAFE";
    }
}

void ProjectState::getClockStartPosition(SMPTE& out) const
{
    out = getClockStartPosition();
}

SMPTE ProjectState::getClockStartPosition() const
{
    if (clockMode_ == CLOCK_AUDIO && audio_ != nullptr) {
        return audio_->getPosition(format());
    }
    return SMPTE(format());
}

void ProjectState::setClockMode(int mode)
{
    if (mode == clockMode_) {
        return;
    }
    stop();
    clockMode_ = mode;
    listeners_.notify(&Listener::onModeChanged);
}

void ProjectState::enterShowMode(int mode)
{
    if (showMode_) {
        return;
    }
    stop();
    setClockMode(mode);
    // Still outside show mode: this refreshes the preview at the clock's start.
    setPosition(getClockStartPosition());
    showMode_ = true;
    listeners_.notify(&Listener::onModeChanged);
}

void ProjectState::exitShowMode()
{
    if (!showMode_) {
        return;
    }
    setClockMode(CLOCK_AUDIO);
    showMode_ = false;
    preview_.invalidate();
    updateCueStatePreview();
    listeners_.notify(&Listener::onModeChanged);
}

void ProjectState::sendFullFrameIfOpen(const SMPTE& time)
{
    if (timecodeOut_ != nullptr && timecodeOut_->isOutputOpen()) {
        timecodeOut_->sendFullFrame(time);
    }
}

bool ProjectState::play()
{
    recordRequest_ = false;
    switch (clockMode_) {
        case CLOCK_AUDIO:
            if (audio_ != nullptr) {
                audio_->play();
            }
            if (timecodeOut_ != nullptr) {
                // 25 fps runs on quarter frames; the other rates send a full frame per change.
                if (format() == SMPTE::SMPTE_25) {
                    timecodeOut_->setFullFrameMode(false);
                    timecodeOut_->startQuarterFrames();
                } else {
                    timecodeOut_->setFullFrameMode(true);
                }
            }
            return true;
        case CLOCK_CONTROLLER:
            if (controller_ != nullptr && controller_->hasWorker()) {
                controller_->transport(IShowController::TRANSPORT_PLAY);
            }
            return true;
        default: return false;
    }
}

bool ProjectState::pause()
{
    recordRequest_ = false;
    switch (clockMode_) {
        case CLOCK_AUDIO:
            if (audio_ != nullptr && !audio_->isStopped()) {
                audio_->pause();
            }
            sendFullFrameIfOpen(getClockStartPosition());
            if (timecodeOut_ != nullptr) {
                timecodeOut_->stopQuarterFrames();
            }
            return true;
        case CLOCK_CONTROLLER:
            if (controller_ != nullptr && controller_->hasWorker()) {
                controller_->transport(IShowController::TRANSPORT_PAUSE);
            }
            return true;
        default: return false;
    }
}

bool ProjectState::stop()
{
    recordRequest_ = false;
    switch (clockMode_) {
        case CLOCK_AUDIO:
            if (audio_ != nullptr) {
                audio_->stop();
            }
            sendFullFrameIfOpen(getClockStartPosition());
            if (timecodeOut_ != nullptr) {
                timecodeOut_->stopQuarterFrames();
            }
            return true;
        case CLOCK_CONTROLLER:
            if (controller_ != nullptr && controller_->hasWorker()) {
                controller_->transport(IShowController::TRANSPORT_STOP);
            }
            return true;
        default: return false;
    }
}

bool ProjectState::locate(const SMPTE& time)
{
    sendFullFrameIfOpen(time);
    if (clockMode_ == CLOCK_AUDIO) {
        if (showMode_ && controller_ != nullptr && controller_->hasWorker()) {
            controller_->locate(time);
        }
        if (audio_ != nullptr) {
            audio_->locate(time);
        }
        return true;
    }
    if (controller_ != nullptr && controller_->hasWorker()) {
        controller_->locate(time);
    }
    return true;
}

void ProjectState::setPosition(const SMPTE& position)
{
    if (sameLabel(position, position_)) {
        return;
    }
    position_ = position;
    if (!showMode_) {
        previewDirty_ = true;
    }
    if (timecodeOut_ != nullptr && timecodeOut_->isFullFrameMode() &&
        timecodeOut_->isOutputOpen()) {
        timecodeOut_->sendFullFrame(position_);
    }
    listeners_.notify(&Listener::onPositionChanged, position_);
    if (takePreviewDirty()) {
        updateCueStatePreview();
    }
}

void ProjectState::updateShowEnd()
{
    const int fmt = format();
    const CueList& cues = project_.getProjectData().getCueList();
    SMPTE end = cues.getCount() > 0 ? inFormat(cues.last()->getTimecode(), fmt) : SMPTE(fmt);
    if (audio_ != nullptr && audio_->isLoaded()) {
        const SMPTE length = inFormat(audio_->getLength(fmt), fmt);
        if (length.compare(end) > 0) {
            end = length;
        }
    }
    if (!sameLabel(end, showEnd_)) {
        showEnd_ = end;
        listeners_.notify(&Listener::onShowEndChanged, showEnd_);
    }
}

void ProjectState::updateCueStatePreview()
{
    project_.submit(std::make_unique<CueStatePreviewUpdate>(
        position_.getFrameNo(), SMPTE::nominalFramesPerSecond(position_.getFormat()),
        attached_ ? &preview_ : nullptr));
}

int ProjectState::framesFromMilliseconds(double milliseconds, int format)
{
    const double frames =
        std::trunc(SMPTE::framesPerSecond(format) * (milliseconds / 1000.0) + 0.5);
    // A report outside one day (or not a number) is held at the nearest end of the day.
    const double last = SMPTE::framesPerDay(format) - 1;
    if (!(frames >= 0.0)) {
        return 0;
    }
    return static_cast<int>(frames > last ? last : frames);
}

void ProjectState::positionFromClock(double milliseconds)
{
    const int fmt = format();
    setPosition(SMPTE::fromFrameNo(fmt, framesFromMilliseconds(milliseconds, fmt)));
}

void ProjectState::onAudioTrackChanged()
{
    updateShowEnd();
}

void ProjectState::onAudioPositionChanged(double milliseconds)
{
    if (clockMode_ == CLOCK_AUDIO) {
        positionFromClock(milliseconds);
    }
}

void ProjectState::onAudioStateChanged()
{
    if (clockMode_ == CLOCK_AUDIO) {
        listeners_.notify(&Listener::onModeChanged);
    }
}

void ProjectState::onControllerTimecode(double milliseconds)
{
    if (clockMode_ == CLOCK_CONTROLLER || clockMode_ == CLOCK_MANUAL) {
        positionFromClock(milliseconds);
    }
}

void ProjectState::onControllerStatusChanged(int /*status*/)
{
    if (showMode_) {
        listeners_.notify(&Listener::onModeChanged);
    }
}

void ProjectState::markPreviewDirty()
{
    preview_.invalidate();
    if (!showMode_) {
        previewDirty_ = true;
    }
}

void ProjectState::cueTimecodeChanged(Cue* /*cue*/)
{
    // Any cue may have become the last one, or the last one may have moved before another:
    // the show end is cheap to recompute and notifies only on change.
    updateShowEnd();
    markPreviewDirty();
}

void ProjectState::cueAdded(Cue* cue)
{
    if (cue == project_.getProjectData().getCueList().last()) {
        updateShowEnd();
    }
    markPreviewDirty();
}

void ProjectState::cueRemoved(Cue* /*cue*/)
{
    updateShowEnd();
    markPreviewDirty();
}

void ProjectState::cuePrefireTimeChanged(Cue* /*cue*/)
{
    markPreviewDirty();
}

void ProjectState::cueDurationChanged(Cue* /*cue*/)
{
    markPreviewDirty();
}

void ProjectState::cuePyroTypeChanged(Cue* /*cue*/)
{
    markPreviewDirty();
}

void ProjectState::cueReminderTextChanged(Cue* /*cue*/)
{
    markPreviewDirty();
}

void ProjectState::cueGroupNameChanged(Cue* /*cue*/)
{
    markPreviewDirty();
}

void ProjectState::cueStateChanged(Cue* /*cue*/)
{
    // A state set by anyone but the preview itself (the show, a test) is not what the
    // preview last left: its next update sets every cue again.
    if (!preview_.isApplying()) {
        preview_.invalidate();
    }
}

}  // namespace Project
