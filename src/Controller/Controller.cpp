#include "Controller/Controller.h"

#include <algorithm>
#include <chrono>
#include <future>
#include <utility>

#include "Config/Settings.h"
#include "Controller/CommandWords.h"
#include "Controller/CompiledProject.h"
#include "Controller/USBThread.h"
#include "Platform/Assert.h"
#include "Platform/MessageQueue.h"
#include "Platform/SerialPort.h"
#include "Platform/Utf.h"
#include "Project/Project.h"

namespace Controller {

namespace {

constexpr const char* kUnit = "Controller";
constexpr std::uint32_t kTickTimer = 1;
constexpr std::uint32_t kTickMs = 100;
constexpr std::uint64_t kDisarmChannel = 0x81;
constexpr int kUnspecifiedChannel = 128;
constexpr int kMaskModules = 128;

Controller* instance = nullptr;

}  // namespace

// The USB ports of the firing controller, then the ports the settings add.
std::vector<std::string> Controller::defaultPorts()
{
    std::vector<std::string> ports = Platform::SerialPort::findUsbPorts("/sys", "4321", "62e1");
    if (const Config::Settings* settings = Config::Settings::getInstance()) {
        const std::wstring extra = settings->getString(L"controller.ports", L"");
        std::size_t begin = 0;
        while (begin <= extra.size()) {
            std::size_t end = extra.find(L';', begin);
            if (end == std::wstring::npos) {
                end = extra.size();
            }
            std::wstring item = extra.substr(begin, end - begin);
            const std::size_t first = item.find_first_not_of(L" \t");
            const std::size_t last = item.find_last_not_of(L" \t");
            if (first != std::wstring::npos) {
                ports.push_back(Platform::toUtf8(item.substr(first, last - first + 1)));
            }
            begin = end + 1;
        }
    }
    return ports;
}

Controller::Controller(Options options)
    : options_(std::move(options)),
      clock_(options_.clock ? *options_.clock : Platform::Clock::steady()),
      emulator_(&clock_)
{
    SKY_ASSERT_TEXT(Platform::MessageQueue::current() != nullptr, "thread has a queue", kUnit);
    if (Project::Project* p = project()) {
        emulator_.reset(&p->getProjectData().getCueList());
    } else {
        emulator_.reset(nullptr);
    }
    localWindow_ = std::make_unique<Platform::MessageWindow>(
        [this](const Platform::Message& m) { return handle(m); });
    const Platform::WindowHandle front = localWindow_->handle();
    std::promise<Platform::WindowHandle> ready;
    std::future<Platform::WindowHandle> started = ready.get_future();
    const Platform::Clock* clock = &clock_;
    worker_ = std::thread([front, clock, ready = std::move(ready)]() mutable {
        USBThread worker(front, *clock);
        worker.run(ready);
    });
    workerThreadWindow_ = started.get();
}

Controller::~Controller()
{
    if (connected_) {
        Platform::send(workerThreadWindow_, WM_USB_DISCONNECT);
    }
    Platform::post(workerThreadWindow_, WM_USB_QUIT);
    worker_.join();
    // What the worker posted last is taken out now, so that no operation it handed over is
    // lost with the window.
    closing_ = true;
    Platform::MessageQueue::current()->processPending();
    localWindow_.reset();
}

Controller* Controller::getInstance()
{
    return instance;
}

Controller& Controller::createInstance(Options options)
{
    SKY_ASSERT_TEXT(instance == nullptr, "one controller", kUnit);
    instance = new Controller(std::move(options));
    return *instance;
}

void Controller::destroyInstance()
{
    delete instance;
    instance = nullptr;
}

void Controller::addListener(Listener* listener)
{
    listeners_.add(listener);
    emulator_.addListener(listener);
}

void Controller::removeListener(Listener* listener)
{
    listeners_.remove(listener);
    emulator_.removeListener(listener);
}

bool Controller::waitUntilReady(int timeoutMs)
{
    Platform::MessageQueue* queue = Platform::MessageQueue::current();
    SKY_ASSERT_TEXT(queue != nullptr, "thread has a queue", kUnit);
    return queue->runUntil([this] { return isReady(); }, std::chrono::milliseconds(timeoutMs));
}

bool Controller::needWorker()
{
    if (!workerWindow_) {
        lastError_ = L"ERROR.GENERIC";
        return false;
    }
    return true;
}

bool Controller::connect()
{
    if (!needWorker()) {
        return false;
    }
    deviceInfo_ = 0;
    pyroLink_ = 0;
    armed_ = false;
    const std::vector<std::string> candidates =
        options_.findPorts ? options_.findPorts() : defaultPorts();
    const std::optional<std::int64_t> result = Platform::send(
        workerWindow_, WM_USB_CONNECT, 0, reinterpret_cast<std::int64_t>(&candidates));
    if (result && *result == CONNECT_STILL_ARMED) {
        lastError_ = L"ERROR.USB_DEVICE_STILL_ARMED";
        return false;
    }
    if (!result || *result != CONNECT_OK) {
        lastError_ = L"ERROR.USB_DEVICE_NOT_CONNECTED";
        return false;
    }
    return true;
}

bool Controller::disconnect()
{
    if (!needWorker()) {
        return false;
    }
    armed_ = false;
    const std::optional<std::int64_t> result = Platform::send(workerWindow_, WM_USB_DISCONNECT);
    if (!result || *result != 1) {
        lastError_ = L"ERROR.USB_DISARM_NOT_CONFIRMED";
        return false;
    }
    return true;
}

int Controller::lookaheadMs() const
{
    if (options_.lookaheadMs) {
        return std::max(*options_.lookaheadMs, 0);
    }
    if (const Config::Settings* settings = Config::Settings::getInstance()) {
        const int value = settings->getInt(L"controller.lookaheadMs");
        if (value >= 0) {
            return value;
        }
    }
    return kDefaultLookaheadMs;
}

bool Controller::getDeviceInfo(DeviceInfo& info)
{
    if (!needWorker()) {
        return false;
    }
    const std::optional<std::int64_t> result =
        Platform::send(workerWindow_, WM_USB_GET_INFO, 0, reinterpret_cast<std::int64_t>(&info));
    if (!result || *result == 0) {
        lastError_ = L"ERROR.USB_DEVICE_ERROR";
        return false;
    }
    deviceInfo_ = info.values[3];
    return true;
}

bool Controller::setPyroLink(int value)
{
    if (!needWorker()) {
        return false;
    }
    if (!Platform::post(workerWindow_, WM_USB_SET_PYRO_LINK, 0, value)) {
        return false;
    }
    pyroLink_ = value;
    return true;
}

bool Controller::setDmxChannel(int channel, int value)
{
    const std::uint32_t w = 0x91000000u | static_cast<std::uint32_t>(channel & 0x1FF) << 8 |
                            static_cast<std::uint32_t>(value & 0xFF);
    return execute({0x90000001u, w, 0x90000000u, w});
}

bool Controller::execute(const std::vector<std::uint32_t>& words)
{
    if (!needWorker() || words.empty()) {
        return false;
    }
    const std::optional<std::int64_t> result = Platform::send(
        workerWindow_, WM_USB_EXECUTE, words.size(), reinterpret_cast<std::int64_t>(words.data()));
    return result && *result != 0;
}

bool Controller::arm(bool armed, int channel)
{
    if (!needWorker()) {
        return false;
    }
    armed_ = armed;
    std::uint8_t mask[16] = {};
    if (!armed) {
        Platform::send(workerWindow_, WM_USB_ARM, kDisarmChannel,
                       reinterpret_cast<std::int64_t>(mask));
        return true;
    }
    if (channel < 0 || channel > 127) {
        channel = kUnspecifiedChannel;
    }
    if (Project::Project* p = project()) {
        const Project::CueList& cues = p->getProjectData().getCueList();
        for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
             cue = cue->getNext()) {
            const Project::CueCommand& command = cue->getCommand();
            const int address = command.getAddress();
            if (command.getType() != Project::CueCommand::TYPE_PYRO || address < 0) {
                continue;
            }
            const int module = address / 16;
            if (module < kMaskModules) {
                mask[module / 8] |= static_cast<std::uint8_t>(1u << (module % 8));
            }
        }
    }
    Platform::send(workerWindow_, WM_USB_ARM, static_cast<std::uint64_t>(channel),
                   reinterpret_cast<std::int64_t>(mask));
    return true;
}

