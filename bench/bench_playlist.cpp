// Playlist costs: each edit of a 32,767-entry playlist with every second entry
// selected, beside the same edit done one entry at a time; sorting 100,000
// entries; opening and saving an M3U file of 100,000 entries, beside reading
// the file's bytes.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "../tests/unit/playlist_step_by_step.h"
#include "app/application.h"
#include "app/main_window.h"
#include "platform/files.h"
#include "platform/null_media_player.h"
#include "platform/services.h"
#include "platform/text.h"
#include "playlist/m3u.h"
#include "playlist/playlist_sort.h"

namespace vollo {
namespace {

class AlwaysYes : public MessageBoxService {
  public:
    MsgResult show(const std::string&, MsgButtons, const std::string&) override { return MsgResult::Yes; }
};

class FixedDialog : public FileDialogService {
  public:
    std::string path;
    std::optional<std::string> open(const FileDialogRequest&) override { return path; }
    std::optional<std::string> save(const FileDialogRequest&) override { return path; }
};

// One application in its own folder, shared by every benchmark.
struct World {
    NullMediaPlayer player;
    AlwaysYes boxes;
    FixedDialog dialog;
    std::string dir;
    std::unique_ptr<Application> app;

    World() {
        char name[] = "/tmp/vollo-bench-XXXXXX";
        dir = ::mkdtemp(name);
        Services services;
        services.music = &player;
        services.messageBox = &boxes;
        services.fileDialog = &dialog;
        app = std::make_unique<Application>(services, dir);
        initLocale();
    }
    ~World() {
        app.reset();
        removeFile(dir + "/big.m3u");
        removeFile(dir + "/saved.m3u");
        ::rmdir(dir.c_str());
    }
    FrmMain& main() { return app->frmMain(); }
};

World& world() {
    static World w;
    return w;
}

// Titles in no order, with mixed case and paths in a few folders.
void makeEntries(int n, std::vector<std::string>& titles, std::vector<std::string>& paths) {
    titles.clear();
    paths.clear();
    unsigned x = 12345;
    for (int i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        std::string title = (x >> 16) % 2 ? "Song " : "song ";
        title += std::to_string((x >> 8) % 100000);
        titles.push_back(title);
        paths.push_back(std::string("/home/user/Music/")
                            .append(std::to_string(i % 7))
                            .append("/")
                            .append(title)
                            .append(".mp3"));
    }
}

constexpr int kEditEntries = 32767;

void setUpEdit(FrmMain& main) {
    std::vector<std::string> titles;
    std::vector<std::string> paths;
    makeEntries(kEditEntries, titles, paths);
    main.playList.assign(std::move(titles));
    main.playListInfo.assign(std::move(paths));
    std::vector<int> rows;
    for (int i = 1; i < kEditEntries; i += 2) {
        rows.push_back(i);
    }
    main.playList.setSelection(rows);
    main.currentSong = kEditEntries / 2;
}

void editInProgram(benchmark::State& state, const char* handler) {
    FrmMain& main = world().main();
    for (auto _ : state) {
        state.PauseTiming();
        setUpEdit(main);
        state.ResumeTiming();
        main.call(handler);
        benchmark::DoNotOptimize(main.currentSong);
    }
}

void editStepByStep(benchmark::State& state, void (*edit)(stepbystep::Playlist&)) {
    stepbystep::Playlist start;
    makeEntries(kEditEntries, start.titles, start.paths);
    start.selected.assign(kEditEntries, 0);
    for (int i = 1; i < kEditEntries; i += 2) {
        start.selected[static_cast<size_t>(i)] = 1;
    }
    start.currentSong = kEditEntries / 2;
    for (auto _ : state) {
        state.PauseTiming();
        stepbystep::Playlist p = start;
        state.ResumeTiming();
        edit(p);
        benchmark::DoNotOptimize(p.currentSong);
    }
}

BENCHMARK_CAPTURE(editInProgram, Remove, "cmdRemove_Click")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(editStepByStep, Remove, stepbystep::remove)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(editInProgram, MoveUp, "cmdMoveUp_Click")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(editStepByStep, MoveUp, stepbystep::moveUp)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(editInProgram, MoveDown, "cmdMoveDown_Click")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(editStepByStep, MoveDown, stepbystep::moveDown)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(editInProgram, MoveToTop, "cmdMoveToTop_Click")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(editStepByStep, MoveToTop, stepbystep::moveToTop)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(editInProgram, MoveToBottom, "cmdMoveToBottom_Click")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(editStepByStep, MoveToBottom, stepbystep::moveToBottom)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

constexpr int kBigPlaylist = 100000;

void sortInProgram(benchmark::State& state) {
    FrmMain& main = world().main();
    std::vector<std::string> titles;
    std::vector<std::string> paths;
    makeEntries(kBigPlaylist, titles, paths);
    for (auto _ : state) {
        state.PauseTiming();
        main.playList.assign(titles);
        main.playListInfo.assign(paths);
        main.currentSong = 500;
        state.ResumeTiming();
        main.call("mnuSortPlaylist_Click");
        benchmark::DoNotOptimize(main.currentSong);
    }
}
BENCHMARK(sortInProgram)->Unit(benchmark::kMillisecond);

// The order alone, without rebuilding the lists.
void sortOrderOnly(benchmark::State& state) {
    std::vector<std::string> titles;
    std::vector<std::string> paths;
    makeEntries(kBigPlaylist, titles, paths);
    for (auto _ : state) {
        benchmark::DoNotOptimize(planSort(titles, paths, 500).currentSong);
    }
}
BENCHMARK(sortOrderOnly)->Unit(benchmark::kMillisecond);

std::string bigPlaylistFile() {
    World& w = world();
    const std::string path = w.dir + "/big.m3u";
    std::vector<std::string> titles;
    std::vector<std::string> paths;
    makeEntries(kBigPlaylist, titles, paths);
    for (size_t i = 0; i < paths.size(); i += 3) {
        paths[i] = w.dir + "/" + titles[i] + ".mp3";  // some bare lines too
    }
    writeFileAtomic(path, writeM3u(paths, path));
    return path;
}

void readFileBytesBaseline(benchmark::State& state) {
    const std::string path = bigPlaylistFile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(readFileBytes(path)->size());
    }
}
BENCHMARK(readFileBytesBaseline)->Unit(benchmark::kMillisecond);

void openInProgram(benchmark::State& state) {
    World& w = world();
    w.dialog.path = bigPlaylistFile();
    FrmMain& main = w.main();
    for (auto _ : state) {
        main.call("mnuOpenPlaylist_Click");
        benchmark::DoNotOptimize(main.playList.listCount());
    }
    if (main.playList.listCount() != kBigPlaylist) {
        state.SkipWithError("the playlist did not open");
    }
}
BENCHMARK(openInProgram)->Unit(benchmark::kMillisecond);

void saveInProgram(benchmark::State& state) {
    World& w = world();
    const std::string source = bigPlaylistFile();
    w.dialog.path = source;
    FrmMain& main = w.main();
    main.call("mnuOpenPlaylist_Click");
    w.dialog.path = w.dir + "/saved.m3u";
    for (auto _ : state) {
        main.call("mnuSavePlaylist_Click");  // over the file of the last round: "Yes" to overwriting
    }
    if (readFileBytes(w.dialog.path) != readFileBytes(source)) {
        state.SkipWithError("the saved file differs from the opened one");
    }
}
BENCHMARK(saveInProgram)->Unit(benchmark::kMillisecond);

void readM3uOnly(benchmark::State& state) {
    const std::string path = bigPlaylistFile();
    const std::string bytes = *readFileBytes(path);
    for (auto _ : state) {
        benchmark::DoNotOptimize(readM3u(bytes, path).paths.size());
    }
}
BENCHMARK(readM3uOnly)->Unit(benchmark::kMillisecond);

void writeM3uOnly(benchmark::State& state) {
    const std::string path = bigPlaylistFile();
    const M3uEntries entries = readM3u(*readFileBytes(path), path);
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeM3u(entries.paths, path).size());
    }
}
BENCHMARK(writeM3uOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vollo

BENCHMARK_MAIN();
