#pragma once

#include "Timecode/SMPTE.h"

namespace Project {

// What the show state needs of the firing-controller service. The service lives in a higher
// module; an adapter there implements this and forwards the service's timecode and status
// reports to the show state.
class IShowController {
public:
    enum Transport : int {
        TRANSPORT_PLAY = 0,
        TRANSPORT_PAUSE = 1,
        TRANSPORT_STOP = 2,
    };

    // Bits of the device status word that the show state reads.
    enum StatusBit : int {
        STATUS_PYRO_ARMED = 0x01,
        STATUS_DEADMAN_HELD = 0x02,
        STATUS_PLAYING = 0x04,
        STATUS_PAUSED = 0x08,
        STATUS_STOPPED = 0x10,
        STATUS_DMX_ARMED = 0x20,
        STATUS_DEADMAN_OVERRIDDEN = 0x40,
    };

    virtual ~IShowController() = default;

    // The serial-link worker exists, so transport and locate requests can reach it.
    virtual bool hasWorker() const = 0;
    // Posts a transport request (a Transport value) to the worker.
    virtual void transport(int transport) = 0;
    // Posts a locate request to the worker.
    virtual void locate(const SMPTE& time) = 0;
    // The device status word as last reported.
    virtual int getStatus() const = 0;
};

}  // namespace Project
