// Library costs on 100,000 generated titles: one keystroke in the filter (the
// whole rebuild of the filtered view) with a one- and a two-letter filter, and
// a search over every title, each beside a plain linear scan that lower-cases
// and compares every title and fills the same lists.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/main_window.h"
#include "library/frm_search.h"
#include "platform/null_media_player.h"
#include "platform/services.h"
#include "platform/text.h"
#include "scanned_library.h"

namespace vollo {
namespace {

constexpr int kTitles = 100000;

// The words titles are made of, most frequent first, a few with accented letters.
const char* const kWords =
    "love the night you heart time day song blue baby dream light girl fire rain home world "
    "life river summer dance road moon sun sweet wild water good black heaven star angel city "
    "money crazy people memory rock street lady morning kiss shadow ocean train gold winter "
    "soul mountain paradise yellow zero electric garden island jungle queen vision never "
    "always tonight forever little big old young easy hard cold hot red white green wind sky "
    "sea fly run walk talk stay go come back down up away together alone lonely happy sad "
    "blues highway desert window door mirror ghost devil king boy man woman friend brother "
    "sister mother father child story letter radio television machine nothing everything "
    "someone nobody yesterday tomorrow \xC3\xA9t\xC3\xA9 \xC3\xBC"
    "ber \xC3\x89toile na\xC3\xAFve";

// Song titles as a music collection has them: words drawn with a skewed
// (Zipf-like, exponent 0.9) frequency, many titles beginning with "The", some
// with a number; file names with their extension in 400 album folders.
void generateLibrary(std::vector<std::string>& titles, std::vector<EntryKey>& keys) {
    std::vector<std::string> words;
    for (const char* p = kWords; *p != 0;) {
        const char* end = std::strchr(p, ' ');
        if (end == nullptr) {
            end = p + std::strlen(p);
        }
        words.emplace_back(p, end);
        p = *end == ' ' ? end + 1 : end;
    }
    std::mt19937 rng(2024);
    std::vector<double> weights;
    for (size_t i = 0; i < words.size(); ++i) {
        weights.push_back(1.0 / std::pow(static_cast<double>(i + 1), 0.9));
    }
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());
    std::uniform_int_distribution<int> length(1, 4);
    std::uniform_int_distribution<int> percent(0, 99);
    for (int i = 0; i < kTitles; ++i) {
        std::string title;
        const int start = percent(rng);
        if (start < 12) {
            title = "The";
        } else if (start < 16) {
            title = std::to_string(1 + percent(rng));
        }
        for (int w = length(rng); w > 0; --w) {
            std::string word = words[pick(rng)];
            word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
            title += (title.empty() ? "" : " ") + word;
        }
        titles.push_back(title);
        keys.push_back({title + (i % 3 == 0 ? ".mp3" : ".wav"),
                        "/home/listener/Music/Album " + std::to_string(i % 400) + "/"});
    }
    // The library order: lower-cased title, then lower-cased key, then raw bytes.
    std::vector<size_t> order(titles.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::vector<std::string> lower;
    for (const auto& t : titles) {
        lower.push_back(lowerText(t));
    }
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (lower[a] != lower[b]) {
            return lower[a] < lower[b];
        }
        return lowerText(keys[a].text()) < lowerText(keys[b].text());
    });
    std::vector<std::string> sortedTitles;
    std::vector<EntryKey> sortedKeys;
    for (size_t i : order) {
        sortedTitles.push_back(titles[i]);
        sortedKeys.push_back(keys[i]);
    }
    titles = std::move(sortedTitles);
    keys = std::move(sortedKeys);
}

struct World {
    NullMediaPlayer player;
    std::filesystem::path dir;
    std::unique_ptr<Application> app;
    FrmMain* main = nullptr;

