// skyfirewright-cli show: runs show mode without a window against the firing controller, as
// the show-mode wizard and the main window would, and prints what happens as JSON lines.

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <poll.h>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "Audio/AudioPlayer.h"
#include "Audio/AudioPlayerSoundtrack.h"
#include "CliProject.h"
#include "CommandLine.h"
#include "Controller/CompiledProject.h"
#include "Controller/Controller.h"
#include "Controller/ShowAudioAdapter.h"
#include "Controller/ShowControllerAdapter.h"
#include "JsonWriter.h"
#include "Platform/Assert.h"
#include "Platform/Clock.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"
#include "Platform/Utf.h"
#include "Project/Cue.h"
#include "Project/CueFireCheck.h"
#include "Project/Project.h"
#include "Project/ProjectState.h"
#include "ShowModeArgument.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli show PROJECT.fwp --mode audio|clock-out|clock-in|manual\n"
    "                              [--port PATH] [--audio silent|default] [--seconds S]\n"
    "                              [--arm [CHANNEL]]\n"
    "\n"
    "Runs show mode without a window, as the show-mode wizard and the main window do: checks\n"
    "the cues, connects the firing controller (the USB controller found in the system and the\n"
    "serial port PATH, in that order), compiles and loads the show, enters show mode, arms\n"
    "when asked and plays the show with the chosen clock:\n"
    "  audio      the soundtrack linked to the project plays on the sound output and clocks\n"
    "             the show; without a soundtrack silence plays up to the show's end\n"
    "  clock-out  the controller runs its own timecode, started at 00:00:00:00\n"
    "  clock-in   the controller follows incoming timecode; the show waits for it\n"
    "  manual     the operator steps through each firing group on the controller; the\n"
    "             firing groups are taken in ascending order, the next one once every cue\n"
    "             of the current one is done or skipped\n"
    "\n"
    "The show is done when every cue of the compiled show is done or skipped and, except in\n"
    "manual fire, the show clock has reached the show's end (the later of the last cue and\n"
    "the soundtrack's end). Then, after S seconds of the show, or on Ctrl+C (SIGINT),\n"
    "SIGTERM, SIGHUP or SIGQUIT, the command stops the clock and disconnects with the\n"
    "device's shutdown sequence: disarmed, all DMX off and its queue emptied. SIGPIPE is\n"
    "ignored: when standard output is closed (as by `| head`) the lines are lost, but the\n"
    "show goes on to its end or to one of these signals.\n"
    "\n"
    "  --port PATH     a serial port to try after the USB controllers (a simulator's terminal)\n"
    "  --audio D       the sound output: silent (no sound, the clock runs in real time) or\n"
    "                  default (the system's output, silent when there is none; the default)\n"
    "  --seconds S     stop after S seconds of the show (a positive number)\n"
    "  --arm [CHANNEL] arm before the show starts, on firing channel CHANNEL (1 to 128) for the\n"
    "                  modules the pyro cues use; without CHANNEL, on an unspecified channel.\n"
    "                  Without --arm the device fires nothing and reports the cues skipped\n"
    "\n"
    "Standard output has one JSON object a line; \"ms\" counts milliseconds on the steady clock\n"
    "since the show started (0 before it):\n"
    "  {\"event\":\"check\",\"cue\":N,\"reason\":R}\n"
    "      a cue that cannot fire (then the command ends without connecting); R is\n"
    "      fires-before-zero (timecode minus prefire below 0), no-command (no address, no\n"
    "      DMX text, or a reminder), address-out-of-range (a pyro address above FFF, a DMX\n"
    "      channel above 512 or universe above 7F), no-channel (a DMX text without a\n"
    "      channel) or value-out-of-range (a DMX value above 255)\n"
    "  {\"event\":\"connection\",\"ms\":T,\"connected\":true|false}\n"
    "  {\"event\":\"start\",\"ms\":0,\"mode\":M,\"cues\":N,\"groups\":[G,...],\"show_end_ms\":E}\n"
    "  {\"event\":\"status\",\"ms\":T,\"status\":W,\"pyro\":\"safe\"|\"armed\",\n"
    "      \"dmx\":\"safe\"|\"armed\",\"deadman\":\"safe\"|\"held\"|\"overridden\"}\n"
    "      the controller's status word W and the three safety states\n"
    "  {\"event\":\"group\",\"ms\":T,\"group\":G}  the controller works through firing group G\n"
    "  {\"event\":\"cue\",\"ms\":T,\"cue\":N,\"state\":S}\n"
    "      cue number N changed to state S: disabled, queued, next, prefire, active, done or\n"
    "      skipped\n"
    "  {\"event\":\"end\",\"ms\":T,\"reason\":R,\"done\":D,\"skipped\":K,\"unfinished\":U}\n"
    "      the last line; R is done, time, interrupted (SIGINT), terminated (SIGTERM),\n"
    "      hangup (SIGHUP), quit (SIGQUIT) or disconnected (the link to the controller was\n"
    "      lost)\n"
    "\n"
    "Exit status: 0 when the show is done or S seconds passed, 1 when the project cannot be\n"
    "read, a cue cannot fire, the controller is not found, the show does not load or the link\n"
    "is lost (the error key goes to standard error), 2 for usage errors, and 128 plus the\n"
    "signal's number after a signal: 129 after SIGHUP, 130 after SIGINT, 131 after SIGQUIT\n"
    "and 143 after SIGTERM.\n";

