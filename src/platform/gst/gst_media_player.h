// The media player `music` on a GStreamer playbin, audio only.
//
// Everything is polled: playState(), currentPositionSeconds() and
// durationSeconds() read the pipeline's bus without blocking and act on the end
// of the stream and on errors there. No GLib main loop is needed.
#pragma once

#include <chrono>
#include <string>

#include "platform/media_player.h"

// The GStreamer types, declared the same way as in <gst/gst.h>, so that the
// users of this header do not pull in the GStreamer headers.
typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstMessage GstMessage;

namespace vollo {

class GstMediaPlayer final : public MediaPlayer {
  public:
    // How long setFileName waits for a file to be ready to play: 2 seconds
    // (more in sanitizer builds, which run everything several times slower).
    static std::chrono::milliseconds defaultOpenTimeout();

    // Calls gst_init unless the program already did. The audio goes to the
    // desktop's default sink, or to the sink described by the environment
    // variable VOLLO_AUDIO_SINK (e.g. "fakesink sync=true").
    explicit GstMediaPlayer(std::chrono::milliseconds openTimeout = defaultOpenTimeout());
    ~GstMediaPlayer() override;
    GstMediaPlayer(const GstMediaPlayer&) = delete;
    GstMediaPlayer& operator=(const GstMediaPlayer&) = delete;

    std::string fileName() const override;
    // Blocks until the file is ready to play, at most the open timeout.
    void setFileName(const std::string& path) override;

    void play() override;
    void pause() override;
    void stop() override;

    double currentPositionSeconds() override;
    void setCurrentPositionSeconds(double seconds) override;
    double durationSeconds() override;
    int playState() override;

    int volume() const override;
    void setVolume(int hundredthsOfDecibel) override;

    // The linear gain for an attenuation in hundredths of a decibel:
    // 10^(v/2000), 0 for -10000 and below, at most 1.
    static double linearGain(int hundredthsOfDecibel);

    // The message of the last error the pipeline reported, "" if none since the
    // file was opened.
    std::string lastError() const { return lastError_; }

    // For tests: the volume the pipeline was given, and the pipeline itself.
    double linearVolumeForTest() const;
    GstElement* pipelineForTest() const { return playbin_; }

  private:
    enum class Media {
        None,         // nothing opened yet
        Failed,       // the file could not be opened or decoded
        Ready,        // prerolled, can play
        NeedsReload,  // an error stopped playback; the next play() opens the file again
    };

    void createPipeline();
    void abandonPipeline();
    bool load();
    void unload();
    void pollBus();
    void handleMessage(GstMessage* message);
    void reachEnd();
    bool seek(double seconds);
    bool queryPosition(double& seconds) const;
    void refreshDuration();
    void applyVolume();

    const std::chrono::milliseconds openTimeout_;
    GstElement* playbin_ = nullptr;
    GstBus* bus_ = nullptr;
    GstElement* audioSink_ = nullptr;  // owned by playbin_
    std::string fileName_;
    std::string uri_;
    std::string lastError_;
    Media media_ = Media::None;
    int state_ = NothingOpened;
    int volume_ = 0;
    double duration_ = 0.0;
    bool durationDirty_ = false;
    // The position while not playing, and while a seek is being carried out;
    // while playing, the last position the pipeline reported.
    double held_ = 0.0;
    // A flushing seek was sent and the pipeline has not finished it yet.
    bool seekPending_ = false;
};

}  // namespace vollo
