// One tick of the main timer while a song plays: every step reads the
// controls and the player afresh, as the tick does 64 times a second.
#include <benchmark/benchmark.h>

#include "app/application.h"
#include "app/main_window.h"
#include "platform/media_player.h"
#include "platform/text.h"

namespace {

// A player that is always playing, its position moving a little on each read.
class PlayingPlayer : public vollo::MediaPlayer {
  public:
    std::string fileName() const override { return "/music/song.mp3"; }
    void setFileName(const std::string&) override {}
    void play() override {}
    void pause() override {}
    void stop() override {}
    double currentPositionSeconds() override { return position_ += 0.015; }
    void setCurrentPositionSeconds(double seconds) override { position_ = seconds; }
    double durationSeconds() override { return 1e9; }
    int playState() override { return Playing; }
    int volume() const override { return 0; }
    void setVolume(int) override {}

  private:
    double position_ = 0;
};

void BM_TickWhilePlaying(benchmark::State& state) {
    vollo::initLocale();
    PlayingPlayer player;
    vollo::Services services;
    services.music = &player;
    vollo::Application app(services, "/nonexistent-vollo-bench");
    vollo::FrmMain& main = app.frmMain();
    main.appendToPlaylist("song", "/music/song.mp3");
    main.currentSong = 0;
    for (auto _ : state) {
        app.forms().dispatch([&] { main.mainTimer.tick(); });
    }
    benchmark::DoNotOptimize(main.lblSongTime.caption());
}
BENCHMARK(BM_TickWhilePlaying);

}  // namespace

BENCHMARK_MAIN();
