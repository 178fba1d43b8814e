#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Controller/CompiledProject.h"
#include "Controller/ControllerMessages.h"
#include "Controller/FrameParser.h"
#include "Platform/Clock.h"
#include "Platform/Message.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"
#include "Platform/SerialPort.h"

namespace Controller {

// The controller service's worker ("USBControllerWindow"): owns the serial port and the
// loaded compiled show, streams the show's words to the device, follows its reports and
// posts to the front (the "LocalUSBControllerWindow") everything the main thread must know.
//
// Its loop sleeps in one poll() on its message queue, its 100 ms tick (only while a show is
// loaded) and the port, so it wakes for messages, bytes and ticks and nothing else. While it
// waits for the reply to a request (up to its time-out on the clock) it does not dispatch
// messages, but it keeps parsing and handles unsolicited frames inside the wait.
class USBThread {
public:
    USBThread(Platform::WindowHandle front, const Platform::Clock& clock);
    ~USBThread();
    USBThread(const USBThread&) = delete;
    USBThread& operator=(const USBThread&) = delete;

    // The worker's thread: makes its queue and window, hands the window to `ready`, announces
    // it to the front and serves messages until WM_USB_QUIT.
    void run(std::promise<Platform::WindowHandle>& ready);

    // For the fuzz target, without a loop: makes the worker's window on the calling thread
    // (which must have a queue) and returns it; receive() then hands bytes in as if they had
    // been read from the port. The object must be destroyed on the same thread.
    Platform::WindowHandle attach();
    void receive(const std::uint8_t* bytes, std::size_t size);

private:
    // A request waiting for its reply.
    struct Pending {
        std::uint8_t code;  // the reply's code: the request's plus one
        std::uint8_t* reply;
        std::size_t capacity;
        bool done = false;
        std::size_t size = 0;  // the reply's whole payload size
    };

    std::int64_t handle(const Platform::Message& message);

    // Port.
    // Tries the candidate port paths in order.
    std::int64_t connect(const std::vector<std::string>& candidates);
    // Unloads the show and runs the shutdown sequence; true when the device confirmed it.
    bool disconnect();
    // Stops the device's clock when asked (a show on its own clock), then disarms, switches
    // DMX off and empties the queue. True when the device acknowledged the requests after
    // the disarm and does not report itself armed.
    bool shutdownSequence(bool stopClock);
    void closePort();
    // Unwatches and reports a port that was closed, by us or because it failed.
    void checkPortLost();
    // Runs the tick while a port is open or a show is loaded.
    void updateTimer();
    // The link's health: a ping once the device has been quiet for a while, and the port
    // given up when nothing at all was heard for two seconds.
    void superviseLink();
    // Gives the port up for this fault (the front hears why).
    void linkFault(LinkFault fault);
    // A report that cannot be true was ignored; too many of them in a short time are a link
    // fault.
    void impossibleReport(const wchar_t* what);
    bool isPossibleRoom(std::uint32_t room) const;
    std::int64_t since(std::int64_t counter) const;
    // Reads whatever has arrived and handles the frames in it.
    void pump();
    void parseReceived();
    void onFrame(const Frame& frame);
    void onUnsolicited(const Frame& frame);

    // Frames. A send fails at once without an open port; a failed write closes it.
    bool sendFrame(std::uint8_t code, const std::vector<std::uint8_t>& payload = {});
    // Sends command words with `code` (0x12 or 0x16); refuses fire words unless a show is
    // loaded.
    bool sendWords(std::uint8_t code, const std::uint32_t* words, std::size_t count);
    // Sends the frame and waits up to `timeoutMs` for the reply (the code plus one). Copies
    // up to `capacity` payload bytes into `reply` and returns the reply's payload size;
    // nothing when the send failed, the time ran out or the port closed.
    std::optional<std::size_t> request(std::uint8_t code, const std::vector<std::uint8_t>& payload,
                                       std::uint8_t* reply, std::size_t capacity, int timeoutMs);
    bool executeWords(const std::uint32_t* words, std::size_t count);

