// The simulated media player of the scenario runner: a virtual clock, and a
// table of the files it can play with their lengths. Every other file cannot
// be played.
#pragma once

#include <map>
#include <string>

#include "platform/media_player.h"

namespace vollo::scenario {

class SimulatedPlayer : public MediaPlayer {
  public:
    // The file at this absolute path plays for seconds.
    void addMedia(const std::string& path, double seconds) { media_[path] = seconds; }
    void forgetMedia(const std::string& path) { media_.erase(path); }

    // The open file reaches its end.
    void end();
    // The clock moves on; while playing the position moves with it.
    void advance(double seconds);

    std::string fileName() const override { return fileName_; }
    void setFileName(const std::string& path) override;
    void play() override;
    void pause() override;
    void stop() override;
    double currentPositionSeconds() override { return position_ < 0 ? 0.0 : position_; }
    void setCurrentPositionSeconds(double seconds) override;
    double durationSeconds() override { return duration_; }
    int playState() override { return state_; }
    int volume() const override { return volume_; }
    void setVolume(int hundredthsOfDecibel) override { volume_ = hundredthsOfDecibel; }

  private:
    void reachEnd();

    std::map<std::string, double> media_;
    std::string fileName_;
    bool playable_ = false;
    int state_ = NothingOpened;
    double duration_ = 0;
    double position_ = 0;
    int volume_ = 0;
};

}  // namespace vollo::scenario
