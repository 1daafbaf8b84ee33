#include <gst/gst.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "gst_probe.h"
#include "platform/gst/duration_scan.h"
#include "platform/gst/gst_media_player.h"
#include "platform/gst/peak_limiter.h"
#include "platform/gst/serial_worker.h"

namespace vollo {
namespace {

using namespace std::chrono_literals;
using namespace testmedia;
constexpr int Stopped = MediaPlayer::Stopped, Paused = MediaPlayer::Paused, Playing = MediaPlayer::Playing;
const bool sinkChosen = setenv("VOLLO_AUDIO_SINK", "fakesink sync=true", 0) == 0;  // as ctest sets

class GstPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sinkChosen);
        player = std::make_unique<GstMediaPlayer>();
    }
    std::string wav(double seconds, const std::string& name = "tone.wav") {
        writeWav(dir.file(name), seconds);
        return dir.file(name);
    }
    double pos() { return player->currentPositionSeconds(); }

    // Opens `path` and checks it is ready: stopped at 0 with a length.
    void open(const std::string& path) {
        player->setFileName(path);
        ASSERT_EQ(player->playState(), Stopped) << player->lastError();
        ASSERT_TRUE(
            eventually([&] { return player->durationSeconds() > 0.0; }, GstMediaPlayer::defaultOpenTimeout()))
            << player->lastError();
        ASSERT_EQ(pos(), 0.0);
    }
    // Plays and waits until the position reaches `seconds`.
    void playTo(double seconds) {
        player->play();
        ASSERT_EQ(player->playState(), Playing);
        ASSERT_TRUE(eventually([&] { return pos() >= seconds; })) << "position stuck at " << pos();
    }
    // In `state` at `at`, and still so a while later.
    void expectHeld(int state, double at) {
        for (int look = 0; look < 2; ++look, std::this_thread::sleep_for(200ms)) {
            EXPECT_EQ(player->playState(), state);
            EXPECT_EQ(pos(), at);
        }
    }
    // Playing from `from` on: never before it, and soon past it.
    void expectPlaysFrom(double from) {
        EXPECT_EQ(player->playState(), Playing) << player->lastError();
        EXPECT_LT(pos(), from + 0.3);
        EXPECT_TRUE(eventually([&] {
            const double p = pos();
            EXPECT_GE(p, from - 0.02);
            return p >= from + 0.1;
        }));
        EXPECT_LT(pos(), from + 1.5);
    }

    TempDir dir;
    std::unique_ptr<GstMediaPlayer> player;
};

TEST_F(GstPlayerTest, BeforeAnyFileNothingIsOpenedAndAudioGoesToTheSinkNamedInTheEnvironment) {
    EXPECT_EQ(player->fileName(), "");
    EXPECT_EQ(player->durationSeconds(), 0.0);
    EXPECT_EQ(player->volume(), 0);
    for (const auto& control : std::vector<std::function<void()>>{
             [&] { player->play(); }, [&] { player->pause(); }, [&] { player->stop(); },
             [&] { player->setCurrentPositionSeconds(1.0); }}) {
        control();
        EXPECT_EQ(player->playState(), MediaPlayer::NothingOpened);
        EXPECT_EQ(pos(), 0.0);
    }
    EXPECT_EQ(player->pipelineForTest(), nullptr);  // made by the first open, even of nothing playable
    player->setFileName(dir.file("missing.wav"));
    GstElement* sink = property<GstElement*>(player->pipelineForTest(), "audio-sink");
    ASSERT_TRUE(sink != nullptr && GST_IS_BIN(sink));
    EXPECT_EQ(countElements(sink, "fakesink", [](GstElement* e) { return property<gboolean>(e, "sync"); }),
              1);
    gst_object_unref(sink);
}

