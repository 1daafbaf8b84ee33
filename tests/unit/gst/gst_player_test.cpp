#include <fcntl.h>
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#include "platform/gst/duration_scan.h"
#include "platform/gst/gst_media_player.h"
#include "platform/gst/peak_limiter.h"
#include "platform/gst/serial_worker.h"
#include "test_media.h"

namespace vollo {
namespace {

using namespace std::chrono_literals;
using testmedia::TempDir;

// Run on a machine without a sound card too: ctest sets the same.
const bool sinkChosen = setenv("VOLLO_AUDIO_SINK", "fakesink sync=true", 0) == 0;

// Polls `condition` every 10 ms until it holds or `limit` has passed.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 3000ms) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// Every element inside `bin`, at any depth, for which `match` holds.
int countElements(GstElement* bin, const std::function<bool(GstElement*)>& match) {
    int count = 0;
    GstIterator* it = gst_bin_iterate_recurse(GST_BIN(bin));
    GValue item = G_VALUE_INIT;
    bool done = false;
    while (!done) {
        switch (gst_iterator_next(it, &item)) {
            case GST_ITERATOR_OK:
                if (match(GST_ELEMENT(g_value_get_object(&item)))) {
                    ++count;
                }
                g_value_reset(&item);
                break;
            case GST_ITERATOR_RESYNC:
                gst_iterator_resync(it);
                count = 0;
                break;
            default:
                done = true;
                break;
        }
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    return count;
}

bool factoryKlassHas(GstElement* element, const char* a, const char* b) {
    GstElementFactory* factory = gst_element_get_factory(element);
    if (factory == nullptr) {
        return false;
    }
    const char* klass = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS);
    return klass != nullptr && std::strstr(klass, a) != nullptr && std::strstr(klass, b) != nullptr;
}

class GstPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sinkChosen);
        player = std::make_unique<GstMediaPlayer>();
    }

    std::string wav(double seconds, const std::string& name = "tone.wav") {
        const std::string path = dir.file(name);
        testmedia::writeWav(path, seconds);
        return path;
    }

    // Opens `path` and checks it is ready: stopped at 0 with a length.
    void open(const std::string& path) {
        player->setFileName(path);
        ASSERT_EQ(player->playState(), MediaPlayer::Stopped) << player->lastError();
        // Known at once, or as soon as the file is ready.
        ASSERT_TRUE(
            eventually([&] { return player->durationSeconds() > 0.0; }, GstMediaPlayer::defaultOpenTimeout()))
            << player->lastError();
        ASSERT_EQ(player->currentPositionSeconds(), 0.0);
    }

    // Plays and waits until the position reaches `seconds`.
    void playTo(double seconds) {
        player->play();
        ASSERT_EQ(player->playState(), MediaPlayer::Playing);
        ASSERT_TRUE(eventually([&] { return player->currentPositionSeconds() >= seconds; }))
            << "position stuck at " << player->currentPositionSeconds();
    }

    TempDir dir;
    std::unique_ptr<GstMediaPlayer> player;
};

TEST_F(GstPlayerTest, BeforeAnyFileNothingIsOpenedAndControlsChangeNothing) {
    EXPECT_EQ(player->fileName(), "");
    EXPECT_EQ(player->playState(), MediaPlayer::NothingOpened);
    EXPECT_EQ(player->durationSeconds(), 0.0);
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);
    EXPECT_EQ(player->volume(), 0);

    player->play();
    EXPECT_EQ(player->playState(), MediaPlayer::NothingOpened);
    player->pause();
    EXPECT_EQ(player->playState(), MediaPlayer::NothingOpened);
    player->stop();
    EXPECT_EQ(player->playState(), MediaPlayer::NothingOpened);
    player->setCurrentPositionSeconds(1.0);
    EXPECT_EQ(player->playState(), MediaPlayer::NothingOpened);
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);
}

TEST(GstPlayerStartTest, WorksWhenTheProgramHasStartedGStreamerItself) {
    // ctest runs each test in a process of its own, so this is the first call.
    gst_init(nullptr, nullptr);
    TempDir dir;
    testmedia::writeWav(dir.file("tone.wav"), 1.0);
    GstMediaPlayer player;
    player.setFileName(dir.file("tone.wav"));
    EXPECT_EQ(player.playState(), MediaPlayer::Stopped) << player.lastError();
    EXPECT_TRUE(eventually([&] { return std::abs(player.durationSeconds() - 1.0) < 0.01; }));
}

