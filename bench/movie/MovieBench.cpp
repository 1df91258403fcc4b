#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <random>
#include <vector>

#include "SwfWriter.h"
#include "movie/Player.h"

namespace {

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A 550 × 400 stage with 200 overlapping gradient discs, opaque or with translucent outer stops.
swf::Bytes gradientMovie(bool translucent)
{
    std::mt19937 random(7);
    auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    swf::Movie movie(550, 400);
    movie.background({255, 255, 255});
    for (int i = 0; i < 200; ++i) {
        const int x = uniform(0, 550) * 20;
        const int y = uniform(0, 400) * 20;
        const int radius = uniform(20, 60) * 20;
        const double scale = radius / 16384.0;
        const std::vector<swf::GradientStop> stops = {
            {0, {static_cast<std::uint8_t>(uniform(0, 255)), 80, 200, 255}},
            {255, {20, static_cast<std::uint8_t>(uniform(0, 255)), 40,
             static_cast<std::uint8_t>(translucent ? uniform(128, 255) : 255)}}};
        const auto fill = i % 2 ? swf::Fill::radial(swf::Matrix::scale(scale, scale, x, y), stops)
                                : swf::Fill::linear(swf::Matrix::scale(scale, scale, x, y), stops, swf::Spread::Reflect);
        swf::ShapeBuilder shape;
        shape.fill1(shape.addFill(fill)).circle(x, y, radius);
        const auto id = static_cast<std::uint16_t>(i + 1);
        movie.defineShape(id, shape);
        movie.placeObject(id, id);
    }
    movie.showFrame();
    return movie.finish();
}

void renderGradientFrame(benchmark::State& state)
{
    movie::Player player;
    if (player.load(gradientMovie(state.range(0) != 0)) != movie::LoadResult::Ok) {
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

// About 20 MB: each of 1,000 frames brings a new shape of some 3,200 curves and replaces the last.
const swf::Bytes& largeMovie()
{
    static const swf::Bytes bytes = [] {
        std::mt19937 random(11);
        auto delta = [&] { return std::uniform_int_distribution<int>(-2000, 2000)(random); };
        swf::Movie movie(550, 400, 24);
        for (int frame = 0; frame < 1000; ++frame) {
            swf::ShapeBuilder shape;
            swf::LineStyle line;
            line.color = {0, 0, 0};
            shape.fill1(shape.addFill(swf::Fill::solid({200, 100, static_cast<std::uint8_t>(frame)})));
            shape.line(shape.addLine(line)).moveTo(5500, 4000);
            std::int32_t x = 5500;
            std::int32_t y = 4000;
            for (int i = 0; i < 3200; ++i) {
                const std::int32_t cx = std::clamp(x + delta(), 0, 11000);
                const std::int32_t cy = std::clamp(y + delta(), 0, 8000);
                x = std::clamp(cx + delta(), 0, 11000);
                y = std::clamp(cy + delta(), 0, 8000);
                shape.curveTo(cx, cy, x, y);
            }
            shape.lineTo(5500, 4000);
            const auto id = static_cast<std::uint16_t>(frame + 1);
            movie.defineShape(id, shape);
            if (frame > 0)
                movie.remove(1);
            movie.placeObject(1, id);
            movie.showFrame();
        }
        return movie.finish();
    }();
    return bytes;
}

void loadLargeMovie(benchmark::State& state)
{
    const swf::Bytes& file = largeMovie();
    for (auto _ : state) {
        movie::Player player;
        benchmark::DoNotOptimize(player.load(file));
    }
    state.counters["file_MB"] = static_cast<double>(file.size()) / (1024.0 * 1024.0);
    state.counters["peak_rss_MB"] = peakMegabytes();
}
BENCHMARK(loadLargeMovie)->Unit(benchmark::kMillisecond);

// Plays the large movie through, drawing every frame, to see what decoded shapes cost.
void playLargeMovie(benchmark::State& state)
{
    const swf::Bytes& file = largeMovie();
    constexpr int width = 550;
    constexpr int height = 400;
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