    // Show.
    void load(CompiledProject* show);
    void unloadShow();
    void sendNextBlock(std::uint32_t room);
    // A progress report. `roomIsCurrent`: the report answers a request sent after the last
    // block, so its room already counts that block.
    void onProgress(const Frame& frame, bool roomIsCurrent = false);
    // The index up to which words may be streamed now: the show's own words are sent at most
    // the look-ahead ahead of the device's clock (its own or incoming timecode).
    int streamLimit(const CompiledProject::Group& group) const;
    // The cues of [from, to) of the current group may or may not have fired: they end
    // skipped with an unknown outcome.
    void markOutcomeUnknown(int from, int to);
    // Starts the device at `key`'s group where that group stands, or with `atClock` (a load,
    // a reset) at the clock's current place.
    void selectGroup(int key, bool atClock = false);
    void resetStates();
    void resync(int frames);
    // Starts the device at this index of the current group (start request, then seek).
    void placeAt(int target);
    // Streams on with the room of a start request's reply.
    void afterStart(const std::optional<std::size_t>& size, const std::uint8_t* reply);
    // The clock's current place in frames of the show's format, where the show follows a clock
    // whose place is known: the audio player's last position, the device's last timecode.
    std::optional<int> clockFrames() const;
    // Resyncs a show on the incoming clock to the device's last timecode when the device is off
    // it. Not inside a start request: a report that comes then is followed once it is done.
    void followTimecode();
    // Resync to an audio position; backwards only when the position is really before a cue
    // that was executed.
    void audioSeek(int frames);
    // Sends the start request (0x10) with this index until the device replies; after a few
    // seconds of silence the link counts as lost (giveUpPort) and nothing is returned.
    std::optional<std::size_t> requestStart(std::uint32_t index, std::uint8_t* reply,
                                            std::size_t capacity);
    // Closes the port of a device that stopped answering and reports it disconnected.
    void giveUpPort();
    void onTick();
    void transport(int what);
    void locate(std::uint32_t bcd);
    void audioTick(std::uint64_t rate, std::int64_t samples);
    void audioResync(std::uint64_t rate, std::int64_t samples);
    std::int64_t checkModule(std::int64_t module);
    void moduleReport(int module, int continuity);
    void onStatusReport(const Frame& frame);
    void onTimecodeReport(const Frame& frame);
    void arm(std::uint64_t channel, const std::uint8_t* mask);

    // To the front.
    void postOperation(std::unique_ptr<Project::IOperation> operation);
    void postEmulate(std::uint32_t word);
    void postTimecode(std::uint32_t bcd);
    void postStatus();
    // Frames of the show's format for an audio position, or nothing for a rate of 0.
    std::optional<int> audioFrames(std::uint64_t rate, std::int64_t samples) const;

    const Platform::Clock& clock_;
    Platform::WindowHandle front_;
    Platform::MessageQueue* queue_ = nullptr;
    std::unique_ptr<Platform::MessageWindow> window_;

    Platform::SerialPort port_;
    int watchedFd_ = -1;
    bool portReported_ = false;  // the front was told of the open port, or it is being tried
    int writeTimeoutMs_ = 200;
    FrameParser parser_;
    std::vector<std::uint8_t> received_;  // read but not yet parsed
    std::size_t parsed_ = 0;
    std::vector<Pending*> pending_;  // innermost last

    std::unique_ptr<CompiledProject> show_;
    int lookaheadMs_ = 0;  // 0: unbounded

    // Link supervision (performance-counter values).
    std::int64_t lastHeardAt_ = 0;  // the last frame received
    std::int64_t pingSentAt_ = 0;
    std::deque<std::int64_t> impossibleAt_;  // recent impossible reports
    LinkFault closeFault_ = LINK_CLOSED;     // told to the front with the next close
    // The device's queue size, learnt from the room it reports when its queue was emptied.
    std::optional<std::uint32_t> queueCapacity_;
    // This run armed the device; a device that reports itself armed otherwise is disarmed.
    bool armRequested_ = false;
    // Room the device is known to have at least: its last report less what was sent since.
    std::uint32_t knownRoom_ = 0;
    std::uint64_t blocksSent_ = 0;
    std::int64_t blockSentAt_ = 0;
    // The last trigger: when, at which index, and how many blocks had been sent then.
    struct Trigger {
        std::int64_t at = 0;
        int index = -1;
        std::uint64_t blocks = 0;
    };
    Trigger lastTrigger_;
    // The index of the start request being awaited.
    std::optional<std::uint32_t> startingAt_;
    // The audio player's last position (rate, samples) while an audio-clock show is loaded,
    // and whether the device was placed before any position was known.
    std::optional<std::pair<std::uint64_t, std::int64_t>> audioPosition_;
    bool audioPlaceUnknown_ = false;
    // The device's last reported timecode; a report still to be followed.
    std::optional<std::uint32_t> deviceTimecode_;
    bool timecodeToFollow_ = false;
    bool followingTimecode_ = false;
    // Triggers whose reply did not come, sent while the device was known to stand at the wait
    // with this index; 0 once a progress report or a start has placed it again.
    int unansweredTriggers_ = 0;
    int unansweredAt_ = 0;
    bool busy_ = false;
    bool blockInFlight_ = false;
    bool timerRunning_ = false;
    int status_ = 0;
    std::optional<int> postedStatus_;
    std::optional<std::uint32_t> postedTimecode_;
};

}  // namespace Controller
