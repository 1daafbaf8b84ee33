// Tooling for the GStreamer player's tests: polling, looking inside a pipeline,
// making files the player cannot play and thread starters that fail.
#pragma once

#include <gst/gst.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "test_media.h"

namespace vollo::testmedia {

// Polls `condition` every `every` until it holds (true) or `limit` has passed (false).
bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds limit = std::chrono::milliseconds(3000),
                std::chrono::milliseconds every = std::chrono::milliseconds(10));

// Elements inside `bin`, at any depth, whose factory's name and klass hold every
// word of `words`, and for which `also` holds.
int countElements(GstElement* bin, const std::string& words,
                  const std::function<bool(GstElement*)>& also = {});

std::string uriOf(const std::string& path);

// A GObject property's value (an object comes with a reference to drop); a
// string as std::string, "" when unset.
template <class T>
T property(gpointer object, const char* name) {
    T value{};
    g_object_get(object, name, &value, nullptr);
    return value;
}
template <>
std::string property<std::string>(gpointer object, const char* name);

// Posts an error from the pipeline itself, as a failing element would.
void postError(GstElement* pipeline, const char* text);

// A file the player cannot play, named by `name`, made in `dir` (or there already):
// empty.mp3, noise.mp3, cut.wav (a WAV cut short), fifo.mp3, idle-fifo.wav (a
// FIFO some writer holds open), socket.wav, zero.mp3 (a link to /dev/zero),
// "directory" (dir itself); a missing name, an absolute path or "" as given.
std::string makeUnplayable(const std::string& name, const TempDir& dir);

// A thread starter that always fails as a system out of threads does.
std::thread noThread(std::function<void()> body);

// Threads of this process.
int threadCount();

}  // namespace vollo::testmedia
