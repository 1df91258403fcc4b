#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <vector>

#include "BenchMovies.h"
#include "movie/Player.h"

namespace {

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void renderGradientFrame(benchmark::State& state)
{
    movie::Player player;
    if (player.load(movie::bench::gradientMovie(state.range(0) != 0)) != movie::LoadResult::Ok) {
        state.SkipWithError("load failed");
        return;
    }
    constexpr int width = 1100;
    constexpr int height = 800;
    std::vector<std::uint32_t> pixels(width * height);
    for (auto _ : state) {
        player.render(pixels.data(), width, height, width * 4);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(renderGradientFrame)->ArgName("translucent")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Steps the movie and draws every frame at the given size: all of it, or only what changed.
void playFrames(benchmark::State& state, const swf::Bytes& file, int width, int height, bool updateOnly)
{
    movie::Player player;
    if (player.load(file) != movie::LoadResult::Ok) {
        state.SkipWithError("load failed");
        return;
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    player.render(pixels.data(), width, height, width * 4);
    for (auto _ : state) {
        player.step();
        if (updateOnly)
            player.renderUpdate(pixels.data(), width, height, width * 4);
        else
            player.render(pixels.data(), width, height, width * 4);
        benchmark::DoNotOptimize(pixels.data());
    }
}

// A small figure crossing a busy scene.
void playWalkingFigure(benchmark::State& state)
{
    playFrames(state, movie::bench::walkingFigureMovie(), 1100, 800, state.range(0) != 0);
}
BENCHMARK(playWalkingFigure)->ArgName("update_only")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Full-stage JPEG plus three large moving bitmaps, at 1280 × 1024; decoded bitmaps stay cached
// as in playback.
void renderBitmapFrame(benchmark::State& state)
{
    playFrames(state, movie::bench::bitmapMovie(), 1280, 1024, state.range(0) != 0);
}
BENCHMARK(renderBitmapFrame)->ArgName("update_only")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Loading plus the first frame, which decodes every bitmap.
void decodeBitmapMovie(benchmark::State& state)
{
    const swf::Bytes file = movie::bench::bitmapMovie();
    std::vector<std::uint32_t> pixels(550 * 400);
    for (auto _ : state) {
        movie::Player player;
        player.load(file);
        player.render(pixels.data(), 550, 400, 550 * 4);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(decodeBitmapMovie)->Unit(benchmark::kMillisecond);

void loadLargeMovie(benchmark::State& state)
{
    const swf::Bytes& file = movie::bench::largeMovie();
    for (auto _ : state) {
        movie::Player player;
        benchmark::DoNotOptimize(player.load(file));
    }
    state.counters["file_MB"] = static_cast<double>(file.size()) / (1024.0 * 1024.0);
    state.counters["peak_rss_MB"] = peakMegabytes();
}
BENCHMARK(loadLargeMovie)->Unit(benchmark::kMillisecond);

// Plays the large movie through, drawing every frame small, to see what decoded shapes cost in memory.
void playLargeMovie(benchmark::State& state)
{
    const swf::Bytes& file = movie::bench::largeMovie();
    constexpr int width = 110;
    constexpr int height = 80;
    std::vector<std::uint32_t> pixels(width * height);
    for (auto _ : state) {
        movie::Player player;
        player.load(file);
        for (int frame = 0; frame < player.totalFrames(); ++frame) {
            player.render(pixels.data(), width, height, width * 4);
            player.step();
        }
    }
    state.counters["peak_rss_MB"] = peakMegabytes();
}
BENCHMARK(playLargeMovie)->Unit(benchmark::kMillisecond)->Iterations(1);

}

BENCHMARK_MAIN();
