#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/MovieTestSupport.h"

namespace movie::test {
namespace {

swf::Bytes sampleMovie(swf::Compression compression)
{
    swf::Movie movie(320, 240, 24);
    movie.background(kBlue);
    movie.defineShape(1, swf::ShapeBuilder::filledRectangle(0, 0, px(10), px(10), kRed));
    movie.placeObject(1, 1).showFrame().showFrame().showFrame();
    return movie.finish(compression);
}

TEST(ContainerTest, PlainAndZlibMoviesLoadAlike)
{
    for (auto compression : {swf::Compression::None, swf::Compression::Zlib}) {
        SCOPED_TRACE(static_cast<int>(compression));
        const swf::Bytes file = sampleMovie(compression);
        EXPECT_EQ(file[0], compression == swf::Compression::Zlib ? 'C' : 'F');
        Player player;
        ASSERT_EQ(player.load(file), LoadResult::Ok);
        EXPECT_EQ(player.totalFrames(), 3);
        EXPECT_EQ(player.stageWidth(), 320);
        EXPECT_EQ(player.stageHeight(), 240);
        EXPECT_DOUBLE_EQ(player.frameRate(), 24);
        EXPECT_TRUE(player.isPlaying());
        const Image image = render(player, 320, 240);
        EXPECT_TRUE(near(image.at(5, 5), kRed));
        EXPECT_TRUE(near(image.at(100, 100), kBlue));
    }
}

TEST(ContainerTest, WhatIsNotAPlayableMovieLeavesThePlayerEmpty)
{
    swf::Bytes lzma = sampleMovie(swf::Compression::None);
    lzma[0] = 'Z';
    const std::string text = "<html>not a movie</html>";
    struct Case {
        const char* name;
        swf::Bytes file;
        LoadResult expected;
    };
    const Case cases[] = {
        {"lzma", lzma, LoadResult::Unsupported},
        {"text", swf::Bytes(text.begin(), text.end()), LoadResult::NotAMovie},
        {"empty", {}, LoadResult::NotAMovie},
        {"header only", swf::Bytes{'F', 'W', 'S', 8, 8, 0, 0, 0}, LoadResult::NotAMovie},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Player player;
        ASSERT_EQ(player.load(sampleMovie(swf::Compression::None)), LoadResult::Ok);
        EXPECT_EQ(player.load(c.file), c.expected);
        EXPECT_FALSE(player.hasMovie());
        EXPECT_EQ(player.totalFrames(), 0);
        EXPECT_EQ(player.currentFrame(), 0);
        EXPECT_FALSE(player.isPlaying());
        player.gotoFrame(3);
        player.play();
        EXPECT_FALSE(player.isPlaying());
        player.setBackgroundColor(0x00FF00);
        EXPECT_TRUE(near(render(player, 4, 4).at(1, 1), kGreen));
    }
}

TEST(ContainerTest, LoadsFromAFile)
{
    const auto path = std::filesystem::temp_directory_path() / "movie_container_test.swf";
    const swf::Bytes file = sampleMovie(swf::Compression::Zlib);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
    Player player;
    EXPECT_EQ(player.loadFile(path), LoadResult::Ok);
    EXPECT_EQ(player.totalFrames(), 3);
    std::filesystem::remove(path);
    EXPECT_EQ(player.loadFile(path), LoadResult::ReadFailed);
    EXPECT_EQ(player.totalFrames(), 0);
}

}
}
