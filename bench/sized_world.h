// The world a benchmark runs in, made for the size the benchmark names and
// kept while the next benchmark names the same size: making it (a library of
// up to 1,000,000 songs) costs far more than what is measured.
#pragma once

#include <benchmark/benchmark.h>

#include <memory>

namespace vollo {

template <class World>
std::unique_ptr<World>& sizedWorldSlot() {
    static std::unique_ptr<World> world;
    return world;
}

template <class World>
World& sizedWorld(const benchmark::State& state) {
    static int size = 0;
    std::unique_ptr<World>& world = sizedWorldSlot<World>();
    if (!world || size != state.range(0)) {
        world.reset();
        size = static_cast<int>(state.range(0));
        world = std::make_unique<World>(size);
    }
    return *world;
}

}  // namespace vollo