constexpr std::uint32_t kCheckTimer = 1;
constexpr std::uint32_t kCheckPeriodMs = 20;
constexpr std::chrono::seconds kReadyTimeout{10};

struct ShowOptions {
    std::string path;
    int mode = Controller::SHOW_AUDIO_CLOCK;
    std::string modeName;
    std::optional<std::string> port;
    std::string audio = "default";
    std::optional<double> seconds;
    bool arm = false;
    int armChannel = 128;  // the device's channel byte: 0-127, 128 unspecified
    Project::Salvage salvage = Project::Salvage::REFUSE;
};

std::optional<double> parseSeconds(const std::string& text)
{
    if (text.empty()) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value) || value <= 0) {
        return std::nullopt;
    }
    return value;
}

const char* stateName(int state)
{
    switch (state) {
        case Project::CUE_DISABLED: return "disabled";
        case Project::CUE_QUEUED: return "queued";
        case Project::CUE_NEXT: return "next";
        case Project::CUE_PREFIRE: return "prefire";
        case Project::CUE_ACTIVE: return "active";
        case Project::CUE_DONE: return "done";
        case Project::CUE_SKIPPED: return "skipped";
        default: return "unknown";
    }
}

bool isFinal(int state)
{
    return state == Project::CUE_DONE || state == Project::CUE_SKIPPED;
}

const char* safetyName(int state)
{
    switch (state) {
        case Project::ProjectState::SAFETY_ARMED: return "armed";
        case Project::ProjectState::SAFETY_HELD: return "held";
        case Project::ProjectState::SAFETY_OVERRIDDEN: return "overridden";
        default: return "safe";
    }
}

int clockFor(int showMode)
{
    switch (showMode) {
        case Controller::SHOW_AUDIO_CLOCK: return Project::ProjectState::CLOCK_AUDIO;
        case Controller::SHOW_MANUAL_FIRE: return Project::ProjectState::CLOCK_MANUAL;
        default: return Project::ProjectState::CLOCK_CONTROLLER;
    }
}

// The signals that end a show, for the time of one show: the handler only writes the
// signal's number into a pipe, which the show's message queue watches, so the loop wakes and
// runs the same clean shutdown as at the end of the show. SIGHUP and SIGQUIT used to kill the
// process with the device still armed; they now end the show like SIGTERM. SIGPIPE is ignored
// meanwhile: a closed standard output (`show ... | head -3`) used to kill the process in the
// middle of the show, now a failed write only marks the stream bad and the show goes on. The
// previous dispositions come back when the show returns.
class SignalPipe {
public:
    static constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

