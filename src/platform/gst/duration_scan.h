// Finding the length of a file whose demuxer or parser cannot tell it up front
// (an MP3 without a Xing or VBRI header, for one).
#pragma once

#include <atomic>
#include <chrono>
#include <string>

namespace vollo::gst {

// Runs the file at `uri` through its demuxer and parsers, without decoding and
// as fast as it can be read, and returns where its audio ends in seconds: 0 if
// it has no audio, cannot be read, or the scan is not done by `deadline` or is
// cancelled (`*cancelled` becomes true) before it is done.
double scanAudioDuration(const std::string& uri, std::chrono::steady_clock::time_point deadline,
                         const std::atomic<bool>* cancelled = nullptr);

}  // namespace vollo::gst
