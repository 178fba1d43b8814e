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

#include "CliProject.h"
#include "CommandArguments.h"
#include "CommandLine.h"
#include "Controller/CompiledProject.h"
#include "Controller/Controller.h"
#include "JsonText.h"
#include "Platform/Assert.h"
#include "Platform/Clock.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"
#include "Platform/Utf.h"
#include "Project/Cue.h"
#include "Project/CueFireCheck.h"
#include "Project/Project.h"
#include "Project/ProjectState.h"
#include "Show/ShowSession.h"
#include "ShowModeArgument.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli show PROJECT.fwp --mode audio|clock-out|clock-in|manual\n"
    "                              [--port PATH] [--audio silent|default] [--seconds S]\n"
    "                              [--arm [CHANNEL]] [--mtc-out PORT | --mtc-in PORT]\n"
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
    "On connecting, before anything is loaded, the device is disarmed, all DMX is switched\n"
    "off and its queue emptied, whatever an earlier run left; a device that still reports\n"
    "itself armed after that is refused (ERROR.USB_DEVICE_STILL_ARMED). Without --arm the\n"
    "device is disarmed again whenever it reports itself armed.\n"
    "\n"
    "The show is done when every cue of the compiled show is done or skipped and, except in\n"
    "manual fire, the show clock has reached the show's end (the later of the last cue and\n"
    "the soundtrack's end). Then, after S seconds of the show, or on Ctrl+C (SIGINT),\n"
    "SIGTERM, SIGHUP or SIGQUIT, the command stops the clock and disconnects with the\n"
    "device's shutdown sequence: with clock-out its own clock stopped first, then disarmed,\n"
    "all DMX off and its queue emptied. SIGPIPE is ignored: when standard output is closed\n"
    "(as by `| head`) the lines are lost, but the show goes on to its end or to one of these\n"
    "signals.\n"
    "\n"
    "The link is watched: a device that has said nothing for 2 seconds (it is pinged when\n"
    "quiet) counts as lost, and so does one that keeps sending reports that cannot be true\n"
    "(they are ignored). With clock-out and clock-in the device is sent the show only\n"
    "controller.lookaheadMs (default 3000) ahead of its clock, so that little can still\n"
    "fire when the program or the link dies.\n"
    "\n"
    "  --port PATH     a serial port to try after the USB controllers (a simulator's terminal)\n"
    "  --audio D       the sound output: silent (no sound, the clock runs in real time) or\n"
    "                  default (the system's output, silent when there is none; the default)\n"
    "  --seconds S     stop after S seconds of the show (a positive number)\n"
    "  --arm [CHANNEL] arm before the show starts, on firing channel CHANNEL (1 to 128) for the\n"
    "                  modules the pyro cues use; without CHANNEL, on an unspecified channel.\n"
    "                  Without --arm the device fires nothing and reports the cues skipped\n"
    "  --mtc-out PORT  send MIDI time code of the show clock on this MIDI output (its number\n"
    "                  or name, as `skyfirewright-cli midi-ports` lists them): quarter frames\n"
    "                  while the soundtrack plays a 25 fps show, full frames otherwise\n"
    "  --mtc-in PORT   follow incoming MIDI time code on this MIDI input: the soundtrack\n"
    "                  plays and locates with it (audio mode)\n"
    "\n"
    "Standard output has one JSON object a line; \"ms\" counts milliseconds on the steady clock\n"
    "since the show started (0 before it):\n"
    "  {\"event\":\"check\",\"cue\":N,\"reason\":R,\"key\":K}\n"
    "      a cue that cannot fire (then the command ends without connecting); R is\n"
    "      negative-prefire (a prefire below 0), fires-before-zero (timecode minus prefire\n"
    "      below 0), fires-after-day (timecode or firing moment at 24:00:00:00 or later),\n"
    "      prefire-too-long (a prefire above 4 h 39 min), no-command (no address, no DMX\n"
    "      text, or a reminder), address-out-of-range (a pyro address above FFF or a DMX\n"
    "      channel above 512), universe-out-of-range (a DMX universe above 7F), no-channel\n"
    "      (a DMX text without a channel) or value-out-of-range (a DMX value above 255); K is\n"
    "      the localization key of the reason\n"
    "  {\"event\":\"connection\",\"ms\":T,\"connected\":true|false}\n"
    "  {\"event\":\"start\",\"ms\":0,\"mode\":M,\"cues\":N,\"groups\":[G,...],\"show_end_ms\":E}\n"
    "  {\"event\":\"status\",\"ms\":T,\"status\":W,\"pyro\":\"safe\"|\"armed\",\n"
    "      \"dmx\":\"safe\"|\"armed\",\"deadman\":\"safe\"|\"held\"|\"overridden\"}\n"
    "      the controller's status word W and the three safety states\n"
    "  {\"event\":\"group\",\"ms\":T,\"group\":G}  the controller works through firing group G\n"
    "  {\"event\":\"cue\",\"ms\":T,\"cue\":N,\"state\":S[,\"reason\":\"outcome-unknown\"]}\n"
    "      cue number N changed to state S: disabled, queued, next, prefire, active, done or\n"
    "      skipped; outcome-unknown: the device was placed past the cue after an answer\n"
    "      was lost, so whether it fired is not known\n"
    "  {\"event\":\"end\",\"ms\":T,\"reason\":R,\"done\":D,\"skipped\":K,\"unfinished\":U,\n"
    "      \"disarmConfirmed\":C}\n"
    "      the last line; R is done, time, interrupted (SIGINT), terminated (SIGTERM),\n"
    "      hangup (SIGHUP), quit (SIGQUIT), device-silent (the device stopped answering),\n"
    "      impossible-reports (it kept sending reports that cannot be true) or disconnected\n"
    "      (the line hung up or a write failed); C is true only when the device answered the\n"
    "      shutdown sequence and did not report itself armed\n"
    "\n"
    "A project whose linked soundtrack cannot be opened is refused in audio mode (silence\n"
    "would play in place of the show's music); the other modes warn on standard error and go\n"
    "on.\n"
    "\n"
    "Exit status: 0 when the show is done or S seconds passed, 1 when the project cannot be\n"
    "read, its soundtrack is missing in audio mode, a cue cannot fire, the controller is not\n"
    "found or still armed, the show does not load or the link is lost (the error key goes to\n"
    "standard error), 2 for usage errors, 128 plus the signal's number after a signal: 129\n"
    "after SIGHUP, 130 after SIGINT, 131 after SIGQUIT and 143 after SIGTERM; and 4, before\n"
    "any of these, when the device did not confirm the shutdown sequence\n"
    "(ERROR.USB_DISARM_NOT_CONFIRMED on standard error): it may still be armed.\n";