    SignalPipe()
    {
        SKY_ASSERT_TEXT(writeFd_.load() < 0, "one signal pipe", "ShowCommand");
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
            return;
        }
        readFd_ = fds[0];
        writeFd_.store(fds[1]);
        struct sigaction action {};
        action.sa_handler = &SignalPipe::onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (std::size_t i = 0; i < std::size(kEndSignals); ++i) {
            ::sigaction(kEndSignals[i], &action, &old_[i]);
        }
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGPIPE, &ignore, &oldPipe_);
    }
    ~SignalPipe()
    {
        if (readFd_ < 0) {
            return;
        }
        for (std::size_t i = 0; i < std::size(kEndSignals); ++i) {
            ::sigaction(kEndSignals[i], &old_[i], nullptr);
        }
        ::sigaction(SIGPIPE, &oldPipe_, nullptr);
        ::close(writeFd_.exchange(-1));
        ::close(readFd_);
    }
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    int readFd() const { return readFd_; }

    // The first signal that arrived so far, 0 for none; empties the pipe.
    int take()
    {
        unsigned char bytes[16];
        long got;
        while (readFd_ >= 0 && (got = ::read(readFd_, bytes, sizeof bytes)) > 0) {
            if (signal_ == 0) {
                signal_ = bytes[0];
            }
        }
        return signal_;
    }

private:
    static void onSignal(int number)
    {
        const int saved = errno;
        const unsigned char byte = static_cast<unsigned char>(number);
        const int fd = writeFd_.load();
        if (fd >= 0) {
            [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
        }
        errno = saved;
    }

    static std::atomic<int> writeFd_;
    int readFd_ = -1;
    int signal_ = 0;
    struct sigaction old_[std::size(kEndSignals)]{};
    struct sigaction oldPipe_ {};
};

std::atomic<int> SignalPipe::writeFd_{-1};

// The end line's reason after a signal.
const char* endReason(int signal)
{
    switch (signal) {
        case SIGINT: return "interrupted";
        case SIGHUP: return "hangup";
        case SIGQUIT: return "quit";
        default: return "terminated";
    }
}

// Sets the process-wide soundtrack for the time of one show.
class SoundtrackScope {
public:
    explicit SoundtrackScope(Project::ISoundtrack* soundtrack)
        : previous_(Project::ISoundtrack::getInstance())
    {
        Project::ISoundtrack::setInstance(soundtrack);
    }
    ~SoundtrackScope() { Project::ISoundtrack::setInstance(previous_); }
    SoundtrackScope(const SoundtrackScope&) = delete;
    SoundtrackScope& operator=(const SoundtrackScope&) = delete;

private:
    Project::ISoundtrack* previous_;
};

