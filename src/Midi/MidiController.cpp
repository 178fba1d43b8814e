#include "Midi/MidiController.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <pthread.h>
#include <sched.h>
#include <utility>

#include "Config/Settings.h"
#include "Midi/MtcMessage.h"
#include "Midi/RtMidiPorts.h"
#include "Platform/Utf.h"
#include "Project/Project.h"
#include "Project/ProjectState.h"

namespace Midi {

namespace {

MidiController* instance = nullptr;

const char* const kOutputClientName = "RtMidi Output Client";
const char* const kInputClientName = "RtMidi Input Client";
const char* const kPortName = "RtMidi";
constexpr unsigned kInputQueueLimit = 100;

// The slave locates this many frames past a completed time: the eight quarter frames of a
// time take two frames to arrive, and the locate itself one more.
constexpr int kSlaveLeadFrames = 3;
// A playing player is located again only when it is more than this many frames away from the
// incoming time. A completed time arrives every two frames; locating on each one moved the
// show clock back by however long the main thread took, and a cue whose fire time was the
// target fired a second time. Delivery and the player's position steps stay within this.
constexpr int kSlaveDriftFrames = 3;

// An incoming message carries its arrival time in microseconds, cut to the 47 bits left
// beside its first two bytes (four years; differences are taken modulo the same width).
constexpr std::int64_t kArrivalMask = (std::int64_t{1} << 47) - 1;

std::int64_t microsecondsOf(const Platform::Clock& clock)
{
    return clock.toNanoseconds(clock.now()) / 1000;
}

std::wstring translate(const std::wstring& key)
{
    const Config::Settings* settings = Config::Settings::getInstance();
    return settings != nullptr ? settings->translate(key) : key;
}

// The generator's thread asks for a real-time priority so that a busy machine does not delay
// its wake-ups (the quarter frames are a clock for other equipment). It only sleeps and sends
// a few bytes, so it cannot starve anything. Without the right to it (an ordinary user with
// no real-time limit), the thread keeps its normal priority.
bool raiseToRealTimePriority()
{
    sched_param param{};
    param.sched_priority = 10;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

}  // namespace

MidiController::MidiController(std::unique_ptr<IMidiPorts> ports, IMidiHost* host,
                               const Platform::Clock& clock)
    : ports_(std::move(ports)),
      host_(host),
      clock_(clock),
      window_(std::make_unique<Platform::MessageWindow>(
          [this](const Platform::Message& message) { return handle(message); })),
      timer_(clock)
{
}

MidiController::~MidiController()
{
    timer_.stop();
    closeAll();
}

MidiController* MidiController::getInstance()
{
    return instance;
}

MidiController& MidiController::create(IMidiHost* host, std::unique_ptr<IMidiPorts> ports)
{
    if (instance != nullptr) {
        return *instance;
    }
    if (!ports) {
        ports = std::make_unique<RtMidiPorts>();
    }
    instance = new MidiController(std::move(ports), host);
    if (Project::Project* project = Project::getInstance()) {
        project->getProjectState().setTimecodeOut(instance);
    }
    return *instance;
}

void MidiController::destroy()
{
    if (instance == nullptr) {
        return;
    }
    if (Project::Project* project = Project::getInstance()) {
        if (project->getProjectState().getTimecodeOut() == instance) {
            project->getProjectState().setTimecodeOut(nullptr);
        }
    }
    delete instance;
    instance = nullptr;
}

void MidiController::setHost(IMidiHost* host)
{
    stopQuarterFrames();
    host_ = host;
}

std::vector<std::wstring> MidiController::getPortNames(bool inputs)
{
    std::vector<std::wstring> names;
    std::unique_ptr<IMidiPorts::Port> client;
    if (inputs) {
        client = ports_->createInput(kInputClientName, kInputQueueLimit);
    } else {
        client = ports_->createOutput(kOutputClientName);
    }
    if (!client) {
        return names;
    }
    const unsigned count = client->getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        names.push_back(Platform::fromUtf8(client->getPortName(i)));
    }
    return names;
}

bool MidiController::openOutput()
{
    if (output_) {
        return true;
    }
    std::unique_ptr<IMidiPorts::Output> output = ports_->createOutput(kOutputClientName);
    if (!output) {
        showInitializationError();
        return false;
    }
    if (output->getPortCount() == 0) {
        closeAll();
        return false;
    }
    if (port_ < 0 || !output->openPort(static_cast<unsigned>(port_), kPortName)) {
        showInitializationError();
        return false;
    }
    const std::string name = output->getPortName(static_cast<unsigned>(port_));
    {
        std::lock_guard<std::mutex> lock(outputMutex_);
        output_ = std::move(output);
    }
    announceMode();
    showConnected(name);
    return true;
}

bool MidiController::openInput()
{
    if (input_) {
        return true;
    }
    std::unique_ptr<IMidiPorts::Input> input =
        ports_->createInput(kInputClientName, kInputQueueLimit);
    if (!input) {
        showInitializationError();
        return false;
    }
    if (input->getPortCount() == 0) {
        closeAll();
        return false;
    }
    // The device's thread only hands each message over, stamped with its arrival; the
    // window's thread does the rest.
    input->setCallback(
        [window = window_->handle(), &clock = clock_](const std::uint8_t* bytes, std::size_t size) {
            std::int64_t firstBytes = 0;
            if (size > 0) {
                firstBytes = bytes[0];
            }
            if (size > 1) {
                firstBytes |= static_cast<std::int64_t>(bytes[1]) << 8;
            }
            firstBytes |= (microsecondsOf(clock) & kArrivalMask) << 16;
            Platform::post(window, kMessageMidiInput, size, firstBytes);
        });
    if (port_ < 0 || !input->openPort(static_cast<unsigned>(port_), kPortName)) {
        showInitializationError();
        return false;
    }
    showConnected(input->getPortName(static_cast<unsigned>(port_)));
    // Quarter frames are timing messages and full frames system exclusive: let both in.
    input->ignoreTypes(false, false, false);
    qfActive_ = false;
    assembler_.reset();
    input_ = std::move(input);
    announceMode();
    return true;
}

void MidiController::closeAll()
{
    closeInput();
    closeOutput();
}

void MidiController::closeInput()
{
    if (input_) {
        input_->closePort();
        input_.reset();
    }
    qfActive_ = false;
    assembler_.reset();
    announceMode();
}

void MidiController::closeOutput()
{
    std::unique_ptr<IMidiPorts::Output> output;
    {
        std::lock_guard<std::mutex> lock(outputMutex_);
        output = std::move(output_);
    }
    if (output) {
        output->closePort();
    }
    announceMode();
}

MidiController::Mode MidiController::getMode() const
{
    if (output_ != nullptr) {
        return Mode::kSending;
    }
    return input_ != nullptr ? Mode::kReceiving : Mode::kNone;
}

void MidiController::announceMode()
{
    const Mode mode = getMode();
    if (mode != announcedMode_) {
        announcedMode_ = mode;
        listeners_.notify(&Listener::onMidiModeChanged, mode);
    }
}

bool MidiController::chooseMaster(int port)
{
    closeAll();
    port_ = port;
    isMaster_ = true;
    if (!openOutput()) {
        return false;
    }
    const MtcMessage::UserBits message = MtcMessage::userBits();
    send(message.data(), message.size());
    return true;
}

bool MidiController::chooseSlave(int port)
{
    closeAll();
    port_ = port;
    isMaster_ = false;
    return openInput();
}

void MidiController::chooseNone()
{
    closeAll();
}

bool MidiController::send(const std::uint8_t* bytes, std::size_t size)
{
    std::lock_guard<std::mutex> lock(outputMutex_);
    return output_ && output_->send(bytes, size);
}

void MidiController::sendFullFrame(const SMPTE& time)
{
    const MtcMessage::FullFrame message = MtcMessage::fullFrame(time);
    std::lock_guard<std::mutex> lock(outputMutex_);
    nextPiece_ = 0;
    reloadTime_ = true;
    if (output_) {
        output_->send(message.data(), message.size());
    }
}

void MidiController::startQuarterFrames()
{
    stopQuarterFrames();
    if (host_ == nullptr) {
        return;
    }
    generatorFormat_ = host_->getFormat();
    const SMPTE start = host_->getClockPosition(generatorFormat_);
    {
        std::lock_guard<std::mutex> lock(outputMutex_);
        mtcTime_ = start;
    }
    sendNextPiece();
    // A quarter of a frame at the format's real rate, to the nanosecond: deadlines on the
    // timer thread are absolute, so the pieces keep the exact pace over a whole show.
    const double quarterFrameNs = 1e9 / (4.0 * SMPTE::framesPerSecond(generatorFormat_));
    timer_.start(std::chrono::nanoseconds(std::llround(quarterFrameNs)),
                 [this, first = true](const Platform::PeriodicTimer::Tick&) mutable {
                     if (first) {
                         first = false;
                         realTimePriority_.store(raiseToRealTimePriority());
                     }
                     sendNextPiece();
                 });
}

void MidiController::stopQuarterFrames()
{
    timer_.stop();
}

void MidiController::sendNextPiece()
{
    std::unique_lock<std::mutex> lock(outputMutex_);
    if (!output_) {
        return;
    }
    if (reloadTime_) {
        reloadTime_ = false;
        // The host may wait for the player's worker: not with the output locked.
        lock.unlock();
        const SMPTE fresh = host_->getClockPosition(generatorFormat_);
        lock.lock();
        if (!output_) {
            return;
        }
        mtcTime_ = fresh;
    }
    const MtcMessage::QuarterFrame message = MtcMessage::quarterFrame(mtcTime_, nextPiece_);
    if (nextPiece_ == 7) {
        reloadTime_ = true;
        nextPiece_ = 0;
    } else {
        ++nextPiece_;
    }
    output_->send(message.data(), message.size());
}

std::int64_t MidiController::handle(const Platform::Message& message)
{
    if (message.code == kMessageMidiInput) {
        const std::int64_t arrival = (message.lParam >> 16) & kArrivalMask;
        const std::int64_t waited = (microsecondsOf(clock_) - arrival) & kArrivalMask;
        handleInput(static_cast<std::size_t>(message.wParam),
                    static_cast<std::uint8_t>(message.lParam & 0xFF),
                    static_cast<std::uint8_t>((message.lParam >> 8) & 0xFF), waited);
    }
    return 0;
}

void MidiController::handleInput(std::size_t size, std::uint8_t first, std::uint8_t second,
                                 std::int64_t waitedMicroseconds)
{
    if (size == 0) {
        showMessage(L"Invalid MTC Received", L"Received invalid MTC", IMidiHost::ICON_ERROR);
        return;
    }
    if (first == MtcMessage::kSysExStart) {
        qfActive_ = false;
        assembler_.reset();
        stopFollowing();
        return;
    }
    if (first != MtcMessage::kQuarterFrame) {
        // Only quarter frames carry time: any other message stops a follower that no longer
        // gets them, and is ignored while they arrive.
        if (!qfActive_) {
            stopFollowing();
        }
        return;
    }
    qfActive_ = true;
    if (formatErrorShown_) {
        stopFollowing();
        return;
    }
    if (size < 2 || host_ == nullptr) {
        return;
    }
    const std::optional<MtcMessage::ReceivedTime> received = assembler_.add(second);
    if (!received || !received->isPossible()) {
        return;
    }
    const int format = host_->getFormat();
    if (received->rate != MtcMessage::rateCode(format)) {
        if (host_->isAudioPlaying()) {
            host_->pauseAudio();
        }
        host_->locate(SMPTE(format));
        formatErrorShown_ = true;
        showMessage(translate(L"ERROR.MIDI.INCORRECT.TIMEFORMAT"), L"Skyfirewright",
                    IMidiHost::ICON_ERROR);
        return;
    }
    const SMPTE label(format, received->hours, received->minutes, received->seconds,
                      received->frames);
    // Time code is a 24-hour clock: a lead past midnight comes round to the next day's start.
    // A time that waited in the queue (a busy main thread) is that much older: without the
    // wait the locate would pull the player back behind the audio already played, and a cue
    // fired meanwhile would fire again.
    const int day = SMPTE::framesPerDay(format);
    const auto waitedFrames = static_cast<int>(std::min<double>(
        static_cast<double>(waitedMicroseconds) * SMPTE::framesPerSecond(format) / 1e6, day));
    const int frame = (label.getFrameNo() + kSlaveLeadFrames + waitedFrames) % day;
    bool follow = true;
    if (host_->isAudioPlaying()) {
        // The distance on the 24-hour dial, so that midnight does not count as a day's drift.
        const int drift = std::abs(host_->getClockPosition(format).getFrameNo() - frame);
        follow = std::min(drift, day - drift) > kSlaveDriftFrames;
    }
    if (follow) {
        host_->locate(SMPTE::fromFrameNo(format, frame));
    }
    host_->playAudio(host_->isRecordRequested());
}

void MidiController::stopFollowing()
{
    // Only a playing player is paused: pausing a paused one would start it again.
    if (host_ != nullptr && host_->isAudioPlaying()) {
        host_->pauseAudio();
    }
}

void MidiController::showMessage(const std::wstring& text, const std::wstring& caption, int icon)
{
    if (host_ != nullptr) {
        host_->showMessage(text, caption, icon);
    }
}

void MidiController::showConnected(const std::string& portName)
{
    const std::wstring text = L"Connected to " + Platform::fromUtf8(portName);
    showMessage(text, text, IMidiHost::ICON_INFORMATION);
}

void MidiController::showInitializationError()
{
    const std::wstring text = L"Er is iets verkeerd gegaan met initialisatie";
    showMessage(text, text, IMidiHost::ICON_ERROR);
}

}  // namespace Midi