    World() {
        initLocale();
        dir = std::filesystem::temp_directory_path() / ("vollo-bench-library-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        Services services;
        services.music = &player;
        app = std::make_unique<Application>(services, dir.string());
        app->start({});
        main = &app->frmMain();
        std::vector<std::string> titles;
        std::vector<EntryKey> keys;
        generateLibrary(titles, keys);
        setLibrary(*main, inMemoryLibrary(titles, keys));
    }
    ~World() {
        app.reset();
        std::filesystem::remove_all(dir);
    }
};

World& world() {
    static World w;
    return w;
}

// The rebuild done the plain way: every title lower-cased and compared.
void linearRebuild(FrmMain& main, const std::string& filter) {
    main.visibleSongList.clear();
    main.visibleSongList.setVisible(true);
    main.hiddenSongList.setVisible(false);
    const std::string lowerFilter = lowerText(filter);
    std::vector<std::string> titles;
    size_t j = 0;
    for (int i = 0; i < main.hiddenSongList.listCount(); ++i) {
        const std::string& title = main.hiddenSongList.list(i);
        if (lowerText(title.substr(0, lowerFilter.size())) == lowerFilter) {
            titles.push_back(title);
            if (main.visibleSongListInfo.size() <= j) {
                main.visibleSongListInfo.resize(j + 1);
            }
            main.visibleSongListInfo[j++] = main.libraryKeys[static_cast<size_t>(i)];
        }
    }
    main.visibleSongList.assign(std::move(titles));
}

// One keystroke: the filter text changes (alternating its case so that every
// change is a real one) and the view is rebuilt.
void keystroke(benchmark::State& state, const char* lower, const char* upper) {
    FrmMain& main = *world().main;
    bool flip = false;
    for (auto _ : state) {
        main.txtFilter.setText(flip ? upper : lower);
        flip = !flip;
        benchmark::DoNotOptimize(main.visibleSongList.listCount());
    }
    state.counters["matches"] = main.visibleSongList.listCount();
    main.txtFilter.setText("");
}

void keystrokeLinear(benchmark::State& state, const char* filter) {
    FrmMain& main = *world().main;
    for (auto _ : state) {
        linearRebuild(main, filter);
        benchmark::DoNotOptimize(main.visibleSongList.listCount());
    }
    state.counters["matches"] = main.visibleSongList.listCount();
}

void BM_Keystroke_OneLetter(benchmark::State& state) {
    keystroke(state, "t", "T");
}
void BM_Keystroke_OneLetter_LinearScan(benchmark::State& state) {
    keystrokeLinear(state, "t");
}
void BM_Keystroke_TwoLetters(benchmark::State& state) {
    keystroke(state, "lo", "LO");
}
void BM_Keystroke_TwoLetters_LinearScan(benchmark::State& state) {
    keystrokeLinear(state, "lo");
}

// The search over every title through the dialog's Go button.
void search(benchmark::State& state, const char* text) {
    Application& app = *world().app;
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
    FrmMain& main = *world().main;
    FrmSearch& dialog = world().app->frmSearch();
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
        dialog.lstResults.append(titles);
        dialog.lstInfo.append(keys);
        dialog.lblStatus.setCaption(std::to_string(dialog.lstResults.listCount()) + " results found.");
        benchmark::DoNotOptimize(dialog.lstResults.listCount());
    }
    state.counters["matches"] = dialog.lstResults.listCount();
}

void BM_Search_Love(benchmark::State& state) {
    search(state, "LOVE");
}
void BM_Search_Love_LinearScan(benchmark::State& state) {
    searchLinear(state, "LOVE");
}
void BM_Search_Rare(benchmark::State& state) {
    search(state, "paradise");
}
void BM_Search_Rare_LinearScan(benchmark::State& state) {
    searchLinear(state, "paradise");
}
void BM_Search_Everything(benchmark::State& state) {
    search(state, "");
}
void BM_Search_Everything_LinearScan(benchmark::State& state) {
    searchLinear(state, "");
}

BENCHMARK(BM_Keystroke_OneLetter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keystroke_OneLetter_LinearScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keystroke_TwoLetters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keystroke_TwoLetters_LinearScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_Love)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_Love_LinearScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_Rare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_Rare_LinearScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_Everything)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_Everything_LinearScan)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vollo

BENCHMARK_MAIN();
