// The cost of a shuffle draw late in a pass: a 100,000-entry playlist with
// 99,999 entries already played, so exactly one entry can be drawn.
//   BM_DrawLastFree            the draw the player uses
//   BM_DrawLastFreeRejection   baseline: drawing until the free entry comes up
//   BM_DrawHalfPlayed          the draw with half the pass played
//   BM_ShuffleTickLastFree     a whole timer tick that ends a song and draws
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

#include <unistd.h>

#include "app/application.h"
#include "app/main_window.h"
#include "forms/shuffle_history.h"
#include "platform/media_player.h"
#include "platform/services.h"
#include "playback/shuffle_draw.h"

namespace vollo {
namespace {

constexpr std::int32_t kCount = 100000;

class BenchRandom : public RandomSource {
  public:
    void seedFromTime() override {}
    double next() override { return dist_(engine_); }

  private:
    std::mt19937_64 engine_{12345};
    std::uniform_real_distribution<double> dist_{0.0, 1.0};
};

// Every index but one, recorded in a scrambled order.
ShuffleHistory historyWithOneFree(std::int32_t count, std::int32_t free) {
    std::vector<std::int32_t> order;
    order.reserve(static_cast<size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        if (i != free) {
            order.push_back(i);
        }
    }
    std::shuffle(order.begin(), order.end(), std::mt19937(99));
    ShuffleHistory history;
    for (const std::int32_t i : order) {
        history.record(i);
    }
    return history;
}

void BM_DrawLastFree(benchmark::State& state) {
    const ShuffleHistory history = historyWithOneFree(kCount, 73421);
    BenchRandom random;
    for (auto _ : state) {
        const std::int32_t k = drawUnplayed(history, kCount, random);
        if (k != 73421) {
            state.SkipWithError("drew a played entry");
            break;
        }
        benchmark::DoNotOptimize(k);
    }
}
BENCHMARK(BM_DrawLastFree)->Unit(benchmark::kMicrosecond);

void BM_DrawLastFreeRejection(benchmark::State& state) {
    const ShuffleHistory history = historyWithOneFree(kCount, 73421);
    BenchRandom random;
    std::int64_t tries = 0;
    for (auto _ : state) {
        std::int32_t k;
        do {
            k = static_cast<std::int32_t>(scaledIndex(random.next(), kCount));
            ++tries;
        } while (history.contains(k));
        benchmark::DoNotOptimize(k);
    }
    state.counters["tries_per_draw"] =
        static_cast<double>(tries) /
        static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
}
BENCHMARK(BM_DrawLastFreeRejection)->Unit(benchmark::kMicrosecond);

void BM_DrawHalfPlayed(benchmark::State& state) {
    ShuffleHistory history;
    for (std::int32_t i = 0; i < kCount; i += 2) {
        history.record(i);
    }
    BenchRandom random;
    for (auto _ : state) {
        benchmark::DoNotOptimize(drawUnplayed(history, kCount, random));
    }
}
BENCHMARK(BM_DrawHalfPlayed)->Unit(benchmark::kMicrosecond);

// A player that opens and plays every file; the benchmark ends each song.
class BenchPlayer : public MediaPlayer {
  public:
    std::string fileName() const override { return file_; }
    void setFileName(const std::string& path) override {
        file_ = path;
        state = Stopped;
    }
    void play() override { state = Playing; }
    void pause() override {}
    void stop() override { state = Stopped; }
    double currentPositionSeconds() override { return 0; }
    void setCurrentPositionSeconds(double) override {}
    double durationSeconds() override { return 200; }
    int playState() override { return state; }
    int volume() const override { return 0; }
    void setVolume(int) override {}
    int state = NothingOpened;

  private:
    std::string file_;
};

void BM_ShuffleTickLastFree(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / ("vollo-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        BenchPlayer player;
        BenchRandom random;
        Services services;
        services.music = &player;
        services.random = &random;
        Application app(services, dir.string());
        app.start({});
        FrmMain& main = app.frmMain();
        for (std::int32_t i = 0; i < kCount; ++i) {
            main.appendToPlaylist("song " + std::to_string(i), "/music/song " + std::to_string(i) + ".mp3");
        }
        main.mainTimer.tick();  // the first start
        main.shuffle.setValue(1);
        const ShuffleHistory full = historyWithOneFree(kCount, 73421);
        for (auto _ : state) {
            state.PauseTiming();
            main.shuffleHistory = full;
            main.userStopped = false;
            player.state = MediaPlayer::Stopped;  // the song has ended
            state.ResumeTiming();
            main.mainTimer.tick();
            if (main.currentSong != 73421) {
                state.SkipWithError("the tick did not draw the free entry");
                break;
            }
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ShuffleTickLastFree)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vollo

BENCHMARK_MAIN();