void Controller::rearm(int channel)
{
    if (armed_ && workerWindow_) {
        // Mapped as arm() does: a channel byte of 0x81 would be taken for a disarm.
        if (channel < 0 || channel > 127) {
            channel = kUnspecifiedChannel;
        }
        Platform::post(workerWindow_, WM_USB_ARM, static_cast<std::uint64_t>(channel), 0);
    }
}

bool Controller::compile(int mode)
{
    if (!needWorker()) {
        return false;
    }
    Project::Project* p = project();
    if (!p) {
        lastError_ = L"ERROR.GENERIC";
        return false;
    }
    std::unique_ptr<CompiledProject> show = CompiledProject::compile(
        p->getProjectData().getCueList(), projectFormat(), mode, clock_.frequency());
    // Audio positions go to the worker only for a show on the audio clock; a show compiled
    // for another mode after one must not be moved by them.
    if (const Platform::WindowHandle audio = audioWorker()) {
        const std::int64_t target =
            mode == SHOW_AUDIO_CLOCK ? static_cast<std::int64_t>(workerWindow_.value()) : 0;
        Platform::post(audio, Platform::kMessageAudioClockTarget, 0, target);
    }
    CompiledProject* handedOver = show.release();
    const std::optional<std::int64_t> result =
        Platform::send(workerWindow_, WM_USB_LOAD, static_cast<std::uint64_t>(lookaheadMs()),
                       reinterpret_cast<std::int64_t>(handedOver));
    if (!result) {
        delete handedOver;  // the worker never took it
        lastError_ = L"ERROR.GENERIC";
        return false;
    }
    emulator_.reset(&p->getProjectData().getCueList());
    Platform::post(workerWindow_, WM_USB_RESET_STATES);
    return true;
}

