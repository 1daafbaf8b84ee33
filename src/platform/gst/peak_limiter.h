// Keeps interleaved float audio under a ceiling without clipping it: the gain
// drops at once to what the loudest sample of a frame needs and comes back
// slowly (an exponential release), so a loud passage is turned down as a
// whole instead of having its peaks cut off.
//
// The MIDI synthesiser plays at a normal loudness (see GstMediaPlayer::midiGain);
// this keeps a dense piece, all sixteen channels at once, from clipping.
#pragma once

#include <cstddef>

typedef struct _GstElement GstElement;

namespace vollo::gst {

class PeakLimiter {
  public:
    PeakLimiter(float ceiling, int sampleRate, double releaseSeconds);
    void process(float* samples, std::size_t frames, int channels);

  private:
    float ceiling_;
    float release_;  // the envelope's factor a frame
    float envelope_ = 0.0f;
};

// Limits what `synthesiser` (a fluiddec: 44.1 kHz stereo F32) puts out.
void limitOutputOf(GstElement* synthesiser);

}  // namespace vollo::gst
