// What the fuzz targets share: a failed check aborts (libFuzzer reports it
// as a crash with the input), a sandbox folder, and an application with
// services that answer every question with OK and every dialog with Cancel.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/application.h"
#include "platform/null_media_player.h"
#include "platform/services.h"

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

namespace vollo::fuzz {

inline std::string_view bytesOf(const unsigned char* data, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// One sandbox folder per fuzzing process, in memory where it can be (the
// saves' fsync costs nothing there), removed at exit.
inline const std::string& sandbox() {
    static const struct Sandbox {
        Sandbox() {
            for (const char* pattern : {"/dev/shm/vollo-fuzz-XXXXXX", "/tmp/vollo-fuzz-XXXXXX"}) {
                std::string name = pattern;
                if (::mkdtemp(name.data())) {
                    dir = name;
                    return;
                }
            }
            std::abort();
        }
        ~Sandbox() { std::filesystem::remove_all(dir); }
        std::string dir;
    } sandbox;
    return sandbox.dir;
}

struct QuietServices : MessageBoxService, FileDialogService, ProgramLauncher, RandomSource, ProcessControl {
    MsgResult show(const std::string&, MsgButtons, const std::string&) override { return MsgResult::OK; }
    std::optional<std::string> open(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> save(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> findOnPath(const std::string&) override { return std::nullopt; }
    bool start(const std::string&) override { return false; }
    void seedFromTime() override {}
    double next() override { return 0.5; }
    void endProcess() override {}
    NullMediaPlayer player;
};

// A started application whose settings files live in the sandbox.
struct StartedApp {
    explicit StartedApp(const std::vector<std::string>& arguments = {}) {
        Services services;
        services.messageBox = &quiet;
        services.fileDialog = &quiet;
        services.launcher = &quiet;
        services.random = &quiet;
        services.process = &quiet;
        services.music = &quiet.player;
        app = std::make_unique<Application>(services, sandbox());
        app->start(arguments);
    }
    QuietServices quiet;
    std::unique_ptr<Application> app;
};

}  // namespace vollo::fuzz