TEST_F(GstPlayerTest, AudioGoesToTheSinkNamedInTheEnvironment) {
    GstElement* sink = nullptr;
    g_object_get(player->pipelineForTest(), "audio-sink", &sink, nullptr);
    ASSERT_NE(sink, nullptr);
    const int syncedFakeSinks =
        GST_IS_BIN(sink) ? countElements(sink,
                                         [](GstElement* e) {
                                             gboolean sync = FALSE;
                                             if (std::strcmp(GST_OBJECT_NAME(gst_element_get_factory(e)),
                                                             "fakesink") != 0) {
                                                 return false;
                                             }
                                             g_object_get(e, "sync", &sync, nullptr);
                                             return sync == TRUE;
                                         })
                         : 0;
    gst_object_unref(sink);
    EXPECT_EQ(syncedFakeSinks, 1);
}

// ---------------------------------------------------------------------------
// Each format opens with its length and plays.

struct FormatCase {
    const char* name;
    const char* file;
    double seconds;    // how long the file lasts
    double tolerance;  // how far the reported length may be off
    std::function<std::string(const std::string& path)> make;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

class GstPlayerFormatTest : public GstPlayerTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(GstPlayerFormatTest, OpensStoppedWithItsLengthAndPlays) {
    const FormatCase& format = GetParam();
    const std::string path = dir.file(format.file);
    ASSERT_EQ(format.make(path), "");

    open(path);
    EXPECT_EQ(player->fileName(), path);
    EXPECT_NEAR(player->durationSeconds(), format.seconds, format.tolerance);

    // Stopped means stopped: the position does not move on its own.
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);

    playTo(0.3);
    EXPECT_EQ(player->playState(), MediaPlayer::Playing) << player->lastError();
    EXPECT_LT(player->currentPositionSeconds(), format.seconds);
    // Sound only: no picture is ever shown.
    EXPECT_EQ(countElements(player->pipelineForTest(),
                            [](GstElement* e) { return factoryKlassHas(e, "Sink", "Video"); }),
              0);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, GstPlayerFormatTest,
    ::testing::Values(FormatCase{"Wav", "tone.wav", 2.0, 0.01,
                                 [](const std::string& p) {
                                     testmedia::writeWav(p, 2.0);
                                     return std::string();
                                 }},
                      FormatCase{"Mp3", "tone.mp3", 2.0, 0.1,
                                 [](const std::string& p) { return testmedia::encodeMp3(p, 2.0); }},
                      FormatCase{"Mp3WithXingHeader", "tagged.mp3", 2.0, 0.1,
                                 [](const std::string& p) {
                                     return testmedia::encodeMp3(p, 2.0, testmedia::Mp3Header::Xing);
                                 }},
                      FormatCase{"Midi", "tune.mid", 3.0, 0.05,
                                 [](const std::string& p) {
                                     testmedia::writeMidi(p, 6);
                                     return std::string();
                                 }},
                      FormatCase{"Avi", "clip.avi", 2.0, 0.02,
                                 [](const std::string& p) { return testmedia::encodeAvi(p, 2.0); }}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST_F(GstPlayerTest, FileNamesAreBytesNotTextAndLinksAreFollowed) {
    // Not UTF-8, characters that mean something in a URI, a link to a file.
    std::filesystem::create_symlink(wav(1.0, "target.wav"), dir.file("link.wav"));
    for (const std::string name : {"\xff\xfe.wav", "a b#c%20?d.wav", "link.wav"}) {
        SCOPED_TRACE(name);
        const std::string path = name == "link.wav" ? dir.file(name) : wav(1.0, name);
        open(path);
        EXPECT_EQ(player->fileName(), path);
        EXPECT_NEAR(player->durationSeconds(), 1.0, 0.01);
        playTo(0.1);
    }
}

TEST_F(GstPlayerTest, AviIsOpenedWithoutItsPicture) {
    ASSERT_EQ(testmedia::encodeAvi(dir.file("clip.avi"), 1.0), "");
    open(dir.file("clip.avi"));
    guint flags = 0;
    g_object_get(player->pipelineForTest(), "flags", &flags, nullptr);
    EXPECT_EQ(flags & 0x1u, 0u) << "video";
    EXPECT_EQ(flags & 0x4u, 0u) << "subtitles";
    EXPECT_NE(flags & 0x2u, 0u) << "audio";
    gint videoStreams = 0;
    g_object_get(player->pipelineForTest(), "n-video", &videoStreams, nullptr);
    EXPECT_EQ(videoStreams, 1) << "the file has a picture to leave out";
    EXPECT_EQ(countElements(player->pipelineForTest(),
                            [](GstElement* e) { return factoryKlassHas(e, "Decoder", "Video"); }),
              0);
}

// ---------------------------------------------------------------------------
// Pause, stop and seeking.

TEST_F(GstPlayerTest, PauseHoldsThePositionAndPlayResumesFromIt) {
    open(wav(3.0));
    player->pause();  // only what plays is paused
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
    playTo(0.3);
    player->pause();
    EXPECT_EQ(player->playState(), MediaPlayer::Paused);
    const double heldAt = player->currentPositionSeconds();
    EXPECT_GE(heldAt, 0.3);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(player->currentPositionSeconds(), heldAt);
    EXPECT_EQ(player->playState(), MediaPlayer::Paused);

    player->play();
    EXPECT_EQ(player->playState(), MediaPlayer::Playing);
    EXPECT_GE(player->currentPositionSeconds(), heldAt - 0.02);
    EXPECT_TRUE(eventually([&] { return player->currentPositionSeconds() >= heldAt + 0.2; }));
    EXPECT_LT(player->currentPositionSeconds(), heldAt + 1.5);
}

TEST_F(GstPlayerTest, StopKeepsThePositionUntilTheCallerRewinds) {
    open(wav(3.0));
    playTo(0.3);
    player->stop();
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
    const double stoppedAt = player->currentPositionSeconds();
    EXPECT_GE(stoppedAt, 0.3);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(player->currentPositionSeconds(), stoppedAt);

    player->setCurrentPositionSeconds(0.0);
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);
    player->play();
    EXPECT_LT(player->currentPositionSeconds(), 0.2);
    EXPECT_TRUE(eventually([&] { return player->currentPositionSeconds() > 0.05; }));
}

TEST_F(GstPlayerTest, WritingThePositionWhileNotPlayingOnlyMovesIt) {
    open(wav(3.0));
    player->setCurrentPositionSeconds(1.5);
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
    EXPECT_EQ(player->currentPositionSeconds(), 1.5);
    player->setCurrentPositionSeconds(-4.0);
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);

