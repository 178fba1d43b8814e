// Feeds arbitrary bytes from the firing controller's side of the serial link through the
// receive parser, and through the report handling of a controller worker with a loaded show
// (no port is open, so whatever it would answer fails at once): progress, room, start
// replies, status, timecode and module reports all take their full paths.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "Controller/CompiledProject.h"
#include "Controller/ControllerMessages.h"
#include "Controller/FrameParser.h"
#include "Controller/FrameWriter.h"
#include "Controller/USBThread.h"
#include "Platform/MessageQueue.h"
#include "Platform/MessageWindow.h"
#include "Project/IOperation.h"
#include "Project/ProjectData.h"

namespace {

void checkParser(const std::uint8_t* data, std::size_t size)
{
    Controller::FrameParser parser;
    for (std::size_t i = 0; i < size; ++i) {
        if (!parser.push(data[i])) {
            continue;
        }
        const Controller::Frame& frame = parser.frame();
        if (frame.size > Controller::Frame::kMaxPayload) {
            __builtin_trap();
        }
        // What the parser yields, written again, parses back to the same frame.
        const auto bytes =
            Controller::FrameWriter::build(frame.code, frame.payload.data(), frame.size);
        Controller::FrameParser again;
        bool found = false;
        for (std::uint8_t b : bytes) {
            found = again.push(b) || found;
        }
        if (!found || again.frame().code != frame.code || again.frame().size != frame.size) {
            __builtin_trap();
        }
    }
}

struct Setup {
    Setup()
    {
        data.setFormat(SMPTE::SMPTE_25);
        for (int i = 0; i < 6; ++i) {
            data.getCueList().add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 10 + 7 * i),
                                  Project::CueCommand::pyro(17 * i), i % 3, 5, i % 2, -1, "");
        }
        data.getCueList().add(SMPTE::fromFrameNo(SMPTE::SMPTE_25, 40),
                              Project::CueCommand::dmx(0, 5, 99), 0, 12, 1, -1, "");
    }

    Platform::MessageQueue queue;
    // The front: takes the operations the worker posts.
    Platform::MessageWindow front{[](const Platform::Message& m) -> std::int64_t {
        if (m.code == Controller::WM_CTRL_OPERATION) {
            delete reinterpret_cast<Project::IOperation*>(m.lParam);
        }
        return 0;
    }};
    Project::ProjectData data;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkParser(data, size);
    if (size == 0) {
        return 0;
    }
    static Setup* setup = new Setup;
    {
        Controller::USBThread worker(setup->front.handle(), Platform::Clock::steady());
        const Platform::WindowHandle window = worker.attach();
        // The first byte picks the show mode.
        auto show = Controller::CompiledProject::compile(setup->data.getCueList(), SMPTE::SMPTE_25,
                                                         data[0] % 4, 1000000000);
        Platform::send(window, Controller::WM_USB_LOAD, 0,
                       reinterpret_cast<std::int64_t>(show.release()));
        worker.receive(data + 1, size - 1);
        Platform::send(window, Controller::WM_USB_TRANSPORT, 0, 2);
        Platform::send(window, Controller::WM_USB_AUDIO_TICK, 44100, 44100);
    }
    setup->queue.processPending();
    return 0;
}
