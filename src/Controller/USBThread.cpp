#include "Controller/USBThread.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <poll.h>
#include <utility>

#include "Controller/CommandWords.h"
#include "Controller/ControllerMessages.h"
#include "Controller/FrameWriter.h"
#include "Platform/Log.h"
#include "Timecode/SMPTE.h"

namespace Controller {

namespace {

// Message codes of the link.
constexpr std::uint8_t kPing = 0x00;
constexpr std::uint8_t kPong = 0x01;
constexpr std::uint8_t kInfo = 0x02;
constexpr std::uint8_t kStart = 0x10;
constexpr std::uint8_t kStartReply = 0x11;
constexpr std::uint8_t kBlock = 0x12;
constexpr std::uint8_t kRoom = 0x13;
constexpr std::uint8_t kTrigger = 0x14;
constexpr std::uint8_t kProgress = 0x15;
constexpr std::uint8_t kExecute = 0x16;
constexpr std::uint8_t kCheckModule = 0x20;
constexpr std::uint8_t kArm = 0x22;
constexpr std::uint8_t kModuleReport = 0x23;
constexpr std::uint8_t kHello = 0x30;
constexpr std::uint8_t kStatusReport = 0x31;
constexpr std::uint8_t kShowControl = 0x40;
constexpr std::uint8_t kTimecodeReport = 0x41;
constexpr std::uint8_t kPyroLink = 0x50;

constexpr int kPingTimeoutMs = 100;
constexpr int kReplyTimeoutMs = 300;
constexpr int kDiscoveryWriteTimeoutMs = 100;
constexpr int kWriteTimeoutMs = 200;
// The start request (select group, resync) is repeated until the device replies, but not for
// ever: a device still silent after this long (ten tries of 300 ms) counts as lost. Without a
// limit the worker would stop serving messages and the front would hang on its next send.
constexpr int kStartGiveUpMs = 3000;
// A device that has sent nothing for this long has stopped answering: the link is lost. The
// worker pings a device that has been quiet for kKeepAliveMs, so a healthy one is always
// heard well within the limit.
constexpr int kSilenceMs = 2000;
constexpr int kKeepAliveMs = 500;
// Reports that cannot be true (a count beyond what was sent, a count going back, more room
// than the queue has) are ignored; this many within kImpossibleWindowMs end the link.
constexpr std::size_t kImpossibleLimit = 3;
constexpr int kImpossibleWindowMs = 10000;
constexpr std::uint8_t kClockStop = 0x84;
constexpr std::uint32_t kTickMs = 100;
constexpr std::uint32_t kTickTimer = 1;
constexpr std::size_t kBlockWords = 8;
constexpr std::size_t kReadChunk = 16;
constexpr std::uint64_t kDisarmChannel = 0x81;
// An audio resync moves the device back only when the position is more than this many frames
// before the fire time of a cue that was executed. A locate to where the audio just was (the
// MIDI slave locates while it follows, and the main thread's delay puts the audio a little
// ahead of the target) must not re-arm a cue that fired a moment ago; an operator who locates
// back goes back by seconds. Twice the slave's drift limit of three frames.
constexpr int kAudioBackToleranceFrames = 6;

const std::uint8_t kPongText[4] = {'p', 'o', 'n', 'g'};

// What a failing port still tries to get out before it closes: the device's own clock stopped
// (for a show on it), disarm, all DMX off, the device's queue emptied (the shutdown sequence
// without waiting for answers).
const std::vector<std::uint8_t>& lastWords(bool stopClock = false)
{
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> all = FrameWriter::build(kArm);
        std::vector<std::uint8_t> payload;
        FrameWriter::appendU32(payload, CommandWords::kDmxAllOff);
        const std::vector<std::uint8_t> allOff = FrameWriter::build(kExecute, payload);
        all.insert(all.end(), allOff.begin(), allOff.end());
        payload.clear();
        FrameWriter::appendU32(payload, 0);
        const std::vector<std::uint8_t> empty = FrameWriter::build(kStart, payload);
        all.insert(all.end(), empty.begin(), empty.end());
        return all;
    }();
    static const std::vector<std::uint8_t> withClockStop = [] {
        std::vector<std::uint8_t> all = FrameWriter::build(kShowControl, {kClockStop});
        all.insert(all.end(), bytes.begin(), bytes.end());
        return all;
    }();
    return stopClock ? withClockStop : bytes;
}

std::vector<std::uint8_t> u32Payload(std::uint32_t value)
{
    std::vector<std::uint8_t> payload;
    FrameWriter::appendU32(payload, value);
    return payload;
}

int clampToInt(std::uint32_t value)
{
    return static_cast<int>(std::min<std::uint32_t>(value, INT_MAX));
}

}  // namespace

USBThread::USBThread(Platform::WindowHandle front, const Platform::Clock& clock)
    : clock_(clock), front_(front)
{
}

USBThread::~USBThread() = default;

void USBThread::run(std::promise<Platform::WindowHandle>& ready)
{
    Platform::MessageQueue queue(clock_);
    const Platform::WindowHandle window = attach();
    ready.set_value(window);
    Platform::post(front_, WM_CTRL_WORKER_WINDOW, window.value());
    queue.run();
    // A quit that did not come through WM_USB_QUIT still leaves the device safe.
    if (port_.isOpen()) {
        shutdownSequence(show_ && show_->getShowMode() == SHOW_CLOCK_OUT);
        closePort();
    }
    show_.reset();
    window_.reset();
    queue_ = nullptr;
}

