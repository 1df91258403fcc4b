#include <cstddef>
#include <cstdint>
#include <vector>

#include "movie/Player.h"

// Loads any input as a movie and draws a few frames of it, as a window would.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    movie::Player player;
    if (player.load({data, size}) != movie::LoadResult::Ok)
        return 0;
    constexpr int width = 64;
    constexpr int height = 48;
    std::vector<std::uint32_t> pixels(width * height);
    player.render(pixels.data(), width, height, width * 4);
    player.step();
    // A click in the middle reaches any button there and its actions.
    player.mouseMove(width / 2, height / 2);
    player.mouseDown();
    player.mouseUp();
    player.step();
    player.gotoFrame(player.totalFrames() - 1);
    player.gotoFrame(0);
    player.render(pixels.data(), width, height, width * 4);
    return 0;
}
