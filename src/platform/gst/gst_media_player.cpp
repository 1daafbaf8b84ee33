#include "platform/gst/gst_media_player.h"

#include "platform/gst/duration_scan.h"

#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

namespace vollo {

namespace {

// playbin's "flags" bits (GstPlayFlags lives in the plugin, not in a header).
constexpr guint PlayFlagVideo = 1u << 0;
constexpr guint PlayFlagAudio = 1u << 1;
constexpr guint PlayFlagText = 1u << 2;
constexpr guint PlayFlagVis = 1u << 3;
constexpr guint PlayFlagSoftVolume = 1u << 4;
constexpr guint PlayFlagDeinterlace = 1u << 9;
constexpr guint PlayFlagSoftColorbalance = 1u << 10;

constexpr GstMessageType PolledMessages =
    static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR | GST_MESSAGE_DURATION_CHANGED);

void initGStreamer() {
    // gst_init itself tolerates repeated calls; this keeps it off the path
    // entirely when the program has already initialised GStreamer.
    if (!gst_is_initialized()) {
        gst_init(nullptr, nullptr);
    }
}

double toSeconds(gint64 nanoseconds) {
    return static_cast<double>(nanoseconds) / GST_SECOND;
}

// The General MIDI soundfont for the MIDI synthesiser, "" if there is none.
const std::string& generalMidiSoundFont() {
    static const std::string path = [] {
        namespace fs = std::filesystem;
        const fs::path dir = "/usr/share/sounds/sf2";
        std::error_code ec;
        for (const char* name : {"default-GM.sf2", "FluidR3_GM.sf2", "TimGM6mb.sf2"}) {
            if (fs::is_regular_file(dir / name, ec)) {
                return (dir / name).string();
            }
        }
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            if (it->path().extension() == ".sf2" && it->is_regular_file(ec)) {
                return it->path().string();
            }
        }
        return std::string();
    }();
    return path;
}

// playbin "deep-element-added": gives the MIDI synthesiser a soundfont when it
// has none of its own. Runs on whichever thread builds the decoder.
void onElementAdded(GstBin*, GstBin*, GstElement* element, gpointer) {
    GstElementFactory* factory = gst_element_get_factory(element);
    if (factory == nullptr || std::strcmp(GST_OBJECT_NAME(factory), "fluiddec") != 0) {
        return;
    }
    if (!g_object_class_find_property(G_OBJECT_GET_CLASS(element), "soundfont")) {
        return;
    }
    gchar* current = nullptr;
    g_object_get(element, "soundfont", &current, nullptr);
    const bool hasOne = current != nullptr && current[0] != '\0';
    g_free(current);
    const std::string& soundFont = generalMidiSoundFont();
    if (!hasOne && !soundFont.empty()) {
        g_object_set(element, "soundfont", soundFont.c_str(), nullptr);
    }
}

GstElement* makeAudioSink() {
    const char* description = std::getenv("VOLLO_AUDIO_SINK");
    if (description != nullptr && description[0] != '\0') {
        GError* error = nullptr;
        GstElement* sink = gst_parse_bin_from_description(description, TRUE, &error);
        if (error != nullptr) {
            g_printerr("vollo: VOLLO_AUDIO_SINK \"%s\": %s\n", description, error->message);
            g_clear_error(&error);
        }
        if (sink != nullptr) {
            return sink;
        }
    }
    return gst_element_factory_make("autoaudiosink", nullptr);
}

}  // namespace

std::chrono::milliseconds GstMediaPlayer::defaultOpenTimeout() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return std::chrono::milliseconds(10000);  // everything runs several times slower
#else
    return std::chrono::milliseconds(2000);
#endif
}

GstMediaPlayer::GstMediaPlayer(std::chrono::milliseconds openTimeout)
    : openTimeout_(openTimeout) {
    initGStreamer();
    createPipeline();
}

GstMediaPlayer::~GstMediaPlayer() {
    if (playbin_ != nullptr) {
        gst_element_set_state(playbin_, GST_STATE_NULL);
        gst_object_unref(bus_);
        gst_object_unref(playbin_);
    }
}

void GstMediaPlayer::createPipeline() {
    playbin_ = gst_element_factory_make("playbin", nullptr);
    if (playbin_ == nullptr) {
        return;
    }
    gst_object_ref_sink(playbin_);

    guint flags = 0;
    g_object_get(playbin_, "flags", &flags, nullptr);
    flags &= ~(PlayFlagVideo | PlayFlagText | PlayFlagVis | PlayFlagDeinterlace | PlayFlagSoftColorbalance);
    flags |= PlayFlagAudio | PlayFlagSoftVolume;
    g_object_set(playbin_, "flags", flags, nullptr);

    if (GstElement* sink = makeAudioSink()) {
        g_object_set(playbin_, "audio-sink", sink, nullptr);
        audioSink_ = sink;  // playbin holds it as long as playbin_ lives
    }
    // With video off playbin still chooses a video sink for a file that has a
    // picture, and tries the desktop's (KMS, DirectFB, ...) one after another
    // to do so: slow at best, a crash without a display. A fakesink takes any
    // format, so the picture is not even decoded, and nothing renders it.
    for (const char* property : {"video-sink", "text-sink"}) {
        if (GstElement* sink = gst_element_factory_make("fakesink", nullptr)) {
            g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
            g_object_set(playbin_, property, sink, nullptr);
        }
    }
    g_signal_connect(playbin_, "deep-element-added", G_CALLBACK(onElementAdded), nullptr);
    bus_ = gst_element_get_bus(playbin_);
    applyVolume();
}

