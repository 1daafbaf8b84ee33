// Media files made at test time: WAV and MIDI written byte by byte, MP3 and AVI
// encoded through GStreamer in-process, plus files that are not media at all.
// Paths are raw file-system bytes (they need not be UTF-8).
#pragma once

#include <cstddef>
#include <string>

namespace vollo::testmedia {

// 16-bit PCM, a 440 Hz tone of the given peak (1 is full scale).
void writeWav(const std::string& path, double seconds, int sampleRate = 44100, int channels = 2,
              double peak = 8000.0 / 32768);

// A format 0 Standard MIDI File at 120 beats a minute: `quarterNotes` notes of
// one beat (half a second) each, so it lasts quarterNotes / 2 seconds.
void writeMidi(const std::string& path, int quarterNotes);

// A format 0 Standard MIDI File of `seconds` (whole half-seconds): a C-major
// chord at velocity 100 struck every half second on each of `channels`
// channels, each with an instrument of its own (channel 10 is drums).
void writeMidiChords(const std::string& path, int channels, double seconds);

// Variable bit-rate MP3 (lamemp3enc) of a tone, with or without the Xing
// header that tells a player its length up front. Returns "" on success, else
// what went wrong.
enum class Mp3Header { None, Xing };
std::string encodeMp3(const std::string& path, double seconds, Mp3Header header = Mp3Header::None);

// AVI with a PCM audio track of `seconds` and a small MJPEG video track of the
// same length. Returns "" on success, else what went wrong.
std::string encodeAvi(const std::string& path, double seconds);

void writeEmpty(const std::string& path);

// Bytes that no demuxer recognises.
void writeGarbage(const std::string& path, std::size_t bytes);

// A fresh directory, removed with everything in it when this goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

  private:
    std::string path_;
};

}  // namespace vollo::testmedia