Platform::WindowHandle USBThread::attach()
{
    queue_ = Platform::MessageQueue::current();
    window_ = std::make_unique<Platform::MessageWindow>(
        [this](const Platform::Message& m) { return handle(m); });
    return window_->handle();
}

void USBThread::receive(const std::uint8_t* bytes, std::size_t size)
{
    received_.insert(received_.end(), bytes, bytes + size);
    parseReceived();
}

std::int64_t USBThread::handle(const Platform::Message& m)
{
    switch (m.code) {
        case WM_USB_QUIT:
            if (port_.isOpen()) {
                shutdownSequence(show_ && show_->getShowMode() == SHOW_CLOCK_OUT);
                closePort();
            }
            show_.reset();
            if (timerRunning_) {
                window_->killTimer(kTickTimer);
                timerRunning_ = false;
            }
            Platform::postQuit();
            return 0;
        case WM_USB_CONNECT:
            return m.lParam ? connect(*reinterpret_cast<const std::vector<std::string>*>(m.lParam))
                            : connect({});
        case WM_USB_DISCONNECT: return disconnect() ? 1 : 0;
        case WM_USB_GET_INFO: {
            std::uint8_t reply[6];
            const std::optional<std::size_t> size =
                request(kInfo, {}, reply, sizeof reply, kReplyTimeoutMs);
            if (!size || *size != sizeof reply) {
                return 0;
            }
            auto* info = reinterpret_cast<DeviceInfo*>(m.lParam);
            info->values[0] = reply[0];
            info->values[1] = reply[1];
            info->values[2] = reply[2] | reply[3] << 8;
            info->values[3] = reply[4] | reply[5] << 8;
            return 1;
        }
        case WM_USB_CHECK_MODULE: return checkModule(m.lParam);
        case WM_USB_LOAD:
            lookaheadMs_ = static_cast<int>(std::min<std::uint64_t>(m.wParam, INT_MAX));
            load(reinterpret_cast<CompiledProject*>(m.lParam));
            return 1;
        case WM_USB_TRANSPORT: transport(static_cast<int>(m.lParam)); return 0;
        case WM_USB_LOCATE: locate(static_cast<std::uint32_t>(m.lParam)); return 0;
        case WM_USB_AUDIO_TICK: audioTick(m.wParam, m.lParam); return 0;
        case WM_USB_AUDIO_RESYNC: audioResync(m.wParam, m.lParam); return 0;
        case WM_USB_RESET_STATES:
            if (show_) {
                resetStates();
            }
            return 0;
        case WM_USB_SELECT_GROUP:
            if (show_) {
                selectGroup(static_cast<int>(m.lParam));
            }
            return 0;
        case WM_USB_SET_PYRO_LINK:
            sendFrame(kPyroLink, {static_cast<std::uint8_t>(m.lParam)});
            return 0;
        case WM_USB_ARM: arm(m.wParam, reinterpret_cast<const std::uint8_t*>(m.lParam)); return 0;
        case WM_USB_EXECUTE:
            return executeWords(reinterpret_cast<const std::uint32_t*>(m.lParam), m.wParam) ? 1 : 0;
        case Platform::kMessageTimer:
            if (m.wParam == kTickTimer) {
                onTick();
            }
            return 0;
        default: return 0;
    }
}

// ---- port

std::int64_t USBThread::connect(const std::vector<std::string>& candidates)
{
    if (port_.isOpen()) {
        shutdownSequence(show_ && show_->getShowMode() == SHOW_CLOCK_OUT);
        closePort();
    }
    parser_.reset();
    received_.clear();
    parsed_ = 0;
    deviceTimecode_.reset();
    queueCapacity_.reset();
    impossibleAt_.clear();
    armRequested_ = false;
    // What the device reports of itself is unknown until it reports again; only the override
    // bit outlives a connection.
    status_ &= ~(STATUS_PYRO_ARMED | STATUS_DEADMAN_HELD | STATUS_DMX_ARMED);
    bool stillArmed = false;
    for (const std::string& path : candidates) {
        if (!port_.open(path)) {
            continue;
        }
        portReported_ = true;
        writeTimeoutMs_ = kDiscoveryWriteTimeoutMs;
        std::uint8_t reply[sizeof kPongText];
        const std::optional<std::size_t> size =
            request(kPing, {}, reply, sizeof reply, kPingTimeoutMs);
        if (!size || *size != sizeof kPongText ||
            std::memcmp(reply, kPongText, sizeof kPongText) != 0) {
            closePort();
            continue;
        }
        writeTimeoutMs_ = kWriteTimeoutMs;
        lastHeardAt_ = clock_.now();
        pingSentAt_ = lastHeardAt_;
        // Whatever an earlier run left in the device (armed, DMX on, words queued) goes before
        // anything is loaded: a run that was killed mid-show leaves it armed.
        shutdownSequence(false);
        // The greeting makes the device report its status.
        std::uint8_t flags[1] = {};
        if (const std::optional<std::size_t> size =
                request(kHello, {}, flags, sizeof flags, kReplyTimeoutMs)) {
            Frame status;
            status.code = kStatusReport;
            status.size = std::min(*size, sizeof flags);
            status.payload[0] = flags[0];
            onStatusReport(status);
        }
        if (port_.isOpen() && (status_ & STATUS_PYRO_ARMED) != 0) {
            // It still says it is armed: it will not be used.
            Platform::logLine(
                L"Controller: the device still reports itself armed after the "
                L"disarm; the connection is refused");
            stillArmed = true;
            sendFrame(kArm);
            closePort();
            break;
        }
        if (port_.isOpen()) {
            break;
        }
    }
    if (!port_.isOpen()) {
        checkPortLost();
        return stillArmed ? CONNECT_STILL_ARMED : CONNECT_FAILED;
    }
    watchedFd_ = port_.fd();
    queue_->watchFd(watchedFd_, POLLIN, [this](short) { pump(); });
    Platform::post(front_, WM_CTRL_CONNECTED, 1);
    updateTimer();
    return CONNECT_OK;
}

