// The playback controller with the scenario runner's simulated player: a
// player whose every call fails, and the shuffled rule's seeding.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <stdexcept>

#include <unistd.h>

#include "app/application.h"
#include "app/main_window.h"
#include "playback/playback_controller.h"
#include "scripted_services.h"
#include "simulated_player.h"

namespace vollo {
namespace {

// The simulated player, whose every call throws while failing is set.
class FailingPlayer : public scenario::SimulatedPlayer {
  public:
    bool failing = false;
    std::string fileName() const override { return check(), SimulatedPlayer::fileName(); }
    void setFileName(const std::string& path) override { check(), SimulatedPlayer::setFileName(path); }
    void play() override { check(), SimulatedPlayer::play(); }
    void pause() override { check(), SimulatedPlayer::pause(); }
    void stop() override { check(), SimulatedPlayer::stop(); }
    double currentPositionSeconds() override { return check(), SimulatedPlayer::currentPositionSeconds(); }
    void setCurrentPositionSeconds(double s) override {
        check(), SimulatedPlayer::setCurrentPositionSeconds(s);
    }
    double durationSeconds() override { return check(), SimulatedPlayer::durationSeconds(); }
    int playState() override { return check(), SimulatedPlayer::playState(); }
    int volume() const override { return check(), SimulatedPlayer::volume(); }
    void setVolume(int v) override { check(), SimulatedPlayer::setVolume(v); }

  private:
    void check() const {
        if (failing) {
            throw std::runtime_error("player failed");
        }
    }
};

class CountingRandom : public scenario::QueuedRandom {
  public:
    void seedFromTime() override { ++seeds; }
    int seeds = 0;
};

class PlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_);
        Services services;
        services.music = &player;
        services.random = &random;
        app_ = std::make_unique<Application>(services, dir_.string());
        app_->start({});
        main = &app_->frmMain();
        add({"a", "b"});
    }
    void add(std::initializer_list<const char*> titles) {
        for (const char* title : titles) {
            player.addMedia(dir_.string() + "/" + title + ".mp3", 5);
            main->appendToPlaylist(title, dir_.string() + "/" + title + ".mp3");
        }
    }
    void TearDown() override {
        app_.reset();
        std::filesystem::remove_all(dir_);
    }
    void tick() {
        app_->forms().dispatch([&] { main->call("mainTimer_Timer"); });
    }

    FailingPlayer player;
    CountingRandom random;
    MainWindow* main = nullptr;

  private:
    std::filesystem::path dir_ =
        std::filesystem::temp_directory_path() / ("vollo-playback-" + std::to_string(::getpid()));
    std::unique_ptr<Application> app_;
};

TEST_F(PlaybackTest, HandlersSkipFailingPlayerStepsAndNeverThrow) {
    tick();
    main->playList.setSelection({1});
    main->hiddenSongList.assign({});
    player.failing = true;
    // Every player call fails; the control steps around them still run.
    tick();  // a handler that threw would fail the test
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
    add({"c", "d", "e"});
    tick();
    main->shuffle.setValue(1);
    const int seedsBefore = random.seeds;
    std::set<std::int32_t> played{0};
    for (int i = 0; i < 4; ++i) {
        player.end();
        tick();
        ASSERT_TRUE(played.insert(main->currentSong).second) << "entry drawn twice: " << main->currentSong;
    }
    EXPECT_EQ(random.seeds - seedsBefore, 4);
}

}  // namespace
}  // namespace vollo
