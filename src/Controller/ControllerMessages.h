#pragma once

#include <cstdint>

#include "Platform/Message.h"
#include "Platform/ServiceMessages.h"

// The window messages of the controller service. The numbers are fixed: the show state and
// the audio player's worker post some of them.
namespace Controller {

// To the worker ("USBControllerWindow").
inline constexpr std::uint32_t WM_USB_QUIT = 0x540;  // posted
// Sent; lParam: const std::vector<std::string>* of candidate port paths, lent for the call.
// A ConnectResult.
inline constexpr std::uint32_t WM_USB_CONNECT = 0x541;
// Sent. 1 when the device confirmed its shutdown sequence (it acknowledged the requests after
// the disarm and did not report itself armed), 0 when it did not or no port was open.
inline constexpr std::uint32_t WM_USB_DISCONNECT = 0x542;
// Sent; lParam: DeviceInfo* to fill, lent for the call. 1 on success.
inline constexpr std::uint32_t WM_USB_GET_INFO = 0x543;
// Sent; lParam: module number. The continuity word, -1 no answer, -2 the request failed.
inline constexpr std::uint32_t WM_USB_CHECK_MODULE = 0x545;
// Sent; lParam: CompiledProject* that the worker owns from then on, or 0 to unload;
// wParam: the look-ahead in milliseconds (0: unbounded).
inline constexpr std::uint32_t WM_USB_LOAD = 0x547;
inline constexpr std::uint32_t WM_USB_TRANSPORT = 0x548;  // posted; lParam 0 play, 1 pause, 2 stop
inline constexpr std::uint32_t WM_USB_LOCATE = 0x549;     // posted; lParam: packed BCD timecode
// Posted by the audio player's worker; wParam: sample rate; lParam: position in samples.
inline constexpr std::uint32_t WM_USB_AUDIO_TICK = Platform::kMessageAudioClockTick;
inline constexpr std::uint32_t WM_USB_AUDIO_RESYNC = Platform::kMessageAudioClockResync;
inline constexpr std::uint32_t WM_USB_RESET_STATES = 0x54C;   // posted
inline constexpr std::uint32_t WM_USB_SELECT_GROUP = 0x54D;   // posted; lParam: group key
inline constexpr std::uint32_t WM_USB_SET_PYRO_LINK = 0x54E;  // posted; lParam: link byte
// wParam: channel byte, 0x81 to disarm; lParam: const std::uint8_t[16] module mask or 0.
inline constexpr std::uint32_t WM_USB_ARM = 0x54F;
// Sent; wParam: number of words; lParam: const std::uint32_t* words, lent. 1 when acknowledged.
inline constexpr std::uint32_t WM_USB_EXECUTE = 0x550;

// To the front ("LocalUSBControllerWindow"), all posted.
inline constexpr std::uint32_t WM_CTRL_WORKER_WINDOW = 0x580;  // wParam: worker window
// wParam: 1 connected, 0 not; lParam: with 0, the LinkFault that closed the port.
inline constexpr std::uint32_t WM_CTRL_CONNECTED = 0x581;
// lParam: Project::IOperation* that the front hands to the project.
inline constexpr std::uint32_t WM_CTRL_OPERATION = 0x582;
inline constexpr std::uint32_t WM_CTRL_TIMECODE = 0x583;  // lParam: packed BCD timecode
inline constexpr std::uint32_t WM_CTRL_STATUS = 0x584;    // lParam: status word
inline constexpr std::uint32_t WM_CTRL_GROUP = 0x585;     // lParam: group key
inline constexpr std::uint32_t WM_CTRL_EMULATE = 0x586;   // lParam: command word
// wParam: module number; lParam: continuity word or -1.
inline constexpr std::uint32_t WM_CTRL_MODULE_REPORT = 0x587;

// What WM_USB_CONNECT answers.
enum ConnectResult : int {
    CONNECT_FAILED = 0,  // no device answered
    CONNECT_OK = 1,
    // A device answered but still reported itself armed after the disarm: the port was
    // closed again, nothing was loaded.
    CONNECT_STILL_ARMED = 2,
};

// Why the worker closed the port on its own.
enum LinkFault : int {
    LINK_CLOSED = 0,      // closed on request, or the line hung up or a write failed
    LINK_SILENT = 1,      // the device stopped answering: nothing heard for 2 s
    LINK_IMPOSSIBLE = 2,  // the device sent reports that cannot be true, repeatedly
};

// The device status word.
inline constexpr int STATUS_PYRO_ARMED = 0x01;
inline constexpr int STATUS_DEADMAN_HELD = 0x02;
inline constexpr int STATUS_PLAYING = 0x04;
inline constexpr int STATUS_PAUSED = 0x08;
inline constexpr int STATUS_STOPPED = 0x10;
inline constexpr int STATUS_DMX_ARMED = 0x20;
inline constexpr int STATUS_DEADMAN_OVERRIDDEN = 0x40;

// The values of the device-info reply: byte 0, byte 1, bytes 2-3 and bytes 4-5.
struct DeviceInfo {
    int values[4] = {0, 0, 0, 0};
};

}  // namespace Controller