// Each format, and names that are not UTF-8, mean something in a URI or link to
// the file, opens (replacing the one playing) with its length, decodes only its
// sound, plays to its end, rewinds and plays again.
TEST_F(GstPlayerTest, EachFormatOpensWithItsLengthAndPlaysItsSoundToTheEnd) {
    writeWav(dir.file("tone.wav"), 2.0);
    for (const char* name : {"\xff\xfe.wav", "a b#c%20?d.wav", "target.wav"}) {
        writeWav(dir.file(name), 1.0);
    }
    std::filesystem::create_symlink(dir.file("target.wav"), dir.file("link.wav"));
    writeMidi(dir.file("tune.mid"), 6);
    ASSERT_EQ(encodeMp3(dir.file("tone.mp3"), 2.0) + encodeMp3(dir.file("xing.mp3"), 2.0, Mp3Header::Xing) +
                  encodeAvi(dir.file("clip.avi"), 2.0),
              "");
    struct Case {
        const char* file;
        double seconds, tolerance;   // how long the file lasts, how far its reported length may be off
        int pictures, synthesisers;  // video streams in the file, General MIDI synthesisers playing it
    };
    for (const Case c : {Case{"tone.wav", 2.0, 0.01, 0, 0}, Case{"tone.mp3", 2.0, 0.1, 0, 0},
                         Case{"xing.mp3", 2.0, 0.1, 0, 0}, Case{"tune.mid", 3.0, 0.05, 0, 1},
                         Case{"clip.avi", 2.0, 0.02, 1, 0}, Case{"\xff\xfe.wav", 1.0, 0.01, 0, 0},
                         Case{"a b#c%20?d.wav", 1.0, 0.01, 0, 0}, Case{"link.wav", 1.0, 0.01, 0, 0}}) {
        SCOPED_TRACE(c.file);
        open(dir.file(c.file));
        EXPECT_EQ(player->fileName(), dir.file(c.file));
        EXPECT_NEAR(player->durationSeconds(), c.seconds, c.tolerance);
        expectHeld(Stopped, 0.0);
        GstElement* pipeline = player->pipelineForTest();
        EXPECT_EQ(property<guint>(pipeline, "flags") & 0x7u, 0x2u) << "audio only: no video, no subtitles";
        EXPECT_EQ(property<gint>(pipeline, "n-video"), c.pictures);
        EXPECT_EQ(countElements(pipeline, "Decoder Video"), 0);
        EXPECT_EQ(countElements(pipeline, "fluiddec",
                                [](GstElement* e) {  // with the General MIDI soundfont
                                    const std::string font = property<std::string>(e, "soundfont");
                                    return font.starts_with("/usr/share/sounds/sf2/") &&
                                           std::filesystem::is_regular_file(font);
                                }),
                  c.synthesisers);
        double last = 0.0;
        player->play();
        ASSERT_TRUE(eventually([&] { return player->playState() == Stopped || ((last = pos()), false); },
                               std::chrono::milliseconds(int(c.seconds * 1000) + 3000)))
            << player->lastError();
        EXPECT_GT(last, c.seconds - 0.5) << "ended too early";
        EXPECT_EQ(countElements(pipeline, "Sink Video"), 0);
        EXPECT_EQ(pos(), 0.0);
        EXPECT_NEAR(player->durationSeconds(), c.seconds, c.tolerance);
        player->play();
        expectPlaysFrom(0.0);
    }
}

