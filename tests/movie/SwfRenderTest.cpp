#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>
#include <fstream>

#include "movie/tools/swfrender/SwfRender.h"
#include "support/MovieTestSupport.h"

namespace movie::test {
namespace {

namespace fs = std::filesystem;

struct Png {
    int width = 0;
    int height = 0;
    swf::Bytes rgba;

    Pixel at(int x, int y) const
    {
        const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
    }
};

std::uint32_t big32(const swf::Bytes& b, std::size_t at)
{
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

// Reads back what our encoder writes: one IDAT, 8-bit RGBA, no row filters.
Png readPng(const fs::path& path)
{
    const swf::Bytes file = readFile(path);
    Png png;
    swf::Bytes packed;
    for (std::size_t at = 8; at + 8 <= file.size();) {
        const std::uint32_t length = big32(file, at);
        const std::string type(file.begin() + static_cast<std::ptrdiff_t>(at + 4), file.begin() + static_cast<std::ptrdiff_t>(at + 8));
        if (type == "IHDR") {
            png.width = static_cast<int>(big32(file, at + 8));
            png.height = static_cast<int>(big32(file, at + 12));
        } else if (type == "IDAT") {
            packed.assign(file.begin() + static_cast<std::ptrdiff_t>(at + 8), file.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
        }
        at += 12 + length;
    }
    uLongf size = static_cast<uLongf>(png.height) * (static_cast<uLongf>(png.width) * 4 + 1);
    swf::Bytes raw(size);
    if (uncompress(raw.data(), &size, packed.data(), static_cast<uLong>(packed.size())) != Z_OK)
        return {};
    for (int y = 0; y < png.height; ++y) {
        const auto row = raw.begin() + static_cast<std::ptrdiff_t>(y) * (png.width * 4 + 1);
        png.rgba.insert(png.rgba.end(), row + 1, row + 1 + png.width * 4);
    }
    return png;
}

class SwfRenderTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Frame 0 red, frame 1 green (with a stop), frame 2 blue.
        swf::Movie movie(40, 30);
        movie.background({10, 20, 30});
        movie.defineShape(1, swf::ShapeBuilder::filledRectangle(0, 0, px(10), px(10), kRed));
        movie.defineShape(2, swf::ShapeBuilder::filledRectangle(0, 0, px(10), px(10), kGreen));
        movie.defineShape(3, swf::ShapeBuilder::filledRectangle(0, 0, px(10), px(10), kBlue));
        movie.placeObject(1, 1).showFrame();
        movie.remove(1).placeObject(1, 2).actions(swf::Actions().stop()).showFrame();
        movie.remove(1).placeObject(1, 3).showFrame();
        const swf::Bytes file = movie.finish();
        std::ofstream(moviePath_, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
    }

    void TearDown() override
    {
        fs::remove(moviePath_);
        fs::remove(pngPath_);
    }

    int run(std::vector<std::string> options)
    {
        std::vector<std::string> args = {moviePath_.string(), pngPath_.string()};
        args.insert(args.end(), options.begin(), options.end());
        return swfrender(args);
    }

    fs::path moviePath_ = fs::temp_directory_path() / "swfrender_test.swf";
    fs::path pngPath_ = fs::temp_directory_path() / "swfrender_test.png";
};

TEST_F(SwfRenderTest, AdvancePlaysAsThePlayerWouldAndFrameJumps)
{
    struct Case {
        std::vector<std::string> options;
        swf::Color colour;
    };
    const Case cases[] = {
        {{}, kRed},
        {{"--advance", "1"}, kGreen},
        {{"--advance", "5"}, kGreen},
        {{"--frame", "2"}, kBlue},
        {{"--frame", "9"}, kBlue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.empty() ? "none" : c.options[0] + " " + c.options[1]);
        ASSERT_EQ(run(c.options), 0);
        const Png png = readPng(pngPath_);
        ASSERT_EQ(png.width, 40);
        ASSERT_EQ(png.height, 30);
        EXPECT_TRUE(near(png.at(5, 5), c.colour)) << png.at(5, 5);
        EXPECT_TRUE(near(png.at(20, 20), {10, 20, 30})) << png.at(20, 20);
    }
}

TEST_F(SwfRenderTest, SizeScalesTheStage)
{
    ASSERT_EQ(run({"--size", "80x60"}), 0);
    const Png png = readPng(pngPath_);
    ASSERT_EQ(png.width, 80);
    ASSERT_EQ(png.height, 60);
    EXPECT_TRUE(near(png.at(18, 18), kRed));
    EXPECT_TRUE(near(png.at(22, 22), {10, 20, 30}));
}

TEST_F(SwfRenderTest, BadArgumentsAndBadMoviesFail)
{
    EXPECT_EQ(run({"--size", "0x10"}), 1);
    EXPECT_EQ(run({"--frame", "1", "--advance", "1"}), 1);
    EXPECT_EQ(run({"--bogus"}), 1);
    EXPECT_EQ(swfrender({"only-one-argument"}), 1);
    EXPECT_EQ(swfrender({(fs::temp_directory_path() / "no_such_movie.swf").string(), pngPath_.string()}), 2);
}

}
}