bool USBThread::disconnect()
{
    const bool stopClock = show_ && show_->getShowMode() == SHOW_CLOCK_OUT;
    unloadShow();
    bool confirmed = false;
    if (port_.isOpen()) {
        confirmed = shutdownSequence(stopClock);
    }
    closePort();
    return confirmed;
}

bool USBThread::shutdownSequence(bool stopClock)
{
    // Busy for the whole sequence: a timecode report handled while a request waits must not
    // start a resync that streams words between the disarm and the emptied queue, and the
    // block sender waits too.
    const bool wasBusy = busy_;
    busy_ = true;
    // A show on the device's own clock is stopped first, so its queue goes no further.
    if (stopClock) {
        sendFrame(kShowControl, {kClockStop});
    }
    // Disarm next: whatever follows may fail, and the link may go down any moment.
    armRequested_ = false;
    sendFrame(kArm);
    // The device handles frames in order: an answer to a request sent after the disarm
    // shows that the disarm arrived, and a status report it caused came before that answer.
    bool acknowledged = false;
    const std::uint32_t allOff = CommandWords::kDmxAllOff;
    if (request(kExecute, u32Payload(allOff), nullptr, 0, kReplyTimeoutMs)) {
        postEmulate(allOff);
        acknowledged = true;
    }
    // An empty start empties the device's queue; the room it then reports is its queue size.
    std::uint8_t reply[2] = {};
    if (const std::optional<std::size_t> size =
            request(kStart, u32Payload(0), reply, sizeof reply, kReplyTimeoutMs)) {
        acknowledged = true;
        const std::uint32_t room = static_cast<std::uint32_t>(reply[0] | reply[1] << 8);
        if (*size >= 2 && room > 0) {
            queueCapacity_ = room;
        }
    }
    busy_ = wasBusy;
    return acknowledged && port_.isOpen() && (status_ & STATUS_PYRO_ARMED) == 0;
}

void USBThread::closePort()
{
    port_.close();
    checkPortLost();
}

void USBThread::checkPortLost()
{
    if (port_.isOpen()) {
        return;
    }
    if (watchedFd_ >= 0) {
        queue_->unwatchFd(watchedFd_);
        watchedFd_ = -1;
    }
    blockInFlight_ = false;
    if (portReported_) {
        portReported_ = false;
        Platform::post(front_, WM_CTRL_CONNECTED, 0, closeFault_);
    }
    closeFault_ = LINK_CLOSED;
    updateTimer();
}

void USBThread::updateTimer()
{
    if (!window_) {
        return;
    }
    const bool wanted = port_.isOpen() || show_;
    if (wanted && !timerRunning_) {
        timerRunning_ = window_->setTimer(kTickTimer, kTickMs);
    } else if (!wanted && timerRunning_) {
        window_->killTimer(kTickTimer);
        timerRunning_ = false;
    }
}

std::int64_t USBThread::since(std::int64_t counter) const
{
    return (clock_.now() - counter) * 1000 / clock_.frequency();
}

void USBThread::superviseLink()
{
    if (!port_.isOpen()) {
        return;
    }
    const std::int64_t quiet = since(lastHeardAt_);
    if (quiet >= kSilenceMs) {
        Platform::logLine(L"Controller worker: the device has stopped answering");
        linkFault(LINK_SILENT);
        return;
    }
    // The device answers a ping with its pong; one ping per quiet spell of kKeepAliveMs.
    if (quiet >= kKeepAliveMs && since(pingSentAt_) >= kKeepAliveMs) {
        pingSentAt_ = clock_.now();
        sendFrame(kPing);
    }
}

void USBThread::linkFault(LinkFault fault)
{
    if (!port_.isOpen()) {
        return;
    }
    closeFault_ = fault;
    giveUpPort();
}

void USBThread::impossibleReport(const wchar_t* what)
{
    Platform::logLine(std::wstring(L"Controller worker: ignored a report that cannot be true (") +
                      what + L")");
    const std::int64_t now = clock_.now();
    impossibleAt_.push_back(now);
    while (since(impossibleAt_.front()) > kImpossibleWindowMs) {
        impossibleAt_.pop_front();
    }
    if (impossibleAt_.size() >= kImpossibleLimit) {
        Platform::logLine(L"Controller worker: the device keeps sending impossible reports");
        linkFault(LINK_IMPOSSIBLE);
    }
}

bool USBThread::isPossibleRoom(std::uint32_t room) const
{
    return !queueCapacity_ || room <= *queueCapacity_;
}

void USBThread::pump()
{
    std::uint8_t chunk[kReadChunk];
    long got;
    do {
        got = port_.read(chunk, sizeof chunk);
        if (got > 0) {
            received_.insert(received_.end(), chunk, chunk + got);
        }
    } while (got == static_cast<long>(kReadChunk));
    parseReceived();
    checkPortLost();
}

void USBThread::parseReceived()
{
    // Frame handlers may wait for replies and so parse further bytes themselves; the bytes
    // are kept here, not on the stack, so that every byte is parsed once and in order.
    while (parsed_ < received_.size()) {
        const std::uint8_t byte = received_[parsed_++];
        if (parser_.push(byte)) {
            const Frame frame = parser_.frame();
            onFrame(frame);
        }
    }
    received_.clear();
    parsed_ = 0;
}

