#include <gtest/gtest.h>

#include <cmath>

#include "support/MovieTestSupport.h"

namespace movie::test {
namespace {

using swf::Fill;
using swf::ShapeBuilder;

swf::Bytes singleShapeMovie(const ShapeBuilder& shape, int shapeVersion = 3, int width = 100, int height = 100)
{
    swf::Movie movie(width, height);
    movie.background(kWhite);
    movie.defineShape(1, shape, shapeVersion);
    movie.placeObject(1, 1);
    movie.showFrame();
    return movie.finish();
}

TEST(RenderTest, SolidFillInsideOutsideAndOnTheEdgeForEveryShapeVersion)
{
    for (int version = 1; version <= 4; ++version) {
        SCOPED_TRACE(version);
        const auto shape = ShapeBuilder::filledRectangle(px(10.5), px(10), px(50.5), px(50), kRed);
        const Image image = renderMovie(singleShapeMovie(shape, version), 100, 100);
        EXPECT_TRUE(near(image.at(30, 30), kRed)) << image.at(30, 30);
        EXPECT_TRUE(near(image.at(5, 5), kWhite)) << image.at(5, 5);
        EXPECT_TRUE(near(image.at(60, 30), kWhite)) << image.at(60, 30);
        // Half covered: halfway between the two colours.
        EXPECT_TRUE(near(image.at(10, 30), {255, 128, 128}, 3)) << image.at(10, 30);
        EXPECT_TRUE(near(image.at(50, 30), {255, 128, 128}, 3)) << image.at(50, 30);
    }
}

TEST(RenderTest, FillsSharingAnEdgeLeaveNoSeam)
{
    ShapeBuilder shape;
    const int left = shape.addFill(Fill::solid(kRed));
    const int right = shape.addFill(Fill::solid(kBlue));
    shape.moveTo(px(40.5), px(10)).fill0(right).fill1(left).lineTo(px(40.5), px(50));
    shape.fill0(0).lineTo(px(10), px(50)).lineTo(px(10), px(10)).lineTo(px(40.5), px(10));
    shape.fill1(right).lineTo(px(70), px(10)).lineTo(px(70), px(50)).lineTo(px(40.5), px(50));
    const Image image = renderMovie(singleShapeMovie(shape), 100, 100);
    EXPECT_TRUE(near(image.at(20, 30), kRed));
    EXPECT_TRUE(near(image.at(60, 30), kBlue));
    // The white background must not show through between the two halves.
    EXPECT_TRUE(near(image.at(40, 30), {128, 0, 128}, 3)) << image.at(40, 30);
}

TEST(RenderTest, CurvesStayRoundWhenScaledUp)
{
    ShapeBuilder shape;
    shape.fill1(shape.addFill(Fill::solid(kBlue))).circle(px(50), px(50), px(40));
    const Image image = renderMovie(singleShapeMovie(shape), 1000, 1000);
    for (int step = 0; step < 16; ++step) {
        const double angle = step * 3.14159265358979 / 8 + 0.1;
        auto probe = [&](double radius) {
            return image.at(static_cast<int>(500 + radius * std::cos(angle)),
                            static_cast<int>(500 + radius * std::sin(angle)));
        };
        EXPECT_TRUE(near(probe(398), kBlue)) << step << " " << probe(398);
        EXPECT_TRUE(near(probe(402), kWhite)) << step << " " << probe(402);
    }
}

struct GradientCase {
    Fill::Kind kind;
    swf::Spread spread;
    int x;
    int y;
    double expectedBlue;  // share of the end colour
};

swf::Bytes gradientMovie(Fill::Kind kind, swf::Spread spread)
{
    const std::vector<swf::GradientStop> stops = {{0, kRed}, {255, kBlue}};
    // The gradient square spans 50 px, centred on the stage.
    const double scale = px(50) / 32768.0;
    const swf::Matrix matrix = swf::Matrix::scale(scale, scale, px(50), px(50));
    Fill fill = kind == Fill::Kind::Linear   ? Fill::linear(matrix, stops, spread)
                : kind == Fill::Kind::Radial ? Fill::radial(matrix, stops, spread)
                                             : Fill::focal(matrix, stops, 0.5, spread);
    ShapeBuilder shape;
    shape.fill1(shape.addFill(fill)).rectangle(0, 0, px(100), px(100));
    return singleShapeMovie(shape, 4);
}

TEST(RenderTest, GradientsHitTheirEndColoursAndSpreadBeyond)
{
    using K = Fill::Kind;
    using S = swf::Spread;
    const GradientCase cases[] = {
        {K::Linear, S::Pad, 25, 50, 0.01},   {K::Linear, S::Pad, 74, 50, 0.99},
        {K::Linear, S::Pad, 5, 50, 0.0},     {K::Linear, S::Pad, 95, 50, 1.0},
        {K::Linear, S::Pad, 50, 50, 0.5},    {K::Linear, S::Repeat, 90, 50, 0.31},
        {K::Linear, S::Reflect, 90, 50, 0.69}, {K::Linear, S::Reflect, 10, 50, 0.29},
        {K::Radial, S::Pad, 50, 50, 0.0},    {K::Radial, S::Pad, 75, 50, 1.0},
        {K::Radial, S::Pad, 5, 5, 1.0},      {K::Radial, S::Repeat, 87, 50, 0.49},
        {K::Focal, S::Pad, 62, 50, 0.0},     {K::Focal, S::Pad, 80, 50, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(c.kind) << " spread "
                                        << static_cast<int>(c.spread) << " at " << c.x << "," << c.y);
        const Image image = renderMovie(gradientMovie(c.kind, c.spread), 100, 100);
        const Pixel p = image.at(c.x, c.y);
        EXPECT_NEAR(p.b, 255 * c.expectedBlue, 8) << p;
        EXPECT_NEAR(p.r, 255 * (1 - c.expectedBlue), 8) << p;
    }
}

// Sum of colour coverage down one column, in pixels.
double inkInColumn(const Image& image, int x)
{
    double total = 0;
    for (int y = 0; y < image.height(); ++y)
        total += (255 - image.at(x, y).g) / 255.0;
    return total;
}

swf::Bytes lineMovie(std::uint16_t widthTwips)
{
    ShapeBuilder shape;
    swf::LineStyle style;
    style.width = widthTwips;
    style.color = kBlack;
    shape.line(shape.addLine(style)).moveTo(px(20), px(50)).lineTo(px(80), px(50));
    return singleShapeMovie(shape);
}

TEST(RenderTest, StrokeWidthsScaleWithTheStageButHairlinesStayOnePixel)
{
    struct Case {
        std::uint16_t width;
        int size;
        double ink;
    };
    const Case cases[] = {{px(4), 100, 4}, {px(4), 200, 8}, {px(1.5), 300, 4.5}, {0, 100, 1}, {0, 300, 1}, {1, 300, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width << " at " << c.size);
        const Image image = renderMovie(lineMovie(c.width), c.size, c.size);
        EXPECT_NEAR(inkInColumn(image, c.size / 2), c.ink, 0.1);
    }
}

swf::Bytes strokedPath(swf::Cap cap, swf::Join join, bool corner)
{
    ShapeBuilder shape;
    swf::LineStyle style;
    style.width = px(10);
    style.startCap = style.endCap = cap;
    style.join = join;
    style.miterLimit = 4;
    shape.line(shape.addLine(style));
    if (corner)
        shape.moveTo(px(30), px(70)).lineTo(px(30), px(30)).lineTo(px(70), px(30));
    else
        shape.moveTo(px(30), px(50)).lineTo(px(70), px(50));
    return singleShapeMovie(shape, 4);
}

TEST(RenderTest, CapsAndJoinsShapeTheStrokeEnds)
{
    using swf::Cap;
    using swf::Join;
    struct Case {
        Cap cap;
        Join join;
        bool corner;
        int x;
        int y;
        bool inked;
    };
    const Case cases[] = {
        {Cap::None, Join::Round, false, 27, 50, false},  {Cap::Square, Join::Round, false, 27, 50, true},
        {Cap::Round, Join::Round, false, 27, 50, true},  {Cap::Square, Join::Round, false, 25, 45, true},
        {Cap::Round, Join::Round, false, 25, 45, false}, {Cap::None, Join::Miter, true, 25, 25, true},
        {Cap::None, Join::Bevel, true, 25, 25, false},   {Cap::None, Join::Round, true, 25, 25, false},
        {Cap::None, Join::Bevel, true, 28, 28, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "cap " << static_cast<int>(c.cap) << " join " << static_cast<int>(c.join)
                                        << " at " << c.x << "," << c.y);
        const Image image = renderMovie(strokedPath(c.cap, c.join, c.corner), 100, 100);
        EXPECT_TRUE(near(image.at(c.x, c.y), c.inked ? kBlack : kWhite, 40)) << image.at(c.x, c.y);
    }
}

TEST(RenderTest, ColourTransformsApplyThroughNestedSprites)
{
    swf::Movie movie(100, 100);
    movie.background(kWhite);
    movie.defineShape(1, ShapeBuilder::filledRectangle(0, 0, px(100), px(100), kRed));
    swf::Timeline inner;
    inner.placeObject(1, 1).showFrame();
    movie.defineSprite(2, inner);
    swf::Timeline outer;
    swf::Place recolour;
    recolour.character = 2;
    recolour.colorTransform = swf::ColorTransform{0, 256, 256, 256, 0, 0, 255, 0};
    outer.place(recolour).showFrame();
    movie.defineSprite(3, outer);
    swf::Place half;
    half.character = 3;
    half.colorTransform = swf::ColorTransform{256, 256, 256, 128, 0, 0, 0, 0};
    movie.place(half).showFrame();
    const Image image = renderMovie(movie.finish(), 100, 100);
    EXPECT_TRUE(near(image.at(50, 50), {127, 127, 255}, 3)) << image.at(50, 50);
}

TEST(RenderTest, StageIsShownWholeAndCentredOnTheBackground)
{
    swf::Movie movie(100, 50);
    movie.background(kRed);
    movie.defineShape(1, ShapeBuilder::filledRectangle(0, 0, px(100), px(50), kGreen));
    movie.placeObject(1, 1).showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);

