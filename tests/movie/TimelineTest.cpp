#include <gtest/gtest.h>

#include "support/MovieTestSupport.h"

namespace movie::test {
namespace {

using swf::ShapeBuilder;

// Shapes 1 (red), 2 (green) and 3 (blue): 20 × 20 px squares at the origin.
void defineSquares(swf::Movie& movie)
{
    movie.background(kWhite);
    movie.defineShape(1, ShapeBuilder::filledRectangle(0, 0, px(20), px(20), kRed));
    movie.defineShape(2, ShapeBuilder::filledRectangle(0, 0, px(20), px(20), kGreen));
    movie.defineShape(3, ShapeBuilder::filledRectangle(0, 0, px(20), px(20), kBlue));
}

swf::Bytes blankFrames(int frames, double rate = 12)
{
    swf::Movie movie(100, 100, rate);
    for (int i = 0; i < frames; ++i)
        movie.showFrame();
    return movie.finish();
}

TEST(TimelineTest, RemovedObjectsAreGoneInTheNextFrame)
{
    for (bool oldTag : {false, true}) {
        SCOPED_TRACE(oldTag);
        swf::Movie movie(100, 100);
        defineSquares(movie);
        movie.placeObject(1, 1, swf::Matrix::translate(px(10), px(10)));
        movie.placeObject(2, 2, swf::Matrix::translate(px(50), px(10)));
        movie.showFrame();
        if (oldTag)
            movie.removeObject1(1, 1);
        else
            movie.remove(1);
        movie.showFrame();
        Player player;
        ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
        EXPECT_TRUE(near(render(player, 100, 100).at(15, 15), kRed));
        player.step();
        const Image image = render(player, 100, 100);
        EXPECT_TRUE(near(image.at(15, 15), kWhite));
        EXPECT_TRUE(near(image.at(55, 15), kGreen));
    }
}

TEST(TimelineTest, GotoFrameBackwardsRebuildsTheDisplayList)
{
    swf::Movie movie(100, 100);
    defineSquares(movie);
    movie.placeObject(1, 1, swf::Matrix::translate(px(10), px(10))).showFrame();
    swf::Place moveRight;
    moveRight.depth = 1;
    moveRight.move = true;
    moveRight.matrix = swf::Matrix::translate(px(60), px(10));
    movie.place(moveRight, 3).showFrame();
    movie.remove(1).placeObject(2, 2, swf::Matrix::translate(px(10), px(60))).showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    player.pause();
    player.gotoFrame(2);
    Image image = render(player, 100, 100);
    EXPECT_TRUE(near(image.at(15, 65), kGreen));
    EXPECT_TRUE(near(image.at(65, 15), kWhite));

    player.gotoFrame(1);
    EXPECT_EQ(player.currentFrame(), 1);
    EXPECT_FALSE(player.isPlaying());
    image = render(player, 100, 100);
    EXPECT_TRUE(near(image.at(65, 15), kRed));
    EXPECT_TRUE(near(image.at(15, 15), kWhite));
    EXPECT_TRUE(near(image.at(15, 65), kWhite));
}

TEST(TimelineTest, GotoFrameIsClampedAndKeepsThePlayingState)
{
    Player player;
    ASSERT_EQ(player.load(blankFrames(5)), LoadResult::Ok);
    player.gotoFrame(99);
    EXPECT_EQ(player.currentFrame(), 4);
    EXPECT_TRUE(player.isPlaying());
    player.pause();
    player.gotoFrame(-3);
    EXPECT_EQ(player.currentFrame(), 0);
    EXPECT_FALSE(player.isPlaying());
}

TEST(TimelineTest, SpritesLoopOnTheirOwnWhileTheMainTimelineIsStopped)
{
    swf::Movie movie(100, 100);
    defineSquares(movie);
    swf::Timeline sprite;
    sprite.placeObject(1, 1).showFrame();
    sprite.remove(1).placeObject(1, 2).showFrame();
    sprite.remove(1).placeObject(1, 3).showFrame();
    movie.defineSprite(10, sprite);
    movie.placeObject(1, 10, swf::Matrix::translate(px(40), px(40)));
    movie.actions(swf::Actions().stop()).showFrame();
    movie.showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    const swf::Color expected[] = {kRed, kGreen, kBlue, kRed, kGreen};
    for (const auto& colour : expected) {
        EXPECT_TRUE(near(render(player, 100, 100).at(50, 50), colour)) << render(player, 100, 100).at(50, 50);
        EXPECT_EQ(player.currentFrame(), 0);
        player.step();
    }
    EXPECT_FALSE(player.isPlaying());
}

TEST(TimelineTest, FrameActionsDriveTheTimeline)
{
    struct Case {
        const char* name;
        swf::Actions frame2;
        int steps;
        int expectedFrame;
        bool expectedPlaying;
    };
    const Case cases[] = {
        {"stop", swf::Actions().stop(), 5, 2, false},
        {"goto", swf::Actions().gotoFrame(5), 2, 5, true},
        {"gotoAndStop", swf::Actions().gotoFrame(6).stop(), 4, 6, false},
        {"label", swf::Actions().gotoLabel("END").stop(), 3, 7, false},
        {"next", swf::Actions().nextFrame(), 3, 3, false},
        {"previous", swf::Actions().previousFrame(), 3, 1, false},
        {"stop then play", swf::Actions().stop().play(), 3, 3, true},
        {"unknown skipped", swf::Actions().raw(0x96, {0, 'x', 0}).raw(0x1C).raw(0x3D).stop(), 3, 2, false},
        {"goto past the end", swf::Actions().gotoFrame(500).stop(), 3, 7, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        swf::Movie movie(100, 100);
        movie.showFrame().showFrame();
        movie.actions(c.frame2).showFrame();
        movie.showFrame().showFrame().showFrame().showFrame();
        movie.label("end").showFrame();
        Player player;
        ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
        for (int i = 0; i < c.steps; ++i)
            player.step();
        EXPECT_EQ(player.currentFrame(), c.expectedFrame);
        EXPECT_EQ(player.isPlaying(), c.expectedPlaying);
    }
}

TEST(TimelineTest, AStopOnTheFirstFrameHoldsItFromTheStart)
{
    swf::Movie movie(100, 100);
    movie.actions(swf::Actions().stop()).showFrame().showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    EXPECT_FALSE(player.isPlaying());
    player.tick(0);
    player.tick(5000);
    EXPECT_EQ(player.currentFrame(), 0);
}

TEST(TimelineTest, TheMainTimelineLoops)
{
    Player player;
    ASSERT_EQ(player.load(blankFrames(3)), LoadResult::Ok);
    for (int i = 0; i < 7; ++i)
        player.step();
    EXPECT_EQ(player.currentFrame(), 1);
    EXPECT_TRUE(player.isPlaying());
}

TEST(TimelineTest, TheClockAdvancesFramesAtTheFrameRateWithoutDrift)
{
    Player player;
    ASSERT_EQ(player.load(blankFrames(3000, 25)), LoadResult::Ok);
    const std::int64_t origin = 1'000'000;
    EXPECT_TRUE(player.tick(origin));
    EXPECT_EQ(player.currentFrame(), 0);
    player.tick(origin + 39);
    EXPECT_EQ(player.currentFrame(), 0);
    player.tick(origin + 40);
    EXPECT_EQ(player.currentFrame(), 1);
    // A minute of 17 ms timer ticks: 1500 frames, none lost to rounding.
    for (std::int64_t t = origin + 40; t <= origin + 60'000; t += 17)
        player.tick(t);
    player.tick(origin + 60'000);
    EXPECT_EQ(player.currentFrame(), 1500);
}

TEST(TimelineTest, TheClockSaysWhenARedrawIsDue)
{
    Player player;
    ASSERT_EQ(player.load(blankFrames(3, 10)), LoadResult::Ok);
    EXPECT_TRUE(player.tick(0));
    render(player, 10, 10);
    EXPECT_FALSE(player.tick(50));
    EXPECT_TRUE(player.tick(100));
    render(player, 10, 10);
    player.pause();
    EXPECT_FALSE(player.tick(300));
    player.setBackgroundColor(0x123456);
    EXPECT_TRUE(player.tick(310));
}

TEST(TimelineTest, TheNineOperationsInTheOrderOfAProgrammeChange)
{
    Player player;
    EXPECT_FALSE(player.isPlaying());
    player.pause();
    EXPECT_EQ(player.totalFrames(), 0);
    ASSERT_EQ(player.load(blankFrames(12)), LoadResult::Ok);
    player.pause();
    EXPECT_EQ(player.totalFrames(), 12);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.currentFrame(), 0);
    player.play();
    EXPECT_TRUE(player.isPlaying());
    player.tick(0);
    player.tick(200);
    EXPECT_EQ(player.currentFrame(), 2);
}

}
}
