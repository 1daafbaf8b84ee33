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
#include "library/frm_search.h"
#include "library/library_scan.h"
#include "platform/null_media_player.h"
#include "platform/services.h"
#include "platform/text.h"

namespace vollo {
namespace {

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
// with a number; file names with their extension in 400 album folders. The
// result is in library order, as the scan leaves it.
ScannedLibrary generateLibrary(int count) {
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
    struct Entry {
        std::string lower;
        std::string lowerKey;
        std::string file;
        std::uint32_t dir;
    };
    std::vector<Entry> entries;
    entries.reserve(static_cast<size_t>(count));
    ScannedLibrary library;
    for (int d = 0; d < 400; ++d) {
        library.dirs.push_back("/home/listener/Music/Album " + std::to_string(d) + "/");
    }
    for (int i = 0; i < count; ++i) {
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
        Entry e;
        e.lower = lowerText(title);
        e.file = title + (i % 3 == 0 ? ".mp3" : ".wav");
        e.dir = static_cast<std::uint32_t>(i % 400);
        e.lowerKey = lowerText(e.file + "|" + library.dirs[e.dir]);
        entries.push_back(std::move(e));
    }
    // The library order: lower-cased title, then lower-cased key.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.lower != b.lower ? a.lower < b.lower : a.lowerKey < b.lowerKey;
    });
    TextColumn lowerTitles;
    for (const Entry& e : entries) {
        ScannedLibrary::Row row;
        row.file = row.title = static_cast<std::uint32_t>(library.names.size());
        row.fileLength = static_cast<std::uint32_t>(e.file.size());
        row.titleLength = row.fileLength - 4;
        row.dir = e.dir;
        library.names += e.file;
        library.rows.push_back(row);
        lowerTitles.push_back(e.lower);
    }
    library.lowerTitles = std::move(lowerTitles);
    return library;
}

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
    static std::unique_ptr<World> w;
    static int size = 0;
    if (!w || size != state.range(0)) {
        w.reset();
        size = static_cast<int>(state.range(0));
        w = std::make_unique<World>(size);
    }
    return *w;
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
        dialog.lstResults.append(titles);
        dialog.lstInfo.append(keys);
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
