#pragma once

#include <cstdint>
#include <deque>
#include <future>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Audio/AudioMessages.h"
#include "Audio/WaveformAnalyzer.h"
#include "FileIO/WaveFileReader.h"
#include "Platform/Clock.h"
#include "Platform/Message.h"
#include "Platform/MessageQueue.h"

namespace Audio {

// The audio player's monitor worker ("AudioMonitorWindow"): owns a second reader of the
// track and computes, off the main thread, the output levels while playing and the waveform
// columns the timeline asks for.
class MonitorWorker {
public:
    // Columns analysed between two looks at the message queue.
    static constexpr std::size_t kBatch = 128;
    // Frames a level reading covers, centred on the position.
    static constexpr std::size_t kLevelFrames = 256;

    MonitorWorker(Platform::WindowHandle front, const Platform::Clock& clock);
    ~MonitorWorker();
    MonitorWorker(const MonitorWorker&) = delete;
    MonitorWorker& operator=(const MonitorWorker&) = delete;

    // The worker's thread, as OutputWorker::run.
    void run(std::promise<Platform::WindowHandle>& ready);

    // The level of one channel from the sum of its squared samples over kLevelFrames frames:
    // 0 to 32768, where 32768 is full scale.
    static int levelOf(std::int64_t sumOfSquares);

private:
    std::int64_t handle(const Platform::Message& message);

    void load(const std::wstring& path);
    void setState(int state);
    void measureLevels(std::int64_t position);
    void silenceLevels();
    void takeRequest(std::unique_ptr<AnalysisRequest> request);
    void analyseBatch();
    AnalysisResult analyse(const AnalysisPair& pair);
    void scheduleBatch();

    const Platform::Clock& clock_;
    Platform::WindowHandle front_;
    Platform::WindowHandle window_;
    Platform::MessageQueue* queue_ = nullptr;
    std::unique_ptr<FileIO::WaveFileReader> reader_;
    std::int64_t offset_ = 0;
    int state_ = 0;

    std::optional<std::int64_t> lastLevelPosition_;
    std::int64_t lastLevels_ = 0;

    WaveformAnalyzer analyzer_;
    std::int64_t generation_ = std::numeric_limits<std::int64_t>::min();
    Platform::WindowHandle requester_;
    std::deque<AnalysisPair> work_;
    bool batchPosted_ = false;
    std::vector<AnalysisResult> results_;
    std::vector<std::int16_t> frames_;  // stereo frames read for one level or column
};

}  // namespace Audio