void USBThread::onFrame(const Frame& frame)
{
    lastHeardAt_ = clock_.now();
    for (auto it = pending_.rbegin(); it != pending_.rend(); ++it) {
        Pending& p = **it;
        if (!p.done && p.code == frame.code) {
            p.done = true;
            p.size = frame.size;
            if (p.reply) {
                std::memcpy(p.reply, frame.payload.data(), std::min(p.capacity, frame.size));
            }
            return;
        }
    }
    onUnsolicited(frame);
}

void USBThread::onUnsolicited(const Frame& frame)
{
    switch (frame.code) {
        case kPing: sendFrame(kPong, {kPongText, kPongText + sizeof kPongText}); break;
        case kStartReply:
            if (!isPossibleRoom(frame.u16At(0))) {
                impossibleReport(L"room");
            } else if (!blockInFlight_) {
                sendNextBlock(frame.u16At(0));
            }
            break;
        case kRoom:
            if (!isPossibleRoom(frame.u16At(0))) {
                impossibleReport(L"room");
            } else {
                sendNextBlock(frame.u16At(0));
            }
            break;
        case kProgress: onProgress(frame); break;
        case kModuleReport:
            if (frame.size >= 1) {
                moduleReport(frame.payload[0],
                             frame.size == 3 ? static_cast<int>(frame.u16At(1)) : -1);
            }
            break;
        case kStatusReport: onStatusReport(frame); break;
        case kTimecodeReport: onTimecodeReport(frame); break;
        default: break;
    }
}

// ---- frames

bool USBThread::sendFrame(std::uint8_t code, const std::vector<std::uint8_t>& payload)
{
    if (!port_.isOpen()) {
        return false;
    }
    const std::vector<std::uint8_t> frame = FrameWriter::build(code, payload);
    const bool sent = port_.write(frame.data(), frame.size(), writeTimeoutMs_, &lastWords());
    if (!sent) {
        checkPortLost();
    }
    return sent;
}

bool USBThread::sendWords(std::uint8_t code, const std::uint32_t* words, std::size_t count)
{
    std::vector<std::uint8_t> payload;
    payload.reserve(4 * count);
    for (std::size_t i = 0; i < count; ++i) {
        // Nothing fires without a compiled show.
        if (CommandWords::kind(words[i]) == CommandWords::kFire && !show_) {
            return false;
        }
        FrameWriter::appendU32(payload, words[i]);
    }
    return sendFrame(code, payload);
}

std::optional<std::size_t> USBThread::request(std::uint8_t code,
                                              const std::vector<std::uint8_t>& payload,
                                              std::uint8_t* reply, std::size_t capacity,
                                              int timeoutMs)
{
    if (!sendFrame(code, payload)) {
        return std::nullopt;
    }
    Pending pending{static_cast<std::uint8_t>(code + 1), reply, capacity};
    pending_.push_back(&pending);
    const std::int64_t deadline = clock_.now() + clock_.fromMilliseconds(timeoutMs);
    // Bytes already read (behind the frame being handled) come first.
    parseReceived();
    while (!pending.done && port_.isOpen()) {
        const Platform::SerialPort::WaitResult waited = port_.waitReadable(deadline, clock_);
        if (waited == Platform::SerialPort::WaitResult::Closed) {
            break;
        }
        pump();
        if (waited == Platform::SerialPort::WaitResult::TimedOut) {
            break;
        }
    }
    pending_.erase(std::find(pending_.begin(), pending_.end(), &pending));
    checkPortLost();
    if (!pending.done) {
        return std::nullopt;
    }
    return pending.size;
}

bool USBThread::executeWords(const std::uint32_t* words, std::size_t count)
{
    if (count == 0) {
        return false;
    }
    std::vector<std::uint8_t> payload;
    for (std::size_t i = 0; i < count; ++i) {
        if (CommandWords::kind(words[i]) == CommandWords::kFire && !show_) {
            return false;  // nothing fires without a compiled show
        }
        FrameWriter::appendU32(payload, words[i]);
    }
    if (!request(kExecute, payload, nullptr, 0, kReplyTimeoutMs)) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if ((words[i] & 0x80000000u) != 0) {
            postEmulate(words[i]);
        }
    }
    return true;
}

// ---- show

void USBThread::load(CompiledProject* show)
{
    // The audio player's place stays known from one audio-clock show to the next; for any
    // other show its ticks stop, and what was known goes stale.
    const bool audioToAudio = show && show->getShowMode() == SHOW_AUDIO_CLOCK && show_ &&
                              show_->getShowMode() == SHOW_AUDIO_CLOCK;
    const auto audioPosition = audioToAudio ? audioPosition_ : std::nullopt;
    unloadShow();
    audioPosition_ = audioPosition;
    if (!show) {
        const bool wasBusy = busy_;
        busy_ = true;
        request(kStart, u32Payload(0), nullptr, 0, kReplyTimeoutMs);
        busy_ = wasBusy;
        return;
    }
    show_.reset(show);
    updateTimer();
    blockInFlight_ = false;
    knownRoom_ = 0;
    lastTrigger_ = {};
    postOperation(show_->resetAll(clock_.now()));
    status_ &= ~(STATUS_PLAYING | STATUS_PAUSED | STATUS_STOPPED);
    const int mode = show_->getShowMode();
    std::uint8_t a = 0xA0;
    std::uint8_t b = static_cast<std::uint8_t>(show_->getFormat() << 6);
    if (mode == SHOW_CLOCK_OUT) {
        a = 0xA4;
        b |= 0x3C;
    } else if (mode == SHOW_CLOCK_IN) {
        b |= 0x20;
    }
    sendFrame(kShowControl, {a, b});
    if (mode == SHOW_CLOCK_OUT) {
        postTimecode(0);
        resync(0);
        status_ |= STATUS_STOPPED;
    }
    postStatus();
    selectGroup(0, true);
}

