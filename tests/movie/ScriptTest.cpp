#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "movie/ScriptValue.h"
#include "support/MovieTestSupport.h"
#include "support/SwfScriptWriter.h"

namespace movie::test {
namespace {

using swf::Bytecode;
using swf::ShapeBuilder;

Value variable(const Playhead& timeline, const std::string& name)
{
    const Value* value = timeline.variables().find(name);
    return value ? *value : Value{};
}

const Playhead& clip(const Playhead& parent, const std::string& name)
{
    const auto found = parent.child(name, true);
    if (!found)
        throw std::runtime_error("no clip " + name);
    return *found;
}

swf::Place named(std::uint16_t depth, std::uint16_t character, const std::string& name, swf::Matrix matrix = {})
{
    swf::Place place;
    place.depth = depth;
    place.character = character;
    place.name = name;
    place.matrix = matrix;
    return place;
}

// A sprite of `frames` empty frames, with `code` on its first one.
swf::Timeline spriteWithScript(int frames, const Bytecode& code)
{
    swf::Timeline sprite;
    swf::script(sprite, code);
    for (int i = 0; i < frames; ++i)
        sprite.showFrame();
    return sprite;
}

std::unique_ptr<Player> load(const swf::Movie& movie)
{
    auto player = std::make_unique<Player>();
    if (player->load(movie.finish()) != LoadResult::Ok)
        throw std::runtime_error("movie did not load");
    return player;
}

TEST(ScriptTest, ASpriteSendsTheMainTimelineToALabel)
{
    // _root.gotoAndPlay("scene2") from inside a clip placed on frame 1.
    swf::Movie movie(100, 100);
    movie.defineSprite(10, spriteWithScript(2, Bytecode().push("scene2").callMethod("_root", "", "gotoAndPlay", 1)));
    movie.showFrame();
    movie.place(named(1, 10, "clip")).showFrame();
    movie.showFrame().showFrame();
    movie.label("Scene2").showFrame();
    movie.showFrame();
    auto player = load(movie);
    player->step();
    EXPECT_EQ(player->currentFrame(), 4);
    EXPECT_TRUE(player->isPlaying());
    player->step();
    EXPECT_EQ(player->currentFrame(), 5);
}

TEST(ScriptTest, GotoFrame2TakesNumbersOrLabelsWithItsPlayFlagAndBias)
{
    struct Case {
        const char* name;
        Bytecode code;
        int frame;
        bool playing;
    };
    const Case cases[] = {
        {"number and stop", Bytecode().push(4).gotoFrame2(false), 3, false},
        {"label and play", Bytecode().push("end").gotoFrame2(true), 5, true},
        {"numeric string", Bytecode().push("2").gotoFrame2(false), 1, false},
        {"scene bias", Bytecode().push(1).gotoFrame2(false, 2), 2, false},
        {"unknown label stays", Bytecode().push("nowhere").gotoFrame2(false), 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        swf::Movie movie(100, 100);
        swf::script(movie, c.code).showFrame();
        movie.showFrame().showFrame().showFrame().showFrame();
        movie.label("end").showFrame();
        auto player = load(movie);
        EXPECT_EQ(player->currentFrame(), c.frame);
        EXPECT_EQ(player->isPlaying(), c.playing);
    }
}

TEST(ScriptTest, TellTargetDrivesANestedClipUntilTheTargetIsCleared)
{
    swf::Movie movie(100, 100);
    swf::Timeline inner;
    inner.showFrame().showFrame().showFrame().showFrame();
    movie.defineSprite(10, inner);
    swf::Timeline outer;
    outer.place(named(1, 10, "inner")).showFrame().showFrame();
    movie.defineSprite(11, outer);
    movie.place(named(1, 11, "clip"));
    swf::script(movie, Bytecode().setTarget("clip/inner").gotoFrame(2).op(swf::kActionStop).setTarget("").op(swf::kActionStop));
    movie.showFrame().showFrame();
    auto player = load(movie);
    const Playhead& innerClip = clip(clip(*player->mainTimeline(), "clip"), "inner");
    EXPECT_EQ(innerClip.currentFrame(), 2);
    EXPECT_FALSE(innerClip.playing());
    EXPECT_FALSE(player->isPlaying());
    EXPECT_TRUE(clip(*player->mainTimeline(), "clip").playing());
}

TEST(ScriptTest, ATellTargetThatFindsNothingLeavesEveryTimelineAlone)
{
    swf::Movie movie(100, 100);
    swf::script(movie, Bytecode().setTarget("missing").op(swf::kActionStop).setTarget("").set("r", Bytecode().push(1)));
    movie.showFrame().showFrame();
    auto player = load(movie);
    EXPECT_TRUE(player->isPlaying());
    EXPECT_TRUE(strictEquals(variable(*player->mainTimeline(), "r"), 1.0));
}

TEST(ScriptTest, ClipMethodsByPath)
{
    // _root.clip.gotoAndStop(3), and the other timeline methods on a member.
    struct Case {
        const char* name;
        Bytecode code;
        int frame;
        bool playing;
    };
    const Case cases[] = {
        {"gotoAndStop", Bytecode().push(3).callMethod("_root", "clip", "gotoAndStop", 1), 2, false},
        {"gotoAndPlay label", Bytecode().push("last").callMethod("_root", "clip", "gotoAndPlay", 1), 3, true},
        {"stop", Bytecode().callMethod("_root", "clip", "stop", 0), 0, false},
        {"nextFrame", Bytecode().callMethod("_root", "clip", "nextFrame", 0), 1, false},
        {"slash variable target", Bytecode().push(2).push(1).get("/clip").push("gotoAndStop").op(swf::kActionCallMethod), 1,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        swf::Movie movie(100, 100);
        swf::Timeline sprite;
        sprite.showFrame().showFrame().showFrame().label("last").showFrame();
        movie.defineSprite(10, sprite);
        movie.place(named(1, 10, "clip"));
        swf::script(movie, Bytecode().append(c.code).op(swf::kActionPop).op(swf::kActionStop)).showFrame();
        auto player = load(movie);
        const Playhead& target = clip(*player->mainTimeline(), "clip");
        EXPECT_EQ(target.currentFrame(), c.frame);
        EXPECT_EQ(target.playing(), c.playing);
    }
}

TEST(ScriptTest, ACounterLoopsTheTimelineThreeTimesThenStops)
{
    // count++; if (count < 3) gotoAndPlay(1); else stop();
    Bytecode last;
    last.set("count", Bytecode().get("count").op(swf::kActionIncrement));
    last.get("count").push(3).op(swf::kActionLess2).op(swf::kActionNot).jumpIf("done");
    last.gotoFrame(0).op(swf::kActionPlay).jump("end");
    last.label("done").op(swf::kActionStop).label("end");
    // Version 6: undefined counts as 0.
    swf::Movie movie(100, 100, 12, 6);
    movie.showFrame().showFrame();
    swf::script(movie, last).showFrame();
    auto player = load(movie);
    for (int i = 0; i < 20; ++i)
        player->step();
    EXPECT_TRUE(strictEquals(variable(*player->mainTimeline(), "count"), 3.0));
    EXPECT_EQ(player->currentFrame(), 2);
    EXPECT_FALSE(player->isPlaying());
}

TEST(ScriptTest, VariablePathsReachOtherTimelines)
{
    // The root holds x; "clip" holds count; its child "inner" reads them every way.
    swf::Movie movie(100, 100);
    Bytecode reads;
    reads.set("viaDots", Bytecode().get("_root.clip.count"));
    reads.set("viaSlash", Bytecode().get("/clip:count"));
    reads.set("viaParent", Bytecode().get("../:count"));
    reads.set("viaParentDots", Bytecode().get("_parent._parent.x"));
    reads.set("viaThis", Bytecode().get("this").push("_name").op(swf::kActionGetMember));
    reads.set("viaLevel", Bytecode().get("_level0:x"));
    reads.set("missing", Bytecode().get("/nobody:count"));
    reads.set("_root.clip.written", Bytecode().push("yes"));
    movie.defineSprite(10, spriteWithScript(1, reads));
    swf::Timeline outer;
    swf::script(outer, Bytecode().set("count", Bytecode().push(2)));
    outer.place(named(1, 10, "inner")).showFrame();
    movie.defineSprite(11, outer);
    swf::script(movie, Bytecode().set("x", Bytecode().push(1))).showFrame();
    movie.place(named(1, 11, "clip")).showFrame();
    auto player = load(movie);
    player->step();
    const Playhead& root = *player->mainTimeline();
    const Playhead& outerClip = clip(root, "clip");
    const Playhead& inner = clip(outerClip, "inner");
    EXPECT_TRUE(strictEquals(variable(inner, "viaDots"), 2.0));
    EXPECT_TRUE(strictEquals(variable(inner, "viaSlash"), 2.0));
    EXPECT_TRUE(strictEquals(variable(inner, "viaParent"), 2.0));
    EXPECT_TRUE(strictEquals(variable(inner, "viaParentDots"), 1.0));
    EXPECT_TRUE(strictEquals(variable(inner, "viaThis"), std::string("inner")));
    EXPECT_TRUE(strictEquals(variable(inner, "viaLevel"), 1.0));
    EXPECT_TRUE(strictEquals(variable(inner, "missing"), Undefined{}));
    EXPECT_TRUE(strictEquals(variable(outerClip, "written"), std::string("yes")));
}

TEST(ScriptTest, EachInstanceOfASpriteKeepsItsOwnVariables)
{
    swf::Timeline sprite;
    swf::script(sprite, Bytecode().set("n", Bytecode().get("n").op(swf::kActionIncrement))).showFrame().showFrame();
    swf::Movie movie(100, 100, 12, 6);
    movie.defineSprite(10, sprite);
    movie.place(named(1, 10, "a")).place(named(2, 10, "b"));
    swf::script(movie, Bytecode().op(swf::kActionStop)).showFrame();
    auto player = load(movie);
    for (int i = 0; i < 4; ++i)
        player->step();
    // a: frame 0 entered three times; b the same, separately.
    EXPECT_TRUE(strictEquals(variable(clip(*player->mainTimeline(), "a"), "n"), 3.0));
    EXPECT_TRUE(strictEquals(variable(clip(*player->mainTimeline(), "b"), "n"), 3.0));
}

TEST(ScriptTest, ValueConversionsAndOperators)
{
    const double nan = std::nan("");
    struct Case {
        const char* name;
        int version;
        Bytecode expression;
        Value expected;
    };
    const Case cases[] = {
        {"add2 string concatenates", 8, Bytecode().push("3").push(4).op(swf::kActionAdd2), std::string("34")},
        {"add2 numbers", 8, Bytecode().push(3).pushFloat(0.5f).op(swf::kActionAdd2), 3.5},
        {"add is numeric", 8, Bytecode().push("3").push("4").op(swf::kActionAdd), 7.0},
        {"string add", 8, Bytecode().push(1).push(2).op(swf::kActionStringAdd), std::string("12")},
        {"equals2 converts", 8, Bytecode().push("10").push(10).op(swf::kActionEquals2), true},
        {"strict equals does not", 8, Bytecode().push("10").push(10).op(swf::kActionStrictEquals), false},
        {"undefined == null", 8, Bytecode().pushUndefined().pushNull().op(swf::kActionEquals2), true},
        {"less2 of strings", 8, Bytecode().push("10").push("9").op(swf::kActionLess2), true},
        {"less2 of number and string", 8, Bytecode().push(10).push("9").op(swf::kActionLess2), false},
        {"greater", 8, Bytecode().push(2).push(1).op(swf::kActionGreater), true},
        {"less2 with NaN", 8, Bytecode().push("x").push(1).op(swf::kActionLess2), Undefined{}},
        {"hex string", 6, Bytecode().push("0x1F").op(swf::kActionToNumber), 31.0},
        {"padded number", 6, Bytecode().push(" 2.5 ").op(swf::kActionToNumber), 2.5},
        {"text is NaN", 6, Bytecode().push("abc").op(swf::kActionToNumber), nan},
        {"text is 0 in version 4", 4, Bytecode().push("abc").op(swf::kActionToNumber), 0.0},
        {"undefined is 0 before 7", 6, Bytecode().pushUndefined().op(swf::kActionToNumber), 0.0},
        {"undefined is NaN from 7", 7, Bytecode().pushUndefined().op(swf::kActionToNumber), nan},
        {"undefined prints empty before 7", 6, Bytecode().pushUndefined().op(swf::kActionToString), std::string()},
        {"undefined prints from 7", 7, Bytecode().pushUndefined().op(swf::kActionToString), std::string("undefined")},
        {"version 4 comparisons give 1", 4, Bytecode().push(1).push(2).op(swf::kActionLess), 1.0},
        {"version 4 booleans print 1", 4, Bytecode().pushBool(true).op(swf::kActionToString), std::string("1")},
        {"booleans print", 5, Bytecode().pushBool(false).op(swf::kActionToString), std::string("false")},
        {"fractions print short", 8, Bytecode().push(0.1).push(0.2).op(swf::kActionAdd2).op(swf::kActionToString),
         std::string("0.3")},
        {"large numbers print", 8, Bytecode().push(1e21).op(swf::kActionToString), std::string("1e+21")},
        {"small numbers print", 8, Bytecode().push(1.5e-7).op(swf::kActionToString), std::string("1.5e-7")},
        {"division by zero", 8, Bytecode().push(1).push(0).op(swf::kActionDivide), INFINITY},
        {"modulo", 8, Bytecode().push(7).push(3).op(swf::kActionModulo), 1.0},
        {"not of \"false\" from 7", 7, Bytecode().push("false").op(swf::kActionNot), false},
        {"not of \"false\" before 7", 6, Bytecode().push("false").op(swf::kActionNot), true},
        {"string length", 5, Bytecode().push("hello").op(swf::kActionStringLength), 5.0},
        {"utf-8 length from 6", 6, Bytecode().push("\xE4\xBD\xA0\xE5\xA5\xBD").op(swf::kActionStringLength), 2.0},
        {"extract", 5, Bytecode().push("hello").push(2).push(3).op(swf::kActionStringExtract), std::string("ell")},
        {"constants", 8, Bytecode().constants({"a", "b"}).pushConstant(1).pushConstant(0).op(swf::kActionAdd2),
         std::string("ba")},
        {"swap", 8, Bytecode().push(1).push(2).op(swf::kActionStackSwap).op(swf::kActionSubtract), 1.0},
        {"duplicate", 8, Bytecode().push(3).op(swf::kActionPushDuplicate).op(swf::kActionAdd2), 6.0},
        {"register", 8, Bytecode().push(5).storeRegister(2).op(swf::kActionPop).pushRegister(2), 5.0},
        {"missing register", 8, Bytecode().pushRegister(200), Undefined{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        swf::Movie movie(100, 100, 12, c.version);
        swf::script(movie, Bytecode().set("r", c.expression)).showFrame();
        auto player = load(movie);
        const Value result = variable(*player->mainTimeline(), "r");
        if (const double* expected = std::get_if<double>(&c.expected); expected && std::isnan(*expected))
            EXPECT_TRUE(std::holds_alternative<double>(result) && std::isnan(std::get<double>(result)));
        else
            EXPECT_TRUE(strictEquals(result, c.expected)) << toString(result, 8) << " (" << typeName(result) << ")";
    }
}

TEST(ScriptTest, PropertiesChangeWhatIsDrawnAndOutlastTimelineMoves)
{
    struct Case {
        const char* name;
        const char* property;
        double value;
        swf::Color at20;
        swf::Color at70;
    };
    const swf::Color pink{255, 128, 128};
    const Case cases[] = {
        {"moved", "_x", 60, kWhite, kRed},
        {"hidden", "_visible", 0, kWhite, kWhite},
        {"half transparent", "_alpha", 50, pink, kWhite},
        {"stretched", "_xscale", 400, kRed, kRed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        swf::Movie movie(100, 100);
        movie.background(kWhite);
        movie.defineShape(1, ShapeBuilder::filledRectangle(0, 0, px(20), px(20), kRed));
        swf::Timeline sprite;
        sprite.placeObject(1, 1).showFrame();
        movie.defineSprite(10, sprite);
        movie.place(named(1, 10, "clip", swf::Matrix::translate(px(10), px(10))));
        swf::script(movie, Bytecode().get("clip").push(c.property).push(c.value).op(swf::kActionSetMember)).showFrame();
        // The timeline tries to move the clip back; the script's setting wins.
        swf::Place back;
        back.depth = 1;
        back.move = true;
        back.matrix = swf::Matrix::translate(px(10), px(10));
        movie.place(back).showFrame();
        auto player = load(movie);
        for (int step = 0; step < 2; ++step) {
            const Image image = render(*player, 100, 100);
            EXPECT_TRUE(near(image.at(20, 20), c.at20, 3)) << image.at(20, 20);
            EXPECT_TRUE(near(image.at(70, 20), c.at70, 3)) << image.at(70, 20);
            player->step();
        }
    }
}

TEST(ScriptTest, GetPropertyReadsTheTimelineState)
{
    swf::Movie movie(100, 100);
    swf::Timeline sprite;
    sprite.showFrame().showFrame().showFrame();
    movie.defineSprite(10, sprite);
    movie.place(named(1, 10, "clip", swf::Matrix::translate(px(12), px(0))));
    Bytecode code;
    code.set("frames", Bytecode().push("clip").push(5).op(swf::kActionGetProperty));
    code.set("x", Bytecode().push("/clip").push(0).op(swf::kActionGetProperty));
    code.set("name", Bytecode().push("clip").push(13).op(swf::kActionGetProperty));
    code.set("current", Bytecode().get("_currentframe"));
    code.push("clip").push(2).push(150).op(swf::kActionSetProperty);
    code.set("yscale", Bytecode().get("clip._yscale"));
    swf::script(movie, code).showFrame().showFrame();
    auto player = load(movie);
    const Playhead& root = *player->mainTimeline();
    EXPECT_TRUE(strictEquals(variable(root, "frames"), 3.0));
    EXPECT_TRUE(strictEquals(variable(root, "x"), 12.0));
    EXPECT_TRUE(strictEquals(variable(root, "name"), std::string("clip")));
    EXPECT_TRUE(strictEquals(variable(root, "current"), 1.0));
    EXPECT_NEAR(std::get<double>(variable(root, "yscale")), 100.0, 1e-9);
    EXPECT_NEAR(root.displayList().at(1).matrix.a, 1.5, 1e-9);
}

TEST(ScriptTest, UserFunctionsWithRegistersAndLocals)
{
    Bytecode add;
    add.pushRegister(1).pushRegister(2).op(swf::kActionAdd2).op(swf::kActionReturn);
    Bytecode twice;
    twice.push("t").get("v").push(2).op(0x0C).op(swf::kActionDefineLocal).get("t").op(swf::kActionReturn);
    Bytecode forever;
    forever.push(0).push("forever").op(swf::kActionCallFunction).op(swf::kActionReturn);
    Bytecode code;
    code.defineFunction2("add", {"a", "b"}, add);
    code.defineFunction("twice", {"v"}, twice);
    code.defineFunction("forever", {}, forever);
    code.set("sum", Bytecode().push(3).push(2).push(2).push("add").op(swf::kActionCallFunction));
    code.set("doubled", Bytecode().push(21).push(1).push("twice").op(swf::kActionCallFunction));
    code.set("deep", Bytecode().push(0).push("forever").op(swf::kActionCallFunction));
    code.set("after", Bytecode().get("t"));
    swf::Movie movie(100, 100);
    swf::script(movie, code).showFrame();
    auto player = load(movie);
    const Playhead& root = *player->mainTimeline();
    EXPECT_TRUE(strictEquals(variable(root, "sum"), 5.0));
    EXPECT_TRUE(strictEquals(variable(root, "doubled"), 42.0));
    EXPECT_TRUE(strictEquals(variable(root, "deep"), Undefined{}));
    // The function's local stayed inside it.
    EXPECT_TRUE(strictEquals(variable(root, "after"), Undefined{}));
}

TEST(ScriptTest, AnEndlessLoopIsCutOffAndTheTickReturns)
{
    swf::Movie movie(100, 100, 12, 6);
    swf::script(movie, Bytecode().label("top").set("n", Bytecode().get("n").op(swf::kActionIncrement)).jump("top"));
    movie.showFrame().showFrame();
    const auto start = std::chrono::steady_clock::now();
    auto player = load(movie);
    player->step();
    player->step();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(5));
    EXPECT_EQ(player->currentFrame(), 0);
    const double n = std::get<double>(variable(*player->mainTimeline(), "n"));
    // Each run gets a fresh budget: two runs, each well past a few actions and below the budget.
    EXPECT_GT(n, 1000);
    EXPECT_LT(n, 2.0 * kActionsPerOperation);
}

TEST(ScriptTest, BrokenBytecodeEndsOnlyThatScript)
{
    // Each body sets r to 1 and then breaks before setting it to 2.
    struct Case {
        const char* name;
        Bytecode broken;
    };
    const Case cases[] = {
        {"jump past the end", Bytecode().jumpBy(1000)},
        {"jump before the start", Bytecode().jumpBy(-1000)},
        {"action longer than the body", Bytecode().raw({swf::kActionPush, 0xFF, 0xFF, 0})},
        {"function longer than the body", Bytecode().raw({0x9B, 4, 0, 0, 0, 0, 0xFF, 0x7F})},
        {"throw", Bytecode().push(1).op(0x2A)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        swf::Movie movie(100, 100);
        swf::script(movie, Bytecode().set("r", Bytecode().push(1)).append(c.broken).set("r", Bytecode().push(2)));
        // The next script of the frame still runs.
        swf::script(movie, Bytecode().set("s", Bytecode().push(3))).showFrame();
        auto player = load(movie);
        EXPECT_TRUE(strictEquals(variable(*player->mainTimeline(), "r"), 1.0));
        EXPECT_TRUE(strictEquals(variable(*player->mainTimeline(), "s"), 3.0));
    }
}

TEST(ScriptTest, UnknownAndUnsupportedActionsAreSteppedOver)
{
    Bytecode code;
    code.push("r").push(5);
    code.op(0x77).op(0xC5, {1, 2, 3});
    // new Array(): pops its name and argument count, leaves undefined, which is dropped.
    code.push(0).push("Array").op(swf::kActionNewObject).op(swf::kActionPop);
    code.op(swf::kActionSetVariable);
    code.op(0x26, {}).op(0x83, {'u', 0, 0});
    swf::Movie movie(100, 100);
    swf::script(movie, code.op(swf::kActionStop)).showFrame().showFrame();
    auto player = load(movie);
    EXPECT_TRUE(strictEquals(variable(*player->mainTimeline(), "r"), 5.0));
    EXPECT_FALSE(player->isPlaying());
}

TEST(ScriptTest, PoppingAnEmptyStackGivesUndefined)
{
    Bytecode code;
    code.op(swf::kActionPop).op(swf::kActionAdd2).op(swf::kActionPop).op(swf::kActionStackSwap);
    code.op(swf::kActionSetVariable).op(swf::kActionCallMethod).op(swf::kActionGetMember);
    code.set("under", Bytecode().op(swf::kActionPop));
    code.set("r", Bytecode().push(1)).op(swf::kActionStop);
    swf::Movie movie(100, 100);
    swf::script(movie, code).showFrame().showFrame();
    auto player = load(movie);
    EXPECT_TRUE(strictEquals(variable(*player->mainTimeline(), "r"), 1.0));
    EXPECT_FALSE(player->isPlaying());
}

TEST(ScriptTest, AClipRemovedByItsOwnScriptFinishesHarmlessly)
{
    // The clip sends the main timeline to a frame without it, then keeps using itself and its parent.
    Bytecode code;
    code.push(2).callMethod("_root", "", "gotoAndStop", 1).op(swf::kActionPop);
    code.get("this").push("_x").push(40).op(swf::kActionSetMember);
    code.set("_parent.after", Bytecode().get("_currentframe"));
    code.set("/:after2", Bytecode().push(1));
    code.op(swf::kActionNextFrame);
    swf::Movie movie(100, 100);
    movie.defineSprite(10, spriteWithScript(2, code));
    movie.place(named(1, 10, "clip")).showFrame();
    movie.remove(1).showFrame();
    auto player = load(movie);
    EXPECT_EQ(player->currentFrame(), 1);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_TRUE(player->mainTimeline()->displayList().empty());
    EXPECT_TRUE(strictEquals(variable(*player->mainTimeline(), "after2"), 1.0));
    player->step();
    render(*player, 50, 50);
}

}
}
