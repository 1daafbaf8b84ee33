#include "simulated_player.h"

namespace vollo::scenario {

void SimulatedPlayer::reachEnd() {
    state_ = Stopped;
    position_ = 0;
}

void SimulatedPlayer::end() {
    if (state_ != NothingOpened) {
        reachEnd();
    }
}

void SimulatedPlayer::advance(double seconds) {
    if (state_ != Playing) {
        return;
    }
    position_ += seconds;
    if (position_ >= duration_) {
        reachEnd();
    }
}

void SimulatedPlayer::setFileName(const std::string& path) {
    fileName_ = path;
    const auto it = media_.find(path);
    playable_ = it != media_.end();
    duration_ = playable_ ? it->second : 0.0;
    position_ = 0;
    state_ = Stopped;
}

void SimulatedPlayer::play() {
    if (state_ == NothingOpened || !playable_) {
        return;
    }
    if (position_ >= duration_) {
        reachEnd();
        return;
    }
    state_ = Playing;
}

void SimulatedPlayer::pause() {
    if (state_ == Playing) {
        state_ = Paused;
    }
}

void SimulatedPlayer::stop() {
    if (state_ != NothingOpened) {
        state_ = Stopped;
    }
}

void SimulatedPlayer::setCurrentPositionSeconds(double seconds) {
    if (state_ == Playing && seconds >= duration_) {
        reachEnd();
        return;
    }
    position_ = seconds < 0 ? 0 : seconds;
}

}  // namespace vollo::scenario