constexpr std::uint32_t kCheckTimer = 1;
// The device may still be armed: this wins over every other exit status.
constexpr int kDisarmNotConfirmed = 4;
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
    int armChannel = 128;               // the device's channel byte: 0-127, 128 unspecified
    std::optional<std::string> mtcOut;  // MIDI time code out (master) on this port
    std::optional<std::string> mtcIn;   // MIDI time code in (slave) from this port
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

    void printLine(const Json& line)
    {
        if (!finished_) {
            out_ << JsonText::line(line) << '\n';
            out_.flush();
        }
    }

    Json line(const char* event) const
    {
        Json object;
        object["event"] = event;
        object["ms"] = elapsedMs();
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
    // The end line's reason for the lost link.
    const char* lostLinkReason() const
    {
        switch (linkFault_) {
            case Controller::LINK_SILENT: return "device-silent";
            case Controller::LINK_IMPOSSIBLE: return "impossible-reports";
            default: return "disconnected";
        }
    }

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
        Json l = line("cue");
        l["cue"] = cue->getNumber();
        l["state"] = stateName(state);
        if (state == Project::CUE_SKIPPED && (cue->getFlags() & Project::FLAG_OUTCOME_UNKNOWN)) {
            l["reason"] = "outcome-unknown";
        }
        printLine(l);
    }

    // Controller::Controller::Listener
    void onStatusChanged() override
    {
        const Project::ProjectState& state = project_.getProjectState();
        Json l = line("status");
        l["status"] = state.getShowStatus();
        l["pyro"] = safetyName(state.getPyroState());
        l["dmx"] = safetyName(state.getDmxState());
        l["deadman"] = safetyName(state.getDeadmanState());
        printLine(l);
    }
    void onGroupChanged() override
    {
        if (!groupReported_ || *groupReported_ != currentGroup()) {
            groupReported_ = currentGroup();
            Json l = line("group");
            l["group"] = *groupReported_;
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
            linkFault_ = controller_ ? controller_->getLinkFault() : Controller::LINK_CLOSED;
            Platform::postQuit();
        }
        Json l = line("connection");
        l["connected"] = connected;
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
    Controller::LinkFault linkFault_ = Controller::LINK_CLOSED;
    std::map<const Project::Cue*, int> printed_;
    std::set<const Project::Cue*> showCues_;
    std::map<int, std::vector<const Project::Cue*>> groups_;
    std::optional<int> requestedGroup_;
    std::optional<int> groupReported_;
};

