#include <chrono>
#include <cstdio>
#include <vector>

#include "BenchMovies.h"
#include "movie/Player.h"

// The gradient frame benchmark without Google Benchmark, for the Windows build under Wine.
int main()
{
    constexpr int width = 1100;
    constexpr int height = 800;
    constexpr int frames = 100;
    std::vector<std::uint32_t> pixels(width * height);
    for (bool translucent : {false, true}) {
        movie::Player player;
        if (player.load(movie::bench::gradientMovie(translucent)) != movie::LoadResult::Ok)
            return 1;
        player.render(pixels.data(), width, height, width * 4);
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < frames; ++i)
            player.render(pixels.data(), width, height, width * 4);
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        std::printf("gradient frame %s: %.2f ms\n", translucent ? "translucent" : "opaque", elapsed.count() / frames);
    }
    return 0;
}
