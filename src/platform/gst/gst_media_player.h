// The media player `music` on a GStreamer playbin, audio only.
//
// Everything is polled: playState(), currentPositionSeconds() and
// durationSeconds() read the pipeline's bus without blocking and act on the end
// of the stream and on errors there. No GLib main loop is needed.
//
// No call holds up its caller for long: an open waits at most readyWait() for
// the file to be ready, and goes on getting ready while the caller polls; a
// length the file does not tell up front is measured in the background.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/gst/serial_worker.h"
#include "platform/media_player.h"

// The GStreamer types, declared the same way as in <gst/gst.h>, so that the
// users of this header do not pull in the GStreamer headers.
typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstMessage GstMessage;

namespace vollo {

class GstMediaPlayer final : public MediaPlayer {
  public:
    // How long a file may take to be ready to play before it counts as one
    // that cannot be played: 2 seconds (more in sanitizer builds, which run
    // everything several times slower).
    static std::chrono::milliseconds defaultOpenTimeout();
    // How long setFileName itself waits for that, at most: 0.2 seconds
    // (scaled like the open timeout in sanitizer builds).
    static std::chrono::milliseconds readyWait();

    // Calls gst_init unless the program already did. The audio goes to the
    // desktop's default sink, or to the sink described by the environment
    // variable VOLLO_AUDIO_SINK (e.g. "fakesink sync=true"). A file whose
    // length is still unknown when the background measurement has run for
    // `measureLimit` (0: five open timeouts) cannot be played.
    explicit GstMediaPlayer(std::chrono::milliseconds openTimeout = defaultOpenTimeout(),
                            std::chrono::milliseconds measureLimit = std::chrono::milliseconds(0),
                            gst::SerialWorker::ThreadStarter startThread = nullptr);
    // Waits for the pipelines it handed to its worker to be taken down.
    ~GstMediaPlayer() override;
    GstMediaPlayer(const GstMediaPlayer&) = delete;
    GstMediaPlayer& operator=(const GstMediaPlayer&) = delete;

    std::string fileName() const override;
    // Only an ordinary file (or a link to one) is opened.
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

    // The master gain given to the MIDI synthesiser: a velocity-100 C-major
    // chord peaks at 0.34 of full scale, recorded (at the synthesiser's own
    // default, 0.2, it peaked at 0.057, 16 dB quieter). A dense piece is kept
    // under full scale by a limiter (gst::PeakLimiter): all sixteen channels
    // striking chords at once peak at 0.89 instead of clipping.
    static constexpr double midiGain = 1.2;

    // For tests: the volume the pipeline was given, and the pipeline itself.
    double linearVolumeForTest() const;
    GstElement* pipelineForTest() const { return playbin_; }

  private:
    enum class Media {
        None,         // nothing opened yet
        Failed,       // the file could not be opened or decoded
        Opening,      // still getting ready; given up at openDeadline_
        Ready,        // prerolled, can play
        NeedsReload,  // an error stopped playback; the next play() opens the file again
    };
    struct Measurement;

    // GStreamer and the pipeline are set up when the first file is opened: a
    // program that only lists its library never pays for them.
    void ensurePipeline();
    void createPipeline();
    void abandonPipeline();
    bool load();
    void unload();
    void becomeReady();
    void fail(const std::string& why);
    void update();
    void pollBus();
    void takeMeasurement();
    void handleMessage(GstMessage* message);
    void reachEnd();
    bool seek(double seconds);
    bool queryPosition(double& seconds) const;
    void refreshDuration();
    void applyVolume();

    const std::chrono::milliseconds openTimeout_;
    const std::chrono::milliseconds measureLimit_;
    std::chrono::steady_clock::time_point openDeadline_;
    bool pipelineTried_ = false;
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
    bool durationMeasured_ = false;  // duration_ is the measured length, not an estimate
    std::shared_ptr<Measurement> measurement_;
    // The position while not playing, and while a seek is being carried out;
    // while playing, the last position the pipeline reported.
    double held_ = 0.0;
    // Pipelines whose threads are still busy are taken down here, one at a
    // time; lengths are measured on the other.
    gst::SerialWorker teardown_;
    gst::SerialWorker measurer_;
};

}  // namespace vollo
