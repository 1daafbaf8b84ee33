// The library scan of N files in 30 folders (N = 100,000 and 1,000,000; the
// benchmark's argument): the library order alone, on the names gathered once,
// and the whole start-up scan and rescan into the main window's lists (process
// CPU time, counting the second scanning thread), beside a plain enumeration
// of the same folders.
// The folders are made once per size under the temporary directory and kept
// for later runs (bench/startup.sh starts the program on the same folders).
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/main_window.h"
#include "library/library_order.h"
#include "library/library_scan.h"
#include "platform/files.h"
#include "platform/null_media_player.h"
#include "platform/text.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 30;

std::string treeRoot(int files) {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/vollo-bench-library-" + std::to_string(files);
}

// Makes the folders for this many files once; names look like real song
// files, one in twenty is not a song.
const std::vector<std::string>& libraryFolders(int files) {
    static std::map<int, std::vector<std::string>> made;
    if (auto found = made.find(files); found != made.end()) {
        return found->second;
    }
    vollo::initLocale();
    const std::string root = treeRoot(files);
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
        for (int i = 0; i < files; ++i) {
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
    return made.emplace(files, dirs).first->second;
}

int sizeOf(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}

// The baseline: readdir of every folder, names collected, nothing else.
void BM_PlainEnumeration(benchmark::State& state) {
    const auto& dirs = libraryFolders(sizeOf(state));
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

// The sort alone: the records of every entry put in library order.
void BM_LibraryOrder(benchmark::State& state) {
    vollo::Collection all;
    for (const auto& dir : libraryFolders(sizeOf(state))) {
        const std::uint32_t index = all.addDir(dir);
        vollo::forEachFile(dir, [&](std::string_view name) {
            if (vollo::isPlayableName(name, false)) {
                all.addFile(name, index);
            }
        });
    }
    for (auto _ : state) {
        auto order = vollo::libraryOrder(all);
        benchmark::DoNotOptimize(order.data());
    }
    state.counters["songs"] = static_cast<double>(all.items.size());
}

// The start-up scan as the program runs it, into empty lists: hiddenSongList,
// hiddenSongListInfo, the keys and the filter's lower-cased titles. Each round
// has an application of its own, made and thrown away outside the timed region.
void BM_StartupScanIntoLists(benchmark::State& state) {
    const auto& dirs = libraryFolders(sizeOf(state));
    vollo::NullMediaPlayer player;
    vollo::Services services;
    services.music = &player;
    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<vollo::Application>(services, treeRoot(sizeOf(state)));
        state.ResumeTiming();
        vollo::scanLibraryAtStartup(app->frmMain(), dirs);
        benchmark::DoNotOptimize(app->frmMain().hiddenSongList.listCount());
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
}

// The options dialog's rescan: the same lists replaced, the old library
// thrown away inside the timed region.
void BM_RescanIntoLists(benchmark::State& state) {
    const auto& dirs = libraryFolders(sizeOf(state));
    vollo::NullMediaPlayer player;
    vollo::Services services;
    services.music = &player;
    vollo::Application app(services, treeRoot(sizeOf(state)));
    vollo::FrmMain& main = app.frmMain();
    for (auto _ : state) {
        vollo::rescanLibrary(main, dirs);
        benchmark::DoNotOptimize(main.hiddenSongList.listCount());
    }
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_PlainEnumeration)->Apply(sizes);
BENCHMARK(BM_LibraryOrder)->Apply(sizes);
BENCHMARK(BM_StartupScanIntoLists)->Apply(sizes)->MeasureProcessCPUTime();
BENCHMARK(BM_RescanIntoLists)->Apply(sizes)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