// Watches the show: prints every cue state, status, group and connection change, and
// decides when the show is done. It also steps a manual show from one firing group to the
// next.
class ShowWatcher : public Project::CueList::Listener, public Controller::Controller::Listener {
public:
    ShowWatcher(std::ostream& out, Project::Project& project, int mode)
        : out_(out), project_(project), mode_(mode), clock_(Platform::Clock::steady())
    {
        Project::CueList& cues = project_.getProjectData().getCueList();
        for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
             cue = cue->getNext()) {
            printed_[cue] = cue->getState();
        }
    }

    // Learns which cues take part in the show and in which firing group, from a compilation
    // of its own (the loaded one belongs to the controller's worker).
    void learnShow()
    {
        Project::CueList& cues = project_.getProjectData().getCueList();
        const auto compiled = Controller::CompiledProject::compile(
            cues, project_.getProjectData().getFormat(), mode_, clock_.frequency());
        for (const auto& [key, group] : compiled->getGroups()) {
            std::vector<const Project::Cue*>& members = groups_[key];
            for (const auto& command : group.commands) {
                if (const Project::Cue* cue = command->getCue()) {
                    members.push_back(cue);
                    showCues_.insert(cue);
                }
            }
            if (members.empty()) {
                groups_.erase(key);
            }
        }
    }

    void start()
    {
        started_ = clock_.now();
        running_ = true;
    }
    void finish() { finished_ = true; }

    std::int64_t elapsedMs() const
    {
        if (!running_) {
            return 0;
        }
        return (clock_.now() - started_) * 1000 / clock_.frequency();
    }

    void printLine(Json::Object& line)
    {
        if (!finished_) {
            out_ << line.str() << '\n';
            out_.flush();
        }
    }

    Json::Object line(const char* event) const
    {
        Json::Object object;
        object.add("event", Json::quoteUtf8(event));
        object.add("ms", Json::number(elapsedMs()));
        return object;
    }

    std::vector<int> groupKeys() const
    {
        std::vector<int> keys;
        for (const auto& entry : groups_) {
            keys.push_back(entry.first);
        }
        return keys;
    }
    int showCueCount() const { return static_cast<int>(showCues_.size()); }

    bool allFinal(const std::vector<const Project::Cue*>& cues) const
    {
        for (const Project::Cue* cue : cues) {
            if (!isFinal(cue->getState())) {
                return false;
            }
        }
        return true;
    }

    // Every cue of the show is done or skipped and, except in manual fire, the clock reached
    // the show's end.
    bool isShowDone() const
    {
        for (const Project::Cue* cue : showCues_) {
            if (!isFinal(cue->getState())) {
                return false;
            }
        }
        if (mode_ == Controller::SHOW_MANUAL_FIRE) {
            return true;
        }
        const Project::ProjectState& state = project_.getProjectState();
        return state.getPosition().compare(state.getShowEnd()) >= 0;
    }

    // Manual fire: once the group the controller works through has no cue left to fire,
    // select the next firing group that has cues.
    void stepGroups(Controller::Controller& controller)
    {
        if (mode_ != Controller::SHOW_MANUAL_FIRE || groups_.empty()) {
            return;
        }
        const int current = controller.getCurrentGroup();
        if (requestedGroup_ && *requestedGroup_ != current) {
            return;  // the worker has not taken the last request yet
        }
        const auto here = groups_.find(current);
        if (here != groups_.end() && !allFinal(here->second)) {
            return;
        }
        const auto next = groups_.upper_bound(current);
        if (next == groups_.end()) {
            return;
        }
        requestedGroup_ = next->first;
        controller.selectGroup(next->first);
    }

    struct Counts {
        int done = 0;
        int skipped = 0;
        int unfinished = 0;
    };
    Counts counts() const
    {
        Counts c;
        for (const Project::Cue* cue : showCues_) {
            const int state = cue->getState();
            if (state == Project::CUE_DONE) {
                ++c.done;
            } else if (state == Project::CUE_SKIPPED) {
                ++c.skipped;
            } else {
                ++c.unfinished;
            }
        }
        return c;
    }

    bool lostLink() const { return lostLink_; }

    // Project::Cue::Listener
    void cueStateChanged(Project::Cue* cue) override
    {
        const int state = cue->getState();
        const auto it = printed_.find(cue);
        if (it != printed_.end() && it->second == state) {
            return;  // a change of flags only
        }
        printed_[cue] = state;
        if (!project_.getProjectState().isShowMode()) {
            return;  // the preview outside show mode is no show
        }
        Json::Object l = line("cue");
        l.add("cue", Json::number(cue->getNumber()));
        l.add("state", Json::quoteUtf8(stateName(state)));
        printLine(l);
    }

    // Controller::Controller::Listener
    void onStatusChanged() override
    {
        const Project::ProjectState& state = project_.getProjectState();
        Json::Object l = line("status");
        l.add("status", Json::number(state.getShowStatus()));
        l.add("pyro", Json::quoteUtf8(safetyName(state.getPyroState())));
        l.add("dmx", Json::quoteUtf8(safetyName(state.getDmxState())));
        l.add("deadman", Json::quoteUtf8(safetyName(state.getDeadmanState())));
        printLine(l);
    }
    void onGroupChanged() override
    {
        if (!groupReported_ || *groupReported_ != currentGroup()) {
            groupReported_ = currentGroup();
            Json::Object l = line("group");
            l.add("group", Json::number(*groupReported_));
            printLine(l);
        }
    }
    void onConnectionChanged(bool connected) override
    {
        if (connected == connected_) {
            return;
        }
        connected_ = connected;
        if (!connected && running_ && !stopping_) {
            lostLink_ = true;
            Platform::postQuit();
        }
        Json::Object l = line("connection");
        l.add("connected", Json::boolean(connected));
        printLine(l);
    }

    void setController(Controller::Controller* controller) { controller_ = controller; }
    void setStopping() { stopping_ = true; }

