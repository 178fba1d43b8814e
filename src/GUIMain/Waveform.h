#pragma once

#include <QBrush>
#include <array>
#include <memory>
#include <string>

#include "Audio/AudioPlayer.h"
#include "GUI/D2DComponent.h"
#include "GUIMain/WaveformColumns.h"
#include "Platform/MessageWindow.h"

namespace GUIMain {

// The soundtrack under the cues, one column per pixel, as the audio player's monitor worker
// analyses it: loudness mirrored about the middle line, split by colour into five frequency
// bands from the bass (red) to the highs (blue).
//
// The columns come over from the last view when the view changes, and every 200 ms the
// columns that are not exact are asked for in one batch; the worker answers to the
// waveform's own message window on the main thread. No audio is read here.
class Waveform : public GUI::D2DComponent, public Audio::AudioPlayer::Listener {
public:
    static constexpr int kRequestTimer = 1;
    static constexpr int kRequestPeriodMs = 200;

    Waveform() = default;
    ~Waveform() override;

    std::wstring getWindowClassName() const override { return L"Waveform"; }
    void onCreate() override;
    void onDestroy() override;
    std::intptr_t handleMessage(GUI::Message& message) override;
    void draw(GUI::RenderTarget& target) override;

    // The timeline's view moved (or the width changed).
    void setView(double start, double scale, int width);
    // Sends the batch of requests for the columns that are not exact, when there are any
    // and the view changed since the last batch (the timer's work).
    void requestColumns();
    // Starts the batch timer unless it runs; it stops itself when nothing is left to ask.
    void scheduleRequests();

    const WaveformColumns& columns() const { return columns_; }
    // Where the monitor worker answers.
    Platform::WindowHandle getRequesterWindow() const;

    // Audio::AudioPlayer::Listener: another track or timing makes every column stale.
    void onTrackChanged() override;
    void onTimingChanged() override;

    // Draws the columns into `painter` over `height` pixels; shared with the benchmark.
    static void drawColumns(QPainter& painter, const std::vector<WaveformColumn>& columns,
                            int height);

private:
    std::int64_t handleAnswer(const Platform::Message& message);
    // Timeline frames per second of the track.
    double sampleRate() const;

    Audio::AudioPlayer* player_ = nullptr;
    WaveformColumns columns_;
    std::unique_ptr<Platform::MessageWindow> answers_;
    bool requestTimerRunning_ = false;
};

}  // namespace GUIMain
