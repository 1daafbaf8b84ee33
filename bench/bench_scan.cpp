// The library scan of 100,000 files in 30 folders (scan and sort, and the
// whole start-up scan into the main window's lists) beside a plain
// enumeration of the same folders.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/main_window.h"
#include "library/library_scan.h"
#include "platform/null_media_player.h"
#include "platform/text.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 30;
constexpr int kFiles = 100000;

// Makes the folders once per run; names look like real song files.
const std::vector<std::string>& libraryFolders() {
    static std::vector<std::string> folders = [] {
        vollo::initLocale();
        const std::string root = "/tmp/vollo-bench-library";
        std::vector<std::string> dirs;
        for (int f = 0; f < kFolders; ++f) {
            dirs.push_back(root + "/folder" + std::to_string(f) + "/");
        }
        if (!fs::exists(root + "/complete")) {
            fs::remove_all(root);
            std::mt19937 random(11);
            const char* words[] = {"Love",  "night", "Blue",   "summer", "Road", "the",
                                   "Dance", "river", "Fire",   "heart",  "Gold", "rain",
                                   "Song",  "moon",  "Étoile", "ángel",  "Zero", "1999"};
            const char* exts[] = {".mp3", ".MP3", ".wav", ".mid", ".txt", ".jpg"};
            for (const auto& dir : dirs) {
                fs::create_directories(dir);
            }
            for (int i = 0; i < kFiles; ++i) {
                std::string name = std::string(words[random() % 18]) + " " + words[random() % 18] + " " +
                                   std::to_string(i) + exts[random() % 4 + (i % 20 == 0 ? 2 : 0)];
                const std::string path = dirs[static_cast<size_t>(i % kFolders)] + name;
                const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
                if (fd >= 0) {
                    ::close(fd);
                }
            }
            std::FILE* done = std::fopen((root + "/complete").c_str(), "w");
            if (done) {
                std::fclose(done);
            }
        }
        return dirs;
    }();
    return folders;
}

// The baseline: readdir of every folder, names collected, nothing else.
void BM_PlainEnumeration(benchmark::State& state) {
    const auto& dirs = libraryFolders();
    for (auto _ : state) {
        std::vector<std::string> names;
        for (const auto& dir : dirs) {
            DIR* d = ::opendir(dir.c_str());
            while (const dirent* entry = ::readdir(d)) {
                if (entry->d_name[0] != '.' && entry->d_type == DT_REG) {
                    names.emplace_back(entry->d_name);
                }
            }
            ::closedir(d);
        }
        benchmark::DoNotOptimize(names.data());
    }
}
BENCHMARK(BM_PlainEnumeration)->Unit(benchmark::kMillisecond);

void BM_ScanAndSort(benchmark::State& state) {
    const auto& dirs = libraryFolders();
    for (auto _ : state) {
        auto library = vollo::scanDirectories(dirs, false);
        benchmark::DoNotOptimize(library.rows.data());
        state.counters["songs"] = static_cast<double>(library.size());
    }
}
BENCHMARK(BM_ScanAndSort)->Unit(benchmark::kMillisecond);

// The start-up scan as the program runs it, into empty lists: hiddenSongList,
// hiddenSongListInfo, the keys and the filter's lower-cased titles. The lists
// of the previous round are emptied outside the timed region.
void BM_StartupScanIntoLists(benchmark::State& state) {
    const auto& dirs = libraryFolders();
    vollo::NullMediaPlayer player;
    vollo::Services services;
    services.music = &player;
    vollo::Application app(services, "/tmp/vollo-bench-library");
    vollo::FrmMain& main = app.frmMain();
    for (auto _ : state) {
        state.PauseTiming();
        vollo::setLibrary(main, {});
        state.ResumeTiming();
        vollo::scanLibraryAtStartup(main, dirs);
        benchmark::DoNotOptimize(main.hiddenSongList.listCount());
    }
}
BENCHMARK(BM_StartupScanIntoLists)->Unit(benchmark::kMillisecond);

// The options dialog's rescan: the same lists replaced, the old library
// thrown away inside the timed region.
void BM_RescanIntoLists(benchmark::State& state) {
    const auto& dirs = libraryFolders();
    vollo::NullMediaPlayer player;
    vollo::Services services;
    services.music = &player;
    vollo::Application app(services, "/tmp/vollo-bench-library");
    vollo::FrmMain& main = app.frmMain();
    for (auto _ : state) {
        vollo::rescanLibrary(main, dirs);
        benchmark::DoNotOptimize(main.hiddenSongList.listCount());
    }
}
BENCHMARK(BM_RescanIntoLists)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
