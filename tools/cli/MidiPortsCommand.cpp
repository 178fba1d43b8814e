// skyfirewright-cli midi-ports: the MIDI inputs and outputs the time code options can name.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Midi/RtMidiPorts.h"

namespace Cli {

namespace {

const char* kHelp =
    "Usage: skyfirewright-cli midi-ports\n"
    "\n"
    "Lists the system's MIDI ports, one a line: \"input N NAME\" and \"output N NAME\", N\n"
    "being the number `show --mtc-in` and `--mtc-out` take (a name, or a part of one that\n"
    "only one port has, works too). A system without MIDI ports lists none and says so on\n"
    "standard error; that is no failure.\n";

// The port names of one direction, or none when the device layer cannot make a client.
std::vector<std::string> portNames(Midi::IMidiPorts& ports, bool inputs)
{
    std::unique_ptr<Midi::IMidiPorts::Port> client;
    if (inputs) {
        client = ports.createInput("Skyfirewright ports", 1);
    } else {
        client = ports.createOutput("Skyfirewright ports");
    }
    std::vector<std::string> names;
    if (client) {
        const unsigned count = client->getPortCount();
        for (unsigned i = 0; i < count; ++i) {
            names.push_back(client->getPortName(i));
        }
    }
    return names;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Command self{"midi-ports", "", "", nullptr};
    if (!args.empty()) {
        return usageError(self, "takes no arguments", err);
    }
    Midi::RtMidiPorts ports;
    std::size_t listed = 0;
    for (const bool inputs : {true, false}) {
        const std::vector<std::string> names = portNames(ports, inputs);
        for (std::size_t i = 0; i < names.size(); ++i) {
            out << (inputs ? "input " : "output ") << i << ' ' << names[i] << '\n';
        }
        listed += names.size();
    }
    if (listed == 0) {
        err << "no MIDI ports\n";
    }
    return kSuccess;
}

Command midiPortsCommand()
{
    return {"midi-ports", "list the MIDI ports for MIDI time code in and out", kHelp, run};
}

}  // namespace

const CommandRegistrar registrar(45, midiPortsCommand);

}  // namespace Cli