// Returns kUsage after a usage error, else nothing with `options` filled.
std::optional<int> parseArguments(const std::vector<std::string>& given, ShowOptions& options,
                                  std::ostream& err)
{
    const std::vector<std::string> args = takeSalvageOption(given, options.salvage);
    const Command self{"show", "", "", nullptr};
    std::optional<int> mode;
    CommandArguments arguments(
        self, [](const std::string& arg, std::size_t index) -> std::optional<std::string> {
            if (arg.starts_with("-")) {
                return "unknown option " + arg;
            }
            if (index > 0) {
                return "give one project file";
            }
            return std::nullopt;
        });
    // An optional channel: the next argument when it is a number.
    arguments.flagWithOptionalValue(
        "--arm",
        [](const std::string& next) {
            return !next.empty() && next[0] != '-' && parseNumber(next).has_value();
        },
        [&](const std::optional<std::string>& value) {
            options.arm = true;
            if (value) {
                const long long channel = *parseNumber(*value);
                if (channel < 1 || channel > 128) {
                    throw CommandArguments::Problem{"bad firing channel '" + *value + "'"};
                }
                options.armChannel = static_cast<int>(channel) - 1;
            }
        });
    arguments.option("--mode", "--mode needs a value", [&](const std::string& value) {
        mode = parseShowMode(value);
        if (!mode) {
            throw CommandArguments::Problem{"unknown mode " + value};
        }
        options.modeName = value;
    });
    arguments.option("--port", "--port needs a value", [&](const std::string& value) {
        if (value.empty()) {
            throw CommandArguments::Problem{"give a port path"};
        }
        options.port = value;
    });
    for (const std::string name : {"--mtc-out", "--mtc-in"}) {
        arguments.option(name, name + " needs a value", [&, name](const std::string& value) {
            if (value.empty()) {
                throw CommandArguments::Problem{"give a MIDI port"};
            }
            (name == "--mtc-out" ? options.mtcOut : options.mtcIn) = value;
        });
    }
    arguments.option("--audio", "--audio needs a value", [&](const std::string& value) {
        if (value != "silent" && value != "default") {
            throw CommandArguments::Problem{"unknown sound output '" + value + "'"};
        }
        options.audio = value;
    });
    arguments.option("--seconds", "--seconds needs a value", [&](const std::string& value) {
        options.seconds = parseSeconds(value);
        if (!options.seconds) {
            throw CommandArguments::Problem{"bad number of seconds '" + value + "'"};
        }
    });
    if (const std::optional<int> usage = arguments.parse(args, err)) {
        return usage;
    }
    const std::vector<std::string> operands = arguments.leftovers();
    const std::optional<std::string> path =
        operands.empty() ? std::nullopt : std::optional<std::string>(operands[0]);
    if (!path) {
        return usageError(self, "give a project file", err);
    }
    if (!mode) {
        return usageError(self, "give --mode", err);
    }
    if (options.mtcOut && options.mtcIn) {
        return usageError(self, "MIDI time code goes one way: give --mtc-out or --mtc-in", err);
    }
    options.path = *path;
    options.mode = *mode;
    return std::nullopt;
}

// A linked soundtrack that could not be opened: the audio clock would play silence in place
// of the show's music, so that mode is refused; the other modes do not play it and go on
// after a warning. Both on standard error. True when the show may go on.
bool checkSoundtrack(const Project::ProjectData& data, int mode, std::ostream& err)
{
    if (!data.isWaveLinked() || !data.isSoundtrackMissing()) {
        return true;
    }
    const bool refused = mode == Controller::SHOW_AUDIO_CLOCK;
    err << "skyfirewright-cli show: " << (refused ? "" : "warning: ")
        << "MESSAGES.SOUNDTRACK_MISSING.MESSAGE: " << Platform::toUtf8(data.getWaveFileName())
        << " cannot be opened" << (refused ? "" : "; the show goes on without it") << "\n";
    return !refused;
}

