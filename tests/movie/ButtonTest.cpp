#include <gtest/gtest.h>

#include "support/MovieTestSupport.h"
#include "support/SwfButtonWriter.h"

namespace movie::test {
namespace {

using swf::ShapeBuilder;

constexpr swf::Color kYellow{255, 255, 0};

// Shapes 1 to 3: red, green and blue 40 × 40 px squares at (20, 20).
// Shape 4, the hit area: only the left half of them.
void defineStateShapes(swf::Movie& movie)
{
    movie.background(kWhite);
    movie.defineShape(1, ShapeBuilder::filledRectangle(px(20), px(20), px(60), px(60), kRed));
    movie.defineShape(2, ShapeBuilder::filledRectangle(px(20), px(20), px(60), px(60), kGreen));
    movie.defineShape(3, ShapeBuilder::filledRectangle(px(20), px(20), px(60), px(60), kBlue));
    movie.defineShape(4, ShapeBuilder::filledRectangle(px(20), px(20), px(40), px(60), kBlack));
}

swf::ButtonBuilder squareButton()
{
    swf::ButtonBuilder button;
    button.add({swf::kUp, 1, 1}).add({swf::kOver, 2, 1}).add({swf::kDown, 3, 1}).add({swf::kHitTest, 4, 1});
    return button;
}

Pixel pixelAt(Player& player, int x, int y, int width = 100, int height = 100)
{
    return render(player, width, height).at(x, y);
}

// Each transition of the button sends the stopped main timeline to its own frame.
constexpr int kRollOverFrame = 1, kRollOutFrame = 2, kPressFrame = 3, kReleaseFrame = 4, kDragOutFrame = 5,
              kDragOverFrame = 6, kReleaseOutsideFrame = 7;

swf::Bytes transitionMovie()
{
    swf::Movie movie(100, 100);
    defineStateShapes(movie);
    swf::ButtonBuilder button = squareButton();
    const std::pair<std::uint16_t, int> events[] = {
        {swf::kRollOver, kRollOverFrame},   {swf::kRollOut, kRollOutFrame},
        {swf::kPress, kPressFrame},         {swf::kRelease, kReleaseFrame},
        {swf::kDragOut, kDragOutFrame},     {swf::kDragOver, kDragOverFrame},
        {swf::kReleaseOutside, kReleaseOutsideFrame},
    };
    for (const auto& [event, frame] : events)
        button.on(event, swf::Actions().gotoFrame(static_cast<std::uint16_t>(frame)));
    movie.tag(swf::kDefineButton2, button.encode2(10));
    movie.placeObject(1, 10).actions(swf::Actions().stop()).showFrame();
    for (int i = 1; i < 8; ++i)
        movie.showFrame();
    return movie.finish();
}

enum class Op { Inside, OverUpShapeOnly, Far, Down, Up, Leave };

struct Step {
    Op op;
    int frame;
    swf::Color shown;
    bool hand;
};

void apply(Player& player, Op op)
{
    switch (op) {
    case Op::Inside: player.mouseMove(30, 40); break;
    case Op::OverUpShapeOnly: player.mouseMove(50, 40); break;
    case Op::Far: player.mouseMove(80, 80); break;
    case Op::Down: player.mouseDown(); break;
    case Op::Up: player.mouseUp(); break;
    case Op::Leave: player.mouseLeave(); break;
    }
}

TEST(ButtonTest, MouseSequencesDriveStatesAndActions)
{
    struct Sequence {
        const char* name;
        std::vector<Step> steps;
    };
    const Sequence sequences[] = {
        {"hover, then onto the visible part outside the hit area",
         {{Op::Inside, kRollOverFrame, kGreen, true}, {Op::OverUpShapeOnly, kRollOutFrame, kRed, false}}},
        {"the visible part alone is not over", {{Op::OverUpShapeOnly, 0, kRed, false}}},
        {"click",
         {{Op::Inside, kRollOverFrame, kGreen, true},
          {Op::Down, kPressFrame, kBlue, true},
          {Op::Up, kReleaseFrame, kGreen, true}}},
        {"drag out, back in, out again and release outside",
         {{Op::Inside, kRollOverFrame, kGreen, true},
          {Op::Down, kPressFrame, kBlue, true},
          {Op::Far, kDragOutFrame, kGreen, false},
          {Op::Inside, kDragOverFrame, kBlue, true},
          {Op::Far, kDragOutFrame, kGreen, false},
          {Op::Up, kReleaseOutsideFrame, kRed, false}}},
        {"a press that began outside does not take the button",
         {{Op::Far, 0, kRed, false},
          {Op::Down, 0, kRed, false},
          {Op::Inside, 0, kRed, false},
          {Op::Up, kRollOverFrame, kGreen, true}}},
        {"leaving the window", {{Op::Inside, kRollOverFrame, kGreen, true}, {Op::Leave, kRollOutFrame, kRed, false}}},
        {"leaving while pressed",
         {{Op::Inside, kRollOverFrame, kGreen, true},
          {Op::Down, kPressFrame, kBlue, true},
          {Op::Leave, kDragOutFrame, kGreen, false},
          {Op::Up, kReleaseOutsideFrame, kRed, false}}},
    };
    const swf::Bytes file = transitionMovie();
    for (const auto& sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        Player player;
        ASSERT_EQ(player.load(file), LoadResult::Ok);
        EXPECT_TRUE(near(pixelAt(player, 30, 40), kRed));
        for (std::size_t i = 0; i < sequence.steps.size(); ++i) {
            SCOPED_TRACE(i);
            const Step& step = sequence.steps[i];
            apply(player, step.op);
            EXPECT_EQ(player.currentFrame(), step.frame);
            EXPECT_TRUE(near(pixelAt(player, 30, 40), step.shown)) << pixelAt(player, 30, 40);
            EXPECT_EQ(player.cursorIsHand(), step.hand);
        }
    }
}

TEST(ButtonTest, MouseEventsReportWhenTheyChangeThePicture)
{
    Player player;
    ASSERT_EQ(player.load(transitionMovie()), LoadResult::Ok);
    render(player, 100, 100);
    EXPECT_FALSE(player.mouseMove(80, 80));
    EXPECT_TRUE(player.mouseMove(30, 40));
    EXPECT_FALSE(player.mouseMove(31, 41));
    EXPECT_TRUE(player.mouseDown());
    EXPECT_TRUE(player.needsRedraw());
}

// The replay button of a cartoon: DefineButton with gotoAndPlay(1) on release.
TEST(ButtonTest, ReplayButtonRestartsTheMainTimeline)
{
    swf::Movie movie(100, 100);
    defineStateShapes(movie);
    movie.tag(swf::kDefineButton, squareButton().on(0, swf::Actions().gotoFrame(0).play()).encode1(10));
    movie.placeObject(1, 10).showFrame().showFrame().actions(swf::Actions().stop()).showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    player.step();
    player.step();
    ASSERT_EQ(player.currentFrame(), 2);
    ASSERT_FALSE(player.isPlaying());

    player.mouseMove(30, 40);
    player.mouseDown();
    EXPECT_EQ(player.currentFrame(), 2) << "a DefineButton acts on release only";
    player.mouseUp();
    EXPECT_EQ(player.currentFrame(), 0);
    EXPECT_TRUE(player.isPlaying());
    player.step();
    EXPECT_EQ(player.currentFrame(), 1);
}

TEST(ButtonTest, ButtonRemovedByItsOwnActionIsForgotten)
{
    swf::Movie movie(100, 100);
    defineStateShapes(movie);
    movie.tag(swf::kDefineButton2, squareButton().on(swf::kRelease, swf::Actions().nextFrame()).encode2(10));
    movie.placeObject(1, 10).actions(swf::Actions().stop()).showFrame();
    movie.remove(1).showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    player.mouseMove(30, 40);
    player.mouseDown();
    player.mouseUp();
    EXPECT_EQ(player.currentFrame(), 1);
    EXPECT_FALSE(player.cursorIsHand());
    EXPECT_TRUE(near(pixelAt(player, 30, 40), kWhite));
    player.mouseMove(31, 40);
    player.mouseUp();

    // Back to the frame with the button, under the pointer that stayed put.
    player.gotoFrame(0);
    EXPECT_TRUE(player.cursorIsHand());
    EXPECT_TRUE(near(pixelAt(player, 30, 40), kGreen));
}

TEST(ButtonTest, ButtonAppearingUnderAStillPointerIsHovered)
{
    swf::Movie movie(100, 100);
    defineStateShapes(movie);
    movie.tag(swf::kDefineButton2, squareButton().on(swf::kRollOver, swf::Actions().stop()).encode2(10));
    movie.showFrame().placeObject(1, 10).showFrame().showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    EXPECT_FALSE(player.mouseMove(30, 40));
    player.step();
    EXPECT_TRUE(player.cursorIsHand());
    EXPECT_FALSE(player.isPlaying());
    EXPECT_TRUE(near(pixelAt(player, 30, 40), kGreen));
}

// Sprite 20 (depth 2) holds button 11 (yellow) and stops; its frame 1 adds a blue mark.
// Button 10 sits below it on the main timeline, overlapping.
swf::Bytes buttonInMovedSprite()
{
    swf::Movie movie(100, 100);
    defineStateShapes(movie);
    movie.defineShape(5, ShapeBuilder::filledRectangle(0, 0, px(10), px(10), kYellow));
    movie.defineShape(6, ShapeBuilder::filledRectangle(0, 0, px(10), px(10), kBlue));
    movie.tag(swf::kDefineButton2, squareButton().on(swf::kRelease, swf::Actions().gotoFrame(1)).encode2(10));
    swf::ButtonBuilder small;
    small.add({swf::kUp | swf::kOver | swf::kDown | swf::kHitTest, 5, 1});
    movie.tag(swf::kDefineButton2, small.on(swf::kRelease, swf::Actions().nextFrame()).encode2(11));
    swf::Timeline sprite;
    sprite.placeObject(1, 11).actions(swf::Actions().stop()).showFrame();
    sprite.placeObject(2, 6, swf::Matrix::translate(px(20), 0)).showFrame();
    movie.defineSprite(20, sprite);
    movie.placeObject(1, 10);
    // Scaled twice and moved so the small button covers (30..50, 30..50) of the stage.
    movie.placeObject(2, 20, swf::Matrix::scale(2, 2, px(30), px(30)));
    movie.actions(swf::Actions().stop()).showFrame().showFrame();
    return movie.finish();
}

TEST(ButtonTest, TopmostButtonInAMovedSpriteWinsAndActsOnItsSprite)
{
    Player player;
    ASSERT_EQ(player.load(buttonInMovedSprite()), LoadResult::Ok);
    // A window twice as wide: the stage is centred, 50 px from the left.
    constexpr int kOffset = 50;
    render(player, 200, 100);
    player.mouseMove(kOffset + 35, 45);
    EXPECT_TRUE(player.cursorIsHand());
    EXPECT_TRUE(near(pixelAt(player, kOffset + 25, 40, 200, 100), kRed)) << "the lower button is not hovered";
    player.mouseDown();
    player.mouseUp();
    EXPECT_EQ(player.currentFrame(), 0) << "the sprite's button acts on the sprite";
    EXPECT_TRUE(near(pixelAt(player, kOffset + 75, 35, 200, 100), kBlue));

    // Outside the small button but inside the lower one's hit area: that one takes the click.
    player.mouseMove(kOffset + 25, 40);
    EXPECT_TRUE(near(pixelAt(player, kOffset + 25, 40, 200, 100), kGreen));
    player.mouseDown();
    player.mouseUp();
    EXPECT_EQ(player.currentFrame(), 1);
}

TEST(ButtonTest, HitAreaIsTheExactFillWithItsHoles)
{
    swf::Movie movie(100, 100);
    movie.background(kWhite);
    ShapeBuilder ring;
    const int fill = ring.addFill(swf::Fill::solid(kRed));
    ring.fill1(fill).circle(px(50), px(50), px(40)).rectangle(px(40), px(40), px(60), px(60));
    movie.defineShape(1, ring);
    swf::ButtonBuilder button;
    button.add({swf::kUp | swf::kHitTest, 1, 1});
    movie.tag(swf::kDefineButton2, button.encode2(10));
    movie.placeObject(1, 10).showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    const Image image = render(player, 100, 100);
    struct Probe {
        int x, y;
        bool over;
    };
    // Inside the ring; the bounding box corner outside the circle; the hole.
    for (const Probe& probe : {Probe{50, 15, true}, Probe{14, 14, false}, Probe{50, 50, false}}) {
        SCOPED_TRACE(testing::Message() << probe.x << "," << probe.y);
        player.mouseMove(probe.x, probe.y);
        EXPECT_EQ(player.cursorIsHand(), probe.over);
        EXPECT_EQ(near(image.at(probe.x, probe.y), kRed), probe.over) << "drawn and hit areas agree";
    }
}

TEST(ButtonTest, SpriteInAStatePlaysItsOwnTimeline)
{
    swf::Movie movie(100, 100);
    defineStateShapes(movie);
    swf::Timeline blink;
    blink.placeObject(1, 1).showFrame().remove(1).placeObject(1, 2).showFrame();
    movie.defineSprite(20, blink);
    swf::ButtonBuilder button;
    button.add({swf::kUp, 20, 1}).add({swf::kHitTest, 4, 1});
    movie.tag(swf::kDefineButton2, button.encode2(10));
    movie.placeObject(1, 10).showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    EXPECT_TRUE(near(pixelAt(player, 30, 40), kRed));
    player.step();
    EXPECT_TRUE(near(pixelAt(player, 30, 40), kGreen));
}

TEST(ButtonTest, RecordExtrasAreSkippedAndColourTransformsApplied)
{
    swf::Movie movie(100, 100);
    defineStateShapes(movie);
    swf::ButtonRecord withExtras{swf::kUp | swf::kHitTest, 1, 1};
    withExtras.filters = swf::sampleFilterList();
    withExtras.blendMode = 1;
    swf::ButtonRecord tinted{swf::kUp, 1, 2, swf::Matrix::translate(px(-20), px(-20))};
    // Red to blue.
    tinted.colorTransform = swf::ColorTransform{0, 0, 0, 256, -255, 0, 255, 0};
    swf::ButtonBuilder second;
    second.add(withExtras).add(tinted);
    movie.tag(swf::kDefineButton2, second.encode2(10));
    swf::ButtonBuilder first;
    first.add({swf::kUp | swf::kHitTest, 1, 1, swf::Matrix::translate(px(40), px(40))});
    movie.tag(swf::kDefineButton, first.encode1(11));
    movie.tag(swf::kDefineButtonCxform, swf::buttonColorTransform(11, swf::ColorTransform{0, 0, 0, 256, 0, 255, 0, 0}));
    movie.placeObject(1, 10).placeObject(2, 11).showFrame();
    Player player;
    ASSERT_EQ(player.load(movie.finish()), LoadResult::Ok);
    const Image image = render(player, 100, 100);
    EXPECT_TRUE(near(image.at(10, 10), kBlue)) << image.at(10, 10);
    EXPECT_TRUE(near(image.at(50, 50), kRed)) << image.at(50, 50);
    EXPECT_TRUE(near(image.at(90, 90), kGreen)) << image.at(90, 90);
}

}
}
