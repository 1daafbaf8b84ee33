// The picker's drives; on the application with the simulated player: remote
// requests, a failing player, library lists, the directory picker and the
// About window's launcher.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "about/frm_about.h"
#include "application_harness.h"
#include "library/library_activation.h"
#include "scanned_library.h"
#include "settings/frm_browse.h"

namespace vollo {
namespace {

using Action = RemoteControl::Action;
using Status = RemoteState::Status;
namespace fs = std::filesystem;

TEST(PickerDrives, WhichDriveHoldsAFolderAndWhichFolderADriveShows) {
    // The longest mount point that is a parent folder (a name prefix is none).
    const std::vector<std::string> drives{"/", "/mnt", "/mnt/usb", "/media/disk/"};
    // clang-format off
    const std::pair<const char*, const char*> holding[] = {
        {"/home/me/music", "/"}, {"/", "/"}, {"/mnt", "/mnt"}, {"/mnt/usb", "/mnt/usb"},
        {"/mnt/usb/songs", "/mnt/usb"}, {"/mnt/usb2/songs", "/mnt"}, {"/mntx", "/"},
        {"/media/disk/a", "/media/disk"}, {"relative/path", ""}};
    // clang-format on
    for (const auto& [path, drive] : holding) {
        EXPECT_EQ(driveHolding(path, drives), drive) << path;
    }
    EXPECT_EQ(driveHolding("/home", {"/mnt"}), "");
    // A drive shows the current directory only when it holds it (not "/" for a nested drive's folder).
    // clang-format off
    const std::tuple<const char*, const char*, const char*> shown[] = {
        {"/", "/home/me", "/home/me"}, {"/mnt/usb", "/home/me", "/mnt/usb"},
        {"/mnt/usb", "/mnt/usb/songs", "/mnt/usb/songs"}, {"/", "/mnt/usb/songs", "/"},
        {"/mnt/usb/", "/mnt/usb/songs", "/mnt/usb/songs"}};
    // clang-format on
    for (const auto& [drive, current, folder] : shown) {
        EXPECT_EQ(currentDirectoryOfDrive(drive, current, {"/", "/mnt/usb"}), folder)
            << drive << " " << current;
    }
}

// What the desktop's player controls may offer before anything was loaded: Play,
// Next and Previous once the playlist holds one entry, Pause only with a song.
using RemoteOffers = apptest::ApplicationHarness;
TEST_F(RemoteOffers, PlayNextAndPreviousWithOneEntryPauseOnlyWithASong) {
    for (int entries : {0, 1}) {
        const RemoteState state = remote->state();
        EXPECT_EQ(state.canPlay, entries == 1);
        EXPECT_EQ(state.canGoNext, entries == 1);
        EXPECT_EQ(state.canGoPrevious, entries == 1);
        EXPECT_FALSE(state.canPause);
        main->appendToPlaylist("a", file("a.mp3"));
    }
}

// The application with three songs of 10, 20 and 30 seconds; the first tick started entry 0.
class AppTest : public apptest::ApplicationHarness {
  protected:
    void SetUp() override {
        ApplicationHarness::SetUp();
        for (const char* title : {"a", "b", "c"}) {
            const std::string path = file(std::string(title) + ".mp3");
            player.addMedia(path, 10.0 * (main->playList.listCount() + 1));
            main->appendToPlaylist(title, path);
        }
        tick();
    }
};

TEST_F(AppTest, EachRequestFromEachSituation) {
    struct Case {
        const char* what;
        int entry;      // the entry playing before the request
        bool repeat;    // the Repeat box
        bool stopped;   // the Stop button pressed before the request
        bool paused;    // the Pause button pressed before the request
        Action action;  // the request
        int wantEntry;
        Status wantStatus;
        bool wantUserStopped;
    };
    const Case cases[] = {
        {"Next in the list", 0, false, false, false, Action::Next, 1, Status::Playing, false},
        {"Next at the end", 2, false, false, false, Action::Next, 0, Status::Stopped, true},
        {"Next at the end, repeat", 2, true, false, false, Action::Next, 0, Status::Playing, false},
        {"Next after Stop goes on", 1, false, true, false, Action::Next, 2, Status::Playing, false},
        {"Previous", 2, false, false, false, Action::Previous, 1, Status::Playing, false},
        {"Previous at the first", 0, false, false, false, Action::Previous, 0, Status::Playing, false},
        {"Previous after Stop", 1, false, true, false, Action::Previous, 0, Status::Playing, false},
        {"PlayPause while playing", 1, false, false, false, Action::PlayPause, 1, Status::Paused, false},
        {"PlayPause while paused", 1, false, false, true, Action::PlayPause, 1, Status::Playing, false},
        {"PlayPause after Stop", 1, false, true, false, Action::PlayPause, 1, Status::Playing, false},
        {"Pause", 1, false, false, false, Action::Pause, 1, Status::Paused, false},
        {"Play after Pause", 1, false, false, true, Action::Play, 1, Status::Playing, false},
        {"Stop", 1, false, false, false, Action::Stop, 1, Status::Stopped, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        playEntry(c.entry);
        player.advance(5);
        main->repeat.setValue(c.repeat ? 1 : 0);
        if (c.stopped) {
            handler("cmdStop_Click");
        }
        if (c.paused) {
            handler("cmdPause_Click");
        }
        ASSERT_EQ(remote->act(c.action), RemoteOutcome::Done);
        const RemoteState state = remote->state();
        EXPECT_EQ(main->currentSong, c.wantEntry);
        EXPECT_EQ(state.entry, c.wantEntry);
        EXPECT_EQ(state.title, std::string(1, static_cast<char>('a' + c.wantEntry)));
        EXPECT_EQ(state.status, c.wantStatus);
        EXPECT_EQ(main->userStopped, c.wantUserStopped);
        if (c.action == Action::Previous) {
            EXPECT_EQ(state.positionSeconds, 0);  // the entry starts from its beginning
        }
    }
}

TEST_F(AppTest, VolumeIsTheKnobsPlace) {
    const struct {
        double place;
        double wantPlace;  // the ends snap, as a drop of the knob there does
        int wantVolume;
    } cases[] = {{0.5, 0.5, -2000}, {0.9, 0.9, -660}, {0.1, 0, -10000}, {0, 0, -10000}, {1, 1, 0}, {7, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.place);
        ASSERT_EQ(remote->setVolume(c.place), RemoteOutcome::Done);
        EXPECT_NEAR(remote->state().volume, c.wantPlace, 1e-6);
        EXPECT_EQ(player.volume(), c.wantVolume);
        // The next song starts at the knob's volume.
        remote->act(Action::Next);
        EXPECT_EQ(player.volume(), c.wantVolume);
    }
}

TEST_F(AppTest, ShuffledNextDrawsAndEndsThePassAsTheTimerDoes) {
    ASSERT_EQ(remote->setShuffle(true), RemoteOutcome::Done);  // entry 0 plays: it counts as played
    const int seedsBefore = random.seeds;
    EXPECT_EQ(main->shuffleHistory.text(), "00000");
    random.queue = {0.1, 0.9, 0.5};  // 0 is played already, so 2 and then 1
    for (int want : {2, 1}) {
        EXPECT_TRUE(remote->state().canGoNext);
        remote->act(Action::Next);
        EXPECT_EQ(main->currentSong, want);
    }
    // The pass is complete and repeat is off: Next stops on the song it has.
    EXPECT_FALSE(remote->state().canGoNext);
    remote->act(Action::Next);
    EXPECT_EQ(remote->state().status, Status::Stopped);
    EXPECT_EQ(main->currentSong, 1);
    EXPECT_TRUE(main->userStopped);
    // With repeat a new pass begins.
    ASSERT_EQ(remote->setRepeat(true), RemoteOutcome::Done);
    EXPECT_TRUE(remote->state().canGoNext);
    random.queue = {0.0};
    remote->act(Action::Next);
    EXPECT_EQ(main->currentSong, 0);
    EXPECT_EQ(remote->state().status, Status::Playing);
    EXPECT_EQ(random.seeds - seedsBefore, 4);  // each draw, and the end of the pass, seeds anew
}

TEST_F(AppTest, SeeksAsTheSeekBar) {
    player.advance(4);
    remote->seekBy(3);
    EXPECT_EQ(player.currentPositionSeconds(), 7);
    remote->seekBy(-100);
    EXPECT_EQ(player.currentPositionSeconds(), 0);
    remote->setPosition(6);
    EXPECT_EQ(player.currentPositionSeconds(), 6);
    // Past the end the song ends, and the timer moves on.
    remote->setPosition(11);
    EXPECT_EQ(remote->state().status, Status::Stopped);
    tick();
    EXPECT_EQ(remote->state().entry, 1);
    EXPECT_EQ(remote->state().lengthSeconds, 20);
}

TEST_F(AppTest, OpensOnlyPlayableFiles) {
    const std::string song = file("Song Title.WAV");
    EXPECT_EQ(remote->openFile(song), RemoteOutcome::Done);
    EXPECT_EQ(remote->openFile(file("notes.txt")), RemoteOutcome::Unsupported);
    EXPECT_EQ(remote->openFile(song + ".missing.mp3"), RemoteOutcome::Unsupported);
    ASSERT_EQ(main->playList.listCount(), 4);
    EXPECT_EQ(main->playList.list(3), "Song Title");
    EXPECT_EQ(main->playListInfo.list(3), song);
    EXPECT_EQ(remote->state().entry, 0);  // appending starts nothing
}

TEST_F(AppTest, RequestsWhileAMessageBoxWaitsAreRefused) {
    app_->confirmExit = true;
    std::vector<RemoteOutcome> during;
    box.during = [&] {
        during = {remote->act(Action::Next), remote->setVolume(0), remote->setShuffle(true),
                  remote->act(Action::Quit)};
        EXPECT_EQ(remote->state().entry, 0);  // the state can still be read
    };
    ASSERT_EQ(remote->act(Action::Quit), RemoteOutcome::Done);  // asks, and No keeps the program
    EXPECT_EQ(during, std::vector<RemoteOutcome>(4, RemoteOutcome::Busy));
    EXPECT_EQ(main->currentSong, 0);
    EXPECT_EQ(main->shuffle.value(), 0);
    EXPECT_EQ(remote->state().volume, 1);
    // Without the question Quit ends the program; after that nothing is done.
    app_->confirmExit = false;
    ASSERT_EQ(remote->act(Action::Quit), RemoteOutcome::Done);
    EXPECT_TRUE(process.ended);
    EXPECT_EQ(remote->act(Action::Play), RemoteOutcome::Unsupported);
}

TEST_F(AppTest, HandlersSkipFailingPlayerStepsAndNeverThrow) {
    main->playList.setSelection({1});
    main->hiddenSongList.assign({});
    player.failing = true;
    // Every player call fails; the control steps around them still run.
    handler("mainTimer_Timer");  // a handler that threw would fail the test
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

TEST_F(AppTest, EveryMatchKeepsItsKeyAndTheTableNeverShrinks) {
    std::vector<std::string> titles;
    std::vector<EntryKey> keys;
    for (int i = 0; i < 10050; ++i) {
        titles.push_back(std::string("a").append(fiveDigits(i)));
        keys.push_back({titles.back() + ".mp3", "/m/"});
    }
    for (int i = 0; i < 3; ++i) {
        titles.push_back(std::string("b").append(fiveDigits(i)));
        keys.push_back({titles.back() + ".mp3", "/n/"});
    }
    setLibrary(*main, inMemoryLibrary(titles, keys));

    setFilter("a");
    ASSERT_EQ(main->visibleSongList.listCount(), 10050);
    ASSERT_GE(main->visibleSongListInfo.size(), 10050u);
    EXPECT_EQ(main->visibleSongList.list(10049), "a10049");

    // The last rows of a long view are added with their own paths.
    main->visibleSongList.setSelection({10001, 10049});
    handler("visibleSongList_DblClick");
    ASSERT_EQ(main->playListInfo.listCount(), 5);  // after the fixture's three
    EXPECT_EQ(main->playListInfo.list(3), "/m/a10001.mp3");
    EXPECT_EQ(main->playListInfo.list(4), "/m/a10049.mp3");

    // A shorter view overwrites the first slots only.
    setFilter("B");
    EXPECT_EQ(main->visibleSongList.items(), (std::vector<std::string>{"b00000", "b00001", "b00002"}));
    EXPECT_EQ(main->visibleSongListInfo[2].text(), "b00002.mp3|/n/");
    EXPECT_EQ(main->visibleSongListInfo[10049].text(), "a10049.mp3|/m/");
}

TEST_F(AppTest, TitlesEqualButForCaseKeepRowAndKeyTogether) {
    // In library order: lower-cased title, then lower-cased key, then raw bytes.
    // clang-format off
    setLibrary(*main, inMemoryLibrary({"Song", "SONG", "song", "Song 2", "Zed"},
        {{"Song.mp3", "/a/"}, {"SONG.mp3", "/b/"}, {"song.mp3", "/c/"}, {"Song 2.mp3", "/a/"}, {"Zed.mp3", "/a/"}}));
    // clang-format on
    setFilter("sOnG");
    ASSERT_EQ(main->visibleSongList.items(), (std::vector<std::string>{"Song", "SONG", "song", "Song 2"}));
    main->visibleSongList.setSelection({1, 2, 3});
    handler("cmdAdd_Click");
    EXPECT_EQ(main->playList.items(), (std::vector<std::string>{"a", "b", "c", "SONG", "song", "Song 2"}));
    EXPECT_EQ(main->playListInfo.items(),
              (std::vector<std::string>{dir_ + "/a.mp3", dir_ + "/b.mp3", dir_ + "/c.mp3", "/b/SONG.mp3",
                                        "/c/song.mp3", "/a/Song 2.mp3"}));
}

TEST_F(AppTest, AddKeepsItsStateWhileNeitherListIsShown) {
    setLibrary(*main, inMemoryLibrary({"One"}, {{"One.mp3", "/a/"}}));
    LibraryActivation& activation = main->libraryActivation();
    main->hiddenSongList.setVisible(false);
    main->visibleSongList.setVisible(false);
    for (const bool enabled : {true, false}) {
        main->cmdAdd.setEnabled(enabled);
        main->hiddenSongList.setSelection({});
        activation.updateAddButton();
        EXPECT_EQ(main->cmdAdd.enabled(), enabled);
        main->hiddenSongList.setSelection({0});
        activation.updateAddButton();
        EXPECT_EQ(main->cmdAdd.enabled(), enabled);
    }
    // Shown again, the selection decides.
    main->hiddenSongList.setVisible(true);
    activation.updateAddButton();
    EXPECT_TRUE(main->cmdAdd.enabled());
}

TEST_F(AppTest, ThePickerFollowsItsDriveAndStaysPutOnOneThatCannotBeRead) {
    FrmBrowse& picker = app_->frmBrowse();
    const std::string home = driveHolding(dir_, picker.Drive1.drives());
    EXPECT_EQ(picker.Drive1.drive(), home);
    EXPECT_EQ(picker.Dir1.path(), dir_);

    // A drive that does not hold the current directory shows its root folder.
    fs::create_directories(dir_ + "/other/inner");
    picker.Drive1.setDrive(dir_ + "/other");
    EXPECT_EQ(picker.Dir1.path(), dir_ + "/other");
    EXPECT_EQ(picker.Dir1.folders(), std::vector<std::string>{"inner"});

    // Back on the drive holding the current directory: that directory again.
    picker.Drive1.setDrive(home);
    EXPECT_EQ(picker.Dir1.path(), dir_);

    // A drive that cannot be read: the folder list stays, the drive list goes back.
    ASSERT_TRUE(picker.Dir1.setPath(dir_ + "/other/inner"));
    picker.Drive1.setDrive(dir_ + "/gone");
    EXPECT_EQ(picker.Dir1.path(), dir_ + "/other/inner");
    EXPECT_EQ(picker.Drive1.drive(), home);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(AppTest, SystemInformationTriesOnlyTheFirstProgramFoundAndReportsAFailedStart) {
    FrmAbout& about = app_->frmAbout();
    launcher.onPath = {{"hardinfo", "/usr/bin/hardinfo"}, {"gnome-system-monitor", "/usr/bin/gsm"}};
    launcher.startWorks = false;
    about.StartSysInfo();
    EXPECT_EQ(launcher.looked, (std::vector<std::string>{"kinfocenter", "hardinfo"}));
    EXPECT_EQ(launcher.tried, std::vector<std::string>{"/usr/bin/hardinfo"});
    EXPECT_EQ(box.shown, std::vector<std::string>{"Vollo: System Information Is Unavailable At This Time"});
    EXPECT_TRUE(app_->forms().isLoaded(kFrmAbout));
}

}  // namespace
}  // namespace vollo