// The controls, one step after another on a 4-second file. Pause and stop hold
// the position; written while playing it seeks, otherwise it only moves; at or
// past the end, or on an error, the file ends at 0, even unpolled; play goes on
// from where it is.
TEST_F(GstPlayerTest, ControlsHoldMoveAndEndThePosition) {
    open(wav(4.0));  // at or past `end` the file ends
    const double end = player->durationSeconds(),
                 here = -1.0;  // where the player is: held after pause or stop, played on from after play
    struct Step {
        char op;  // p(lay), u (pause), s(top), w(rite the position), e(rror), z: play past the end unpolled
        double to;
        int state;
        double at;
    };
    // clang-format off
    for (const Step s : {Step{'u', 0, Stopped, 0.0}, {'p', 0, Playing, 0.0}, {'u', 0, Paused, here}, {'p', 0, Playing, here},
                         {'s', 0, Stopped, here}, {'w', 0.0, Stopped, 0.0}, {'p', 0, Playing, 0.0}, {'s', 0, Stopped, here},
                         {'w', 1.5, Stopped, 1.5}, {'w', -4.0, Stopped, 0.0}, {'p', 0, Playing, 0.0}, {'u', 0, Paused, here},
                         {'w', 2.0, Paused, 2.0}, {'p', 0, Playing, 2.0}, {'w', 2.5, Playing, 2.5}, {'w', 0.5, Playing, 0.5},
                         {'w', end, Stopped, 0.0}, {'p', 0, Playing, 0.0}, {'u', 0, Paused, here}, {'w', end + 10, Stopped, 0.0},
                         {'w', 1.0, Stopped, 1.0}, {'w', end + 0.5, Stopped, 0.0}, {'p', 0, Playing, 0.0}, {'e', 0, Stopped, 0.0},
                         {'p', 0, Playing, 0.0}, {'u', 0, Paused, here}, {'w', 3.8, Paused, 3.8}, {'z', 0, Playing, 0.0}}) {
        // clang-format on
        SCOPED_TRACE(testing::Message() << s.op << " " << s.to);
        const double before = pos();
        if (s.op == 'e') {
            postError(player->pipelineForTest(), "the disk went away");
        }
        s.op == 'p' ? player->play() : s.op == 'u' ? player->pause() : s.op == 's' ? player->stop() : void();
        if (s.op == 'z') {
            player->play();
            // Well past the end, without a poll: the next play starts over.
            std::this_thread::sleep_for(1200ms);
            player->play();
        } else if (s.op == 'w') {
            player->setCurrentPositionSeconds(s.to);
        }
        EXPECT_NEAR(player->durationSeconds(), 4.0, 0.01);
        if (s.state == Playing) {
            expectPlaysFrom(s.at == here ? before : s.at);
        } else {
            EXPECT_GE(pos(), s.at == here ? before : 0.0);
            expectHeld(s.state, s.at == here ? pos() : s.at);
        }
        EXPECT_TRUE(s.op != 'e' || player->lastError() == "the disk went away") << player->lastError();
    }
}

// An MP3's length, an AVI's sound past its picture; nothing for what holds no
// sound, nor once out of time or called off.
TEST(DurationScanTest, MeasuresTheAudioOfAFileAndNothingElseWithGStreamerStartedByTheProgram) {
    gst_init(nullptr, nullptr);  // the scan leaves that to the player, which works with it started so
    TempDir dir;
    const auto later = std::chrono::steady_clock::now() + 10s;
    const std::atomic<bool> cancelled{true};
    ASSERT_EQ(encodeMp3(dir.file("tone.mp3"), 1.5) + encodeAvi(dir.file("clip.avi"), 1.0), "");
    writeGarbage(dir.file("noise.bin"), 4096);
    struct Case {
        const char* file;
        std::chrono::steady_clock::time_point until;
        const std::atomic<bool>* cancel;
        double seconds, tolerance;
    };
    // clang-format off
    for (const Case& c : {Case{"tone.mp3", later, nullptr, 1.5, 0.1}, Case{"clip.avi", later, nullptr, 1.0, 0.02},
                          Case{"noise.bin", later, nullptr, 0.0, 0.0}, Case{"missing.mp3", later, nullptr, 0.0, 0.0},
                          Case{"tone.mp3", std::chrono::steady_clock::now(), nullptr, 0.0, 0.0},
                          Case{"tone.mp3", later, &cancelled, 0.0, 0.0}}) {
        // clang-format on
        SCOPED_TRACE(c.file);
        EXPECT_NEAR(gst::scanAudioDuration(uriOf(dir.file(c.file)), c.until, c.cancel), c.seconds,
                    c.tolerance);
    }
    GstMediaPlayer player;
    player.setFileName(dir.file("clip.avi"));
    EXPECT_EQ(player.playState(), Stopped) << player.lastError();
    EXPECT_TRUE(eventually([&] { return std::abs(player.durationSeconds() - 1.0) < 0.02; }));
}

