// A filter keystroke as the program on Qt does it, at N titles (N = 100,000
// and 1,000,000): the handler, then the event loop letting the list views
// catch up (their layout and the paint of the visible rows, counted) on the
// offscreen platform. Beside it the same handler with no window, as
// bench_library runs it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <filesystem>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/main_window.h"
#include "generated_library.h"
#include "platform/null_media_player.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_binding.h"
#include "platform/services.h"
#include "sized_world.h"

namespace vollo {
namespace {

struct World {
    NullMediaPlayer player;
    std::filesystem::path dir;
    std::unique_ptr<Application> app;
    std::unique_ptr<qt::QtBinding> binding;

    explicit World(int count) {
        dir = std::filesystem::temp_directory_path() / ("vollo-bench-view-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        Services services;
        services.music = &player;
        app = std::make_unique<Application>(services, dir.string());
        binding = std::make_unique<qt::QtBinding>(app->forms());
        app->start({});
        setLibrary(app->frmMain(), generateLibrary(count));
        QApplication::processEvents();
        countPaints();
    }
    ~World() {
        binding.reset();
        app.reset();
        std::filesystem::remove_all(dir);
    }
    // Counts the paints of both library lists.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    void countPaints() {
        for (const char* name : {"visibleSongList", "hiddenSongList"}) {
            auto* view = qobject_cast<QAbstractItemView*>(binding->window("frmMain")->widgetFor(name));
            view->viewport()->installEventFilter(&counter);
        }
    }
    // What the event loop does after the handler: the views lay out and paint
    // what changed, as in the program.
    void catchUp() { QApplication::processEvents(); }
};

World& world(const benchmark::State& state) {
    return sizedWorld<World>(state);
}

// Each round types the filter anew (from the empty filter, as the first
// letter of a search is typed), so the view changes every time.
void keystroke(benchmark::State& state, const char* filter, bool withView) {
    World& w = world(state);
    FrmMain& main = w.app->frmMain();
    int paints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        main.txtFilter.setText("");
        w.catchUp();
        const int before = w.counter.paints;
        state.ResumeTiming();
        main.txtFilter.setText(filter);
        if (withView) {
            w.catchUp();
        }
        paints += w.counter.paints - before;
    }
    state.counters["matches"] = main.visibleSongList.listCount();
    // Paints of the lists per keystroke: at least one, or the view's work was not measured.
    state.counters["paints"] = benchmark::Counter(paints, benchmark::Counter::kAvgIterations);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}
BENCHMARK_CAPTURE(keystroke, OneLetter, "t", true)->Apply(sizes);
BENCHMARK_CAPTURE(keystroke, OneLetter_HandlerOnly, "t", false)->Apply(sizes);
BENCHMARK_CAPTURE(keystroke, TwoLetters, "lo", true)->Apply(sizes);
BENCHMARK_CAPTURE(keystroke, Digits, "#", true)->Apply(sizes);
BENCHMARK_CAPTURE(keystroke, NoMatch, "x", true)->Apply(sizes);

}  // namespace
}  // namespace vollo

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    vollo::initLocale();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The window goes before the application object does.
    vollo::sizedWorldSlot<vollo::World>().reset();
    return 0;
}
