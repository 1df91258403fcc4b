#include <fstream>
#include <string>

#include "SwfScriptWriter.h"
#include "SwfBitmapWriter.h"
#include "SwfSoundWriter.h"
#include "SwfTextWriter.h"
#include "SwfWriter.h"

// Writes a few small movies covering the tags the engine reads, as fuzzing seeds.
namespace {

void save(const std::string& directory, const std::string& name, const swf::Bytes& bytes)
{
    std::ofstream(directory + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

swf::Bytes shapesAndSprites(swf::Compression compression)
{
    swf::Movie movie(64, 48);
    movie.background({1, 2, 3});
    swf::ShapeBuilder shape;
    const int radial = shape.addFill(swf::Fill::focal(swf::Matrix::scale(0.05, 0.05, 600, 400),
                                                     {{0, {255, 0, 0}}, {255, {0, 0, 255, 128}}}, 0.3));
    swf::LineStyle line;
    line.width = 40;
    line.join = swf::Join::Miter;
    line.endCap = swf::Cap::Square;
    shape.fill1(radial).line(shape.addLine(line)).circle(600, 400, 300);
    shape.newStyles();
    const int linear = shape.addFill(swf::Fill::linear(swf::Matrix::scale(0.02, 0.02), {{0, {0, 255, 0}}, {255, {0, 0, 0}}},
                                                      swf::Spread::Reflect));
    shape.fill0(linear).fill1(shape.addFill(swf::Fill::solid({9, 9, 9}))).rectangle(100, 100, 500, 500);
    movie.defineShape(1, shape, 4);
    movie.defineShape(2, swf::ShapeBuilder::filledRectangle(0, 0, 300, 300, {200, 100, 0}), 1);
    swf::Timeline sprite;
    sprite.placeObject(1, 1).showFrame().remove(1).placeObject(2, 2).showFrame();
    movie.defineSprite(3, sprite);
    movie.label("top").placeObject(1, 3).placeObject(2, 2, swf::Matrix::scale(2, 1, 20, 20)).showFrame();
    swf::Place change;
    change.depth = 1;
    change.move = true;
    change.colorTransform = swf::ColorTransform{128, 256, 0, 200, 10, -10, 20, 0};
    change.ratio = 3;
    change.name = "clip";
    change.clipDepth = 4;
    movie.place(change, 3).actions(swf::Actions().gotoLabel("top").nextFrame().play()).showFrame();
    movie.remove(1).removeObject1(2, 2).actions(swf::Actions().previousFrame().gotoFrame(0).stop()).showFrame();
    return movie.finish(compression);
}

// Clips moved, faded and hidden by scripts, a tellTarget and a counter loop.
swf::Bytes scriptedClips()
{
    swf::Movie movie(100, 60, 12, 6);
    movie.background({255, 255, 255});
    movie.defineShape(1, swf::ShapeBuilder::filledRectangle(0, 0, 400, 400, {255, 0, 0}), 1);
    swf::Timeline sprite;
    sprite.placeObject(1, 1).showFrame().showFrame();
    movie.defineSprite(2, sprite);
    for (std::uint16_t depth = 1; depth <= 3; ++depth) {
        swf::Place place;
        place.depth = depth;
        place.character = 2;
        place.name = "c" + std::to_string(depth);
        place.matrix = swf::Matrix::translate(200 + 500 * (depth - 1), 400);
        movie.place(place);
    }
    swf::Bytecode code;
    code.constants({"c1", "c2", "c3"});
    code.pushConstant(0).op(swf::kActionGetVariable).push("_alpha").push(50).op(swf::kActionSetMember);
    code.push("c2").push(1).push(35).op(swf::kActionSetProperty);
    code.set("/c3:_visible", swf::Bytecode().pushBool(false));
    code.setTarget("c1").gotoFrame(1).op(swf::kActionStop).setTarget("");
    code.label("top").set("n", swf::Bytecode().get("n").op(swf::kActionIncrement));
    code.get("n").push(5).op(swf::kActionLess2).jumpIf("top");
    swf::script(movie, code).showFrame().showFrame();
    return movie.finish();
}

// Every bitmap tag, small, drawn through each kind of bitmap fill.
swf::Bytes bitmaps()
{
    swf::Image image{8, 8, {}};
    for (int i = 0; i < 64; ++i)
        image.pixels.push_back({static_cast<std::uint8_t>(i * 4), static_cast<std::uint8_t>(255 - i * 4), 90,
                                static_cast<std::uint8_t>(i < 32 ? 255 : 100)});
    const swf::Bytes jpeg = swf::encodeJpeg(image, 50);
    const swf::SplitJpeg split = swf::splitJpeg(jpeg);
    swf::Movie movie(64, 48);
    movie.tag(swf::kJpegTables, split.tables).tag(swf::kDefineBits, swf::jpegBody(1, split.image));
    movie.tag(swf::kDefineBitsJpeg2, swf::jpegBody(2, jpeg));
    movie.tag(swf::kDefineBitsJpeg3, swf::jpeg3Body(3, jpeg, image));
    movie.tag(swf::kDefineBitsLossless, swf::losslessBody(4, image, 4, false));
    movie.tag(swf::kDefineBitsLossless2, swf::losslessBody(5, image, 5, true));
    movie.tag(swf::kDefineBitsLossless2, swf::palettedBody(6, 3, 2, {{1, 2, 3, 4}, {200, 0, 0, 255}}, {0, 1, 2, 1, 0, 1}, true));
    swf::ShapeBuilder shape;
    for (std::uint16_t id = 1; id <= 6; ++id) {
        const auto fill = swf::bitmapFill(id, {30, 8, -6, 25, id * 100, 0}, id % 2 == 0, id % 3 == 0);
        shape.fill1(shape.addFill(fill)).rectangle(id * 150, 0, id * 150 + 400, 900);
    }
    movie.defineShape(7, shape);
    movie.placeObject(1, 7).showFrame();
    return movie.finish();
}

swf::Bytes sounds()
{
    swf::Movie movie(32, 32, 15);
    const std::vector<std::int16_t> wave = {0, 4000, 8000, 4000, 0, -4000, -8000, -4000};
    const swf::SoundFormat adpcm{swf::SoundCodec::Adpcm, swf::SoundRate::k11, true, false};
    movie.tag(swf::kDefineSound, swf::defineSoundBody(1, adpcm, 8, swf::encodeAdpcm(wave, 1, 4)));
    const swf::SoundFormat pcm{swf::SoundCodec::PcmLittle, swf::SoundRate::k22, true, true};
    movie.tag(swf::kSoundStreamHead2, swf::streamHeadBody(pcm, 4));
    swf::SoundInfo info;
    info.loops = 2;
    info.noMultiple = true;
    info.envelope = {{0, 0, 32768}};
    movie.tag(swf::kStartSound, swf::startSoundBody(1, info));
    movie.tag(swf::kSoundStreamBlock, swf::pcmBytes(wave, true)).showFrame();
    info.syncStop = true;
    movie.tag(swf::kStartSound, swf::startSoundBody(1, info)).showFrame();
    return movie.finish();
}

}

int main(int argc, char** argv)
{
    const std::string directory = argc > 1 ? argv[1] : ".";
    save(directory, "shapes-and-sprites.swf", shapesAndSprites(swf::Compression::None));
    save(directory, "shapes-and-sprites-zlib.swf", shapesAndSprites(swf::Compression::Zlib));
    swf::Movie nested(32, 32);
    swf::Timeline self;
    self.placeObject(1, 1).placeObject(2, 1).showFrame();
    nested.defineSprite(1, self).placeObject(1, 1).showFrame();
    save(directory, "self-placing-sprite.swf", nested.finish());
    save(directory, "scripted-clips.swf", scriptedClips());
    save(directory, "bitmaps.swf", bitmaps());
    save(directory, "sounds.swf", sounds());
    save(directory, "fonts-and-texts.swf", swf::textSampler());
    return 0;
}
