#include "test_media.h"

#include <gst/gst.h>
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <stdexcept>
#include <vector>

namespace vollo::testmedia {

namespace {

using Bytes = std::vector<std::uint8_t>;

void putLe(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void putBe(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void putText(Bytes& out, const char* text) {
    for (; *text != '\0'; ++text) {
        out.push_back(static_cast<std::uint8_t>(*text));
    }
}

// MIDI variable-length quantity: 7 bits a byte, most significant first.
void putVarLen(Bytes& out, std::uint32_t value) {
    Bytes groups{static_cast<std::uint8_t>(value & 0x7f)};
    while ((value >>= 7) != 0) {
        groups.push_back(static_cast<std::uint8_t>(0x80 | (value & 0x7f)));
    }
    out.insert(out.end(), groups.rbegin(), groups.rend());
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

// A format 0 file of one track, ended here.
void writeMidiTrack(const std::string& path, Bytes track, std::uint32_t ticksPerQuarter) {
    putVarLen(track, 0);  // end of track
    track.insert(track.end(), {0xff, 0x2f, 0x00});
    Bytes out;
    putText(out, "MThd");
    putBe(out, 6, 4);
    putBe(out, 0, 2);  // format 0
    putBe(out, 1, 2);  // one track
    putBe(out, ticksPerQuarter, 2);
    putText(out, "MTrk");
    putBe(out, static_cast<std::uint32_t>(track.size()), 4);
    out.insert(out.end(), track.begin(), track.end());
    writeBytes(path, out);
}

void ensureGst() {
    if (!gst_is_initialized()) {
        gst_init(nullptr, nullptr);
    }
}

// Runs `description` (which has a "filesink name=out") to its end, writing `path`.
std::string runEncoder(const std::string& description, const std::string& path) {
    ensureGst();
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (pipeline == nullptr || error != nullptr) {
        std::string why = error != nullptr ? error->message : "cannot build the pipeline";
        g_clear_error(&error);
        if (pipeline != nullptr) {
            gst_object_unref(pipeline);
        }
        return why;
    }
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    g_object_set(sink, "location", path.c_str(), nullptr);
    gst_object_unref(sink);

    std::string result;
    GstBus* bus = gst_element_get_bus(pipeline);
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        result = "the encoder does not start";
    }
    GstMessage* message = gst_bus_timed_pop_filtered(
        bus, 20 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (message == nullptr) {
        result = "the encoder did not finish";
    } else {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            gst_message_parse_error(message, &error, nullptr);
            result = error->message;
            g_clear_error(&error);
        }
        gst_message_unref(message);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(bus);
    gst_object_unref(pipeline);
    return result;
}

// audiotestsrc parameters for exactly `seconds` of 44.1 kHz audio in 10 ms buffers.
std::string toneSource(double seconds) {
    const long buffers = std::lround(seconds * 100);
    return "audiotestsrc wave=sine freq=440 samplesperbuffer=441 num-buffers=" + std::to_string(buffers) +
           " ! audio/x-raw,format=S16LE,rate=44100,channels=2";
}

}  // namespace

void writeWav(const std::string& path, double seconds, int sampleRate, int channels, double peak) {
    const auto frames = static_cast<std::uint32_t>(std::lround(seconds * sampleRate));
    const std::uint32_t dataBytes = frames * static_cast<std::uint32_t>(channels) * 2;
    Bytes out;
    out.reserve(44 + dataBytes);
    putText(out, "RIFF");
    putLe(out, 36 + dataBytes, 4);
    putText(out, "WAVE");
    putText(out, "fmt ");
    putLe(out, 16, 4);
    putLe(out, 1, 2);  // PCM
    putLe(out, static_cast<std::uint32_t>(channels), 2);
    putLe(out, static_cast<std::uint32_t>(sampleRate), 4);
    putLe(out, static_cast<std::uint32_t>(sampleRate * channels * 2), 4);
    putLe(out, static_cast<std::uint32_t>(channels * 2), 2);
    putLe(out, 16, 2);
    putText(out, "data");
    putLe(out, dataBytes, 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const auto sample =
            static_cast<std::int16_t>(std::lround(peak * 32767 * std::sin(2 * std::numbers::pi * 440 * t)));
        for (int c = 0; c < channels; ++c) {
            putLe(out, static_cast<std::uint16_t>(sample), 2);
        }
    }
    writeBytes(path, out);
}

void writeMidi(const std::string& path, int quarterNotes) {
    constexpr std::uint32_t ticksPerQuarter = 480;
    Bytes track;
    putVarLen(track, 0);  // tempo: 500000 microseconds a quarter note = 120 bpm
    track.insert(track.end(), {0xff, 0x51, 0x03, 0x07, 0xa1, 0x20});
    putVarLen(track, 0);  // program change: acoustic grand piano
    track.insert(track.end(), {0xc0, 0x00});
    for (int i = 0; i < quarterNotes; ++i) {
        const auto key = static_cast<std::uint8_t>(60 + (i * 2) % 12);
        putVarLen(track, 0);
        track.insert(track.end(), {0x90, key, 0x64});
        putVarLen(track, ticksPerQuarter);
        track.insert(track.end(), {0x80, key, 0x40});
    }
    writeMidiTrack(path, track, ticksPerQuarter);
}

void writeMidiChords(const std::string& path, int channels, double seconds) {
    constexpr std::uint32_t ticksPerQuarter = 480;
    Bytes track;
    putVarLen(track, 0);  // 120 bpm: a quarter note is half a second
    track.insert(track.end(), {0xff, 0x51, 0x03, 0x07, 0xa1, 0x20});
    auto notes = [](int channel) {
        if (channel == 9) {
            return std::vector<std::uint8_t>{36, 38, 42};  // kick, snare, hi-hat
        }
        const auto c = static_cast<std::uint8_t>(48 + 12 * (channel % 3));
        return std::vector<std::uint8_t>{c, static_cast<std::uint8_t>(c + 4),
                                         static_cast<std::uint8_t>(c + 7)};
    };
    for (int ch = 0; ch < channels; ++ch) {
        putVarLen(track, 0);  // a program of its own: piano, organ, strings, brass, ...
        track.insert(track.end(), {static_cast<std::uint8_t>(0xc0 | ch), static_cast<std::uint8_t>(ch * 8)});
    }
    for (long beat = 0; beat < std::lround(seconds * 2); ++beat) {
        for (int ch = 0; ch < channels; ++ch) {
            for (const std::uint8_t key : notes(ch)) {
                putVarLen(track, 0);
                track.insert(track.end(), {static_cast<std::uint8_t>(0x90 | ch), key, 100});
            }
        }
        std::uint32_t delta = ticksPerQuarter;
        for (int ch = 0; ch < channels; ++ch) {
            for (const std::uint8_t key : notes(ch)) {
                putVarLen(track, delta);
                delta = 0;
                track.insert(track.end(), {static_cast<std::uint8_t>(0x80 | ch), key, 0x40});
            }
        }
    }
    writeMidiTrack(path, track, ticksPerQuarter);
}

std::string encodeMp3(const std::string& path, double seconds, Mp3Header header) {
    const char* xing = header == Mp3Header::Xing ? " ! xingmux" : "";
    return runEncoder(toneSource(seconds) + " ! audioconvert ! lamemp3enc" + xing + " ! filesink name=out",
                      path);
}

std::string encodeAvi(const std::string& path, double seconds) {
    const long frames = std::lround(seconds * 10);
    return runEncoder("avimux name=mux ! filesink name=out  " + toneSource(seconds) +
                          " ! mux.  videotestsrc num-buffers=" + std::to_string(frames) +
                          " ! video/x-raw,width=64,height=48,framerate=10/1 ! jpegenc ! mux.",
                      path);
}

void writeEmpty(const std::string& path) {
    writeBytes(path, {});
}

void writeGarbage(const std::string& path, std::size_t bytes) {
    std::mt19937 random(20240601);
    Bytes out(bytes);
    for (auto& byte : out) {
        byte = static_cast<std::uint8_t>(random() % 0xff);  // never 0xff: no MPEG frame sync
    }
    writeBytes(path, out);
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vollo-gst-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(const std::string& name) const {
    return path_ + "/" + name;
}

}  // namespace vollo::testmedia