void USBThread::unloadShow()
{
    show_.reset();
    audioPosition_.reset();
    audioPlaceUnknown_ = false;
    unansweredTriggers_ = 0;
    updateTimer();
}

void USBThread::sendNextBlock(std::uint32_t room)
{
    blockInFlight_ = false;
    knownRoom_ = room;
    if (busy_ || !show_ || room == 0) {
        return;
    }
    CompiledProject::Group* group = show_->getCurrentGroup();
    if (!group) {
        return;
    }
    const int limit = std::min<int>(static_cast<int>(std::min<std::uint32_t>(room, kBlockWords)),
                                    streamLimit(*group) - group->sentCount);
    if (limit <= 0) {
        return;  // the next clock report sends more
    }
    std::uint32_t words[kBlockWords];
    const int count = group->takeWords(words, limit);
    if (count > 0) {
        blockInFlight_ = true;
        knownRoom_ -= static_cast<std::uint32_t>(count);
        ++blocksSent_;
        blockSentAt_ = clock_.now();
        sendWords(kBlock, words, static_cast<std::size_t>(count));
    }
}

int USBThread::streamLimit(const CompiledProject::Group& group) const
{
    const int mode = show_->getShowMode();
    if (lookaheadMs_ <= 0 || (mode != SHOW_CLOCK_OUT && mode != SHOW_CLOCK_IN)) {
        // The audio clock and manual fire hold the device at every slot until the PC's
        // trigger or the operator's step: what it holds cannot run on by itself.
        return group.size();
    }
    int clock = 0;  // before the device's first report its clock stands at the start
    if (deviceTimecode_ && SMPTE::isValidBCD(*deviceTimecode_, show_->getFormat())) {
        SMPTE time(show_->getFormat());
        time.setBCD(*deviceTimecode_);
        clock = time.getFrameNo();
    }
    const double ahead = SMPTE::framesPerSecond(show_->getFormat()) * lookaheadMs_ / 1000.0;
    const double horizon =
        std::min(static_cast<double>(clock) + std::ceil(ahead), static_cast<double>(INT_MAX));
    return group.streamEnd(static_cast<int>(horizon));
}

void USBThread::onProgress(const Frame& frame, bool roomIsCurrent)
{
    const std::uint32_t count = frame.u32At(0);
    const std::uint32_t room = frame.u16At(5);
    CompiledProject::Group* group = show_ ? show_->getCurrentGroup() : nullptr;
    if (startingAt_ && count == *startingAt_) {
        return;  // already at the place a start request names: its reply settles it
    }
    // A device cannot have executed words it was not sent, nor go back without a start
    // request, nor have more room than its queue: such a report is a damaged or lying one,
    // and applying it would mark cues done that never fired, or overrun the queue.
    if (group && (count > static_cast<std::uint32_t>(group->sentCount) ||
                  count < static_cast<std::uint32_t>(group->executedCount))) {
        impossibleReport(L"executed count");
        return;
    }
    if (!isPossibleRoom(room)) {
        impossibleReport(L"room");
        return;
    }
    if (group) {
        unansweredTriggers_ = 0;  // the device's place is known again
        const std::uint32_t flags = frame.byteAt(4);
        std::vector<std::uint32_t> emulate;
        group->progress(clampToInt(count), clock_.now(), (flags & 0x01) != 0, (flags & 0x02) != 0,
                        &emulate);
        for (std::uint32_t word : emulate) {
            postEmulate(word);
        }
    }
    if (roomIsCurrent) {
        blockInFlight_ = false;
    }
    if (!blockInFlight_) {
        sendNextBlock(room);
    }
}

void USBThread::markOutcomeUnknown(int from, int to)
{
    CompiledProject::Group* group = show_ ? show_->getCurrentGroup() : nullptr;
    if (group && from < to) {
        show_->markOutcomeUnknown(*group, from, to, clock_.now());
    }
}

void USBThread::selectGroup(int key, bool atClock)
{
    busy_ = true;
    CompiledProject::Group* group = show_->findGroup(key);
    int start = group ? group->executedCount : 0;
    if (group && atClock) {
        // One start at the clock's place: a start at the group's beginning would run every
        // slot already passed at once.
        const std::optional<int> frames = clockFrames();
        if (frames) {
            start = group->findIndexForTime(*frames, true);
        }
        audioPlaceUnknown_ = show_->getShowMode() == SHOW_AUDIO_CLOCK && !frames;
    }
    std::uint8_t reply[4] = {};
    const std::optional<std::size_t> size =
        requestStart(static_cast<std::uint32_t>(start), reply, sizeof reply);
    if (group) {
        // Always: a progress report handled while the request waited may have moved the
        // executed count to `start` without the sent count, which a reset left at 0.
        group->seek(start, clock_.now());
    }
    show_->selectGroup(key, clock_.now());
    unansweredTriggers_ = 0;
    busy_ = false;
    afterStart(size, reply);
    Platform::post(front_, WM_CTRL_GROUP, 0, key);
    followTimecode();
}

