#include <gtest/gtest.h>

#include <zlib.h>

#include <filesystem>

#include "support/MovieTestSupport.h"
#include "support/SwfMorphWriter.h"
#include "support/SwfScriptWriter.h"
#include "support/SwfBitmapWriter.h"
#include "support/SwfSoundWriter.h"
#include "support/SwfButtonWriter.h"
#include "support/SwfTextWriter.h"

namespace movie::test {
namespace {

using swf::ShapeBuilder;

// The first `size` bytes.
swf::Bytes prefix(const swf::Bytes& bytes, std::size_t size)
{
    return swf::Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

// Runs `check` on every prefix of `bytes`, from none of them to all.
template <typename Check>
void forEveryPrefix(const swf::Bytes& bytes, Check check)
{
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        SCOPED_TRACE(size);
        check(prefix(bytes, size));
    }
}

// Loads, plays a few frames and draws each; whatever the input, this must not crash.
void exercise(const swf::Bytes& file)
{
    Player player;
    if (player.load(file) != LoadResult::Ok) {
        EXPECT_EQ(player.totalFrames(), 0);
        return;
    }
    Image image(64, 48);
    std::vector<std::int16_t> audio(2 * 2048);
    for (int i = 0; i < 4; ++i) {
        player.render(image.data(), image.width(), image.height(), image.stride());
        player.step();
        player.mixAudio(audio.data(), audio.size() / 2);
        // Over whatever buttons there are: hover, press, drag out, release.
        player.mouseMove(8 + 16 * i, 24);
        player.mouseDown();
        player.mouseMove(60 - 16 * i, 40);
        player.mouseUp();
    }
    player.mouseLeave();
    player.gotoFrame(0);
    player.render(image.data(), image.width(), image.height(), image.stride());
}

swf::Bytes richMovie(swf::Compression compression)
{
    swf::Movie movie(100, 100);
    movie.background(kWhite);
    ShapeBuilder shape;
    const int gradient = shape.addFill(swf::Fill::radial(swf::Matrix::scale(0.05, 0.05), {{0, kRed}, {255, kBlue}}));
    swf::LineStyle line;
    line.width = 40;
    line.join = swf::Join::Miter;
    shape.fill1(gradient).line(shape.addLine(line)).circle(px(50), px(50), px(30));
    shape.newStyles();
    shape.fill0(shape.addFill(swf::Fill::solid(kGreen))).rectangle(px(10), px(10), px(30), px(30));
    movie.defineShape(1, shape, 4);
    swf::Timeline sprite;
    sprite.placeObject(1, 1).showFrame().remove(1).showFrame();
    movie.defineSprite(2, sprite);
    movie.label("start").placeObject(1, 2).showFrame();
    swf::Place recolour;
    recolour.depth = 1;
    recolour.move = true;
    recolour.colorTransform = swf::ColorTransform{};
    recolour.name = "clip";
    movie.place(recolour, 3).actions(swf::Actions().gotoLabel("start").play()).showFrame();
    movie.remove(1).showFrame();
    return movie.finish(compression);
}

swf::Bytes soundMovie(swf::SoundCodec streamCodec)
{
    swf::Movie movie(20, 20, 30);
    const swf::SoundFormat adpcm{swf::SoundCodec::Adpcm, swf::SoundRate::k22, true, true};
    const std::vector<std::int16_t> wave = {0, 3000, -3000, 100, 8000, -8000, 20, 30};
    movie.tag(swf::kDefineSound, swf::defineSoundBody(1, adpcm, 4, swf::encodeAdpcm(wave, 2, 5)));
    const swf::SoundFormat pcm8{swf::SoundCodec::PcmNative, swf::SoundRate::k5, false, false};
    movie.tag(swf::kDefineSound, swf::defineSoundBody(2, pcm8, 0xFFFFFFFFu, {1, 2, 3}));
    const swf::Bytes mp3Frame = {0xFF, 0xFB, 0x10, 0xC0};  // a 104-byte frame cut short
    const swf::SoundFormat mp3{swf::SoundCodec::Mp3, swf::SoundRate::k44, true, false};
    movie.tag(swf::kDefineSound, swf::defineSoundBody(3, mp3, 1152, swf::mp3SoundData(0, mp3Frame)));
    swf::SoundInfo everything;
    everything.inPoint = 1;
    everything.outPoint = 0xFFFFFFF0u;
    everything.loops = 65535;
    everything.envelope = {{0, 1, 2}, {100, 3, 4}};
    everything.noMultiple = true;
    swf::SoundFormat stream{streamCodec, swf::SoundRate::k11, true, true};
    movie.tag(swf::kSoundStreamHead, swf::streamHeadBody(stream, 0xFFFF, -5));
    for (std::uint16_t id = 1; id <= 4; ++id)
        movie.tag(swf::kStartSound, swf::startSoundBody(id, everything));
    movie.tag(swf::kStartSound2, swf::startSound2Body("Song", everything));
    const swf::Bytes block = streamCodec == swf::SoundCodec::Mp3 ? swf::mp3StreamBlock(0xFFFF, -1, mp3Frame)
                                                                : swf::encodeAdpcm(wave, 2, 3);
    movie.tag(swf::kSoundStreamBlock, block).showFrame();
    movie.tag(swf::kSoundStreamHead2, swf::streamHeadBody(stream, 1));
    movie.tag(swf::kSoundStreamBlock, block).tag(swf::kSoundStreamBlock, {}).actions(swf::Actions().raw(0x09)).showFrame();
    return movie.finish();
}

TEST(BadInputTest, TruncatedAnywhere)
{
    for (auto compression : {swf::Compression::None, swf::Compression::Zlib}) {
        forEveryPrefix(richMovie(compression), exercise);
    }
    for (auto codec : {swf::SoundCodec::Adpcm, swf::SoundCodec::Mp3, swf::SoundCodec::PcmLittle}) {
        forEveryPrefix(soundMovie(codec), exercise);
    }
}

// A movie defining character 1 with the tag body cut to every length, placed on the stage.
void exerciseCutDefinition(std::uint16_t code, const swf::Bytes& body)
{
    forEveryPrefix(body, [code](const swf::Bytes& cut) {
        swf::Movie movie(64, 48);
        movie.tag(code, cut);
        swf::Place place;
        place.character = 1;
        place.ratio = 30000;
        movie.place(place).showFrame();
        exercise(movie.finish());
    });
}

TEST(BadInputTest, MorphShapesCutAnywhereOrWithTheirEndEdgesElsewhere)
{
    swf::MorphShapeBuilder morph;
    const int fill = morph.addFill(swf::Fill::radial(swf::Matrix::scale(0.05, 0.05), {{0, kRed}, {255, kBlue}}),
                                   swf::Fill::radial(swf::Matrix::scale(0.1, 0.1), {{0, kBlue}, {255, kRed}}));
    swf::LineStyle line;
    line.join = swf::Join::Miter;
    const int stroke = morph.addLine(line, line);
    morph.start().fill1(fill).line(stroke).circle(px(30), px(20), px(15));
    morph.end().rectangle(0, 0, px(60), px(40));
    for (int version : {1, 2}) {
        swf::Bytes body = morph.encode(1, version);
        exerciseCutDefinition(version == 1 ? swf::kDefineMorphShape : swf::kDefineMorphShape2, body);
        // The end-edge offset pointing past the end, and at the start of the styles.
        std::size_t offsetAt = 2;
        for (int rect = 0; rect < (version == 1 ? 2 : 4); ++rect)
            offsetAt += static_cast<std::size_t>((5 + 4 * (body[offsetAt] >> 3) + 7) / 8);
        if (version == 2)
            ++offsetAt;
        for (std::uint32_t offset : {0xFFFFFFF0u, 0u}) {
            for (int i = 0; i < 4; ++i)
                body[offsetAt + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(offset >> (8 * i));
            exerciseCutDefinition(version == 1 ? swf::kDefineMorphShape : swf::kDefineMorphShape2, body);
        }
    }
}

TEST(BadInputTest, FontsAndTextsTruncatedAnywhere)
{
    forEveryPrefix(swf::textSampler(), exercise);
}

TEST(BadInputTest, ATagRunningPastTheEndEndsTheMovieButKeepsWhatCameBefore)
{
    swf::Movie movie(100, 100);
    movie.background(kWhite);
    movie.defineShape(1, ShapeBuilder::filledRectangle(0, 0, px(100), px(100), kRed));
    movie.placeObject(1, 1).showFrame();
    movie.tag(swf::kDefineSprite, swf::Bytes(10, 0), true);
    swf::Bytes file = movie.finish();
    // Make the last tag claim almost 4 GB.
    const std::size_t lengthAt = file.size() - 2 - 10 - 4;
    for (int i = 0; i < 4; ++i)
        file[lengthAt + static_cast<std::size_t>(i)] = 0xFF;
    Player player;
    ASSERT_EQ(player.load(file), LoadResult::Ok);
    EXPECT_TRUE(near(render(player, 10, 10).at(5, 5), kRed));
}

TEST(BadInputTest, ShapeRecordsWithHugeValuesAreHarmless)
{
    ShapeBuilder shape;
    swf::LineStyle line;
    line.width = 65535;
    shape.fill1(shape.addFill(swf::Fill::solid(kRed))).line(shape.addLine(line));
    shape.moveTo(-(1 << 29), -(1 << 29)).lineTo(1 << 29, -(1 << 29)).curveTo(1 << 29, 1 << 29, -(1 << 29), 1 << 29);
    shape.lineTo(-(1 << 29), -(1 << 29));
    swf::Movie movie(100, 100);
    movie.defineShape(1, shape);
    swf::Place place;
    place.character = 1;
    place.matrix = swf::Matrix{30000, 0, 0, 30000, 0, 0};
    movie.place(place).showFrame();
    exercise(movie.finish());
}

swf::Bytes zlibMovieDeclaring(std::uint32_t declaredSize, std::size_t zeroBytes)
{
    swf::Bytes file = {'C', 'W', 'S', 8};
    for (int i = 0; i < 4; ++i)
        file.push_back(static_cast<std::uint8_t>(declaredSize >> (8 * i)));
    z_stream stream{};
    deflateInit(&stream, Z_BEST_SPEED);
    const swf::Bytes chunk(1 << 20, 0);
    swf::Bytes out(1 << 16);
    for (std::size_t done = 0; done < zeroBytes; done += chunk.size()) {
        stream.next_in = const_cast<Bytef*>(chunk.data());
        stream.avail_in = static_cast<uInt>(chunk.size());
        const int flush = done + chunk.size() >= zeroBytes ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            deflate(&stream, flush);
            file.insert(file.end(), out.begin(), out.end() - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return file;
}

TEST(BadInputTest, ACompressedBombIsRefusedOrCutAtItsDeclaredSize)
{
    Player player;
    EXPECT_EQ(player.load(zlibMovieDeclaring(0xFFFFFFFFu, 64u << 20)), LoadResult::TooLarge);
    EXPECT_EQ(player.totalFrames(), 0);
    // Declares 4 MB but inflates to 64 MB of zeros: only the declared size is ever produced.
    EXPECT_EQ(player.load(zlibMovieDeclaring(4u << 20, 64u << 20)), LoadResult::Ok);
}

TEST(BadInputTest, SpritesNestedTenThousandDeep)
{
    constexpr int depth = 10000;
    // Each sprite places the one before it.
    swf::Movie chain(100, 100);
    chain.defineShape(1, ShapeBuilder::filledRectangle(0, 0, px(50), px(50), kRed));
    for (int id = 2; id <= depth; ++id) {
        swf::Timeline sprite;
        sprite.placeObject(1, static_cast<std::uint16_t>(id - 1)).showFrame().showFrame();
        chain.defineSprite(static_cast<std::uint16_t>(id), sprite);
    }
    chain.placeObject(1, depth).showFrame();
    exercise(chain.finish());

    // Sprite definitions inside sprite definitions, one tag within the other: each level
    // is a header before the inner tag and the same closing tags after it.
    const swf::Bytes core = swf::encodeTag(swf::kDefineSprite, swf::spriteBody(1, swf::Timeline().placeObject(1, 1).showFrame()));
    const swf::Bytes closing = [] {
        swf::Timeline after;
        after.placeObject(1, 1).showFrame().tag(swf::kEnd, {});
        return after.tags();
    }();
    const swf::Bytes spriteHeader = {1, 0, 1, 0};
    std::vector<swf::Bytes> openings;
    std::size_t innerSize = core.size();
    for (int level = 1; level < depth; ++level) {
        swf::BitWriter opening;
        opening.u16(static_cast<std::uint16_t>((swf::kDefineSprite << 6) | 0x3F));
        opening.u32(static_cast<std::uint32_t>(spriteHeader.size() + innerSize + closing.size()));
        opening.append(spriteHeader);
        openings.push_back(opening.take());
        innerSize += openings.back().size() + closing.size();
    }
    swf::Bytes nestedBody = spriteHeader;
    for (auto level = openings.rbegin(); level != openings.rend(); ++level)
        nestedBody.insert(nestedBody.end(), level->begin(), level->end());
    nestedBody.insert(nestedBody.end(), core.begin(), core.end());
    for (int level = 0; level < depth; ++level)
        nestedBody.insert(nestedBody.end(), closing.begin(), closing.end());
    swf::Movie nested(100, 100);
    nested.tag(swf::kDefineSprite, nestedBody).placeObject(1, 1).showFrame();
    exercise(nested.finish());
}

TEST(BadInputTest, SpritesPlacingThemselvesStayBounded)
{
    swf::Movie movie(100, 100);
    swf::Timeline sprite;
    sprite.placeObject(1, 1).placeObject(2, 1).placeObject(3, 1).showFrame().showFrame();
    movie.defineSprite(1, sprite);
    movie.placeObject(1, 1).showFrame();
    exercise(movie.finish());
}

// A script touching most of the machine: pools, functions, paths, properties, jumps, tellTarget.
swf::Bytes busyScript()
{
    swf::Bytecode body;
    body.pushRegister(1).push(1).op(swf::kActionAdd2).op(swf::kActionReturn);
    swf::Bytecode code;
    code.constants({"clip", "_x", "count"}).defineFunction2("f", {"a"}, body);
    code.set("count", swf::Bytecode().push(2).push(1).push("f").op(swf::kActionCallFunction));
    code.pushConstant(0).op(swf::kActionGetVariable).pushConstant(1).pushFloat(3.5f).op(swf::kActionSetMember);
    code.label("top").get("count").push(10).op(swf::kActionLess2).op(swf::kActionNot).jumpIf("out");
    code.set("count", swf::Bytecode().get("count").op(swf::kActionIncrement));
    code.set("/clip:count", swf::Bytecode().get("count")).jump("top");
    code.label("out").setTarget("clip").op(swf::kActionStop).setTarget("");
    code.push("label").gotoFrame2(true).push(2).callMethod("_root", "clip", "gotoAndStop", 1);
    return code.encode();
}

swf::Bytes movieWithScript(const swf::Bytes& body)
{
    swf::Movie movie(100, 100);
    movie.defineShape(1, ShapeBuilder::filledRectangle(0, 0, px(50), px(50), kRed));
    swf::Timeline sprite;
    sprite.placeObject(1, 1).showFrame().showFrame();
    movie.defineSprite(2, sprite);
    swf::Place clip;
    clip.character = 2;
    clip.name = "clip";
    movie.place(clip).tag(swf::kDoAction, body).showFrame();
    movie.label("label").tag(swf::kDoAction, body).showFrame();
    return movie.finish();
}

TEST(BadInputTest, ScriptBodiesCutOrGarbledAnywhere)
{
    const swf::Bytes body = busyScript();
    forEveryPrefix(body, [](const swf::Bytes& cut) { exercise(movieWithScript(cut)); });
    std::uint32_t seed = 12345;
    for (int round = 0; round < 100; ++round) {
        swf::Bytes garbled = body;
        for (int flips = 0; flips < 4; ++flips) {
            seed = seed * 1664525u + 1013904223u;
            garbled[(seed >> 8) % garbled.size()] = static_cast<std::uint8_t>(seed >> 24);
        }
        SCOPED_TRACE(round);
        exercise(movieWithScript(garbled));
    }
}

struct BitmapTag {
    std::uint16_t code = 0;
    swf::Bytes body;
};

// One bitmap tag drawn through a smoothed repeating fill over the whole stage.
swf::Bytes bitmapMovie(const std::vector<BitmapTag>& tags)
{
    swf::Movie movie(64, 48);
    for (const auto& tag : tags)
        movie.tag(tag.code, tag.body);
    swf::ShapeBuilder shape;
    shape.fill1(shape.addFill(swf::bitmapFill(1, {30, 5, -5, 30, 7, 11}, true, true))).rectangle(0, 0, px(64), px(48));
    movie.defineShape(2, shape).placeObject(1, 2).showFrame();
    return movie.finish();
}

std::vector<BitmapTag> everyBitmapTag()
{
    swf::Image image{6, 5, {}};
    for (int i = 0; i < 30; ++i)
        image.pixels.push_back({static_cast<std::uint8_t>(i * 8), 100, static_cast<std::uint8_t>(255 - i * 8),
                                static_cast<std::uint8_t>(i * 9)});
    const swf::Bytes jpeg = swf::encodeJpeg(image, 30);
    const swf::SplitJpeg split = swf::splitJpeg(jpeg);
    return {{swf::kDefineBits, swf::jpegBody(1, split.image)},
            {swf::kDefineBitsJpeg2, swf::jpegBody(1, jpeg)},
            {swf::kDefineBitsJpeg3, swf::jpeg3Body(1, jpeg, image)},
            {swf::kDefineBitsLossless, swf::losslessBody(1, image, 4, false)},
            {swf::kDefineBitsLossless2, swf::losslessBody(1, image, 5, true)},
            {swf::kDefineBitsLossless2, swf::palettedBody(1, 6, 5, {{9, 9, 9, 9}, {1, 2, 3, 255}},
                                                          std::vector<std::uint8_t>(30, 1), true)}};
}

TEST(BadInputTest, BitmapTagsTruncatedOrGarbledAnywhere)
{
    const std::vector<BitmapTag> tags = everyBitmapTag();
    const BitmapTag tables{swf::kJpegTables, swf::splitJpeg(swf::encodeJpeg({1, 1, {kRed}})).tables};
    for (const auto& tag : tags) {
        SCOPED_TRACE(tag.code);
        for (std::size_t size = 0; size <= tag.body.size(); ++size) {
            SCOPED_TRACE(size);
            const BitmapTag cut{tag.code, prefix(tag.body, size)};
            exercise(bitmapMovie({tables, cut}));
            BitmapTag garbled = tag;
            if (size < garbled.body.size()) {
                garbled.body[size] ^= 0x5A;
                exercise(bitmapMovie({tables, garbled}));
            }
        }
    }
    // Tables that are themselves cut short.
    for (std::size_t size = 0; size < tables.body.size(); size += 7)
        exercise(bitmapMovie({{swf::kJpegTables, prefix(tables.body, size)}, tags.front()}));
}

// Sets the width and height a JPEG's frame header declares.
swf::Bytes withJpegSize(swf::Bytes jpeg, std::uint16_t width, std::uint16_t height)
{
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            break;
        }
    }
    return jpeg;
}

TEST(BadInputTest, BitmapsDeclaringAbsurdSizesAreRefusedCheaply)
{
    const swf::Bytes jpeg = swf::encodeJpeg({8, 8, std::vector<swf::Color>(64, kRed)});
    swf::Bytes hugeLossless = swf::losslessBody(1, {2, 2, std::vector<swf::Color>(4, kRed)}, 5, true);
    hugeLossless[3] = hugeLossless[4] = hugeLossless[5] = hugeLossless[6] = 0xFF;
    // 8192 × 8192 passes the side limit, but its data holds 16 bytes.
    swf::Bytes largeLossless = hugeLossless;
    largeLossless[3] = largeLossless[5] = 0x00;
    largeLossless[4] = largeLossless[6] = 0x20;
    const std::vector<BitmapTag> cases = {
        {swf::kDefineBitsJpeg2, swf::jpegBody(1, withJpegSize(jpeg, 65000, 65000))},
        {swf::kDefineBitsJpeg2, swf::jpegBody(1, withJpegSize(jpeg, 8000, 8000))},
        {swf::kDefineBitsJpeg2, swf::jpegBody(1, withJpegSize(jpeg, 0, 8))},
        {swf::kDefineBitsLossless2, hugeLossless},
        {swf::kDefineBitsLossless2, largeLossless},
    };
    for (const auto& tag : cases) {
        SCOPED_TRACE(&tag - cases.data());
        Player player;
        ASSERT_EQ(player.load(bitmapMovie({tag})), LoadResult::Ok);
        // Nothing can be drawn from them, and nothing large is allocated trying.
        EXPECT_TRUE(near(render(player, 16, 12).at(8, 6), kWhite));
    }
}

// Button bodies: DefineButton with actions, DefineButton2 with every record extra and
// several action lists, the second one also inside a sprite.
swf::ButtonBuilder richButton()
{
    swf::ButtonBuilder button;
    swf::ButtonRecord extras{swf::kUp | swf::kOver | swf::kHitTest, 1, 1, swf::Matrix::scale(0.5, 0.5, px(4), px(4))};
    extras.colorTransform.addR = 40;
    extras.filters = swf::sampleFilterList();
    extras.blendMode = 3;
    button.add(extras).add({swf::kDown, 2, 2});
    button.on(swf::kPress, swf::Actions().stop()).on(swf::kRelease, swf::Actions().gotoFrame(0).play());
    return button.on(swf::kDragOut, swf::Actions().nextFrame());
}

swf::Bytes buttonMovie(const swf::Bytes& button1, const swf::Bytes& button2)
{
    swf::Movie movie(64, 48);
    movie.defineShape(1, ShapeBuilder::filledRectangle(0, 0, px(64), px(48), kRed));
    swf::Timeline blink;
    blink.placeObject(1, 1).showFrame().showFrame();
    movie.defineSprite(2, blink);
    movie.tag(swf::kDefineButton, button1).tag(swf::kDefineButton2, button2);
    movie.tag(swf::kDefineButtonCxform, swf::buttonColorTransform(10, swf::ColorTransform{}));
    swf::Timeline holder;
    holder.placeObject(1, 11).showFrame();
    movie.defineSprite(3, holder);
    movie.placeObject(1, 10).placeObject(2, 3).showFrame().placeObject(3, 11).showFrame().showFrame();
    return movie.finish();
}

TEST(BadInputTest, ButtonsTruncatedAnywhere)
{
    const swf::Bytes button1 = richButton().encode1(10);
    const swf::Bytes button2 = richButton().encode2(11);
    forEveryPrefix(button1, [&](const swf::Bytes& cut) { exercise(buttonMovie(cut, button2)); });
    forEveryPrefix(button2, [&](const swf::Bytes& cut) { exercise(buttonMovie(button1, cut)); });
    forEveryPrefix(buttonMovie(button1, button2), exercise);
}

TEST(BadInputTest, ButtonOffsetsPointingAnywhere)
{
    const swf::Bytes good = richButton().encode2(11);
    // The action offset (bytes 3 and 4), then the first list's offset to the next.
    const std::size_t firstList = 3 + (good[3] | (good[4] << 8));
    for (std::size_t at : {std::size_t{3}, firstList}) {
        for (std::uint16_t value : {0, 1, 3, 4, 0x7FFF, 0xFFFF}) {
            SCOPED_TRACE(testing::Message() << at << ": " << value);
            swf::Bytes body = good;
            body[at] = static_cast<std::uint8_t>(value);
            body[at + 1] = static_cast<std::uint8_t>(value >> 8);
            exercise(buttonMovie(richButton().encode1(10), body));
        }
    }
}

TEST(BadInputTest, ButtonsContainingThemselvesStayBounded)
{
    swf::Movie movie(64, 48);
    movie.defineShape(1, ShapeBuilder::filledRectangle(0, 0, px(64), px(48), kRed));
    // Button 10 shows itself three times in every state; sprite 12 holds button 11,
    // whose states hold sprite 12 again, hit area included.
    swf::ButtonBuilder itself;
    for (std::uint16_t depth = 1; depth <= 3; ++depth)
        itself.add({swf::kUp | swf::kOver | swf::kDown | swf::kHitTest, 10, depth});
    itself.add({swf::kHitTest, 1, 4});
    movie.tag(swf::kDefineButton2, itself.encode2(10));
    swf::ButtonBuilder throughSprite;
    throughSprite.add({swf::kUp | swf::kOver | swf::kDown | swf::kHitTest, 12, 1}).add({swf::kHitTest, 1, 2});
    movie.tag(swf::kDefineButton2, throughSprite.encode2(11));
    swf::Timeline sprite;
    sprite.placeObject(1, 11).placeObject(2, 12).placeObject(3, 1).showFrame();
    movie.defineSprite(12, sprite);
    movie.placeObject(1, 10).placeObject(2, 12).showFrame();
    exercise(movie.finish());
}

TEST(BadInputTest, ButtonRecordsWithoutTheirEnd)
{
    swf::ButtonBuilder records;
    records.add({swf::kUp | swf::kHitTest, 1, 1}).add({swf::kOver, 1, 2});
    swf::Bytes button1 = records.encode1(10);
    button1.resize(button1.size() - 2);  // no end flag, no actions
    swf::Bytes button2 = records.encode2(11);
    button2.pop_back();
    exercise(buttonMovie(button1, button2));
}

TEST(BadInputTest, RegressionCorpusReplays)
{
    const std::filesystem::path corpus = MOVIE_CORPUS_DIR;
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    const auto movies = moviesIn(corpus);
    for (const auto& [name, file] : movies) {
        SCOPED_TRACE(name);
        exercise(file);
    }
    EXPECT_FALSE(movies.empty());
}

}
}
