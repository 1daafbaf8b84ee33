// The application on the simulated player and recording services, started in
// a folder of its own that is the current directory while a test runs, for the
// unit tests that drive the whole program without a toolkit.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/main_window.h"
#include "app/remote.h"
#include "platform/files.h"
#include "platform/text.h"
#include "playback/playback_controller.h"
#include "scripted_services.h"
#include "simulated_player.h"

namespace vollo::apptest {

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

class CountingRandom : public scenario::QueuedRandom {  // counts seedings
  public:
    void seedFromTime() override { ++seeds; }
    int seeds = 0;
};

// Records what it shows, runs `during` while it waits, then says No.
class WaitingBox : public MessageBoxService {
  public:
    std::function<void()> during;
    std::vector<std::string> shown;
    MsgResult show(const std::string& text, MsgButtons, const std::string& title) override {
        shown.push_back(title + ": " + text);
        if (during) {
            during();
        }
        return MsgResult::No;
    }
};

// Finds the programs in onPath; records the names looked for and the paths started.
class RecordingLauncher : public ProgramLauncher {
  public:
    std::optional<std::string> findOnPath(const std::string& name) override {
        looked.push_back(name);
        const auto it = onPath.find(name);
        return it == onPath.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    bool start(const std::string& path) override {
        tried.push_back(path);
        return startWorks;
    }
    std::map<std::string, std::string> onPath;
    bool startWorks = true;
    std::vector<std::string> looked;
    std::vector<std::string> tried;
};

class ApplicationHarness : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vollo-app-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        previous_ = currentDirectory();
        ASSERT_EQ(::chdir(pattern), 0);
        dir_ = currentDirectory();
        Services services;
        services.music = &player;
        services.random = &random;
        services.messageBox = &box;
        services.process = &process;
        services.launcher = &launcher;
        app_ = std::make_unique<Application>(services, dir_);
        initLocale();
        app_->start({});
        main = &app_->frmMain();
        remote = std::make_unique<ApplicationRemote>(*app_);
    }
    void TearDown() override {
        remote.reset();
        app_.reset();
        EXPECT_EQ(::chdir(previous_.c_str()), 0);
        std::filesystem::remove_all(dir_);
    }
    // Makes an empty file in the folder; its path.
    std::string file(const std::string& name) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path) << "";
        return path;
    }
    void tick() {
        app_->forms().dispatch([&] { main->mainTimer.tick(); });
    }
    void handler(const std::string& name) {
        app_->forms().dispatch([&] { main->call(name); });
    }
    void setFilter(const std::string& text) {
        app_->forms().dispatch([&] { main->txtFilter.setText(text); });
    }
    void playEntry(int i) {
        app_->forms().dispatch([&] { main->playback().playEntry(i); });
    }

    FailingPlayer player;
    CountingRandom random;
    WaitingBox box;
    scenario::RecordingProcess process;
    RecordingLauncher launcher;
    std::unique_ptr<Application> app_;
    MainWindow* main = nullptr;
    std::unique_ptr<ApplicationRemote> remote;
    std::string dir_;

  private:
    std::string previous_;
};

}  // namespace vollo::apptest