    Image image = render(player, 200, 200);
    EXPECT_TRUE(near(image.at(100, 10), kRed));
    EXPECT_TRUE(near(image.at(100, 190), kRed));
    EXPECT_TRUE(near(image.at(1, 51), kGreen));
    EXPECT_TRUE(near(image.at(198, 148), kGreen));

    player.setBackgroundColor(0x0000FF);
    image = render(player, 200, 200);
    EXPECT_TRUE(near(image.at(100, 10), kBlue));
    player.setBackgroundColor(-1);
    image = render(player, 200, 200);
    EXPECT_TRUE(near(image.at(100, 10), kRed));
}

TEST(RenderTest, LaterStyleGroupsDrawOverEarlierOnes)
{
    ShapeBuilder shape;
    shape.fill1(shape.addFill(Fill::solid(kRed))).rectangle(px(10), px(10), px(60), px(60));
    shape.newStyles();
    shape.fill1(shape.addFill(Fill::solid(kBlue))).rectangle(px(40), px(40), px(90), px(90));
    const Image image = renderMovie(singleShapeMovie(shape), 100, 100);
    EXPECT_TRUE(near(image.at(20, 20), kRed));
    EXPECT_TRUE(near(image.at(50, 50), kBlue));
    EXPECT_TRUE(near(image.at(80, 80), kBlue));
}

TEST(RenderTest, AClipLayerMasksTheDepthsUpToItsClipDepth)
{
    swf::Movie movie(100, 100);
    movie.background(kWhite);
    swf::ShapeBuilder mask;
    mask.fill1(mask.addFill(swf::Fill::solid(kGreen))).circle(px(40), px(40), px(20));
    movie.defineShape(1, mask);
    movie.defineShape(2, swf::ShapeBuilder::filledRectangle(0, 0, px(100), px(100), kRed));
    movie.defineShape(3, swf::ShapeBuilder::filledRectangle(px(70), px(70), px(90), px(90), kBlue));
    swf::Place clip;
    clip.depth = 1;
    clip.character = 1;
    clip.clipDepth = 2;
    movie.place(clip).placeObject(2, 2).placeObject(3, 3).showFrame();
    const Image image = renderMovie(movie.finish(), 100, 100);
    EXPECT_TRUE(near(image.at(40, 40), kRed)) << image.at(40, 40);
    EXPECT_TRUE(near(image.at(10, 10), kWhite)) << image.at(10, 10);
    EXPECT_TRUE(near(image.at(62, 40), kWhite)) << image.at(62, 40);
    EXPECT_TRUE(near(image.at(80, 80), kBlue)) << image.at(80, 80);
}

TEST(RenderTest, AMaskInsideASpriteCutsOnlyTheDepthsItCovers)
{
    swf::Movie movie(100, 100);
    movie.background(kWhite);
    movie.defineShape(1, swf::ShapeBuilder::filledRectangle(0, 0, px(50), px(100), kGreen));
    movie.defineShape(2, swf::ShapeBuilder::filledRectangle(0, 0, px(100), px(100), kRed));
    movie.defineShape(3, swf::ShapeBuilder::filledRectangle(px(60), px(60), px(90), px(90), kBlue));
    swf::Timeline inner;
    swf::Place clip;
    clip.depth = 1;
    clip.character = 1;
    clip.clipDepth = 2;
    inner.place(clip).placeObject(2, 2).placeObject(3, 3).showFrame();
    movie.defineSprite(4, inner);
    movie.placeObject(1, 4).showFrame();
    const Image image = renderMovie(movie.finish(), 100, 100);
    EXPECT_TRUE(near(image.at(25, 50), kRed)) << image.at(25, 50);
    EXPECT_TRUE(near(image.at(75, 20), kWhite)) << image.at(75, 20);
    EXPECT_TRUE(near(image.at(75, 75), kBlue)) << image.at(75, 75);
}

}
}
