#include "platform/gst/duration_scan.h"

#include <gst/gst.h>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace vollo::gst {

namespace {

struct Scan {
    GstElement* pipeline = nullptr;
    std::atomic<GstClockTime> end{0};
};

// fakesink "handoff": remembers the latest end of an audio buffer.
void onHandoff(GstElement*, GstBuffer* buffer, GstPad*, gpointer data) {
    auto* scan = static_cast<Scan*>(data);
    GstClockTime start = GST_BUFFER_PTS(buffer);
    if (!GST_CLOCK_TIME_IS_VALID(start)) {
        start = GST_BUFFER_DTS(buffer);
    }
    if (!GST_CLOCK_TIME_IS_VALID(start)) {
        return;
    }
    const GstClockTime length = GST_BUFFER_DURATION(buffer);
    const GstClockTime end = start + (GST_CLOCK_TIME_IS_VALID(length) ? length : 0);
    GstClockTime seen = scan->end.load();
    while (end > seen && !scan->end.compare_exchange_weak(seen, end)) {
    }
}

bool isAudio(GstPad* pad) {
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (caps == nullptr) {
        caps = gst_pad_query_caps(pad, nullptr);
    }
    bool audio = false;
    if (caps != nullptr && gst_caps_get_size(caps) > 0) {
        audio = std::strncmp(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/", 6) == 0;
    }
    if (caps != nullptr) {
        gst_caps_unref(caps);
    }
    return audio;
}

// parsebin "pad-added": every stream goes to a sink of its own, so that none
// stalls the others; only the audio is measured.
void onPadAdded(GstElement*, GstPad* pad, gpointer data) {
    auto* scan = static_cast<Scan*>(data);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (sink == nullptr) {
        return;
    }
    g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    if (isAudio(pad)) {
        g_object_set(sink, "signal-handoffs", TRUE, nullptr);
        g_signal_connect(sink, "handoff", G_CALLBACK(onHandoff), scan);
    }
    gst_bin_add(GST_BIN(scan->pipeline), sink);
    gst_element_sync_state_with_parent(sink);
    GstPad* sinkPad = gst_element_get_static_pad(sink, "sink");
    gst_pad_link(pad, sinkPad);
    gst_object_unref(sinkPad);
}

}  // namespace

double scanAudioDuration(const std::string& uri, std::chrono::steady_clock::time_point deadline,
                         const std::atomic<bool>* cancelled) {
    using namespace std::chrono_literals;
    GstElement* source = gst_element_make_from_uri(GST_URI_SRC, uri.c_str(), nullptr, nullptr);
    GstElement* parse = gst_element_factory_make("parsebin", nullptr);
    if (source == nullptr || parse == nullptr) {
        if (source != nullptr) {
            gst_object_unref(gst_object_ref_sink(source));
        }
        if (parse != nullptr) {
            gst_object_unref(gst_object_ref_sink(parse));
        }
        return 0.0;
    }
    Scan scan;
    scan.pipeline = gst_pipeline_new(nullptr);
    gst_bin_add_many(GST_BIN(scan.pipeline), source, parse, nullptr);
    g_signal_connect(parse, "pad-added", G_CALLBACK(onPadAdded), &scan);

    bool finished = false;
    if (gst_element_link(source, parse) &&
        gst_element_set_state(scan.pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
        GstBus* bus = gst_element_get_bus(scan.pipeline);
        while (true) {
            const auto left = std::min<std::chrono::steady_clock::duration>(
                deadline - std::chrono::steady_clock::now(), 50ms);  // looks at `cancelled` meanwhile
            if (left.count() <= 0 || (cancelled != nullptr && cancelled->load())) {
                break;
            }
            GstMessage* message = gst_bus_timed_pop_filtered(
                bus,
                static_cast<GstClockTime>(std::chrono::duration_cast<std::chrono::nanoseconds>(left).count()),
                static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
            if (message == nullptr) {
                continue;
            }
            finished = GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
            gst_message_unref(message);
            break;
        }
        gst_object_unref(bus);
    }
    // Down before `scan` goes: the streaming threads use it.
    gst_element_set_state(scan.pipeline, GST_STATE_NULL);
    gst_object_unref(scan.pipeline);
    return finished ? static_cast<double>(scan.end.load()) / GST_SECOND : 0.0;
}

}  // namespace vollo::gst