    playTo(0.1);
    player->pause();
    player->setCurrentPositionSeconds(2.0);
    EXPECT_EQ(player->playState(), MediaPlayer::Paused);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(player->currentPositionSeconds(), 2.0);

    // Playing goes on from the new position.
    player->play();
    EXPECT_GE(player->currentPositionSeconds(), 1.98);
    EXPECT_TRUE(eventually([&] { return player->currentPositionSeconds() >= 2.2; }));
    EXPECT_EQ(player->playState(), MediaPlayer::Playing);
}

TEST_F(GstPlayerTest, WritingThePositionWhilePlayingSeeksAndPlaysOn) {
    open(wav(4.0));
    playTo(0.2);
    player->setCurrentPositionSeconds(2.5);
    EXPECT_EQ(player->playState(), MediaPlayer::Playing);
    EXPECT_GE(player->currentPositionSeconds(), 2.48);
    EXPECT_TRUE(eventually([&] {
        const double p = player->currentPositionSeconds();
        EXPECT_GE(p, 2.48);
        return p >= 2.7;
    }));
    EXPECT_EQ(player->playState(), MediaPlayer::Playing);

    // And back again.
    player->setCurrentPositionSeconds(0.5);
    EXPECT_LT(player->currentPositionSeconds(), 1.0);
    EXPECT_TRUE(eventually([&] { return player->currentPositionSeconds() >= 0.6; }));
    EXPECT_LT(player->currentPositionSeconds(), 1.5);
}

TEST_F(GstPlayerTest, WritingThePositionAtOrPastTheEndEndsTheFile) {
    open(wav(2.0));
    const double end = player->durationSeconds();

    playTo(0.1);
    player->setCurrentPositionSeconds(end);
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);

    playTo(0.1);
    player->pause();
    player->setCurrentPositionSeconds(end + 10.0);
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);

    player->setCurrentPositionSeconds(1.0);
    player->setCurrentPositionSeconds(end + 0.5);
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);

    // Still playable afterwards, from the start.
    player->play();
    EXPECT_EQ(player->playState(), MediaPlayer::Playing);
    EXPECT_LT(player->currentPositionSeconds(), 0.5);
    EXPECT_TRUE(eventually([&] { return player->currentPositionSeconds() > 0.05; }));
}

