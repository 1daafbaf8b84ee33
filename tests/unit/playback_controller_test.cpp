// The playback controller driven through the main window's handlers with a
// simulated player: the count of failed starts, a player whose every call
// fails, and the shuffled rule's seeding and draws.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <stdexcept>

#include <unistd.h>

#include "app/application.h"
#include "app/main_window.h"
#include "platform/media_player.h"
#include "platform/services.h"
#include "playback/playback_controller.h"

namespace vollo {
namespace {

// The simulated player's rules: a known file plays for its length, any other
// path cannot be played; the end rewinds to 0.
class SimPlayer : public MediaPlayer {
  public:
    std::map<std::string, double> lengths;
    bool failing = false;  // every operation throws

    std::string fileName() const override {
        check();
        return file_;
    }
    void setFileName(const std::string& path) override {
        check();
        file_ = path;
        state_ = Stopped;
        position_ = 0;
        const auto it = lengths.find(path);
        duration_ = it == lengths.end() ? 0 : it->second;
        playable_ = it != lengths.end();
    }
    void play() override {
        check();
        if (state_ == NothingOpened || !playable_) {
            return;
        }
        state_ = Playing;
        if (position_ >= duration_) {
            end();
        }
    }
    void pause() override {
        check();
        if (state_ == Playing) {
            state_ = Paused;
        }
    }
    void stop() override {
        check();
        if (state_ != NothingOpened) {
            state_ = Stopped;
        }
    }
    double currentPositionSeconds() override {
        check();
        return position_;
    }
    void setCurrentPositionSeconds(double seconds) override {
        check();
        position_ = seconds < 0 ? 0 : seconds;
        if (state_ == Playing && position_ >= duration_) {
            end();
        }
    }
    double durationSeconds() override {
        check();
        return duration_;
    }
    int playState() override {
        check();
        return state_;
    }
    int volume() const override {
        check();
        return volume_;
    }
    void setVolume(int v) override {
        check();
        volume_ = v;
    }
    void advance(double seconds) {
        if (state_ == Playing) {
            position_ += seconds;
            if (position_ >= duration_) {
                end();
            }
        }
    }

  private:
    void check() const {
        if (failing) {
            throw std::runtime_error("player failed");
        }
    }
    void end() {
        state_ = Stopped;
        position_ = 0;
    }
    std::string file_;
    int state_ = NothingOpened;
    double position_ = 0, duration_ = 0;
    bool playable_ = false;
    int volume_ = 0;
};

class ScriptedRandom : public RandomSource {
  public:
    std::deque<double> queue;
    int seeds = 0;
    void seedFromTime() override { ++seeds; }
    double next() override {
        if (!queue.empty()) {
            const double r = queue.front();
            queue.pop_front();
            return r;
        }
        return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
    }

  private:
    std::mt19937 engine_{7};
};

class PlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("vollo-playback-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        Services services;
        services.music = &player;
        services.random = &random;
        app_ = std::make_unique<Application>(services, dir_.string());
        app_->start({});
        main = &app_->frmMain();
    }
    void TearDown() override {
        app_.reset();
        std::filesystem::remove_all(dir_);
    }
    // A playlist entry; seconds < 0 makes a file the player cannot play.
    void add(const std::string& title, double seconds) {
        const std::string path = dir_.string() + "/" + title + ".mp3";
        if (seconds >= 0) {
            player.lengths[path] = seconds;
        }
        main->appendToPlaylist(title, path);
    }
    bool run(const std::string& handler) {
        return app_->forms().dispatch([&] { main->call(handler); });
    }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            run("mainTimer_Timer");
        }
    }

    SimPlayer player;
    ScriptedRandom random;
    MainWindow* main = nullptr;

  private:
    std::filesystem::path dir_;
    std::unique_ptr<Application> app_;
};

TEST_F(PlaybackTest, APlayableEntryResetsTheCountOfFailedStarts) {
    add("bad1", -1);
    add("good", 10);
    add("bad2", -1);
    main->repeat.setValue(1);
    tick();  // bad1 fails, good starts in the same tick
    EXPECT_EQ(main->currentSong, 1);
    EXPECT_EQ(player.playState(), MediaPlayer::Playing);
    EXPECT_EQ(main->playback().failedStarts(), 0);
    for (int round = 0; round < 3; ++round) {
        player.advance(10);
        tick();  // bad2 fails
        tick();  // the end of the list: repeat starts bad1, which fails
        ASSERT_EQ(main->playback().failedStarts(), 2) << round;
        tick();  // good plays again
        ASSERT_FALSE(main->userStopped) << round;
        ASSERT_EQ(main->currentSong, 1) << round;
        ASSERT_EQ(player.playState(), MediaPlayer::Playing) << round;
    }
}

TEST_F(PlaybackTest, ASingleUnplayableEntryStopsAtTheFirstStart) {
    add("only", -1);
    main->repeat.setValue(1);
    tick();
    EXPECT_EQ(main->currentSong, 0);
    EXPECT_TRUE(main->userStopped);
    EXPECT_EQ(main->lblSongName.caption(), "only ");
    EXPECT_EQ(main->lblSongTime.caption(), "0:00 / 0:00 ");
}

TEST_F(PlaybackTest, HandlersSkipFailingStepsAndNeverThrow) {
    add("a", 100);
    add("b", 100);
    tick();
    ASSERT_EQ(player.playState(), MediaPlayer::Playing);
    main->playList.setSelection({1});
    main->hiddenSongList.assign({});
    player.failing = true;
    // Every player call fails; the control steps around them still run.
    EXPECT_NO_THROW(main->mainTimer_Timer());
    EXPECT_TRUE(main->lblFirstTime.visible());
    EXPECT_TRUE(main->cmdRemove.enabled());
    EXPECT_NO_THROW(main->playback().cmdPlay_Click());
    EXPECT_NO_THROW(main->playback().playList_DblClick());
    EXPECT_EQ(main->currentSong, 1);
    EXPECT_EQ(main->lblSongName.caption(), "b ");
    EXPECT_FALSE(main->userStopped);
    player.failing = false;
    EXPECT_EQ(player.fileName(), main->playListInfo.list(0));  // the open failed, a stays loaded
}

TEST_F(PlaybackTest, TheShuffledRuleSeedsEachTimeAndDrawsOnlyUnplayedEntries) {
    for (const char* title : {"a", "b", "c", "d", "e"}) {
        add(title, 5);
    }
    tick();                     // first start: entry 0, not recorded
    main->shuffle.setValue(1);  // records the playing entry
    ASSERT_EQ(main->shuffleHistory.text(), "00000");
    const int seedsBefore = random.seeds;
    std::set<std::int32_t> played{0};
    for (int i = 0; i < 4; ++i) {
        player.advance(5);
        tick();
        ASSERT_EQ(player.playState(), MediaPlayer::Playing);
        ASSERT_TRUE(played.insert(main->currentSong).second) << "entry drawn twice: " << main->currentSong;
    }
    EXPECT_EQ(random.seeds - seedsBefore, 4);
    EXPECT_EQ(main->shuffleHistory.size(), 5u);
    player.advance(5);
    tick();  // the pass is over, no repeat: stopped with the last song loaded
    EXPECT_TRUE(main->userStopped);
    EXPECT_EQ(main->shuffleHistory.text(), "");
    EXPECT_EQ(main->lblSongName.caption(), main->playList.list(main->currentSong) + " ");
}

}  // namespace
}  // namespace vollo
