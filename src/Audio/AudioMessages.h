#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Platform/Message.h"
#include "Platform/ServiceMessages.h"

// The audio player's window messages. The numbers are fixed: other services (the controller's
// worker, the timeline) post and receive some of them.
namespace Audio {

// To both workers.
inline constexpr std::uint32_t kMessageQuit = 0x440;
// Sent to both workers; lParam: a const std::wstring* path, lent for the call.
inline constexpr std::uint32_t kMessageLoad = 0x441;
// The monitor to itself: analyse the next batch of waveform columns.
inline constexpr std::uint32_t kMessageAnalysisContinue = 0x442;
// To the output worker.
inline constexpr std::uint32_t kMessagePlay = 0x443;
inline constexpr std::uint32_t kMessagePause = 0x444;
// wParam: 0 the stop command, 1 return to the offset.
inline constexpr std::uint32_t kMessageStop = 0x445;
// To both workers; lParam: the audio offset in timeline frames.
inline constexpr std::uint32_t kMessageOffset = 0x446;
// Sent to the output worker; wParam 0: query, 1: set to lParam. Returns the position.
inline constexpr std::uint32_t kMessagePosition = 0x447;
// wParam: the monitor's window.
inline constexpr std::uint32_t kMessageMonitorWindow = 0x448;
// To the front, which forwards it to the monitor; lParam: an AnalysisRequest* that the
// receiver owns.
inline constexpr std::uint32_t kMessageAnalysisRequest = 0x449;
// lParam: the controller worker's window (its value), or 0 to stop the clock ticks.
inline constexpr std::uint32_t kMessageControllerWindow = Platform::kMessageAudioClockTarget;
// lParam: the slow-down factor (0 counts as 1).
inline constexpr std::uint32_t kMessageSpeed = 0x44B;
// The output worker to itself around a device reset; wParam 1 / 0.
inline constexpr std::uint32_t kMessageResetting = 0x480;

// To the front (and, where noted, the monitor).
inline constexpr std::uint32_t kMessageOutputReady = 0x4C0;     // wParam: output window
inline constexpr std::uint32_t kMessageState = 0x4C1;           // wParam: state; + monitor
inline constexpr std::uint32_t kMessageTrackLoaded = 0x4C2;     // wParam: rate; lParam: frames
inline constexpr std::uint32_t kMessagePositionReport = 0x4C3;  // wParam: rate; lParam: pos.
inline constexpr std::uint32_t kMessageFormatChanged = 0x4C4;   // wParam: rate; lParam: frames
inline constexpr std::uint32_t kMessageMonitorReady = 0x500;    // wParam: monitor window
inline constexpr std::uint32_t kMessageLevels = 0x501;          // lParam: left << 16 | right
// Sent by the monitor to the requester; wParam: generation; lParam: an AnalysisBatch*, lent.
inline constexpr std::uint32_t kMessageAnalysisResults = 0x502;

// Posted by a wave-out to its owner when a buffer finished; wParam: the buffer's ticket,
// lParam: the WaveBuffer*.
inline constexpr std::uint32_t kMessageWaveOutDone = 0x3BD;

// To the controller service's worker: wParam: output rate; lParam: timeline position.
inline constexpr std::uint32_t kMessageControllerTick = Platform::kMessageAudioClockTick;
inline constexpr std::uint32_t kMessageControllerResync = Platform::kMessageAudioClockResync;

// One waveform column asked for: a timeline position (frames) and the requester's tag.
struct AnalysisPair {
    std::int64_t position = 0;
    std::int64_t tag = 0;
};

struct AnalysisRequest {
    Platform::WindowHandle requester;
    std::int64_t generation = 0;
    std::vector<AnalysisPair> pairs;
};

// The five bands of one column as cumulative shares of its loudness: bands[4] is the
// loudness itself (0 for silence, about 1 for a full-scale tone).
struct AnalysisResult {
    std::int64_t position = 0;
    std::array<float, 5> bands{};
    std::int64_t tag = 0;
};

struct AnalysisBatch {
    std::size_t count = 0;
    const AnalysisResult* results = nullptr;

    // The batch a kMessageAnalysisResults message lends; valid during its handler only.
    static const AnalysisBatch& of(const Platform::Message& message)
    {
        return *reinterpret_cast<const AnalysisBatch*>(message.lParam);
    }
};

}  // namespace Audio