// ---------------------------------------------------------------------------
// The end of the file.

TEST_F(GstPlayerTest, PlayingToTheEndStopsRewindsAndPlaysAgainFromTheStart) {
    open(wav(1.0));
    player->play();
    double last = 0.0;
    ASSERT_TRUE(eventually(
        [&] {
            if (player->playState() == MediaPlayer::Stopped) {
                return true;
            }
            last = player->currentPositionSeconds();
            return false;
        },
        4000ms));
    EXPECT_GT(last, 0.5) << "ended too early";
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);
    EXPECT_NEAR(player->durationSeconds(), 1.0, 0.01);

    player->play();
    EXPECT_EQ(player->playState(), MediaPlayer::Playing);
    EXPECT_LT(player->currentPositionSeconds(), 0.3);
    EXPECT_TRUE(eventually([&] { return player->currentPositionSeconds() >= 0.1; }));
}

TEST_F(GstPlayerTest, AnEndNobodyPolledIsNoticedByTheNextCommand) {
    open(wav(0.5));
    player->play();
    std::this_thread::sleep_for(1200ms);  // well past the end, without a poll
    player->play();
    EXPECT_EQ(player->playState(), MediaPlayer::Playing);
    EXPECT_LT(player->currentPositionSeconds(), 0.3);
    EXPECT_TRUE(eventually([&] { return player->playState() == MediaPlayer::Stopped; }));
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);
}

TEST_F(GstPlayerTest, MidiPlaysToItsEnd) {
    const std::string path = dir.file("short.mid");
    testmedia::writeMidi(path, 2);
    open(path);
    EXPECT_NEAR(player->durationSeconds(), 1.0, 0.05);
    // The synthesiser plays with the General MIDI soundfont.
    EXPECT_EQ(
        countElements(player->pipelineForTest(),
                      [](GstElement* e) {
                          GstElementFactory* factory = gst_element_get_factory(e);
                          if (factory == nullptr || std::strcmp(GST_OBJECT_NAME(factory), "fluiddec") != 0) {
                              return false;
                          }
                          gchar* soundFont = nullptr;
                          g_object_get(e, "soundfont", &soundFont, nullptr);
                          const bool usable = soundFont != nullptr &&
                                              std::string(soundFont).starts_with("/usr/share/sounds/sf2/") &&
                                              std::filesystem::is_regular_file(soundFont);
                          g_free(soundFont);
                          return usable;
                      }),
        1);
    player->play();
    EXPECT_TRUE(eventually([&] { return player->currentPositionSeconds() >= 0.3; }));
    EXPECT_TRUE(eventually([&] { return player->playState() == MediaPlayer::Stopped; }, 5000ms))
        << player->lastError();
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);
}

// ---------------------------------------------------------------------------
// Measuring a length the parser cannot tell up front.

TEST(DurationScanTest, MeasuresTheAudioOfAFileAndNothingElse) {
    gst_init(nullptr, nullptr);  // the scan leaves that to the player
    TempDir dir;
    const auto later = std::chrono::steady_clock::now() + 10s;
    auto uri = [](const std::string& path) {
        gchar* text = gst_filename_to_uri(path.c_str(), nullptr);
        std::string result = text;
        g_free(text);
        return result;
    };

    ASSERT_EQ(testmedia::encodeMp3(dir.file("tone.mp3"), 1.5), "");
    EXPECT_NEAR(gst::scanAudioDuration(uri(dir.file("tone.mp3")), later), 1.5, 0.1);
    // An AVI's picture is read past, not measured.
    ASSERT_EQ(testmedia::encodeAvi(dir.file("clip.avi"), 1.0), "");
    EXPECT_NEAR(gst::scanAudioDuration(uri(dir.file("clip.avi")), later), 1.0, 0.02);

    testmedia::writeGarbage(dir.file("noise.bin"), 4096);
    EXPECT_EQ(gst::scanAudioDuration(uri(dir.file("noise.bin")), later), 0.0);
    EXPECT_EQ(gst::scanAudioDuration(uri(dir.file("missing.mp3")), later), 0.0);
    // Out of time, or called off: no guess.
    EXPECT_EQ(gst::scanAudioDuration(uri(dir.file("tone.mp3")), std::chrono::steady_clock::now()), 0.0);
    const std::atomic<bool> cancelled{true};
    EXPECT_EQ(gst::scanAudioDuration(uri(dir.file("tone.mp3")), later, &cancelled), 0.0);
}