void USBThread::resetStates()
{
    postOperation(show_->resetAll(clock_.now()));
    selectGroup(0, true);
}

std::optional<int> USBThread::clockFrames() const
{
    switch (show_->getShowMode()) {
        case SHOW_AUDIO_CLOCK:
            return audioPosition_ ? audioFrames(audioPosition_->first, audioPosition_->second)
                                  : std::nullopt;
        case SHOW_CLOCK_IN: {
            if (!deviceTimecode_ || !SMPTE::isValidBCD(*deviceTimecode_, show_->getFormat())) {
                return std::nullopt;
            }
            SMPTE time(show_->getFormat());
            time.setBCD(*deviceTimecode_);
            return time.getFrameNo();
        }
        default: return std::nullopt;  // the controller's own clock and manual fire: the start
    }
}

void USBThread::followTimecode()
{
    if (busy_ || followingTimecode_) {
        return;  // the start request, or the loop below, picks the report up
    }
    followingTimecode_ = true;
    while (timecodeToFollow_) {
        timecodeToFollow_ = false;
        if (!show_ || show_->getShowMode() != SHOW_CLOCK_IN || !show_->getCurrentGroup()) {
            continue;
        }
        if (const std::optional<int> frames = clockFrames()) {
            if (show_->getCurrentGroup()->needsResync(*frames)) {
                resync(*frames);
            }
        }
    }
    followingTimecode_ = false;
}

void USBThread::resync(int frames)
{
    CompiledProject::Group* group = show_ ? show_->getCurrentGroup() : nullptr;
    const int target =
        group ? group->findIndexForTime(frames, show_->getShowMode() != SHOW_MANUAL_FIRE) : 0;
    const int current = group ? group->executedCount : 0;
    if (target == current) {
        return;
    }
    placeAt(target);
}

void USBThread::placeAt(int target)
{
    CompiledProject::Group* group = show_ ? show_->getCurrentGroup() : nullptr;
    if (!group) {
        return;
    }
    busy_ = true;
    std::uint8_t reply[4] = {};
    const std::optional<std::size_t> size =
        requestStart(static_cast<std::uint32_t>(target), reply, sizeof reply);
    group->seek(target, clock_.now());
    unansweredTriggers_ = 0;
    busy_ = false;
    afterStart(size, reply);
    followTimecode();
}

void USBThread::afterStart(const std::optional<std::size_t>& size, const std::uint8_t* reply)
{
    if (!size) {
        return;
    }
    // The start emptied the device's queue after it had taken every block sent before (the
    // block sender waited meanwhile): the reply's room is current, whether or not a room
    // report for the last block came.
    blockInFlight_ = false;
    sendNextBlock(static_cast<std::uint32_t>(reply[0] | reply[1] << 8));
}

std::optional<std::size_t> USBThread::requestStart(std::uint32_t index, std::uint8_t* reply,
                                                   std::size_t capacity)
{
    // While it waits, a report of the device already at `index` is no fault.
    const std::optional<std::uint32_t> outerStart = startingAt_;
    startingAt_ = index;
    const std::int64_t giveUp = clock_.now() + clock_.fromMilliseconds(kStartGiveUpMs);
    // A closed port fails every send at once and ends the repetition.
    while (port_.isOpen()) {
        if (const std::optional<std::size_t> size =
                request(kStart, u32Payload(index), reply, capacity, kReplyTimeoutMs)) {
            const std::uint32_t room = static_cast<std::uint32_t>(reply[0] | reply[1] << 8);
            if (*size >= 2 && room > 0) {
                queueCapacity_ = room;  // the queue was emptied: its room is its size
            }
            startingAt_ = outerStart;
            return size;
        }
        // Silent, or deaf to this request while it talks of other things.
        if (port_.isOpen() && (clock_.now() >= giveUp || since(lastHeardAt_) >= kSilenceMs)) {
            Platform::logLine(L"Controller worker: the device does not answer the start request");
            linkFault(LINK_SILENT);
        }
    }
    startingAt_ = outerStart;
    return std::nullopt;
}

void USBThread::giveUpPort()
{
    // The device may still listen though it does not answer: the frames that leave it safe
    // go out once, without waiting for replies. The loaded show stays loaded; nothing more
    // is sent until a new connection.
    const std::vector<std::uint8_t>& words =
        lastWords(show_ && show_->getShowMode() == SHOW_CLOCK_OUT);
    port_.write(words.data(), words.size(), writeTimeoutMs_);
    closePort();
}

void USBThread::onTick()
{
    superviseLink();
    if (!show_) {
        return;
    }
    // A device that reports no room after a block: once its reply time has passed, the room
    // it is known to have at least is used.
    if (blockInFlight_ && port_.isOpen() && since(blockSentAt_) >= kReplyTimeoutMs) {
        sendNextBlock(knownRoom_);
    }
    if (std::unique_ptr<OperationCueStateUpdate> update = show_->collectStates(clock_.now())) {
        postOperation(std::move(update));
    }
    if (show_->getShowMode() == SHOW_MANUAL_FIRE) {
        postTimecode(show_->getStepTime().getBCD());
    }
}

