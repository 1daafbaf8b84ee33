// Library costs on N generated titles (N = 100,000 and 1,000,000, the
// benchmark's argument): one keystroke in the filter (the whole rebuild of the
// filtered view) with many, few and no matches, and a search over every title,
// the common ones beside a plain linear scan that lower-cases and compares
// every title and fills the same lists.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/main_window.h"
#include "generated_library.h"
#include "library/frm_search.h"
#include "library/library_scan.h"
#include "platform/null_media_player.h"
#include "platform/services.h"
#include "platform/text.h"
#include "sized_world.h"

namespace vollo {
namespace {

// One application with a generated library of the benchmark's size; the
// world of the previous size goes first.
struct World {
    NullMediaPlayer player;
    std::filesystem::path dir;
    std::unique_ptr<Application> app;
    FrmMain* main = nullptr;

    explicit World(int count) {
        initLocale();
        dir = std::filesystem::temp_directory_path() / ("vollo-bench-library-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        Services services;
        services.music = &player;
        app = std::make_unique<Application>(services, dir.string());
        app->start({});
        main = &app->frmMain();
        setLibrary(*main, generateLibrary(count));
    }
    ~World() {
        app.reset();
        std::filesystem::remove_all(dir);
    }
};

World& world(const benchmark::State& state) {
    return sizedWorld<World>(state);
}

// The rebuild done the plain way: every title lower-cased and compared.
void linearRebuild(FrmMain& main, const std::string& filter) {
    main.visibleSongList.clear();
    main.visibleSongList.setVisible(true);
    main.hiddenSongList.setVisible(false);
    const std::string lowerFilter = lowerText(filter);
    std::vector<std::string> titles;
    std::vector<std::size_t> rows;
    for (int i = 0; i < main.hiddenSongList.listCount(); ++i) {
        const std::string title = main.hiddenSongList.list(i);
        if (lowerText(title.substr(0, lowerFilter.size())) == lowerFilter) {
            titles.push_back(title);
            rows.push_back(static_cast<std::size_t>(i));
        }
    }
    main.visibleSongListInfo.show(main.libraryKeys, std::move(rows));
    main.visibleSongList.assign(std::move(titles));
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

// One keystroke: the filter text is set, and each round rebuilds the
// filtered view for it as its Change event does.
void keystroke(benchmark::State& state, const char* filter) {
    FrmMain& main = *world(state).main;
    main.txtFilter.setText(filter);
    for (auto _ : state) {
        main.call("txtFilter_Change");
        benchmark::DoNotOptimize(main.visibleSongList.listCount());
    }
    state.counters["matches"] = main.visibleSongList.listCount();
    main.txtFilter.setText("");
}

void keystrokeLinear(benchmark::State& state, const char* filter) {
    FrmMain& main = *world(state).main;
    for (auto _ : state) {
        linearRebuild(main, filter);
        benchmark::DoNotOptimize(main.visibleSongList.listCount());
    }
    state.counters["matches"] = main.visibleSongList.listCount();
}

BENCHMARK_CAPTURE(keystroke, OneLetter, "t")->Apply(sizes);
BENCHMARK_CAPTURE(keystrokeLinear, OneLetter, "t")->Apply(sizes);
BENCHMARK_CAPTURE(keystroke, TwoLetters, "lo")->Apply(sizes);
BENCHMARK_CAPTURE(keystrokeLinear, TwoLetters, "lo")->Apply(sizes);
BENCHMARK_CAPTURE(keystroke, Digits, "#")->Apply(sizes);
BENCHMARK_CAPTURE(keystroke, NoMatch, "x")->Apply(sizes);

// The search over every title through the dialog's Go button.
void search(benchmark::State& state, const char* text) {
    Application& app = *world(state).app;
    FrmSearch& dialog = app.frmSearch();
    dialog.txtSearch.setText(text);
    for (auto _ : state) {
        dialog.cmdGo_Click();
        benchmark::DoNotOptimize(dialog.lstResults.listCount());
    }
    state.counters["matches"] = dialog.lstResults.listCount();
}

// The same search lower-casing every title as it goes.
void searchLinear(benchmark::State& state, const char* text) {
    FrmMain& main = *world(state).main;
    FrmSearch& dialog = world(state).app->frmSearch();
    const std::string needle = lowerText(text);
    for (auto _ : state) {
        dialog.lstResults.clear();
        dialog.lstInfo.clear();
        std::vector<std::string> titles, keys;
        for (int i = 0; i < main.hiddenSongList.listCount(); ++i) {
            if (lowerText(main.hiddenSongList.list(i)).find(needle) != std::string::npos) {
                titles.push_back(main.hiddenSongList.list(i));
                keys.push_back(main.hiddenSongListInfo.list(i));
            }
        }
        dialog.lstResults.assign(std::move(titles));
        dialog.lstInfo.assign(std::move(keys));
        dialog.lblStatus.setCaption(std::to_string(dialog.lstResults.listCount()) + " results found.");
        benchmark::DoNotOptimize(dialog.lstResults.listCount());
    }
    state.counters["matches"] = dialog.lstResults.listCount();
}

BENCHMARK_CAPTURE(search, Love, "LOVE")->Apply(sizes);
BENCHMARK_CAPTURE(searchLinear, Love, "LOVE")->Apply(sizes);
BENCHMARK_CAPTURE(search, Rare, "paradise")->Apply(sizes);
BENCHMARK_CAPTURE(search, Everything, "")->Apply(sizes);
BENCHMARK_CAPTURE(searchLinear, Everything, "")->Apply(sizes);

}  // namespace
}  // namespace vollo

BENCHMARK_MAIN();