// The MIDI synthesiser's limiter: under the ceiling it changes nothing; a
// louder frame is turned down whole to the ceiling, and the gain comes back
// within the release time.
TEST(PeakLimiterTest, KeepsFramesUnderTheCeilingWithoutCuttingTheirPeaks) {
    struct Case {
        const char* name;
        std::vector<float> in;  // stereo frames at 1000 frames a second
        std::vector<float> out;
    };
    const float after = 0.5f * 0.5f / (2.0f * std::exp(-1.0f));  // 0.5, a frame after a peak of 2
    for (const Case& c : {
             Case{"quiet", {0.1f, -0.4f, 0.49f, 0.0f}, {0.1f, -0.4f, 0.49f, 0.0f}},
             Case{"loud", {2.0f, -1.0f, 0.5f, 0.5f}, {0.5f, -0.25f, after, after}},
             Case{"recovered",
                  {-4.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.2f, 0.2f},
                  {-0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.2f, 0.2f}},
         }) {
        SCOPED_TRACE(c.name);
        gst::PeakLimiter limiter(0.5f, 1000, 0.001);  // the envelope falls by e each frame
        std::vector<float> samples = c.in;
        limiter.process(samples.data(), samples.size() / 2, 2);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            EXPECT_NEAR(samples[i], c.out[i], 1e-5) << "sample " << i;
        }
    }
}

// ---------------------------------------------------------------------------
// Volume.

TEST_F(GstPlayerTest, VolumeIsAttenuationInHundredthsOfADecibel) {
    struct Case {
        int volume;
        double linear;
    };
    const std::string path = wav(1.0);
    for (const Case c : {Case{0, 1.0}, Case{-600, 0.501187}, Case{-2000, 0.1}, Case{-4000, 0.01},
                         Case{-9999, 1.0011513e-5}, Case{-10000, 0.0}, Case{-25000, 0.0}}) {
        SCOPED_TRACE(c.volume);
        player->setVolume(c.volume);
        EXPECT_EQ(player->volume(), c.volume);
        EXPECT_NEAR(player->linearVolumeForTest(), c.linear, c.linear * 1e-6 + 1e-12);
    }
    // The volume outlives opening a file.
    player->setVolume(-2000);
    open(path);
    EXPECT_EQ(player->volume(), -2000);
    EXPECT_NEAR(player->linearVolumeForTest(), 0.1, 1e-7);
    playTo(0.05);
    player->setVolume(-4000);
    EXPECT_NEAR(player->linearVolumeForTest(), 0.01, 1e-8);
}

// ---------------------------------------------------------------------------
// Files that cannot be played.

struct BadFileCase {
    const char* name;
    std::function<std::string(const TempDir& dir)> make;  // returns the path
};

void PrintTo(const BadFileCase& c, std::ostream* os) {
    *os << c.name;
}