void GstMediaPlayer::abandonPipeline() {
    // Its streaming threads are still at work (a synthesiser loading its
    // soundfont, a read from a slow disk), and taking it down waits for them.
    // Another thread does that while this player goes on with a new pipeline.
    GstElement* playbin = playbin_;
    GstBus* bus = bus_;
    playbin_ = nullptr;
    bus_ = nullptr;
    audioSink_ = nullptr;
    std::thread([playbin, bus] {
        gst_element_set_state(playbin, GST_STATE_NULL);
        gst_object_unref(bus);
        gst_object_unref(playbin);
    }).detach();
    createPipeline();
}

std::string GstMediaPlayer::fileName() const {
    return fileName_;
}

void GstMediaPlayer::setFileName(const std::string& path) {
    fileName_ = path;
    media_ = Media::Failed;  // until the new file has proven playable
    state_ = Stopped;
    unload();
    lastError_.clear();
    uri_.clear();
    if (playbin_ == nullptr) {
        lastError_ = "GStreamer has no playbin element";
    } else if (path.empty()) {
        lastError_ = "no file name";
    } else {
        GError* error = nullptr;
        gchar* uri = gst_filename_to_uri(path.c_str(), &error);
        if (uri != nullptr) {
            uri_ = uri;
            g_free(uri);
        } else {
            lastError_ = error != nullptr ? error->message : "cannot make a URI";
        }
        g_clear_error(&error);
    }
    if (!uri_.empty() && load()) {
        media_ = Media::Ready;
    }
}

bool GstMediaPlayer::load() {
    const auto deadline = std::chrono::steady_clock::now() + openTimeout_;
    g_object_set(playbin_, "uri", uri_.c_str(), nullptr);
    const GstStateChangeReturn change = gst_element_set_state(playbin_, GST_STATE_PAUSED);
    bool prerolled = change == GST_STATE_CHANGE_SUCCESS || change == GST_STATE_CHANGE_NO_PREROLL;
    bool failed = change == GST_STATE_CHANGE_FAILURE;
    while (!prerolled && !failed) {
        const auto left =
            std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            lastError_ = "timed out opening the file";
            abandonPipeline();
            return false;
        }
        GstMessage* message = gst_bus_timed_pop_filtered(
            bus_, static_cast<GstClockTime>(left.count()),
            static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR));
        if (message == nullptr) {
            continue;
        }
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            handleMessage(message);
            failed = true;
        } else if (GST_MESSAGE_SRC(message) == GST_OBJECT(playbin_)) {
            prerolled = true;
        }
        gst_message_unref(message);
    }
    // Whatever the preroll left on the bus is history, except an error.
    while (GstMessage* message = gst_bus_pop_filtered(bus_, GST_MESSAGE_ERROR)) {
        handleMessage(message);
        gst_message_unref(message);
        failed = true;
    }
    if (failed) {
        unload();
        return false;
    }
    refreshDuration();
    if (duration_ <= 0.0) {
        // The parser learns the length only as it reads on (an MP3 without a
        // header that tells it): measure it now.
        duration_ = gst::scanAudioDuration(uri_, deadline);
        durationDirty_ = duration_ <= 0.0;
    }
    return true;
}

void GstMediaPlayer::unload() {
    if (playbin_ != nullptr) {
        gst_element_set_state(playbin_, GST_STATE_NULL);
        // Nothing posts once the pipeline is down: drop what is left.
        gst_bus_set_flushing(bus_, TRUE);
        gst_bus_set_flushing(bus_, FALSE);
    }
    held_ = 0.0;
    duration_ = 0.0;
    durationDirty_ = false;
}

void GstMediaPlayer::pollBus() {
    if (bus_ == nullptr) {
        return;
    }
    while (GstMessage* message = gst_bus_pop_filtered(bus_, PolledMessages)) {
        handleMessage(message);
        gst_message_unref(message);
    }
}

void GstMediaPlayer::handleMessage(GstMessage* message) {
    switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS:
            if (media_ == Media::Ready) {
                reachEnd();
            }
            break;
        case GST_MESSAGE_ERROR: {
            GError* error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            lastError_ = error != nullptr ? error->message : "unknown error";
            g_clear_error(&error);
            if (media_ == Media::Ready) {
                // play() takes the pipeline down and builds it up again; not
                // here, as taking it down may wait for its threads.
                media_ = Media::NeedsReload;
                state_ = Stopped;
                held_ = 0.0;
            }
            break;
        }
        case GST_MESSAGE_DURATION_CHANGED:
            durationDirty_ = true;
            break;
        default:
            break;
    }
}

