#include <gtest/gtest.h>

#include "MovieTestSupport.h"
#include "SwfMorphWriter.h"
#include "SwfTextWriter.h"

namespace movie::test {
namespace {

using swf::ShapeBuilder;

// A large still background and a small square moving right one step per frame.
swf::Bytes movingSquare()
{
    swf::Movie movie(200, 100);
    movie.background(kWhite);
    movie.defineShape(1, ShapeBuilder::filledRectangle(px(10), px(10), px(190), px(90), kGreen));
    movie.defineShape(2, ShapeBuilder::filledRectangle(0, 0, px(10), px(10), kRed));
    movie.placeObject(1, 1).placeObject(2, 2, swf::Matrix::translate(px(20), px(40))).showFrame();
    for (int x = 30; x <= 60; x += 10) {
        swf::Place step;
        step.depth = 2;
        step.move = true;
        step.matrix = swf::Matrix::translate(px(x), px(40));
        movie.place(step).showFrame();
    }
    movie.showFrame();
    return movie.finish();
}

// Sprites, a morph, a colour change, removal and a mask that comes and goes.
swf::Bytes busyMovie()
{
    swf::Movie movie(120, 120);
    movie.background(kWhite);
    ShapeBuilder circle;
    swf::LineStyle line;
    line.width = px(4);
    line.join = swf::Join::Miter;
    circle.fill1(circle.addFill(swf::Fill::solid(kBlue))).line(circle.addLine(line)).circle(px(30), px(30), px(20));
    movie.defineShape(1, circle, 4);
    movie.defineShape(2, ShapeBuilder::filledRectangle(0, 0, px(120), px(120), kGreen));
    swf::MorphShapeBuilder morph;
    const int fill = morph.addFill(swf::Fill::solid(kRed), swf::Fill::solid(kBlack));
    morph.start().fill1(fill).rectangle(px(80), px(80), px(100), px(100));
    morph.end().rectangle(px(60), px(60), px(110), px(115));
    movie.tag(swf::kDefineMorphShape, morph.encode(3));
    swf::Timeline spin;
    spin.placeObject(1, 1).showFrame();
    spin.place({1, std::nullopt, swf::Matrix{0.8, 0.2, -0.2, 0.8, px(10), px(5)}, {}, {}, {}, {}, true}).showFrame();
    movie.defineSprite(4, spin);
    swf::Place tween{5, 3, {}, {}, std::uint16_t{0}, {}, {}, false};
    movie.placeObject(2, 2).placeObject(3, 4).place(tween).showFrame();
    tween.move = true;
    tween.character.reset();
    tween.ratio = 30000;
    swf::ColorTransform pale;
    pale.mulR = 128;
    movie.place(tween).place({3, std::nullopt, swf::Matrix::translate(px(40), px(50)), pale, {}, {}, {}, true}).showFrame();
    // Text whose stated bounds are far too small moves down: its real extent counts.
    swf::Glyph block;
    block.outline.rectangle(0, -800, 600, 0);
    block.advance = 700;
    movie.tag(swf::kDefineFont2, swf::defineFont2(10, {block}, {}));
    swf::TextRecord words{10, static_cast<std::uint16_t>(px(20)), kRed, 0, 0, {{0, px(22)}, {0, px(22)}}};
    movie.tag(swf::kDefineText, swf::defineText(11, {0, 20, 0, 20}, {}, {words}, false));
    movie.place({7, 11, swf::Matrix::translate(px(5), px(30)), {}, {}, {}, {}, false}).showFrame();
    movie.place({7, std::nullopt, swf::Matrix::translate(px(5), px(60)), {}, {}, {}, {}, true});
    swf::Place mask{1, 1, swf::Matrix::translate(px(20), px(20)), {}, {}, {}, std::uint16_t{3}, false};
    movie.place(mask).showFrame();
    movie.remove(1).remove(5).showFrame();
    movie.remove(3).showFrame();
    return movie.finish();
}

// The largest difference of any channel of any pixel. Drawing a part of the canvas moves the
// geometry by whole pixels, which may round an edge's coverage one step differently.
int largestDifference(const Image& a, const Image& b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const Pixel p = a.at(x, y);
            const Pixel q = b.at(x, y);
            largest = std::max({largest, std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b),
                                std::abs(p.a - q.a)});
        }
    return largest;
}

// The hand-made movies here and every movie of the fuzzing corpus.
std::vector<std::pair<std::string, swf::Bytes>> moviesToCompare()
{
    auto movies = moviesIn(MOVIE_CORPUS_DIR);
    movies.emplace_back("moving square", movingSquare());
    movies.emplace_back("busy", busyMovie());
    return movies;
}

TEST(DamageTest, UpdatingOnlyWhatChangedGivesTheSamePictureAsDrawingAll)
{
    for (const auto& [name, file] : moviesToCompare()) {
        SCOPED_TRACE(name);
        Player incremental;
        Player full;
        if (incremental.load(file) != LoadResult::Ok || full.load(file) != LoadResult::Ok)
            continue;
        Image kept(150, 110);
        incremental.render(kept.data(), kept.width(), kept.height(), kept.stride());
        for (int frame = 1; frame < incremental.totalFrames() + 2; ++frame) {
            SCOPED_TRACE(frame);
            incremental.step();
            full.step();
            incremental.renderUpdate(kept.data(), kept.width(), kept.height(), kept.stride());
            Image fresh = render(full, kept.width(), kept.height());
            EXPECT_LE(largestDifference(kept, fresh), 2);
        }
    }
}

TEST(DamageTest, TheUpdatedAreaIsWhereTheSquareWasAndIs)
{
    Player player;
    ASSERT_EQ(player.load(movingSquare()), LoadResult::Ok);
    Image image(200, 100);
    const PixelRect first = player.renderUpdate(image.data(), 200, 100, image.stride());
    EXPECT_EQ(first.area(), 200 * 100);
    player.step();
    const PixelRect moved = player.renderUpdate(image.data(), 200, 100, image.stride());
    // Old square at x 20..30, new at 30..40, y 40..50, each with a small margin.
    EXPECT_LE(moved.x0, 20);
    EXPECT_GE(moved.x1, 40);
    EXPECT_LE(moved.y0, 40);
    EXPECT_GE(moved.y1, 50);
    EXPECT_LT(moved.area(), 30 * 20);
    player.gotoFrame(5);
    player.renderUpdate(image.data(), 200, 100, image.stride());
    player.gotoFrame(5);
    EXPECT_TRUE(player.renderUpdate(image.data(), 200, 100, image.stride()).empty());
}

TEST(DamageTest, AnotherBufferSizeOrBackgroundRedrawsEverything)
{
    Player player;
    ASSERT_EQ(player.load(movingSquare()), LoadResult::Ok);
    Image image(200, 100);
    player.renderUpdate(image.data(), 200, 100, image.stride());
    EXPECT_EQ(player.renderUpdate(image.data(), 100, 100, image.stride()).area(), 100 * 100);
    player.setBackgroundColor(0x000000);
    EXPECT_EQ(player.renderUpdate(image.data(), 100, 100, image.stride()).area(), 100 * 100);
    EXPECT_TRUE(near(Image(image).at(2, 2), kBlack));
}

}
}
