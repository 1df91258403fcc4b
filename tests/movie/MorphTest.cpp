#include <gtest/gtest.h>

#include "MovieTestSupport.h"
#include "SwfMorphWriter.h"

namespace movie::test {
namespace {

// A square that moves right, grows, turns from red to blue and thickens its black outline.
swf::Bytes tweenMovie(int morphVersion, std::uint16_t ratio)
{
    swf::MorphShapeBuilder morph;
    const int fill = morph.addFill(swf::Fill::solid(kRed), swf::Fill::solid(kBlue));
    swf::LineStyle thin;
    thin.width = px(2);
    swf::LineStyle thick;
    thick.width = px(10);
    const int line = morph.addLine(thin, thick);
    morph.start().fill1(fill).line(line).rectangle(px(10), px(10), px(30), px(30));
    morph.end().rectangle(px(50), px(10), px(90), px(50));
    swf::Movie movie(100, 100);
    movie.background(kWhite);
    movie.tag(morphVersion == 1 ? swf::kDefineMorphShape : swf::kDefineMorphShape2, morph.encode(1, morphVersion));
    swf::Place place;
    place.character = 1;
    place.ratio = ratio;
    movie.place(place).showFrame();
    return movie.finish();
}

struct TweenCase {
    std::uint16_t ratio;
    int fillX;         // a point well inside the square at this ratio
    int fillY;
    swf::Color fill;
    int outsideX;      // a point outside the square and its outline
    int lineX;         // a point on the left outline only once it is thick
};

TEST(MorphTest, EdgesStylesAndWidthsFollowTheRatio)
{
    const TweenCase cases[] = {
        {0, 20, 20, kRed, 40, 7},
        {32768, 50, 25, {128, 0, 127}, 25, 27},
        {65535, 70, 30, kBlue, 40, 47},
    };
    for (int version : {1, 2}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "version " << version << " ratio " << c.ratio);
            const Image image = renderMovie(tweenMovie(version, c.ratio), 100, 100);
            EXPECT_TRUE(near(image.at(c.fillX, c.fillY), c.fill, 3)) << image.at(c.fillX, c.fillY);
            EXPECT_TRUE(near(image.at(c.outsideX, 5), kWhite)) << image.at(c.outsideX, 5);
            if (c.ratio == 0)
                EXPECT_TRUE(near(image.at(c.lineX, 20), kWhite)) << "thin outline at the start";
            else
                EXPECT_TRUE(near(image.at(c.lineX, 25), kBlack, 40)) << image.at(c.lineX, 25);
        }
    }
}

TEST(MorphTest, AMoveChangingOnlyTheRatioRedrawsTheTween)
{
    swf::MorphShapeBuilder morph;
    const int fill = morph.addFill(swf::Fill::solid(kRed), swf::Fill::solid(kGreen));
    morph.start().fill1(fill).rectangle(0, 0, px(20), px(20));
    morph.end().rectangle(px(80), 0, px(100), px(20));
    swf::Movie movie(100, 20);
    movie.background(kWhite);
    movie.tag(swf::kDefineMorphShape, morph.encode(1));
    swf::Place place;
    place.character = 1;
    place.ratio = 0;
    movie.place(place).showFrame();
    swf::Place later;
    later.move = true;
    later.ratio = 65535;
    movie.place(later).showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    EXPECT_TRUE(near(render(player, 100, 20).at(10, 10), kRed));
    player.gotoFrame(1);
    const Image end = render(player, 100, 20);
    EXPECT_TRUE(near(end.at(90, 10), kGreen)) << end.at(90, 10);
    EXPECT_TRUE(near(end.at(10, 10), kWhite)) << end.at(10, 10);
}

TEST(MorphTest, GradientStopsAndMatricesTween)
{
    swf::MorphShapeBuilder morph;
    // From red→blue left to right, to blue→red: the middle stays purple, the ends swap.
    const swf::Matrix across = swf::Matrix::scale(100.0 * 20 / 32768, 1, px(50), 0);
    const int fill = morph.addFill(swf::Fill::linear(across, {{0, kRed}, {255, kBlue}}),
                                   swf::Fill::linear(across, {{0, kBlue}, {255, kRed}}));
    morph.start().fill1(fill).rectangle(0, 0, px(100), px(20));
    morph.end().rectangle(0, 0, px(100), px(20));
    swf::Movie movie(100, 20);
    movie.tag(swf::kDefineMorphShape, morph.encode(1));
    swf::Place place;
    place.character = 1;
    place.ratio = 65535;
    movie.place(place).showFrame();
    const Image image = renderMovie(movie.finish(), 100, 20);
    EXPECT_GT(image.at(2, 10).b, 240) << image.at(2, 10);
    EXPECT_GT(image.at(97, 10).r, 240) << image.at(97, 10);
}

}
}