// The MIDI synthesiser's limiter: under the ceiling it changes nothing; a louder
// frame is turned down whole to the ceiling, and the gain comes back within the release.
TEST(PeakLimiterTest, KeepsFramesUnderTheCeilingWithoutCuttingTheirPeaks) {
    struct Case {
        const char* name;
        std::vector<float> in, out;  // stereo frames at 1000 frames a second
    };
    // clang-format off
    const float after = 0.5f * 0.5f / (2.0f * std::exp(-1.0f));  // 0.5, a frame after a peak of 2
    for (const Case& c : {Case{"quiet", {0.1f, -0.4f, 0.49f, 0.0f}, {0.1f, -0.4f, 0.49f, 0.0f}},
                          Case{"loud", {2.0f, -1.0f, 0.5f, 0.5f}, {0.5f, -0.25f, after, after}},
                          Case{"recovered", {-4.0f, 0, 0, 0, 0, 0, 0, 0, 0.2f, 0.2f}, {-0.5f, 0, 0, 0, 0, 0, 0, 0, 0.2f, 0.2f}}}) {
        // clang-format on
        SCOPED_TRACE(c.name);
        gst::PeakLimiter limiter(0.5f, 1000, 0.001);  // the envelope falls by e each frame
        std::vector<float> samples = c.in;
        limiter.process(samples.data(), samples.size() / 2, 2);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            EXPECT_NEAR(samples[i], c.out[i], 1e-5) << "sample " << i;
        }
    }
}

TEST_F(GstPlayerTest, VolumeIsAttenuationInHundredthsOfADecibelAndOutlivesOpeningAFile) {
    // clang-format off
    for (const auto& [volume, linear] : std::vector<std::pair<int, double>>{{0, 1.0}, {-600, 0.501187}, {-2000, 0.1},
             {-4000, 0.01}, {-9999, 1.0011513e-5}, {-10000, 0.0}, {-25000, 0.0}, {-2000, 0.1}}) {  // -2000 kept on
        // clang-format on
        SCOPED_TRACE(volume);
        player->setVolume(volume);
        EXPECT_EQ(player->volume(), volume);
        if (player->pipelineForTest() == nullptr) {
            open(wav(0.5));  // kept until there is a pipeline to apply it to
        }
        EXPECT_NEAR(player->linearVolumeForTest(), linear, linear * 1e-6 + 1e-12);
    }
    open(wav(1.0));
    EXPECT_EQ(player->volume(), -2000);
    EXPECT_NEAR(player->linearVolumeForTest(), 0.1, 1e-7);
    playTo(0.05);
    player->setVolume(-4000);
    EXPECT_NEAR(player->linearVolumeForTest(), 0.01, 1e-8);
}

// Every file that cannot be played, fresh and after a good file; no FIFO, with an
// idle writer or none, blocks the open.
TEST_F(GstPlayerTest, AFileThatCannotBePlayedLeavesThePlayerStoppedWithoutALength) {
    for (const std::string name : {"empty.mp3", "noise.mp3", "cut.wav", "missing.wav", "directory",
                                   "fifo.mp3", "idle-fifo.wav", "socket.wav", "/dev/zero", "zero.mp3", ""}) {
        SCOPED_TRACE(name);
        const std::string path = makeUnplayable(name, dir);
        player = std::make_unique<GstMediaPlayer>();
        for (int attempt = 0; attempt < 2; ++attempt) {
            const auto started = std::chrono::steady_clock::now();
            player->setFileName(path);
            // A hang guard, not a timing requirement.
            EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
            EXPECT_EQ(player->fileName(), path);
            EXPECT_NE(player->lastError(), "");
            for (const auto& control : std::vector<std::function<void()>>{
                     [] {}, [&] { player->play(); }, [&] { player->setCurrentPositionSeconds(0.5); },
                     [&] { player->pause(); }, [&] { player->stop(); }}) {
                control();
                EXPECT_EQ(player->durationSeconds(), 0.0);
                EXPECT_EQ(player->playState(), Stopped);
                EXPECT_EQ(pos(), 0.0);
            }
            expectHeld(Stopped, 0.0);
            open(wav(1.0));
            playTo(0.05);
        }
    }
}