bool Controller::unload()
{
    if (workerWindow_) {
        Platform::send(workerWindow_, WM_USB_LOAD, 0, 0);
    }
    if (const Platform::WindowHandle audio = audioWorker()) {
        Platform::post(audio, Platform::kMessageAudioClockTarget, 0, 0);
    }
    return true;
}

void Controller::resetStates()
{
    if (Project::Project* p = project()) {
        emulator_.reset(&p->getProjectData().getCueList());
    } else {
        emulator_.reset(nullptr);
    }
    if (workerWindow_) {
        Platform::post(workerWindow_, WM_USB_RESET_STATES);
    }
}

int Controller::checkModule(int module)
{
    if (!needWorker()) {
        return -2;
    }
    const std::optional<std::int64_t> result =
        Platform::send(workerWindow_, WM_USB_CHECK_MODULE, 0, module);
    return result ? static_cast<int>(*result) : -2;
}

void Controller::selectGroup(int key)
{
    if (workerWindow_) {
        Platform::post(workerWindow_, WM_USB_SELECT_GROUP, 0, key);
    }
}

bool Controller::transport(int what)
{
    return workerWindow_ && Platform::post(workerWindow_, WM_USB_TRANSPORT, 0, what);
}

bool Controller::locate(const SMPTE& time)
{
    return workerWindow_ && Platform::post(workerWindow_, WM_USB_LOCATE, 0,
                                           static_cast<std::int64_t>(time.getBCD()));
}

