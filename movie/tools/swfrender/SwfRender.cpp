#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "movie/Player.h"
#include "movie/tools/swfrender/PngWriter.h"
#include "movie/tools/swfrender/SwfRender.h"

namespace {

constexpr int kMaxSide = 4096;
constexpr int kMaxSteps = 1000000;

int usage()
{
    std::fprintf(stderr, "usage: swfrender MOVIE.swf OUT.png [--advance N | --frame N] [--size WxH]\n");
    return 1;
}

std::optional<int> number(const char* text, int low, int high)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < low || value > high)
        return std::nullopt;
    return static_cast<int>(value);
}

struct Options {
    const char* movie = nullptr;
    const char* output = nullptr;
    std::optional<int> advance;
    std::optional<int> frame;
    int width = 0;
    int height = 0;
};

bool parseSize(const char* text, Options& options)
{
    const char* x = std::strchr(text, 'x');
    if (!x)
        return false;
    const std::string w(text, x);
    const auto width = number(w.c_str(), 1, kMaxSide);
    const auto height = number(x + 1, 1, kMaxSide);
    if (!width || !height)
        return false;
    options.width = *width;
    options.height = *height;
    return true;
}

bool parse(const std::vector<std::string>& args, Options& options)
{
    std::vector<const char*> positional;
    const int argc = static_cast<int>(args.size());
    for (int i = 0; i < argc; ++i) {
        const std::string& arg = args[static_cast<std::size_t>(i)];
        const bool hasValue = i + 1 < argc;
        auto argv = [&](int k) { return args[static_cast<std::size_t>(k)].c_str(); };
        if (arg == "--advance" && hasValue && !options.frame) {
            options.advance = number(argv(++i), 0, kMaxSteps);
            if (!options.advance)
                return false;
        } else if (arg == "--frame" && hasValue && !options.advance) {
            options.frame = number(argv(++i), 0, 65535);
            if (!options.frame)
                return false;
        } else if (arg == "--size" && hasValue) {
            if (!parseSize(argv(++i), options))
                return false;
        } else if (arg.starts_with("--")) {
            return false;
        } else {
            positional.push_back(argv(i));
        }
    }
    if (positional.size() != 2)
        return false;
    options.movie = positional[0];
    options.output = positional[1];
    return true;
}

}

int movie::swfrender(const std::vector<std::string>& args)
{
    Options options;
    if (!parse(args, options))
        return usage();

    movie::Player player;
    const auto result = player.loadFile(options.movie);
    if (result != movie::LoadResult::Ok) {
        std::fprintf(stderr, "swfrender: %s: %s\n", options.movie, movie::describe(result));
        return 2;
    }
    if (options.frame)
        player.gotoFrame(*options.frame);
    for (int i = 0; options.advance && i < *options.advance; ++i)
        player.step();

    int width = options.width;
    int height = options.height;
    if (width == 0) {
        width = std::min(player.stageWidth(), kMaxSide);
        height = std::min(player.stageHeight(), kMaxSide);
    }
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "swfrender: %s: the stage is empty\n", options.movie);
        return 2;
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    player.render(pixels.data(), width, height, static_cast<std::ptrdiff_t>(width) * 4);
    if (!movie::writePng(options.output, pixels.data(), width, height, static_cast<std::ptrdiff_t>(width) * 4)) {
        std::fprintf(stderr, "swfrender: cannot write %s\n", options.output);
        return 3;
    }
    return 0;
}