class GstPlayerBadFileTest : public GstPlayerTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(GstPlayerBadFileTest, LeavesThePlayerStoppedWithoutALength) {
    const std::string path = GetParam().make(dir);
    for (int attempt = 0; attempt < 2; ++attempt) {  // fresh, and after a good file
        SCOPED_TRACE(attempt);
        const auto started = std::chrono::steady_clock::now();
        player->setFileName(path);
        // A hang guard, not a timing requirement.
        EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
        EXPECT_EQ(player->fileName(), path);
        EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
        EXPECT_EQ(player->durationSeconds(), 0.0);
        EXPECT_EQ(player->currentPositionSeconds(), 0.0);
        EXPECT_NE(player->lastError(), "");

        player->play();
        EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
        player->setCurrentPositionSeconds(0.5);
        EXPECT_EQ(player->currentPositionSeconds(), 0.0);
        player->pause();
        player->stop();
        std::this_thread::sleep_for(100ms);
        EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
        EXPECT_EQ(player->durationSeconds(), 0.0);

        open(wav(1.0));
        playTo(0.05);
    }
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, GstPlayerBadFileTest,
    ::testing::Values(BadFileCase{"ZeroBytes",
                                  [](const TempDir& d) {
                                      testmedia::writeEmpty(d.file("empty.mp3"));
                                      return d.file("empty.mp3");
                                  }},
                      BadFileCase{"Garbage",
                                  [](const TempDir& d) {
                                      testmedia::writeGarbage(d.file("noise.mp3"), 64 * 1024);
                                      return d.file("noise.mp3");
                                  }},
                      BadFileCase{"TruncatedWav",
                                  [](const TempDir& d) {
                                      testmedia::writeWav(d.file("cut.wav"), 1.0);
                                      std::filesystem::resize_file(d.file("cut.wav"), 20);
                                      return d.file("cut.wav");
                                  }},
                      BadFileCase{"Missing", [](const TempDir& d) { return d.file("not-there.wav"); }},
                      BadFileCase{"Directory", [](const TempDir& d) { return d.path(); }},
                      // Neither may block the open: no writer, and a writer that never writes.
                      BadFileCase{"FifoWithoutWriter",
                                  [](const TempDir& d) {
                                      mkfifo(d.file("pipe.mp3").c_str(), 0600);
                                      return d.file("pipe.mp3");
                                  }},
                      BadFileCase{"FifoWithIdleWriter",
                                  [](const TempDir& d) {
                                      mkfifo(d.file("idle.wav").c_str(), 0600);
                                      open(d.file("idle.wav").c_str(), O_RDWR | O_CLOEXEC);  // leaks one fd
                                      return d.file("idle.wav");
                                  }},
                      BadFileCase{"Socket",
                                  [](const TempDir& d) {
                                      sockaddr_un address{};
                                      address.sun_family = AF_UNIX;
                                      d.file("s.wav").copy(address.sun_path, sizeof(address.sun_path) - 1);
                                      const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
                                      bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
                                      return d.file("s.wav");
                                  }},
                      BadFileCase{"Device", [](const TempDir&) { return std::string("/dev/zero"); }},
                      BadFileCase{"LinkToDevice",
                                  [](const TempDir& d) {
                                      std::filesystem::create_symlink("/dev/zero", d.file("zero.mp3"));
                                      return d.file("zero.mp3");
                                  }},
                      BadFileCase{"EmptyName", [](const TempDir&) { return std::string(); }}),
    [](const ::testing::TestParamInfo<BadFileCase>& info) { return std::string(info.param.name); });

int threadCount() {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                          std::filesystem::directory_iterator()));
}

// Files not ready in time are given up: each timed-out pipeline goes to one
// worker, which the player waits for as it goes. With a worker that cannot be
// started the player still has a fresh pipeline, set up like the first.
TEST_F(GstPlayerTest, FilesNotReadyInTimeAreGivenUpAndTakenDownByOneWorker) {
    const std::string path = dir.file("tune.mid");
    testmedia::writeMidi(path, 4);
    for (const bool threadStarts : {true, false}) {
        SCOPED_TRACE(threadStarts);
        // A player going away while it plays, and another right after.
        player = std::make_unique<GstMediaPlayer>();
        open(wav(1.0));  // GStreamer's and GLib's own threads are started by now
        playTo(0.05);
        player.reset();
        const int threadsBefore = threadCount();
        gst::SerialWorker::ThreadStarter noThread = [](std::function<void()>) -> std::thread {
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        };
        // The synthesiser alone takes far longer than a millisecond to start.
        player = std::make_unique<GstMediaPlayer>(1ms, 0ms, threadStarts ? nullptr : noThread);
        player->setVolume(-2000);
        for (int open = 0; open < 12; ++open) {
            GstElement* before = player->pipelineForTest();
            player->setFileName(path);
            EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
            EXPECT_EQ(player->durationSeconds(), 0.0);
            EXPECT_EQ(player->lastError(), "timed out opening the file");
            player->play();
            EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
            ASSERT_NE(player->pipelineForTest(), nullptr);
            EXPECT_NE(player->pipelineForTest(), before);
        }
        EXPECT_NEAR(player->linearVolumeForTest(), 0.1, 1e-7);
        guint flags = 0;
        g_object_get(player->pipelineForTest(), "flags", &flags, nullptr);
        EXPECT_EQ(flags & 0x1u, 0u) << "video";
        player.reset();
        // Every streaming thread ends too, though not at once.
        EXPECT_TRUE(eventually([&] { return threadCount() <= threadsBefore; })) << threadCount();
    }
}