void USBThread::transport(int what)
{
    if (!show_ || show_->getShowMode() != SHOW_CLOCK_OUT) {
        return;
    }
    if (what == 1 && (status_ & STATUS_PAUSED) != 0) {
        what = 0;  // pause while paused resumes
    }
    switch (what) {
        case 0:
            sendFrame(kShowControl, {0x01});
            status_ = (status_ & ~(STATUS_PAUSED | STATUS_STOPPED)) | STATUS_PLAYING;
            break;
        case 1:
            sendFrame(kShowControl, {0x80});
            status_ = (status_ & ~(STATUS_PLAYING | STATUS_STOPPED)) | STATUS_PAUSED;
            break;
        case 2:
            sendFrame(kShowControl, {0x84});
            postTimecode(0);
            resync(0);
            status_ = (status_ & ~(STATUS_PLAYING | STATUS_PAUSED)) | STATUS_STOPPED;
            break;
        default: return;
    }
    postStatus();
}

void USBThread::locate(std::uint32_t bcd)
{
    if (!show_ || show_->getShowMode() != SHOW_CLOCK_OUT ||
        !SMPTE::isValidBCD(bcd, show_->getFormat())) {
        return;
    }
    SMPTE time(show_->getFormat());
    time.setBCD(bcd);
    resync(time.getFrameNo());
    sendFrame(kShowControl, {0x04, 0x00, static_cast<std::uint8_t>(bcd >> 24),
                             static_cast<std::uint8_t>(bcd >> 16),
                             static_cast<std::uint8_t>(bcd >> 8), static_cast<std::uint8_t>(bcd)});
    postTimecode(bcd);
}

std::optional<int> USBThread::audioFrames(std::uint64_t rate, std::int64_t samples) const
{
    if (rate == 0 || !show_) {
        return std::nullopt;
    }
    const double seconds =
        static_cast<double>(static_cast<std::uint64_t>(samples)) / static_cast<double>(rate);
    const double frames = std::trunc(SMPTE::framesPerSecond(show_->getFormat()) * seconds + 0.5);
    return static_cast<int>(std::min(frames, static_cast<double>(INT_MAX)));
}

void USBThread::audioTick(std::uint64_t rate, std::int64_t samples)
{
    // Positions move only a show that follows the audio: a show compiled for another mode
    // would be started somewhere inside a step, or at a place its own clock does not have.
    if (!show_ || show_->getShowMode() != SHOW_AUDIO_CLOCK || rate == 0) {
        return;
    }
    audioPosition_ = {rate, samples};
    if (audioPlaceUnknown_ && show_->getCurrentGroup()) {
        // The device was placed at the start before the audio's place was known.
        audioPlaceUnknown_ = false;
        if (const std::optional<int> frames = audioFrames(rate, samples)) {
            audioSeek(*frames);
        }
    }
    CompiledProject::Group* group = show_->getCurrentGroup();
    const int trigger = group ? group->nextTriggerTime() : -1;
    if (trigger == -1) {
        return;
    }
    // The trigger goes out once the position has reached the cue's frame, not from the
    // nearest frame on: that would fire every cue half a frame (up to 21 ms) early.
    const double frames = SMPTE::framesPerSecond(show_->getFormat()) *
                          static_cast<double>(static_cast<std::uint64_t>(samples)) /
                          static_cast<double>(rate);
    if (frames < trigger) {
        return;
    }
    // A trigger whose reply did not come may have released its slot: the device may stand at
    // any of the next `unansweredTriggers_` trigger waits. Another trigger now could release
    // a slot early, and a late reply would be taken for its answer (replies carry no
    // sequence), leaving the count a slot behind the device. A progress report (the late
    // reply among them) says where the device stands and ends the wait. Once the furthest of
    // those slots is due, the device is placed there by a start request (its round trip
    // takes in any late reply first) and the next tick triggers it; the slots in between are
    // missed, which is safer than early. After the last slot nothing more is triggered.
    if (unansweredTriggers_ > 0 && group->executedCount == unansweredAt_) {
        const int furthest = group->triggerTimeAhead(unansweredTriggers_);
        const int from = group->executedCount;
        if (furthest == -1) {
            // The device may have run to the end: once the last cue's time has passed it is
            // placed there, and what it may have fired counts as unknown.
            const int last = group->lastFireTime();
            if (last == -1 || frames <= last) {
                return;
            }
            placeAt(group->size());
        } else if (frames < furthest) {
            return;
        } else {
            resync(frames);
        }
        unansweredTriggers_ = 0;
        // The slots passed over were perhaps fired by a trigger whose answer was lost, perhaps
        // not: their cues end skipped, with an unknown outcome, so the show can end.
        if (show_ && show_->getCurrentGroup() == group && group->executedCount > from) {
            markOutcomeUnknown(from, group->executedCount);
        }
        return;
    }
    const int at = group->executedCount;
    // A trigger can release only a wait the device was sent.
    if (at >= group->sentCount) {
        return;
    }
    // A trigger that did not move the device is not repeated before its reply time has
    // passed, unless words went out since: a device that answers at once must not be asked
    // a thousand times a second.
    if (lastTrigger_.index == at && lastTrigger_.blocks == blocksSent_ &&
        since(lastTrigger_.at) < kReplyTimeoutMs) {
        return;
    }
    lastTrigger_ = {clock_.now(), at, blocksSent_};
    const std::uint64_t blocksBefore = blocksSent_;
    std::uint8_t reply[7] = {};
    const std::optional<std::size_t> size =
        request(kTrigger, {}, reply, sizeof reply, kReplyTimeoutMs);
    if (!size) {
        // Unless something in the meantime placed the device again.
        if (port_.isOpen() && group->executedCount == at) {
            unansweredTriggers_ = unansweredAt_ == at ? unansweredTriggers_ + 1 : 1;
            unansweredAt_ = at;
        }
        return;
    }
    Frame progress;
    progress.code = kProgress;
    progress.size = std::min(*size, sizeof reply);
    std::copy(reply, reply + progress.size, progress.payload.begin());
    // The device handled the trigger after every block sent before it: unless another block
    // went out while the reply was awaited, its room is current.
    onProgress(progress, blocksSent_ == blocksBefore);
}

