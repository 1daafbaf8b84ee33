// Playlist costs at N entries (N = 100,000 and 1,000,000, the benchmark's
// argument): each edit with every second entry selected (beside the same edit
// done one entry at a time on 32,767 entries), sorting, opening and saving an
// M3U file, beside reading the file's bytes.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "unit/playlist_step_by_step.h"
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
        for (const char* name : {"/big100000.m3u", "/big1000000.m3u", "/saved.m3u"}) {
            removeFile(dir + name);
        }
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

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

constexpr int kEditEntries = 32767;

void setUpEdit(FrmMain& main, int count, const std::vector<std::string>& titles,
               const std::vector<std::string>& paths) {
    main.playList.assign(titles);
    main.playListInfo.assign(paths);
    std::vector<int> rows;
    for (int i = 1; i < count; i += 2) {
        rows.push_back(i);
    }
    main.playList.setSelection(rows);
    main.currentSong = count / 2;
}

// Ten rounds each: the untimed set-up of a large playlist would otherwise be
// repeated for as many rounds as the short edit takes to fill the time.
void editInProgram(benchmark::State& state, const char* handler) {
    FrmMain& main = world().main();
    const int count = static_cast<int>(state.range(0));
    std::vector<std::string> titles;
    std::vector<std::string> paths;
    makeEntries(count, titles, paths);
    for (auto _ : state) {
        state.PauseTiming();
        setUpEdit(main, count, titles, paths);
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

BENCHMARK_CAPTURE(editInProgram, Remove, "cmdRemove_Click")->Apply(sizes)->Iterations(10);
BENCHMARK_CAPTURE(editStepByStep, Remove, stepbystep::remove)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(editInProgram, MoveUp, "cmdMoveUp_Click")->Apply(sizes)->Iterations(10);
BENCHMARK_CAPTURE(editStepByStep, MoveUp, stepbystep::moveUp)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(editInProgram, MoveDown, "cmdMoveDown_Click")->Apply(sizes)->Iterations(10);
BENCHMARK_CAPTURE(editStepByStep, MoveDown, stepbystep::moveDown)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(editInProgram, MoveToTop, "cmdMoveToTop_Click")->Apply(sizes)->Iterations(10);
BENCHMARK_CAPTURE(editStepByStep, MoveToTop, stepbystep::moveToTop)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(editInProgram, MoveToBottom, "cmdMoveToBottom_Click")->Apply(sizes)->Iterations(10);
BENCHMARK_CAPTURE(editStepByStep, MoveToBottom, stepbystep::moveToBottom)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void sortInProgram(benchmark::State& state) {
    FrmMain& main = world().main();
    std::vector<std::string> titles;
    std::vector<std::string> paths;
    makeEntries(static_cast<int>(state.range(0)), titles, paths);
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
BENCHMARK(sortInProgram)->Apply(sizes);

// The order alone, without rebuilding the lists.
void sortOrderOnly(benchmark::State& state) {
    std::vector<std::string> titles;
    std::vector<std::string> paths;
    makeEntries(static_cast<int>(state.range(0)), titles, paths);
    for (auto _ : state) {
        benchmark::DoNotOptimize(planSort(titles, paths, 500).currentSong);
    }
}
BENCHMARK(sortOrderOnly)->Apply(sizes);

// The playlist file of this many entries, written once.
std::string bigPlaylistFile(int count) {
    World& w = world();
    const std::string path = w.dir + "/big" + std::to_string(count) + ".m3u";
    if (isRegularFile(path)) {
        return path;
    }
    std::vector<std::string> titles;
    std::vector<std::string> paths;
    makeEntries(count, titles, paths);
    for (size_t i = 0; i < paths.size(); i += 3) {
        paths[i] = w.dir + "/" + titles[i] + ".mp3";  // some bare lines too
    }
    writeFileAtomic(path, writeM3u(paths, path));
    return path;
}

void readFileBytesBaseline(benchmark::State& state) {
    const std::string path = bigPlaylistFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(readFileBytes(path)->size());
    }
}
BENCHMARK(readFileBytesBaseline)->Apply(sizes);

void openInProgram(benchmark::State& state) {
    World& w = world();
    w.dialog.path = bigPlaylistFile(static_cast<int>(state.range(0)));
    FrmMain& main = w.main();
    for (auto _ : state) {
        main.call("mnuOpenPlaylist_Click");
        benchmark::DoNotOptimize(main.playList.listCount());
    }
    if (main.playList.listCount() != state.range(0)) {
        state.SkipWithError("the playlist did not open");
    }
}
BENCHMARK(openInProgram)->Apply(sizes);

void saveInProgram(benchmark::State& state) {
    World& w = world();
    const std::string source = bigPlaylistFile(static_cast<int>(state.range(0)));
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
BENCHMARK(saveInProgram)->Apply(sizes);

void readM3uOnly(benchmark::State& state) {
    const std::string path = bigPlaylistFile(static_cast<int>(state.range(0)));
    const std::string bytes = *readFileBytes(path);
    for (auto _ : state) {
        benchmark::DoNotOptimize(readM3u(bytes, path).paths.size());
    }
}
BENCHMARK(readM3uOnly)->Apply(sizes);

void writeM3uOnly(benchmark::State& state) {
    const std::string path = bigPlaylistFile(static_cast<int>(state.range(0)));
    const M3uEntries entries = readM3u(*readFileBytes(path), path);
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeM3u(entries.paths, path).size());
    }
}
BENCHMARK(writeM3uOnly)->Apply(sizes);

}  // namespace
}  // namespace vollo

BENCHMARK_MAIN();