void GstMediaPlayer::reachEnd() {
    state_ = Stopped;
    held_ = 0.0;
    if (media_ == Media::Ready) {
        gst_element_set_state(playbin_, GST_STATE_PAUSED);
        seek(0.0);
    }
}

bool GstMediaPlayer::seek(double seconds) {
    const auto target = static_cast<gint64>(std::llround(seconds * GST_SECOND));
    // While the flush is under way the pipeline does not answer position
    // queries; held_ stands for the target meanwhile.
    return gst_element_seek_simple(playbin_, GST_FORMAT_TIME,
                                   static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                   target) != FALSE;
}

bool GstMediaPlayer::queryPosition(double& seconds) const {
    // The audio sink is the only sink, and so has the pipeline's position; asked
    // directly it answers in a third of the time the whole pipeline takes.
    GstElement* asked = audioSink_ != nullptr ? audioSink_ : playbin_;
    gint64 position = 0;
    if (!gst_element_query_position(asked, GST_FORMAT_TIME, &position) || position < 0) {
        return false;
    }
    seconds = toSeconds(position);
    return true;
}

void GstMediaPlayer::refreshDuration() {
    gint64 duration = 0;
    if (gst_element_query_duration(playbin_, GST_FORMAT_TIME, &duration) && duration > 0) {
        duration_ = toSeconds(duration);
        durationDirty_ = false;
    }
}

void GstMediaPlayer::play() {
    pollBus();
    if (media_ == Media::NeedsReload) {
        const double resumeAt = held_;
        unload();
        if (!load()) {
            media_ = Media::Failed;
            return;
        }
        media_ = Media::Ready;
        if (resumeAt > 0.0) {
            held_ = resumeAt;
            seek(resumeAt);
        }
    }
    if (media_ != Media::Ready || state_ == Playing) {
        return;
    }
    if (duration_ > 0.0 && held_ >= duration_) {
        reachEnd();
        return;
    }
    if (gst_element_set_state(playbin_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        pollBus();  // the error message says why, and stops the player
        state_ = Stopped;
        return;
    }
    state_ = Playing;
}

void GstMediaPlayer::pause() {
    pollBus();
    if (state_ != Playing) {
        return;
    }
    gst_element_set_state(playbin_, GST_STATE_PAUSED);
    double position = 0.0;
    if (queryPosition(position)) {
        held_ = position;
    }
    state_ = Paused;
}

void GstMediaPlayer::stop() {
    pollBus();
    if (state_ == Playing) {
        gst_element_set_state(playbin_, GST_STATE_PAUSED);
        double position = 0.0;
        if (queryPosition(position)) {
            held_ = position;
        }
    }
    if (state_ != NothingOpened) {
        state_ = Stopped;
    }
}

double GstMediaPlayer::currentPositionSeconds() {
    pollBus();
    if (state_ == Playing) {
        double position = 0.0;
        if (queryPosition(position)) {
            held_ = duration_ > 0.0 ? std::min(position, duration_) : position;
        }
    }
    return held_;
}

void GstMediaPlayer::setCurrentPositionSeconds(double seconds) {
    pollBus();
    if (media_ != Media::Ready && media_ != Media::NeedsReload) {
        return;
    }
    if (!(seconds > 0.0)) {
        seconds = 0.0;  // negative or NaN
    }
    if (duration_ > 0.0 && seconds >= duration_) {
        reachEnd();
        return;
    }
    held_ = seconds;
    if (media_ == Media::Ready) {
        seek(seconds);
    }
}

double GstMediaPlayer::durationSeconds() {
    pollBus();
    if (durationDirty_ && media_ == Media::Ready) {
        refreshDuration();
    }
    return duration_;
}

int GstMediaPlayer::playState() {
    pollBus();
    return state_;
}

int GstMediaPlayer::volume() const {
    return volume_;
}

void GstMediaPlayer::setVolume(int hundredthsOfDecibel) {
    volume_ = hundredthsOfDecibel;
    applyVolume();
}

double GstMediaPlayer::linearGain(int hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= -10000) {
        return 0.0;
    }
    if (hundredthsOfDecibel >= 0) {
        return 1.0;
    }
    return std::pow(10.0, hundredthsOfDecibel / 2000.0);
}

void GstMediaPlayer::applyVolume() {
    if (playbin_ != nullptr) {
        g_object_set(playbin_, "volume", linearGain(volume_), nullptr);
    }
}

double GstMediaPlayer::linearVolumeForTest() const {
    double linear = -1.0;
    if (playbin_ != nullptr) {
        g_object_get(playbin_, "volume", &linear, nullptr);
    }
    return linear;
}

}  // namespace vollo
