// The media player `music`: one open file at a time, polled by the playback
// controller. Implementations: GStreamer (src/platform/gst) in the program, a
// simulated player with a virtual clock in the scenario runner.
#pragma once

#include <string>

namespace vollo {

class MediaPlayer {
  public:
    // PlayState values.
    static constexpr int Stopped = 0;  // stopped, or the end of the file was reached
    static constexpr int Paused = 1;
    static constexpr int Playing = 2;
    static constexpr int NothingOpened = 6;

    virtual ~MediaPlayer() = default;

    // "" until the first write; afterwards what was written last.
    virtual std::string fileName() const = 0;
    // Opens the file, stopped at position 0. A file that cannot be played leaves
    // the player stopped with Duration 0.
    virtual void setFileName(const std::string& path) = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;

    virtual double currentPositionSeconds() = 0;
    virtual void setCurrentPositionSeconds(double seconds) = 0;
    // Length of the open file; below 1 means no length is known.
    virtual double durationSeconds() = 0;
    virtual int playState() = 0;

    // Hundredths of a decibel of attenuation: 0 loudest, -10000 silent.
    virtual int volume() const = 0;
    virtual void setVolume(int hundredthsOfDecibel) = 0;
};

}  // namespace vollo