private:
    int currentGroup() const { return controller_ ? controller_->getCurrentGroup() : 0; }

    std::ostream& out_;
    Project::Project& project_;
    int mode_;
    const Platform::Clock& clock_;
    Controller::Controller* controller_ = nullptr;
    std::int64_t started_ = 0;
    bool running_ = false;
    bool finished_ = false;
    bool stopping_ = false;
    bool connected_ = false;
    bool lostLink_ = false;
    std::map<const Project::Cue*, int> printed_;
    std::set<const Project::Cue*> showCues_;
    std::map<int, std::vector<const Project::Cue*>> groups_;
    std::optional<int> requestedGroup_;
    std::optional<int> groupReported_;
};

// Returns kUsage after a usage error, else nothing with `options` filled.
std::optional<int> parseArguments(const std::vector<std::string>& arguments, ShowOptions& options,
                                  std::ostream& err)
{
    const std::vector<std::string> args = takeSalvageOption(arguments, options.salvage);
    const Command self{"show", "", "", nullptr};
    std::optional<std::string> path;
    std::optional<int> mode;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--arm") {
            options.arm = true;
            // An optional channel: the next argument when it is a number.
            if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '-') {
                const std::optional<long long> channel = parseNumber(args[i + 1]);
                if (channel) {
                    if (*channel < 1 || *channel > 128) {
                        return usageError(self, "bad firing channel '" + args[i + 1] + "'", err);
                    }
                    options.armChannel = static_cast<int>(*channel) - 1;
                    ++i;
                }
            }
        } else if (arg == "--mode" || arg == "--port" || arg == "--audio" || arg == "--seconds") {
            if (i + 1 >= args.size()) {
                return usageError(self, arg + " needs a value", err);
            }
            const std::string& value = args[++i];
            if (arg == "--mode") {
                mode = parseShowMode(value);
                if (!mode) {
                    return usageError(self, "unknown mode " + value, err);
                }
                options.modeName = value;
            } else if (arg == "--port") {
                if (value.empty()) {
                    return usageError(self, "give a port path", err);
                }
                options.port = value;
            } else if (arg == "--audio") {
                if (value != "silent" && value != "default") {
                    return usageError(self, "unknown sound output '" + value + "'", err);
                }
                options.audio = value;
            } else {
                options.seconds = parseSeconds(value);
                if (!options.seconds) {
                    return usageError(self, "bad number of seconds '" + value + "'", err);
                }
            }
        } else if (arg.starts_with("-")) {
            return usageError(self, "unknown option " + arg, err);
        } else if (path) {
            return usageError(self, "give one project file", err);
        } else {
            path = arg;
        }
    }
    if (!path) {
        return usageError(self, "give a project file", err);
    }
    if (!mode) {
        return usageError(self, "give --mode", err);
    }
    options.path = *path;
    options.mode = *mode;
    return std::nullopt;
}

