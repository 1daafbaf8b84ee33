#include "gst_probe.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <system_error>

namespace vollo::testmedia {

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit,
                std::chrono::milliseconds every) {
    for (const auto deadline = std::chrono::steady_clock::now() + limit; !condition();) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(every);
    }
    return true;
}

int countElements(GstElement* bin, const std::string& words, const std::function<bool(GstElement*)>& also) {
    int count = 0;
    GstIterator* it = gst_bin_iterate_recurse(GST_BIN(bin));
    GValue item = G_VALUE_INIT;
    for (GstIteratorResult r;
         (r = gst_iterator_next(it, &item)) == GST_ITERATOR_OK || r == GST_ITERATOR_RESYNC;) {
        count = r == GST_ITERATOR_RESYNC ? (gst_iterator_resync(it), 0) : count;
        GstElement* e = r == GST_ITERATOR_OK ? GST_ELEMENT(g_value_get_object(&item)) : nullptr;
        GstElementFactory* f = e ? gst_element_get_factory(e) : nullptr;
        std::string text = f ? GST_OBJECT_NAME(f) + std::string("/") : "";
        text += f ? gst_element_factory_get_metadata(f, GST_ELEMENT_METADATA_KLASS) : "";
        std::istringstream wanted(words);
        bool all = f != nullptr;
        for (std::string word; wanted >> word;) {
            all = all && text.find(word) != std::string::npos;
        }
        count += all && (!also || also(e));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    return count;
}

std::string uriOf(const std::string& path) {
    gchar* text = gst_filename_to_uri(path.c_str(), nullptr);
    std::string result = text;
    g_free(text);
    return result;
}

template <>
std::string property<std::string>(gpointer object, const char* name) {
    gchar* text = property<gchar*>(object, name);
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

void postError(GstElement* pipeline, const char* text) {
    GError* error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, text);
    gst_element_post_message(pipeline, gst_message_new_error(GST_OBJECT(pipeline), error, nullptr));
    g_error_free(error);
}

std::string makeUnplayable(const std::string& name, const TempDir& dir) {
    const std::string path = dir.file(name);
    if (name == "empty.mp3") {
        writeEmpty(path);
    } else if (name == "noise.mp3") {
        writeGarbage(path, 64 * 1024);
    } else if (name == "cut.wav") {
        writeWav(path, 1.0);
        std::filesystem::resize_file(path, 20);
    } else if (name.find("fifo") != std::string::npos) {
        mkfifo(path.c_str(), 0600);
        (void)(name == "idle-fifo.wav" && ::open(path.c_str(), O_RDWR | O_CLOEXEC) >= 0);  // leaks one fd
    } else if (name == "socket.wav") {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof(address.sun_path) - 1);
        bind(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0), reinterpret_cast<sockaddr*>(&address),
             sizeof(address));
    } else if (name == "zero.mp3") {
        std::filesystem::create_symlink("/dev/zero", path);
    }
    return name == "directory" ? dir.path() : name.empty() || name.starts_with('/') ? name : path;
}

std::thread noThread(std::function<void()>) {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
}

int threadCount() {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/task"), {}));
}

}  // namespace vollo::testmedia