// Files not ready in time are given up: each timed-out pipeline goes to one
// worker, which the player waits for as it goes. With a worker that cannot be
// started the player still has a fresh pipeline, set up like the first.
TEST_F(GstPlayerTest, FilesNotReadyInTimeAreGivenUpAndTakenDownByOneWorker) {
    writeMidi(dir.file("tune.mid"), 4);
    for (const bool threadStarts : {true, false}) {
        SCOPED_TRACE(threadStarts);
        // One going away while it plays, another right after; GStreamer's and GLib's threads started by then.
        player = std::make_unique<GstMediaPlayer>();
        open(wav(1.0));
        playTo(0.05);
        player.reset();
        const int threadsBefore = threadCount();
        // The synthesiser alone takes far longer than a millisecond to start.
        player = std::make_unique<GstMediaPlayer>(1ms, 0ms, threadStarts ? nullptr : noThread);
        player->setVolume(-2000);
        for (int open = 0; open < 12; ++open) {
            GstElement* before = player->pipelineForTest();
            player->setFileName(dir.file("tune.mid"));
            EXPECT_EQ(player->durationSeconds(), 0.0);
            EXPECT_EQ(player->lastError(), "timed out opening the file");
            player->play();
            EXPECT_EQ(player->playState(), Stopped);
            ASSERT_NE(player->pipelineForTest(), nullptr);
            EXPECT_NE(player->pipelineForTest(), before);
        }
        EXPECT_NEAR(player->linearVolumeForTest(), 0.1, 1e-7);
        EXPECT_EQ(property<guint>(player->pipelineForTest(), "flags") & 0x1u, 0u) << "video";
        player.reset();
        // Every streaming thread ends too, though not at once.
        EXPECT_TRUE(eventually([&] { return threadCount() <= threadsBefore; })) << threadCount();
    }
}

TEST(SerialWorkerTest, RunsJobsInOrderOnOneThreadOrAtTheLatestWhenItGoes) {
    for (const bool threadStarts : {true, false}) {
        SCOPED_TRACE(threadStarts);
        std::vector<std::pair<int, std::thread::id>> ran;
        int starts = 0;
        {
            gst::SerialWorker worker([&](std::function<void()> body) {
                return ++starts, threadStarts ? std::thread(std::move(body)) : noThread(body);
            });
            for (int job = 0; job < 3; ++job) {
                worker.post([&, job] { ran.emplace_back(job, std::this_thread::get_id()); });
            }
            EXPECT_EQ(worker.running(), threadStarts);
            EXPECT_EQ(starts, threadStarts ? 1 : 3);  // a failed start is tried again
        }
        const auto on = ran.empty() ? std::thread::id() : ran[0].second;
        EXPECT_EQ(ran, (decltype(ran){{0, on}, {1, on}, {2, on}}));
        EXPECT_EQ(on == std::this_thread::get_id(), !threadStarts);
    }
}

// A MIDI file whose time division is 0 "plays" silence for ever without a
// length: it ends as one that cannot be played.
TEST_F(GstPlayerTest, AFileThatNeverGetsALengthEndsAsUnplayable) {
    const std::string path = dir.file("division0.mid");
    writeMidi(path, 4);
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(12).write("\0\0", 2);
    player = std::make_unique<GstMediaPlayer>(GstMediaPlayer::defaultOpenTimeout(), 1000ms);
    player->setFileName(path);
    player->play();
    EXPECT_TRUE(eventually([&] { return player->playState() == Stopped; },
                           GstMediaPlayer::defaultOpenTimeout() + 3000ms));
    EXPECT_EQ(player->durationSeconds(), 0.0);
    EXPECT_NE(player->lastError(), "");
    player->play();
    EXPECT_EQ(player->playState(), Stopped);
}

// A long MP3 without a length header: its length is measured in the
// background, and the parser's running estimates never replace it.
TEST_F(GstPlayerTest, ALengthNotToldUpFrontIsMeasuredAndKept) {
    ASSERT_EQ(encodeMp3(dir.file("part.mp3"), 3.0), "");
    std::ifstream part(dir.file("part.mp3"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(part)), std::istreambuf_iterator<char>());
    std::ofstream(dir.file("long.mp3"), std::ios::binary)
        << bytes << bytes << bytes << bytes << bytes << bytes << bytes << bytes << bytes << bytes;
    const double length =
        gst::scanAudioDuration(uriOf(dir.file("long.mp3")), std::chrono::steady_clock::now() + 20s);
    ASSERT_NEAR(length, 30.0, 0.5);
    player->setFileName(dir.file("long.mp3"));
    EXPECT_EQ(player->playState(), Stopped) << player->lastError();
    EXPECT_TRUE(eventually([&] { return player->durationSeconds() == length; }, 10000ms))
        << player->durationSeconds();
    playTo(1.0);
    EXPECT_EQ(player->durationSeconds(), length);
}

}  // namespace
}  // namespace vollo