// Prints the cues that cannot fire; true when there is none.
bool checkShow(Project::Project& project, std::ostream& out)
{
    if (project.checkCues()) {
        return true;
    }
    for (const Project::Project::CheckFailure& failure : project.getCheckFailures()) {
        Json line;
        line["event"] = "check";
        line["cue"] = failure.cueNumber;
        line["reason"] = Project::CueFireCheck::problemName(failure.problem);
        line["key"] = Platform::toUtf8(Project::CueFireCheck::problemKey(failure.problem));
        out << JsonText::line(line) << '\n';
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
    Show::ShowSessionOptions sessionOptions;
    sessionOptions.audio.device = Platform::fromUtf8(options.audio);
    sessionOptions.controller.findPorts = [port = options.port] {
        std::vector<std::string> ports = Controller::Controller::defaultPorts();
        if (port) {
            ports.push_back(*port);
        }
        return ports;
    };
    Show::ShowSession session(std::move(sessionOptions));
    Project::Project& project = session.project();
    Project::ProjectState& state = session.state();
    Controller::Controller& controller = session.controller();
    if (!session.waitUntilReady(kReadyTimeout)) {
        return reportFailure("show", L"ERROR.GENERIC", err);
    }
    bool salvaged = false;
    if (!session.openProject(Platform::fromUtf8(options.path), options.salvage, &salvaged)) {
        return reportFailure("show", session.getLastError(), err);
    }
    if (salvaged) {
        reportSalvaged("show", err);
    }
    if (!checkSoundtrack(project.getProjectData(), options.mode, err)) {
        return kFailure;
    }
    if (!checkShow(project, out)) {
        return reportFailure("show", L"WIZ.SHOW.COMPILE_ERROR.HEADER_EX", err);
    }
    if (options.mtcOut && !session.startMidiMaster(*options.mtcOut)) {
        return reportFailure("show", session.getLastError(), err);
    }
    if (options.mtcIn && !session.startMidiSlave(*options.mtcIn)) {
        return reportFailure("show", session.getLastError(), err);
    }

    ShowWatcher watcher(out, project, options.mode);
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

    if (takeSignal()) {
        // Interrupted before the device was reached.
    } else if (!session.connect()) {
        exitCode = reportFailure("show", session.getLastError(), err);
    } else {
        connected = true;
        watcher.learnShow();
        if (takeSignal()) {
            // Interrupted while connecting.
        } else if (!session.enterShowMode(options.mode)) {
            exitCode = reportFailure("show", session.getLastError(), err);
        } else {
            inShowMode = true;
            if (options.arm) {
                session.arm(options.armChannel);
            }
            watcher.start();
            Json start = watcher.line("start");
            start["mode"] = options.modeName;
            start["cues"] = watcher.showCueCount();
            start["groups"] = watcher.groupKeys();
            start["show_end_ms"] = std::llround(state.getShowEnd().getMilliseconds());
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
                reason = watcher.lostLinkReason();
                exitCode = reportFailure("show", L"ERROR.USB_DEVICE_NOT_CONNECTED", err);
            }
        }
    }

    // The end of the show as the main window ends it: the device's shutdown sequence (its own
    // clock stopped, disarmed, DMX off, its queue emptied), the show unloaded, the clock
    // stopped; show mode is left after the counts are taken, since leaving it shows the
    // preview states again.
    watcher.setStopping();
    bool disarmConfirmed = false;
    if (connected) {
        disarmConfirmed = session.endShow().disarmConfirmed;
        if (!disarmConfirmed) {
            reportFailure("show", L"ERROR.USB_DISARM_NOT_CONFIRMED", err);
            exitCode = kDisarmNotConfirmed;
        }
    }
    const ShowWatcher::Counts counts = watcher.counts();
    session.leaveShowMode();
    if (inShowMode) {
        Json end = watcher.line("end");
        end["reason"] = reason;
        end["done"] = counts.done;
        end["skipped"] = counts.skipped;
        end["unfinished"] = counts.unfinished;
        end["disarmConfirmed"] = disarmConfirmed;
        watcher.printLine(end);
    } else if (exitCode >= 128 || (connected && !disarmConfirmed)) {
        Json end = watcher.line("end");
        end["reason"] = reason;
        if (connected) {
            end["disarmConfirmed"] = disarmConfirmed;
        }
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
