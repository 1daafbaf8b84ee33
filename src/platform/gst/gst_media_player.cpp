#include "platform/gst/gst_media_player.h"

#include "platform/gst/duration_scan.h"
#include "platform/gst/peak_limiter.h"

#include <gst/gst.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
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

constexpr GstMessageType PolledMessages = static_cast<GstMessageType>(
    GST_MESSAGE_EOS | GST_MESSAGE_ERROR | GST_MESSAGE_DURATION_CHANGED | GST_MESSAGE_ASYNC_DONE);

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
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(element), "synth-gain")) {
        g_object_set(element, "synth-gain", GstMediaPlayer::midiGain, nullptr);
        gst::limitOutputOf(element);
    }
}

// Only an ordinary file is read: a FIFO or a device may block the reader for
// good, or never end. A link counts as what it points to.
bool isOrdinaryFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
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

// A length being measured on the measurer's thread.
struct GstMediaPlayer::Measurement {
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    bool done = false;
    double seconds = 0.0;
};

std::chrono::milliseconds GstMediaPlayer::readyWait() {
    return defaultOpenTimeout() / 10;
}

GstMediaPlayer::GstMediaPlayer(std::chrono::milliseconds openTimeout, std::chrono::milliseconds measureLimit,
                               gst::SerialWorker::ThreadStarter startThread)
    : openTimeout_(openTimeout),
      measureLimit_(measureLimit.count() > 0 ? measureLimit : 5 * openTimeout),
      teardown_(startThread),
      measurer_(startThread) {}

GstMediaPlayer::~GstMediaPlayer() {
    if (measurement_) {
        measurement_->cancelled = true;
    }
    if (playbin_ != nullptr) {
        // Its threads may be busy (a file still getting ready): the worker
        // takes it down, and the workers' destructors wait for that.
        GstElement* playbin = playbin_;
        GstBus* bus = bus_;
        playbin_ = nullptr;
        teardown_.post([playbin, bus] {
            gst_element_set_state(playbin, GST_STATE_NULL);
            gst_object_unref(bus);
            gst_object_unref(playbin);
        });
    }
    // Once the workers are done (their destructors wait), every pipeline is
    // down; the streaming threads they used idle in GLib's pool until told.
    teardown_.post([] { g_thread_pool_stop_unused_threads(); });
}

