// The playback controller driving the real GStreamer player: the timer's ticks
// play a playlist from its first entry to its end, skip what cannot be played,
// and stop with entry 0 loaded.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "app/application.h"
#include "app/main_window.h"
#include "gst_probe.h"
#include "platform/gst/gst_media_player.h"
#include "platform/text.h"

namespace vollo {
namespace {

using namespace std::chrono_literals;

TEST(EndToEnd, PlaysTheEntriesInTurnSkippingABrokenOneThenStopsWithTheFirstLoaded) {
    initLocale();
    testmedia::TempDir dir;
    testmedia::writeWav(dir.file("first.wav"), 1.0);
    testmedia::writeGarbage(dir.file("broken.mp3"), 4096);
    testmedia::writeWav(dir.file("second.wav"), 1.0);
    GstMediaPlayer music;
    Services services;
    services.music = &music;
    Application app(services, dir.path());
    app.start({});
    FrmMain& main = app.frmMain();
    for (const char* file : {"first.wav", "broken.mp3", "second.wav"}) {
        main.appendToPlaylist(std::filesystem::path(file).stem(), dir.file(file));
    }
    // Ticks about every 15 ms (as the program's timer does) until done() or the bound.
    const auto tickUntil = [&](const std::function<bool()>& done, std::chrono::seconds bound) {
        const auto tick = [&] { app.forms().dispatch([&] { main.mainTimer.tick(); }); };
        return testmedia::eventually([&] { return tick(), done(); }, bound, 15ms);
    };

    // The first tick starts entry 0 by itself; while it plays the knob moves off the track's left edge.
    ASSERT_TRUE(tickUntil([&] { return music.playState() == MediaPlayer::Playing; }, 5s));
    EXPECT_EQ(main.currentSong, 0);
    EXPECT_EQ(music.fileName(), dir.file("first.wav"));
    EXPECT_EQ(main.lblSongName.caption(), "first ");
    EXPECT_EQ(main.lblSongTime.caption(), "0:00 / 0:01 ");
    ASSERT_TRUE(tickUntil([&] { return main.trackee.left() > main.tracker.left(); }, 5s));

    // At its end the next entry that plays starts.
    ASSERT_TRUE(
        tickUntil([&] { return main.currentSong == 2 && music.playState() == MediaPlayer::Playing; }, 10s));
    EXPECT_EQ(music.fileName(), dir.file("second.wav"));
    EXPECT_EQ(main.lblSongName.caption(), "second ");
    EXPECT_FALSE(main.userStopped);

    // After the last one: entry 0 loaded and stopped, nothing advances.
    ASSERT_TRUE(tickUntil([&] { return main.userStopped; }, 5s));
    EXPECT_EQ(main.currentSong, 0);
    EXPECT_EQ(music.fileName(), dir.file("first.wav"));
    EXPECT_EQ(music.playState(), MediaPlayer::Stopped);
    EXPECT_EQ(main.lblSongName.caption(), "first ");
    EXPECT_EQ(main.lblSongTime.caption(), "0:00 / 0:01 ");
    EXPECT_FALSE(tickUntil([&] { return music.playState() != MediaPlayer::Stopped; }, 1s));
}

}  // namespace
}  // namespace vollo
