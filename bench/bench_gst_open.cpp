// How long opening a file holds up the caller (the window's thread), for the
// files that used to freeze it: the worst case of each kind, in milliseconds.
//
//   VOLLO_AUDIO_SINK="fakesink sync=true" build/dev/bench/bench_gst_open
//
// Worst of 8 opens, Debug build, 2 busy cores (load 13-19), before -> after the
// open stopped waiting for the file on the caller's thread: FIFO without a
// writer blocked for good -> 0.6 ms; FIFO with an idle writer 2007 -> 0.5 ms;
// socket 8.6 -> 0.5 ms; /dev/zero 148 -> 0.5 ms; 90-minute MP3 without a length
// header 2016 -> 211 ms; MIDI of time division 0 2065 -> 224 ms; MIDI 180 -> 76 ms.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#include "platform/gst/gst_media_player.h"
#include "test_media.h"

namespace {

using vollo::testmedia::TempDir;

const TempDir& dir() {
    static const TempDir d;
    return d;
}

// A long MP3 without a length header: one encoded minute repeated.
std::string longMp3() {
    const std::string minute = dir().file("minute.mp3");
    const std::string path = dir().file("long.mp3");
    if (vollo::testmedia::encodeMp3(minute, 60.0) != "") {
        return minute;
    }
    std::ifstream in(minute, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 90; ++i) {
        out << bytes;
    }
    return path;
}

std::string midiDivisionZero() {
    const std::string path = dir().file("division0.mid");
    vollo::testmedia::writeMidi(path, 4);
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(12);  // the header's division field
    f.write("\0\0", 2);
    return path;
}

std::string fifo(bool withIdleWriter) {
    const std::string path = dir().file(withIdleWriter ? "idle.mp3" : "nowriter.mp3");
    mkfifo(path.c_str(), 0600);
    if (withIdleWriter) {
        open(path.c_str(), O_RDWR);  // kept open for the whole run, never written
    }
    return path;
}

std::string socketFile() {
    const std::string path = dir().file("socket.wav");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    listen(fd, 1);
    return path;
}

void openLatency(benchmark::State& state, const std::function<std::string()>& make) {
    setenv("VOLLO_AUDIO_SINK", "fakesink sync=true", 0);
    const std::string path = make();
    const std::string wav = dir().file("tone.wav");
    vollo::testmedia::writeWav(wav, 1.0);
    vollo::GstMediaPlayer player;
    double worst = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        player.setFileName(path);
        benchmark::DoNotOptimize(player.durationSeconds());
        const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
        worst = std::max(worst, spent.count());
        state.SetIterationTime(spent.count() / 1000.0);
        state.PauseTiming();
        player.setFileName(wav);  // the next open replaces a playable file
        state.ResumeTiming();
    }
    state.counters["worst_ms"] = worst;
}

#define OPEN_CASE(name, make) \
    BENCHMARK_CAPTURE(openLatency, name, make)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond)

OPEN_CASE(fifo_without_writer, [] { return fifo(false); });
OPEN_CASE(fifo_with_idle_writer, [] { return fifo(true); });
OPEN_CASE(socket, socketFile);
OPEN_CASE(dev_zero, [] { return std::string("/dev/zero"); });
OPEN_CASE(mp3_90_minutes_without_length_header, longMp3);
OPEN_CASE(midi_division_0, midiDivisionZero);
OPEN_CASE(midi, [] {
    vollo::testmedia::writeMidi(dir().file("tune.mid"), 8);
    return dir().file("tune.mid");
});

}  // namespace

BENCHMARK_MAIN();