// The check line's reason for a cue that cannot fire; nullptr for one that can.
const char* checkReason(int problem)
{
    switch (problem) {
        case Project::CueFireCheck::FIRES_BEFORE_ZERO: return "fires-before-zero";
        case Project::CueFireCheck::NO_COMMAND: return "no-command";
        case Project::CueFireCheck::ADDRESS_OUT_OF_RANGE: return "address-out-of-range";
        case Project::CueFireCheck::NO_CHANNEL: return "no-channel";
        case Project::CueFireCheck::VALUE_OUT_OF_RANGE: return "value-out-of-range";
        default: return nullptr;
    }
}

// Prints the cues that cannot fire; true when there is none.
bool checkShow(Project::Project& project, std::ostream& out)
{
    if (project.checkCues()) {
        return true;
    }
    Project::CueList& cues = project.getProjectData().getCueList();
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        const char* reason = checkReason(Project::CueFireCheck::cueProblem(*cue));
        if (reason) {
            out << Json::Object()
                       .add("event", Json::quoteUtf8("check"))
                       .add("cue", Json::number(cue->getNumber()))
                       .add("reason", Json::quoteUtf8(reason))
                       .str()
                << '\n';
        }
    }
    out.flush();
    return false;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ShowOptions options;
    if (const std::optional<int> usage = parseArguments(args, options, err)) {
        return *usage;
    }

    // From here on Ctrl+C, SIGTERM, SIGHUP and SIGQUIT only wake the loop; the show is taken
    // down cleanly. SIGPIPE is ignored.
    SignalPipe signals;
    Platform::MessageQueue queue;
    ProjectSession session;
    session.setSalvage(options.salvage, "show", err);
    Project::Project& project = session.project();
    Project::ProjectState& state = project.getProjectState();

    Audio::AudioPlayer::Options audioOptions;
    audioOptions.device = Platform::fromUtf8(options.audio);
    Audio::AudioPlayer player(&session.data(), audioOptions);
    Audio::AudioPlayerSoundtrack soundtrack(player);
    const SoundtrackScope soundtrackScope(&soundtrack);
    if (!queue.runUntil([&] { return player.isReady(); }, kReadyTimeout)) {
        return reportFailure("show", L"ERROR.GENERIC", err);
    }
    if (!session.open(options.path)) {
        return reportFailure("show", session.lastError(), err);
    }
    if (!checkShow(project, out)) {
        return reportFailure("show", L"WIZ.SHOW.COMPILE_ERROR.HEADER_EX", err);
    }

    ShowWatcher watcher(out, project, options.mode);
    state.attach();
    Controller::ShowAudioAdapter audioAdapter(player, state);
    state.updateShowEnd();

    Controller::Controller::Options controllerOptions;
    controllerOptions.project = &project;
    controllerOptions.findPorts = [port = options.port] {
        std::vector<std::string> ports = Controller::Controller::defaultPorts();
        if (port) {
            ports.push_back(*port);
        }
        return ports;
    };
    controllerOptions.audioWorker = [&player] { return player.getOutputWindow(); };
    Controller::Controller controller(controllerOptions);
    Controller::ShowControllerAdapter controllerAdapter(controller, state);
    watcher.setController(&controller);
    controller.addListener(&watcher);
    project.addCueListListener(&watcher);

    int exitCode = kSuccess;
    std::string reason = "done";
    bool connected = false;
    bool inShowMode = false;
    const auto takeSignal = [&] {
        if (const int number = signals.take()) {
            reason = endReason(number);
            exitCode = 128 + number;
            return true;
        }
        return false;
    };

    if (!controller.waitUntilReady(
            static_cast<int>(kReadyTimeout / std::chrono::milliseconds(1)))) {
        exitCode = reportFailure("show", controller.getLastError(), err);
    } else if (takeSignal()) {
        // Interrupted before the device was reached.
    } else if (!controller.connect()) {
        exitCode = reportFailure("show", controller.getLastError(), err);
    } else {
        connected = true;
        watcher.learnShow();
        // The audio clock needs a running sound output; without a soundtrack it plays
        // silence for as long as the show lasts.
        if (options.mode == Controller::SHOW_AUDIO_CLOCK &&
            player.getState() == Audio::AudioPlayer::STATE_NO_TRACK) {
            player.load(L"");
        }
        if (takeSignal()) {
            // Interrupted while connecting.
        } else if (!controller.compile(options.mode)) {
            exitCode = reportFailure("show", controller.getLastError(), err);
        } else {
            state.enterShowMode(clockFor(options.mode));
            inShowMode = true;
            if (options.arm) {
                controller.arm(true, options.armChannel);
            }
            watcher.start();
            Json::Object start = watcher.line("start");
            start.add("mode", Json::quoteUtf8(options.modeName));
            start.add("cues", Json::number(watcher.showCueCount()));
            std::vector<std::string> keys;
            for (const int key : watcher.groupKeys()) {
                keys.push_back(Json::number(key));
            }
            start.add("groups", Json::array(keys));
            start.add("show_end_ms",
                      Json::number(std::llround(state.getShowEnd().getMilliseconds())));
            watcher.printLine(start);

            if (options.mode == Controller::SHOW_AUDIO_CLOCK ||
                options.mode == Controller::SHOW_CLOCK_OUT) {
                state.play();
            }
            // Clock in waits for the device's timecode, manual fire for the operator.

            const auto evaluate = [&] {
                if (takeSignal()) {
                    Platform::postQuit();
                    return;
                }
                if (watcher.isShowDone()) {
                    reason = "done";
                    Platform::postQuit();
                    return;
                }
                if (options.seconds &&
                    static_cast<double>(watcher.elapsedMs()) >= *options.seconds * 1000.0) {
                    reason = "time";
                    Platform::postQuit();
                    return;
                }
                watcher.stepGroups(controller);
            };
            Platform::MessageWindow checker([&](const Platform::Message& m) {
                if (m.code == Platform::kMessageTimer) {
                    evaluate();
                }
                return std::int64_t{0};
            });
            if (signals.readFd() >= 0) {
                queue.watchFd(signals.readFd(), POLLIN, [&](short) { evaluate(); });
            }
            checker.setTimer(kCheckTimer, kCheckPeriodMs);
            queue.run();
            checker.killTimer(kCheckTimer);
            if (signals.readFd() >= 0) {
                queue.unwatchFd(signals.readFd());
            }
            if (watcher.lostLink() && exitCode == kSuccess) {
                reason = "disconnected";
                exitCode = reportFailure("show", L"ERROR.USB_DEVICE_NOT_CONNECTED", err);
            }
        }
    }

    // Leaving the show as the main window does: the controller disconnects (disarm first,
    // then DMX off and the device's queue emptied), the show is unloaded and the audio ticks
    // detached; then the clock stops and show mode ends.
    watcher.setStopping();
    if (connected) {
        controller.disconnect();
        controller.unload();
        queue.runUntil([&] { return !controller.isConnected(); }, std::chrono::seconds(1));
    }
    // Taken before show mode ends: leaving it shows the preview states again.
    const ShowWatcher::Counts counts = watcher.counts();
    if (inShowMode) {
        state.stop();
        state.exitShowMode();
    }
    if (inShowMode) {
        Json::Object end = watcher.line("end");
        end.add("reason", Json::quoteUtf8(reason));
        end.add("done", Json::number(counts.done));
        end.add("skipped", Json::number(counts.skipped));
        end.add("unfinished", Json::number(counts.unfinished));
        watcher.printLine(end);
    } else if (exitCode >= 128) {
        Json::Object end = watcher.line("end");
        end.add("reason", Json::quoteUtf8(reason));
        watcher.printLine(end);
    }
    watcher.finish();
    project.removeCueListListener(&watcher);
    controller.removeListener(&watcher);
    return exitCode;
}

Command showCommand()
{
    return {"show", "run a show against the firing controller and print its progress",
            std::string(kHelp) + kSalvageHelp, run};
}

}  // namespace

const CommandRegistrar registrar(41, showCommand);

}  // namespace Cli