void USBThread::audioResync(std::uint64_t rate, std::int64_t samples)
{
    if (!show_ || show_->getShowMode() != SHOW_AUDIO_CLOCK || rate == 0) {
        return;
    }
    audioPosition_ = {rate, samples};
    audioPlaceUnknown_ = false;
    if (const std::optional<int> frames = audioFrames(rate, samples)) {
        audioSeek(*frames);
    }
}

void USBThread::audioSeek(int frames)
{
    const CompiledProject::Group* group = show_->getCurrentGroup();
    if (!group) {
        return;
    }
    // A resync to the place of a cue that has fired would seek back to its wait, and the next
    // tick would fire it again.
    if (group->findIndexForTime(frames, true) < group->executedCount &&
        !group->isBeforeExecuted(frames + kAudioBackToleranceFrames)) {
        return;
    }
    resync(frames);
}

std::int64_t USBThread::checkModule(std::int64_t module)
{
    std::vector<std::uint8_t> payload;
    FrameWriter::appendU16(payload, static_cast<std::uint32_t>(module));
    std::uint8_t reply[2] = {};
    const std::optional<std::size_t> size =
        request(kCheckModule, payload, reply, sizeof reply, kReplyTimeoutMs);
    if (!size) {
        return -2;
    }
    const int continuity = *size == 2 ? (reply[0] | reply[1] << 8) : -1;
    moduleReport(static_cast<int>(module & 0xFFFF), continuity);
    return continuity;
}

void USBThread::moduleReport(int module, int continuity)
{
    postOperation(
        std::make_unique<OperationCueStateUpdate>(CueStateMap{}, module * 16, continuity));
    Platform::post(front_, WM_CTRL_MODULE_REPORT, static_cast<std::uint64_t>(module), continuity);
}

void USBThread::onStatusReport(const Frame& frame)
{
    const std::uint32_t f = frame.byteAt(0);
    int status = status_ & ~(STATUS_PYRO_ARMED | STATUS_DEADMAN_HELD | STATUS_DMX_ARMED);
    if ((f & 0x01) != 0) {
        status |= STATUS_PYRO_ARMED;
    }
    if ((f & 0x0A) != 0) {
        status |= STATUS_DEADMAN_HELD;
    }
    if ((f & 0x08) != 0) {
        status |= STATUS_DEADMAN_OVERRIDDEN;  // never cleared again
    }
    if ((f & 0x10) != 0) {
        status |= STATUS_DMX_ARMED;
    }
    status_ = status;
    postStatus();
    // Armed though this run did not arm it (left armed by a run that died, or arming itself):
    // it is disarmed again at once.
    if ((status_ & STATUS_PYRO_ARMED) != 0 && !armRequested_ && port_.isOpen()) {
        Platform::logLine(
            L"Controller worker: the device reports itself armed unasked; "
            L"disarming it");
        sendFrame(kArm);
    }
}

void USBThread::onTimecodeReport(const Frame& frame)
{
    if (frame.size != 4 || frame.payload[0] == 0xFF) {
        return;
    }
    const std::uint32_t bcd = static_cast<std::uint32_t>(frame.payload[0]) << 24 |
                              frame.payload[1] << 16 | frame.payload[2] << 8 | frame.payload[3];
    postTimecode(bcd);
    deviceTimecode_ = bcd;
    // A report during a start request (it keeps handling frames while it waits) is followed
    // once that request is done: a nested start's reply would satisfy the outer request and
    // the outer seek, made for the older time, would run last.
    timecodeToFollow_ = true;
    followTimecode();
    // The clock moved on: words held back by the look-ahead may go now.
    if (!blockInFlight_ && knownRoom_ > 0) {
        sendNextBlock(knownRoom_);
    }
}

void USBThread::arm(std::uint64_t channel, const std::uint8_t* mask)
{
    if (channel == kDisarmChannel) {
        armRequested_ = false;
        sendFrame(kArm);
        return;
    }
    armRequested_ = true;
    std::vector<std::uint8_t> payload{static_cast<std::uint8_t>(channel)};
    if (mask) {
        payload.insert(payload.end(), mask, mask + 16);
    }
    sendFrame(kArm, payload);
}

// ---- to the front

void USBThread::postOperation(std::unique_ptr<Project::IOperation> operation)
{
    if (!operation) {
        return;
    }
    Project::IOperation* raw = operation.release();
    if (!Platform::post(front_, WM_CTRL_OPERATION, 0, reinterpret_cast<std::int64_t>(raw))) {
        delete raw;
        Platform::logLine(L"Controller worker: an operation could not reach the main thread");
    }
}

void USBThread::postEmulate(std::uint32_t word)
{
    Platform::post(front_, WM_CTRL_EMULATE, 0, static_cast<std::int64_t>(word));
}

void USBThread::postTimecode(std::uint32_t bcd)
{
    if (postedTimecode_ != bcd) {
        postedTimecode_ = bcd;
        Platform::post(front_, WM_CTRL_TIMECODE, 0, static_cast<std::int64_t>(bcd));
    }
}

void USBThread::postStatus()
{
    if (postedStatus_ != status_) {
        postedStatus_ = status_;
        Platform::post(front_, WM_CTRL_STATUS, 0, status_);
    }
}

}  // namespace Controller
