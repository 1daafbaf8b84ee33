// A media player that plays nothing: every file opens stopped with no known
// length. The program uses it when built without GStreamer; tests and
// benchmarks use it where no sound is involved.
#pragma once

#include <string>

#include "platform/media_player.h"

namespace vollo {

class NullMediaPlayer : public MediaPlayer {
  public:
    std::string fileName() const override { return fileName_; }
    void setFileName(const std::string& path) override {
        fileName_ = path;
        state_ = Stopped;
    }
    void play() override {}
    void pause() override {}
    void stop() override {}
    double currentPositionSeconds() override { return 0.0; }
    void setCurrentPositionSeconds(double) override {}
    double durationSeconds() override { return 0.0; }
    int playState() override { return state_; }
    int volume() const override { return volume_; }
    void setVolume(int hundredthsOfDecibel) override { volume_ = hundredthsOfDecibel; }

  private:
    std::string fileName_;
    int state_ = NothingOpened;
    int volume_ = 0;
};

}  // namespace vollo
