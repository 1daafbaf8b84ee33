#include "platform/gst/peak_limiter.h"

#include <gst/gst.h>

#include <algorithm>
#include <cmath>

namespace vollo::gst {

PeakLimiter::PeakLimiter(float ceiling, int sampleRate, double releaseSeconds)
    : ceiling_(ceiling),
      release_(static_cast<float>(std::exp(-1.0 / (releaseSeconds * sampleRate)))) {}

void PeakLimiter::process(float* samples, std::size_t frames, int channels) {
    for (std::size_t f = 0; f < frames; ++f) {
        float* frame = samples + f * static_cast<std::size_t>(channels);
        float peak = 0.0f;
        for (int c = 0; c < channels; ++c) {
            peak = std::max(peak, std::fabs(frame[c]));
        }
        envelope_ = std::max(peak, envelope_ * release_);
        if (envelope_ > ceiling_) {
            const float gain =
                ceiling_ / envelope_;  // envelope_ >= peak: the frame ends at or under the ceiling
            for (int c = 0; c < channels; ++c) {
                frame[c] *= gain;
            }
        }
    }
}

namespace {

constexpr int SynthChannels = 2;

GstPadProbeReturn limitBuffer(GstPad*, GstPadProbeInfo* info, gpointer data) {
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    GstMapInfo map;
    if (gst_buffer_map(buffer, &map, GST_MAP_READWRITE)) {
        static_cast<PeakLimiter*>(data)->process(reinterpret_cast<float*>(map.data),
                                                 map.size / (sizeof(float) * SynthChannels), SynthChannels);
        gst_buffer_unmap(buffer, &map);
    }
    return GST_PAD_PROBE_OK;
}

}  // namespace

void limitOutputOf(GstElement* synthesiser) {
    GstPad* pad = gst_element_get_static_pad(synthesiser, "src");
    if (pad == nullptr) {
        return;
    }
    // A ceiling of -1 dB; a quarter second to come back.
    auto* limiter = new PeakLimiter(0.89f, 44100, 0.25);
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, limitBuffer, limiter,
                      [](gpointer data) { delete static_cast<PeakLimiter*>(data); });
    gst_object_unref(pad);
}

}  // namespace vollo::gst
