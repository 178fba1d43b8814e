#include "Audio/MonitorWorker.h"

#include <algorithm>
#include <utility>

#include "Platform/MessageWindow.h"

namespace Audio {

namespace {

std::uint64_t reverseBits(std::uint64_t value, int bits)
{
    std::uint64_t result = 0;
    for (int i = 0; i < bits; ++i) {
        result = (result << 1) | ((value >> i) & 1);
    }
    return result;
}

}  // namespace

MonitorWorker::MonitorWorker(Platform::WindowHandle front, const Platform::Clock& clock)
    : clock_(clock), front_(front), frames_(2 * WaveformAnalyzer::kFrames)
{
    results_.reserve(kBatch);
}

MonitorWorker::~MonitorWorker() = default;

void MonitorWorker::run(std::promise<Platform::WindowHandle>& ready)
{
    Platform::MessageQueue queue(clock_);
    Platform::MessageWindow window([this](const Platform::Message& m) { return handle(m); });
    queue_ = &queue;
    window_ = window.handle();
    ready.set_value(window_);
    Platform::post(front_, kMessageMonitorReady, window_.value());
    queue.run();
    work_.clear();
    reader_.reset();
    queue_ = nullptr;
}

int MonitorWorker::levelOf(std::int64_t sumOfSquares)
{
    return static_cast<int>(static_cast<double>(sumOfSquares) * (1.0 / 8388608.0) + 0.5);
}

std::int64_t MonitorWorker::handle(const Platform::Message& m)
{
    switch (m.code) {
        case kMessageQuit:
            work_.clear();
            Platform::postQuit();
            return 0;
        case kMessageLoad: load(*reinterpret_cast<const std::wstring*>(m.lParam)); return 0;
        case kMessageOffset: offset_ = m.lParam; return 0;
        case kMessageState: setState(static_cast<int>(m.wParam)); return 0;
        case kMessagePositionReport: measureLevels(m.lParam); return 0;
        case kMessageAnalysisRequest:
            takeRequest(
                std::unique_ptr<AnalysisRequest>(reinterpret_cast<AnalysisRequest*>(m.lParam)));
            return 0;
        case kMessageAnalysisContinue: analyseBatch(); return 0;
        default: return 0;
    }
}

void MonitorWorker::load(const std::wstring& path)
{
    reader_.reset();
    lastLevelPosition_.reset();
    auto reader = std::make_unique<FileIO::WaveFileReader>();
    if (!path.empty() && reader->open(path)) {
        reader_ = std::move(reader);
    }
}

void MonitorWorker::setState(int state)
{
    state_ = state;
    if (state_ != 2) {
        // Otherwise the meter would keep the last reading of the music once it stopped.
        silenceLevels();
    }
}

void MonitorWorker::measureLevels(std::int64_t position)
{
    if (state_ != 2 || !reader_) {
        silenceLevels();
        return;
    }
    if (lastLevelPosition_ == position) {
        return;
    }
    lastLevelPosition_ = position;
    const std::int64_t frameCount = reader_->getFrameCount();
    reader_->setStreamPosition(
        std::min(frameCount, position - offset_ - static_cast<std::int64_t>(kLevelFrames / 2)));
    reader_->readStream(frames_.data(), kLevelFrames);
    std::int64_t left = 0;
    std::int64_t right = 0;
    for (std::size_t i = 0; i < kLevelFrames; ++i) {
        const std::int64_t l = frames_[2 * i];
        const std::int64_t r = frames_[2 * i + 1];
        left += l * l;
        right += r * r;
    }
    const std::int64_t levels = (static_cast<std::int64_t>(levelOf(left)) << 16) |
                                static_cast<std::int64_t>(levelOf(right));
    if (levels != lastLevels_) {
        Platform::post(front_, kMessageLevels, 0, levels);
        lastLevels_ = levels;
    }
}

void MonitorWorker::silenceLevels()
{
    if (lastLevels_ != 0) {
        Platform::post(front_, kMessageLevels, 0, 0);
        lastLevels_ = 0;
    }
    lastLevelPosition_.reset();
}

void MonitorWorker::takeRequest(std::unique_ptr<AnalysisRequest> request)
{
    if (request->generation < generation_) {
        return;
    }
    if (request->generation > generation_) {
        work_.clear();
    }
    const std::vector<AnalysisPair>& pairs = request->pairs;
    if (pairs.empty()) {
        return;
    }
    requester_ = request->requester;
    generation_ = request->generation;
    // The last pair first, then the others in bit-reversed order of their index, so the
    // first results spread over the whole range and the display fills in coarse to fine.
    work_.push_back(pairs.back());
    const std::uint64_t rest = pairs.size() - 1;
    int bits = 16;
    while (bits < 63 && (std::uint64_t{1} << bits) < rest) {
        ++bits;
    }
    if (rest > 0) {
        for (std::uint64_t i = 0; i < (std::uint64_t{1} << bits); ++i) {
            const std::uint64_t index = reverseBits(i, bits);
            if (index < rest) {
                work_.push_back(pairs[index]);
            }
        }
    }
    scheduleBatch();
}

void MonitorWorker::scheduleBatch()
{
    if (!batchPosted_ && !work_.empty()) {
        batchPosted_ = Platform::post(window_, kMessageAnalysisContinue);
    }
}

void MonitorWorker::analyseBatch()
{
    batchPosted_ = false;
    results_.clear();
    while (!work_.empty() && results_.size() < kBatch) {
        const AnalysisPair pair = work_.front();
        work_.pop_front();
        results_.push_back(analyse(pair));
        if (queue_->hasPending()) {
            break;  // messages first; the rest follows in the next batch
        }
    }
    if (!results_.empty()) {
        const AnalysisBatch batch{results_.size(), results_.data()};
        const std::optional<std::int64_t> answered = Platform::send(
            requester_, kMessageAnalysisResults, static_cast<std::uint64_t>(generation_),
            reinterpret_cast<std::int64_t>(&batch));
        if (!answered) {
            work_.clear();  // the requester is gone
        }
    }
    scheduleBatch();
}

AnalysisResult MonitorWorker::analyse(const AnalysisPair& pair)
{
    AnalysisResult result;
    result.position = pair.position;
    result.tag = pair.tag;
    if (!reader_) {
        return result;
    }
    const std::int64_t frameCount = reader_->getFrameCount();
    reader_->setStreamPosition(std::min(
        frameCount,
        pair.position - offset_ - static_cast<std::int64_t>(WaveformAnalyzer::kFrames / 2)));
    reader_->readStream(frames_.data(), WaveformAnalyzer::kFrames);
    result.bands = analyzer_.analyse(frames_.data());
    return result;
}

}  // namespace Audio