Emulator::ModuleState Controller::getModuleState(int module) const
{
    return emulator_.getModuleState(module);
}

Emulator::ChannelState Controller::getChannelState(int channel) const
{
    return emulator_.getChannelState(channel);
}

Project::Project* Controller::project() const
{
    return options_.project ? options_.project : Project::getInstance();
}

int Controller::projectFormat() const
{
    const Project::Project* p = project();
    return p ? p->getProjectData().getFormat() : SMPTE::SMPTE_30;
}

Platform::WindowHandle Controller::audioWorker() const
{
    return options_.audioWorker ? options_.audioWorker() : Platform::WindowHandle();
}

std::int64_t Controller::handle(const Platform::Message& m)
{
    if (closing_) {
        // Going away: operations are dropped unrun, nobody is told anything more.
        if (m.code == WM_CTRL_OPERATION) {
            delete reinterpret_cast<Project::IOperation*>(m.lParam);
        }
        return 0;
    }
    switch (m.code) {
        case WM_CTRL_WORKER_WINDOW: workerWindow_ = Platform::WindowHandle(m.wParam); return 0;
        case WM_CTRL_CONNECTED: {
            const bool connected = m.wParam != 0;
            connected_ = connected;
            if (!connected) {
                linkFault_ = static_cast<LinkFault>(m.lParam);
            }
            listeners_.notify(&Listener::onConnectionChanged, connected);
            return 0;
        }
        case WM_CTRL_OPERATION: {
            std::unique_ptr<Project::IOperation> operation(
                reinterpret_cast<Project::IOperation*>(m.lParam));
            if (Project::Project* p = project()) {
                p->submit(std::move(operation));
            }
            return 0;
        }
        case WM_CTRL_TIMECODE: {
            const auto bcd = static_cast<std::uint32_t>(m.lParam);
            const int format = projectFormat();
            // The device's report is checked before it becomes a timecode.
            if (SMPTE::isValidBCD(bcd, format)) {
                SMPTE time(format);
                time.setBCD(bcd);
                listeners_.notify(&Listener::onTimecode, time.getMilliseconds());
            }
            return 0;
        }
        case WM_CTRL_STATUS:
            if (static_cast<int>(m.lParam) != status_) {
                status_ = static_cast<int>(m.lParam);
                listeners_.notify(&Listener::onStatusChanged);
            }
            return 0;
        case WM_CTRL_GROUP:
            currentGroup_ = static_cast<int>(m.lParam);
            listeners_.notify(&Listener::onGroupChanged);
            return 0;
        case WM_CTRL_EMULATE: {
            const auto word = static_cast<std::uint32_t>(m.lParam);
            const Project::Project* p = project();
            const bool pyroArmed = p && p->getProjectState().isPyroArmed();
            if (pyroArmed || CommandWords::kind(word) != CommandWords::kFire) {
                emulator_.execute(word);
                // The tick runs only while something is left to run out, so that an idle
                // program does not wake ten times a second.
                if (!tickRunning_ && emulator_.hasRunningTimers()) {
                    tickRunning_ = localWindow_->setTimer(kTickTimer, kTickMs);
                }
            }
            return 0;
        }
        case WM_CTRL_MODULE_REPORT: {
            const bool responsive = m.lParam != -1;
            emulator_.moduleTested(static_cast<int>(m.wParam), responsive,
                                   responsive ? static_cast<int>(m.lParam) : 0);
            return 0;
        }
        case Platform::kMessageTimer:
            if (m.wParam == kTickTimer) {
                emulator_.tick();
                if (!emulator_.hasRunningTimers()) {
                    localWindow_->killTimer(kTickTimer);
                    tickRunning_ = false;
                }
            }
            return 0;
        default: return 0;
    }
}

}  // namespace Controller