void GstMediaPlayer::ensurePipeline() {
    if (!pipelineTried_) {
        pipelineTried_ = true;
        initGStreamer();
        createPipeline();
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
    // The worker does that while this player goes on with a new pipeline. One
    // worker, one pipeline at a time: the MIDI synthesiser formats its messages
    // in one buffer shared by all its instances, so synthesisers taken down at
    // once (one thread each) garbled each other's error texts.
    GstElement* playbin = playbin_;
    GstBus* bus = bus_;
    createPipeline();  // first: whatever happens next, the player has one
    teardown_.post([playbin, bus] {
        gst_element_set_state(playbin, GST_STATE_NULL);
        gst_object_unref(bus);
        gst_object_unref(playbin);
    });
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
    ensurePipeline();
    if (playbin_ == nullptr) {
        lastError_ = "GStreamer has no playbin element";
    } else if (path.empty()) {
        lastError_ = "no file name";
    } else if (!isOrdinaryFile(path)) {
        lastError_ = "not an ordinary file";
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
    if (!uri_.empty()) {
        load();
    }
}

bool GstMediaPlayer::load() {
    const auto now = std::chrono::steady_clock::now();
    openDeadline_ = now + openTimeout_;
    const auto waitUntil = now + std::min<std::chrono::milliseconds>(readyWait(), openTimeout_);
    media_ = Media::Opening;
    g_object_set(playbin_, "uri", uri_.c_str(), nullptr);
    const GstStateChangeReturn change = gst_element_set_state(playbin_, GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_SUCCESS || change == GST_STATE_CHANGE_NO_PREROLL) {
        becomeReady();
    } else if (change == GST_STATE_CHANGE_FAILURE) {
        pollBus();  // the error says why
        fail(lastError_.empty() ? "cannot open the file" : lastError_);
    }
    // Wait a little for it to be ready, and for a length the file does not
    // tell up front; whatever is not done by then is picked up by later polls.
    while ((media_ == Media::Opening || (media_ == Media::Ready && measurement_)) &&
           std::chrono::steady_clock::now() < waitUntil) {
        if (media_ == Media::Opening) {
            const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
                waitUntil - std::chrono::steady_clock::now());
            if (GstMessage* message = gst_bus_timed_pop_filtered(
                    bus_, static_cast<GstClockTime>(left.count()), PolledMessages)) {
                handleMessage(message);
                gst_message_unref(message);
            }
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            takeMeasurement();
        }
    }
    update();
    return media_ == Media::Opening || media_ == Media::Ready;
}

void GstMediaPlayer::becomeReady() {
    // Whatever the preroll left on the bus is history, except an error.
    if (GstMessage* message = gst_bus_pop_filtered(bus_, GST_MESSAGE_ERROR)) {
        handleMessage(message);  // fails the open
        gst_message_unref(message);
        return;
    }
    media_ = Media::Ready;
    refreshDuration();
    if (duration_ <= 0.0) {
        // The parser learns the length only as it reads on (an MP3 without a
        // header that tells it): measure it on the measurer's thread.
        auto measurement = std::make_shared<Measurement>();
        measurement_ = measurement;
        const std::string uri = uri_;
        const auto deadline = std::chrono::steady_clock::now() + measureLimit_;
        measurer_.post([measurement, uri, deadline] {
            const double seconds =
                measurement->cancelled ? 0.0 : gst::scanAudioDuration(uri, deadline, &measurement->cancelled);
            std::lock_guard lock(measurement->mutex);
            measurement->seconds = seconds;
            measurement->done = true;
        });
    }
    if (held_ > 0.0) {
        seek(held_);  // a position written while the file was getting ready
    }
}

void GstMediaPlayer::fail(const std::string& why) {
    lastError_ = why;
    unload();
    media_ = Media::Failed;
    state_ = Stopped;
}

void GstMediaPlayer::takeMeasurement() {
    if (!measurement_) {
        return;
    }
    double seconds = 0.0;
    {
        std::lock_guard lock(measurement_->mutex);
        if (!measurement_->done) {
            return;
        }
        seconds = measurement_->seconds;
    }
    measurement_.reset();
    if (seconds > 0.0) {
        duration_ = seconds;
        durationDirty_ = false;
        durationMeasured_ = true;
        return;
    }
    refreshDuration();
    if (duration_ <= 0.0) {
        // Read to its end, or for as long as the measurement may take, and
        // still no length: a file that "plays" without getting anywhere (a
        // MIDI file whose time division is 0 plays silence for ever).
        abandonPipeline();  // its threads are busy producing that
        fail("the file has no length");
    }
}

void GstMediaPlayer::update() {
    pollBus();
    if (media_ == Media::Opening && std::chrono::steady_clock::now() >= openDeadline_) {
        fail("timed out opening the file");
    }
    if (media_ == Media::Ready) {
        takeMeasurement();
    }
}

void GstMediaPlayer::unload() {
    if (measurement_) {
        measurement_->cancelled = true;
        measurement_.reset();
    }
    if (media_ == Media::Opening) {
        abandonPipeline();  // taking it down would wait for its busy threads
    } else if (playbin_ != nullptr) {
        gst_element_set_state(playbin_, GST_STATE_NULL);
        // Nothing posts once the pipeline is down: drop what is left.
        gst_bus_set_flushing(bus_, TRUE);
        gst_bus_set_flushing(bus_, FALSE);
    }
    held_ = 0.0;
    duration_ = 0.0;
    durationDirty_ = false;
    durationMeasured_ = false;
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
            if (media_ == Media::Opening) {
                fail(lastError_);
            } else if (media_ == Media::Ready) {
                // play() takes the pipeline down and builds it up again; not
                // here, as taking it down may wait for its threads.
                media_ = Media::NeedsReload;
                state_ = Stopped;
                held_ = 0.0;
            }
            break;
        }
        case GST_MESSAGE_DURATION_CHANGED:
            durationDirty_ = !durationMeasured_;  // an estimate never replaces the measured length
            break;
        case GST_MESSAGE_ASYNC_DONE:
            if (media_ == Media::Opening && GST_MESSAGE_SRC(message) == GST_OBJECT(playbin_)) {
                becomeReady();
            }
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
    update();
    if (media_ == Media::NeedsReload) {
        const double resumeAt = held_;
        unload();
        held_ = resumeAt;  // sought once the file is ready again
        if (!load()) {
            return;
        }
    }
    if ((media_ != Media::Ready && media_ != Media::Opening) || state_ == Playing) {
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
    update();
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
    update();
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
    update();
    if (state_ == Playing && media_ == Media::Ready) {
        double position = 0.0;
        if (queryPosition(position)) {
            held_ = duration_ > 0.0 ? std::min(position, duration_) : position;
        }
    }
    return held_;
}

void GstMediaPlayer::setCurrentPositionSeconds(double seconds) {
    update();
    if (media_ != Media::Ready && media_ != Media::NeedsReload && media_ != Media::Opening) {
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
    update();
    if (durationDirty_ && media_ == Media::Ready) {
        refreshDuration();
    }
    return duration_;
}

int GstMediaPlayer::playState() {
    update();
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
