#include <fstream>
#include <string>

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
    save(directory, "fonts-and-texts.swf", swf::textSampler());
    return 0;
}
