// What one poll of the player costs: playState() + currentPositionSeconds() +
// durationSeconds(), the three calls the playback timer makes each tick.
//
//   VOLLO_AUDIO_SINK="fakesink sync=true" ./bench_gst_poll
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/gst/gst_media_player.h"
#include "test_media.h"

namespace {

// Nanoseconds a poll, the median of `batches` batches of `polls` polls.
double timePolls(vollo::GstMediaPlayer& player, int batches, int polls) {
    std::vector<double> perPoll;
    double sink = 0.0;
    for (int b = 0; b < batches; ++b) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < polls; ++i) {
            sink += player.playState();
            sink += player.currentPositionSeconds();
            sink += player.durationSeconds();
        }
        const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
        perPoll.push_back(spent.count() / polls);
    }
    std::sort(perPoll.begin(), perPoll.end());
    if (sink < 0) {
        std::puts("");  // keeps the calls from being optimised away
    }
    return perPoll[perPoll.size() / 2];
}

}  // namespace

int main() {
    setenv("VOLLO_AUDIO_SINK", "fakesink sync=true", 0);
    vollo::testmedia::TempDir dir;
    const std::string path = dir.file("bench.wav");
    vollo::testmedia::writeWav(path, 20.0);

    vollo::GstMediaPlayer player;
    player.setFileName(path);
    if (player.durationSeconds() <= 0) {
        std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(), player.lastError().c_str());
        return 1;
    }
    std::printf("stopped: %8.0f ns a poll\n", timePolls(player, 21, 20000));
    player.play();
    std::printf("playing: %8.0f ns a poll\n", timePolls(player, 21, 20000));
    player.pause();
    std::printf("paused:  %8.0f ns a poll\n", timePolls(player, 21, 20000));
    return player.playState() == vollo::MediaPlayer::Paused ? 0 : 1;
}