TEST(SerialWorkerTest, RunsJobsInOrderOnOneThreadOrAtTheLatestWhenItGoes) {
    for (const bool threadStarts : {true, false}) {
        SCOPED_TRACE(threadStarts);
        std::vector<int> ran;
        std::vector<std::thread::id> threads;
        int starts = 0;
        {
            gst::SerialWorker worker([&](std::function<void()> body) {
                ++starts;
                if (!threadStarts) {
                    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
                }
                return std::thread(std::move(body));
            });
            for (int job = 0; job < 3; ++job) {
                worker.post([&, job] {
                    ran.push_back(job);
                    threads.push_back(std::this_thread::get_id());
                });
            }
            EXPECT_EQ(worker.running(), threadStarts);
            EXPECT_EQ(starts, threadStarts ? 1 : 3);  // a failed start is tried again
        }
        EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
        ASSERT_EQ(threads.size(), 3u);
        EXPECT_EQ(threads[0], threads[2]);
        EXPECT_EQ(threads[0] == std::this_thread::get_id(), !threadStarts);
    }
}

// A file that "plays" without ever having a length (a MIDI file whose time
// division is 0 plays silence for ever) ends as one that cannot be played.
TEST_F(GstPlayerTest, AFileThatNeverGetsALengthEndsAsUnplayable) {
    const std::string path = dir.file("division0.mid");
    testmedia::writeMidi(path, 4);
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(12).write("\0\0", 2);
    player = std::make_unique<GstMediaPlayer>(GstMediaPlayer::defaultOpenTimeout(), 1000ms);
    player->setFileName(path);
    player->play();
    EXPECT_TRUE(eventually([&] { return player->playState() == MediaPlayer::Stopped; },
                           GstMediaPlayer::defaultOpenTimeout() + 3000ms));
    EXPECT_EQ(player->durationSeconds(), 0.0);
    EXPECT_NE(player->lastError(), "");
    player->play();
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
}

// A long MP3 without a length header: its length is measured in the
// background, and the parser's running estimates never replace it.
TEST_F(GstPlayerTest, ALengthNotToldUpFrontIsMeasuredAndKept) {
    ASSERT_EQ(testmedia::encodeMp3(dir.file("part.mp3"), 3.0), "");
    std::ifstream part(dir.file("part.mp3"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(part)), std::istreambuf_iterator<char>());
    std::ofstream(dir.file("long.mp3"), std::ios::binary)
        << bytes << bytes << bytes << bytes << bytes << bytes << bytes << bytes << bytes << bytes;
    gchar* uri = gst_filename_to_uri(dir.file("long.mp3").c_str(), nullptr);
    const double length = gst::scanAudioDuration(uri, std::chrono::steady_clock::now() + 20s);
    g_free(uri);
    ASSERT_NEAR(length, 30.0, 0.5);

    player->setFileName(dir.file("long.mp3"));
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped) << player->lastError();
    EXPECT_TRUE(eventually([&] { return player->durationSeconds() == length; }, 10000ms))
        << player->durationSeconds();
    playTo(1.0);
    EXPECT_EQ(player->durationSeconds(), length);
}

TEST_F(GstPlayerTest, AnErrorWhilePlayingStopsAndPlayStartsOver) {
    open(wav(3.0));
    playTo(0.5);
    GstElement* pipeline = player->pipelineForTest();
    GError* error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, "the disk went away");
    gst_element_post_message(pipeline, gst_message_new_error(GST_OBJECT(pipeline), error, nullptr));
    g_error_free(error);

    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);
    EXPECT_EQ(player->lastError(), "the disk went away");
    EXPECT_NEAR(player->durationSeconds(), 3.0, 0.01);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);

    player->play();
    EXPECT_EQ(player->playState(), MediaPlayer::Playing);
    EXPECT_LT(player->currentPositionSeconds(), 0.3);
    EXPECT_TRUE(eventually([&] { return player->currentPositionSeconds() >= 0.1; }));
    EXPECT_EQ(player->playState(), MediaPlayer::Playing);
}

TEST_F(GstPlayerTest, OpeningAnotherFileReplacesThePlayingOne) {
    open(wav(3.0, "long.wav"));
    playTo(0.3);
    open(wav(1.0, "short.wav"));
    EXPECT_EQ(player->playState(), MediaPlayer::Stopped);
    EXPECT_NEAR(player->durationSeconds(), 1.0, 0.01);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(player->currentPositionSeconds(), 0.0);
}

}  // namespace
}  // namespace vollo
